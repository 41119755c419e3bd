#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devagent/DevAgent.h"
#include "fw/SystemLibrary.h"
#include "payload/CabBuilder.h"
#include "payload/CabFiles.h"
#include "payload/ResourceFile.h"
#include "payload/wizCab.h"
#include "res/resource.h"
#include "support/TestSupport.h"

using cabtest::Bytes;
using cabtest::ListFolder;
using wiztest::ReadFileBytes;
using wiztest::ScratchDir;

namespace {

struct PayloadCabinet {
    int id;
    const char* fileName;
    std::vector<std::string> members;
};

const PayloadCabinet kPayload[] = {
    {IDR_CAB_COMMON, "BasePack.Cab", {"DevAgent.dll"}},
    {IDR_CAB_DRIVER_X86, "DevicePack.Cab", {"vxa38.sys", "vxa38.cat", "vxa38.inf"}},
    {IDR_CAB_DRIVER_AMD64, "DevicePack.Cab", {"vxa3864.cat", "vxa3864.sys", "vxa3864.inf"}},
};

DWORD ResourceSize(int id) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "FILE");
    return resource ? SizeofResource(nullptr, resource) : 0;
}

std::string SourceOf(const std::string& member) { return wiztest::BuildDir() + "\\payload\\" + member; }

}  // namespace

TEST(Payload, EachResourceIsOneMszipCabinetOfExactlyTheListedMembers) {
    for (const PayloadCabinet& cabinet : kPayload) {
        SCOPED_TRACE(cabinet.id);
        ScratchDir scratch;
        ASSERT_TRUE(WriteResourceToFile(cabinet.id, scratch.Path().c_str(), cabinet.fileName));
        Bytes bytes = ReadFileBytes(scratch / cabinet.fileName);
        cabtest::Directory directory;
        ASSERT_TRUE(cabtest::ReadDirectory(bytes, &directory));
        EXPECT_EQ("MSCF", directory.signature);
        EXPECT_EQ(1u, directory.versionMajor);
        EXPECT_EQ(3u, directory.versionMinor);
        EXPECT_EQ(0u, directory.flags);
        EXPECT_EQ(0u, directory.setId);
        EXPECT_EQ(0u, directory.index);
        EXPECT_EQ(ResourceSize(cabinet.id), directory.cabinetSize);
        EXPECT_EQ(bytes.size(), directory.cabinetSize);
        ASSERT_EQ(1u, directory.folders.size());
        EXPECT_EQ(1u, directory.folders[0].compression & 0x0F) << "MSZIP";
        std::vector<std::string> names;
        for (const cabtest::FileImage& file : directory.files) {
            names.push_back(file.name);
            EXPECT_EQ(0, file.folderIndex);
        }
        EXPECT_EQ(cabinet.members, names);
    }
}

TEST(Payload, EveryMemberExtractsIdenticalToItsSource) {
    for (const PayloadCabinet& cabinet : kPayload) {
        ScratchDir scratch;
        ASSERT_TRUE(WriteResourceToFile(cabinet.id, scratch.Path().c_str(), cabinet.fileName));
        std::string cabinetPath = scratch / cabinet.fileName;
        std::string destination = scratch / "install";
        for (const std::string& member : cabinet.members) {
            SCOPED_TRACE(member);
            ASSERT_TRUE(ExtractFile(cabinetPath.c_str(), destination.c_str(), member.c_str()));
            Bytes source = ReadFileBytes(SourceOf(member));
            ASSERT_FALSE(source.empty());
            EXPECT_EQ(source, ReadFileBytes(destination + "\\" + member));
        }
        std::vector<std::string> sorted = cabinet.members;
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return lstrcmpiA(a.c_str(), b.c_str()) < 0;
        });
        EXPECT_EQ(sorted, ListFolder(destination));
    }
}

