// InstallDriver and RemoveAdapterDevice with stand-in libraries in the setup
// folder, and DevicePath as the prefix holds it.
#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <string>

#include "EngineTestSupport.h"
#include "agents/AgentRecord.h"
#include "engine/wizInstall.h"
#include "fw/SystemLibrary.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

class InstallDriverTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        setupFolder = scratch / "Setup";
        installFolder = scratch / "Kestrin Duoflex";
        ASSERT_TRUE(CreateDirectoryA(setupFolder.c_str(), nullptr));
        g_setup.setupCopyDir = setupFolder.c_str();
        SetInstallDir(installFolder.c_str());
        originalDevicePath = DevicePath();
    }
    void TearDown() override {
        if (held)
            FreeLibrary(held);
        EngineTest::TearDown();
    }

    void PlaceAgent(const char* name) {
        ASSERT_TRUE(CopyFileA((wiztest::BuildDir() + "\\tests\\agents\\" + name).c_str(),
                              (setupFolder + "\\DevAgent.dll").c_str(), FALSE));
    }
    // The recording agent, held by the test so that its record outlives the binding's use.
    AgentRecord* PlaceRecordingAgent() {
        PlaceAgent("RecordingAgent.dll");
        held = LoadLibraryA((setupFolder + "\\DevAgent.dll").c_str());
        if (!held)
            return nullptr;
        RecordedCallsFn recorded =
            EntryPoint<RecordedCallsFn>(held, "RecordedCalls");
        return recorded ? recorded() : nullptr;
    }
    bool DevicePathListsInstallFolder() { return DevicePath() == installFolder + ";" + originalDevicePath; }

    std::string setupFolder, installFolder, originalDevicePath;
    HMODULE held = nullptr;
};

}  // namespace

TEST_F(InstallDriverTest, AddsTheFolderToDevicePathAndReportsWhatTheLibraryAnswered) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    LONG before = record->enumerateCalls;
    record->enumerateSucceeds = TRUE;
    EXPECT_TRUE(InstallDriver());
    EXPECT_EQ(before + 1, record->enumerateCalls);
    EXPECT_TRUE(DevicePathListsInstallFolder());
    record->enumerateSucceeds = FALSE;
    record->enumerateError = ERROR_IN_WOW64;
    EXPECT_FALSE(InstallDriver()) << "a driver that was not installed is no success";
    EXPECT_EQ(before + 2, record->enumerateCalls);
}

TEST_F(InstallDriverTest, AFolderThatLeadsToTheWindowsFolderIsNeitherSearchedNorStagedFrom) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    LONG before = record->enumerateCalls;
    record->enumerateSucceeds = TRUE;
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    SetInstallDir((std::string("\\\\?\\") + windows).c_str());
    EXPECT_FALSE(InstallDriver());
    EXPECT_EQ(before, record->enumerateCalls);
    EXPECT_EQ(originalDevicePath, DevicePath());
}

TEST_F(InstallDriverTest, RemovalPassesTheAdapterIdAndOneOnce) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    LONG before = record->removeCalls;
    record->removeSucceeds = TRUE;
    EXPECT_TRUE(RemoveAdapterDevice());
    EXPECT_EQ(before + 1, record->removeCalls);
    EXPECT_STREQ("PCI\\VEN_7A3C&DEV_0B52", record->hardwareId);
    EXPECT_EQ(1u, record->flags);
}

TEST_F(InstallDriverTest, RemovalReportsWhatTheLibraryAnswered) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    record->removeSucceeds = FALSE;
    record->removeError = ERROR_NO_SUCH_DEVINST;
    EXPECT_TRUE(RemoveAdapterDevice()) << "no such device: nothing was there to remove";
    for (DWORD error : {static_cast<DWORD>(ERROR_IN_WOW64), static_cast<DWORD>(ERROR_ACCESS_DENIED),
                        static_cast<DWORD>(ERROR_SUCCESS)}) {
        record->removeError = error;  // ERROR_SUCCESS: the stand-in's ERROR_GEN_FAILURE
        EXPECT_FALSE(RemoveAdapterDevice()) << error;
    }
}

TEST_F(InstallDriverTest, ALibraryWithoutTheEntryPointsFailsBothSteps) {
    PlaceAgent("NoExportAgent.dll");
    EXPECT_FALSE(InstallDriver()) << "no EnumerateDevice: nothing installed the driver";
    EXPECT_FALSE(RemoveAdapterDevice()) << "no RemoveDevice to call";
}

TEST_F(InstallDriverTest, AMissingLibraryFailsBothSteps) {
    EXPECT_FALSE(InstallDriver());
    EXPECT_TRUE(DevicePathListsInstallFolder()) << "the search path is set before the library is needed";
    EXPECT_FALSE(RemoveAdapterDevice());
}

TEST_F(InstallDriverTest, AnUnreadableDevicePathStopsBeforeTheLibrary) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    LONG before = record->enumerateCalls;
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_SET_VALUE | NativeView(), &key));
    RegDeleteValueA(key, "DevicePath");
    RegCloseKey(key);
    EXPECT_FALSE(InstallDriver());
    EXPECT_EQ(before, record->enumerateCalls);
}

TEST_F(InstallDriverTest, ALibraryPathLongerThanItsBufferIsNeverLoaded) {
    // + "\DevAgent.dll" = 260 characters; cut to 259, the path would name a library that is there.
    std::string longFolder = scratch.Path() + "\\" + std::string(246 - scratch.Path().size(), 'f');
    ASSERT_EQ(247u, longFolder.size());
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((wiztest::BuildDir() + "\\tests\\agents\\RecordingAgent.dll").c_str(),
                          (longFolder + "\\DevAgent.dl").c_str(), FALSE));
    g_setup.setupCopyDir = longFolder.c_str();
    EXPECT_FALSE(InstallDriver());
    EXPECT_FALSE(RemoveAdapterDevice());
}
