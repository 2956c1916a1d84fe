// Key routing end to end: keymap files, host key and controller calls, and
// what the guest receives.
#include <gtest/gtest.h>

#include "codes/control_codes.h"
#include "codes/key_names.h"
#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

constexpr uint32_t kA = 30, kS = 31, kD = 32, kCtrl = 29, kEnter = 28, kSpace = 57;

class KeyRoutingTest : public KeymapEngineTest {};

// ---- Unmapped keys, key mapping state and raw forwarding ----

TEST_F(KeyRoutingTest, AnUnmappedHostKeyReachesTheGuestAsItsScanCode) {
    Load("[keys]\nA = Tap (50,50)\n");
    Press(kS);
    AdvanceTo(30);
    Release(kS);
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1F}, {30, 0x9F}}));
    EXPECT_TRUE(Rows().empty());

    ResetRecords();
    Tap(kKeyUp);  // arrow keys keep their prefix byte
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0xE0}, {0, 0x48}, {0, 0xE0}, {0, 0xC8}}));
}

// With mapping off a host key goes to the guest raw, or nowhere without raw
// forwarding (the gesture golden run); Enter alone keeps its rule either way.
TEST_F(KeyRoutingTest, MappingOffStillPlaysTheEnterRuleWithOrWithoutRawForwarding) {
    Load("[keys]\nA = Tap (10,10)\nEnter = Tap (90,90)\n");
    engine().SetKeyMappingState(0);
    Tap(kA);
    Press(kEnter);
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1E}, {0, 0x9E}})) << "Enter plays its rule, not its scan code";
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.9f, 0.9f, true}})) << "A played no tap";
    Release(kEnter);

    ResetRecords();
    engine().SetForwardRawKeys(false);
    Tap(kA);
    Tap(kEnter);
    RunAll();
    EXPECT_TRUE(Bytes().empty());
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.9f, 0.9f, true}, {0, 0, 0.9f, 0.9f, false}}));
}

TEST_F(KeyRoutingTest, ControllerCodesAreForwardedWhateverTheForwardingFlag) {
    Load("[opensensor]\nA = Space Jump\nB = S\n[keys]\nS = Tap (30,30)\n");
    engine().SetForwardRawKeys(false);
    engine().HandleController('A', true);
    engine().HandleController('A', false);
    RunDue();
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x39}, {0, 0xB9}}));

    // A mapped key still runs its rule.
    engine().HandleController('B', true);
    RunDue();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.3f, 0.3f, true}}));

    engine().HandleController('B', false);
    RunAll();
    EXPECT_EQ(engine().heldKeys().Size(), 0u);
}

TEST_F(KeyRoutingTest, MousePseudoKeysAreNeverForwarded) {
    Load("[keys]\nA = Tap (50,50)\n");
    for (uint32_t key = kKeyMouseMove; key <= kKeyMouseWheelUp; ++key) Tap(key);
    Mouse(0.5f, 0.5f, 516);  // the right button is RightClick
    Mouse(0.5f, 0.5f, 517);
    RunAll();
    EXPECT_TRUE(Bytes().empty());
}

TEST_F(KeyRoutingTest, AlwaysSendUnmappedKeySendsTheRawKeyBesideTheRule) {
    Load("# ALWAYS_SEND_UNMAPPED_KEY\n[keys]\nA = Tap (50,50)\nRightClick = Tap (20,20)\n");
    Press(kA);
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1E}}));
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.5f, true}}));

    Mouse(0.4f, 0.4f, 516);  // a pseudo key is never sent raw, even so
    EXPECT_EQ(Bytes().size(), 1u);
    EXPECT_EQ(Rows().size(), 2u);
}

// ---- Auto-repeat ----

TEST_F(KeyRoutingTest, AHeldTapKeyGivesOneTouchDownAndOneUp) {
    Load("[keys]\nA = Tap (40,60)\n");
    for (int repeat = 0; repeat < 4; ++repeat) {
        AdvanceTo(repeat * 30);
        Press(kA);
    }
    AdvanceTo(200);
    Release(kA);
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.4f, 0.6f, true}, {200, 0, 0.4f, 0.6f, false}}));
    EXPECT_EQ(FrameTimes(host().Frames(), origin()), (std::vector<int64_t>{0, 200})) << "repeats reported nothing";
    EXPECT_EQ(engine().dispatcher().FreeSlots().size(), 13u) << "the tap's slot came back";
}

TEST_F(KeyRoutingTest, AHeldKeyActionSendsItsScanCodeOncePerRepeat) {
    Load("[keys]\nA = Key D\n");
    Press(kA);
    AdvanceTo(30);
    Press(kA);
    AdvanceTo(60);
    Press(kA);
    Release(kA);
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x20}, {30, 0x20}, {60, 0x20}, {60, 0xA0}}));
}

