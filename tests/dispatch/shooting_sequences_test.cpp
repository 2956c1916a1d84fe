// The shooting modes' look finger (slot 0) and fire finger (slot 1) on a
// manual clock. Their timelines, and the one-finger look's, are the golden
// run tests/timelines/shooting.play; here are a delayed fire finger and a
// pool without two free slots. Times are ms after the start.
#include <gtest/gtest.h>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;
using Testing::RowsOfSlot;
using Testing::SameRows;

constexpr Point kOrigin{0.5f, 0.5f};
constexpr Point kFire{0.8f, 0.8f};
constexpr int32_t kLook = 0;
constexpr int32_t kFireSlot = 1;

class ShootModeTest : public ::testing::Test, protected PointerBench {
protected:
    // Each event runs what it made due at once.
    void Play(ShootModeAction& action, int32_t event) {
        d().PlayShootMode(action, 0, event);
        scheduler.AdvanceTo(clock.Now());
    }
    ShootModeAction Start(ShootingMode mode) {
        ShootModeAction action(kOrigin, kFire, mode, 1.0f);
        Play(action, kKeyDownMessage);
        EXPECT_EQ(action.lookSlot, kLook);
        EXPECT_EQ(action.fireSlot, kFireSlot);
        return action;
    }
};

TEST_F(ShootModeTest, ReleasingTheFireButtonWaitsForTheFireFingerToGoDown) {
    ShootModeAction shoot = Start(ShootingMode::kLook);
    RunTo(0);
    d().PlayShootMode(shoot, 100, kLeftButtonDown);  // the fire finger lands at 100
    const TaskIdList ids = d().PlayShootMode(shoot, 0, kLeftButtonUp);
    EXPECT_EQ(clock.Now(), kStart + 100) << "the manual clock was run forward, not hung";
    EXPECT_EQ(ids.size(), 1u) << "only the lift: the awaited ids are forgotten";
    RunTo(200);
    EXPECT_TRUE(SameRows(RowsOfSlot(Rows(), kFireSlot), {
                                                            {100, kFireSlot, 0.8f, 0.8f, true},
                                                            {100, kFireSlot, 0.5f, 0.5f, false},
                                                        }));
}

TEST_F(ShootModeTest, WithoutTwoFreeSlotsItLogsAndLeavesTheRecordUnchanged) {
    FillPool(1);
    ShootModeAction shoot(kOrigin, kFire, ShootingMode::kLook, 1.0f);
    EXPECT_TRUE(d().PlayShootMode(shoot, 0, kKeyDownMessage).empty());
    EXPECT_TRUE(host.HasLog("Cannot allocate touch slot for swipe"));
    EXPECT_EQ(shoot.lookSlot, -1);
    EXPECT_EQ(shoot.fireSlot, -1);
    EXPECT_EQ(d().FreeSlots().size(), 1u) << "the look slot went back";
    Mouse(0.9f, 0.5f);
    for (int32_t event : {kMouseMove, kLeftButtonDown, kLeftButtonUp, kKeyUpMessage}) {
        EXPECT_TRUE(d().PlayShootMode(shoot, 0, event).empty()) << event;
    }
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

}  // namespace
}  // namespace Keyweave
