#include "payload/wizCab.h"

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "fw/Path.h"
#include "fw/SystemLibrary.h"
#include "payload/CabFormat.h"

const char kPrepareResultNames[7][20] = {
    "Success", "CreateObject", "LoadCabinetDll", "InvalidDirectory", "InvalidFileName", "InvalidCabinet",
    "Can'tStartHere",
};

namespace {

// Retries of a missing cabinet plus the cabinets of a set: enough for any real
// set, and an end for hooks that keep asking to try again.
const int kMaxSetSteps = 2 * CabinetTrail::kCapacity;
const unsigned short kKeptAttributes = 0x27;  // read-only, hidden, system, archive

// A process without standard input can be handed descriptor 0, which the
// library reads as "not opened" (and, for a target, as "skip"): such a file
// moves to another descriptor.
int AwayFromZero(int descriptor) {
    if (descriptor != 0)
        return descriptor;
    int moved = _dup(descriptor);
    _close(descriptor);
    return moved;
}

// The library's memory and file callbacks: the heap and the runtime's
// low-level descriptors, used with the flags the library passes.
void* DIAMONDAPI FdiAlloc(ULONG size) { return malloc(size); }
void DIAMONDAPI FdiFree(void* block) { free(block); }
INT_PTR DIAMONDAPI FdiOpen(char* path, int flags, int mode) { return AwayFromZero(_open(path, flags, mode)); }
UINT DIAMONDAPI FdiRead(INT_PTR file, void* buffer, UINT size) {
    return static_cast<UINT>(_read(static_cast<int>(file), buffer, size));
}
UINT DIAMONDAPI FdiWrite(INT_PTR file, void* buffer, UINT size) {
    return static_cast<UINT>(_write(static_cast<int>(file), buffer, size));
}
int DIAMONDAPI FdiClose(INT_PTR file) { return _close(static_cast<int>(file)); }
long DIAMONDAPI FdiSeek(INT_PTR file, long distance, int origin) {
    return _lseek(static_cast<int>(file), distance, origin);
}

int OpenForReading(const char* path) { return _open(path, _O_RDONLY | _O_BINARY); }

// The one reader of a cabinet's fixed header: the bytes at the file's position.
bool ReadFixedHeader(int file, CabHeader* header) {
    unsigned char bytes[kCabHeaderSize];
    return _read(file, bytes, sizeof(bytes)) == static_cast<int>(sizeof(bytes)) &&
           ParseCabHeader(bytes, sizeof(bytes), header);
}

// Reads the fixed header of an open cabinet and the names of its neighbours,
// stepping over the reserved area when the cabinet has one.
bool ReadHeaderAndSetNames(int file, CabHeader* header, CabSetNames* names) {
    if (!ReadFixedHeader(file, header))
        return false;
    if (header->flags & kCabReservePresent) {
        unsigned char fieldBytes[kCabReserveFieldsSize];
        CabReserveFields fields;
        if (_read(file, fieldBytes, sizeof(fieldBytes)) != static_cast<int>(sizeof(fieldBytes)) ||
            !ParseCabReserveFields(fieldBytes, sizeof(fieldBytes), &fields) ||
            _lseek(file, fields.headerReserve, SEEK_CUR) < 0)
            return false;
    }
    if (!(header->flags & (kCabHasPrevious | kCabHasNext)))
        return ParseCabSetNames(nullptr, 0, 0, names);
    unsigned char strings[4 * kCabNameSize];
    int read = _read(file, strings, sizeof(strings));
    return read > 0 && ParseCabSetNames(strings, static_cast<size_t>(read), header->flags, names);
}

// Reads a cabinet's directory, through the end of its file table, and checks
// that the cabinet library can be given it (CheckCabDirectory).
bool IsDirectorySafeForLibrary(const char* path) {
    UniqueCrtFile file(OpenForReading(path));
    CabHeader header;
    long length = file ? _filelength(file.Get()) : -1;
    if (length < static_cast<long>(kCabHeaderSize) || !ReadFixedHeader(file.Get(), &header) ||
        header.firstFileOffset > static_cast<unsigned long>(length))
        return false;
    unsigned long long bound = header.firstFileOffset +
                               header.fileCount * static_cast<unsigned long long>(kCabFileEntrySize + kCabNameSize);
    size_t size = static_cast<size_t>(bound < static_cast<unsigned long long>(length) ? bound : length);
    unsigned char* bytes = static_cast<unsigned char*>(malloc(size));
    bool sound = bytes && _lseek(file.Get(), 0, SEEK_SET) == 0 &&
                 _read(file.Get(), bytes, static_cast<unsigned>(size)) == static_cast<int>(size) &&
                 CheckCabDirectory(bytes, size);
    free(bytes);
    return sound;
}

}  // namespace

