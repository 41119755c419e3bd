// The product file itself: a 32-bit GUI program that imports KnownDLLs of
// Windows Vista only and carries every resource the wizard loads.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

class SetupExeTest : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = wiztest::ReadFileBytes(wiztest::SetupExePath());
        ASSERT_GT(image_.size(), 4096u);
        module_ = LoadLibraryExA(wiztest::SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_);
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    const IMAGE_NT_HEADERS32* Headers() const {
        const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image_.data());
        return reinterpret_cast<const IMAGE_NT_HEADERS32*>(image_.data() + dos->e_lfanew);
    }
    // The file offset of a relative virtual address.
    size_t Offset(DWORD rva) const {
        const IMAGE_NT_HEADERS32* nt = Headers();
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        return 0;
    }
    bool Has(LPCSTR type, int id) const { return FindResourceA(module_, MAKEINTRESOURCEA(id), type) != nullptr; }

    std::vector<unsigned char> image_;
    HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(SetupExeTest, IsA32BitGuiProgram) {
    EXPECT_EQ(IMAGE_NT_SIGNATURE, Headers()->Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, Headers()->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, Headers()->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, Headers()->OptionalHeader.Subsystem);
}

// Only KnownDLLs of Windows Vista, which the loader takes from the system
// folder whatever lies beside the program; everything else is loaded at run
// time from the system folder, after the search has been made safe.
TEST_F(SetupExeTest, ImportsKnownDllsOfWindowsVistaOnly) {
    const std::set<std::string> knownDlls = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                             "msvcrt.dll"};
    const IMAGE_DATA_DIRECTORY& entry = Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(0u, entry.VirtualAddress);
    const IMAGE_IMPORT_DESCRIPTOR* import =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image_.data() + Offset(entry.VirtualAddress));
    int count = 0;
    for (; import->Name; ++import, ++count) {
        std::string name = reinterpret_cast<const char*>(image_.data() + Offset(import->Name));
        for (char& c : name)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(knownDlls.count(name)) << name;
    }
    EXPECT_GT(count, 3);
    // A delay-loaded DLL would be searched for by name on its first call.
    EXPECT_EQ(0u, Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress);
}

// What the loader maps and the program runs before its first page: every
// section but the resources, within 64 KB (bench/startup.sh counts the same).
TEST_F(SetupExeTest, CodeAndDataStayWithin64Kilobytes) {
    const IMAGE_NT_HEADERS32* nt = Headers();
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    DWORD codeAndData = 0;
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (strncmp(reinterpret_cast<const char*>(section->Name), ".rsrc", IMAGE_SIZEOF_SHORT_NAME) != 0)
            codeAndData += section->Misc.VirtualSize;
    EXPECT_LE(codeAndData, 64u * 1024u);
}

TEST_F(SetupExeTest, CarriesEveryResourceTheWizardLoads) {
    for (int id : {800, 8001, 8002, 8003, 8005, 8006, 8007})
        EXPECT_TRUE(Has(RT_DIALOG, id)) << "dialog " << id;
    EXPECT_FALSE(Has(RT_DIALOG, 8004));
    for (int id : {200, 201, 202, 810, 811, 812, 813})
        EXPECT_TRUE(Has(RT_GROUP_ICON, id)) << "icon " << id;
    EXPECT_TRUE(Has(RT_GROUP_CURSOR, 4004));
    EXPECT_TRUE(Has(RT_MANIFEST, 1));
    EXPECT_TRUE(Has(RT_VERSION, 1));
    for (int id : {29330, 29400, 29410})
        EXPECT_TRUE(FindResourceA(module_, MAKEINTRESOURCEA(id), "FILE")) << "FILE " << id;
    char text[256];
    EXPECT_GT(LoadStringA(module_, 25100, text, sizeof(text)), 0);
    EXPECT_STREQ("Kestrin Duoflex Wireless Adapter Setup", text);
    EXPECT_EQ(0, LoadStringA(module_, 26101, text, sizeof(text)));
    EXPECT_EQ(0, LoadStringA(module_, 30001, text, sizeof(text)));
}

