// The paths a start names, made whole: relative to the folder the start was
// made in, which a running box that is handed them does not share.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/instance.h"

// path itself when it is absolute; otherwise folder and path joined with the
// platform's separator. On Windows "C:\..." and "\\server\..." are absolute,
// and "\..." is taken on the folder's drive; elsewhere "/..." is.
std::string AbsolutePath(const std::string& path, const std::string& folder);

// The Windows program's command line asks for something else than paths
// only with "/paste" or "/close", in any letter case, as its one argument;
// any other command line is paths, which may well begin with a slash.
std::optional<platform::RequestKind> CommandSwitch(const std::vector<std::string>& arguments);
