// Game pads through the whole engine on a manual clock: the shipped example
// database, a keymap that maps pad controls to keys and binds the right stick,
// and what the host receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"
#include "support/timeline.h"

namespace Keyweave {
namespace {

using Testing::ManualEngine;
using Testing::ScratchDir;

// An Xbox-style pad of the example database: X/Y left stick, Rx/Ry right stick,
// Z both triggers, report hat, buttons 1..10.
constexpr uint32_t kVendor = 0x045e, kProduct = 0x028e;

constexpr const char* kDatabase =
    "[Hardware]\n"
    "045e:028e = Test Pad\n"
    "8380:0003 = Generic\n"
    "[Test Pad]\n"
    "Layout = Standard\n"
    "A_X = LS_X\nA_Y = LS_Y\nAR_X = RS_X\nAR_Y = RS_Y\nH = H\n"
    "B_1 = A\nB_2 = B\n"
    "[Generic]\n"
    "Layout = Generic\n";

class GamePadEngineTest : public ::testing::Test {
protected:
    GamePadEngineTest() {
        database = dir.Write("pads.db", kDatabase);
        const WideString keymap = dir.Write("pad.cfg",
                                            "[keys]\nSpace = Tap (10,10)\n"
                                            "[gamepad]\nA = Space\n"
                                            "[gamepad2]\nRightStick = TouchMove (50,50,1)\n");
        engine().LoadConfig(keymap.c_str(), keymap.c_str(), "com.example.pad");
        fixture.host.ClearRecords();
        start = fixture.clock.Now();
    }
    Engine& engine() { return *fixture.engine; }
    void Report(KeyweaveGamePadReport report) { engine().UpdateGamePad(1, &report); }

    ScratchDir dir;
    WideString database;
    ManualEngine fixture;
    Millis start = 0;
};

TEST_F(GamePadEngineTest, AttachNotifiesWithTheLayoutAndDetachWithTheSame) {
    engine().AttachGamePad(1, kVendor, kProduct, database.c_str());
    engine().AttachGamePad(2, 0x1234, 0x5678, database.c_str());  // unknown ids: the generic entry
    engine().DetachGamePad(1);
    const auto notices = fixture.host.Notices();
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].event, 1);
    EXPECT_EQ(notices[0].layout, "Standard");
    EXPECT_EQ(notices[1].padId, 2);
    EXPECT_EQ(notices[1].layout, "Generic");
    EXPECT_EQ(notices[2].padId, 1);
    EXPECT_EQ(notices[2].event, 2);
    EXPECT_TRUE(fixture.host.HasLog("Detaching GamePad ID 1"));
}

TEST_F(GamePadEngineTest, AButtonMappedToAKeyPlaysThatKeysTap) {
    engine().AttachGamePad(1, kVendor, kProduct, database.c_str());
    Report({0, 0, 0, 0, 0, 0, -1, 0x1});  // button 1 is A, mapped to Space
    engine().AdvanceBy(10);
    Report({0, 0, 0, 0, 0, 0, -1, 0x0});
    engine().AdvanceBy(10);
    EXPECT_TRUE(Testing::SameRows(Testing::ChangedContacts(fixture.host.Frames(), start),
                                  {
                                      {0, 0, 0.10f, 0.10f, true},    // Space's tap goes down
                                      {10, 0, 0.10f, 0.10f, false},  // and lifts on release
                                  }));
}

TEST_F(GamePadEngineTest, TheRightStickDrivesItsTouchMoveOnTheTickCycles) {
    engine().AttachGamePad(1, kVendor, kProduct, database.c_str());
    Report({0, 0, 0, 1000, 0, 0, -1, 0});  // right stick fully right
    engine().AdvanceBy(12);                // three tick cycles
    const auto rows = Testing::ChangedContacts(fixture.host.Frames(), start);
    ASSERT_GE(rows.size(), 2u) << Testing::DescribeRows(rows);
    EXPECT_TRUE(rows.front().down);
    EXPECT_FLOAT_EQ(rows.front().x, 0.5f);  // the touch starts at its centre
    EXPECT_GT(rows.back().x, rows.front().x) << "and moves right with the stick";
    Report({0, 0, 0, 0, 0, 0, -1, 0});  // back to centre: released
    engine().AdvanceBy(100);
    const auto after = Testing::ChangedContacts(fixture.host.Frames(), start);
    EXPECT_FALSE(after.back().down);
}

TEST_F(GamePadEngineTest, AReportForAPadThatIsNotAttachedIsDropped) {
    Report({0, 0, 0, 0, 0, 0, -1, 0x1});
    engine().AdvanceBy(10);
    EXPECT_TRUE(fixture.host.HasLog("Cannot update GamePad ID 1: GamePad not found"));
    EXPECT_TRUE(fixture.host.Frames().empty());
}

}  // namespace
}  // namespace Keyweave
