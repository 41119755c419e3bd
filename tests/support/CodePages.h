#pragma once
// Text of the double-byte code pages for the tests that run under them, as the
// bytes the code page gives each character. In these code pages the second
// byte of a character may be 0x5C, the backslash. The suites named
// CodePage932... and CodePage950... run in ctest entries of their own whose Unix
// locale makes Wine's ANSI code page that one.
#include <windows.h>

#include <gtest/gtest.h>

// Code page 932 (Japanese).
#define CP932_SO "\x83\x5c"   // U+30BD katakana SO, as in SOFUTOWEA
#define CP932_HYO "\x95\x5c"  // U+8868 "table"
#define CP932_NOU "\x94\x5c"  // U+80FD "ability"
#define CP932_JUU "\x8f\x5c"  // U+5341 "ten"
#define CP932_PO "\x83\x7c"   // U+30DD katakana PO: its second byte is "|"
#define CP932_DORAIBA "\x83\x68\x83\x89\x83\x43\x83\x6f"  // U+30C9 U+30E9 U+30A4 U+30D0 "driver"
#define CP932_SOFUTOWEA "\x83\x5c\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41"  // U+30BD ... "software"
// Code page 950 (Chinese, traditional).
#define CP950_XU "\xb3\x5c"    // U+8A31
#define CP950_GONG "\xa5\x5c"  // U+529F
#define CP950_GAI "\xbb\x5c"   // U+84CB

namespace wiztest {

// Whether Wine's ANSI code page is `page`; the message names the cause when not.
inline ::testing::AssertionResult IsAnsiCodePage(UINT page) {
    if (GetACP() == page)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the ANSI code page is " << GetACP() << ", not " << page
                                         << ": this suite runs in its code page's ctest entry, whose Unix locale "
                                            "must be installed (tools/install-deps.sh makes it)";
}

// A fixture whose tests need the ANSI code page `page`.
template <UINT page>
class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(IsAnsiCodePage(page)); }
};

}  // namespace wiztest
