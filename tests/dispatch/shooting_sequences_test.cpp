// Mouse-look with one finger and the four shooting modes with a look finger
// (slot 0) and a fire finger (slot 1), as timelines on a manual clock. The
// pointer is re-centred after every move, so each move is an offset from
// (0.5, 0.5). Times are ms after the start.
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

class ShootMoveTest : public ::testing::Test, protected PointerBench {};

TEST_F(ShootMoveTest, TheFingerAddsUpScaledOffsetsFromItsOriginAndLiftsThere) {
    ShootMoveAction look(kOrigin, 0.5f);
    Mouse(0.6f, 0.5f);
    EXPECT_TRUE(d().PlayShootMove(look, 0, kMouseMove).empty()) << "not started";
    d().PlayShootMove(look, 5, kKeyDownMessage);
    RunTo(10);
    d().PlayShootMove(look, 0, kMouseMove);
    Mouse(0.5f, 0.3f);
    d().PlayShootMove(look, 0, kMouseMove);
    RunTo(20);
    d().PlayShootMove(look, 0, kKeyUpMessage);
    EXPECT_EQ(look.slot, -1);
    EXPECT_EQ(look.currentPoint, kOrigin);
    RunTo(30);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {5, 0, 0.5f, 0.5f, true},
                                     {10, 0, 0.55f, 0.5f, true},
                                     {10, 0, 0.55f, 0.4f, true},
                                     {20, 0, 0.5f, 0.5f, false},
                                 }));
    EXPECT_TRUE(SlotIsFree(0));
}

class ShootModeTest : public ::testing::Test, protected PointerBench {
protected:
    // Each event runs what it made due at once, so a move is not dropped as
    // overlapping the previous one unless that one is still due later.
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
    void Move(ShootModeAction& action, float x, float y) {
        Mouse(x, y);
        Play(action, kMouseMove);
    }
};

TEST_F(ShootModeTest, ModeOneFiresWithASecondFingerWhileTheLookFingerKeepsMoving) {
    ShootModeAction shoot = Start(ShootingMode::kLook);
    Move(shoot, 0.6f, 0.5f);
    RunTo(10);
    Play(shoot, kLeftButtonDown);
    RunTo(20);
    Move(shoot, 0.55f, 0.5f);
    RunTo(30);
    Play(shoot, kLeftButtonUp);
    RunTo(40);
    Play(shoot, kKeyUpMessage);
    EXPECT_EQ(shoot.lookSlot, -1);
    EXPECT_EQ(shoot.fireSlot, -1);
    RunTo(50);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, kLook, 0.5f, 0.5f, true},
                                     {0, kLook, 0.6f, 0.5f, true},
                                     {10, kFireSlot, 0.8f, 0.8f, true},
                                     {20, kLook, 0.65f, 0.5f, true},
                                     {30, kFireSlot, 0.5f, 0.5f, false},  // lifted at the origin
                                     {40, kLook, 0.5f, 0.5f, false},
                                     {40, kFireSlot, 0.8f, 0.8f, false},  // lifted again, at the fire point
                                 }));
    EXPECT_EQ(d().FreeSlots().size(), 13u);
}

TEST_F(ShootModeTest, ModeThreeSlowsTheDragDownAwayFromWhereItStarted) {
    ShootModeAction shoot = Start(ShootingMode::kSlowedAim);
    Move(shoot, 0.5f, 0.6f);  // from the origin: full speed
    Move(shoot, 0.5f, 0.6f);  // 0.1 below it: 1 - 0.1 * 16 / 9
    const float lookY = 0.6f + 0.1f * (1.0f - 0.1f * 1920.0f / 1080.0f);
    EXPECT_NEAR(shoot.currentPoint.y, lookY, 1e-5f);
    RunTo(10);
    Play(shoot, kLeftButtonDown);
    EXPECT_NEAR(shoot.savedPoint.y, lookY, 1e-5f);
    EXPECT_EQ(shoot.currentPoint, kFire);
    Move(shoot, 0.6f, 0.5f);  // from the fire point: full speed
    Move(shoot, 0.6f, 0.5f);  // 0.1 right of it: 1 - 0.1 * 2.2
    Move(shoot, 0.9f, 0.5f);  // 0.178 right of it: 1 - 0.39
    RunTo(20);
    Play(shoot, kLeftButtonUp);
    EXPECT_NEAR(shoot.currentPoint.y, lookY, 1e-5f) << "back where the look finger was";
    Move(shoot, 0.6f, 0.5f);  // level with the origin: full speed sideways
    RunTo(30);
    const float fireX1 = 0.9f + 0.1f * 0.78f;
    const float fireX2 = fireX1 + 0.4f * (1.0f - (fireX1 - 0.8f) * 2.2f);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, kLook, 0.5f, 0.5f, true},
                                     {0, kLook, 0.5f, 0.6f, true},
                                     {0, kLook, 0.5f, lookY, true},
                                     {10, kFireSlot, 0.8f, 0.8f, true},  // the look finger stays down
                                     {10, kFireSlot, 0.9f, 0.8f, true},
                                     {10, kFireSlot, fireX1, 0.8f, true},
                                     {10, kFireSlot, fireX2, 0.8f, true},
                                     {20, kFireSlot, 0.5f, 0.5f, false},
                                     {20, kLook, 0.6f, lookY, true},
                                 }));
}

TEST_F(ShootModeTest, ModeThreeNeverSlowsBelowTheFloor) {
    ShootModeAction shoot = Start(ShootingMode::kSlowedAim);
    Move(shoot, 1.0f, 0.5f);  // to 1.0
    Move(shoot, 1.0f, 0.5f);  // 0.5 away: 1 - 1.1 is raised to 0.15
    EXPECT_NEAR(shoot.currentPoint.x, 1.075f, 1e-5f);
}

TEST_F(ShootModeTest, ModeFourRestartsALookPushedOffTheScreenFromTheOrigin) {
    ShootModeAction shoot = Start(ShootingMode::kRecentreAtEdge);
    Move(shoot, 0.9f, 0.5f);
    RunTo(10);
    Move(shoot, 0.9f, 0.5f);  // would reach 1.3
    EXPECT_EQ(shoot.currentPoint, kOrigin);
    RunTo(30);
    Move(shoot, 0.9f, 0.5f);  // the restart still plays: dropped
    RunTo(60);
    Move(shoot, 0.6f, 0.5f);
    RunTo(100);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, kLook, 0.5f, 0.5f, true},
                                     {0, kLook, 0.9f, 0.5f, true},
                                     {10, kLook, 0.5f, 0.5f, false},  // lifted at the origin
                                     {60, kLook, 0.5f, 0.5f, true},   // down again 50 ms later
                                     {60, kLook, 0.6f, 0.5f, true},
                                 }));
}

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
