#pragma once
// A small narrow string for the whole program: the wizard composes paths and
// texts, and std::string would pull in far more runtime than the product is.
#include <stddef.h>
#include <stdarg.h>

class String {
public:
    // Constant: a String at namespace scope needs no code to make it.
    constexpr String() : data_(nullptr), length_(0), capacity_(0) {}
    String(const char* text);
    String(const char* text, size_t length);
    String(const String& other);
    String(String&& other) noexcept;
    ~String();

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const char* text);

    const char* c_str() const { return data_ ? data_ : ""; }
    size_t Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    char operator[](size_t index) const { return index < length_ ? data_[index] : '\0'; }

    void Clear();
    String& Append(const char* text, size_t length);
    String& operator+=(const char* text);
    String& operator+=(const String& other) { return Append(other.c_str(), other.Length()); }
    String& operator+=(char ch) { return Append(&ch, 1); }

    // printf-style formatting; an output that cannot be formatted yields an empty string.
    static String Format(const char* format, ...);
    static String FormatV(const char* format, va_list args);

    String Left(size_t count) const;
    String Mid(size_t start) const;
    String Trimmed() const;  // white space removed at both ends
    bool EqualsNoCase(const char* other) const;
    bool EndsWith(char ch) const { return length_ > 0 && FindLast(ch) == static_cast<long>(length_ - 1); }
    long FindLast(char ch) const;  // a character of the code page, not a trail byte; -1 when absent

    // Direct access for Win32 calls that fill a buffer: GetBuffer(n) gives room for
    // n characters and a terminator; ReleaseBuffer fixes the length (-1: up to the NUL).
    char* GetBuffer(size_t minCapacity);
    void ReleaseBuffer(long length = -1);

private:
    void Reserve(size_t capacity);

    char* data_;
    size_t length_;
    size_t capacity_;
};

String operator+(const String& left, const String& right);
String operator+(const String& left, const char* right);
String operator+(const char* left, const String& right);
bool operator==(const String& left, const String& right);
bool operator==(const String& left, const char* right);
inline bool operator!=(const String& left, const String& right) { return !(left == right); }
inline bool operator!=(const String& left, const char* right) { return !(left == right); }

// The wide text in the code page's characters, with "?" for each one that has
// no exact counterpart there, into out (size bytes; empty when it does not
// fit); true when it fitted and every character was exact. A best fit would not
// do: it turns the yen sign (U+00A5) into 0x5C, the backslash, in code page 932.
bool NarrowWithoutBestFit(const wchar_t* wide, char* out, int size);
