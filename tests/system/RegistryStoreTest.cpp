#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "system/wizMisc.h"

using wiztest::RegKeyExists;
using wiztest::RegReadValue;
using wiztest::ScratchKey;

namespace {

void SetRawValue(const ScratchKey& scratch, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch.Root(), scratch.Path().c_str(), 0, KEY_SET_VALUE, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void SetText(const ScratchKey& scratch, const char* name, const std::string& text) {
    SetRawValue(scratch, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// RegSetValueExA adds a forgotten terminator when the byte after the data is a NUL;
// a guard byte there keeps the value stored without one.
void SetUnterminatedText(const ScratchKey& scratch, const char* name, const std::string& text) {
    std::string guarded = text + "#";
    SetRawValue(scratch, name, REG_SZ, guarded.c_str(), static_cast<DWORD>(text.size()));
    DWORD type = 0;
    std::vector<unsigned char> data;
    ASSERT_TRUE(RegReadValue(scratch.Root(), scratch.Path(), name, &type, &data));
    ASSERT_EQ(text.size(), data.size());
}

void CreateSubkey(const std::string& path) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
}

}  // namespace

TEST(ReadRegistryString, ReadsAStringValue) {
    ScratchKey scratch;
    SetText(scratch, "Folder", "C:\\Program Files\\Kestrin Duoflex");
    String out("stale");
    EXPECT_TRUE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Folder", out));
    EXPECT_STREQ("C:\\Program Files\\Kestrin Duoflex", out.c_str());
}

TEST(ReadRegistryString, ReadsAnExpandableStringUnexpanded) {
    ScratchKey scratch;
    const char text[] = "%SystemRoot%\\inf";
    SetRawValue(scratch, "Path", REG_EXPAND_SZ, text, sizeof(text));
    String out;
    EXPECT_TRUE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Path", out));
    EXPECT_STREQ(text, out.c_str());
}

TEST(ReadRegistryString, TakesTextsOfUpTo255Characters) {
    ScratchKey scratch;
    std::string longest(255, 'x');
    SetText(scratch, "Longest", longest);
    SetText(scratch, "TooLong", longest + "y");
    SetText(scratch, "Huge", std::string(299, 'z'));
    String out("stale");
    EXPECT_TRUE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Longest", out));
    EXPECT_EQ(longest, out.c_str());
    out = "stale";
    EXPECT_FALSE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "TooLong", out));
    EXPECT_TRUE(out.IsEmpty());
    out = "stale";
    EXPECT_FALSE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Huge", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(ReadRegistryString, ReadsAnUnterminatedValueAsStored) {
    ScratchKey scratch;
    SetUnterminatedText(scratch, "Short", "abc");
    SetUnterminatedText(scratch, "Fills", std::string(255, 'q'));
    String out("stale");
    EXPECT_TRUE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Short", out));
    EXPECT_STREQ("abc", out.c_str());
    EXPECT_TRUE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Fills", out));
    EXPECT_EQ(std::string(255, 'q'), out.c_str());
}

TEST(ReadRegistryString, RefusesAnUnterminatedValueThatFillsTheBuffer) {
    // 256 characters and no terminator: exactly the buffer, with no room for the NUL.
    ScratchKey scratch;
    SetUnterminatedText(scratch, "Full", std::string(256, 'f'));
    String out("stale");
    EXPECT_FALSE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Full", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(ReadRegistryString, RefusesValuesThatAreNoStrings) {
    ScratchKey scratch;
    DWORD number = 0x00636261;  // "abc" and a NUL, were it read as text
    SetRawValue(scratch, "Number", REG_DWORD, &number, sizeof(number));
    SetRawValue(scratch, "Binary", REG_BINARY, "abc", 4);
    SetRawValue(scratch, "Multi", REG_MULTI_SZ, "abc\0def\0", 9);
    for (const char* name : {"Number", "Binary", "Multi"}) {
        String out("stale");
        EXPECT_FALSE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), name, out)) << name;
        EXPECT_TRUE(out.IsEmpty()) << name;
    }
}

TEST(ReadRegistryString, FailsOnAMissingValueOrKey) {
    ScratchKey scratch;
    String out("stale");
    EXPECT_FALSE(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), "Absent", out));
    EXPECT_TRUE(out.IsEmpty());
    out = "stale";
    EXPECT_FALSE(ReadRegistryString(scratch.Root(), (scratch.Path() + "\\Absent").c_str(), "Absent", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(WriteRegistryString, StoresARegSzWithItsTerminator) {
    ScratchKey scratch;
    ASSERT_TRUE(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), "Three", "abc"));
    DWORD type = 0;
    std::vector<unsigned char> data;
    ASSERT_TRUE(RegReadValue(scratch.Root(), scratch.Path(), "Three", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    ASSERT_EQ(4u, data.size());
    EXPECT_EQ(0, memcmp("abc", data.data(), 4));
}

TEST(WriteRegistryDword, StoresFourBytes) {
    ScratchKey scratch;
    ASSERT_TRUE(WriteRegistryDword(scratch.Root(), scratch.Path().c_str(), "TCPWindowSize", 0x10000));
    DWORD type = 0;
    std::vector<unsigned char> data;
    ASSERT_TRUE(RegReadValue(scratch.Root(), scratch.Path(), "TCPWindowSize", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ASSERT_EQ(4u, data.size());
    DWORD value = 0;
    memcpy(&value, data.data(), 4);
    EXPECT_EQ(0x10000u, value);
}

TEST(RegistryWrites, FailOnAMissingKeyAndCreateNothing) {
    ScratchKey scratch;
    std::string missing = scratch.Path() + "\\Missing";
    EXPECT_FALSE(WriteRegistryString(scratch.Root(), missing.c_str(), "Name", "abc"));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), missing));
    EXPECT_FALSE(WriteRegistryDword(scratch.Root(), missing.c_str(), "Name", 1));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), missing));
}

