// Paths of the skin files and of the programs the animation program starts:
// always in the folder of the running program's file, never relative to the
// current directory.
#pragma once

#include <windows.h>

// The size, in UTF-16 units with the terminator, of every program-folder
// path and of the buffers that receive one.
constexpr int kAppPathLength = MAX_PATH;

// Places pszRelative (or nothing, when null) after the program's folder and
// its trailing backslash, into pszBuffer (kAppPathLength units), and returns
// pszBuffer. A result that would not fit is an empty string: a cut path
// would name some other file.
LPWSTR MakeAppPath(LPCWSTR pszRelative, LPWSTR pszBuffer);