CabExtractor::CabExtractor()
    : context(nullptr),
      aborted(false),
      fdiCreate(nullptr),
      fdiCopy(nullptr),
      fdiDestroy(nullptr),
      expectedSetId(0xFFFF),
      targetOpen(false),
      followSet(true),
      targetSize(0),
      brokenSet(false) {
    memset(&error, 0, sizeof(error));
    destination[0] = cabinetName[0] = cabinetFolder[0] = targetPath[0] = memberFilter[0] = '\0';
}

CabExtractor::~CabExtractor() { Release(); }

void CabExtractor::DefaultDestination(char* buffer) {
    buffer[0] = '\0';
    DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        buffer[0] = '\0';
}

void CabExtractor::OnCabinetEvent() {}

void CabExtractor::OnNextCabinet(const char*, const char*, const char*, int*) {}

void CabExtractor::OnFileExtracted(const char*, unsigned short, unsigned short, unsigned short) {}

bool CabExtractor::OnCopyFile(const char*, long, const SYSTEMTIME&, unsigned short, bool*) { return true; }

bool CabExtractor::FindFirstCabinet(const char* path, String* firstPath) {
    char fullPath[MAX_PATH];
    char* filePart = nullptr;
    DWORD length = path ? ::GetFullPathNameA(path, MAX_PATH, fullPath, &filePart) : 0;
    if (length == 0 || length >= MAX_PATH || !filePart || !*filePart)
        return false;
    String folder(fullPath, static_cast<size_t>(filePart - fullPath));
    String name(filePart);
    CabinetTrail walked;
    for (int step = 0; step < kMaxSetSteps; ++step) {
        String candidate = JoinPath(folder, name.c_str());
        if (candidate.Length() >= MAX_PATH)
            return false;
        UniqueCrtFile file(OpenForReading(candidate.c_str()));
        if (!file) {
            int status = 1;
            OnNextCabinet(name.c_str(), "", folder.c_str(), &status);
            if (status != 0)
                return false;
            continue;
        }
        CabHeader header;
        CabSetNames names;
        if (!ReadHeaderAndSetNames(file.Get(), &header, &names))
            return false;
        if (!(header.flags & kCabHasPrevious)) {
            *firstPath = candidate;
            return true;
        }
        if (!walked.Visit(name.c_str()) || !IsPlainFileName(names.previousCabinet))
            return false;
        name = names.previousCabinet;
    }
    return false;
}

CabinetCheck CabExtractor::CheckCabinet(const char* path) {
    CabinetCheck check = {false, false, 0};
    UniqueCrtFile file(OpenForReading(path));
    CabHeader header;
    if (!file || !ReadFixedHeader(file.Get(), &header))
        return check;
    check.valid = true;
    check.setId = header.setId;
    check.canStart = true;
    if (header.fileCount == 1) {
        unsigned char entryBytes[kCabFileEntrySize];
        CabFileEntry entry;
        if (header.firstFileOffset > 0x7FFFFFFFul ||
            _lseek(file.Get(), static_cast<long>(header.firstFileOffset), SEEK_SET) <= 0 ||
            _read(file.Get(), entryBytes, sizeof(entryBytes)) != static_cast<int>(sizeof(entryBytes)) ||
            !ParseCabFileEntry(entryBytes, sizeof(entryBytes), &entry))
            check.canStart = false;
        else if (entry.folderIndex == kCabContinuedFromPrevious || entry.folderIndex == kCabContinuedBoth)
            check.canStart = false;
    }
    return check;
}

