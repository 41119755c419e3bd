// The install sequence, a repair and the removal sequence, in the order the
// progress pages run them, against the prefix's registry, files, shell links
// and cabinet library.
#include <gtest/gtest.h>

#include <algorithm>

#include "EngineTestSupport.h"
#include "support/TestDevices.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

struct Architecture {
    WORD osCode;
    std::vector<std::string> driverFiles, otherDriverFiles;
};

Architecture PrefixArchitecture() {
    std::vector<std::string> x86 = {"vxa38.cat", "vxa38.inf", "vxa38.sys"};
    std::vector<std::string> amd64 = {"vxa3864.cat", "vxa3864.inf", "vxa3864.sys"};
    if (wiztest::Is64BitPrefix())
        return {kOsVistaAmd64, amd64, x86};
    return {kOsVistaX86, x86, amd64};
}

std::string Str(const String& text) { return text.c_str(); }

DWORD TcpValue(const std::string& name, DWORD* type) {
    std::vector<unsigned char> data;
    *type = REG_NONE;
    if (!wiztest::RegReadValue(HKEY_LOCAL_MACHINE, kTcpKey, name, type, &data) || data.size() != 4)
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(data.data());
}

// Value names as the key stores them, to see their exact spelling.
std::vector<std::string> ValueNames(const std::string& key) {
    std::vector<std::string> names;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumValueA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(handle);
    std::sort(names.begin(), names.end());
    return names;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class InstallSequenceTest : public EngineTest {
protected:
    void ExpectInstalledFiles(const Architecture& arch) {
        std::string setupCopyDir = Str(g_setup.setupCopyDir);
        EXPECT_EQ(std::vector<std::string>({"DevAgent.dll", "Setup.exe"}), ListFiles(setupCopyDir))
            << "the setup copy and the helper library, no cabinet left behind";
        EXPECT_TRUE(SameBytes(ModulePath(), setupCopyDir + "\\Setup.exe"));
        EXPECT_TRUE(SameBytes(PayloadFile("DevAgent.dll"), setupCopyDir + "\\DevAgent.dll"));

        std::vector<std::string> expected = arch.driverFiles;
        expected.insert(expected.begin(), "~NoKill.wiz");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, ListFiles(installDir)) << "the package of this architecture only, and the marker";
        for (const std::string& file : arch.driverFiles)
            EXPECT_TRUE(SameBytes(PayloadFile(file), installDir + "\\" + file)) << file;
    }

    void ExpectTcpValues() {
        std::vector<std::string> names = ValueNames(kTcpKey);
        for (const char* name : {"TCPWindowSize", "SackOpts", "TcpMaxDupAcks", "Tcp1323Opts"})
            EXPECT_NE(names.end(), std::find(names.begin(), names.end(), name)) << name << " spelt exactly so";
        const std::pair<const char*, DWORD> expected[] = {
            {"TCPWindowSize", 65536}, {"SackOpts", 1}, {"TcpMaxDupAcks", 2}, {"Tcp1323Opts", 1}};
        for (const auto& value : expected) {
            DWORD type;
            EXPECT_EQ(value.second, TcpValue(value.first, &type)) << value.first;
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << value.first;
        }
    }

    void ExpectUninstallEntry() {
        EXPECT_EQ(std::vector<std::string>({"AppFolder", "DisplayName", "ProgramsFolder", "UninstallString"}),
                  ValueNames(kUninstallKey));
        EXPECT_EQ(kProduct, wiztest::RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
        EXPECT_EQ("\"" + ProgramFilesDir() + "\\Orvel\\Setup\\LQ38\\Kestrin Duoflex\\Setup.exe\"",
                  wiztest::RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
        EXPECT_EQ(installDir, wiztest::RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "AppFolder"));
        EXPECT_EQ(ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct,
                  wiztest::RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "ProgramsFolder"));
        for (const char* name : {"DisplayName", "UninstallString", "AppFolder", "ProgramsFolder"}) {
            DWORD type = REG_NONE;
            std::vector<unsigned char> data;
            ASSERT_TRUE(wiztest::RegReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, name, &type, &data));
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
        }
    }

    void ExpectShortcut() {
        std::string link = ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct + "\\Uninstall.lnk";
        EXPECT_EQ(std::vector<std::string>({"Uninstall.lnk"}), ListFiles(ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct));
        LinkInfo info = ReadShortcut(link);
        ASSERT_TRUE(info.loaded);
        EXPECT_EQ(Str(g_setup.setupCopyPath), info.target);
        EXPECT_EQ(Str(g_setup.setupCopyDir), info.workingFolder);
    }

    void ExpectDevicePathOnce(DWORD originalType) {
        DWORD type = REG_NONE;
        std::string value = DevicePath(&type);
        EXPECT_EQ(installDir + ";" + originalDevicePath, value);
        EXPECT_EQ(1u, Occurrences(value, installDir + ";"));
        EXPECT_EQ(originalType, type) << "the value keeps its type";
    }

    std::string installDir;
    std::string originalDevicePath;
};

}  // namespace

