// What the keymap reader stores where no command prints it: the game-pad and
// controller tables, the stick records, the directives' fields. Everything
// the dump, the summary and the messages show is in tests/keymaps.
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

#include "actions/actions.h"
#include "base/log.h"
#include "codes/control_codes.h"
#include "config/config.h"
#include "config/emulation_knobs.h"
#include "config/parse_context.h"
#include "config/parser.h"

namespace Keyweave {

using enum ActionType;

namespace {

class ReaderFieldsTest : public ::testing::Test {
protected:
    // A fresh configuration read from `text`, with fresh knobs.
    const Config& Read(std::string_view text) {
        config = std::make_unique<Config>();
        knobs = EmulationKnobs{};
        Config::Parser parser(*config, ParseContext{log, "", &knobs, nullptr});
        EXPECT_TRUE(parser.LoadText(text));
        return *config;
    }
    // `action` as the record of `tag`; an exception (a failure) otherwise.
    template <typename T>
    static const T& As(const Action* action, ActionType tag) {
        if (action == nullptr || action->type != tag) throw std::runtime_error("no action of the expected type");
        return *static_cast<const T*>(action);
    }
    template <typename T>
    const T& Pad(uint32_t control, ActionType tag) {
        return As<T>(config->GamePadAction(control), tag);
    }
    template <typename T>
    const T& Key(uint32_t key, ActionType tag) {
        const ActionSet& actions = config->GetActions(key);
        return As<T>(actions.size() == 1 ? *actions.begin() : nullptr, tag);
    }

