#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fw/UniqueHandle.h"
#include "payload/CabBuilder.h"
#include "payload/CabFiles.h"
#include "payload/wizCab.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

using cabtest::Bytes;
using cabtest::CabinetImage;
using cabtest::ListFolder;
using cabtest::Member;
using wiztest::ReadFileBytes;
using wiztest::ScratchDir;

namespace {

const std::vector<std::string> kNames = {"Disk1.cab", "Disk2.cab", "Disk3.cab"};
const std::vector<std::string> kNone;

// Three cabinets: "a.txt" whole in the first, "span.bin" from the first through
// the second into the third, and "c.txt" in a folder of its own in the third.
std::vector<CabinetImage> ThreeCabinetSet() {
    std::vector<std::vector<Member>> folders = {
        {{"a.txt", cabtest::Text("alpha")}, {"span.bin", cabtest::Pattern(30000, 5)}},
        {{"c.txt", cabtest::Text("gamma")}}};
    return cabtest::LayOutSet(folders, kNames, 12000, 4096);
}

class CabSetTest : public ::testing::Test {
protected:
    void WriteSet(const std::vector<CabinetImage>& set) { ASSERT_TRUE(cabtest::WriteSet(scratch.Path(), kNames, set)); }
    std::string Disk(int number) const { return scratch / kNames[number - 1]; }
    std::string Out() const { return scratch / "out"; }

    ScratchDir scratch;
};

// A one-member cabinet that names the given neighbours (none when empty).
CabinetImage Linked(const std::string& previous, const std::string& next, const std::string& member) {
    CabinetImage image = cabtest::LayOutCabinet({{member, cabtest::Text(member)}});
    image.hasPrevious = !previous.empty();
    image.previousCabinet = previous;
    image.hasNext = !next.empty();
    image.nextCabinet = next;
    return image;
}

}  // namespace

TEST_F(CabSetTest, TheLayoutSpansAsIntended) {
    std::vector<CabinetImage> set = ThreeCabinetSet();
    ASSERT_EQ(3u, set.size());
    ASSERT_EQ(2u, set[0].files.size());
    EXPECT_EQ(0xFFFE, set[0].files[1].folderIndex);
    ASSERT_EQ(1u, set[1].files.size());
    EXPECT_EQ(0xFFFF, set[1].files[0].folderIndex);
    ASSERT_EQ(2u, set[2].files.size());
    EXPECT_EQ(0xFFFD, set[2].files[0].folderIndex);
    EXPECT_EQ(1, set[2].files[1].folderIndex);
}

// The set builder itself: cabinets filled up to the capacity with the folder
// data in order, each cabinet that goes on ending inside a split block, and
// the cabinets linked by name.
TEST(LayOutSet, CutsFolderDataAtTheCapacityAndLinksTheCabinets) {
    std::vector<CabinetImage> set = ThreeCabinetSet();
    ASSERT_EQ(3u, set.size());
    Bytes firstFolder;
    for (size_t c = 0; c < set.size(); ++c) {
        SCOPED_TRACE(c);
        size_t dataBytes = 0;
        for (const cabtest::FolderImage& folder : set[c].folders)
            for (const cabtest::DataBlock& block : folder.blocks)
                dataBytes += block.bytes.size();
        EXPECT_LE(dataBytes, 12000u);
        ASSERT_FALSE(set[c].folders.empty());
        for (const cabtest::DataBlock& block : set[c].folders[0].blocks)
            firstFolder.insert(firstFolder.end(), block.bytes.begin(), block.bytes.end());
        const cabtest::DataBlock& last = set[c].folders[0].blocks.back();
        if (c + 1 < set.size())
            EXPECT_EQ(0, last.uncompressedSize) << "a folder going on ends in a split block";
        else
            EXPECT_NE(0, last.uncompressedSize);
        EXPECT_EQ(c, set[c].index);
        EXPECT_EQ(c > 0, set[c].hasPrevious);
        EXPECT_EQ(c + 1 < set.size(), set[c].hasNext);
        EXPECT_EQ(c > 0 ? kNames[c - 1] : "", set[c].previousCabinet);
        EXPECT_EQ(c + 1 < set.size() ? kNames[c + 1] : "", set[c].nextCabinet);
    }
    Bytes expected = cabtest::Text("alpha");
    Bytes span = cabtest::Pattern(30000, 5);
    expected.insert(expected.end(), span.begin(), span.end());
    EXPECT_EQ(expected, firstFolder) << "every byte once, in order";
    EXPECT_THROW(cabtest::LayOutSet({{{"big.bin", cabtest::Pattern(40000, 1)}}}, kNames, 12000), std::runtime_error);
}

