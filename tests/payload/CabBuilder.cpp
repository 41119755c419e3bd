#include "payload/CabBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace cabtest {

namespace {

void Append16(Bytes* out, unsigned value) {
    out->push_back(static_cast<unsigned char>(value));
    out->push_back(static_cast<unsigned char>(value >> 8));
}

void Append32(Bytes* out, unsigned long value) {
    Append16(out, static_cast<unsigned>(value & 0xFFFF));
    Append16(out, static_cast<unsigned>(value >> 16));
}

void AppendString(Bytes* out, const std::string& text) {
    out->insert(out->end(), text.begin(), text.end());
    out->push_back(0);
}

unsigned Get16(const Bytes& bytes, size_t offset) { return bytes[offset] | (bytes[offset + 1] << 8); }

unsigned long Get32(const Bytes& bytes, size_t offset) {
    return Get16(bytes, offset) | (static_cast<unsigned long>(Get16(bytes, offset + 2)) << 16);
}

// A folder's members as one stream, with each member's offset in it.
struct FolderStream {
    Bytes data;
    std::vector<unsigned long> offsets;
};

FolderStream Concatenate(const std::vector<Member>& members) {
    FolderStream stream;
    for (const Member& member : members) {
        stream.offsets.push_back(static_cast<unsigned long>(stream.data.size()));
        stream.data.insert(stream.data.end(), member.data.begin(), member.data.end());
    }
    return stream;
}

std::vector<Bytes> CutBlocks(const Bytes& data, size_t blockSize) {
    std::vector<Bytes> blocks;
    for (size_t at = 0; at < data.size(); at += blockSize) {
        size_t end = std::min(data.size(), at + blockSize);
        blocks.emplace_back(data.begin() + at, data.begin() + end);
    }
    return blocks;
}

FileImage EntryFor(const Member& member, unsigned long offset, unsigned short folderIndex) {
    FileImage file;
    file.name = member.name;
    file.size = static_cast<unsigned long>(member.data.size());
    file.folderOffset = offset;
    file.folderIndex = folderIndex;
    file.date = member.date;
    file.time = member.time;
    file.attributes = member.attributes;
    return file;
}

// Which stream bytes of one folder a cabinet holds, and the folder's index there.
struct Portion {
    size_t cabinet;
    unsigned short localIndex;
    size_t begin, end;
};

// The portions that hold any byte of [begin, end); an empty member belongs to
// the first portion at whose edge or inside it stands.
std::vector<const Portion*> PortionsHolding(const std::vector<Portion>& portions, size_t begin, size_t end) {
    std::vector<const Portion*> touched;
    for (const Portion& portion : portions) {
        if (begin == end ? portion.begin <= begin && begin <= portion.end : portion.begin < end && portion.end > begin)
            touched.push_back(&portion);
        if (begin == end && !touched.empty())
            break;
    }
    return touched;
}

// The folder index a member's entry takes in the t-th of count cabinets that
// hold part of it: its own folder, or continued to next, from previous, or both.
unsigned short FolderIndexFor(size_t t, size_t count, unsigned short localIndex) {
    if (count == 1)
        return localIndex;
    return t == 0 ? 0xFFFE : t + 1 == count ? 0xFFFD : 0xFFFF;
}

// Fills the cabinets of a set in order with folder data, `capacity` bytes of
// data each, and lists every member in each cabinet that holds part of it.
class SetFiller {
public:
    SetFiller(size_t cabinetCount, size_t capacity)
        : cabinets_(cabinetCount), capacity_(capacity), remaining_(capacity) {}

    void AddFolder(const std::vector<Member>& members, size_t blockSize) {
        FolderStream stream = Concatenate(members);
        std::vector<Bytes> blocks = CutBlocks(stream.data, blockSize);
        if (remaining_ == 0)
            NextCabinet();
        portions_.clear();
        position_ = 0;
        OpenPortion();
        for (size_t b = 0; b < blocks.size(); ++b)
            PlaceBlock(blocks[b], b + 1 == blocks.size());
        ListMembers(members, stream);
    }

    std::vector<CabinetImage> Cabinets() const { return cabinets_; }

private:
    void NextCabinet() {
        if (++cabinet_ >= cabinets_.size())
            throw std::runtime_error("the members do not fit the cabinets");
        remaining_ = capacity_;
    }

    void OpenPortion() {
        cabinets_[cabinet_].folders.emplace_back();
        unsigned short index = static_cast<unsigned short>(cabinets_[cabinet_].folders.size() - 1);
        portions_.push_back({cabinet_, index, position_, position_});
    }

