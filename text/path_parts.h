// Splitting a path into drive, directory, name and extension, and the
// accessors built on it. Results are temporaries.
#pragma once

#include "text/text_arg.h"

// Each component holds at most 259 characters; a longer one is cut, never
// inside a character. Texts are UTF-8, so a character is a lead byte and up
// to three continuation bytes, and the longest file name a system allows
// (255 UTF-16 units on Windows, 255 bytes on Linux) is never cut. Each
// component is delivered into a buffer of kPathComponentSize bytes.
constexpr int kPathComponentChars = 259;
constexpr int kPathComponentSize = kPathComponentChars * 4 + 1;

// How paths are read.
//  Windows: a leading "X:" is the drive; backslash and slash both separate.
//  Posix:   there are no drives; only the slash separates, and a backslash is
//           an ordinary file-name character.
enum class PathStyle { Windows, Posix };

// The style of the platform the program runs on.
PathStyle NativePathStyle();

// Flags for PathPart; other bits are ignored.
constexpr unsigned kPartDrive = 2;
constexpr unsigned kPartDir = 4;
constexpr unsigned kPartName = 8;
constexpr unsigned kPartExtension = 16;

// Splits path by the native style into four buffers of kPathComponentSize.
void SplitPath(TextArg path, char* drive, char* dir, char* name, char* ext);
void SplitPathStyled(PathStyle style, TextArg path, char* drive, char* dir, char* name, char* ext);

// The chosen components joined, always in the order drive, directory, name,
// extension. A null path gives the empty text.
char* PathPart(TextArg path, unsigned flags);
char* PathPartStyled(PathStyle style, TextArg path, unsigned flags);

char* PathExtension(TextArg path);      // extension, point included
char* PathNameExtension(TextArg path);  // name and extension
char* PathName(TextArg path);           // name without extension
char* PathDriveDir(TextArg path);       // drive and directory
char* PathDir(TextArg path);            // directory without the drive
char* PathDrive(TextArg path);          // the drive
