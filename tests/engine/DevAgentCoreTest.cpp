// DevAgent.dll's work through its table of device calls: the arguments it
// checks, what it asks Windows for, and how it reports what Windows answered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DevAgent.h"
#include "DevAgentCore.h"
#include "DevAgentWow64.h"
#include "DeviceRemoval.h"
#include "support/TestSupport.h"

namespace {

bool Contains(const std::string& list, const char* item) {
    return MultiSzContainsNoCase(list.data(), list.size(), item);
}

// What the stand-ins for the device calls were asked and are to answer.
struct FakeDevices {
    int locateCalls = 0;
    bool locateGotRootRequest = false;
    CONFIGRET locateAnswer = CR_SUCCESS;
    int reenumerateCalls = 0;
    DEVINST reenumeratedNode = 0;
    ULONG reenumerateFlags = 0;
    CONFIGRET reenumerateAnswer = CR_SUCCESS;
    int getClassDevsCalls = 0;
    DWORD getClassDevsFlags = 0;
    DWORD getClassDevsError = ERROR_SUCCESS;  // when set, the call fails with it
    int classInstallerCalls = 0;
    BOOL wow64 = FALSE;
    std::vector<std::string> agentCommandLines;  // the agent program is never really started
    int packageCalls = 0;                         // staging, updating, deleting packages
};
FakeDevices fake;

const DEVINST kRootNode = 0x1234;

CONFIGRET WINAPI FakeLocate(PDEVINST node, DEVINSTID_A deviceId, ULONG) {
    ++fake.locateCalls;
    fake.locateGotRootRequest = deviceId == nullptr;
    *node = kRootNode;
    return fake.locateAnswer;
}

CONFIGRET WINAPI FakeReenumerate(DEVINST node, ULONG flags) {
    ++fake.reenumerateCalls;
    fake.reenumeratedNode = node;
    fake.reenumerateFlags = flags;
    return fake.reenumerateAnswer;
}

HDEVINFO WINAPI FakeGetClassDevs(const GUID*, PCSTR, HWND, DWORD flags) {
    ++fake.getClassDevsCalls;
    fake.getClassDevsFlags = flags;
    if (fake.getClassDevsError != ERROR_SUCCESS) {
        SetLastError(fake.getClassDevsError);
        return INVALID_HANDLE_VALUE;
    }
    return SetupDiCreateDeviceInfoList(nullptr, nullptr);  // no device at all
}

BOOL WINAPI FakeClassInstaller(DI_FUNCTION, HDEVINFO, PSP_DEVINFO_DATA) {
    ++fake.classInstallerCalls;
    return TRUE;
}

BOOL WINAPI FakeIsWow64(HANDLE, PBOOL wow64) {
    *wow64 = fake.wow64;
    return TRUE;
}

BOOL WINAPI FakeCreateProcess(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                              LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    fake.agentCommandLines.push_back(commandLine);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FakeCopyOEMInf(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR*) {
    ++fake.packageCalls;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FakeUpdateDriver(HWND, LPCSTR, LPCSTR, DWORD, PBOOL) {
    ++fake.packageCalls;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FakeUninstallOEMInf(PCSTR, DWORD, PVOID) {
    ++fake.packageCalls;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

const DeviceApi kFakeApi = {FakeGetClassDevs, FakeClassInstaller, FakeLocate,       FakeReenumerate,
                            FakeIsWow64,      FakeCreateProcess,  FakeCopyOEMInf,   FakeUpdateDriver,
                            FakeUninstallOEMInf};

class DeviceCallsTest : public ::testing::Test {
protected:
    void SetUp() override { fake = FakeDevices(); }
};

}  // namespace

TEST(MultiSzContainsNoCase, FindsAnyEntryOfTheList) {
    std::string list("PCI\\VEN_7A3C&DEV_0B52&SUBSYS_00011234\0PCI\\VEN_7A3C&DEV_0B52\0\0", 62);
    EXPECT_TRUE(Contains(list, "PCI\\VEN_7A3C&DEV_0B52"));
    EXPECT_TRUE(Contains(list, "PCI\\VEN_7A3C&DEV_0B52&SUBSYS_00011234"));
    EXPECT_TRUE(Contains(list, "pci\\ven_7a3c&dev_0b52"));
}

TEST(MultiSzContainsNoCase, WantsTheWholeEntry) {
    std::string list("PCI\\VEN_7A3C&DEV_0B52&REV_01\0\0", 31);
    EXPECT_FALSE(Contains(list, "PCI\\VEN_7A3C&DEV_0B52"));
    EXPECT_FALSE(Contains(list, "PCI\\VEN_7A3C&DEV_0B52&REV_01&X"));
    EXPECT_FALSE(Contains(std::string("PCI\\VEN_7A3C\0\0", 14), "PCI\\VEN_7A3C&DEV_0B52"));
}

TEST(MultiSzContainsNoCase, StopsAtTheEndOfTheDataOrOfTheList) {
    std::string unterminated = "PCI\\VEN_7A3C&DEV_0B52";
    EXPECT_TRUE(Contains(unterminated, "PCI\\VEN_7A3C&DEV_0B52"));
    EXPECT_FALSE(MultiSzContainsNoCase(unterminated.data(), unterminated.size() - 1, "PCI\\VEN_7A3C&DEV_0B52"));
    std::string afterTheEnd("A\0\0PCI\\VEN_7A3C&DEV_0B52\0", 25);
    EXPECT_FALSE(Contains(afterTheEnd, "PCI\\VEN_7A3C&DEV_0B52")) << "an empty entry ends the list";
    EXPECT_FALSE(Contains(std::string(), "A"));
    EXPECT_FALSE(Contains(std::string("A\0", 2), ""));
}

// Callers give three errors a meaning: success, "no such device" (nothing to
// remove, which the engine accepts) and "call not implemented" (the 64-bit
// agent program takes over). No other answer may turn into one of them.
TEST(Win32ErrorFromConfigRet, OnlyTheirOwnAnswersGiveTheErrorsCallersActOn) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), Win32ErrorFromConfigRet(CR_SUCCESS));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), Win32ErrorFromConfigRet(CR_NO_SUCH_DEVNODE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), Win32ErrorFromConfigRet(CR_CALL_NOT_IMPLEMENTED));
    std::vector<CONFIGRET> others = {0x7777};
    for (CONFIGRET result = CR_SUCCESS + 1; result < NUM_CR_RESULTS; ++result) {
        if (result != CR_NO_SUCH_DEVNODE && result != CR_CALL_NOT_IMPLEMENTED)
            others.push_back(result);
    }
    for (CONFIGRET result : others) {
        DWORD error = Win32ErrorFromConfigRet(result);
        EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), error) << result;
        EXPECT_NE(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), error) << result;
        EXPECT_NE(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), error) << result;
    }
}