    // Puts a block into the current cabinet, the rest into the next ones.
    void PlaceBlock(const Bytes& block, bool lastBlock) {
        size_t taken = 0;
        while (taken < block.size()) {
            if (remaining_ == 0) {
                NextCabinet();
                OpenPortion();
            }
            size_t left = block.size() - taken;
            size_t take = std::min(left, remaining_);
            // A folder that goes on in the next cabinet must end this one
            // inside a block: the reader moves on only at a split block.
            bool forceSplit = take == left && take == remaining_ && !lastBlock && take > 1;
            if (forceSplit)
                --take;
            DataBlock piece;
            piece.bytes.assign(block.begin() + taken, block.begin() + taken + take);
            piece.uncompressedSize = taken + take == block.size() ? static_cast<unsigned short>(block.size()) : 0;
            cabinets_[cabinet_].folders.back().blocks.push_back(piece);
            taken += take;
            position_ += take;
            remaining_ = forceSplit ? 0 : remaining_ - take;
            portions_.back().end = position_;
        }
    }

    void ListMembers(const std::vector<Member>& members, const FolderStream& stream) {
        for (size_t m = 0; m < members.size(); ++m) {
            size_t begin = stream.offsets[m], end = begin + members[m].data.size();
            std::vector<const Portion*> touched = PortionsHolding(portions_, begin, end);
            for (size_t t = 0; t < touched.size(); ++t) {
                unsigned short index = FolderIndexFor(t, touched.size(), touched[t]->localIndex);
                cabinets_[touched[t]->cabinet].files.push_back(
                    EntryFor(members[m], static_cast<unsigned long>(begin), index));
            }
        }
    }

    std::vector<CabinetImage> cabinets_;
    size_t capacity_, remaining_;
    size_t cabinet_ = 0, position_ = 0;
    std::vector<Portion> portions_;
};

// Indices and the previous/next names and disks of a set's cabinets.
void LinkCabinets(std::vector<CabinetImage>* cabinets, const std::vector<std::string>& names) {
    for (size_t c = 0; c < cabinets->size(); ++c) {
        CabinetImage& cabinet = (*cabinets)[c];
        cabinet.index = static_cast<unsigned short>(c);
        if (c > 0) {
            cabinet.hasPrevious = true;
            cabinet.previousCabinet = names[c - 1];
            cabinet.previousDisk = "Disk " + std::to_string(c);
        }
        if (c + 1 < cabinets->size()) {
            cabinet.hasNext = true;
            cabinet.nextCabinet = names[c + 1];
            cabinet.nextDisk = "Disk " + std::to_string(c + 2);
        }
    }
}

}  // namespace

Bytes Serialize(const CabinetImage& image) {
    Bytes out(36, 0);
    unsigned flags = (image.hasPrevious ? 1 : 0) | (image.hasNext ? 2 : 0) | (image.reserve ? 4 : 0);
    if (image.reserve) {
        Append16(&out, image.headerReserve);
        out.push_back(image.folderReserve);
        out.push_back(image.dataReserve);
        out.insert(out.end(), image.headerReserve, 0xA5);
    }
    if (image.hasPrevious) {
        AppendString(&out, image.previousCabinet);
        AppendString(&out, image.previousDisk);
    }
    if (image.hasNext) {
        AppendString(&out, image.nextCabinet);
        AppendString(&out, image.nextDisk);
    }
    size_t folderEntrySize = 8 + (image.reserve ? image.folderReserve : 0);
    size_t folderTable = out.size();
    out.resize(out.size() + image.folders.size() * folderEntrySize, 0);
    size_t fileTable = out.size();
    for (const FileImage& file : image.files) {
        Append32(&out, file.size);
        Append32(&out, file.folderOffset);
        Append16(&out, file.folderIndex);
        Append16(&out, file.date);
        Append16(&out, file.time);
        Append16(&out, file.attributes);
        AppendString(&out, file.name);
    }
    for (size_t i = 0; i < image.folders.size(); ++i) {
        const FolderImage& folder = image.folders[i];
        size_t entry = folderTable + i * folderEntrySize;
        Put32(&out, entry, static_cast<unsigned long>(out.size()));
        Put16(&out, entry + 4, static_cast<unsigned>(folder.blocks.size()));
        Put16(&out, entry + 6, folder.compression);
        for (const DataBlock& block : folder.blocks) {
            Append32(&out, 0);  // no checksum
            Append16(&out, static_cast<unsigned>(block.bytes.size()));
            Append16(&out, block.uncompressedSize);
            out.insert(out.end(), image.reserve ? image.dataReserve : 0, 0x5A);
            out.insert(out.end(), block.bytes.begin(), block.bytes.end());
        }
    }
    out[0] = 'M';
    out[1] = 'S';
    out[2] = 'C';
    out[3] = 'F';
    Put32(&out, kCabinetSizeOffset, static_cast<unsigned long>(out.size()));
    Put32(&out, kFirstFileOffset, static_cast<unsigned long>(fileTable));
    out[24] = 3;
    out[25] = 1;
    Put16(&out, kFolderCountOffset, static_cast<unsigned>(image.folders.size()));
    Put16(&out, kFileCountOffset, static_cast<unsigned>(image.files.size()));
    Put16(&out, kFlagsOffset, flags);
    Put16(&out, 32, image.setId);
    Put16(&out, 34, image.index);
    return out;
}