TEST(LayOutSet, ACabinetFullAtABlockBoundaryStillEndsInASplitBlock) {
    std::vector<CabinetImage> set =
        cabtest::LayOutSet({{{"even.bin", cabtest::Pattern(10000, 2)}}}, {"A.cab", "B.cab"}, 8192, 4096);
    ASSERT_EQ(2u, set.size());
    ASSERT_EQ(2u, set[0].folders[0].blocks.size());
    EXPECT_EQ(4095u, set[0].folders[0].blocks[1].bytes.size()) << "one byte moves to the next cabinet";
    EXPECT_EQ(0, set[0].folders[0].blocks[1].uncompressedSize);
    EXPECT_EQ(4096, set[1].folders[0].blocks[0].uncompressedSize);
    EXPECT_EQ(1u, set[1].folders[0].blocks[0].bytes.size());
}

TEST_F(CabSetTest, EveryMemberComesOutWhicheverCabinetIsNamed) {
    WriteSet(ThreeCabinetSet());
    for (int disk = 1; disk <= 3; ++disk) {
        SCOPED_TRACE(disk);
        std::string out = Out() + std::to_string(disk);
        ASSERT_TRUE(ExtractFile(Disk(disk).c_str(), out.c_str(), "a.txt"));
        ASSERT_TRUE(ExtractFile(Disk(disk).c_str(), out.c_str(), "span.bin"));
        ASSERT_TRUE(ExtractFile(Disk(disk).c_str(), out.c_str(), "c.txt"));
        EXPECT_EQ(cabtest::Text("alpha"), ReadFileBytes(out + "\\a.txt"));
        EXPECT_EQ(cabtest::Pattern(30000, 5), ReadFileBytes(out + "\\span.bin"));
        EXPECT_EQ(cabtest::Text("gamma"), ReadFileBytes(out + "\\c.txt"));
    }
}

TEST_F(CabSetTest, ReservedAreasAreSteppedOver) {
    std::vector<CabinetImage> set = ThreeCabinetSet();
    for (CabinetImage& image : set) {
        image.reserve = true;
        image.headerReserve = 300;
        image.folderReserve = 7;
        image.dataReserve = 3;
    }
    WriteSet(set);
    ASSERT_TRUE(ExtractFile(Disk(3).c_str(), Out().c_str(), "span.bin"));
    ASSERT_TRUE(ExtractFile(Disk(2).c_str(), Out().c_str(), "c.txt"));
    EXPECT_EQ(cabtest::Pattern(30000, 5), ReadFileBytes(Out() + "\\span.bin"));
    EXPECT_EQ(cabtest::Text("gamma"), ReadFileBytes(Out() + "\\c.txt"));
}

TEST_F(CabSetTest, FindFirstCabinetWalksBackToTheFirst) {
    WriteSet(ThreeCabinetSet());
    PayloadCabExtractor extractor;
    String first;
    ASSERT_TRUE(extractor.FindFirstCabinet(Disk(3).c_str(), &first));
    EXPECT_STREQ(Disk(1).c_str(), first.c_str());
}

TEST_F(CabSetTest, AMissingNextCabinetLeavesNoPartOfAMember) {
    WriteSet(ThreeCabinetSet());
    ASSERT_TRUE(DeleteFileA(Disk(3).c_str()));
    EXPECT_TRUE(ExtractFile(Disk(1).c_str(), Out().c_str(), "span.bin"));
    EXPECT_TRUE(ExtractFile(Disk(1).c_str(), Out().c_str(), "c.txt"));
    EXPECT_EQ(kNone, ListFolder(Out()));
    EXPECT_TRUE(ExtractFile(Disk(2).c_str(), Out().c_str(), "a.txt"));
    EXPECT_EQ(std::vector<std::string>{"a.txt"}, ListFolder(Out()));
}

TEST_F(CabSetTest, AMissingPreviousCabinetFailsBeforeTheDestinationIsCreated) {
    WriteSet(ThreeCabinetSet());
    ASSERT_TRUE(DeleteFileA(Disk(1).c_str()));
    EXPECT_FALSE(ExtractFile(Disk(3).c_str(), Out().c_str(), "c.txt"));
    EXPECT_FALSE(wiztest::PathExists(Out()));
}

TEST_F(CabSetTest, PreviousNamesThatLoopEndTheWalk) {
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(1), cabtest::Serialize(Linked("Disk2.cab", "", "one.txt"))));
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(2), cabtest::Serialize(Linked("Disk1.cab", "", "two.txt"))));
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(3), cabtest::Serialize(Linked("Disk3.cab", "", "three.txt"))));
    EXPECT_FALSE(ExtractFile(Disk(1).c_str(), Out().c_str(), "one.txt"));
    EXPECT_FALSE(ExtractFile(Disk(3).c_str(), Out().c_str(), "three.txt")) << "a cabinet that is its own previous";
    EXPECT_FALSE(wiztest::PathExists(Out()));
}

