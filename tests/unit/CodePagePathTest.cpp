// Path rules in the double-byte code pages, where the second byte of a
// character may be 0x5C, the backslash. Each suite runs in a ctest entry of
// its own whose Unix locale makes Wine's ANSI code page 932 or 950; in any
// other entry it is filtered out. The single-byte answers are in PathTest.
#include <gtest/gtest.h>

#include <windows.h>

#include "fw/Path.h"
#include "fw/PathChars.h"
#include "payload/CabPath.h"
#include "support/CodePages.h"
#include "system/wizMisc.h"

using CodePage932 = wiztest::CodePageTest<932>;
using CodePage950 = wiztest::CodePageTest<950>;

#define SO CP932_SO
#define HYO CP932_HYO
#define NOU CP932_NOU
#define JUU CP932_JUU
#define PO CP932_PO
#define DORAIBA CP932_DORAIBA
#define XU CP950_XU
#define GONG CP950_GONG
#define GAI CP950_GAI

TEST_F(CodePage932, ACharacterEndingIn5CIsOneCharacterAndNoSeparator) {
    const char path[] = "C:\\" DORAIBA HYO;
    EXPECT_EQ(path + 5, NextChar(path + 3));
    EXPECT_EQ(path + 2, FindLastSeparator(path));
    EXPECT_FALSE(EndsWithSeparator(path));
    EXPECT_EQ(strlen(path), LengthWithoutTrailingSeparators(path));
    EXPECT_EQ(path + strlen(path), ComponentEnd(path + 3));

    const char folder[] = "C:\\" SO "\\" HYO "\\";  // a real separator right after each
    EXPECT_TRUE(EndsWithSeparator(folder));
    EXPECT_EQ(folder + 8, FindLastSeparator(folder));
    EXPECT_EQ(folder + 5, ComponentEnd(folder + 3));
    EXPECT_EQ(8u, LengthWithoutTrailingSeparators(folder));
    EXPECT_EQ(3u, LengthWithoutTrailingSeparators("C:\\\\"));
}

TEST_F(CodePage932, ALoneLeadByteAtTheEndIsOneCharacterAndNothingIsReadPastIt) {
    const char text[] = "C:\\a\x95";
    EXPECT_EQ(text + 5, NextChar(text + 4));
    EXPECT_EQ(text + 5, NextChar(text + 5));
    EXPECT_EQ(text + 2, FindLastSeparator(text));
    EXPECT_FALSE(EndsWithSeparator(text));
    EXPECT_EQ(5u, LengthWithoutTrailingSeparators(text));
    EXPECT_EQ(text + 5, ComponentEnd(text + 3));
}

TEST_F(CodePage932, JoinsAndTrimsAtRealSeparatorsOnly) {
    EXPECT_STREQ("C:\\" DORAIBA HYO "\\vxa38.inf", JoinPath("C:\\" DORAIBA HYO, "vxa38.inf").c_str());
    EXPECT_STREQ("C:\\" HYO "\\x", JoinPath("C:\\" HYO "\\", "x").c_str());
    EXPECT_STREQ("C:\\" SO, WithoutTrailingSeparators("C:\\" SO).c_str());
    EXPECT_STREQ("C:\\" SO, WithoutTrailingSeparators("C:\\" SO "\\\\").c_str());
    EXPECT_STREQ("C:\\", WithoutTrailingSeparators("C:\\").c_str());
    EXPECT_EQ(2, String("C:\\" NOU).FindLast('\\'));
    EXPECT_EQ(5, String("C:\\" JUU ".txt").FindLast('.'));
}

TEST_F(CodePage932, UncRootsAndComponentsAreFoundWhereWindowsFindsThem) {
    const char share[] = "\\\\server\\" HYO;
    EXPECT_EQ(share + strlen(share), UncShareEnd(share));
    EXPECT_TRUE(IsRootFolder(share));
    EXPECT_FALSE(IsRootFolder("\\\\server\\" HYO "\\x"));
    EXPECT_TRUE(IsFullPath("\\\\" SO "\\share"));
    EXPECT_FALSE(HasDotsAndSpacesComponent("C:\\" SO ".."));
    EXPECT_TRUE(HasDotsAndSpacesComponent("C:\\" SO "\\..\\x"));
}

