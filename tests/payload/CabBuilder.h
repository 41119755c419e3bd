#pragma once
// Builds Microsoft Cabinet files for the tests: uncompressed folders, one or
// more cabinets per set with members that span cabinets, optional reserved
// areas, and images that a test may bend into something hostile. Also reads a
// cabinet's directory back, independently of the program's own parser.
#include <stddef.h>

#include <string>
#include <vector>

namespace cabtest {

typedef std::vector<unsigned char> Bytes;

// 2009-06-15 10:20:32 in MS-DOS form.
const unsigned short kDosDate = 0x3ACF;
const unsigned short kDosTime = 0x5290;

struct Member {
    std::string name;
    Bytes data;
    unsigned short date = kDosDate;
    unsigned short time = kDosTime;
    unsigned short attributes = 0x20;
};

struct DataBlock {
    Bytes bytes;
    unsigned short uncompressedSize = 0;  // 0: the block goes on in the next cabinet
};

struct FolderImage {
    unsigned short compression = 0;  // stored
    std::vector<DataBlock> blocks;
};

struct FileImage {
    std::string name;
    unsigned long size = 0;
    unsigned long folderOffset = 0;
    unsigned short folderIndex = 0;
    unsigned short date = kDosDate;
    unsigned short time = kDosTime;
    unsigned short attributes = 0x20;
};

struct CabinetImage {
    unsigned short setId = 0;
    unsigned short index = 0;
    bool hasPrevious = false;
    bool hasNext = false;
    std::string previousCabinet, previousDisk, nextCabinet, nextDisk;
    bool reserve = false;
    unsigned short headerReserve = 0;
    unsigned char folderReserve = 0;
    unsigned char dataReserve = 0;
    std::vector<FolderImage> folders;
    std::vector<FileImage> files;
};

// Field offsets in the fixed header, for tests that patch a serialized cabinet.
const size_t kCabinetSizeOffset = 8;
const size_t kFirstFileOffset = 16;
const size_t kFolderCountOffset = 26;
const size_t kFileCountOffset = 28;
const size_t kFlagsOffset = 30;

Bytes Serialize(const CabinetImage& image);

// One cabinet, one folder holding the members in order.
CabinetImage LayOutCabinet(const std::vector<Member>& members, size_t blockSize = 4096);

// A set of cabinets named `names`: the folders' data is cut after `capacity`
// data bytes per cabinet (splitting a block across cabinets where needed), and
// every member is listed in each cabinet that holds part of it, with the folder
// indices 0xFFFE, 0xFFFF and 0xFFFD for the parts that continue. The returned
// images have their previous/next names and indices set.
std::vector<CabinetImage> LayOutSet(const std::vector<std::vector<Member>>& folders,
                                    const std::vector<std::string>& names, size_t capacity,
                                    size_t blockSize = 4096);

// Deterministic bytes of mixed compressibility.
Bytes Pattern(size_t size, unsigned seed);
Bytes Text(const std::string& text);

void Put16(Bytes* bytes, size_t offset, unsigned value);
void Put32(Bytes* bytes, size_t offset, unsigned long value);

// A cabinet's directory as read back from its bytes.
struct Directory {
    std::string signature;
    unsigned long cabinetSize = 0;
    unsigned long firstFileOffset = 0;
    unsigned versionMajor = 0, versionMinor = 0;
    unsigned flags = 0, setId = 0, index = 0;
    struct Folder {
        unsigned long dataOffset;
        unsigned blockCount;
        unsigned compression;
    };
    std::vector<Folder> folders;
    std::vector<FileImage> files;
};
// False when the bytes do not hold a complete header, folder and file table.
bool ReadDirectory(const Bytes& cabinet, Directory* directory);

}  // namespace cabtest