bool CabExtractor::LoadCabinetLibrary() {
    if (!cabinetLibrary) {
        cabinetLibrary.Reset(LoadSystemLibrary("cabinet.dll"));
        if (!cabinetLibrary)
            return false;
        fdiCreate = EntryPoint<FdiCreateFn>(cabinetLibrary.Get(), "FDICreate");
        fdiCopy = EntryPoint<FdiCopyFn>(cabinetLibrary.Get(), "FDICopy");
        fdiDestroy = EntryPoint<FdiDestroyFn>(cabinetLibrary.Get(), "FDIDestroy");
    }
    return fdiCreate && fdiCopy && fdiDestroy;
}

bool CabExtractor::SetDestination(const char* destinationFolder) {
    if (destinationFolder && destinationFolder[0]) {
        if (!CopyBounded(destination, sizeof(destination), destinationFolder))
            return false;
    } else {
        DefaultDestination(destination);
    }
    size_t length = strlen(destination);
    if (length == 0)
        return false;
    if (!EndsWithSeparator(destination)) {
        // The separator must fit too: a folder is never cut to a shorter one.
        if (length + 1 >= sizeof(destination)) {
            destination[0] = '\0';
            return false;
        }
        destination[length] = '\\';
        destination[length + 1] = '\0';
    }
    return true;
}

PrepareResult CabExtractor::Prepare(const char* cabinetPath, const char* destinationFolder) {
    Release();
    if (!LoadCabinetLibrary())
        return PrepareLoadCabinetDll;
    destination[0] = cabinetName[0] = cabinetFolder[0] = '\0';
    if (!SetDestination(destinationFolder) || !MakePath(destination))
        return PrepareInvalidDirectory;

    char* filePart = nullptr;
    DWORD fullLength = cabinetPath ? ::GetFullPathNameA(cabinetPath, sizeof(cabinetFolder), cabinetFolder, &filePart) : 0;
    if (fullLength == 0 || fullLength >= sizeof(cabinetFolder) || !filePart || !*filePart) {
        cabinetFolder[0] = '\0';
        return PrepareInvalidFileName;
    }
    CabinetCheck check = CheckCabinet(cabinetFolder);
    if (!check.valid)
        return PrepareInvalidCabinet;
    if (!check.canStart)
        return PrepareCantStartHere;
    expectedSetId = check.setId;
    CopyBounded(cabinetName, sizeof(cabinetName), filePart);
    *filePart = '\0';

    context = fdiCreate(FdiAlloc, FdiFree, FdiOpen, FdiRead, FdiWrite, FdiClose, FdiSeek, cpu80386, &error);
    return context ? PrepareSuccess : PrepareCreateObject;
}

bool CabExtractor::CopyMember(const char* memberName) {
    if (!context)
        return false;
    if (!CopyBounded(memberFilter, sizeof(memberFilter), memberName ? memberName : ""))
        return false;
    brokenSet = false;
    copiedCabinets.Clear();
    copiedCabinets.Visit(cabinetName);
    BOOL copied;
    do {
        if (!IsDirectorySafeForLibrary(JoinPath(cabinetFolder, cabinetName).c_str()))
            return false;
        copied = fdiCopy(context, cabinetName, cabinetFolder, 0, &CabExtractor::Notify, nullptr, this);
    } while (copied && FollowNextCabinet() && !aborted);
    return copied && !brokenSet;
}

void CabExtractor::Release() {
    if (context) {
        fdiDestroy(context);
        context = nullptr;
    }
}

