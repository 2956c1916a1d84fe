// A fresh engine starts the way the host expects.
#include "engine/engine.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace Keyweave {
namespace {

TEST(EngineTest, StartUpLogsInOrder) {
    Testing::ManualEngine fixture;
    const auto logs = fixture.host.Logs();
    ASSERT_GE(logs.size(), 2u);
    EXPECT_EQ(logs[0], "Initializing Keyweave");
    EXPECT_EQ(logs[1], "Keyweave::Scheduler::Start()");
}

TEST(EngineTest, FiniOnlyLogs) {
    Testing::ManualEngine fixture;
    fixture.host.ClearRecords();
    fixture.engine->Finalize();
    EXPECT_EQ(fixture.host.Logs(), std::vector<std::string>{"Finalizing Keyweave"});
}

TEST(EngineTest, ParserVersionIsFour) {
    Testing::ManualEngine fixture;
    fixture.host.ClearRecords();
    EXPECT_EQ(fixture.engine->ParserVersion(), 4);
    EXPECT_EQ(fixture.host.Logs(), std::vector<std::string>{"At the start of getparserversion function"});
}

TEST(EngineTest, OnlyStateOneMeansMappingOn) {
    Testing::ManualEngine fixture;
    Engine& engine = *fixture.engine;
    EXPECT_TRUE(engine.KeyMappingOn());
    engine.SetKeyMappingState(2);
    EXPECT_FALSE(engine.KeyMappingOn());
    engine.SetKeyMappingState(0);
    EXPECT_FALSE(engine.KeyMappingOn());
    engine.SetKeyMappingState(1);
    EXPECT_TRUE(engine.KeyMappingOn());
    EXPECT_TRUE(engine.ForwardRawKeys());
    engine.SetForwardRawKeys(false);
    EXPECT_FALSE(engine.ForwardRawKeys());
}

TEST(EngineTest, ThreadedEngineStopsCleanly) {
    Testing::RecordingHost host;
    {
        Engine engine(host.Callbacks(), Testing::ManualEngine::DefaultSettings());
        EXPECT_FALSE(engine.scheduler().Manual());
    }
    EXPECT_TRUE(host.HasLog("Initializing Keyweave"));
}

}  // namespace
}  // namespace Keyweave