TEST_F(DeviceCallsTest, ReenumerationAsksForTheWholeTreeSynchronouslyRetryingInstallation) {
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(ReenumerateDeviceTree(kFakeApi));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_EQ(1, fake.locateCalls);
    EXPECT_TRUE(fake.locateGotRootRequest);
    EXPECT_EQ(1, fake.reenumerateCalls);
    EXPECT_EQ(kRootNode, fake.reenumeratedNode);
    EXPECT_EQ(static_cast<ULONG>(CM_REENUMERATE_SYNCHRONOUS | CM_REENUMERATE_RETRY_INSTALLATION),
              fake.reenumerateFlags);
}

TEST_F(DeviceCallsTest, ReenumerationWithoutTheRootNodeFailsAndSaysWhy) {
    fake.locateAnswer = CR_CALL_NOT_IMPLEMENTED;
    EXPECT_FALSE(ReenumerateDeviceTree(kFakeApi));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), GetLastError());
    EXPECT_EQ(0, fake.reenumerateCalls);
}

TEST_F(DeviceCallsTest, ARefusedReenumerationIsAFailure) {
    fake.reenumerateAnswer = CR_ACCESS_DENIED;
    EXPECT_FALSE(ReenumerateDeviceTree(kFakeApi));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

TEST_F(DeviceCallsTest, FlagOneAlsoTakesTheDevicesNotPresent) {
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "PCI\\VEN_7A3C&DEV_0B52", 1));
    EXPECT_EQ(static_cast<DWORD>(DIGCF_ALLCLASSES), fake.getClassDevsFlags);
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "PCI\\VEN_7A3C&DEV_0B52", 0));
    EXPECT_EQ(static_cast<DWORD>(DIGCF_ALLCLASSES | DIGCF_PRESENT), fake.getClassDevsFlags);
}

