// What the drop box takes from a drag: the local files and folders of a
// text/uri-list, as file managers offer them over XDND.
#pragma once

#include <string>
#include <vector>

class QMimeData;

// True when the drag carries at least one local file or folder; a drag
// without one is refused when it enters the box.
bool CarriesLocalFile(const QMimeData& data);

// The local paths of the drag in the order given, as UTF-8 bytes; URLs that
// name no local file (web addresses, for instance) are left out.
std::vector<std::string> DroppedLocalPaths(const QMimeData& data);
