#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/CabBuilder.h"
#include "payload/CabFiles.h"
#include "payload/wizCab.h"
#include "support/CodePages.h"
#include "support/TestSupport.h"

using cabtest::Bytes;
using cabtest::ListFolder;
using cabtest::Member;
using wiztest::ReadFileBytes;
using wiztest::ScratchDir;

namespace {

const std::vector<std::string> kNone;

class ExtractFileTest : public ::testing::Test {
protected:
    // A single cabinet "test.cab" in the scratch folder; the destination is "out".
    std::string Cabinet(const std::vector<Member>& members, size_t blockSize = 4096) {
        std::string path = scratch / "test.cab";
        EXPECT_TRUE(cabtest::WriteCabinet(path, cabtest::Serialize(cabtest::LayOutCabinet(members, blockSize))));
        return path;
    }
    std::string Out() const { return scratch / "out"; }

    ScratchDir scratch;
};

std::vector<Member> ThreeMembers() {
    return {{"first.txt", cabtest::Text("the first member")},
            {"vxa38.inf", cabtest::Pattern(10000, 1)},
            {"last.bin", cabtest::Pattern(70000, 2)}};
}

}  // namespace

TEST_F(ExtractFileTest, WritesOnlyTheNamedMemberByteForByte) {
    std::string cabinet = Cabinet(ThreeMembers());
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "last.bin"));
    EXPECT_EQ(std::vector<std::string>{"last.bin"}, ListFolder(Out()));
    EXPECT_EQ(cabtest::Pattern(70000, 2), ReadFileBytes(Out() + "\\last.bin"));
}

TEST_F(ExtractFileTest, MemberNamesMatchWithoutRegardToCase) {
    std::string cabinet = Cabinet(ThreeMembers());
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "VXA38.INF"));
    EXPECT_EQ(std::vector<std::string>{"vxa38.inf"}, ListFolder(Out())) << "written under its stored name";
    EXPECT_EQ(cabtest::Pattern(10000, 1), ReadFileBytes(Out() + "\\vxa38.inf"));
}

TEST_F(ExtractFileTest, AMissingMemberWritesNothingYetTheCabinetCounts) {
    std::string cabinet = Cabinet(ThreeMembers());
    EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "absent.txt"));
    EXPECT_EQ(kNone, ListFolder(Out()));
}

TEST_F(ExtractFileTest, AMissingCabinetFailsBeforeTheDestinationIsCreated) {
    EXPECT_FALSE(ExtractFile((scratch / "absent.cab").c_str(), Out().c_str(), "first.txt"));
    EXPECT_FALSE(wiztest::PathExists(Out()));
}

TEST_F(ExtractFileTest, AFileWithoutTheSignatureIsNoCabinet) {
    Bytes bytes = cabtest::Serialize(cabtest::LayOutCabinet(ThreeMembers()));
    bytes[0] = 'Z';
    ASSERT_TRUE(cabtest::WriteCabinet(scratch / "test.cab", bytes));
    EXPECT_FALSE(ExtractFile((scratch / "test.cab").c_str(), Out().c_str(), "first.txt"));
    EXPECT_FALSE(wiztest::PathExists(Out()));
    ASSERT_TRUE(wiztest::WriteTextFile(scratch / "short.cab", "MSCF"));
    EXPECT_FALSE(ExtractFile((scratch / "short.cab").c_str(), Out().c_str(), "first.txt"));
}

TEST_F(ExtractFileTest, TheDestinationIsCreatedLevelByLevel) {
    std::string cabinet = Cabinet(ThreeMembers());
    std::string destination = scratch / "a\\b\\c";
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), destination.c_str(), "first.txt"));
    EXPECT_EQ(cabtest::Text("the first member"), ReadFileBytes(destination + "\\first.txt"));
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), (destination + "\\d\\").c_str(), "first.txt"));
    EXPECT_TRUE(wiztest::PathExists(destination + "\\d\\first.txt")) << "a trailing backslash is accepted";
}

