// The paths a start names, made whole: relative to the folder the start was
// made in, which a running box that is handed them does not share.
#pragma once

#include <string>

// path itself when it is absolute; otherwise folder and path joined with the
// platform's separator. On Windows "C:\..." and "\\server\..." are absolute,
// and "\..." is taken on the folder's drive; elsewhere "/..." is.
std::string AbsolutePath(const std::string& path, const std::string& folder);
