#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/CabBuilder.h"
#include "payload/CabFiles.h"
#include "payload/wizCab.h"
#include "support/TestSupport.h"

using cabtest::Bytes;
using cabtest::ListFolder;
using cabtest::Member;
using wiztest::ReadFileBytes;
using wiztest::ScratchDir;

namespace {

// Records what the hooks are told; can refuse members.
class RecordingExtractor : public CabExtractor {
public:
    bool skipAll = false;
    int cabinetEvents = 0;
    std::vector<std::string> copyTargets;
    std::vector<unsigned short> extractedAttributes;

protected:
    void OnCabinetEvent() override { ++cabinetEvents; }
    void OnFileExtracted(const char*, unsigned short, unsigned short, unsigned short attributes) override {
        extractedAttributes.push_back(attributes);
    }
    bool OnCopyFile(const char* target, long, const SYSTEMTIME&, unsigned short, bool* skip) override {
        copyTargets.push_back(target);
        if (skipAll)
            *skip = true;
        return true;
    }
};

std::string WriteSingle(const ScratchDir& scratch, const std::vector<Member>& members) {
    std::string path = scratch / "test.cab";
    EXPECT_TRUE(cabtest::WriteCabinet(path, cabtest::Serialize(cabtest::LayOutCabinet(members))));
    return path;
}

const std::vector<std::string> kNone;

}  // namespace

TEST(CabExtractorPrepare, AnswersSuccessAndEndsTheDestinationWithABackslash) {
    ScratchDir scratch;
    std::string cabinet = WriteSingle(scratch, {{"a.txt", cabtest::Text("a")}});
    PayloadCabExtractor extractor;
    EXPECT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_EQ(scratch / "out\\", extractor.Destination());
    EXPECT_TRUE(wiztest::IsDirectory(scratch / "out"));
    EXPECT_STREQ("Success", kPrepareResultNames[extractor.Prepare(cabinet.c_str(), (scratch / "out\\").c_str())]);
    EXPECT_EQ(scratch / "out\\", extractor.Destination());
}

TEST(CabExtractorPrepare, WithoutADestinationUsesTheTempFolder) {
    ScratchDir scratch;
    std::string cabinet = WriteSingle(scratch, {{"a.txt", cabtest::Text("a")}});
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    PayloadCabExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), ""));
    EXPECT_STREQ(temp, extractor.Destination());
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), nullptr));
    EXPECT_STREQ(temp, extractor.Destination());
}

TEST(CabExtractorPrepare, ADestinationThatIsAFileOrTooLongIsInvalid) {
    ScratchDir scratch;
    std::string cabinet = WriteSingle(scratch, {{"a.txt", cabtest::Text("a")}});
    ASSERT_TRUE(wiztest::WriteTextFile(scratch / "file", "x"));
    PayloadCabExtractor extractor;
    EXPECT_EQ(PrepareInvalidDirectory, extractor.Prepare(cabinet.c_str(), (scratch / "file").c_str()));
    EXPECT_EQ(PrepareInvalidDirectory, extractor.Prepare(cabinet.c_str(), (scratch / "file\\sub").c_str()));
    std::string tooLong = scratch / std::string(259 - scratch.Path().size(), 'd');
    ASSERT_EQ(260u, tooLong.size());
    EXPECT_EQ(PrepareInvalidDirectory, extractor.Prepare(cabinet.c_str(), tooLong.c_str()));
    EXPECT_EQ(std::vector<std::string>({"file", "test.cab"}), ListFolder(scratch.Path()))
        << "no shortened folder was created instead";
}

TEST(CabExtractorPrepare, TellsInvalidNamesCabinetsAndMiddleStarts) {
    ScratchDir scratch;
    PayloadCabExtractor extractor;
    std::string longName = scratch / std::string(270, 'n');
    EXPECT_EQ(PrepareInvalidFileName, extractor.Prepare(longName.c_str(), (scratch / "out").c_str()));
    EXPECT_EQ(PrepareInvalidFileName, extractor.Prepare(nullptr, (scratch / "out").c_str()));
    EXPECT_EQ(PrepareInvalidCabinet, extractor.Prepare((scratch / "absent.cab").c_str(), (scratch / "out").c_str()));
    ASSERT_TRUE(wiztest::WriteTextFile(scratch / "text.cab", std::string(100, 'x')));
    EXPECT_EQ(PrepareInvalidCabinet, extractor.Prepare((scratch / "text.cab").c_str(), (scratch / "out").c_str()));

    // The second cabinet's only member continues from the first.
    std::vector<std::string> names = {"Disk1.cab", "Disk2.cab"};
    ASSERT_TRUE(cabtest::WriteSet(scratch.Path(), names,
                                  cabtest::LayOutSet({{{"span.bin", cabtest::Pattern(6000, 3)}}}, names, 4000)));
    EXPECT_EQ(PrepareCantStartHere, extractor.Prepare((scratch / "Disk2.cab").c_str(), (scratch / "out").c_str()));
    EXPECT_EQ(PrepareSuccess, extractor.Prepare((scratch / "Disk1.cab").c_str(), (scratch / "out").c_str()));
}

