#pragma once
// Path and value checks of the installation engine, kept apart from the
// operations so that they can be tested on their own.
#include "fw/Path.h"
#include "fw/String.h"

// The longest text a registry value or the helper-library path is composed
// into: 260 characters with the terminator.
const size_t kMaxComposedChars = 259;

// Whether two paths name the same file: their full forms, compared without
// regard to case.
bool IsSameFilePath(const char* first, const char* second);

// Whether two paths name one existing file: the same path, or the same volume
// serial number and file index (an 8.3 short name, another spelling).
bool IsSameFile(const char* first, const char* second);

// Whether folder may be the install folder that removal deletes in and repair
// unpacks into: a full path without components of dots and spaces only
// ("..", ". ") that is no drive or share root, none of exactFolders (Program Files, the profile, ...) and neither one
// of treeFolders (Windows, the Start menus) nor below one; compared in full
// form without regard to case. Both lists end with nullptr; empty entries
// match nothing.
bool IsAcceptableInstallFolder(const char* folder, const char* const* exactFolders, const char* const* treeFolders);
// The same for the folders of this system.
bool IsAcceptableInstallFolder(const char* folder);

// Whether folder is the product's own Start-menu folder: a full path without
// components of dots and spaces only, whose last component is the product name and which
// lies directly in one of the two Programs folders (the user's, all users');
// compared in full form without regard to case. An empty Programs folder
// matches nothing.
bool IsProductMenuFolder(const char* folder, const char* userPrograms, const char* commonPrograms);

// The path in double quotes, as a command line names a program whose path has spaces.
String QuotedPath(const char* path);
