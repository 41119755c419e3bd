#include <gtest/gtest.h>

#include <string.h>

#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

TEST(LoadSystemLibrary, TakesLibrariesFromTheSystemFolderOnly) {
    UniqueModule shlwapi(LoadSystemLibrary("shlwapi.dll"));
    ASSERT_TRUE(shlwapi.IsValid());
    char path[MAX_PATH], system[MAX_PATH];
    GetModuleFileNameA(shlwapi.Get(), path, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(0, _strnicmp(path, system, strlen(system))) << path;
    EXPECT_FALSE(UniqueModule(LoadSystemLibrary("no-such-library-here.dll")).IsValid());
}

TEST(EntryPoint, TypesAnExportAndAnswersNullForAMissingOne) {
    typedef DWORD(WINAPI * GetTickCountFn)();
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    GetTickCountFn tickCount = EntryPoint<GetTickCountFn>(kernel32, "GetTickCount");
    ASSERT_NE(nullptr, tickCount);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(kernel32, "GetTickCount")), reinterpret_cast<void*>(tickCount));
    EXPECT_EQ(nullptr, EntryPoint<GetTickCountFn>(kernel32, "NoSuchExportHere"));
    EXPECT_EQ(nullptr, EntryPoint<GetTickCountFn>(nullptr, "GetTickCount"));
}