// ---- Two-key combinations ----

constexpr std::string_view kCombinationKeymap =
    "[keys]\n"
    "Ctrl = Tap (10,10)\n"
    "A = Tap (20,20)\n"
    "Ctrl,A = Tap (30,30)\n";

TEST_F(KeyRoutingTest, ASecondKeyWithinTheHoldBackGivesOnlyTheCombination) {
    Load(kCombinationKeymap);
    Press(kCtrl);
    AdvanceTo(60);
    Press(kA);
    AdvanceTo(300);
    Release(kA);  // releases the combination
    AdvanceTo(320);
    Release(kCtrl);  // finds nothing held any more
    RunAll();
    // Slot 0 stays bound to Ctrl's tap, whose touches were cancelled before
    // they played; the tap takes it up again on its next press.
    EXPECT_TRUE(SameRows(Rows(), {{60, 1, 0.3f, 0.3f, true}, {300, 1, 0.3f, 0.3f, false}}));
    EXPECT_EQ(engine().heldKeys().Size(), 0u);
}

TEST_F(KeyRoutingTest, ASecondKeyAfterTheHoldBackPlaysBothSingleKeys) {
    Load(kCombinationKeymap);
    Press(kCtrl);
    AdvanceTo(150);
    Press(kA);
    AdvanceTo(400);
    Release(kA);
    Release(kCtrl);
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {
                                     {100, 0, 0.1f, 0.1f, true},   // Ctrl, held back by 100 ms
                                     {250, 1, 0.2f, 0.2f, true},   // A, on its own
                                     {500, 1, 0.2f, 0.2f, false},  // both releases held back too
                                     {500, 0, 0.1f, 0.1f, false},
                                 }));
}

TEST_F(KeyRoutingTest, AnUnboundSecondKeyAfterTheHoldBackIsForwardedRaw) {
    Load(kCombinationKeymap);
    Press(kCtrl);
    AdvanceTo(150);
    Press(kS);
    RunAll();
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{250, 0x1F}}));
    EXPECT_TRUE(SameRows(Rows(), {{100, 0, 0.1f, 0.1f, true}}));
}

TEST_F(KeyRoutingTest, AModifierWithoutARuleOfItsOwnStillCombines) {
    Load("[keys]\nCtrl,A = Tap (30,30)\n");
    engine().SetForwardRawKeys(false);  // Ctrl alone posts nothing
    Press(kCtrl);
    AdvanceTo(500);
    Press(kA);
    EXPECT_TRUE(SameRows(Rows(), {{500, 0, 0.3f, 0.3f, true}}));
}

TEST_F(KeyRoutingTest, AHeldSetOfThreeKeysIsOnlyLoggedOnRelease) {
    Load(kCombinationKeymap);
    engine().heldKeys().Record({kA, kS, kD}, {});
    Release(kS);
    EXPECT_TRUE(Logged("Cannot handle release for 3 key event: A S D"));
    EXPECT_TRUE(engine().heldKeys().Contains({kA, kS, kD}));
}

// ---- Game-pad controls bound to actions ----

TEST_F(KeyRoutingTest, ADirectGamePadActionRunsWithoutTouchingTheHeldMap) {
    Load("[gamepad2]\nA = Tap (40,40)\n");
    engine().router().DirectGamePadAction(GamePad::kA, true);
    AdvanceTo(20);
    engine().router().DirectGamePadAction(GamePad::kA, false);
    engine().router().DirectGamePadAction(GamePad::kB, true);  // not bound: nothing
    RunDue();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.4f, 0.4f, true}, {20, 0, 0.4f, 0.4f, false}}));
    EXPECT_EQ(engine().heldKeys().Size(), 0u);
    EXPECT_TRUE(Bytes().empty());

    // Keys from a pad are forwarded even without raw forwarding.
    ResetRecords();
    engine().SetForwardRawKeys(false);
    engine().router().Route(kSpace, true, false);
    engine().router().Route(kSpace, false, false);
    RunDue();
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x39}, {0, 0xB9}}));
}

TEST_F(KeyRoutingTest, HeldKeysSurviveAKeymapLoad) {
    Load("[keys]\nA = Key S\n");
    Press(kA);
    Load("[keys]\nA = Key D\n");
    Press(kA);  // auto-repeat of a key action is sent again
    EXPECT_TRUE(engine().heldKeys().Contains({kA}));
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x20}}));
}

}  // namespace
}  // namespace Keyweave::Testing
