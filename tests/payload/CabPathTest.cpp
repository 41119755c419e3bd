#include <gtest/gtest.h>

#include <string>

#include "fw/Path.h"
#include "payload/CabPath.h"

namespace {

const char* const kDestination = "C:\\dest\\";

// The target for a member, or "(refused)".
std::string Target(const char* member, size_t size = 520) {
    char target[520] = "stale";
    if (!ComposeMemberTargetPath(kDestination, member, target, size)) {
        EXPECT_STREQ("", target) << "a refused member leaves the target empty";
        return "(refused)";
    }
    return target;
}

}  // namespace

TEST(ComposeMemberTargetPath, PlainAndFolderMembersLandBelowTheDestination) {
    EXPECT_EQ("C:\\dest\\vxa38.inf", Target("vxa38.inf"));
    EXPECT_EQ("C:\\dest\\sub\\deeper\\file.txt", Target("sub\\deeper\\file.txt"));
    EXPECT_EQ("C:\\dest\\sub\\file.txt", Target("sub/file.txt"));
    EXPECT_EQ("C:\\dest\\..file", Target("..file"));
    EXPECT_EQ("C:\\dest\\a..b\\c", Target("a..b\\c"));
    EXPECT_EQ("C:\\dest\\console.txt", Target("console.txt"));
}

TEST(ComposeMemberTargetPath, DriveAndUncPrefixesAreStripped) {
    EXPECT_EQ("C:\\dest\\Windows\\evil.dll", Target("C:\\Windows\\evil.dll"));
    EXPECT_EQ("C:\\dest\\file.txt", Target("\\\\server\\share\\file.txt"));
    EXPECT_EQ("C:\\dest\\share", Target("\\\\server\\share"));
    EXPECT_EQ("C:\\dest\\server", Target("\\\\server"));
}

TEST(ComposeMemberTargetPath, NamesThatWouldLeaveTheDestinationAreRefused) {
    EXPECT_EQ("(refused)", Target("..\\evil.txt"));
    EXPECT_EQ("(refused)", Target("sub\\..\\..\\evil.txt"));
    EXPECT_EQ("(refused)", Target("../evil.txt"));
    EXPECT_EQ("(refused)", Target("sub/../../evil.txt"));
    EXPECT_EQ("(refused)", Target(".."));
    EXPECT_EQ("(refused)", Target("...\\evil.txt"));
    EXPECT_EQ("(refused)", Target(".. \\evil.txt"));
    EXPECT_EQ("(refused)", Target("\\evil.txt"));
    EXPECT_EQ("(refused)", Target("/evil.txt"));
    EXPECT_EQ("(refused)", Target("C:\\\\evil.txt"));
    EXPECT_EQ("(refused)", Target("C:\\..\\evil.txt"));
    EXPECT_EQ("(refused)", Target("\\\\server\\share\\..\\evil.txt"));
    EXPECT_EQ("(refused)", Target("C:evil.txt"));
    EXPECT_EQ("(refused)", Target("file.txt:stream"));
}

TEST(ComposeMemberTargetPath, EmptyComponentsAndDeviceNamesAreRefused) {
    EXPECT_EQ("(refused)", Target(""));
    EXPECT_EQ("(refused)", Target("C:\\"));
    EXPECT_EQ("(refused)", Target("sub\\"));
    EXPECT_EQ("(refused)", Target("sub\\\\file"));
    EXPECT_EQ("(refused)", Target(".\\file"));
    EXPECT_EQ("(refused)", Target("NUL"));
    EXPECT_EQ("(refused)", Target("con.txt"));
    EXPECT_EQ("(refused)", Target("sub\\COM1"));
    EXPECT_EQ("(refused)", Target("lpt9.log"));
    EXPECT_EQ("(refused)", Target("aux .txt"));
    // Windows counts the superscript digits one to three (code page 1252) as port numbers too.
    EXPECT_EQ("(refused)", Target("COM\xB9"));
    EXPECT_EQ("(refused)", Target("sub\\com\xB2.txt"));
    EXPECT_EQ("(refused)", Target("LPT\xB3"));
    EXPECT_EQ("(refused)", Target("lpt\xB9.log"));
    EXPECT_EQ("C:\\dest\\COM\xB4", Target("COM\xB4")) << "no port has that number";
    EXPECT_EQ("C:\\dest\\COM0", Target("COM0"));
}

TEST(ComposeMemberTargetPath, ATargetThatDoesNotFitIsRefusedNotCut) {
    std::string member(511, 'a');
    EXPECT_EQ("C:\\dest\\" + member, Target(member.c_str()));
    member += 'a';
    EXPECT_EQ("(refused)", Target(member.c_str()));
    // 8 characters of destination + 11 of name need 20 with the terminator.
    EXPECT_EQ("(refused)", Target("sub\\abc.txt", 19));
    EXPECT_EQ("C:\\dest\\sub\\abc.txt", Target("sub\\abc.txt", 20));
}

TEST(IsPlainFileName, OnlySingleComponentsQualify) {
    EXPECT_TRUE(IsPlainFileName("Disk2.cab"));
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_FALSE(IsPlainFileName(nullptr));
    EXPECT_FALSE(IsPlainFileName("..\\Disk2.cab"));
    EXPECT_FALSE(IsPlainFileName("sub/Disk2.cab"));
    EXPECT_FALSE(IsPlainFileName("C:Disk2.cab"));
    EXPECT_FALSE(IsPlainFileName(".."));
}

TEST(CopyBounded, CopiesWhatFitsAndEmptiesTheBufferOtherwise) {
    char buffer[8];
    EXPECT_TRUE(CopyBounded(buffer, sizeof(buffer), "1234567"));
    EXPECT_STREQ("1234567", buffer);
    EXPECT_FALSE(CopyBounded(buffer, sizeof(buffer), "12345678"));
    EXPECT_STREQ("", buffer);
    EXPECT_TRUE(CopyBounded(buffer, sizeof(buffer), nullptr));
    EXPECT_STREQ("", buffer);
}

TEST(FolderScanStart, SkipsDrivesAndUncShares) {
    EXPECT_EQ(2, FolderScanStart("C:\\a\\b"));
    EXPECT_EQ(14, FolderScanStart("\\\\server\\share\\a"));
    EXPECT_EQ(-1, FolderScanStart("\\\\server\\share"));
    EXPECT_EQ(-1, FolderScanStart("\\\\server"));
    EXPECT_EQ(0, FolderScanStart("relative\\a"));
    EXPECT_EQ(0, FolderScanStart("C:relative"));
}

TEST(CabinetTrail, RefusesANameSeenBeforeWhateverItsCase) {
    CabinetTrail trail;
    EXPECT_TRUE(trail.Visit("Disk1.cab"));
    EXPECT_TRUE(trail.Visit("Disk2.cab"));
    EXPECT_FALSE(trail.Visit("DISK1.CAB"));
    trail.Clear();
    EXPECT_TRUE(trail.Visit("Disk1.cab"));
}

TEST(CabinetTrail, RefusesWalksLongerThanItsCapacity) {
    CabinetTrail trail;
    for (int i = 0; i < CabinetTrail::kCapacity; ++i)
        ASSERT_TRUE(trail.Visit(("Disk" + std::to_string(i) + ".cab").c_str()));
    EXPECT_FALSE(trail.Visit("OneTooMany.cab"));
}

// The path rules every folder shares (fw/Path.h).

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
    // The member-name check refuses the same components.
    EXPECT_EQ("(refused)", Target("sub\\ \\file"));
    EXPECT_EQ("(refused)", Target(" .\\file"));
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
