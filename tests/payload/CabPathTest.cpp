#include <gtest/gtest.h>

#include <string>

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

TEST(ComposeMemberTargetPath, ComponentsOfDotsAndSpacesAreRefusedWhereverTheyStand) {
    EXPECT_EQ("(refused)", Target("sub\\ \\file"));
    EXPECT_EQ("(refused)", Target(" .\\file"));
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
