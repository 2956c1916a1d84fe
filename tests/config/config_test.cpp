// The configuration model: defaults, lookups, translation, the shooting-mode
// completion and the registries of active actions.
#include "config/config.h"

#include <gtest/gtest.h>

#include <mutex>

#include "actions/actions.h"
#include "config/key_names.h"

namespace Keyweave {
namespace {

Action* Bind(Config& config, KeySet keys, std::unique_ptr<Action> action) {
    Action* record = config.Adopt(std::move(action));
    config.mKeyRules[keys].insert(record);
    return record;
}

TEST(ConfigTest, AnEmptyConfigurationHasTheDefaults) {
    const Config config;
    EXPECT_EQ(config.ShootingModeType(), 1u);
    EXPECT_EQ(config.mMode, "Default");
    const ClipRectangle& clip = config.GetClipRectangle();
    EXPECT_EQ(std::vector<int32_t>(clip.values, clip.values + 4), (std::vector<int32_t>{55, 10, 40, 80}));
    EXPECT_TRUE(config.GetActions({57}).empty());
    EXPECT_TRUE(config.GetActions({}).empty());
    EXPECT_EQ(config.ControllerKey('A'), 0xFFFFFFFFu);
    EXPECT_EQ(config.ScreenCenter(), nullptr);
    EXPECT_FALSE(config.MultiKeyAware());
    EXPECT_FALSE(config.IsDefault());
    EXPECT_EQ(config.ShootingModeActive(), 0u);
    uint32_t key = 0;
    EXPECT_FALSE(config.GamePadKey(0x1, key));
    EXPECT_EQ(config.GamePadAction(0x10000000), nullptr);
    EXPECT_FALSE(config.mArea1.enabled);
}

TEST(ConfigTest, KeySetsMatchOnlyWhenEqual) {
    Config config;
    Action* combo = Bind(config, {kKeyCtrl, 30}, std::make_unique<TapAction>(Point{0.5f, 0.5f}));
    EXPECT_TRUE(config.GetActions({kKeyCtrl}).empty());
    EXPECT_TRUE(config.GetActions({30}).empty());
    EXPECT_TRUE(config.GetActions({kKeyCtrl, 30, 31}).empty());
    ASSERT_EQ(config.GetActions({30, kKeyCtrl}).size(), 1u);
    EXPECT_EQ(*config.GetActions({30, kKeyCtrl}).begin(), combo);
}

TEST(ConfigTest, ActionSetsAreOrderedByRecord) {
    Config config;
    Action* first = Bind(config, {57}, std::make_unique<TapAction>(Point{0.1f, 0.1f}));
    Action* second = Bind(config, {57}, std::make_unique<KeyAction>(30));
    const ActionSet& set = config.GetActions({57});
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(*set.begin(), std::min(first, second));
}

TEST(ConfigTest, TranslatePrefersTheLocaleThenStringsThenTheText) {
    Config config;
    config.mStrings["Jump"] = "Saut";
    config.mStrings["Fire"] = "Feu";
    config.mLocalStrings["Fire"] = "Tir";
    EXPECT_EQ(config.Translate("Fire"), "Tir");
    EXPECT_EQ(config.Translate("Jump"), "Saut");
    EXPECT_EQ(config.Translate("Run"), "Run");
    EXPECT_EQ(config.Translate(""), "");
}

TEST(ConfigTest, ControllerAndGamePadLookups) {
    Config config;
    config.mControllerKeys['A'] = 57;
    config.mGamePadKeys[0x1] = 28;
    Action* stick = config.Adopt(std::make_unique<StickMoveAction>(Point{5000, 5000}, 1.0f));
    config.mGamePadActions[0x20000000] = stick;
    EXPECT_EQ(config.ControllerKey('A'), 57u);
    EXPECT_EQ(config.ControllerKey('B'), 0xFFFFFFFFu);
    uint32_t key = 0;
    EXPECT_TRUE(config.GamePadKey(0x1, key));
    EXPECT_EQ(key, 28u);
    EXPECT_EQ(config.GamePadAction(0x20000000), stick);
}

TEST(ConfigTest, ShootingCompletionWithAimOnlyMakesAShootMove) {
    Config config;
    config.mEnableShootingMode = 1;
    Bind(config, {kKeyMouseMove}, std::make_unique<TapAction>(Point{0.5f, 0.5f}));
    Bind(config, {kKeyRightClick}, std::make_unique<TapAction>(Point{0.9f, 0.9f}));  // replaced
    const size_t before = config.OwnedRecordCount();
    config.CompleteShootingMode();
    const ActionSet& right = config.GetActions({kKeyRightClick});
    ASSERT_EQ(right.size(), 1u);
    ASSERT_EQ((*right.begin())->type, kShootMoveAction);
    const auto& move = static_cast<const ShootMoveAction&>(**right.begin());
    EXPECT_EQ(move.point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(move.currentPoint, move.point);
    EXPECT_FLOAT_EQ(move.sensitivity, 0.5f);
    EXPECT_EQ(config.OwnedRecordCount(), before + 1) << "the dropped tap is still owned and freed with the configuration";
}

TEST(ConfigTest, ShootingCompletionWithAimAndFireMakesAShootMode) {
    Config config;
    config.mEnableShootingMode = 1;
    config.mShootingModeType = 3;
    Bind(config, {kKeyMouseMove}, std::make_unique<TapAction>(Point{0.5f, 0.4f}));
    Bind(config, {kKeyLeftClick}, std::make_unique<TapAction>(Point{0.8f, 0.7f}));
    config.CompleteShootingMode();
    const ActionSet& right = config.GetActions({kKeyRightClick});
    ASSERT_EQ(right.size(), 1u);
    ASSERT_EQ((*right.begin())->type, kShootModeAction);
    const auto& mode = static_cast<const ShootModeAction&>(**right.begin());
    EXPECT_EQ(mode.point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(mode.savedPoint, mode.point);
    EXPECT_EQ(mode.point2, (Point{0.8f, 0.7f}));
    EXPECT_EQ(mode.modeType, 3u);
    EXPECT_EQ(mode.lookSlot, -1);
    EXPECT_EQ(mode.fireSlot, -1);
    EXPECT_FLOAT_EQ(mode.sensitivity, 0.35f);
}

TEST(ConfigTest, ShootingCompletionNeedsATapOnMouseMove) {
    Config config;
    Bind(config, {kKeyMouseMove}, std::make_unique<KeyAction>(30));  // not a tap
    Action* right = Bind(config, {kKeyRightClick}, std::make_unique<TapAction>(Point{0.9f, 0.9f}));
    config.CompleteShootingMode();
    EXPECT_EQ(config.GetActions({kKeyRightClick}), ActionSet{right});

    Config none;
    none.CompleteShootingMode();
    EXPECT_TRUE(none.GetActions({kKeyRightClick}).empty());
}

TEST(ConfigTest, RegistriesHoldOneActionPerTag) {
    Config config;
    TapSwipeAction first({0.1f, 0.1f}, 5, false);
    TapSwipeAction second({0.2f, 0.2f}, 5, false);
    ActiveRegistry& active = config.ActiveActions();
    EXPECT_EQ(active.GetActive(kTapSwipeAction), nullptr);
    active.SetActive(kTapSwipeAction, &first);
    active.SetActive(kTapSwipeAction, &second);
    EXPECT_EQ(active.GetActive(kTapSwipeAction), &second);
    {
        // The lock is re-entrant: a walker may clear entries while holding it.
        std::lock_guard guard(active.lock());
        for (const auto& [tag, action] : active.CopyActive()) active.RemoveActive(tag);
    }
    EXPECT_EQ(active.GetActive(kTapSwipeAction), nullptr);
    active.RemoveActive(kTapSwipeAction);  // absent: nothing happens
    EXPECT_TRUE(config.ActiveStickActions().CopyActive().empty());
}

}  // namespace
}  // namespace Keyweave
