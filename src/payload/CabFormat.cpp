#include "payload/CabFormat.h"

#include <string.h>

namespace {

unsigned short Read16(const unsigned char* at) {
    return static_cast<unsigned short>(at[0] | (at[1] << 8));
}

unsigned long Read32(const unsigned char* at) {
    return static_cast<unsigned long>(at[0]) | (static_cast<unsigned long>(at[1]) << 8) |
           (static_cast<unsigned long>(at[2]) << 16) | (static_cast<unsigned long>(at[3]) << 24);
}

// Copies one NUL-terminated string starting at *offset; advances past its terminator.
bool TakeString(const unsigned char* bytes, size_t size, size_t* offset, char* out) {
    size_t start = *offset;
    const void* end = start < size ? memchr(bytes + start, '\0', size - start) : nullptr;
    if (!end)
        return false;
    size_t length = static_cast<const unsigned char*>(end) - (bytes + start);
    if (length >= kCabNameSize)
        return false;
    memcpy(out, bytes + start, length + 1);
    *offset = start + length + 1;
    return true;
}

}  // namespace

bool ParseCabHeader(const void* bytes, size_t size, CabHeader* header) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    if (!at || size < kCabHeaderSize || memcmp(at, "MSCF", 4) != 0)
        return false;
    header->cabinetSize = Read32(at + 8);
    header->firstFileOffset = Read32(at + 16);
    header->versionMinor = at[24];
    header->versionMajor = at[25];
    header->folderCount = Read16(at + 26);
    header->fileCount = Read16(at + 28);
    header->flags = Read16(at + 30);
    header->setId = Read16(at + 32);
    header->cabinetIndex = Read16(at + 34);
    return true;
}

bool ParseCabReserveFields(const void* bytes, size_t size, CabReserveFields* fields) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    if (!at || size < kCabReserveFieldsSize)
        return false;
    fields->headerReserve = Read16(at);
    fields->folderReserve = at[2];
    fields->dataReserve = at[3];
    return true;
}

bool ParseCabSetNames(const void* bytes, size_t size, unsigned short flags, CabSetNames* names) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    names->previousCabinet[0] = names->previousDisk[0] = '\0';
    names->nextCabinet[0] = names->nextDisk[0] = '\0';
    size_t offset = 0;
    if (flags & kCabHasPrevious) {
        if (!at || !TakeString(at, size, &offset, names->previousCabinet) ||
            !TakeString(at, size, &offset, names->previousDisk))
            return false;
    }
    if (flags & kCabHasNext) {
        if (!at || !TakeString(at, size, &offset, names->nextCabinet) ||
            !TakeString(at, size, &offset, names->nextDisk))
            return false;
    }
    return true;
}

bool ParseCabFileEntry(const void* bytes, size_t size, CabFileEntry* entry) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    if (!at || size < kCabFileEntrySize)
        return false;
    entry->size = Read32(at);
    entry->folderOffset = Read32(at + 4);
    entry->folderIndex = Read16(at + 8);
    entry->date = Read16(at + 10);
    entry->time = Read16(at + 12);
    entry->attributes = Read16(at + 14);
    return true;
}

bool CheckCabDirectory(const void* bytes, size_t size) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    CabHeader header;
    if (!ParseCabHeader(bytes, size, &header))
        return false;
    size_t offset = kCabHeaderSize;
    size_t folderEntrySize = 8;
    if (header.flags & kCabReservePresent) {
        CabReserveFields fields;
        if (!ParseCabReserveFields(at + offset, size - offset, &fields))
            return false;
        folderEntrySize += fields.folderReserve;
        offset += CabReservedAreaSize(fields);
    }
    CabSetNames names;
    if (offset > size || !ParseCabSetNames(at + offset, size - offset, header.flags, &names))
        return false;
    if (header.flags & kCabHasPrevious)
        offset += strlen(names.previousCabinet) + strlen(names.previousDisk) + 2;
    if (header.flags & kCabHasNext)
        offset += strlen(names.nextCabinet) + strlen(names.nextDisk) + 2;
    offset += header.folderCount * folderEntrySize;
    if (offset > size || header.firstFileOffset != offset)
        return false;
    for (unsigned i = 0; i < header.fileCount; ++i) {
        CabFileEntry entry;
        if (!ParseCabFileEntry(at + offset, size - offset, &entry))
            return false;
        offset += kCabFileEntrySize;
        size_t room = size - offset < kCabNameSize ? size - offset : kCabNameSize;
        const void* end = memchr(at + offset, '\0', room);
        if (!end)
            return false;
        offset = static_cast<const unsigned char*>(end) - at + 1;
        bool spans = entry.folderIndex >= kCabContinuedFromPrevious;
        if (spans ? header.folderCount == 0 : entry.folderIndex >= header.folderCount)
            return false;
    }
    return true;
}