TEST_F(CodePage932, NameCharactersAreJudgedByCharacter) {
    EXPECT_FALSE(HasCharacterNotAllowedInNames("C:\\" PO "\\" HYO));
    EXPECT_TRUE(HasCharacterNotAllowedInNames("C:\\" PO "\\a|b"));
    EXPECT_TRUE(HasCharacterNotAllowedInNames("C:\\" HYO "?\\x"));
    EXPECT_FALSE(HasCharacterNotAllowedInNames("\\\\?\\C:\\" HYO));
}

TEST_F(CodePage932, CabinetMemberNamesAreSplitAsWindowsCreatesThem) {
    EXPECT_TRUE(IsContainedRelativePath(SO "..\\vxa38.inf"));
    EXPECT_TRUE(IsContainedRelativePath(SO "\\" HYO "\\vxa38.inf"));
    EXPECT_FALSE(IsContainedRelativePath(SO "\\..\\vxa38.inf"));
    EXPECT_TRUE(IsPlainFileName(HYO ".cab"));
    EXPECT_FALSE(IsPlainFileName(HYO "\\x.cab"));
    EXPECT_STREQ(HYO "\\x.inf", StripMemberRoot("\\\\server\\" SO "\\" HYO "\\x.inf"));
    // 0xB9 is a katakana here, not the superscript one of code page 1252.
    EXPECT_TRUE(IsContainedRelativePath("COM\xb9"));

    char target[MAX_PATH];
    ASSERT_TRUE(ComposeMemberTargetPath("C:\\" DORAIBA HYO "\\", SO "/vxa38.inf", target, sizeof(target)));
    EXPECT_STREQ("C:\\" DORAIBA HYO "\\" SO "\\vxa38.inf", target);
    EXPECT_EQ(2, FolderScanStart("C:\\" HYO));
}

TEST_F(CodePage932, ADevicePathEntryCountsOnlyAsAWholeEntry) {
    // The share's leading backslash is the second byte of SO here.
    EXPECT_FALSE(DevicePathListsFolder("C:\\" SO "\\server\\share", "\\\\server\\share"));
    EXPECT_TRUE(DevicePathListsFolder("C:\\" DORAIBA HYO ";C:\\windows\\inf", "c:\\" DORAIBA HYO));
    EXPECT_FALSE(DevicePathListsFolder("C:\\" DORAIBA HYO "x;C:\\windows\\inf", "C:\\" DORAIBA HYO));
}

TEST_F(CodePage950, ACharacterEndingIn5CIsOneCharacterAndNoSeparator) {
    const char path[] = "C:\\Program Files\\" XU GONG GAI "\\Kestrin Duoflex";
    const char* folder = path + strlen("C:\\Program Files\\");
    EXPECT_EQ(folder + 2, NextChar(folder));
    EXPECT_EQ(folder + 6, ComponentEnd(folder));
    EXPECT_EQ(folder + 6, FindLastSeparator(path));
    EXPECT_FALSE(EndsWithSeparator("C:\\" XU GONG));
    EXPECT_STREQ("C:\\" XU GONG "\\x", JoinPath("C:\\" XU GONG, "x").c_str());
    EXPECT_STREQ("C:\\" GAI, WithoutTrailingSeparators("C:\\" GAI "\\").c_str());
    EXPECT_FALSE(HasDotsAndSpacesComponent("C:\\" XU ".."));
    EXPECT_TRUE(IsPlainFileName(GONG ".cab"));
    const char lone[] = "C:\\\xb3";
    EXPECT_EQ(lone + 4, NextChar(lone + 3));
}

TEST_F(CodePage932, CharactersTheCodePageLacksBecomeQuestionMarksAndAreNoExactConversion) {
    char narrow[MAX_PATH];
    EXPECT_FALSE(NarrowWithoutBestFit(L"C:\\\x00a5\\x", narrow, MAX_PATH)) << "the yen sign has no exact form";
    EXPECT_STREQ("C:\\?\\x", narrow) << "never a best fit to the backslash";
    EXPECT_FALSE(NarrowWithoutBestFit(L"C:\\\xd55c", narrow, MAX_PATH));
    EXPECT_STREQ("C:\\?", narrow);
    EXPECT_TRUE(NarrowWithoutBestFit(L"C:\\\x30c9\x30e9\x30a4\x30d0\x8868", narrow, MAX_PATH));
    EXPECT_STREQ("C:\\" DORAIBA HYO, narrow);
    EXPECT_FALSE(NarrowWithoutBestFit(L"C:\\\x8868\x8868", narrow, 5)) << "does not fit";
    EXPECT_STREQ("", narrow);
}
