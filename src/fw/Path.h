#pragma once
// Path text rules for every folder of the program: roots, the components
// that names from outside may not have, and joining a folder and a name. Pure
// text, read in characters of the code page (fw/PathChars.h): no file access,
// no window handles.
#include <stddef.h>

#include "fw/PathChars.h"
#include "fw/String.h"

// "C:\..." with a drive letter.
bool HasDrivePrefix(const char* path);

// A drive root ("C:\") and nothing else.
bool IsDriveRoot(const char* path);

// "\\server..." with a server name.
bool HasUncPrefix(const char* path);

// A drive path ("C:\...") or a UNC path ("\\server\share..."); never relative.
bool IsFullPath(const char* path);

// A folder that is the top of its volume: a drive root, or a UNC path with no
// folder below its share ("\\server\share", "\\server").
bool IsRootFolder(const char* path);

// Where a UNC path's share name ends ("\\server\share" or the backslash after
// it); nullptr when path names no share.
const char* UncShareEnd(const char* path);

// Windows drops trailing dots and spaces from a component, so "...", ". ." or
// " " act like "." or "..": a component of dots and spaces only (not an empty
// one) never says where it leads.
bool IsDotsAndSpaces(const char* component, size_t length);
bool HasDotsAndSpacesComponent(const char* path);

// Whether path holds a character that no file or folder name may hold: one of
// < > " | ? * or a control character (a "\\?\" prefix is no name). The code
// page shows a character it cannot hold as "?".
bool HasCharacterNotAllowedInNames(const char* path);

// The folder, one backslash unless the folder already ends in a separator (a
// drive root does), and the name; the name alone when there is no folder.
String JoinPath(const char* folder, const char* name);
inline String JoinPath(const String& folder, const char* name) { return JoinPath(folder.c_str(), name); }

// JoinPath within MAX_PATH characters with the terminator; false and out empty
// when the result would be longer or there is no folder (which would leave a
// name for the search path or the current folder to place).
bool JoinPathWithinMaxPath(const char* folder, const char* name, String& out);

// The path without its "\\?\" or "\\.\" prefix: "\\?\C:\x" is "C:\x" and
// "\\?\UNC\server\share" is "\\server\share"; any other path as it is.
String WithoutLongPathPrefix(const char* path);

// The path without trailing backslashes; a drive root keeps its own.
String WithoutTrailingSeparators(const String& path);