TEST(OpenOrCreateKey, AnswersForAnExistingKeyWithoutCreate) {
    ScratchKey scratch;
    CreateSubkey(scratch.Path() + "\\Entry");
    EXPECT_TRUE(OpenOrCreateKey(scratch.Root(), scratch.Path().c_str(), "Entry", false));
    EXPECT_TRUE(OpenOrCreateKey(scratch.Root(), scratch.Path().c_str(), "Entry", true));
}

TEST(OpenOrCreateKey, LeavesAMissingKeyAloneWithoutCreate) {
    ScratchKey scratch;
    EXPECT_FALSE(OpenOrCreateKey(scratch.Root(), scratch.Path().c_str(), "Entry", false));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Entry"));
}

TEST(OpenOrCreateKey, CreatesAMissingKeyBelowAnExistingParent) {
    ScratchKey scratch;
    EXPECT_TRUE(OpenOrCreateKey(scratch.Root(), scratch.Path().c_str(), "Kestrin Duoflex Wireless Adapter", true));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Kestrin Duoflex Wireless Adapter"));
}

TEST(OpenOrCreateKey, CreatesNothingBelowAMissingParent) {
    ScratchKey scratch;
    std::string parent = scratch.Path() + "\\Parent";
    EXPECT_FALSE(OpenOrCreateKey(scratch.Root(), parent.c_str(), "Entry", true));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), parent));
}

TEST(RegistryKeyMayExist, TellsAnExistingKeyFromAMissingKeyOrParent) {
    ScratchKey scratch;
    CreateSubkey(scratch.Path() + "\\Entry");
    EXPECT_TRUE(RegistryKeyMayExist(scratch.Root(), scratch.Path().c_str(), "Entry"));
    EXPECT_FALSE(RegistryKeyMayExist(scratch.Root(), scratch.Path().c_str(), "Absent"));
    EXPECT_FALSE(RegistryKeyMayExist(scratch.Root(), (scratch.Path() + "\\Absent").c_str(), "Entry"));
    EXPECT_TRUE(RegistryKeyMayExist(scratch.Root(), scratch.Path().c_str(), std::string(2100, 'k').c_str()))
        << "a path too long to ask about is not known to be absent";
}

TEST(DeleteRegistryKey, RemovesALeafAndAnswersTrue) {
    ScratchKey scratch;
    CreateSubkey(scratch.Path() + "\\Leaf");
    EXPECT_TRUE(DeleteRegistryKey(scratch.Root(), scratch.Path().c_str(), "Leaf"));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Leaf"));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), scratch.Path()));
}

TEST(DeleteRegistryKey, RemovesAKeyWithSubkeysButAnswersFalse) {
    ScratchKey scratch;
    CreateSubkey(scratch.Path() + "\\Entry\\Child\\Grandchild");
    CreateSubkey(scratch.Path() + "\\Sibling");
    EXPECT_FALSE(DeleteRegistryKey(scratch.Root(), scratch.Path().c_str(), "Entry"));
    EXPECT_FALSE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Entry"));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Sibling"));
}

TEST(DeleteRegistryKey, FailsOnAMissingKeyOrParent) {
    ScratchKey scratch;
    EXPECT_FALSE(DeleteRegistryKey(scratch.Root(), scratch.Path().c_str(), "Absent"));
    EXPECT_FALSE(DeleteRegistryKey(scratch.Root(), (scratch.Path() + "\\Absent").c_str(), "Entry"));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), scratch.Path()));
}

TEST(DeleteRegistryKey, NeverDeletesTheParentForAnEmptyName) {
    ScratchKey scratch;
    std::string parent = scratch.Path() + "\\Parent";
    CreateSubkey(parent + "\\Child");
    EXPECT_FALSE(DeleteRegistryKey(scratch.Root(), parent.c_str(), ""));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), parent + "\\Child"));
    CreateSubkey(scratch.Path() + "\\Leaf");
    EXPECT_FALSE(DeleteRegistryKey(scratch.Root(), (scratch.Path() + "\\Leaf").c_str(), ""));
    EXPECT_TRUE(RegKeyExists(scratch.Root(), scratch.Path() + "\\Leaf"));
}
