// A game pad's right stick through the whole engine on a manual clock: the
// stick's touch-move plays on the engine's own tick cycles. Attach, keys from
// buttons, tilt and detach are in the racer's game-pad golden run.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"
#include "support/timeline.h"

namespace Keyweave {
namespace {

using Testing::ManualEngine;
using Testing::ScratchDir;

constexpr uint32_t kVendor = 0x045e, kProduct = 0x028e;
constexpr const char* kDatabase = "[Hardware]\n045e:028e = Test Pad\n[Test Pad]\nAR_X = RS_X\nAR_Y = RS_Y\n";

TEST(GamePadEngineTest, TheRightStickDrivesItsTouchMoveOnTheTickCycles) {
    ScratchDir dir;
    ManualEngine fixture;
    Engine& engine = *fixture.engine;
    const WideString database = dir.Write("pads.db", kDatabase);
    const WideString keymap = dir.Write("pad.cfg", "[gamepad2]\nRightStick = TouchMove (50,50,1)\n");
    engine.LoadConfig(keymap.c_str(), keymap.c_str(), "com.example.pad");
    const Millis start = fixture.clock.Now();
    const auto report = [&](KeyweaveGamePadReport pad) { engine.UpdateGamePad(1, &pad); };

    engine.AttachGamePad(1, kVendor, kProduct, database.c_str());
    report({0, 0, 0, 1000, 0, 0, -1, 0});  // right stick fully right
    engine.AdvanceBy(12);                  // three tick cycles
    const auto rows = Testing::ChangedContacts(fixture.host.Frames(), start);
    ASSERT_GE(rows.size(), 2u) << Testing::DescribeRows(rows);
    EXPECT_TRUE(rows.front().down);
    EXPECT_FLOAT_EQ(rows.front().x, 0.5f);  // the touch starts at its centre
    EXPECT_GT(rows.back().x, rows.front().x) << "and moves right with the stick";
    report({0, 0, 0, 0, 0, 0, -1, 0});  // back to centre: released
    engine.AdvanceBy(100);
    EXPECT_FALSE(Testing::ChangedContacts(fixture.host.Frames(), start).back().down);
}

}  // namespace
}  // namespace Keyweave
