// The local files in the URI lists that Linux file managers put on the
// clipboard.
#pragma once

#include <optional>
#include <string_view>

#include "platform/clipboard.h"

namespace platform::posix {

// text/uri-list: one URI a line (CRLF or LF), lines that begin with "#" are
// comments. Each file: URI of this machine becomes its path, percent-escapes
// decoded byte for byte; every other URI is left out. Nothing when no local
// file is left.
std::optional<ClipboardFiles> FilesInUriList(std::string_view list);

// True when a text/uri-list names at least one file of this machine, as
// FilesInUriList reads it; the list is read only up to the first such URI.
bool NamesLocalFile(std::string_view list);

// x-special/gnome-copied-files: "copy" or "cut" on the first line, then the
// URIs as in a text/uri-list. Nothing when the first line is neither or no
// local file is left.
std::optional<ClipboardFiles> FilesInCopiedFiles(std::string_view data);

}  // namespace platform::posix