TEST(CabExtractorCheckCabinet, ReadsValiditySetIdAndWhetherItCanStart) {
    ScratchDir scratch;
    std::vector<std::string> names = {"Disk1.cab", "Disk2.cab"};
    std::vector<cabtest::CabinetImage> set =
        cabtest::LayOutSet({{{"span.bin", cabtest::Pattern(6000, 3)}}}, names, 4000);
    for (cabtest::CabinetImage& image : set)
        image.setId = 777;
    ASSERT_TRUE(cabtest::WriteSet(scratch.Path(), names, set));
    CabinetCheck first = CabExtractor::CheckCabinet((scratch / "Disk1.cab").c_str());
    EXPECT_TRUE(first.valid);
    EXPECT_TRUE(first.canStart);
    EXPECT_EQ(777, first.setId);
    CabinetCheck second = CabExtractor::CheckCabinet((scratch / "Disk2.cab").c_str());
    EXPECT_TRUE(second.valid);
    EXPECT_FALSE(second.canStart);
    EXPECT_FALSE(CabExtractor::CheckCabinet((scratch / "absent.cab").c_str()).valid);
}

TEST(CabExtractorMakePath, CreatesEveryLevelAndAnswersWhetherItIsAFolder) {
    ScratchDir scratch;
    EXPECT_TRUE(CabExtractor::MakePath((scratch / "a\\b\\c").c_str()));
    EXPECT_TRUE(wiztest::IsDirectory(scratch / "a\\b\\c"));
    EXPECT_TRUE(CabExtractor::MakePath((scratch / "a\\b\\c\\").c_str()));
    EXPECT_TRUE(CabExtractor::MakePath("C:\\"));
    ASSERT_TRUE(wiztest::WriteTextFile(scratch / "file", "x"));
    EXPECT_FALSE(CabExtractor::MakePath((scratch / "file").c_str()));
    EXPECT_FALSE(CabExtractor::MakePath(""));
    std::string tooLong = scratch / (std::string(150, 'x') + "\\" + std::string(150, 'y'));
    EXPECT_FALSE(CabExtractor::MakePath(tooLong.c_str()));
    EXPECT_FALSE(wiztest::PathExists(scratch / std::string(150, 'x'))) << "nothing of a path that does not fit";
}

TEST(CabExtractorCopy, ATargetPastMaxPathIsSkippedAndTheCopyGoesOn) {
    ScratchDir scratch;
    std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\file.txt";
    std::string cabinet = WriteSingle(scratch, {{deep, cabtest::Text("too deep")}, {"b.txt", cabtest::Text("b")}});
    PayloadCabExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_TRUE(extractor.CopyMember(""));
    extractor.Release();
    EXPECT_EQ(std::vector<std::string>{"b.txt"}, ListFolder(scratch / "out"));
    EXPECT_TRUE(ExtractFile(cabinet.c_str(), (scratch / "out").c_str(), deep.c_str()));
    EXPECT_EQ(std::vector<std::string>{"b.txt"}, ListFolder(scratch / "out"));
}

TEST(CabExtractorCopy, ATargetThatCannotBeOpenedIsSkippedAndTheCopyGoesOn) {
    ScratchDir scratch;
    std::string cabinet = WriteSingle(scratch, {{"taken", cabtest::Text("new")}, {"b.txt", cabtest::Text("b")}});
    // A folder holds the member's name.
    ASSERT_TRUE(CabExtractor::MakePath((scratch / "out\\taken").c_str()));
    PayloadCabExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_TRUE(extractor.CopyMember(nullptr));
    EXPECT_FALSE(extractor.IsTargetOpen());
    extractor.Release();
    EXPECT_TRUE(wiztest::IsDirectory(scratch / "out\\taken"));
    EXPECT_EQ(cabtest::Text("b"), ReadFileBytes(scratch / "out\\b.txt"));
}

TEST(CabExtractorCopy, AnOverlongMemberFilterFailsInsteadOfMatchingAShorterName) {
    ScratchDir scratch;
    std::string name(519, 'm');
    std::string cabinet = WriteSingle(scratch, {{"a.txt", cabtest::Text("a")}});
    PayloadCabExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_TRUE(extractor.CopyMember(name.c_str()));
    EXPECT_FALSE(extractor.CopyMember((name + "m").c_str()));
    EXPECT_EQ(kNone, ListFolder(scratch / "out"));
}

TEST(CabExtractorCopy, CopyWithoutPrepareFails) {
    PayloadCabExtractor extractor;
    EXPECT_FALSE(extractor.CopyMember("a.txt"));
}

TEST(CabExtractorHooks, SeeEveryMemberAndMaskTheAttributes) {
    ScratchDir scratch;
    std::vector<Member> members = {{"a.txt", cabtest::Text("a")}, {"b.txt", cabtest::Text("b")}};
    members[0].attributes = 0xA1;  // read-only, archive and the "execute" bit
    std::string cabinet = WriteSingle(scratch, members);
    RecordingExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_TRUE(extractor.CopyMember(""));
    EXPECT_EQ(std::vector<std::string>({scratch / "out\\a.txt", scratch / "out\\b.txt"}), extractor.copyTargets);
    EXPECT_EQ(std::vector<unsigned short>({0x21, 0x20}), extractor.extractedAttributes);
    EXPECT_GE(extractor.cabinetEvents, 1) << "the cabinet-info notification";
    DWORD attributes = GetFileAttributesA((scratch / "out\\a.txt").c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY) << "stored attributes are not applied";
}

TEST(CabExtractorHooks, ASkippedMemberIsNotWritten) {
    ScratchDir scratch;
    std::string cabinet = WriteSingle(scratch, {{"a.txt", cabtest::Text("a")}});
    RecordingExtractor extractor;
    extractor.skipAll = true;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(cabinet.c_str(), (scratch / "out").c_str()));
    EXPECT_TRUE(extractor.CopyMember("a.txt"));
    EXPECT_EQ(1u, extractor.copyTargets.size());
    EXPECT_EQ(kNone, ListFolder(scratch / "out"));
}
