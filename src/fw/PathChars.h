#pragma once
// Path text read as Windows reads it: characters of the ANSI code page. In the
// double-byte code pages (932 Japanese, 936 and 950 Chinese, 949 Korean) a lead
// byte and the byte after it are one character, and that second byte may be
// 0x5C, the backslash ("ソ" is 83 5C in code page 932). Every scan of a path
// or a file name goes through these, so that a separator is found only where
// Windows finds one. Header only: the device library scans its paths with them too.
#include <windows.h>

#include <stddef.h>

// "\" or "/": Windows reads both as separators.
inline bool IsPathSeparator(char ch) { return ch == '\\' || ch == '/'; }

// The character after the one at `at`, as CharNextA steps: two bytes for a lead
// byte of the code page, one otherwise; `at` itself at the terminator. A lead
// byte right before the terminator (malformed text) is one character.
inline const char* NextChar(const char* at) {
    if (*at == '\0')
        return at;
    return ::IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1] != '\0' ? at + 2 : at + 1;
}
inline char* NextChar(char* at) { return const_cast<char*>(NextChar(static_cast<const char*>(at))); }

// The first separator at or after `from` (which starts a character), or the
// terminator: where the component that begins at `from` ends.
inline const char* ComponentEnd(const char* from) {
    while (*from != '\0' && !IsPathSeparator(*from))
        from = NextChar(from);
    return from;
}
inline char* ComponentEnd(char* from) { return const_cast<char*>(ComponentEnd(static_cast<const char*>(from))); }

// The last separator of path; nullptr when it has none.
inline const char* FindLastSeparator(const char* path) {
    const char* last = nullptr;
    for (const char* at = path; *at != '\0'; at = NextChar(at)) {
        if (IsPathSeparator(*at))
            last = at;
    }
    return last;
}
inline char* FindLastSeparator(char* path) {
    return const_cast<char*>(FindLastSeparator(static_cast<const char*>(path)));
}

// Whether the last character of path is a separator.
inline bool EndsWithSeparator(const char* path) {
    const char* last = FindLastSeparator(path);
    return last != nullptr && last[1] == '\0';
}

// The length of path without its trailing separators; a drive root ("C:\")
// keeps its own.
inline size_t LengthWithoutTrailingSeparators(const char* path) {
    const char* end = path;
    for (const char* at = path; *at != '\0';) {
        const char* next = NextChar(at);
        if (!IsPathSeparator(*at))
            end = next;
        at = next;
    }
    size_t length = static_cast<size_t>(end - path);
    return length == 2 && path[1] == ':' && IsPathSeparator(path[2]) ? 3 : length;
}