TEST_F(InstallSequenceTest, InstallsRepairsAndRemovesTheProduct) {
    Architecture arch = PrefixArchitecture();
    ASSERT_EQ(arch.osCode, g_setup.osCode);
    DWORD originalType = REG_NONE;
    originalDevicePath = DevicePath(&originalType);
    ASSERT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), originalType);
    EXPECT_EQ(std::string::npos, InstalledProgramsList().find(kProduct));

    // First installation, into a folder the user chose.
    installDir = scratch / "Kestrin Duoflex";
    SetInstallDir(installDir.c_str());
    EXPECT_EQ(kNoFailures, RunOperations(installationRun)) << "the package is staged (no adapter is present)";
    EXPECT_EQ(1u, wiztest::StagedInfsContaining("VEN_7A3C&DEV_0B52").size());
    ExpectInstalledFiles(arch);
    ExpectTcpValues();
    ExpectUninstallEntry();
    ExpectShortcut();
    ExpectDevicePathOnce(originalType);
    EXPECT_NE(std::string::npos, InstalledProgramsList().find(std::string(kProduct) + "|||" + kProduct));

    // A repair: the wizard starts again, finds the entry and goes back into the same folder.
    ASSERT_TRUE(wiztest::WriteTextFile(installDir + "\\~NoKill.wiz", "kept"));
    ComposeSetupState(scratch);
    g_setup.alreadyInstalled = true;
    ASSERT_NE(installDir, Str(g_setup.installDir));
    EXPECT_EQ(kNoFailures, RunOperations(installationRun));
    EXPECT_EQ(installDir, Str(g_setup.installDir)) << "restored before the other steps";
    EXPECT_EQ(installDir + "\\KestrinDuoflex.exe", Str(g_setup.utilityExePath));
    EXPECT_EQ(1u, wiztest::StagedInfsContaining("VEN_7A3C&DEV_0B52").size()) << "staged once";
    ExpectInstalledFiles(arch);
    EXPECT_EQ("kept", ReadText(installDir + "\\~NoKill.wiz")) << "an existing marker stays untouched";
    ExpectTcpValues();
    ExpectUninstallEntry();
    ExpectShortcut();
    ExpectDevicePathOnce(originalType);

    // Removal.
    EXPECT_EQ(kNoFailures, RunOperations(removalRun)) << "no adapter, and the staged package deleted";
    EXPECT_TRUE(wiztest::StagedInfsContaining("VEN_7A3C&DEV_0B52").empty());
    EXPECT_FALSE(wiztest::PathExists(installDir));
    EXPECT_FALSE(wiztest::PathExists(ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct));
    EXPECT_FALSE(wiztest::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll", "Setup.exe"}), ListFiles(Str(g_setup.setupCopyDir)))
        << "removal keeps the setup copy and the helper library";
    ExpectDevicePathOnce(originalType);
    ExpectTcpValues();
    EXPECT_EQ(std::string::npos, InstalledProgramsList().find(kProduct));
}
