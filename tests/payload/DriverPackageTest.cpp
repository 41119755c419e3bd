#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <string>

#include "support/TestSupport.h"

namespace {

struct Architecture {
    const char* base;        // vxa38 / vxa3864
    const char* decoration;  // of the models section
};

const Architecture kArchitectures[] = {{"vxa38", "NTx86"}, {"vxa3864", "NTamd64"}};

// The INF as the payload carries it, read by the system's own INF parser.
class DriverPackageTest : public ::testing::TestWithParam<Architecture> {
protected:
    void SetUp() override {
        std::string path = wiztest::BuildDir() + "\\payload\\" + GetParam().base + ".inf";
        UINT errorLine = 0;
        inf = SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
        ASSERT_NE(INVALID_HANDLE_VALUE, inf) << path << " line " << errorLine;
    }
    void TearDown() override {
        if (inf != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(inf);
    }

    // Field `index` (0: the key) of the line `key` (the first line when null) of a section.
    std::string Field(const std::string& section, const char* key, DWORD index = 1) const {
        INFCONTEXT line;
        if (!SetupFindFirstLineA(inf, section.c_str(), key, &line))
            return "(no line)";
        char text[512];
        if (!SetupGetStringFieldA(&line, index, text, sizeof(text), nullptr))
            return "(no field)";
        return text;
    }
    std::string Base() const { return GetParam().base; }

    HINF inf = INVALID_HANDLE_VALUE;
};

}  // namespace

TEST_P(DriverPackageTest, VersionNamesANetClassDriverOfOrvel) {
    EXPECT_EQ("$Windows NT$", Field("Version", "Signature"));
    EXPECT_EQ("Net", Field("Version", "Class"));
    EXPECT_EQ("{4d36e972-e325-11ce-bfc1-08002be10318}", Field("Version", "ClassGuid"));
    EXPECT_EQ("Orvel", Field("Version", "Provider"));
    EXPECT_EQ(Base() + ".cat", Field("Version", "CatalogFile"));
    EXPECT_EQ("06/15/2009", Field("Version", "DriverVer", 1));
    EXPECT_EQ("1.0.38.0", Field("Version", "DriverVer", 2));
    EXPECT_EQ("1", Field("Version", "PnpLockdown"));
}

TEST_P(DriverPackageTest, TheModelsOfTheArchitectureListTheAdapter) {
    EXPECT_EQ("Orvel", Field("Manufacturer", nullptr, 0));
    EXPECT_EQ("Orvel", Field("Manufacturer", nullptr, 1));
    EXPECT_EQ(GetParam().decoration, Field("Manufacturer", nullptr, 2));
    std::string models = std::string("Orvel.") + GetParam().decoration;
    EXPECT_EQ("Kestrin Duoflex Wireless Adapter", Field(models, nullptr, 0));
    EXPECT_EQ("Kestrin.ndi", Field(models, nullptr, 1));
    EXPECT_EQ("PCI\\VEN_7A3C&DEV_0B52", Field(models, nullptr, 2));
}

TEST_P(DriverPackageTest, TheInstallSectionDescribesAWirelessAdapter) {
    EXPECT_EQ("0x04", Field("Kestrin.ndi", "Characteristics")) << "NCF_PHYSICAL; NCF_HAS_UI needs Ndi\\Params";
    EXPECT_EQ("5", Field("Kestrin.ndi", "BusType"));
    EXPECT_EQ("71", Field("Kestrin.ndi", "*IfType"));
    EXPECT_EQ("16", Field("Kestrin.ndi", "*MediaType"));
    EXPECT_EQ("9", Field("Kestrin.ndi", "*PhysicalMediaType"));
    EXPECT_EQ("Kestrin.CopyFiles", Field("Kestrin.ndi", "CopyFiles"));
    EXPECT_EQ(Base() + ".sys", Field("Kestrin.CopyFiles", nullptr, 1));
}

TEST_P(DriverPackageTest, TheServiceRunsTheDriverFromTheDriversFolder) {
    EXPECT_EQ(Base(), Field("Kestrin.ndi.Services", "AddService", 1));
    EXPECT_EQ("2", Field("Kestrin.ndi.Services", "AddService", 2));
    EXPECT_EQ("Kestrin.Service", Field("Kestrin.ndi.Services", "AddService", 3));
    EXPECT_EQ("1", Field("Kestrin.Service", "ServiceType"));
    std::string binary = Field("Kestrin.Service", "ServiceBinary");
    std::string suffix = "\\drivers\\" + Base() + ".sys";
    ASSERT_GT(binary.size(), suffix.size());
    EXPECT_EQ(0, lstrcmpiA(suffix.c_str(), binary.c_str() + binary.size() - suffix.size())) << binary;
}

TEST_P(DriverPackageTest, SourceAndDestinationOfTheFilesAreDeclared) {
    EXPECT_EQ("12", Field("DestinationDirs", "DefaultDestDir"));
    EXPECT_EQ("12", Field("DestinationDirs", "Kestrin.CopyFiles"));
    EXPECT_EQ("1", Field("SourceDisksFiles", (Base() + ".sys").c_str()));
    EXPECT_EQ("Kestrin Duoflex Driver Disk", Field("SourceDisksNames", "1"));
    EXPECT_EQ(Base(), Field("Kestrin.Reg", nullptr, 5)) << "the Ndi service name";
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, DriverPackageTest, ::testing::ValuesIn(kArchitectures),
                         [](const ::testing::TestParamInfo<Architecture>& param) { return std::string(param.param.base); });