bool CabExtractor::FollowNextCabinet() {
    if (!followSet)
        return false;
    String path = JoinPath(cabinetFolder, cabinetName);
    UniqueCrtFile file(path.Length() < MAX_PATH ? OpenForReading(path.c_str()) : -1);
    CabHeader header;
    CabSetNames names;
    if (!file || !ReadHeaderAndSetNames(file.Get(), &header, &names))
        return false;
    if (header.setId != expectedSetId || !(header.flags & kCabHasNext))
        return false;
    // A set's cabinets share one folder, and each is copied once.
    if (!IsPlainFileName(names.nextCabinet) || !copiedCabinets.Visit(names.nextCabinet)) {
        brokenSet = true;
        return false;
    }
    CopyBounded(cabinetName, sizeof(cabinetName), names.nextCabinet);
    int status = 0;
    OnNextCabinet(cabinetName, names.nextDisk, cabinetFolder, &status);
    if (status != 0) {
        SetAbort();
        return false;
    }
    return true;
}

const char* StoredNameInCodePage(const char* stored, unsigned short attributes, char (&buffer)[MAX_PATH]) {
    if (!(attributes & _A_NAME_IS_UTF))
        return stored;
    WCHAR wide[MAX_PATH];
    bool exact = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, stored, -1, wide, MAX_PATH) > 0 &&
                 NarrowWithoutBestFit(wide, buffer, MAX_PATH);
    return exact ? buffer : nullptr;
}

INT_PTR DIAMONDAPI CabExtractor::Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification) {
    return static_cast<CabExtractor*>(notification->pv)->Dispatch(type, notification);
}

INT_PTR CabExtractor::Dispatch(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification) {
    INT_PTR answer = 0;
    switch (type) {
    case fdintCOPY_FILE:
        answer = OnCopyFileNotification(notification);
        break;
    case fdintCLOSE_FILE_INFO:
        answer = OnCloseFileNotification(notification);
        break;
    case fdintNEXT_CABINET:
        answer = OnNextCabinetNotification(notification);
        break;
    default:
        OnCabinetEvent();
        break;
    }
    return aborted ? -1 : answer;
}

INT_PTR CabExtractor::OnCopyFileNotification(PFDINOTIFICATION notification) {
    // The checks must see the name as Windows will create it: a UTF-8 name
    // that the code page cannot hold exactly is left out.
    char converted[MAX_PATH];
    const char* memberName = StoredNameInCodePage(notification->psz1, notification->attribs, converted);
    if (!memberName)
        return 0;
    if (memberFilter[0] && ::lstrcmpiA(memberFilter, memberName) != 0)
        return 0;
    // A member that would land outside the destination is left out.
    if (!ComposeTargetPath(memberName))
        return 0;
    SYSTEMTIME time;
    memset(&time, 0, sizeof(time));
    FILETIME fileTime;
    if (::DosDateTimeToFileTime(notification->date, notification->time, &fileTime))
        ::FileTimeToSystemTime(&fileTime, &time);

    int handle = -1;
    bool skip = false;
    while (handle == -1) {
        if (!OnCopyFile(targetPath, notification->cb, time, notification->attribs, &skip))
            continue;  // the hook asks to be asked again
        if (aborted || skip)
            return 0;
        handle = CreateTargetFile();
        if (handle == -1)
            skip = true;
    }
    targetOpen = true;
    targetSize = static_cast<unsigned long>(notification->cb);
    return handle;
}

INT_PTR CabExtractor::OnCloseFileNotification(PFDINOTIFICATION notification) {
    int handle = static_cast<int>(notification->hf);
    // A member whose data broke off is still closed by some versions of the
    // library; it must not stay behind looking complete.
    long written = _lseek(handle, 0, SEEK_END);
    bool whole = written >= 0 && static_cast<unsigned long>(written) == targetSize;
    FdiClose(notification->hf);
    targetOpen = false;
    if (!whole) {
        ::DeleteFileA(targetPath);
        return FALSE;
    }
    OnFileExtracted(notification->psz1, notification->date, notification->time,
                    notification->attribs & kKeptAttributes);
    ApplyMemberTime(notification->date, notification->time);
    return TRUE;
}

