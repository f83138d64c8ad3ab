// What the drop box takes from a drag: the local files and folders of a
// text/uri-list, as file managers offer them over XDND. The source hands the
// list over whole each time it is asked for it, which for many files takes a
// while: the box asks once per drag, when it enters, and keeps the list
// until the drop or until the drag leaves.
#pragma once

#include <QByteArray>
#include <string>
#include <vector>

class QMimeData;

// The drag's text/uri-list as its source hands it over; empty when it
// offers none.
QByteArray DraggedUriList(const QMimeData& data);

// True when the list names at least one local file or folder; a drag
// without one is refused when it enters the box. The list is read only up
// to its first local file.
bool CarriesLocalFile(const QByteArray& list);

// The local paths of the list in the order given, percent-escapes decoded
// byte for byte, so that a name that is no valid UTF-8 reaches the disk as
// it is there; URIs that name no local file (web addresses, for instance)
// are left out.
std::vector<std::string> DroppedLocalPaths(const QByteArray& list);
