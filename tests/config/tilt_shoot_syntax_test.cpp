// Action texts of tilts, shooting modes and macros, and the stick syntax of
// [gamepad2].
#include <gtest/gtest.h>

#include "codes/control_codes.h"
#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

using TiltTest = ActionTest;
using ShootingTest = ActionTest;
using MacroTest = ActionTest;

TEST_F(TiltTest, AbsoluteTiltsReduceTheirAnglesModulo360) {
    const auto& tilt = As<AbsoluteTiltAction>(Bind("Tilt Absolute (370,-725)"), kAbsoluteTiltAction);
    EXPECT_EQ(Logs(), (Lines{Trace("ParseTiltAction", "Absolute (370,-725)"),
                             Trace("ParseAbsoluteTiltAction", "(370,-725)")}));
    EXPECT_FLOAT_EQ(tilt.pitch, 10.0f);
    EXPECT_FLOAT_EQ(tilt.roll, -5.0f);
    EXPECT_EQ(tilt.returnToLevel, 0);

    const auto& back = As<AbsoluteTiltAction>(Bind("Tilt Absolute (20,0) Return"), kAbsoluteTiltAction);
    EXPECT_FLOAT_EQ(back.pitch, 20.0f);
    EXPECT_EQ(back.returnToLevel, 1);
}

TEST_F(TiltTest, RelativeTiltsAddTheirAngles) {
    const auto& tilt = As<RelativeTiltAction>(Bind("Tilt Relative (5,-365)"), kRelativeTiltAction);
    EXPECT_EQ(Logs(), (Lines{Trace("ParseTiltAction", "Relative (5,-365)"),
                             Trace("ParseRelativeTiltAction", "(5,-365)")}));
    EXPECT_FLOAT_EQ(tilt.pitch, 5.0f);
    EXPECT_FLOAT_EQ(tilt.roll, -5.0f);

    // Integers beyond the int32 range saturate before they are reduced.
    const auto& extreme = As<RelativeTiltAction>(Bind("Tilt Relative (-99999999999,2147483647)"), kRelativeTiltAction);
    EXPECT_FLOAT_EQ(extreme.pitch, -128.0f);  // -2147483648 % 360
    EXPECT_FLOAT_EQ(extreme.roll, 127.0f);    // 2147483647 % 360
}

TEST_F(ShootingTest, ShootModeNeedsTheShootingDirectiveAboveIt) {
    EXPECT_TRUE(Load("[keys]\nA = ShootMode (50,50,90,80,40)\n# ENABLE_SHOOTING_MODE\n# SHOOTING_MODE_2\n"
                     "S = ShootMode (50,40,90,80,250)\nSpace = ShootMode\n"));
    EXPECT_TRUE(config->GetActions({kA}).empty());
    const auto* mode = Only<ShootModeAction>({kS}, kShootModeAction);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(mode->savedPoint, mode->point);
    EXPECT_EQ(mode->point2, (Point{0.9f, 0.8f}));
    EXPECT_FLOAT_EQ(mode->sensitivity, 2.5f) << "the fifth value is not range-checked";
    EXPECT_EQ(mode->modeType, ShootingMode::kFireFingerAims);
    const auto* bare = Only<ShootModeAction>({kSpace}, kShootModeAction);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->point2, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(bare->sensitivity, 0.0f);
}

TEST_F(ShootingTest, SuspendShootIsAKeywordAlone) {
    EXPECT_TRUE(Load("# ENABLE_SHOOTING_MODE\n[keys]\nA = SuspendShoot whatever follows\n"));
    EXPECT_EQ(Logs(), Lines{"mEnableShootingMode -> true"});
    EXPECT_NE(Only<SuspendShootAction>({kA}, kSuspendShootAction), nullptr);
}

