// What no keymap or play script reaches in input and action execution: a
// pinch under auto-repeat (only the host's emulation makes pinches), stick
// events while no keymap is active (as while one loads), a mouse message
// other than a move or button, and three keys held as one. Key rules, held keys, the
// mouse, typing and the pads' sticks are the golden runs of
// tests/timelines/key_routing.play, mouse_input.play and pad_sticks.play.
#include <gtest/gtest.h>

#include "actions/actions.h"
#include "codes/control_codes.h"
#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

constexpr uint32_t kA = 30, kS = 31, kD = 32;

class ActionExecutionTest : public KeymapEngineTest {};

TEST_F(ActionExecutionTest, APinchPlaysOnEveryRepeatWhereATapWaitsForTheRelease) {
    Load("[keys]\n");
    ActionExecutor& executor = engine().executor();
    PinchAction pinch({0.5f, 0.5f}, true);
    TapAction tap({0.5f, 0.5f});
    HeldKeys& held = engine().heldKeys();
    Platform::LockGuard guard(held.lock());
    held.Record(kA, {});  // A is held: its next press is auto-repeat

    EXPECT_FALSE(executor.Execute({&pinch}, 0, true, kA, held).empty());
    EXPECT_FALSE(executor.Execute({&pinch}, 0, true, kA, held).empty());
    EXPECT_TRUE(executor.Execute({&tap}, 0, true, kA, held).empty());
    RunAll();
    // Two pinches of two fingers each, all at once: four slots went down.
    int downs = 0;
    for (const ContactRow& row : Rows()) downs += row.down && row.time == 0 ? 1 : 0;
    EXPECT_EQ(downs, 4);
}

TEST_F(ActionExecutionTest, StickEventsWithoutAKeymapDoNothing) {
    Load("[gamepad2]\nRightStick = TouchMove (50,50,50)\n");
    {
        Platform::LockGuard guard(engine().activeConfiguration().lock());
        engine().activeConfiguration().Set(nullptr);  // as while a keymap loads
    }
    engine().executor().StickEvent(GamePad::kRightStick, 100.0f, 0.0f, kStickMovePress);
    RunAll();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(engine().executor().LastRightStickPhase(), kStickMoveRelease);
}

TEST_F(ActionExecutionTest, OtherMouseMessagesOnlyReachTheActiveActions) {
    Load("[keys]\n");
    Mouse(0.3f, 0.3f, 0x20A);  // a wheel message
    RunAll();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(host().PassThroughs(), 0);
    EXPECT_TRUE(host().Logs().empty());
}

// Keys are held one or two at a time; a set of three is only logged.
TEST_F(ActionExecutionTest, AHeldSetOfThreeKeysIsOnlyLoggedOnRelease) {
    Load("[keys]\nCtrl,A = Tap (30,30)\n");
    HeldKeys& held = engine().heldKeys();
    {
        Platform::LockGuard guard(held.lock());
        held.Record({kA, kS, kD}, {});
    }
    Release(kS);
    EXPECT_TRUE(Logged("Cannot handle release for 3 key event: A S D"));
    Platform::LockGuard guard(held.lock());
    EXPECT_TRUE(held.Contains({kA, kS, kD}));
}

}  // namespace
}  // namespace Keyweave::Testing
