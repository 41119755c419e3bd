// InstallDriver and RemoveAdapterDevice with stand-in libraries in the setup
// folder, and DevicePath as the prefix holds it.
#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <cstring>
#include <iostream>
#include <string>

#include "EngineTestSupport.h"
#include "agents/AgentRecord.h"
#include "engine/wizInstall.h"
#include "fw/SystemLibrary.h"
#include "state/SetupState.h"
#include "support/TestDevices.h"

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
        PlacePackage(installFolder, {".sys", ".cat", ".inf"});
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
    static void SetDevicePath(const std::string& value) {
        SavedValue saved;
        saved.present = true;
        saved.type = REG_EXPAND_SZ;
        saved.data.assign(value.c_str(), value.c_str() + value.size() + 1);
        RestoreValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "DevicePath", saved, NativeView());
    }

    // The package this prefix installs (the 64-bit one on 64-bit Windows), as built.
    static std::string Base() { return wiztest::Is64BitPrefix() ? "vxa3864" : "vxa38"; }
    static std::string BuiltInf() { return PayloadFile(Base() + ".inf"); }
    // The built package's files of these extensions in folder, its INF's
    // version replaced by `version` when one is given.
    static void PlacePackage(const std::string& folder, std::initializer_list<const char*> extensions,
                             const char* version = nullptr) {
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* extension : extensions) {
            std::string name = Base() + extension, target = folder + "\\" + name;
            std::string text = ReadText(PayloadFile(name));
            size_t at = text.find(kBuiltVersion);
            if (version && at != std::string::npos && std::string(extension) == ".inf")
                ASSERT_TRUE(wiztest::WriteTextFile(target, text.replace(at, strlen(kBuiltVersion), version)));
            else
                ASSERT_TRUE(CopyFileA(PayloadFile(name).c_str(), target.c_str(), FALSE)) << name;
        }
        ASSERT_TRUE(!version || ReadText(folder + "\\" + Base() + ".inf").find(version) != std::string::npos);
    }
    std::string InstalledInf() const { return installFolder + "\\" + Base() + ".inf"; }

    static constexpr const char* kBuiltVersion = "1.0.38.0";
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

// The library would stage an older package from a folder further back on the search path.
TEST_F(InstallDriverTest, WithoutTheBuiltInfInTheInstallFolderTheLibraryIsNotAsked) {
    AgentRecord* record = PlaceRecordingAgent();
    ASSERT_NE(nullptr, record);
    record->enumerateSucceeds = TRUE;
    LONG before = record->enumerateCalls;
    ASSERT_TRUE(DeleteFileA(InstalledInf().c_str()));
    EXPECT_FALSE(InstallDriver()) << "no INF";
    PlacePackage(installFolder, {".inf"}, "1.0.37.0");
    EXPECT_FALSE(InstallDriver()) << "an INF other than the one the setup carries";
    EXPECT_EQ(before, record->enumerateCalls);
    EXPECT_TRUE(DevicePathListsInstallFolder()) << "the search path is set all the same";
    PlacePackage(installFolder, {".inf"});
    EXPECT_TRUE(InstallDriver());
    EXPECT_EQ(before + 1, record->enumerateCalls);
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

namespace {

// The wizard's driver step with the library it installs, an adapter in the
// prefix's device tree, and an older package of the product on the search path.
class StalePackageTest : public InstallDriverTest {
protected:
    void SetUp() override {
        InstallDriverTest::SetUp();
        ASSERT_TRUE(CopyFileA(PayloadFile("DevAgent.dll").c_str(), (setupFolder + "\\DevAgent.dll").c_str(), FALSE));
        olderFolder = scratch / "Older";
        PlacePackage(olderFolder, {".sys", ".cat", ".inf"}, "1.0.37.0");
        adapter = devices.CreateDevice({wiztest::kAdapterId});
    }
    void TearDown() override {
        devices.RemoveAll();
        wiztest::DeleteStagedCopies(olderFolder + "\\" + Base() + ".inf");
        DeleteFileA((wiztest::NativeDriversFolder() + "\\" + Base() + ".sys").c_str());
        InstallDriverTest::TearDown();
    }
    wiztest::DeviceDriver AdapterDriver(const char* when) {
        wiztest::DeviceDriver driver = wiztest::ReadDeviceDriver(adapter);
        std::cout << "[" << wiztest::PrefixName() << "] " << when << ": " << wiztest::Describe(driver) << "\n";
        return driver;
    }
    bool InstalledFrom(const wiztest::DeviceDriver& driver, const std::string& inf) {
        return !driver.infPath.empty() && SameBytes(wiztest::WindowsInfFolder() + "\\" + driver.infPath, inf);
    }

    wiztest::TestDevices devices;
    std::string olderFolder, adapter;
};

}  // namespace

TEST_F(StalePackageTest, TheInstallFoldersPackageGoesOnTheAdapterOverAnOlderOneEarlierOnTheSearchPath) {
    SetDevicePath(olderFolder + ";" + installFolder + ";" + originalDevicePath);
    EXPECT_TRUE(InstallDriver());
    wiztest::DeviceDriver driver = AdapterDriver("the install folder second on the search path, after the step");
    EXPECT_EQ(installFolder + ";" + olderFolder + ";" + originalDevicePath, DevicePath())
        << "moved to the front, the others kept in their order";
    EXPECT_TRUE(InstalledFrom(driver, BuiltInf())) << wiztest::Describe(driver);
    EXPECT_EQ(kBuiltVersion, driver.driverVersion);
}

TEST_F(StalePackageTest, AnOlderPackageFurtherBackNeverStandsInForTheInstallFoldersMissingInf) {
    ASSERT_TRUE(DeleteFileA(InstalledInf().c_str()));  // it did not arrive
    SetDevicePath(olderFolder + ";" + originalDevicePath);
    EXPECT_FALSE(InstallDriver());
    wiztest::DeviceDriver driver = AdapterDriver("no INF in the install folder, after the step");
    EXPECT_EQ("", driver.infPath) << wiztest::Describe(driver);
    EXPECT_TRUE(wiztest::StagedInfsContaining("DriverVer   = 06/15/2009,1.0.37.0").empty()) << "nothing staged";
}
