// Action execution end to end: what each kind of rule does on press and
// release, shooting mode with its notices to the host, tap-cancel and the
// stick events of the game-pad threads. Tilts and a tap-cancel's glide are in
// the racer's and the arena's golden runs, a shooting mode started and ended
// with the right button in the shooter's.
#include <gtest/gtest.h>

#include <cmath>

#include "actions/actions.h"
#include "codes/control_codes.h"
#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

constexpr uint32_t kA = 30, kS = 31, kC = 46, kM = 50, kT = 20;

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

TEST_F(ActionExecutionTest, AMacroPlaysOnPressOnly) {
    Load("[keys]\nM = TapMacros (30,40,100,1)\n");
    Press(kM);
    AdvanceTo(10);
    Press(kM);  // auto-repeat
    AdvanceTo(20);
    Release(kM);
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.3f, 0.4f, true}, {50, 0, 0.3f, 0.4f, false}}));
}

// ---- One-shot swipes and a held touch ----

TEST_F(ActionExecutionTest, ASwipeBetweenTwoPointsPlaysOnPressAndWaitsUnderDynamicZoom) {
    for (const bool dynamicZoom : {false, true}) {
        SCOPED_TRACE(dynamicZoom ? "dynamic zoom" : "plain");
        Load(std::string(dynamicZoom ? "# ENABLE_DYNAMIC_ZOOM\n" : "") + "[keys]\nA = SwipeXY (20,50,80,50)\n");
        Press(kA);
        Press(kA);  // auto-repeat plays nothing more
        Release(kA);
        RunAll();
        const int64_t d = dynamicZoom ? 40 : 0;
        EXPECT_TRUE(SameRows(Rows(), {{d, 0, 0.2f, 0.5f, true},
                                      {d + 12, 0, 0.3f, 0.5f, true},
                                      {d + 24, 0, 0.4f, 0.5f, true},
                                      {d + 36, 0, 0.5f, 0.5f, true},
                                      {d + 48, 0, 0.6f, 0.5f, true},
                                      {d + 60, 0, 0.7f, 0.5f, true},
                                      {d + 72, 0, 0.8f, 0.5f, false}}));
    }
}

TEST_F(ActionExecutionTest, ATouchMoveKeyHoldsItsFingerUntilReleased) {
    Load("[keys]\nT = TouchMove (50,40)\n");
    Press(kT);
    AdvanceTo(30);
    Press(kT);  // auto-repeat: the finger stays where it is
    AdvanceTo(60);
    Release(kT);
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.4f, true}, {60, 0, 0.5f, 0.4f, false}}));
    EXPECT_EQ(engine().dispatcher().FreeSlots().size(), 13u);
}

// ---- Shooting mode ----

constexpr std::string_view kShootMoveKeymap =
    "# ENABLE_SHOOTING_MODE\n"
    "[keys]\n"
    "MouseMove = Tap (50,50)\n"
    "S = SuspendShoot\n";

TEST_F(ActionExecutionTest, TheShootingKeyTogglesShootingWithNoticesToTheHost) {
    Load(kShootMoveKeymap);  // RightClick becomes a shoot-move from (50,50)
    Mouse(0.5f, 0.5f, 516);
    EXPECT_EQ(engine().config().ShootingModeActive(), 1u);
    Mouse(0.6f, 0.5f, 512);  // the look finger follows, at half the pointer's offset
    Mouse(0.6f, 0.5f, 517);  // releasing the key changes nothing
    AdvanceTo(10);
    Mouse(0.6f, 0.5f, 516);  // the next press stops shooting
    EXPECT_EQ(engine().config().ShootingModeActive(), 0u);

    EXPECT_EQ(host().ShootingCalls(), (std::vector<int32_t>{1, 3, 0}));
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.5f, true}, {0, 0, 0.55f, 0.5f, true}, {10, 0, 0.5f, 0.5f, false}}));
    EXPECT_EQ(host().PassThroughs(), 0);
}

TEST_F(ActionExecutionTest, AHostThatAnswersNoKeepsTheLookFingerStill) {
    Load(kShootMoveKeymap);
    Mouse(0.5f, 0.5f, 516);
    host().SetShootingAnswer(0);
    Mouse(0.7f, 0.7f, 512);
    EXPECT_EQ(host().ShootingCalls(), (std::vector<int32_t>{1, 3}));
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.5f, true}}));
}

TEST_F(ActionExecutionTest, TheSuspendKeyPausesShootingWhileItIsHeld) {
    Load(kShootMoveKeymap);
    Mouse(0.5f, 0.5f, 516);
    Mouse(0.5f, 0.5f, 517);
    AdvanceTo(20);
    Press(kS);
    EXPECT_EQ(engine().config().ShootingModeActive(), 0u);
    AdvanceTo(40);
    Release(kS);
    EXPECT_EQ(engine().config().ShootingModeActive(), 1u);
    EXPECT_EQ(host().ShootingCalls(), (std::vector<int32_t>{1, 0, 1}));
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.5f, true}, {20, 0, 0.5f, 0.5f, false}, {40, 0, 0.5f, 0.5f, true}}));
}

TEST_F(ActionExecutionTest, TheSuspendKeyWithoutShootingDoesNothing) {
    Load(kShootMoveKeymap);
    Tap(kS);
    RunAll();
    EXPECT_TRUE(host().ShootingCalls().empty());
    EXPECT_TRUE(Rows().empty());
}

TEST_F(ActionExecutionTest, AReloadEndsAnActiveShootingMode) {
    Load(kShootMoveKeymap);
    Mouse(0.5f, 0.5f, 516);
    const WideString next = scratch_.Write("next.cfg", "[keys]\n");
    engine().LoadConfig(next.c_str(), next.c_str(), "next");
    EXPECT_EQ(host().ShootingCalls(), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(engine().config().ShootingModeActive(), 0u);
}

// ---- Tap-cancel ----

TEST_F(ActionExecutionTest, TapCancelWithNothingHeldPlaysNothing) {
    Load("[keys]\nC = TapCancel (20,70)\n");
    Tap(kC);
    RunAll();
    EXPECT_TRUE(Rows().empty());
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
