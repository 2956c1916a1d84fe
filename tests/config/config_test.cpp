// The configuration model: defaults, the shooting-mode completion and the
// registries of active actions. Lookups and translation are tested through
// the parser.
#include "config/config.h"

#include <gtest/gtest.h>

#include <mutex>

#include "actions/actions.h"
#include "codes/key_names.h"

namespace Keyweave {
namespace {

Action* Bind(Config& config, KeySet keys, std::unique_ptr<Action> action) {
    Action* record = config.Adopt(std::move(action));
    config.mKeyRules[keys].insert(record);
    return record;
}

TEST(ConfigTest, AnEmptyConfigurationHasTheDefaults) {
    const Config config;
    EXPECT_EQ(config.ShootingModeType(), ShootingMode::kLook);
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
