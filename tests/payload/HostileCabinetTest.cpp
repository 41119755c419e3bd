#include <gtest/gtest.h>

#include <map>
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

// Damaged or malicious cabinets: whatever they hold, the extractor must not
// crash, must write nothing outside the destination and must leave no member
// that is only partly written.
class HostileCabinetTest : public ::testing::Test {
protected:
    HostileCabinetTest() : evil(wiztest::UniqueName("evil") + ".txt") {}

    std::string CabinetPath() const { return scratch / "test.cab"; }
    std::string Box() const { return scratch / "box"; }
    std::string Destination() const { return scratch / "box\\dest"; }

    // Extracts every member of the given bytes, checks what landed where and
    // answers how many members landed (each of them whole).
    size_t ExtractAll(const Bytes& cabinet) {
        EXPECT_TRUE(cabtest::WriteCabinet(CabinetPath(), cabinet));
        ExtractFile(CabinetPath().c_str(), Destination().c_str(), nullptr);
        ExpectNothingOutside();
        size_t landed = ExpectOnlyWholeMembers();
        wiztest::DeleteTree(Box());
        return landed;
    }

    void ExpectNothingOutside() const {
        for (const std::string& name : ListFolder(scratch.Path()))
            EXPECT_TRUE(name == "box" || name == "test.cab") << name;
        for (const std::string& name : ListFolder(Box()))
            EXPECT_EQ("dest", name);
        EXPECT_FALSE(wiztest::PathExists("C:\\" + evil));
        EXPECT_FALSE(wiztest::PathExists("C:\\wiztest\\" + evil));
    }

    // How many members the destination holds; each must be one of the
    // originals, byte for byte.
    size_t ExpectOnlyWholeMembers() const {
        std::vector<std::string> names = ListFolder(Destination());
        for (const std::string& name : names) {
            auto original = originals.find(name);
            if (original == originals.end())
                ADD_FAILURE() << "not a member of the cabinet: " << name;
            else
                EXPECT_EQ(original->second, ReadFileBytes(Destination() + "\\" + name)) << name;
        }
        return names.size();
    }

    Bytes TwoMemberCabinet() {
        std::vector<Member> members = {{"one.bin", cabtest::Pattern(9000, 11)}, {"two.bin", cabtest::Pattern(5000, 12)}};
        for (const Member& member : members)
            originals[member.name] = member.data;
        return cabtest::Serialize(cabtest::LayOutCabinet(members, 2048));
    }

    ScratchDir scratch;
    std::string evil;
    std::map<std::string, Bytes> originals;
};

}  // namespace

TEST_F(HostileCabinetTest, TruncatedHeadersAreNoCabinets) {
    Bytes whole = TwoMemberCabinet();
    for (size_t size : {0u, 4u, 10u, 35u}) {
        ASSERT_TRUE(cabtest::WriteCabinet(CabinetPath(), Bytes(whole.begin(), whole.begin() + size)));
        EXPECT_FALSE(ExtractFile(CabinetPath().c_str(), Destination().c_str(), nullptr)) << size;
        EXPECT_FALSE(wiztest::PathExists(Box())) << size;
    }
}

TEST_F(HostileCabinetTest, EveryTruncationLeavesOnlyWholeMembers) {
    Bytes whole = TwoMemberCabinet();
    ASSERT_EQ(2u, ExtractAll(whole)) << "the whole cabinet gives both members";
    size_t truncationsWithAMember = 0;
    for (size_t size = 36; size < whole.size(); size += 97) {
        SCOPED_TRACE(size);
        truncationsWithAMember += ExtractAll(Bytes(whole.begin(), whole.begin() + size)) > 0;
    }
    // A cut after the first member's data still gives that member: the check
    // above looked at members, not only at empty folders.
    EXPECT_GT(truncationsWithAMember, 0u);
}

TEST_F(HostileCabinetTest, WrongOffsetsAreSurvived) {
    Bytes whole = TwoMemberCabinet();
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(whole, &directory));
    const size_t folderEntry = 36;
    const unsigned long offsets[] = {0, 8, 35, directory.firstFileOffset + 3, static_cast<unsigned long>(whole.size()),
                                     0x7FFFFFF0ul, 0xFFFFFFF0ul};
    for (unsigned long offset : offsets) {
        SCOPED_TRACE(offset);
        Bytes files = whole;
        cabtest::Put32(&files, cabtest::kFirstFileOffset, offset);
        ExtractAll(files);
        Bytes data = whole;
        cabtest::Put32(&data, folderEntry, offset);
        ExtractAll(data);
        Bytes size = whole;
        cabtest::Put32(&size, cabtest::kCabinetSizeOffset, offset);
        ExtractAll(size);
    }
}

