// TuneTcpParameters, RegisterUninstall and CreateShortcuts on their own.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

std::string Str(const String& text) { return text.c_str(); }

std::string UninstallValue(const char* name) { return wiztest::RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, name); }

bool HasUninstallValue(const char* name) {
    DWORD type;
    std::vector<unsigned char> data;
    return wiztest::RegReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, name, &type, &data);
}

bool HasTcpValue(const char* name) {
    DWORD type;
    std::vector<unsigned char> data;
    return wiztest::RegReadValue(HKEY_LOCAL_MACHINE, kTcpKey, name, &type, &data);
}

class RegisterTest : public EngineTest {};

// The TCP/IP key taken away for one test and put back with all it held.
class MissingTcpKeyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        saved = SaveKeyTree(HKEY_LOCAL_MACHINE, kTcpKey);
        ASSERT_TRUE(saved.present);
        wiztest::RegDeleteTree(HKEY_LOCAL_MACHINE, kTcpKey);
    }
    void TearDown() override {
        RestoreKeyTree(HKEY_LOCAL_MACHINE, kTcpKey, saved);
        EngineTest::TearDown();
    }
    KeyTree saved;
};

}  // namespace

TEST_F(RegisterTest, TcpTuningWritesTheFourDwordValues) {
    EXPECT_TRUE(TuneTcpParameters());
    const std::pair<const char*, DWORD> expected[] = {
        {"TCPWindowSize", 0x10000}, {"SackOpts", 1}, {"TcpMaxDupAcks", 2}, {"Tcp1323Opts", 1}};
    for (const auto& value : expected) {
        DWORD type = REG_NONE;
        std::vector<unsigned char> data;
        ASSERT_TRUE(wiztest::RegReadValue(HKEY_LOCAL_MACHINE, kTcpKey, value.first, &type, &data)) << value.first;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << value.first;
        ASSERT_EQ(4u, data.size()) << value.first;
        EXPECT_EQ(value.second, *reinterpret_cast<const DWORD*>(data.data())) << value.first;
    }
}

TEST_F(MissingTcpKeyTest, TcpTuningWithoutItsKeyWritesNothing) {
    EXPECT_FALSE(TuneTcpParameters());
    EXPECT_FALSE(wiztest::RegKeyExists(HKEY_LOCAL_MACHINE, kTcpKey)) << "the key is opened, never created";
    EXPECT_FALSE(HasTcpValue("TCPWindowSize"));
}

TEST_F(RegisterTest, TheEntryRecordsTheProductWithAQuotedCommand) {
    EXPECT_TRUE(RegisterUninstall());
    EXPECT_EQ(kProduct, UninstallValue("DisplayName"));
    EXPECT_EQ("\"" + Str(g_setup.setupCopyPath) + "\"", UninstallValue("UninstallString"));
    EXPECT_NE(std::string::npos, UninstallValue("UninstallString").find(' '))
        << "the quotes matter: the path has spaces";
    EXPECT_EQ(Str(g_setup.installDir), UninstallValue("AppFolder"));
    EXPECT_EQ(Str(g_setup.menuFolderDir), UninstallValue("ProgramsFolder"));
}

TEST_F(RegisterTest, ASecondRegistrationOverwritesTheValues) {
    ASSERT_TRUE(RegisterUninstall());
    std::string moved = scratch / "Moved";
    SetInstallDir(moved.c_str());
    EXPECT_TRUE(RegisterUninstall());
    EXPECT_EQ(moved, UninstallValue("AppFolder"));
}

TEST_F(RegisterTest, AValueOfTheBuffersLengthIsWrittenWhole) {
    std::string longest = "C:\\" + std::string(256, 'f');  // 259 characters
    SetInstallDir(longest.c_str());
    EXPECT_TRUE(RegisterUninstall());
    EXPECT_EQ(longest, UninstallValue("AppFolder"));
}

TEST_F(RegisterTest, AValueLongerThanItsBufferIsNotWrittenCutShort) {
    std::string tooLong = "C:\\" + std::string(257, 'f');  // 260 characters
    SetInstallDir(tooLong.c_str());
    EXPECT_FALSE(RegisterUninstall());
    EXPECT_EQ(kProduct, UninstallValue("DisplayName"));
    EXPECT_TRUE(HasUninstallValue("UninstallString"));
    EXPECT_FALSE(HasUninstallValue("AppFolder"));
    EXPECT_FALSE(HasUninstallValue("ProgramsFolder")) << "the values after a failed one are not written";
}

TEST_F(RegisterTest, TheShortcutLeadsToTheSetupCopy) {
    EXPECT_TRUE(CreateShortcuts());
    LinkInfo info = ReadShortcut(Str(g_setup.menuUninstallLink));
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(Str(g_setup.setupCopyPath), info.target);
    EXPECT_EQ(Str(g_setup.setupCopyDir), info.workingFolder);
    EXPECT_EQ(std::vector<std::string>({"Uninstall.lnk"}), ListFiles(Str(g_setup.menuFolderDir)));
}

TEST_F(RegisterTest, AShortcutThatCouldNotBeMadeIsReported) {
    // A file where the product's menu folder should be: neither folder nor link can be made.
    std::string menuFolder = Str(g_setup.menuFolderDir);
    ASSERT_TRUE(wiztest::WriteTextFile(menuFolder, "file"));
    EXPECT_FALSE(CreateShortcuts());
    EXPECT_FALSE(wiztest::PathExists(Str(g_setup.menuUninstallLink)));
    EXPECT_TRUE(DeleteFileA(menuFolder.c_str()));

    // A menu folder that is not the product's (here: outside both Programs folders) gets no link.
    std::string elsewhere = scratch / kProduct;
    g_setup.menuFolderDir = elsewhere.c_str();
    g_setup.menuUninstallLink = (elsewhere + "\\Uninstall.lnk").c_str();
    EXPECT_FALSE(CreateShortcuts());
    EXPECT_FALSE(wiztest::PathExists(elsewhere));
}

TEST_F(RegisterTest, WithoutAProgramsFolderNothingIsCreatedAndRemovalDeletesNothing) {
    g_setup.programsMenuDir = "";
    g_setup.menuFolderDir = "";
    g_setup.menuUninstallLink = "";
    g_setup.menuUtilityLink = "";
    std::string userPrograms = ShellFolder(CSIDL_PROGRAMS);
    std::string canary = userPrograms + "\\" + wiztest::UniqueName("WizTest canary") + ".txt";
    ASSERT_TRUE(wiztest::WriteTextFile(canary, "keep"));

    EXPECT_TRUE(CreateShortcuts());
    EXPECT_FALSE(wiztest::PathExists(userPrograms + "\\" + kProduct));
    EXPECT_TRUE(RegisterUninstall());
    EXPECT_TRUE(HasUninstallValue("ProgramsFolder"));
    EXPECT_EQ("", UninstallValue("ProgramsFolder"));

    EXPECT_TRUE(RemoveShortcuts()) << "the value was read";
    EXPECT_TRUE(wiztest::PathExists(canary));
    EXPECT_TRUE(wiztest::IsDirectory(userPrograms));
    DeleteFileA(canary.c_str());
}