TEST_F(ExtractFileTest, AMemberWithFolderPartsLandsInThatSubfolder) {
    std::string cabinet = Cabinet({{"sub\\deeper\\file.txt", cabtest::Text("nested")},
                                   {"other/slashed.txt", cabtest::Text("slashed")}});
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "sub\\deeper\\file.txt"));
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "other/slashed.txt"));
    EXPECT_EQ(cabtest::Text("nested"), ReadFileBytes(Out() + "\\sub\\deeper\\file.txt"));
    EXPECT_EQ(cabtest::Text("slashed"), ReadFileBytes(Out() + "\\other\\slashed.txt"));
}

TEST_F(ExtractFileTest, AllThreeTimesAreTheStoredTimeReadAsLocalTime) {
    std::string cabinet = Cabinet(ThreeMembers());
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "first.txt"));
    HANDLE file = CreateFileA((Out() + "\\first.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME times[3];
    ASSERT_TRUE(GetFileTime(file, &times[0], &times[1], &times[2]));
    CloseHandle(file);
    for (const FILETIME& time : times) {
        FILETIME local;
        SYSTEMTIME parts;
        ASSERT_TRUE(FileTimeToLocalFileTime(&time, &local));
        ASSERT_TRUE(FileTimeToSystemTime(&local, &parts));
        EXPECT_EQ(2009, parts.wYear);
        EXPECT_EQ(6, parts.wMonth);
        EXPECT_EQ(15, parts.wDay);
        EXPECT_EQ(10, parts.wHour);
        EXPECT_EQ(20, parts.wMinute);
        EXPECT_EQ(32, parts.wSecond);
    }
}

TEST_F(ExtractFileTest, AnOlderLongerTargetIsReplacedWhole) {
    std::string cabinet = Cabinet(ThreeMembers());
    CreateDirectoryA(Out().c_str(), nullptr);
    Bytes old = cabtest::Pattern(50000, 9);
    ASSERT_TRUE(wiztest::WriteFileBytes(Out() + "\\first.txt", old.data(), old.size()));
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "first.txt"));
    EXPECT_EQ(cabtest::Text("the first member"), ReadFileBytes(Out() + "\\first.txt"));
}

TEST_F(ExtractFileTest, AnEmptyMemberBecomesAnEmptyFile) {
    std::string cabinet = Cabinet({{"empty.txt", {}}, {"full.txt", cabtest::Text("x")}});
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "empty.txt"));
    EXPECT_TRUE(wiztest::PathExists(Out() + "\\empty.txt"));
    EXPECT_TRUE(ReadFileBytes(Out() + "\\empty.txt").empty());
}

TEST_F(ExtractFileTest, AMemberWhoseDataIsCorruptLeavesNoFile) {
    cabtest::CabinetImage image = cabtest::LayOutCabinet({{"broken.bin", cabtest::Pattern(9000, 4)}}, 4096);
    ASSERT_EQ(3u, image.folders[0].blocks.size());
    image.folders[0].blocks[2].uncompressedSize = 100;  // the stored data no longer matches
    ASSERT_TRUE(cabtest::WriteCabinet(scratch / "test.cab", cabtest::Serialize(image)));
    EXPECT_TRUE(ExtractFile((scratch / "test.cab").c_str(), Out().c_str(), "broken.bin"));
    EXPECT_EQ(kNone, ListFolder(Out()));
}

TEST(ExtractFileArguments, AMissingPathOrAnOverlongOneIsRefused) {
    ScratchDir scratch;
    EXPECT_FALSE(ExtractFile(nullptr, (scratch / "out").c_str(), "a"));
    std::string longPath = scratch.Path() + "\\" + std::string(300, 'c') + ".cab";
    EXPECT_FALSE(ExtractFile(longPath.c_str(), (scratch / "out").c_str(), "a"));
    EXPECT_FALSE(wiztest::PathExists(scratch / "out"));
}