TEST_F(ShootingTest, ShootMoveTakesExactlyThreeValues) {
    const auto& move = As<ShootMoveAction>(Bind("ShootMove (50,40,30)"), kShootMoveAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseShootMoveAction", "(50,40,30)")});
    EXPECT_EQ(move.point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(move.currentPoint, move.point);
    EXPECT_FLOAT_EQ(move.sensitivity, 0.3f);
    EXPECT_FLOAT_EQ(As<ShootMoveAction>(Bind("ShootMove (50,40,100)"), kShootMoveAction).sensitivity, 1.0f);
    EXPECT_FLOAT_EQ(As<ShootMoveAction>(Bind("ShootMove"), kShootMoveAction).sensitivity, 0.0f);
}

TEST_F(MacroTest, MacrosAreTriplesAndARepeatCount) {
    const auto& one = As<TapsMacroAction>(Bind("TapMacros (10,10,50,2)"), kTapsMacroAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapsMacroAction", "(10,10,50,2)")});
    ASSERT_EQ(one.taps.size(), 1u);
    EXPECT_EQ(one.taps[0].point, (Point{0.1f, 0.1f}));
    EXPECT_EQ(one.taps[0].pause, 50);
    EXPECT_EQ(one.repeat, 2);

    const auto& two = As<TapsMacroAction>(Bind("TapMacros (30,40,100.9,60,40,-7,2.7)"), kTapsMacroAction);
    ASSERT_EQ(two.taps.size(), 2u);
    EXPECT_EQ(two.taps[0].pause, 100);
    EXPECT_EQ(two.taps[1].point, (Point{0.6f, 0.4f}));
    EXPECT_EQ(two.taps[1].pause, -7);
    EXPECT_EQ(two.repeat, 2);

    const auto& none = As<TapsMacroAction>(Bind("TapMacros (3)"), kTapsMacroAction);
    EXPECT_TRUE(none.taps.empty());
    EXPECT_EQ(none.repeat, 3);
    const auto& bare = As<TapsMacroAction>(Bind("TapMacros"), kTapsMacroAction);
    EXPECT_TRUE(bare.taps.empty());
    EXPECT_EQ(bare.repeat, 1);
}

TEST_F(MacroTest, CountsBeyondTheIntegerRangeSaturate) {
    EXPECT_EQ(As<TapsMacroAction>(Bind("TapMacros (1e30)"), kTapsMacroAction).repeat, 2147483647);
    EXPECT_EQ(As<TapsMacroAction>(Bind("TapMacros (10,10,-1e30,-2.5)"), kTapsMacroAction).taps.at(0).pause,
              -2147483647 - 1);
    EXPECT_EQ(As<TapsMacroAction>(Bind("TapMacros (-2.5)"), kTapsMacroAction).repeat, -2);
}

class StickTest : public KeymapTest {
protected:
    // Binds the right stick to `text` in [gamepad2]; its action or null.
    const Action* BindStick(std::string_view text) {
        EXPECT_TRUE(Load("[gamepad2]\nRightStick = " + std::string(text) + "\n"));
        return config->GamePadAction(GamePad::kRightStick);
    }
};

TEST_F(StickTest, StickRecordsKeepHundredthsOfAPercent) {
    const auto& move = As<StickMoveAction>(BindStick("TouchMove (0.5,0.25,50)"), kStickMoveAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseStickhMoveAction", "(0.5,0.25,50)")});
    EXPECT_EQ(move.point, (Point{50.0f, 25.0f}));
    EXPECT_EQ(move.currentPoint, move.point);
    EXPECT_EQ(move.lastPoint, move.point);
    EXPECT_FLOAT_EQ(move.sensitivity, 0.05f);
    EXPECT_EQ(move.control, GamePad::kRightStick);

    const auto& hold = As<StickHoldAction>(BindStick("SwipeHold (20,70,10,40)"), kStickHoldAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseStickHoldeAction", "(20,70,10,40)")});
    EXPECT_EQ(hold.point, (Point{2000.0f, 7000.0f}));
    EXPECT_FLOAT_EQ(hold.radius, 1000.0f);
    EXPECT_FLOAT_EQ(hold.sensitivity, 0.04f);
    EXPECT_EQ(hold.control, GamePad::kLeftStick) << "a stick hold always reads the left stick";

    const auto& tap = As<TapStickAction>(BindStick("TapStick (50,50,50,100)"), kTapStickAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapStickeAction", "(50,50,50,100)")});
    EXPECT_FLOAT_EQ(tap.radius, 5000.0f);
    EXPECT_FLOAT_EQ(tap.sensitivity, 0.1f);
    EXPECT_EQ(tap.control, GamePad::kRightStick);
}

TEST_F(StickTest, StickDefaultsAreNotScaled) {
    const auto& move = As<StickMoveAction>(BindStick("TouchMove"), kStickMoveAction);
    EXPECT_EQ(move.point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(move.sensitivity, 0.0f);
    const auto& hold = As<StickHoldAction>(BindStick("SwipeHold"), kStickHoldAction);
    EXPECT_EQ(hold.point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(hold.radius, 0.0f);
}

TEST_F(StickTest, StickTuplesHaveExactCountsAndRanges) {
    const char* kBad[] = {
        "TouchMove (1,2)",       "TouchMove (1,2,101)",   "TouchMove (1,2,-1)",      "SwipeHold (1,2,3)",
        "SwipeHold (1,2,51,10)", "SwipeHold (1,2,10,-1)", "TapStick (1,2,-1,10)",    "TapStick (1,2,10,100.5)",
    };
    for (const char* text : kBad) {
        EXPECT_EQ(BindStick(text), nullptr) << text;
        const std::string tuple = std::string(text).substr(std::string(text).find('('));
        ASSERT_EQ(Logs().size(), 3u) << text;
        EXPECT_EQ(Logs()[1], "Cannot parse point: " + tuple) << text;
    }
    EXPECT_EQ(BindStick("TapStick (1,2,3,4) now"), nullptr);
    EXPECT_EQ(Logs(), (Lines{Trace("ParseTapStickeAction", "(1,2,3,4) now"), "Cannot parse trailing junk: now",
                             "Cannot process line: RightStick = TapStick (1,2,3,4) now"}));
    // Only the pattern's values are read: a fourth one goes unnoticed.
    EXPECT_NE(BindStick("TouchMove (1,2,3,4)"), nullptr);
}

}  // namespace
}  // namespace Keyweave::Testing
