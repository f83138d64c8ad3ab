// Questions about the running program and the file system, and the message
// box. The operating system is reached through platform/; results that are
// texts are temporaries.
#pragma once

#include <cstdint>

#include "text/text_arg.h"

// The separator the platform puts between folders: a backslash on Windows,
// a slash elsewhere. Destination folders end in it.
char NativeSeparator();

// The executable's folder with its trailing separator; empty on failure.
char* AppDir();
// 1 when the path exists (files and folders alike), else 0. On Windows a
// path with "*" or "?" is a pattern, 1 when at least one entry matches it.
// Elsewhere names are taken as they are ("*" and "?" are characters, case
// counts), and a path the system cannot tell about (in a folder that may not
// be searched) counts as existing: nothing that may be there is overwritten
// unasked.
int FileExists(TextArg path);
// A message box owned by the active window; returns the button pressed
// (the platform's IDOK, IDYES, IDNO values).
int ShowMessage(TextArg text, TextArg caption, uint32_t flags);
// The path of a special folder by its CSIDL number (outside Windows only the
// desktop is known); empty on failure. owner is an opaque window handle, may
// be null.
char* SpecialFolder(int folder, int create, void* owner);
// The short 8.3 form of an existing path, at most 1022 characters; empty when
// the platform gives none. Where there are no short names, the path itself
// when it exists.
char* ShortPath(TextArg path);

// The user's desktop folder (CSIDL_DESKTOPDIRECTORY).
constexpr int kFolderDesktop = 0x0010;
