#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "system/wizMisc.h"

namespace {

const char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kValue[] = "DevicePath";
const char kFolder[] = "C:\\Program Files\\Kestrin Duoflex";

using wiztest::NativeView;
using wiztest::RedirectedView;

void Write(REGSAM view, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE | view, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, kValue, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void WriteText(REGSAM view, const std::string& text, DWORD type = REG_EXPAND_SZ) {
    Write(view, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteValue(REGSAM view) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE | view, &key));
    RegDeleteValueA(key, kValue);
    RegCloseKey(key);
}

// Changes the prefix's own DevicePath; puts back what both views held.
class AddDevicePathTest : public ::testing::Test {
protected:
    wiztest::SavedRegistryValue native{HKEY_LOCAL_MACHINE, kKey, kValue, NativeView()};
    wiztest::SavedRegistryValue redirected{HKEY_LOCAL_MACHINE, kKey, kValue, RedirectedView()};
};

}  // namespace

TEST(DevicePathListsFolder, MatchesWithoutRegardToCase) {
    EXPECT_TRUE(DevicePathListsFolder("c:\\program files\\kestrin duoflex;%SystemRoot%\\inf", kFolder));
    EXPECT_TRUE(DevicePathListsFolder("%SystemRoot%\\inf;C:\\PROGRAM FILES\\KESTRIN DUOFLEX", kFolder));
}

TEST(DevicePathListsFolder, AnOccurrenceMustEndTheEntry) {
    EXPECT_FALSE(DevicePathListsFolder("C:\\Program Files\\Kestrin Duoflex 2;%SystemRoot%\\inf", kFolder));
    EXPECT_FALSE(DevicePathListsFolder("C:\\Program Files\\Kestrin Duoflex\\old", kFolder));
    EXPECT_FALSE(DevicePathListsFolder("%SystemRoot%\\inf", kFolder));
    EXPECT_FALSE(DevicePathListsFolder("", kFolder));
}

TEST(DevicePathListsFolder, SearchesOnAfterAnOccurrenceThatDoesNotCount) {
    EXPECT_TRUE(DevicePathListsFolder("C:\\Program Files\\Kestrin Duoflex 2;C:\\Program Files\\Kestrin Duoflex;x",
                                      kFolder));
    EXPECT_TRUE(
        DevicePathListsFolder("C:\\Program Files\\Kestrin Duoflex-old;C:\\Program Files\\Kestrin Duoflex", kFolder));
}

TEST(DevicePathListsFolder, AnEmptyFolderIsNeverListed) {
    EXPECT_FALSE(DevicePathListsFolder("%SystemRoot%\\inf;", ""));
}

TEST_F(AddDevicePathTest, PrependsTheFolderOnceKeepingTheExpandableType) {
    WriteText(NativeView(), "%SystemRoot%\\inf");
    EXPECT_TRUE(AddDevicePath(kFolder));
    DWORD type = REG_NONE;
    EXPECT_EQ(std::string(kFolder) + ";%SystemRoot%\\inf", wiztest::ReadDevicePath(NativeView(), &type));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";%SystemRoot%\\inf", wiztest::ReadDevicePath(NativeView()));
}

