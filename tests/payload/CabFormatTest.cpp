#include <gtest/gtest.h>

#include <string.h>

#include "payload/CabBuilder.h"
#include "payload/CabFormat.h"

using cabtest::Bytes;

namespace {

Bytes SetCabinet(bool previous, bool next, bool reserve) {
    cabtest::CabinetImage image = cabtest::LayOutCabinet({{"a.txt", cabtest::Text("alpha")}});
    image.setId = 0x1234;
    image.index = 2;
    image.hasPrevious = previous;
    image.previousCabinet = "Disk1.cab";
    image.previousDisk = "First disk";
    image.hasNext = next;
    image.nextCabinet = "Disk3.cab";
    image.nextDisk = "Third disk";
    image.reserve = reserve;
    image.headerReserve = 20;
    image.folderReserve = 3;
    image.dataReserve = 5;
    return cabtest::Serialize(image);
}

// The set names of a serialized cabinet, parsed the way the extractor does.
bool NamesOf(const Bytes& cabinet, CabSetNames* names) {
    CabHeader header;
    if (!ParseCabHeader(cabinet.data(), cabinet.size(), &header))
        return false;
    size_t at = kCabHeaderSize;
    if (header.flags & kCabReservePresent) {
        CabReserveFields fields;
        if (!ParseCabReserveFields(cabinet.data() + at, cabinet.size() - at, &fields))
            return false;
        at += CabReservedAreaSize(fields);
    }
    return ParseCabSetNames(cabinet.data() + at, cabinet.size() - at, header.flags, names);
}

}  // namespace

TEST(ParseCabHeader, ReadsTheFixedFields) {
    Bytes cabinet = SetCabinet(true, true, true);
    CabHeader header;
    ASSERT_TRUE(ParseCabHeader(cabinet.data(), cabinet.size(), &header));
    EXPECT_EQ(cabinet.size(), header.cabinetSize);
    EXPECT_EQ(1, header.versionMajor);
    EXPECT_EQ(3, header.versionMinor);
    EXPECT_EQ(1, header.folderCount);
    EXPECT_EQ(1, header.fileCount);
    EXPECT_EQ(kCabHasPrevious | kCabHasNext | kCabReservePresent, header.flags);
    EXPECT_EQ(0x1234, header.setId);
    EXPECT_EQ(2, header.cabinetIndex);
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(cabinet, &directory));
    EXPECT_EQ(directory.firstFileOffset, header.firstFileOffset);
}

TEST(ParseCabHeader, RefusesShortInputAndOtherSignatures) {
    Bytes cabinet = SetCabinet(false, false, false);
    CabHeader header;
    EXPECT_FALSE(ParseCabHeader(cabinet.data(), 35, &header));
    EXPECT_FALSE(ParseCabHeader(nullptr, 36, &header));
    cabinet[3] = 'G';
    EXPECT_FALSE(ParseCabHeader(cabinet.data(), cabinet.size(), &header));
}

TEST(ParseCabReserveFields, ReadsTheThreeSizes) {
    Bytes cabinet = SetCabinet(false, false, true);
    CabReserveFields fields;
    ASSERT_TRUE(ParseCabReserveFields(cabinet.data() + kCabHeaderSize, 4, &fields));
    EXPECT_EQ(20, fields.headerReserve);
    EXPECT_EQ(3, fields.folderReserve);
    EXPECT_EQ(5, fields.dataReserve);
    EXPECT_EQ(24u, CabReservedAreaSize(fields));
    EXPECT_FALSE(ParseCabReserveFields(cabinet.data() + kCabHeaderSize, 3, &fields));
}

TEST(ParseCabSetNames, ReadsTheNamesTheFlagsAnnounce) {
    CabSetNames names;
    ASSERT_TRUE(NamesOf(SetCabinet(true, true, true), &names));
    EXPECT_STREQ("Disk1.cab", names.previousCabinet);
    EXPECT_STREQ("First disk", names.previousDisk);
    EXPECT_STREQ("Disk3.cab", names.nextCabinet);
    EXPECT_STREQ("Third disk", names.nextDisk);

    ASSERT_TRUE(NamesOf(SetCabinet(false, true, false), &names));
    EXPECT_STREQ("", names.previousCabinet);
    EXPECT_STREQ("Disk3.cab", names.nextCabinet);

    ASSERT_TRUE(NamesOf(SetCabinet(true, false, false), &names));
    EXPECT_STREQ("Disk1.cab", names.previousCabinet);
    EXPECT_STREQ("", names.nextCabinet);
}