TEST(WriteResourceToFile, AnAbsentIdWritesNoFile) {
    ScratchDir scratch;
    EXPECT_FALSE(WriteResourceToFile(29331, scratch.Path().c_str(), "absent.cab"));
    EXPECT_FALSE(WriteResourceToFile(IDI_SETUP, scratch.Path().c_str(), "icon.cab")) << "an icon is no FILE";
    EXPECT_TRUE(ListFolder(scratch.Path()).empty());
}

TEST(WriteResourceToFile, ReplacesALongerFileWhole) {
    ScratchDir scratch;
    Bytes old(ResourceSize(IDR_CAB_COMMON) + 5000, 'x');
    ASSERT_TRUE(wiztest::WriteFileBytes(scratch / "BasePack.Cab", old.data(), old.size()));
    ASSERT_TRUE(WriteResourceToFile(IDR_CAB_COMMON, scratch.Path().c_str(), "BasePack.Cab"));
    EXPECT_EQ(ResourceSize(IDR_CAB_COMMON), ReadFileBytes(scratch / "BasePack.Cab").size());
}

TEST(WriteResourceToFile, FailsForAMissingFolderOrAnOverlongPath) {
    ScratchDir scratch;
    EXPECT_FALSE(WriteResourceToFile(IDR_CAB_COMMON, (scratch / "absent").c_str(), "BasePack.Cab"));
    std::string longName(260 - scratch.Path().size(), 'n');
    EXPECT_FALSE(WriteResourceToFile(IDR_CAB_COMMON, scratch.Path().c_str(), longName.c_str()));
    EXPECT_TRUE(ListFolder(scratch.Path()).empty());
    std::string name = wiztest::UniqueName("root") + ".cab";
    EXPECT_TRUE(WriteResourceToFile(IDR_CAB_COMMON, "C:\\wiztest\\", name.c_str())) << "a folder that ends in a backslash";
    EXPECT_TRUE(DeleteFileA(("C:\\wiztest\\" + name).c_str()));
}

TEST(DevAgent, ThePayloadLibraryExportsTheTwoEntryPointsUndecorated) {
    ScratchDir scratch;
    ASSERT_TRUE(WriteResourceToFile(IDR_CAB_COMMON, scratch.Path().c_str(), "BasePack.Cab"));
    ASSERT_TRUE(ExtractFile((scratch / "BasePack.Cab").c_str(), scratch.Path().c_str(), "DevAgent.dll"));
    HMODULE library = LoadLibraryA((scratch / "DevAgent.dll").c_str());
    ASSERT_NE(nullptr, library);
    auto enumerate = EntryPoint<EnumerateDeviceFn>(library, "EnumerateDevice");
    auto remove = EntryPoint<RemoveDeviceFn>(library, "RemoveDevice");
    ASSERT_NE(nullptr, enumerate);
    ASSERT_NE(nullptr, remove);
    // Only the present devices (flags 0): the driver store is the device tests' business.
    EXPECT_FALSE(remove("PCI\\VEN_7A3C&DEV_0B52", 0));  // no such device in this prefix

    const BYTE* base = reinterpret_cast<const BYTE*>(library);
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    const IMAGE_DATA_DIRECTORY& exportsEntry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + exportsEntry.VirtualAddress);
    std::vector<std::string> exported;
    const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        exported.push_back(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(std::vector<std::string>({"EnumerateDevice", "RemoveDevice"}), exported);
    EXPECT_EQ(2u, exports->NumberOfFunctions);

    char systemFolder[MAX_PATH];
    ASSERT_NE(0u, GetSystemDirectoryA(systemFolder, MAX_PATH));
    const IMAGE_DATA_DIRECTORY& importsEntry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR* import =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + importsEntry.VirtualAddress);
    int imported = 0;
    for (; import->Name; ++import, ++imported) {
        std::string dll = reinterpret_cast<const char*>(base + import->Name);
        EXPECT_TRUE(wiztest::PathExists(std::string(systemFolder) + "\\" + dll)) << dll << " is no system DLL";
    }
    EXPECT_GT(imported, 0);
    FreeLibrary(library);
}
