// The path rules every folder shares: joining, roots, component checks.
#include <gtest/gtest.h>

#include <string>

#include "fw/Path.h"

TEST(JoinPath, PutsOneSeparatorBetweenFolderAndName) {
    EXPECT_STREQ("D:\\Tools\\Setup.exe", JoinPath("D:\\Tools", "Setup.exe").c_str());
    EXPECT_STREQ("D:\\Setup.exe", JoinPath("D:\\", "Setup.exe").c_str());
    EXPECT_STREQ("D:\\Tools\\Setup.exe", JoinPath("D:\\Tools\\", "Setup.exe").c_str());
    EXPECT_STREQ("D:\\Tools/Setup.exe", JoinPath("D:\\Tools/", "Setup.exe").c_str());
    EXPECT_STREQ("\\\\server\\share\\Setup.exe", JoinPath("\\\\server\\share", "Setup.exe").c_str());
    EXPECT_STREQ("C:\\*", JoinPath("C:", "*").c_str());
    EXPECT_STREQ("abc\\*", JoinPath("abc", "*").c_str()) << "three characters are no drive root";
    EXPECT_STREQ("Setup.exe", JoinPath("", "Setup.exe").c_str()) << "no folder: the root of the drive is not meant";
}

TEST(JoinPathWithinMaxPath, RefusesLongResultsAndAMissingFolder) {
    std::string folder(250, 'f');
    String out("stale");
    EXPECT_TRUE(JoinPathWithinMaxPath(folder.c_str(), "12345678", out));  // 259 characters
    EXPECT_EQ(259u, out.Length());
    EXPECT_FALSE(JoinPathWithinMaxPath(folder.c_str(), "123456789", out));
    EXPECT_TRUE(out.IsEmpty());
    out = "stale";
    EXPECT_FALSE(JoinPathWithinMaxPath("", "*", out));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_FALSE(JoinPathWithinMaxPath(nullptr, "*", out));
}

TEST(IsFullPath, AcceptsDrivePathsAndUncPathsOnly) {
    EXPECT_TRUE(IsFullPath("C:\\"));
    EXPECT_TRUE(IsFullPath("d:\\Tools"));
    EXPECT_TRUE(IsFullPath("\\\\server\\share\\folder"));
    for (const char* path : {"", "C:", "C:Tools", "\\Tools", "\\\\\\share", "Tools\\Kestrin", "1:\\Tools", "C:/Tools"})
        EXPECT_FALSE(IsFullPath(path)) << path;
    EXPECT_FALSE(IsFullPath(nullptr));
}

TEST(IsRootFolder, DriveRootsAndSharesWithoutAFolderBelow) {
    for (const char* path : {"C:\\", "d:\\", "\\\\server\\share", "\\\\server\\share\\", "\\\\server", "\\\\server\\"})
        EXPECT_TRUE(IsRootFolder(path)) << path;
    for (const char* path : {"C:\\Tools", "C:", "\\\\server\\share\\Tools", "Tools", ""})
        EXPECT_FALSE(IsRootFolder(path)) << path;
    EXPECT_TRUE(IsDriveRoot("C:\\"));
    EXPECT_FALSE(IsDriveRoot("C:\\a"));
    EXPECT_FALSE(IsDriveRoot("abc"));
}

TEST(HasDotsAndSpacesComponent, FindsComponentsThatClimbOrStayWhereverTheyStand) {
    for (const char* path : {"..", "C:\\a\\..", "C:\\a\\.\\b", "C:\\a\\...\\b", "C:\\a\\ \\b", "C:\\a\\. .\\b",
                             " .", "a/../b", "\\\\server\\share\\..\\b"})
        EXPECT_TRUE(HasDotsAndSpacesComponent(path)) << path;
    for (const char* path : {"", "C:\\a..b", "C:\\..a", "C:\\a.\\b", "C:\\ a", "C:\\a\\", "\\\\server\\share", "a\\\\b"})
        EXPECT_FALSE(HasDotsAndSpacesComponent(path)) << path;
}

TEST(WithoutLongPathPrefix, NamesThePathBehindThePrefix) {
    EXPECT_STREQ("C:\\windows", WithoutLongPathPrefix("\\\\?\\C:\\windows").c_str());
    EXPECT_STREQ("C:\\windows", WithoutLongPathPrefix("\\\\.\\C:\\windows").c_str());
    EXPECT_STREQ("\\\\server\\share\\x", WithoutLongPathPrefix("\\\\?\\UNC\\server\\share\\x").c_str());
    EXPECT_STREQ("\\\\server\\share", WithoutLongPathPrefix("\\\\?\\unc\\server\\share").c_str());
    EXPECT_STREQ("C:\\windows", WithoutLongPathPrefix("C:\\windows").c_str());
    EXPECT_STREQ("\\\\server\\share", WithoutLongPathPrefix("\\\\server\\share").c_str());
    EXPECT_STREQ("\\\\?", WithoutLongPathPrefix("\\\\?").c_str());
    EXPECT_STREQ("", WithoutLongPathPrefix(nullptr).c_str());
}

TEST(WithoutTrailingSeparators, KeepsTheSeparatorOfADriveRoot) {
    EXPECT_STREQ("C:\\Tools", WithoutTrailingSeparators("C:\\Tools\\\\").c_str());
    EXPECT_STREQ("C:\\", WithoutTrailingSeparators("C:\\").c_str());
    EXPECT_STREQ("C:\\", WithoutTrailingSeparators("C:\\\\").c_str());
    EXPECT_STREQ("\\\\server\\share", WithoutTrailingSeparators("\\\\server\\share\\").c_str());
    EXPECT_STREQ("C:\\Tools", WithoutTrailingSeparators("C:\\Tools").c_str());
}
