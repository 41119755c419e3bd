// Every operation that a run's rows call answers true only when its work is
// done: for each one, a prefix in which the work cannot be done, and the
// answer then. An operation a run calls without a case here fails the test.
#include <gtest/gtest.h>

#include <windows.h>

#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

class StepAnswersTest : public EngineTest {
public:
    using EngineTest::scratch;

    void TearDown() override {
        DeleteMenuFolderFile();
        EngineTest::TearDown();
    }
    // Each case begins as a first installation would.
    void Reset() {
        DeleteMenuFolderFile();
        wiztest::RemoveProductTraces();
        wiztest::DeleteTree(scratch / "Kestrin Duoflex");
        ComposeSetupState(scratch);
    }
    // A first installation in scratch, as far as removal needs it.
    void Install() {
        SetInstallDir((scratch / "Kestrin Duoflex").c_str());
        ASSERT_TRUE(InstallFiles());
        ASSERT_TRUE(CreateShortcuts());
        ASSERT_TRUE(RegisterUninstall());
    }
    void DeleteHelperLibrary() const {
        ASSERT_TRUE(DeleteFileA((Str(g_setup.setupCopyDir) + "\\DevAgent.dll").c_str()));
    }
    static std::string Str(const String& text) { return text.c_str(); }

private:
    // What the shortcut case puts where the menu folder goes.
    static void DeleteMenuFolderFile() { DeleteFileA((ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct).c_str()); }
};

struct UndoneWork {
    bool (*operation)();
    const char* how;  // how the work is kept from being done
    void (*prepare)(StepAnswersTest& test);
};

// A name too long for any registry key, and for the path the store composes
// to ask after one: the uninstall entry of that name can be neither made nor
// told to be gone.
void OverlongEntryName(StepAnswersTest&) { g_setup.uninstallKeyName = std::string(2100, 'k').c_str(); }

const UndoneWork kUndoneWork[] = {
    {RestoreInstallDir, "no uninstall entry to restore from", [](StepAnswersTest&) {}},
    {InstallFiles, "no program file to copy",
     [](StepAnswersTest& test) { g_setup.setupExePath = (test.scratch / "absent.exe").c_str(); }},
    {CreateShortcuts, "a file where the menu folder goes",
     [](StepAnswersTest&) { ASSERT_TRUE(wiztest::WriteTextFile(g_setup.menuFolderDir.c_str(), "file")); }},
    {TuneTcpParameters, "no TCP/IP key to write into",
     [](StepAnswersTest&) { wiztest::RegDeleteTree(HKEY_LOCAL_MACHINE, kTcpKey); }},
    {RegisterUninstall, "an entry name no key can have", OverlongEntryName},
    {InstallDriver, "nothing installed: no package, no device-install library",
     [](StepAnswersTest& test) { SetInstallDir((test.scratch / "Kestrin Duoflex").c_str()); }},
    {RemoveFiles, "a read-only file of the package",
     [](StepAnswersTest& test) {
         test.Install();
         std::string inf = StepAnswersTest::Str(g_setup.installDir) +
                           (g_setup.osCode == kOsVistaAmd64 ? "\\vxa3864.inf" : "\\vxa38.inf");
         ASSERT_TRUE(SetFileAttributesA(inf.c_str(), FILE_ATTRIBUTE_READONLY));
     }},
    {RemoveAdapterDevice, "no device-install library",
     [](StepAnswersTest& test) {
         test.Install();
         test.DeleteHelperLibrary();
     }},
    {RemoveShortcuts, "a read-only Uninstall link",
     [](StepAnswersTest& test) {
         test.Install();
         ASSERT_TRUE(SetFileAttributesA(g_setup.menuUninstallLink.c_str(), FILE_ATTRIBUTE_READONLY));
     }},
    {UnregisterUninstall, "an entry name no key can have", OverlongEntryName},
};

const UndoneWork* FindUndoneWork(bool (*operation)()) {
    for (const UndoneWork& work : kUndoneWork)
        if (work.operation == operation)
            return &work;
    return nullptr;
}

}  // namespace

TEST_F(StepAnswersTest, EveryOperationOfBothRunsAnswersFalseForWorkNotDone) {
    KeyTree tcp = SaveKeyTree(HKEY_LOCAL_MACHINE, kTcpKey);
    for (const EngineRun* run : {&installationRun, &removalRun}) {
        std::vector<const RunStep*> rows;
        if (run->maintenanceFirst)
            rows.push_back(run->maintenanceFirst);
        for (const RunStep* row = run->steps; row < run->steps + run->stepCount; ++row)
            rows.push_back(row);
        for (const RunStep* row : rows) {
            if (!row->operation)
                continue;
            const UndoneWork* work = FindUndoneWork(row->operation);
            if (!work) {
                ADD_FAILURE() << "no case of work not done for the step named \"" << row->failureName << "\"";
                continue;
            }
            SCOPED_TRACE(std::string(row->failureName) + ": " + work->how);
            Reset();
            work->prepare(*this);
            EXPECT_FALSE(row->operation());
            RestoreKeyTree(HKEY_LOCAL_MACHINE, kTcpKey, tcp);
        }
    }
}