TEST_F(DeviceCallsTest, NoMatchingDeviceIsReportedAsSuch) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "PCI\\VEN_7A3C&DEV_0B52", 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError());
    EXPECT_EQ(0, fake.classInstallerCalls);
}

TEST_F(DeviceCallsTest, RemovalRefusesMissingIdsAndUnknownFlags) {
    for (DWORD flags : {DWORD(2), DWORD(0x80000000), DWORD(3)}) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "PCI\\VEN_7A3C&DEV_0B52", flags)) << flags;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError()) << flags;
    }
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, nullptr, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "", 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, fake.getClassDevsCalls);
}

TEST_F(DeviceCallsTest, ADeviceListThatCannotBeHadIsAFailure) {
    fake.getClassDevsError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(RemoveDevicesWithHardwareId(kFakeApi, "PCI\\VEN_7A3C&DEV_0B52", 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

// The agent program's start fails in these tests (FakeCreateProcess): what counts is
// when it is asked for, with which arguments, and that nothing stays behind.
TEST_F(DeviceCallsTest, UnderWow64TheWorkGoesToThe64BitAgentAsWindowsRequires) {
    wiztest::ScratchDir scratch;
    ASSERT_TRUE(CopyFileA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str(),
                          (scratch / "DevAgent.dll").c_str(), FALSE));
    HMODULE agent = LoadLibraryA((scratch / "DevAgent.dll").c_str());
    ASSERT_NE(nullptr, agent);

    fake.wow64 = TRUE;
    EXPECT_FALSE(InstallDriverAsAgent(kFakeApi, agent));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError()) << "why the agent program could not run";
    ASSERT_EQ(1u, fake.agentCommandLines.size());
    EXPECT_NE(std::string::npos, fake.agentCommandLines[0].find("\\DevAgent64.exe\" install"));
    EXPECT_EQ(0, fake.packageCalls) << "installation is never tried in a WOW64 process";

    EXPECT_FALSE(RemoveDevicesAsAgent(kFakeApi, agent, "PCI\\VEN_7A3C&DEV_0B52", 1));
    ASSERT_EQ(2u, fake.agentCommandLines.size());
    EXPECT_NE(std::string::npos, fake.agentCommandLines[1].find("\" remove 1 PCI\\VEN_7A3C&DEV_0B52"));
    EXPECT_EQ(0, fake.getClassDevsCalls) << "removal is never tried in a WOW64 process";
    EXPECT_EQ(0, fake.packageCalls);
    for (const char* id : {"PCI\\VEN\" remove 0 X", "PCI VEN", ""}) {
        EXPECT_FALSE(RemoveDevicesAsAgent(kFakeApi, agent, id, 1));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError()) << id;
    }
    EXPECT_FALSE(RemoveDevicesAsAgent(kFakeApi, agent, "PCI\\VEN_7A3C&DEV_0B52", 2));
    EXPECT_EQ(2u, fake.agentCommandLines.size()) << "refused arguments start no agent program";
    FreeLibrary(agent);
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll"}), wiztest::ListFolder(scratch.Path()));
}