INT_PTR CabExtractor::OnNextCabinetNotification(PFDINOTIFICATION notification) {
    // The library looks for the next cabinet in the given folder + the stored
    // name; a name with folder parts would lead it elsewhere.
    if (!IsPlainFileName(notification->psz1)) {
        SetAbort();
        return 0;
    }
    int status = notification->fdie;
    OnNextCabinet(notification->psz1, notification->psz2, notification->psz3, &status);
    if (status != 0)
        SetAbort();
    // The library reads the next cabinet's directory itself, without the checks
    // it needs.
    String next = JoinPath(notification->psz3, notification->psz1);
    if (!aborted && !IsDirectorySafeForLibrary(next.c_str()))
        SetAbort();
    return 0;
}

void CabExtractor::ApplyMemberTime(unsigned short date, unsigned short time) {
    FILETIME local, universal;
    if (!::DosDateTimeToFileTime(date, time, &local) || !::LocalFileTimeToFileTime(&local, &universal))
        return;
    UniqueFile file(::CreateFileA(targetPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        ::SetFileTime(file.Get(), &universal, &universal, &universal);
}

bool CabExtractor::ComposeTargetPath(const char* memberName) {
    return ComposeMemberTargetPath(destination, memberName, targetPath, sizeof(targetPath));
}

int CabExtractor::CreateTargetFile() {
    size_t length = strlen(targetPath);
    const char* lastSeparator = FindLastSeparator(targetPath);
    if (length == 0 || length >= MAX_PATH || !lastSeparator)
        return -1;
    char folder[MAX_PATH];
    size_t folderLength = static_cast<size_t>(lastSeparator - targetPath) + 1;
    memcpy(folder, targetPath, folderLength);
    folder[folderLength] = '\0';
    if (!MakePath(folder))
        return -1;
    // Truncation: an older, longer file of the same name must not keep its tail.
    return AwayFromZero(_open(targetPath, _O_BINARY | _O_WRONLY | _O_CREAT | _O_TRUNC, _S_IREAD | _S_IWRITE));
}

bool CabExtractor::MakePath(const char* path) {
    char copy[MAX_PATH];
    if (!path || !CopyBounded(copy, sizeof(copy), path) || !copy[0])
        return false;
    long start = FolderScanStart(copy);
    if (start >= 0) {
        for (char* separator = ComponentEnd(NextChar(copy + start)); *separator;
             separator = ComponentEnd(separator + 1)) {
            char kept = *separator;
            *separator = '\0';
            ::CreateDirectoryA(copy, nullptr);
            *separator = kept;
        }
        ::CreateDirectoryA(copy, nullptr);
    }
    DWORD attributes = ::GetFileAttributesA(copy);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PayloadCabExtractor::OnNextCabinet(const char* nextName, const char*, const char* folder, int*) {
    String path = JoinPath(folder, nextName);
    UniqueCrtFile file(path.Length() < MAX_PATH ? OpenForReading(path.c_str()) : -1);
    if (!file)
        SetAbort();
}

bool PayloadCabExtractor::OnCopyFile(const char*, long size, const SYSTEMTIME&, unsigned short, bool* skip) {
    if (expectedSize_ != kAnyMemberSize && size != expectedSize_)
        *skip = true;
    return true;
}

bool ExtractFile(const char* cabinetPath, const char* destinationFolder, const char* memberName, long expectedSize) {
    PayloadCabExtractor extractor(expectedSize);
    String firstCabinet;
    if (!extractor.FindFirstCabinet(cabinetPath, &firstCabinet))
        return false;
    if (extractor.Prepare(firstCabinet.c_str(), destinationFolder) == PrepareSuccess) {
        if (!extractor.CopyMember(memberName) && extractor.IsTargetOpen())
            ::DeleteFileA(extractor.TargetPath());
        extractor.Release();
    }
    return true;
}