TEST_F(HostileCabinetTest, CountsAndIndicesThatLieAreSurvived) {
    Bytes whole = TwoMemberCabinet();
    for (unsigned count : {0u, 1u, 3u, 1000u, 0xFFFFu}) {
        SCOPED_TRACE(count);
        Bytes files = whole;
        cabtest::Put16(&files, cabtest::kFileCountOffset, count);
        ExtractAll(files);
        Bytes folders = whole;
        cabtest::Put16(&folders, cabtest::kFolderCountOffset, count);
        ExtractAll(folders);
    }
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(whole, &directory));
    for (unsigned index : {1u, 7u, 0xFFFDu, 0xFFFEu, 0xFFFFu}) {
        SCOPED_TRACE(index);
        Bytes indices = whole;
        cabtest::Put16(&indices, directory.firstFileOffset + 8, index);
        ExtractAll(indices);
    }
}

TEST_F(HostileCabinetTest, BlocksThatLieAboutTheirSizesAreSurvived) {
    Bytes whole = TwoMemberCabinet();
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(whole, &directory));
    size_t block = directory.folders[0].dataOffset;
    for (unsigned size : {0u, 1u, 2047u, 2049u, 32768u, 40000u, 0xFFFFu}) {
        SCOPED_TRACE(size);
        Bytes compressed = whole;
        cabtest::Put16(&compressed, block + 4, size);
        ExtractAll(compressed);
        Bytes uncompressed = whole;
        cabtest::Put16(&uncompressed, block + 6, size);
        ExtractAll(uncompressed);
    }
}

TEST_F(HostileCabinetTest, NamesThatPointOutsideAreContainedOrSkipped) {
    std::vector<Member> members;
    const std::vector<std::string> outside = {"..\\" + evil, "..\\..\\" + evil, "..\\..\\..\\..\\..\\..\\" + evil, "../../" + evil,
          "sub\\..\\..\\" + evil, "\\" + evil, "\\..\\" + evil, "C:\\..\\" + evil, "C:" + evil,
          "\\\\server\\share\\..\\" + evil, "...\\" + evil, "NUL", "sub\\con.txt", evil + ":stream"};
    for (const std::string& name : outside)
        members.push_back({name, cabtest::Text("escaped")});
    members.push_back({"C:\\drive.txt", cabtest::Text("drive")});
    members.push_back({"\\\\server\\share\\unc.txt", cabtest::Text("unc")});
    members.push_back({"\\\\server\\server.txt", cabtest::Text("server")});
    originals = {{"drive.txt", cabtest::Text("drive")},
                 {"unc.txt", cabtest::Text("unc")},
                 {"server.txt", cabtest::Text("server")}};
    Bytes cabinet = cabtest::Serialize(cabtest::LayOutCabinet(members));
    ASSERT_TRUE(cabtest::WriteCabinet(CabinetPath(), cabinet));

    EXPECT_TRUE(ExtractFile(CabinetPath().c_str(), Destination().c_str(), nullptr));
    ExpectNothingOutside();
    EXPECT_EQ(3u, ExpectOnlyWholeMembers());
    EXPECT_EQ(std::vector<std::string>({"drive.txt", "server.txt", "unc.txt"}), ListFolder(Destination()));
    for (const Member& member : members) {
        EXPECT_TRUE(ExtractFile(CabinetPath().c_str(), Destination().c_str(), member.name.c_str())) << member.name;
        ExpectNothingOutside();
    }
    EXPECT_EQ(std::vector<std::string>({"drive.txt", "server.txt", "unc.txt"}), ListFolder(Destination()));
}

TEST_F(HostileCabinetTest, MembersWithoutAFolderAreSurvived) {
    cabtest::CabinetImage image = cabtest::LayOutCabinet({{"one.bin", cabtest::Pattern(100, 1)}});
    image.folders.clear();
    ExtractAll(cabtest::Serialize(image));
    for (unsigned short index : {0, 0xFFFE}) {
        image.files[0].folderIndex = index;
        ExtractAll(cabtest::Serialize(image));
    }
}
