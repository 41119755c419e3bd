// The setup's binding of the device-install library, against stand-in
// libraries built for the test.
#include <gtest/gtest.h>

#include <string>

#include "agents/AgentRecord.h"
#include "fw/SystemLibrary.h"
#include "payload/DevAgentBinding.h"
#include "support/TestSupport.h"

namespace {

std::string AgentPath(const char* name) { return wiztest::BuildDir() + "\\tests\\agents\\" + name; }

}  // namespace

TEST(ComposeHelperLibraryPath, AppendsTheLibraryName) {
    String path;
    EXPECT_TRUE(ComposeHelperLibraryPath("C:\\Program Files\\Orvel\\Setup\\LQ38\\Kestrin Duoflex", path));
    EXPECT_STREQ("C:\\Program Files\\Orvel\\Setup\\LQ38\\Kestrin Duoflex\\DevAgent.dll", path.c_str());
}

TEST(ComposeHelperLibraryPath, RefusesAPathLongerThanItsBuffer) {
    std::string folder = "C:\\" + std::string(243, 'f');  // 246 + "\DevAgent.dll" = 259
    String path;
    EXPECT_TRUE(ComposeHelperLibraryPath(folder.c_str(), path));
    EXPECT_EQ(259u, path.Length());
    folder += "f";
    EXPECT_FALSE(ComposeHelperLibraryPath(folder.c_str(), path));
    EXPECT_TRUE(path.IsEmpty());
}

TEST(ComposeHelperLibraryPath, RefusesAnUnknownSetupFolder) {
    // "\DevAgent.dll" would load whatever the root of the current drive holds.
    String path("stale");
    EXPECT_FALSE(ComposeHelperLibraryPath("", path));
    EXPECT_TRUE(path.IsEmpty());
}

TEST(DevAgentBinding, AMissingLibraryLoadsNothingAndCallsNothing) {
    DevAgentBinding agent;
    EXPECT_FALSE(agent.Load(AgentPath("Absent.dll").c_str()));
    EXPECT_FALSE(agent.Enumerate());
    EXPECT_FALSE(agent.Remove("PCI\\VEN_7A3C&DEV_0B52", 1));
}

TEST(DevAgentBinding, ALibraryWithoutTheEntryPointsLoadsButCallsNothing) {
    DevAgentBinding agent;
    EXPECT_TRUE(agent.Load(AgentPath("NoExportAgent.dll").c_str()));
    EXPECT_FALSE(agent.Enumerate());
    EXPECT_FALSE(agent.Remove("PCI\\VEN_7A3C&DEV_0B52", 1));
}

TEST(DevAgentBinding, CallsTheEntryPointsWhateverTheyAnswerAndFreesTheLibrary) {
    std::string path = AgentPath("RecordingAgent.dll");
    // The test's own reference keeps the library and its record alive.
    HMODULE held = LoadLibraryA(path.c_str());
    ASSERT_NE(nullptr, held);
    RecordedCallsFn recorded =
        EntryPoint<RecordedCallsFn>(held, "RecordedCalls");
    ASSERT_NE(nullptr, recorded);
    AgentRecord before = *recorded();
    {
        DevAgentBinding agent;
        ASSERT_TRUE(agent.Load(path.c_str()));
        AgentAnswer answer = {TRUE, ERROR_SUCCESS};
        EXPECT_TRUE(agent.Enumerate(&answer)) << "the entry point exists";
        EXPECT_FALSE(answer.result) << "what the library answered is kept";
        EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), answer.lastError);
        EXPECT_TRUE(agent.Remove("PCI\\VEN_7A3C&DEV_0B52", 1));
        agent.Free();
        EXPECT_FALSE(agent.Enumerate()) << "freed";
    }
    EXPECT_EQ(before.enumerateCalls + 1, recorded()->enumerateCalls);
    EXPECT_EQ(before.removeCalls + 1, recorded()->removeCalls);
    EXPECT_STREQ("PCI\\VEN_7A3C&DEV_0B52", recorded()->hardwareId);
    EXPECT_EQ(1u, recorded()->flags);
    FreeLibrary(held);
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str())) << "the binding released its reference";
}
