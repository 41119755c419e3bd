#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CodePages.h"
#include "support/TestSupport.h"
#include "system/wizMisc.h"

using wiztest::IsDirectory;
using wiztest::PathExists;
using wiztest::ReadFileBytes;
using wiztest::ScratchDir;
using wiztest::WriteTextFile;

namespace {

std::string ReadText(const std::string& path) {
    std::vector<unsigned char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

using wiztest::ListFolder;

// Paths beyond MAX_PATH exist only through the wide API with the \\?\ prefix.
std::wstring LongPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    return L"\\\\?\\" + wide;
}

bool CreateLongFolder(const std::string& path) { return CreateDirectoryW(LongPath(path).c_str(), nullptr) != FALSE; }

bool CreateLongFile(const std::string& path) {
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool LongPathExists(const std::string& path) {
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The scratch cleaner works with MAX_PATH; entries beyond it are removed here.
void RemoveLongTree(const std::string& path) {
    if (path.find("wiztest") == std::string::npos)
        return;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((LongPath(path) + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::string child = path + "\\" + std::string(name.begin(), name.end());
            SetFileAttributesW(LongPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLongTree(child);
            else
                DeleteFileW(LongPath(child).c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(LongPath(path).c_str());
}

std::string Nested(const std::string& base, int levels) {
    std::string path = base;
    for (int i = 0; i < levels; ++i)
        path += "\\a";
    return path;
}

}  // namespace

TEST(ClassifyTreeEntry, FilesAreDeletedWhateverTheirName) {
    EXPECT_EQ(TreeEntryAction::DeleteFile, ClassifyTreeEntry(FILE_ATTRIBUTE_ARCHIVE, "vxa38.sys"));
    EXPECT_EQ(TreeEntryAction::DeleteFile, ClassifyTreeEntry(FILE_ATTRIBUTE_HIDDEN, ".profile"));
    EXPECT_EQ(TreeEntryAction::DeleteFile, ClassifyTreeEntry(FILE_ATTRIBUTE_READONLY, "locked.txt"));
    EXPECT_EQ(TreeEntryAction::DeleteFile, ClassifyTreeEntry(FILE_ATTRIBUTE_REPARSE_POINT, "file link"));
}

TEST(ClassifyTreeEntry, DotFoldersAreLeftAlone) {
    EXPECT_EQ(TreeEntryAction::LeaveAlone, ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY, "."));
    EXPECT_EQ(TreeEntryAction::LeaveAlone, ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY, ".."));
    EXPECT_EQ(TreeEntryAction::LeaveAlone, ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY, ".keep"));
}

TEST(ClassifyTreeEntry, FoldersAreWalkedButLinksOnlyRemoved) {
    EXPECT_EQ(TreeEntryAction::Descend, ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY, "Uninstall"));
    EXPECT_EQ(TreeEntryAction::Descend,
              ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, "Read only"));
    EXPECT_EQ(TreeEntryAction::RemoveLink,
              ClassifyTreeEntry(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, "Application Data"));
}

TEST(FileExists, AnswersForFilesOnly) {
    ScratchDir scratch;
    ASSERT_TRUE(WriteTextFile(scratch / "present.txt", "x"));
    EXPECT_TRUE(FileExists((scratch / "present.txt").c_str()));
    EXPECT_FALSE(FileExists((scratch / "absent.txt").c_str()));
    EXPECT_FALSE(FileExists(scratch.Path().c_str()));
}

TEST(EnsureMarkerFile, CreatesAMissingMarkerEmpty) {
    ScratchDir scratch;
    EXPECT_TRUE(EnsureMarkerFile("~NoKill.wiz", scratch.Path().c_str(), false));
    ASSERT_TRUE(PathExists(scratch / "~NoKill.wiz"));
    EXPECT_TRUE(ReadText(scratch / "~NoKill.wiz").empty());
}

TEST(EnsureMarkerFile, LeavesAnExistingMarkerUntouched) {
    ScratchDir scratch;
    ASSERT_TRUE(WriteTextFile(scratch / "~NoKill.wiz", "user data"));
    EXPECT_TRUE(EnsureMarkerFile("~NoKill.wiz", scratch.Path().c_str(), false));
    EXPECT_EQ("user data", ReadText(scratch / "~NoKill.wiz"));
}

TEST(EnsureMarkerFile, RecreateEmptiesAnExistingMarker) {
    ScratchDir scratch;
    ASSERT_TRUE(WriteTextFile(scratch / "~NoKill.wiz", "user data"));
    EXPECT_TRUE(EnsureMarkerFile("~NoKill.wiz", scratch.Path().c_str(), true));
    ASSERT_TRUE(PathExists(scratch / "~NoKill.wiz"));
    EXPECT_TRUE(ReadText(scratch / "~NoKill.wiz").empty());
}

TEST(EnsureMarkerFile, FailsInAMissingFolder) {
    ScratchDir scratch;
    EXPECT_FALSE(EnsureMarkerFile("~NoKill.wiz", (scratch / "missing").c_str(), false));
    EXPECT_FALSE(PathExists(scratch / "missing"));
}

TEST(DeleteFiles, DeleteAnExistingFileOnly) {
    ScratchDir scratch;
    ASSERT_TRUE(WriteTextFile(scratch / "vxa38.inf", "x"));
    ASSERT_TRUE(WriteTextFile(scratch / "vxa38.cat", "x"));
    EXPECT_TRUE(DeleteFileIn(scratch.Path().c_str(), "vxa38.inf"));
    EXPECT_FALSE(PathExists(scratch / "vxa38.inf"));
    EXPECT_FALSE(DeleteFileIn(scratch.Path().c_str(), "vxa38.inf"));
    EXPECT_TRUE(DeleteFileAt((scratch / "vxa38.cat").c_str()));
    EXPECT_FALSE(PathExists(scratch / "vxa38.cat"));
    EXPECT_FALSE(DeleteFileAt((scratch / "vxa38.cat").c_str()));
}

// A folder and a name whose composed path passes MAX_PATH, and a file at the path
// that cutting the composition to 259 characters would give.
class OverlongNames : public ::testing::Test {
protected:
    void SetUp() override {
        folder = scratch / std::string(200, 'd');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        name = std::string(60, 'n');
        std::string cut = (folder + "\\" + name).substr(0, MAX_PATH - 1);
        truncated = cut;
        ASSERT_TRUE(WriteTextFile(truncated, "keep"));
    }
    void TearDown() override { RemoveLongTree(folder); }

