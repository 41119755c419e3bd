#pragma once
// The parts of the Microsoft Cabinet format that the extractor reads itself
// (everything else is the cabinet library's business): the fixed header, the
// optional reserve fields, the names of the neighbouring cabinets of a set and
// the file entries. All numbers are little endian on disk.
#include <stddef.h>

const size_t kCabHeaderSize = 36;     // CFHEADER without its optional parts
const size_t kCabReserveFieldsSize = 4;
const size_t kCabFileEntrySize = 16;  // CFFILE without its name
const size_t kCabNameSize = 256;      // a stored name with its terminator, at most

// CFHEADER flags.
const unsigned short kCabHasPrevious = 0x0001;
const unsigned short kCabHasNext = 0x0002;
const unsigned short kCabReservePresent = 0x0004;

// CFFILE folder indices of members that span cabinets.
const unsigned short kCabContinuedFromPrevious = 0xFFFD;
const unsigned short kCabContinuedToNext = 0xFFFE;
const unsigned short kCabContinuedBoth = 0xFFFF;

struct CabHeader {
    unsigned long cabinetSize;
    unsigned long firstFileOffset;
    unsigned char versionMinor;
    unsigned char versionMajor;
    unsigned short folderCount;
    unsigned short fileCount;
    unsigned short flags;
    unsigned short setId;
    unsigned short cabinetIndex;
};

// The four bytes after the fixed header when kCabReservePresent is set.
struct CabReserveFields {
    unsigned short headerReserve;
    unsigned char folderReserve;
    unsigned char dataReserve;
};

// The strings after the header's reserved area; each is empty when its flag is clear.
struct CabSetNames {
    char previousCabinet[kCabNameSize];
    char previousDisk[kCabNameSize];
    char nextCabinet[kCabNameSize];
    char nextDisk[kCabNameSize];
};

struct CabFileEntry {
    unsigned long size;
    unsigned long folderOffset;
    unsigned short folderIndex;
    unsigned short date;
    unsigned short time;
    unsigned short attributes;
};

// False unless at least kCabHeaderSize bytes are given and they begin with "MSCF".
bool ParseCabHeader(const void* bytes, size_t size, CabHeader* header);
bool ParseCabReserveFields(const void* bytes, size_t size, CabReserveFields* fields);
// bytes: what follows the header's reserved area. False when a string that the
// flags announce is missing, unterminated or longer than the format allows.
bool ParseCabSetNames(const void* bytes, size_t size, unsigned short flags, CabSetNames* names);
bool ParseCabFileEntry(const void* bytes, size_t size, CabFileEntry* entry);
// True when a cabinet's directory (its first bytes, through the end of the file
// table) can be handed to the cabinet library: the file table follows the
// folder table as the format lays it out, every name is terminated, and every
// member refers to a folder the cabinet has. Some versions of the library
// crash on a member without a folder.
bool CheckCabDirectory(const void* bytes, size_t size);
// How many bytes after the fixed header precede the set names.
inline size_t CabReservedAreaSize(const CabReserveFields& fields) {
    return kCabReserveFieldsSize + fields.headerReserve;
}