TEST(ParseCabSetNames, RefusesUnterminatedAndOverlongNames) {
    CabSetNames names;
    const char unterminated[] = {'D', 'i', 's', 'k', '1', 0, 'x'};
    EXPECT_FALSE(ParseCabSetNames(unterminated, sizeof(unterminated), kCabHasPrevious, &names));
    EXPECT_FALSE(ParseCabSetNames(unterminated, sizeof(unterminated) - 1, kCabHasPrevious, &names))
        << "the disk name is missing";

    std::string longest(255, 'n');
    Bytes strings(longest.begin(), longest.end());
    strings.push_back(0);
    strings.push_back(0);
    ASSERT_TRUE(ParseCabSetNames(strings.data(), strings.size(), kCabHasNext, &names));
    EXPECT_EQ(255u, strlen(names.nextCabinet));
    strings.insert(strings.begin(), 'n');
    EXPECT_FALSE(ParseCabSetNames(strings.data(), strings.size(), kCabHasNext, &names));
    EXPECT_FALSE(ParseCabSetNames(nullptr, 0, kCabHasNext, &names));
}

TEST(ParseCabFileEntry, ReadsSizeOffsetIndexAndTime) {
    cabtest::CabinetImage image = cabtest::LayOutCabinet({{"a.txt", cabtest::Text("alpha")},
                                                          {"b.txt", cabtest::Text("beta"), 0x1234, 0x4321, 0x21}});
    Bytes cabinet = cabtest::Serialize(image);
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(cabinet, &directory));
    size_t second = directory.firstFileOffset + kCabFileEntrySize + strlen("a.txt") + 1;
    CabFileEntry entry;
    ASSERT_TRUE(ParseCabFileEntry(cabinet.data() + second, kCabFileEntrySize, &entry));
    EXPECT_EQ(4u, entry.size);
    EXPECT_EQ(5u, entry.folderOffset);
    EXPECT_EQ(0, entry.folderIndex);
    EXPECT_EQ(0x1234, entry.date);
    EXPECT_EQ(0x4321, entry.time);
    EXPECT_EQ(0x21, entry.attributes);
    EXPECT_FALSE(ParseCabFileEntry(cabinet.data() + second, kCabFileEntrySize - 1, &entry));
}

TEST(CheckCabDirectory, AcceptsWhatTheFormatLaysOut) {
    for (bool reserve : {false, true}) {
        Bytes cabinet = SetCabinet(true, true, reserve);
        EXPECT_TRUE(CheckCabDirectory(cabinet.data(), cabinet.size())) << reserve;
        cabtest::Directory directory;
        ASSERT_TRUE(cabtest::ReadDirectory(cabinet, &directory));
        size_t end = directory.firstFileOffset + kCabFileEntrySize + strlen("a.txt") + 1;
        EXPECT_TRUE(CheckCabDirectory(cabinet.data(), end)) << "the directory alone suffices";
        EXPECT_FALSE(CheckCabDirectory(cabinet.data(), end - 1)) << "a name cut off";
    }
}

TEST(CheckCabDirectory, RefusesMembersWithoutTheirFolder) {
    cabtest::CabinetImage image = cabtest::LayOutCabinet({{"a.txt", cabtest::Text("alpha")}});
    image.files[0].folderIndex = 1;
    Bytes beyond = cabtest::Serialize(image);
    EXPECT_FALSE(CheckCabDirectory(beyond.data(), beyond.size()));
    image.folders.clear();
    for (unsigned short index : {0, 0xFFFD, 0xFFFE, 0xFFFF}) {
        image.files[0].folderIndex = index;
        Bytes folderless = cabtest::Serialize(image);
        EXPECT_FALSE(CheckCabDirectory(folderless.data(), folderless.size())) << index;
    }
}

TEST(CheckCabDirectory, RefusesAFileTableElsewhereAndCountsThatLie) {
    Bytes cabinet = SetCabinet(false, false, false);
    cabtest::Directory directory;
    ASSERT_TRUE(cabtest::ReadDirectory(cabinet, &directory));
    Bytes moved = cabinet;
    cabtest::Put32(&moved, cabtest::kFirstFileOffset, directory.firstFileOffset + 1);
    EXPECT_FALSE(CheckCabDirectory(moved.data(), moved.size()));
    Bytes files = cabinet;
    cabtest::Put16(&files, cabtest::kFileCountOffset, 400);
    EXPECT_FALSE(CheckCabDirectory(files.data(), files.size()));
    Bytes folders = cabinet;
    cabtest::Put16(&folders, cabtest::kFolderCountOffset, 400);
    EXPECT_FALSE(CheckCabDirectory(folders.data(), folders.size()));
    EXPECT_FALSE(CheckCabDirectory(cabinet.data(), 35));
}