CabinetImage LayOutCabinet(const std::vector<Member>& members, size_t blockSize) {
    std::vector<CabinetImage> set = LayOutSet({members}, {"single.cab"}, static_cast<size_t>(-1), blockSize);
    return set.front();
}

std::vector<CabinetImage> LayOutSet(const std::vector<std::vector<Member>>& folders,
                                    const std::vector<std::string>& names, size_t capacity, size_t blockSize) {
    SetFiller filler(names.size(), capacity);
    for (const std::vector<Member>& members : folders)
        filler.AddFolder(members, blockSize);
    std::vector<CabinetImage> cabinets = filler.Cabinets();
    LinkCabinets(&cabinets, names);
    return cabinets;
}

Bytes Pattern(size_t size, unsigned seed) {
    Bytes bytes(size);
    unsigned state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = (i / 512) % 2 ? static_cast<unsigned char>('a' + i % 26) : static_cast<unsigned char>(state >> 16);
    }
    return bytes;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

void Put16(Bytes* bytes, size_t offset, unsigned value) {
    (*bytes)[offset] = static_cast<unsigned char>(value);
    (*bytes)[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(Bytes* bytes, size_t offset, unsigned long value) {
    Put16(bytes, offset, static_cast<unsigned>(value & 0xFFFF));
    Put16(bytes, offset + 2, static_cast<unsigned>(value >> 16));
}

bool ReadDirectory(const Bytes& cabinet, Directory* directory) {
    if (cabinet.size() < 36)
        return false;
    directory->signature.assign(cabinet.begin(), cabinet.begin() + 4);
    directory->cabinetSize = Get32(cabinet, kCabinetSizeOffset);
    directory->firstFileOffset = Get32(cabinet, kFirstFileOffset);
    directory->versionMinor = cabinet[24];
    directory->versionMajor = cabinet[25];
    unsigned folderCount = Get16(cabinet, kFolderCountOffset);
    unsigned fileCount = Get16(cabinet, kFileCountOffset);
    directory->flags = Get16(cabinet, kFlagsOffset);
    directory->setId = Get16(cabinet, 32);
    directory->index = Get16(cabinet, 34);
    size_t at = 36, folderReserve = 0;
    if (directory->flags & 4) {
        if (cabinet.size() < at + 4)
            return false;
        folderReserve = cabinet[at + 2];
        at += 4 + Get16(cabinet, at);
    }
    auto skipString = [&]() {
        while (at < cabinet.size() && cabinet[at])
            ++at;
        return at++ < cabinet.size();
    };
    for (unsigned flag = 1; flag <= 2; ++flag) {
        if ((directory->flags & flag) && !(skipString() && skipString()))
            return false;
    }
    directory->folders.clear();
    for (unsigned i = 0; i < folderCount; ++i, at += 8 + folderReserve) {
        if (cabinet.size() < at + 8)
            return false;
        directory->folders.push_back({Get32(cabinet, at), Get16(cabinet, at + 4), Get16(cabinet, at + 6)});
    }
    directory->files.clear();
    at = directory->firstFileOffset;
    for (unsigned i = 0; i < fileCount; ++i) {
        if (cabinet.size() < at + 16)
            return false;
        FileImage file;
        file.size = Get32(cabinet, at);
        file.folderOffset = Get32(cabinet, at + 4);
        file.folderIndex = static_cast<unsigned short>(Get16(cabinet, at + 8));
        file.date = static_cast<unsigned short>(Get16(cabinet, at + 10));
        file.time = static_cast<unsigned short>(Get16(cabinet, at + 12));
        file.attributes = static_cast<unsigned short>(Get16(cabinet, at + 14));
        at += 16;
        size_t end = at;
        while (end < cabinet.size() && cabinet[end])
            ++end;
        if (end >= cabinet.size())
            return false;
        file.name.assign(cabinet.begin() + at, cabinet.begin() + end);
        at = end + 1;
        directory->files.push_back(file);
    }
    return true;
}

}  // namespace cabtest
