#pragma once
// Unpacks named members of Microsoft Cabinet archives (and sets of them)
// through the system's cabinet library and its decompression interface (FDI).
#include <windows.h>
#include <fdi.h>

#include "fw/String.h"
#include "fw/UniqueHandle.h"
#include "payload/CabPath.h"

enum PrepareResult {
    PrepareSuccess = 0,
    PrepareCreateObject = 1,
    PrepareLoadCabinetDll = 2,
    PrepareInvalidDirectory = 3,
    PrepareInvalidFileName = 4,
    PrepareInvalidCabinet = 5,
    PrepareCantStartHere = 6,
};
extern const char kPrepareResultNames[7][20];

// What a look at a cabinet file's header tells.
struct CabinetCheck {
    bool valid;           // 36 header bytes with the "MSCF" signature
    bool canStart;        // its only member does not continue from a previous cabinet
    unsigned short setId;
};

class CabExtractor {
public:
    CabExtractor();
    CabExtractor(const CabExtractor&) = delete;
    CabExtractor& operator=(const CabExtractor&) = delete;

    // Walks back through the "previous cabinet" names to the first cabinet of the set.
    bool FindFirstCabinet(const char* path, String* firstPath);
    PrepareResult Prepare(const char* cabinetPath, const char* destinationFolder);
    // Copies the members named memberName (every member when empty) from the
    // prepared cabinet and the cabinets after it; the last FDICopy result.
    bool CopyMember(const char* memberName);
    void Release();

    bool IsTargetOpen() const { return targetOpen; }
    const char* TargetPath() const { return targetPath; }
    const char* Destination() const { return destination; }

    static CabinetCheck CheckCabinet(const char* path);
    // Creates every missing folder level of path; true when path is a directory then.
    static bool MakePath(const char* path);

protected:
    // The hooks a derived extractor replaces. The destination when Prepare is
    // given none (the temp folder), into MAX_PATH characters.
    virtual void DefaultDestination(char* buffer);
    // Every notification but copy-file, close-file-info and next-cabinet.
    virtual void OnCabinetEvent();
    // Another cabinet is needed; a status left non-zero ends the extraction.
    virtual void OnNextCabinet(const char* nextName, const char* diskName, const char* folder,
                               int* status);
    // A member was written and closed; attributes masked with 0x27.
    virtual void OnFileExtracted(const char* memberName, unsigned short date, unsigned short time,
                                 unsigned short attributes);
    // May the member be written: true proceeds (setting skip leaves it out),
    // false asks again.
    virtual bool OnCopyFile(const char* target, long size, const SYSTEMTIME& time, unsigned short attributes,
                            bool* skip);

public:
    virtual ~CabExtractor();

protected:
    void SetAbort() { aborted = true; }

private:
    bool LoadCabinetLibrary();
    // destination = the folder (or DefaultDestination) ending with a backslash.
    bool SetDestination(const char* destinationFolder);
    bool FollowNextCabinet();
    bool ComposeTargetPath(const char* memberName);
    int CreateTargetFile();

    static INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification);
    INT_PTR Dispatch(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification);
    INT_PTR OnCopyFileNotification(PFDINOTIFICATION notification);
    INT_PTR OnCloseFileNotification(PFDINOTIFICATION notification);
    INT_PTR OnNextCabinetNotification(PFDINOTIFICATION notification);
    void ApplyMemberTime(unsigned short date, unsigned short time);

    typedef HFDI(DIAMONDAPI* FdiCreateFn)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int,
                                          PERF);
    typedef BOOL(DIAMONDAPI* FdiCopyFn)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
    typedef BOOL(DIAMONDAPI* FdiDestroyFn)(HFDI);

    HFDI context;
    ERF error;
    bool aborted;
    UniqueModule cabinetLibrary;
    FdiCreateFn fdiCreate;
    FdiCopyFn fdiCopy;
    FdiDestroyFn fdiDestroy;
    unsigned short expectedSetId;
    bool targetOpen;
    bool followSet;
    char destination[MAX_PATH];
    char cabinetName[256];
    char cabinetFolder[256];
    char targetPath[520];
    char memberFilter[520];
    // The size the open target must reach, so that a member cut short is
    // removed rather than left behind as if whole, and the cabinets already
    // copied, so that a set whose names loop comes to an end.
    unsigned long targetSize;
    bool brokenSet;
    CabinetTrail copiedCabinets;
};

// A member of any declared size may be written.
const long kAnyMemberSize = -1;

// The variant the program uses: a set member that is missing ends the
// extraction, and a member that declares another size than the expected one is
// left out before its target is created, so a lying or oversized member costs
// neither disk space nor decompression.
class PayloadCabExtractor : public CabExtractor {
public:
    explicit PayloadCabExtractor(long expectedSize = kAnyMemberSize) : expectedSize_(expectedSize) {}

protected:
    void OnNextCabinet(const char* nextName, const char* diskName, const char* folder, int* status) override;
    bool OnCopyFile(const char* target, long size, const SYSTEMTIME& time, unsigned short attributes,
                    bool* skip) override;

private:
    long expectedSize_;
};

// A member's stored name as the code page reads it: stored itself, or, for a
// name flagged as UTF-8 (_A_NAME_IS_UTF), its conversion in buffer; nullptr
// when such a name is no valid UTF-8 or the code page cannot hold it exactly.
const char* StoredNameInCodePage(const char* stored, unsigned short attributes, char (&buffer)[MAX_PATH]);

// Extracts the member named memberName (case does not count) from the cabinet
// (set) at cabinetPath into destinationFolder, created when missing; with an
// expectedSize, only a member that declares that many bytes. True when a valid
// first cabinet was found; whether the member was there is not reported.
bool ExtractFile(const char* cabinetPath, const char* destinationFolder, const char* memberName,
                 long expectedSize = kAnyMemberSize);