    ScratchDir scratch;
    std::string folder, name, truncated;
};

TEST_F(OverlongNames, DeleteFileInActsOnNoTruncatedPath) {
    EXPECT_FALSE(DeleteFileIn(folder.c_str(), name.c_str()));
    EXPECT_EQ("keep", ReadText(truncated));
}

TEST_F(OverlongNames, EnsureMarkerFileActsOnNoTruncatedPath) {
    EXPECT_FALSE(EnsureMarkerFile(name.c_str(), folder.c_str(), false));
    EXPECT_FALSE(EnsureMarkerFile(name.c_str(), folder.c_str(), true));
    EXPECT_EQ("keep", ReadText(truncated));
}

TEST(MakeDirectoryTree, AnswersOneForAnExistingFolder) {
    ScratchDir scratch;
    EXPECT_EQ(1, MakeDirectoryTree(scratch.Path().c_str()));
}

TEST(MakeDirectoryTree, CreatesEveryMissingLevel) {
    ScratchDir scratch;
    std::string path = scratch / "Orvel\\Setup\\LQ38\\Kestrin Duoflex";
    EXPECT_EQ(0, MakeDirectoryTree(path.c_str()));
    EXPECT_TRUE(IsDirectory(scratch / "Orvel"));
    EXPECT_TRUE(IsDirectory(scratch / "Orvel\\Setup\\LQ38"));
    EXPECT_TRUE(IsDirectory(path));
    EXPECT_EQ(1, MakeDirectoryTree(path.c_str()));
}

TEST(MakeDirectoryTree, AcceptsATrailingSeparator) {
    ScratchDir scratch;
    EXPECT_EQ(0, MakeDirectoryTree((scratch / "a\\b\\").c_str()));
    EXPECT_TRUE(IsDirectory(scratch / "a\\b"));
}

TEST(MakeDirectoryTree, FailsWhenTheLastLevelCannotBeMade) {
    ScratchDir scratch;
    EXPECT_EQ(-1, MakeDirectoryTree((scratch / "a\\bad|name").c_str()));
    EXPECT_TRUE(IsDirectory(scratch / "a"));  // earlier levels stay made
}

TEST(MakeDirectoryTree, FailsOnADriveThatIsNotMapped) {
    ASSERT_EQ(static_cast<UINT>(DRIVE_NO_ROOT_DIR), GetDriveTypeA("Q:\\"));
    EXPECT_EQ(-1, MakeDirectoryTree("Q:\\Program Files\\Kestrin Duoflex"));
    EXPECT_FALSE(PathExists("Q:\\Program Files"));
}

TEST(MakeDirectoryTree, RefusesAPathBeyondMaxPathAndMakesNothing) {
    ScratchDir scratch;
    std::string path = scratch / "level";
    while (path.size() < 300)
        path += "\\level";
    EXPECT_EQ(-1, MakeDirectoryTree(path.c_str()));
    EXPECT_TRUE(ListFolder(scratch.Path()).empty());
}

TEST(MakeDirectoryTree, ReachesTheLastLevelWithinItsPasses) {
    // The scratch folder already holds two separators after the first character.
    ScratchDir scratch;
    std::string deepest = Nested(scratch.Path(), 61);
    EXPECT_EQ(0, MakeDirectoryTree(deepest.c_str()));
    EXPECT_TRUE(IsDirectory(deepest));
}

TEST(MakeDirectoryTree, RefusesAPathDeeperThanItsPasses) {
    ScratchDir scratch;
    EXPECT_EQ(-1, MakeDirectoryTree(Nested(scratch.Path(), 62).c_str()));
    EXPECT_TRUE(ListFolder(scratch.Path()).empty());
}

TEST(RemoveDirectoryTree, RemovesFilesAndNestedFolders) {
    ScratchDir scratch;
    std::string root = scratch / "Kestrin Duoflex Wireless Adapter";
    ASSERT_EQ(0, MakeDirectoryTree((root + "\\Tools\\Logs").c_str()));
    ASSERT_TRUE(WriteTextFile(root + "\\Uninstall.lnk", "x"));
    ASSERT_TRUE(WriteTextFile(root + "\\.profile", "x"));
    ASSERT_TRUE(WriteTextFile(root + "\\Tools\\Logs\\setup.log", "x"));
    EXPECT_TRUE(RemoveDirectoryTree(root.c_str()));
    EXPECT_FALSE(PathExists(root));
}

TEST(RemoveDirectoryTree, LeavesDotFoldersAndTheirParent) {
    ScratchDir scratch;
    std::string root = scratch / "tree";
    ASSERT_EQ(0, MakeDirectoryTree((root + "\\.keep").c_str()));
    ASSERT_TRUE(WriteTextFile(root + "\\.keep\\inside.txt", "x"));
    ASSERT_TRUE(WriteTextFile(root + "\\gone.txt", "x"));
    EXPECT_TRUE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(PathExists(root + "\\.keep\\inside.txt"));
    EXPECT_FALSE(PathExists(root + "\\gone.txt"));
}

TEST(RemoveDirectoryTree, LeavesReadOnlyFilesAndTheFoldersHoldingThem) {
    ScratchDir scratch;
    std::string root = scratch / "tree";
    ASSERT_EQ(0, MakeDirectoryTree((root + "\\sub").c_str()));
    ASSERT_TRUE(WriteTextFile(root + "\\sub\\locked.txt", "x"));
    ASSERT_TRUE(SetFileAttributesA((root + "\\sub\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(0, MakeDirectoryTree((root + "\\other").c_str()));
    ASSERT_TRUE(WriteTextFile(root + "\\other\\plain.txt", "x"));
    EXPECT_TRUE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(PathExists(root + "\\sub\\locked.txt"));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesA((root + "\\sub\\locked.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(PathExists(root + "\\other"));
}

TEST(RemoveDirectoryTree, LeavesAnEntryBeyondMaxPathAlone) {
    ScratchDir scratch;
    std::string root = scratch / std::string(200, 'r');
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    std::string longFile = root + "\\" + std::string(70, 'l');
    ASSERT_TRUE(CreateLongFile(longFile));
    ASSERT_TRUE(WriteTextFile(root + "\\short.txt", "x"));
    EXPECT_FALSE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(LongPathExists(longFile));
    EXPECT_FALSE(PathExists(root + "\\short.txt"));
    EXPECT_TRUE(IsDirectory(root));
    RemoveLongTree(root);
}

TEST(RemoveDirectoryTree, TouchesNothingWhenItsPatternDoesNotFit) {
    ScratchDir scratch;
    std::string root = scratch.Path();
    root += "\\" + std::string(258 - root.size() - 1, 'p');
    ASSERT_EQ(258u, root.size());
    ASSERT_TRUE(CreateLongFolder(root));
    ASSERT_TRUE(CreateLongFile(root + "\\inside.txt"));
    EXPECT_FALSE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(LongPathExists(root + "\\inside.txt"));
    RemoveLongTree(root);
}

TEST(RemoveDirectoryTree, RefusesAnEmptyFolderName) {
    // "\*" would name the root of the current drive, "*" the current folder.
    EXPECT_FALSE(RemoveDirectoryTree(""));
}

TEST(RemoveEmptyDirectory, RemovesOnlyAnEmptyFolder) {
    ScratchDir scratch;
    ASSERT_EQ(0, MakeDirectoryTree((scratch / "full").c_str()));
    ASSERT_TRUE(WriteTextFile(scratch / "full\\file.txt", "x"));
    ASSERT_EQ(0, MakeDirectoryTree((scratch / "empty").c_str()));
    EXPECT_FALSE(RemoveEmptyDirectory((scratch / "full").c_str()));
    EXPECT_TRUE(IsDirectory(scratch / "full"));
    EXPECT_TRUE(RemoveEmptyDirectory((scratch / "empty").c_str()));
    EXPECT_FALSE(PathExists(scratch / "empty"));
}

// One checker for several files, as the installation uses it: each answer
// depends on that file's bytes alone.
TEST(DigestChecker, OneCheckerTellsEachFileByItsOwnBytes) {
    const BYTE abc[32] = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40, 0xde, 0x5d, 0xae, 0x22, 0x23,
                          0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17, 0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
    const BYTE empty[32] = {0xe3, 0xb0, 0xc4, 0x42, 0x98, 0xfc, 0x1c, 0x14, 0x9a, 0xfb, 0xf4, 0xc8, 0x99, 0x6f, 0xb9, 0x24,
                            0x27, 0xae, 0x41, 0xe4, 0x64, 0x9b, 0x93, 0x4c, 0xa4, 0x95, 0x99, 0x1b, 0x78, 0x52, 0xb8, 0x55};
    ScratchDir scratch;
    ASSERT_TRUE(WriteTextFile(scratch / "abc", "abc"));
    ASSERT_TRUE(WriteTextFile(scratch / "abd", "abd"));
    ASSERT_TRUE(WriteTextFile(scratch / "empty", ""));
    DigestChecker checker;
    EXPECT_TRUE(checker.Matches((scratch / "abc").c_str(), 3, abc));
    EXPECT_FALSE(checker.Matches((scratch / "abd").c_str(), 3, abc)) << "other bytes";
    EXPECT_FALSE(checker.Matches((scratch / "abc").c_str(), 4, abc)) << "another size";
    EXPECT_FALSE(checker.Matches((scratch / "missing").c_str(), 3, abc));
    EXPECT_TRUE(checker.Matches((scratch / "empty").c_str(), 0, empty));
    EXPECT_TRUE(checker.Matches((scratch / "abc").c_str(), 3, abc)) << "the same file again, after the others";
}

// The second byte of these characters is 0x5C, the backslash: the tree
// functions must find a separator only where Windows finds one.
using CodePage932Files = wiztest::CodePageTest<932>;

TEST_F(CodePage932Files, MakeDirectoryTreeMakesALevelAtEachRealSeparatorOnly) {
    ScratchDir scratch;
    std::string path = scratch / CP932_SO "\\" CP932_HYO "\\" CP932_DORAIBA CP932_HYO;
    EXPECT_EQ(0, MakeDirectoryTree(path.c_str()));
    EXPECT_EQ(std::vector<std::string>{CP932_SO}, ListFolder(scratch.Path()));
    EXPECT_EQ(std::vector<std::string>{CP932_HYO}, ListFolder(scratch / CP932_SO));
    EXPECT_TRUE(IsDirectory(path));
    EXPECT_EQ(1, MakeDirectoryTree(path.c_str()));
}

TEST_F(CodePage932Files, RemoveDirectoryTreeTakesAFolderNamedSoWithEverythingInIt) {
    ScratchDir scratch;
    std::string root = scratch / CP932_DORAIBA CP932_HYO;
    ASSERT_EQ(0, MakeDirectoryTree((root + "\\" CP932_SO).c_str()));
    ASSERT_TRUE(WriteTextFile(root + "\\vxa38.inf", "x"));
    ASSERT_TRUE(WriteTextFile(root + "\\" CP932_SO "\\" CP932_NOU ".txt", "x"));
    EXPECT_TRUE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(ListFolder(scratch.Path()).empty());
}

TEST_F(CodePage932Files, AFileIsMadeAndDeletedInsideAFolderEndingInSuchACharacter) {
    ScratchDir scratch;
    std::string folder = scratch / CP932_DORAIBA CP932_HYO;
    ASSERT_EQ(0, MakeDirectoryTree(folder.c_str()));
    EXPECT_TRUE(EnsureMarkerFile("~NoKill.wiz", folder.c_str(), false));
    EXPECT_EQ(std::vector<std::string>{"~NoKill.wiz"}, ListFolder(folder));
    EXPECT_TRUE(DeleteFileIn(folder.c_str(), "~NoKill.wiz"));
    EXPECT_TRUE(ListFolder(folder).empty());
    EXPECT_EQ(std::vector<std::string>{CP932_DORAIBA CP932_HYO}, ListFolder(scratch.Path()));
}