TEST_F(ExtractFileTest, AMemberDeclaringAnotherThanTheExpectedSizeIsNotEvenOpened) {
    Bytes zeros(3 << 20, 0);
    std::string cabinet = Cabinet({{"vxa38.sys", zeros}, {"vxa38.inf", cabtest::Pattern(10000, 1)}}, 32768);
    ASSERT_TRUE(CreateDirectoryA(Out().c_str(), nullptr));
    ASSERT_TRUE(wiztest::WriteTextFile(Out() + "\\vxa38.sys", "the earlier file"));

    EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "vxa38.sys", 10000));
    EXPECT_EQ(cabtest::Text("the earlier file"), ReadFileBytes(Out() + "\\vxa38.sys")) << "not truncated either";
    EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "vxa38.inf", 9999));
    EXPECT_EQ(std::vector<std::string>{"vxa38.sys"}, ListFolder(Out()));

    EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "vxa38.inf", 10000));
    EXPECT_EQ(cabtest::Pattern(10000, 1), ReadFileBytes(Out() + "\\vxa38.inf"));
    EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), "vxa38.sys", static_cast<long>(zeros.size())));
    EXPECT_EQ(zeros, ReadFileBytes(Out() + "\\vxa38.sys"));
}

// A stored name flagged _A_NAME_IS_UTF is UTF-8: it is checked and written as
// the code page reads it, or not at all.
TEST_F(ExtractFileTest, AUtf8NameIsWrittenAsTheCodePageReadsItOrLeftOut) {
    const unsigned short utf8 = 0x20 | _A_NAME_IS_UTF;
    std::string cabinet = Cabinet({{"vxa38.inf", cabtest::Text("plain"), cabtest::kDosDate, cabtest::kDosTime, utf8},
                                   {"\xff\xfe.inf", cabtest::Text("no UTF-8"), cabtest::kDosDate, cabtest::kDosTime, utf8},
                                   {"\xed\x95\x9c.inf", cabtest::Text("U+D55C, in no code page of ours"),
                                    cabtest::kDosDate, cabtest::kDosTime, utf8}});
    for (const char* member : {"vxa38.inf", "\xff\xfe.inf", "\xed\x95\x9c.inf", "?.inf"})
        EXPECT_TRUE(ExtractFile(cabinet.c_str(), Out().c_str(), member)) << member;
    EXPECT_EQ(std::vector<std::string>{"vxa38.inf"}, ListFolder(Out()));
}

using CodePage932Extraction = wiztest::CodePageTest<932>;

// The second byte of these characters is 0x5C: the destination ends in no
// separator, and a member's folder part is one folder.
TEST_F(CodePage932Extraction, MembersLandInsideADestinationEndingInSuchACharacter) {
    ScratchDir scratch;
    std::string cabinet = scratch / "test.cab";
    ASSERT_TRUE(cabtest::WriteCabinet(cabinet, cabtest::Serialize(cabtest::LayOutCabinet(
                                                   {{"vxa38.inf", cabtest::Text("inf")},
                                                    {CP932_SO "\\vxa38.cat", cabtest::Text("cat")}}))));
    std::string destination = scratch / CP932_DORAIBA CP932_HYO;
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), destination.c_str(), "vxa38.inf"));
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), destination.c_str(), CP932_SO "\\vxa38.cat"));
    EXPECT_EQ((std::vector<std::string>{"test.cab", CP932_DORAIBA CP932_HYO}), ListFolder(scratch.Path()));
    EXPECT_EQ((std::vector<std::string>{"vxa38.inf", CP932_SO}), ListFolder(destination));
    EXPECT_EQ(cabtest::Text("cat"), ReadFileBytes(destination + "\\" CP932_SO "\\vxa38.cat"));
}

TEST_F(CodePage932Extraction, AUtf8NameIsConvertedToTheCodePage) {
    ScratchDir scratch;
    std::string cabinet = scratch / "test.cab";
    const unsigned short utf8 = 0x20 | _A_NAME_IS_UTF;
    // U+8868 and U+30BD in UTF-8, each 0x5C-ending in code page 932.
    ASSERT_TRUE(cabtest::WriteCabinet(cabinet, cabtest::Serialize(cabtest::LayOutCabinet(
        {{"\xe8\xa1\xa8\xe3\x82\xbd.inf", cabtest::Text("inf"), cabtest::kDosDate, cabtest::kDosTime, utf8}}))));
    std::string out = scratch / "out";
    ASSERT_TRUE(ExtractFile(cabinet.c_str(), out.c_str(), CP932_HYO CP932_SO ".inf"));
    EXPECT_EQ(std::vector<std::string>{CP932_HYO CP932_SO ".inf"}, ListFolder(out));
}