    Log log;
    EmulationKnobs knobs;
    std::unique_ptr<Config> config;
};

TEST_F(ReaderFieldsTest, GamePadAndControllerTables) {
    Read(
        "[gamepad]\nA = Space\nA = Enter\nStart = Tab the menu\nLeftStick = Tilt\nHat_Up = Up\nB = Jump\n"
        "Hide_Cursor = No way\n[opensensor]\nUp = Space Jump\nH = NoSuchKey\nDown = Down\nI = Space\n");
    EXPECT_EQ(config->mGamePadKeys,
              (std::map<uint32_t, uint32_t>{{GamePad::kA, 28}, {GamePad::kStart, 15}, {GamePad::kHatUp, 0xE048}}));
    EXPECT_TRUE(config->GamePadTilt());
    EXPECT_FALSE(config->ShowCursor());
    EXPECT_EQ(config->mControllerKeys, (std::map<uint32_t, uint32_t>{{'H', 0xFFFFFFFFu}, {'d', 0xE050}, {'u', 57}}));
    EXPECT_TRUE(Read("[gamepad]\nHide_Cursor = No\n").ShowCursor());
    EXPECT_FALSE(Read("[gamepad]\nHide_Cursor = Yes\n").ShowCursor());
}

// Stick records keep hundredths of a percent and speeds in thousandths; their
// defaults are not scaled. Other keywords take their [keys] form.
TEST_F(ReaderFieldsTest, GamePad2StickRecords) {
    Read(
        "[gamepad2]\nRightStick = TouchMove (0.5,0.25,50)\nLeftStick = SwipeHold (20,70,10,40)\n"
        "A = TapStick (50,50,50,100)\nB = Tap (10,10)\nB = TapCancel (20,70)\nX = Tilt Absolute (10,0) Return\n"
        "Y = TouchMove (1,2,3,4)\n");
    const auto& move = Pad<StickMoveAction>(GamePad::kRightStick, kStickMoveAction);
    EXPECT_EQ(move.point, (Point{50.0f, 25.0f}));
    EXPECT_EQ(move.lastPoint, move.point);
    EXPECT_FLOAT_EQ(move.sensitivity, 0.05f);
    EXPECT_EQ(move.control, GamePad::kRightStick);
    const auto& hold = Pad<StickHoldAction>(GamePad::kLeftStick, kStickHoldAction);
    EXPECT_EQ(hold.point, (Point{2000.0f, 7000.0f}));
    EXPECT_FLOAT_EQ(hold.radius, 1000.0f);
    EXPECT_FLOAT_EQ(hold.sensitivity, 0.04f);
    EXPECT_EQ(hold.control, GamePad::kLeftStick);
    const auto& tap = Pad<TapStickAction>(GamePad::kA, kTapStickAction);
    EXPECT_FLOAT_EQ(tap.radius, 5000.0f);
    EXPECT_FLOAT_EQ(tap.sensitivity, 0.1f);
    EXPECT_EQ(tap.control, GamePad::kRightStick) << "a tap-stick aims with the right stick";
    EXPECT_EQ(Pad<TapCancelAction>(GamePad::kB, kTapCancelAction).point, (Point{0.2f, 0.7f}));
    EXPECT_EQ(Pad<AbsoluteTiltAction>(GamePad::kX, kAbsoluteTiltAction).returnToLevel, 1);
    EXPECT_NE(config->GamePadAction(GamePad::kY), nullptr) << "a fourth value is not looked at";

    Read("[gamepad2]\nRightStick = TouchMove\nLeftStick = SwipeHold\n");
    EXPECT_EQ(Pad<StickMoveAction>(GamePad::kRightStick, kStickMoveAction).point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(Pad<StickHoldAction>(GamePad::kLeftStick, kStickHoldAction).radius, 0.0f);
}

TEST_F(ReaderFieldsTest, FlagDirectivesAreExact) {
    Read(
        "# ALWAYS_SEND_UNMAPPED_KEY\n# ENABLE_SINGLE_TOUCH_SHOOTING_MODE\n# ENABLE_SPACE_SHOOTER_MODE\n"
        "# ENABLE_LOCATION_UPDATION_WITH_KEYMAP\n# SHOOTING_MODE_4\n#ENABLE_DYNAMIC_ZOOM\n# MODE = Gamepad\n");
    EXPECT_TRUE(config->AlwaysSendUnmappedKey());
    EXPECT_EQ(config->EnableSingleTouchShootingMode(), 1u);
    EXPECT_EQ(config->EnableSpaceShooterMode(), 1u);
    EXPECT_EQ(config->EnableLocationUpdationWithKeyMap(), 1u);
    EXPECT_EQ(config->ShootingModeType(), ShootingMode::kRecentreAtEdge);
    EXPECT_EQ(config->EnableDynamicZoom(), 0u);
    EXPECT_EQ(config->EnableShootingMode(), 0u);
    EXPECT_EQ(config->mMode, "Default");
    Read("# ENABLE_DYNAMIC_ZOOM \t\n# SHOOTING_MODE_2  \t\n# SHOOTING_MODE_3x\n# SHOOTING_MODE_1 # note\n");
    EXPECT_EQ(config->EnableDynamicZoom(), 1u);
    EXPECT_EQ(config->ShootingModeType(), ShootingMode::kFireFingerAims);

    config->SetShootingModeActive(1);
    Config::Parser parser(*config, ParseContext{log, "", nullptr, nullptr});
    EXPECT_TRUE(parser.ProcessLine("# ENABLE_SHOOTING_MODE"));
    EXPECT_EQ(config->EnableShootingMode(), 1u);
    EXPECT_EQ(config->ShootingModeActive(), 0u) << "the directive clears the mode's state";
}

// A SwipeHold reads the glide of the dynamic pad when the directive is above
// it; the forced circle of a tap-swipe is its fourth value.
TEST_F(ReaderFieldsTest, DynamicPadGlideAndForcedCircle) {
    Read(
        "[keys]\nA = SwipeHold Down (50,50,6)\n# ENABLE_DYNAMIC_DPAD\nS = SwipeHold Down (50,50,6)\n"
        "D = SwipeHold Down (50,50,6,12)\nF = TapSwipe (80,60,10,1)\nG = TapSwipe (80,60,10,0)\n");
    EXPECT_EQ(Key<SwipeHoldAction>(30, kSwipeHoldAction).glideTime, 10u);
    EXPECT_EQ(Key<SwipeHoldAction>(31, kSwipeHoldAction).glideTime, 30u);
    EXPECT_EQ(Key<SwipeHoldAction>(32, kSwipeHoldAction).glideTime, 12u);
    EXPECT_EQ(Key<TapSwipeAction>(33, kTapSwipeAction).force, 1);
    EXPECT_EQ(Key<TapSwipeAction>(34, kTapSwipeAction).force, 0);
}

TEST_F(ReaderFieldsTest, ValuesRightAfterTheDirectiveName) {
    const auto clip = [&](std::string_view text) {
        const ClipRectangle& rectangle = Read(text).GetClipRectangle();
        return std::vector<int32_t>(rectangle.values, rectangle.values + 4);
    };
    EXPECT_EQ(clip(""), (std::vector<int32_t>{55, 10, 40, 80}));
    EXPECT_EQ(clip("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE\n"), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(clip("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE(5,6)\n"), (std::vector<int32_t>{5, 6, 40, 80}));
    EXPECT_EQ(clip("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE (1,2,3,4)\n"), (std::vector<int32_t>{55, 10, 40, 80}));
    EXPECT_EQ(clip("# CLIP_RECTANGLE(-7, +8,9x,10)\n"), (std::vector<int32_t>{-7, 8, 9, 80}));

    Read("# SWIPE_PINCH(0.3,200,0.25,0.15,0.12,70)\n# SWIPE_PINCH\n");
    EXPECT_EQ(knobs, (EmulationKnobs{0.3f, 200, 0.25f, 0.15f, 0.12f, 70}));
    Read("# SWIPE_PINCH(0.5,150)\n");
    EXPECT_EQ(knobs, (EmulationKnobs{0.5f, 150, 0.2f, 0.1f, 0.1f, 50}));
    Read("# SWIPE_PINCH (0.5,150)\n");
    EXPECT_EQ(knobs, EmulationKnobs{});

    Read("# SCREEN_CENTER_CUSTOM (40,60,10)\n# SCREEN_CENTER_CUSTOM(30,20)\n# SCREEN_CENTER_CUSTOM(50,50,60)\n");
    ASSERT_NE(config->ScreenCenter(), nullptr);
    EXPECT_EQ(config->ScreenCenter()->point, (Point{0.3f, 0.2f}));
    EXPECT_FLOAT_EQ(config->ScreenCenter()->radius, 6.0f);
    EXPECT_FLOAT_EQ(Read("# SCREEN_CENTER_CUSTOM (40,60,10)\n").ScreenCenter()->radius, 10.0f);
}

}  // namespace
}  // namespace Keyweave
