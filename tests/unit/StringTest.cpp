#include <gtest/gtest.h>

#include "fw/String.h"

TEST(String, StartsEmptyAndAppends) {
    String text;
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_STREQ("", text.c_str());
    text += "C:\\";
    text += String("Program Files");
    text += '\\';
    EXPECT_STREQ("C:\\Program Files\\", text.c_str());
    EXPECT_EQ(17u, text.Length());
}

TEST(String, FormatsLongTextsWithoutTruncation) {
    String long300(String::Format("%0300d", 7));
    EXPECT_EQ(300u, long300.Length());
    String joined = String::Format("%s\\%s", long300.c_str(), "name");
    EXPECT_EQ(305u, joined.Length());
    EXPECT_STREQ("name", joined.Mid(301).c_str());
}

TEST(String, CopiesAndMovesIndependently) {
    String original("abc");
    String copy(original);
    copy += "def";
    EXPECT_STREQ("abc", original.c_str());
    String moved(static_cast<String&&>(copy));
    EXPECT_STREQ("abcdef", moved.c_str());
    EXPECT_TRUE(copy.IsEmpty());
    moved = moved;  // self-assignment keeps the text
    EXPECT_STREQ("abcdef", moved.c_str());
    const String empty;
    moved = empty;  // the old text must not show through
    EXPECT_TRUE(moved.IsEmpty());
    EXPECT_STREQ("", moved.c_str());
}

TEST(String, AppendingAPartOfItselfIsSafe) {
    String text("0123456789");
    text += text.c_str() + 5;
    EXPECT_STREQ("012345678956789", text.c_str());
    text = text.c_str() + 10;
    EXPECT_STREQ("56789", text.c_str());
}

TEST(String, TrimsComparesAndSlices) {
    EXPECT_STREQ("C:\\Dir", String(" \t C:\\Dir \r\n").Trimmed().c_str());
    EXPECT_TRUE(String("   ").Trimmed().IsEmpty());
    EXPECT_TRUE(String("Setup.EXE").EqualsNoCase("setup.exe"));
    EXPECT_FALSE(String("Setup.exe").EqualsNoCase("Setup.ex"));
    EXPECT_EQ(5, String("a\\b\\c\\d").FindLast('\\'));
    EXPECT_EQ(-1, String("abc").FindLast('\\'));
    EXPECT_STREQ("ab", String("abc").Left(2).c_str());
    EXPECT_STREQ("abc", String("abc").Left(10).c_str());
    EXPECT_TRUE(String("abc").Mid(3).IsEmpty());
    EXPECT_TRUE(String("C:\\").EndsWith('\\'));
}

TEST(String, BufferAccessFixesTheLength) {
    String text;
    char* buffer = text.GetBuffer(300);
    for (int i = 0; i < 299; ++i)
        buffer[i] = 'x';
    buffer[299] = '\0';
    text.ReleaseBuffer();
    EXPECT_EQ(299u, text.Length());
    text.GetBuffer(10);
    text.ReleaseBuffer(3);
    EXPECT_STREQ("xxx", text.c_str());
}
