#pragma once
// Path and value checks of the installation engine, kept apart from the
// operations so that they can be tested on their own.
#include "fw/Path.h"
#include "fw/String.h"

// The longest text a value of the uninstall entry is composed into: 260
// characters with the terminator.
const size_t kMaxComposedChars = 259;

// Whether two paths name the same file: their full forms, compared without
// regard to case.
bool IsSameFilePath(const char* first, const char* second);

// Whether two paths name one existing file: the same path, or the same volume
// serial number and file index (an 8.3 short name, another spelling).
bool IsSameFile(const char* first, const char* second);

// Folders that are no place for the product's files: each one, every folder
// that holds one, and, for a tree, every folder below it. Each folder counts
// by its name and by where the file system leads it (links followed).
class SystemFolderSet {
public:
    // The folder alone, and the folder with everything below it. An empty or
    // relative folder adds nothing.
    void AddFolder(const char* folder);
    void AddTree(const char* folder);
    // Whether normal (a full path in long form without trailing separators) is
    // no root and none of the folders, holds none of them and lies in no tree.
    bool Allows(const String& normal) const;

private:
    enum class Reach { FolderOnly, FolderAndBelow };
    void Add(const char* folder, Reach reach);
    void AddNormal(const String& normal, Reach reach);

    static const int kCapacity = 256;
    String folders_[kCapacity];
    bool trees_[kCapacity] = {};
    int count_ = 0;
    bool overflowed_ = false;  // then nothing is allowed
};

// Every shell folder of this system with the two Program Files folders of
// 64-bit Windows, the Windows folder and the Start menus as trees; collected
// once per run.
const SystemFolderSet& SystemFoldersOfThisSystem();

// The folder guard. True when the product may unpack its package into folder
// and delete it from there: folder is a full path (also with the "\\?\"
// prefix or in 8.3 names) without components of dots and spaces only, is no
// link or junction itself, and both its name and where it leads are allowed by
// systemFolders. A folder that does not exist yet leads where its deepest
// existing parent leads.
bool IsAcceptableInstallFolder(const char* folder, const SystemFolderSet& systemFolders);
// The same for the folders of this system.
bool IsAcceptableInstallFolder(const char* folder);

// Whether folder is named as the product's own Start-menu folder: a full path
// without components of dots and spaces only, whose last component is the
// product name and which lies directly in one of the two Programs folders (the
// user's, all users'); compared in full form without regard to case. An empty
// Programs folder matches nothing.
bool IsProductMenuFolderName(const char* folder, const char* userPrograms, const char* commonPrograms);
// The menu-folder guard. True when folder is named as the product's Start-menu
// folder and also leads there (links followed), and is no link itself.
bool IsProductMenuFolder(const char* folder, const char* userPrograms, const char* commonPrograms);

// The two Programs folders brought to full form once, for a step that asks
// about several folders (each form is read from the file system).
struct ProgramsFolders {
    String user, common;  // empty where the folder is not named or not a full path
};
ProgramsFolders NormalProgramsFolders(const char* userPrograms, const char* commonPrograms);
bool IsProductMenuFolderName(const char* folder, const ProgramsFolders& programs);
bool IsProductMenuFolder(const char* folder, const ProgramsFolders& programs);
// The same for the Programs folders of this system.
bool IsProductMenuFolder(const char* folder);

// The path in double quotes, as a command line names a program whose path has spaces.
String QuotedPath(const char* path);
