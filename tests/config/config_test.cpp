// The configuration model: defaults and the registries of active actions.
// Lookups, translation and the shooting-mode completion are the keymap
// golden runs' (tests/keymaps).
#include "config/config.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "actions/actions.h"

namespace Keyweave {
namespace {

TEST(ConfigTest, AnEmptyConfigurationHasTheDefaults) {
    const Config config;
    EXPECT_EQ(config.ShootingModeType(), ShootingMode::kLook);
    EXPECT_EQ(config.mMode, "Default");
    const ClipRectangle& clip = config.GetClipRectangle();
    EXPECT_EQ(std::vector<int32_t>(clip.values, clip.values + 4), (std::vector<int32_t>{55, 10, 40, 80}));
    EXPECT_TRUE(config.GetActions(57).empty());
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

TEST(ConfigTest, RegistriesHoldOneActionPerTag) {
    Config config;
    TapSwipeAction first({0.1f, 0.1f}, 5, false);
    TapSwipeAction second({0.2f, 0.2f}, 5, false);
    ActiveRegistry& active = config.ActiveActions();
    EXPECT_EQ(active.GetActive(ActionType::kTapSwipeAction), nullptr);
    active.SetActive(ActionType::kTapSwipeAction, &first);
    active.SetActive(ActionType::kTapSwipeAction, &second);
    EXPECT_EQ(active.GetActive(ActionType::kTapSwipeAction), &second);
    {
        // The lock is re-entrant: a walker may clear entries while holding it.
        Platform::LockGuard guard(active.lock());
        const ActiveRegistry::Table table = active.CopyActive();
        for (uint32_t tag = 0; tag < table.size(); ++tag) {
            if (table[tag] != nullptr) active.RemoveActive(static_cast<ActionType>(tag));
        }
    }
    EXPECT_EQ(active.GetActive(ActionType::kTapSwipeAction), nullptr);
    active.RemoveActive(ActionType::kTapSwipeAction);                          // absent: nothing happens
    active.SetActive(static_cast<ActionType>(ActiveRegistry::kTags), &first);  // no such tag: ignored
    EXPECT_EQ(active.GetActive(static_cast<ActionType>(ActiveRegistry::kTags)), nullptr);
    for (const ActiveRegistry& registry : {std::cref(active), std::cref(config.ActiveStickActions())}) {
        Platform::LockGuard guard(registry.lock());
        const ActiveRegistry::Table table = registry.CopyActive();
        EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](const Action* a) { return a == nullptr; }));
    }
}

}  // namespace
}  // namespace Keyweave