TEST_F(SetupExeTest, TheWizardBitmapsHaveTheirSizesAndDepths) {
    struct Expected {
        int id, width, height, bits;
    } bitmaps[] = {{500, 56, 56, 8}, {510, 166, 314, 24}};
    for (const Expected& bitmap : bitmaps) {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(bitmap.id), RT_BITMAP);
        ASSERT_TRUE(found) << bitmap.id;
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module_, found)));
        EXPECT_EQ(bitmap.width, header->biWidth) << bitmap.id;
        EXPECT_EQ(bitmap.height, abs(header->biHeight)) << bitmap.id;
        EXPECT_EQ(bitmap.bits, header->biBitCount) << bitmap.id;
    }
}

TEST_F(SetupExeTest, TheManifestAsksForCommonControlsSixAndAdministratorRights) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_TRUE(found);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                         SizeofResource(module_, found));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\""));
    // Without it, a policy that turns off the installer detection leaves the
    // wizard unelevated and virtualized, its system writes in VirtualStore.
    // The asm.v2 namespace is the form Windows XP's loader accepts too.
    size_t trust = manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">");
    size_t level = manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>");
    EXPECT_NE(std::string::npos, trust);
    EXPECT_NE(std::string::npos, level);
    EXPECT_LT(trust, level);
    EXPECT_LT(level, manifest.find("</trustInfo>"));
}

TEST_F(SetupExeTest, TheExteriorPageTemplateIs320By205) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(8001), RT_DIALOG);
    ASSERT_TRUE(found);
    const WORD* words = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
    ASSERT_EQ(0xFFFF, words[1]);  // DLGTEMPLATEEX: version, signature, help id, ex style, style, count, x, y, cx, cy
    EXPECT_EQ(320, static_cast<short>(words[11]));
    EXPECT_EQ(205, static_cast<short>(words[12]));
}

namespace {
// Skips a name-or-ordinal field of a dialog template.
const WORD* SkipNameOrOrdinal(const WORD* field) {
    if (*field == 0xFFFF)
        return field + 2;
    while (*field++) {
    }
    return field;
}

const WORD* AlignToDword(const WORD* p, const void* base) {
    size_t offset = reinterpret_cast<const BYTE*>(p) - static_cast<const BYTE*>(base);
    return reinterpret_cast<const WORD*>(static_cast<const BYTE*>(base) + ((offset + 3) & ~size_t(3)));
}

// The style of control `id` in the DLGTEMPLATEEX `templ` (with a font), or 0.
DWORD ControlStyle(const void* templ, DWORD id) {
    const WORD* p = static_cast<const WORD*>(templ);
    WORD count = p[8];
    p = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(p + 13)));  // menu, class, title
    p = SkipNameOrOrdinal(p + 3);  // point size, weight, italic and charset, then the face name
    for (WORD i = 0; i < count; ++i) {
        p = AlignToDword(p, templ);
        const DWORD* fields = reinterpret_cast<const DWORD*>(p);  // help id, ex style, style, 4 shorts, id
        DWORD style = fields[2], itemId = fields[5];
        if (itemId == id)
            return style;
        p = SkipNameOrOrdinal(SkipNameOrOrdinal(p + 12));  // class, title
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p + 1) + *p);
    }
    return 0;
}
}  // namespace

TEST_F(SetupExeTest, TheProgressBarsAreCreatedHidden) {
    const struct {
        int dialog, bar;
    } pages[] = {{8005, 2401}, {8006, 2501}, {8005, 2400}};  // the status line: visible, so the reading is sound
    for (const auto& page : pages) {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(page.dialog), RT_DIALOG);
        ASSERT_TRUE(found) << page.dialog;
        DWORD style = ControlStyle(LockResource(LoadResource(module_, found)), page.bar);
        ASSERT_NE(0u, style & WS_CHILD) << page.bar << ": not found";
        EXPECT_EQ(page.bar == 2400 ? WS_VISIBLE : 0u, style & WS_VISIBLE) << page.bar;
    }
}