TEST_F(CabSetTest, NextNamesThatLoopEndTheCopy) {
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(1), cabtest::Serialize(Linked("", "Disk2.cab", "one.txt"))));
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(2), cabtest::Serialize(Linked("Disk1.cab", "DISK1.CAB", "two.txt"))));
    EXPECT_TRUE(ExtractFile(Disk(2).c_str(), Out().c_str(), "two.txt"));
    EXPECT_EQ(std::vector<std::string>{"two.txt"}, ListFolder(Out()));

    PayloadCabExtractor extractor;
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(Disk(1).c_str(), Out().c_str()));
    EXPECT_FALSE(extractor.CopyMember("absent.txt")) << "a set whose names loop is broken";
}

TEST_F(CabSetTest, ANextNameWithFolderPartsIsNotFollowed) {
    CreateDirectoryA((scratch / "sub").c_str(), nullptr);
    ASSERT_TRUE(cabtest::WriteCabinet(Disk(1), cabtest::Serialize(Linked("", "sub\\Disk2.cab", "one.txt"))));
    ASSERT_TRUE(cabtest::WriteCabinet(scratch / "sub\\Disk2.cab",
                                      cabtest::Serialize(Linked("..\\Disk1.cab", "", "two.txt"))));
    EXPECT_TRUE(ExtractFile(Disk(1).c_str(), Out().c_str(), "two.txt"));
    EXPECT_EQ(kNone, ListFolder(Out()));
    EXPECT_FALSE(ExtractFile((scratch / "sub\\Disk2.cab").c_str(), Out().c_str(), "two.txt"));
}

// Lets go of descriptor 0 once the library has opened the first cabinet on
// another one, so that its own open of the next cabinet is handed 0.
class ZeroFreeingExtractor : public PayloadCabExtractor {
public:
    explicit ZeroFreeingExtractor(int held) : held_(held) {}

protected:
    bool OnCopyFile(const char* target, long size, const SYSTEMTIME& time, unsigned short attributes,
                    bool* skip) override {
        if (held_ >= 0)
            _close(held_);
        held_ = -1;
        return PayloadCabExtractor::OnCopyFile(target, size, time, attributes, skip);
    }

private:
    int held_;
};

// A process without standard input is handed descriptor 0 by the runtime; the
// cabinet library takes 0 from its own open of a next cabinet for "not
// opened" and never closes it. Run in a child process of this program whose
// standard input is closed (the test after this one).
TEST(CabSetWithoutStandardInput, DISABLED_InAProcessOfItsOwn) {
    const char* folder = getenv("WIZ_NO_STDIN_FOLDER");
    ASSERT_NE(nullptr, folder);
    // Whatever the runtime made of the missing handle, the descriptor goes.
    _close(0);
    std::string first = std::string(folder) + "\\" + kNames[0], out = std::string(folder) + "\\out";
    ASSERT_TRUE(cabtest::WriteSet(folder, kNames, ThreeCabinetSet()));
    int held = _open(first.c_str(), _O_RDONLY | _O_BINARY);
    if (held != 0)
        _close(held);
    ASSERT_EQ(0, held) << "descriptor 0 is taken: this process proves nothing";

    ZeroFreeingExtractor extractor(held);
    ASSERT_EQ(PrepareSuccess, extractor.Prepare(first.c_str(), out.c_str()));
    EXPECT_TRUE(extractor.CopyMember("span.bin"));
    extractor.Release();
    EXPECT_EQ(cabtest::Pattern(30000, 5), ReadFileBytes(out + "\\span.bin"));
    int probe = _open(first.c_str(), _O_RDONLY | _O_BINARY);
    _close(probe);
    EXPECT_EQ(0, probe) << "a descriptor the extraction took was never closed";
    if (!HasFailure())
        wiztest::WriteTextFile(std::string(folder) + "\\passed", "yes");
}

TEST(CabSetWithoutStandardInput, EveryMemberComesOutAndEveryDescriptorIsClosed) {
    ScratchDir scratch;
    std::string command = "\"" + wiztest::ModulePath() +
                          "\" --gtest_also_run_disabled_tests"
                          " --gtest_filter=CabSetWithoutStandardInput.DISABLED_InAProcessOfItsOwn";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(SetEnvironmentVariableA("WIZ_NO_STDIN_FOLDER", scratch.Path().c_str()));
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    SetEnvironmentVariableA("WIZ_NO_STDIN_FOLDER", nullptr);
    ASSERT_TRUE(started);
    UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, wiztest::ScaledMs(120000)));
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(wiztest::PathExists(scratch / "passed")) << "the extraction did not run to its end";
}
