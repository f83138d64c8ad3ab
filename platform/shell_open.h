// Opening a document with the application the desktop associates with it.
#pragma once

#include <string>

namespace platform {

// Opens path with its default application; false when nothing could open it.
bool OpenWithDefaultApp(const std::string& path);

}  // namespace platform

#include <functional>

namespace platform {

// Tests record what would be opened: while a handler is set, it is called
// instead of the desktop. An empty handler restores the real call.
using OpenHandler = std::function<bool(const std::string& path)>;
void SetOpenHandler(OpenHandler handler);

}  // namespace platform
