// Action execution: auto-repeat of a pinch and the stick events of the
// game-pad threads. What key rules do on press, repeat and release, the
// one-finger look with its notices to the host and its suspend key are the
// golden run tests/timelines/actions.play; tilts and a tap-cancel's glide are
// in the racer's and the arena's.
#include <gtest/gtest.h>

#include "actions/actions.h"
#include "codes/control_codes.h"
#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

constexpr uint32_t kA = 30;

class ActionExecutionTest : public KeymapEngineTest {};

// ---- Auto-repeat ----

TEST_F(ActionExecutionTest, APinchPlaysOnEveryRepeatWhereATapWaitsForTheRelease) {
    Load("[keys]\n");
    ActionExecutor& executor = engine().executor();
    PinchAction pinch({0.5f, 0.5f}, true);
    TapAction tap({0.5f, 0.5f});
    engine().heldKeys().Record({kA}, {});  // A is held: its next press is auto-repeat

    EXPECT_FALSE(executor.Execute({&pinch}, 0, true, {kA}).empty());
    EXPECT_FALSE(executor.Execute({&pinch}, 0, true, {kA}).empty());
    EXPECT_TRUE(executor.Execute({&tap}, 0, true, {kA}).empty());
    RunAll();
    // Two pinches of two fingers each, all at once: four slots went down.
    int downs = 0;
    for (const ContactRow& row : Rows()) downs += row.down && row.time == 0 ? 1 : 0;
    EXPECT_EQ(downs, 4);
}

// ---- Game-pad sticks ----

TEST_F(ActionExecutionTest, TheRightStickDragsItsStickMoveFingerAndLiftsItAtTheCentre) {
    Load("[gamepad2]\nRightStick = TouchMove (50,50,50)\n");
    ActionExecutor& executor = engine().executor();
    executor.StickEvent(GamePad::kRightStick, 100.0f, 0.0f, kStickMovePress);  // leaves the centre
    executor.StickEvent(GamePad::kRightStick, 100.0f, 0.0f, kStickMovePress);  // held there
    EXPECT_EQ(executor.LastRightStickPhase(), kStickMovePress);
    executor.StickEvent(GamePad::kRightStick, 0.0f, 0.0f, kStickMoveRelease);  // back to centre
    EXPECT_EQ(executor.LastRightStickPhase(), kStickMoveRelease);
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.5f, 0.5f, true},
                                     {0, 0, 0.5005f, 0.5f, true},  // 100 x 0.05 hundredths of a percent
                                     {50, 0, 0.0f, 0.0f, false},   // lifts reported at (0, 0)
                                 }));
    EXPECT_EQ(engine().config().ActiveStickActions().GetActive(kStickMoveAction), nullptr);
}

TEST_F(ActionExecutionTest, AStickHoldStartsOnDeflectionAndFollowsFromTheNextTick) {
    Load("[gamepad2]\nLeftStick = SwipeHold (30,70,10,100)\n");
    ActionExecutor& executor = engine().executor();
    executor.StickEvent(GamePad::kLeftStick, 0.0f, 0.0f, kStickHeld);
    EXPECT_TRUE(Rows().empty()) << "it becomes active, and plays from the next event";
    executor.StickEvent(GamePad::kLeftStick, 0.0f, 0.0f, kStickHeld);
    executor.StickEvent(GamePad::kLeftStick, 0.0f, 0.0f, kStickHoldRelease);
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.3f, 0.7f, true}, {0, 0, 0.3f, 0.7f, false}}));
    EXPECT_EQ(engine().dispatcher().FreeSlots().size(), 13u);
}

TEST_F(ActionExecutionTest, StickEventsWithoutAKeymapDoNothing) {
    Load("[gamepad2]\nRightStick = TouchMove (50,50,50)\n");
    engine().gamePadConfiguration().Set(nullptr);  // as while a keymap loads
    engine().executor().StickEvent(GamePad::kRightStick, 100.0f, 0.0f, kStickMovePress);
    RunAll();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(engine().executor().LastRightStickPhase(), kStickMoveRelease);
}

}  // namespace
}  // namespace Keyweave::Testing
