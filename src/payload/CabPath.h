#pragma once
// Path rules of the extractor, kept free of file access: where a member lands,
// which stored names are refused, and the bounded copies into fixed buffers.
#include <stddef.h>

#include "fw/String.h"

// Copies text into buffer when it fits with its terminator; otherwise the
// buffer is left empty and the answer is false, so a long input never turns
// into a shorter, different path.
bool CopyBounded(char* buffer, size_t size, const char* text);

// A stored member name without a drive ("C:\") or UNC ("\\server\share\") prefix.
const char* StripMemberRoot(const char* memberName);

// True for a path that stays below the folder it is appended to: not empty, no
// leading separator, no colon (drives, streams), no component made of dots and
// spaces only ("..", "."), no empty component and no device name (CON, LPT1...).
// Both "\" and "/" count as separators, as they do for Windows.
bool IsContainedRelativePath(const char* path);

// A cabinet name that a set may refer to: one component, no folder parts.
bool IsPlainFileName(const char* name);

// destination (ending with a backslash) + the member name made relative, with
// "/" turned into "\". False, and target left empty, when the member would land
// outside the destination or the result does not fit targetSize.
bool ComposeMemberTargetPath(const char* destination, const char* memberName, char* target, size_t targetSize);

// The names a walk through a cabinet set has passed, so that a set whose names
// form a loop ends the walk instead of running forever. Bounded: a walk longer
// than kCapacity cabinets is refused as well.
class CabinetTrail {
public:
    static const int kCapacity = 64;
    CabinetTrail() : count(0) {}
    // False when the name was passed already (case does not count) or the trail is full.
    bool Visit(const char* name);
    void Clear() { count = 0; }

private:
    String names[kCapacity];
    int count;
};

// Where MakePath starts creating folders: the index of the backslash after a
// drive ("C:\"), after a UNC share ("\\server\share\"), or 0 for anything else;
// -1 for a UNC path without a backslash after its share name (nothing to create).
long FolderScanStart(const char* path);