TEST_F(AddDevicePathTest, KeepsAPlainStringType) {
    WriteText(NativeView(), "C:\\Windows\\inf", REG_SZ);
    ASSERT_TRUE(AddDevicePath(kFolder));
    DWORD type = REG_NONE;
    EXPECT_EQ(std::string(kFolder) + ";C:\\Windows\\inf", wiztest::ReadDevicePath(NativeView(), &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(AddDevicePathTest, LeavesAFolderListedFirstInOtherCase) {
    const std::string followed = "C:\\PROGRAM FILES\\kestrin duoflex;%SystemRoot%\\inf;C:\\Program Files\\Kestrin Duoflex";
    WriteText(NativeView(), followed);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(followed, wiztest::ReadDevicePath(NativeView())) << "first already; what follows does not count";
    const std::string alone = "c:\\program files\\KESTRIN DUOFLEX";
    WriteText(NativeView(), alone);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(alone, wiztest::ReadDevicePath(NativeView()));
}

// The device library stages the package of the first folder that holds one.
TEST_F(AddDevicePathTest, MovesAFolderListedFurtherBackToTheFront) {
    for (DWORD type : {static_cast<DWORD>(REG_EXPAND_SZ), static_cast<DWORD>(REG_SZ)}) {
        WriteText(NativeView(), "%SystemRoot%\\inf;D:\\Old Kestrin;c:\\program files\\KESTRIN DUOFLEX;E:\\x", type);
        EXPECT_TRUE(AddDevicePath(kFolder));
        DWORD written = REG_NONE;
        EXPECT_EQ(std::string(kFolder) + ";%SystemRoot%\\inf;D:\\Old Kestrin;E:\\x",
                  wiztest::ReadDevicePath(NativeView(), &written));
        EXPECT_EQ(type, written);
    }
    WriteText(NativeView(), "%SystemRoot%\\inf;c:\\program files\\KESTRIN DUOFLEX");
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";%SystemRoot%\\inf", wiztest::ReadDevicePath(NativeView())) << "from the end";
    WriteText(NativeView(), std::string("D:\\Old;") + kFolder + ";;E:\\x;" + kFolder + ";F:\\" + kFolder + " 2");
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";D:\\Old;;E:\\x;F:\\" + kFolder + " 2", wiztest::ReadDevicePath(NativeView()))
        << "every entry that lists it goes, every other stays as it was";
}

TEST_F(AddDevicePathTest, APrefixOfALongerEntryDoesNotCount) {
    const std::string value = "C:\\Program Files\\Kestrin Duoflex Old;%SystemRoot%\\inf";
    WriteText(NativeView(), value);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";" + value, wiztest::ReadDevicePath(NativeView()));
}

TEST_F(AddDevicePathTest, ExtendsAValueLongerThan256Bytes) {
    std::string value = "%SystemRoot%\\inf";
    for (int i = 0; value.size() < 2000; ++i)
        value += ";D:\\Drivers\\Vendor " + std::to_string(i);
    WriteText(NativeView(), value);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";" + value, wiztest::ReadDevicePath(NativeView()));
}

TEST_F(AddDevicePathTest, FindsTheFolderAtTheEndOfALongValueAndMovesIt) {
    std::string value = "%SystemRoot%\\inf";
    for (int i = 0; value.size() < 2000; ++i)
        value += ";D:\\Drivers\\Vendor " + std::to_string(i);
    WriteText(NativeView(), value + ";" + kFolder);
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";" + value, wiztest::ReadDevicePath(NativeView()));
}

TEST_F(AddDevicePathTest, EditsTheNativeViewOnly) {
    WriteText(NativeView(), "%SystemRoot%\\inf");
    if (RedirectedView())
        WriteText(RedirectedView(), "%SystemRoot%\\inf;E:\\Redirected");
    EXPECT_TRUE(AddDevicePath(kFolder));
    EXPECT_EQ(std::string(kFolder) + ";%SystemRoot%\\inf", wiztest::ReadDevicePath(NativeView()));
    if (RedirectedView()) {
        EXPECT_EQ("%SystemRoot%\\inf;E:\\Redirected", wiztest::ReadDevicePath(RedirectedView()));
    }
}

TEST_F(AddDevicePathTest, FailsWithoutAValueAndCreatesNone) {
    DeleteValue(NativeView());
    EXPECT_FALSE(AddDevicePath(kFolder));
    EXPECT_EQ("<missing>", wiztest::ReadDevicePath(NativeView()));
}

TEST_F(AddDevicePathTest, LeavesAValueThatIsNoString) {
    DWORD number = 5;
    Write(NativeView(), REG_DWORD, &number, sizeof(number));
    EXPECT_FALSE(AddDevicePath(kFolder));
    DWORD type = REG_NONE;
    wiztest::ReadDevicePath(NativeView(), &type);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
}

TEST_F(AddDevicePathTest, RefusesAFolderBeyondMaxPath) {
    WriteText(NativeView(), "%SystemRoot%\\inf");
    std::string folder = "C:\\" + std::string(300, 'k');
    EXPECT_FALSE(AddDevicePath(folder.c_str()));
    EXPECT_EQ("%SystemRoot%\\inf", wiztest::ReadDevicePath(NativeView()));
}
