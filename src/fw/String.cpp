#include "fw/String.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <ctype.h>
#include <windows.h>

#include "fw/PathChars.h"

String::String(const char* text) : String() {
    if (text)
        Append(text, strlen(text));
}

String::String(const char* text, size_t length) : String() { Append(text, length); }

String::String(const String& other) : String() { Append(other.c_str(), other.length_); }

String::String(String&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = other.capacity_ = 0;
}

String::~String() { free(data_); }

String& String::operator=(const String& other) {
    if (this != &other) {
        Clear();
        Append(other.c_str(), other.length_);
    }
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        free(data_);
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = other.capacity_ = 0;
    }
    return *this;
}

String& String::operator=(const char* text) {
    if (text && data_ && text >= data_ && text < data_ + capacity_)
        return *this = String(text);  // assigning a part of ourselves
    length_ = 0;
    if (data_)
        data_[0] = '\0';
    if (text)
        Append(text, strlen(text));
    return *this;
}

void String::Clear() {
    length_ = 0;
    if (data_)
        data_[0] = '\0';
}

void String::Reserve(size_t capacity) {
    if (data_ && capacity <= capacity_)
        return;
    size_t grown = capacity_ * 2 > capacity ? capacity_ * 2 : capacity;
    char* bigger = static_cast<char*>(realloc(data_, grown + 1));
    if (!bigger)
        abort();  // out of memory: nothing sensible is left to do
    data_ = bigger;
    data_[length_] = '\0';
    capacity_ = grown;
}

String& String::Append(const char* text, size_t length) {
    if (!text || length == 0) {
        if (!data_)
            Reserve(15);
        return *this;
    }
    if (data_ && text >= data_ && text < data_ + capacity_ + 1)
        return Append(String(text, length).c_str(), length);  // appending a part of ourselves
    Reserve(length_ + length);
    memcpy(data_ + length_, text, length);
    length_ += length;
    data_[length_] = '\0';
    return *this;
}

String& String::operator+=(const char* text) { return text ? Append(text, strlen(text)) : *this; }

String String::FormatV(const char* format, va_list args) {
    String result;
    va_list copy;
    va_copy(copy, args);
    int needed = _vscprintf(format, copy);
    va_end(copy);
    if (needed <= 0)
        return result;
    char* buffer = result.GetBuffer(static_cast<size_t>(needed));
    _vsnprintf(buffer, static_cast<size_t>(needed) + 1, format, args);
    result.ReleaseBuffer(needed);
    return result;
}

String String::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    String result = FormatV(format, args);
    va_end(args);
    return result;
}

String String::Left(size_t count) const {
    return String(c_str(), count < length_ ? count : length_);
}

String String::Mid(size_t start) const {
    return start < length_ ? String(data_ + start, length_ - start) : String();
}

String String::Trimmed() const {
    size_t begin = 0, end = length_;
    while (begin < end && isspace(static_cast<unsigned char>(data_[begin])))
        ++begin;
    while (end > begin && isspace(static_cast<unsigned char>(data_[end - 1])))
        --end;
    return String(c_str() + begin, end - begin);
}

bool String::EqualsNoCase(const char* other) const {
    return lstrcmpiA(c_str(), other ? other : "") == 0;
}

long String::FindLast(char ch) const {
    long found = -1;
    for (const char* at = c_str(); *at; at = NextChar(at)) {
        if (*at == ch)
            found = static_cast<long>(at - c_str());
    }
    return found;
}

char* String::GetBuffer(size_t minCapacity) {
    Reserve(minCapacity);
    data_[capacity_] = '\0';
    return data_;
}

void String::ReleaseBuffer(long length) {
    if (!data_)
        return;
    size_t fixed = length < 0 ? strlen(data_) : static_cast<size_t>(length);
    length_ = fixed <= capacity_ ? fixed : capacity_;
    data_[length_] = '\0';
}

String operator+(const String& left, const String& right) {
    String result(left);
    result += right;
    return result;
}

String operator+(const String& left, const char* right) {
    String result(left);
    result += right;
    return result;
}

String operator+(const char* left, const String& right) {
    String result(left);
    result += right;
    return result;
}

bool operator==(const String& left, const String& right) {
    return left.Length() == right.Length() && memcmp(left.c_str(), right.c_str(), left.Length()) == 0;
}

bool operator==(const String& left, const char* right) {
    return strcmp(left.c_str(), right ? right : "") == 0;
}

bool NarrowWithoutBestFit(const wchar_t* wide, char* out, int size) {
    BOOL inexact = FALSE;
    int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, size, nullptr, &inexact);
    if (length == 0)
        *out = '\0';
    return length != 0 && !inexact;
}
