#pragma once
// What the engine tests share: the setup state composed as the wizard composes
// it, the prefix state the engine changes (saved before, put back after), and
// readers for what the engine leaves behind.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/wizInstall.h"
#include "support/ProductTraces.h"
#include "support/TestSupport.h"

namespace enginetest {

using wiztest::kProduct;
using wiztest::kUninstallKey;
const char kTcpKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

using wiztest::RestoreValue;
using wiztest::SavedValue;
using wiztest::SaveValue;

// A whole key with its values and subkeys, to take away and put back.
struct KeyTree {
    bool present = false;
    std::vector<std::pair<std::string, SavedValue>> values;
    std::vector<std::pair<std::string, KeyTree>> subkeys;
};
KeyTree SaveKeyTree(HKEY root, const std::string& key);
void RestoreKeyTree(HKEY root, const std::string& key, const KeyTree& tree);

using wiztest::NativeView;
using wiztest::RedirectedView;
// DevicePath in the view Plug and Play reads.
std::string DevicePath(DWORD* type = nullptr);

using wiztest::DeleteProductTree;
using wiztest::ProgramFilesDir;
using wiztest::ShellFolder;

// Calls the operations of a run's rows in order, as its progress page does (the
// maintenance row when g_setup.alreadyInstalled); the Finish page's names of
// those that did not do their work.
std::vector<std::string> RunOperations(const EngineRun& run);
const std::vector<std::string> kNoFailures;

// Made on the host by make-links.sh: a link to the Windows folder, and a
// Programs folder whose product folder is such a link.
const char kWindowsLink[] = "C:\\wiztest-links\\windows";
const char kLinkedPrograms[] = "C:\\wiztest-links\\Programs";

// The prefix state that the install and removal sequences change, put back by
// Restore: DevicePath in both views, the four TCP/IP values (their key is
// made for the test when the prefix lacks it), the uninstall entry, the
// product's folders below Program Files and in both Start menus.
class PrefixState {
public:
    void Save();
    void Restore();

private:
    bool tcpKeyMade = false;
    std::vector<std::unique_ptr<wiztest::SavedRegistryValue>> values;
};

// g_setup composed from this prefix as the wizard composes it. The desktop and
// Startup links (never made by the installation, only deleted by removal) are
// moved into scratch, because the prefix's Desktop is the host's home folder.
void ComposeSetupState(const wiztest::ScratchDir& scratch);

// A test that changes the prefix and leaves it as it found it.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    wiztest::ScratchDir scratch;
    PrefixState prefix;
};

using wiztest::ListFiles;
bool SameBytes(const std::string& first, const std::string& second);
std::string ReadText(const std::string& path);
using wiztest::ModulePath;
std::string PayloadFile(const std::string& name);

// Serves bytes as this test program's "FILE" resource id for as long as it
// lives, as if the program had been built with them: FindResourceA answers the
// resource's directory entry, which is pointed at the bytes and put back after.
class SubstitutedResource {
public:
    SubstitutedResource(int id, const std::vector<unsigned char>& bytes);
    ~SubstitutedResource();
    SubstitutedResource(const SubstitutedResource&) = delete;
    SubstitutedResource& operator=(const SubstitutedResource&) = delete;
    // Whether the program's resource functions now answer the bytes.
    bool IsActive() const;

private:
    int id;
    std::vector<unsigned char> bytes;
    IMAGE_RESOURCE_DATA_ENTRY* entry = nullptr;
    IMAGE_RESOURCE_DATA_ENTRY saved = {};
};

using wiztest::LinkInfo;
using wiztest::ReadShortcut;

// What Wine's own list of installed programs shows ("uninstaller --list").
std::string InstalledProgramsList();

using wiztest::CreateUninstallEntry;
using wiztest::WriteUninstallString;

}  // namespace enginetest
