#pragma once
// Keyweave::Config: the in-memory form of one keymap file.
//
// The parser fills a fresh configuration; after a successful parse it is only
// read, except for its run-time fields: the shooting-mode state, the package
// name and default mark, and the two registries of active actions. Exactly one
// configuration is active at a time; the engine owns it.
//
// The configuration owns every action record its rules reach (through
// `records_`); the rule maps, the game-pad action map, the screen centre and
// the registries only point at them.
//
// Threads: the loaded maps are read without locks from the host's input
// thread and the game-pad threads; they never change after loading. Each
// registry of active actions has a re-entrant lock of its own, taken by
// SetActive/RemoveActive and by callers that walk a registry's copy.

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "actions/action.h"
#include "actions/mouse_actions.h"
#include "actions/touch_actions.h"
#include "platform/platform.h"

namespace Keyweave {

// Key codes held together, ascending, no duplicates. A rule binds one key set.
using KeySet = std::set<uint32_t>;
// The order of key sets (std::set's own), which also places a single key
// where the set of that key alone would be: a one-key rule is found without
// building its key set.
struct KeySetOrder {
    using is_transparent = void;
    bool operator()(const KeySet& a, const KeySet& b) const { return a < b; }
    bool operator()(const KeySet& a, uint32_t key) const {
        return std::lexicographical_compare(a.begin(), a.end(), &key, &key + 1);
    }
    bool operator()(uint32_t key, const KeySet& b) const {
        return std::lexicographical_compare(&key, &key + 1, b.begin(), b.end());
    }
};
// The actions of one rule, ordered by record identity (address), not by the
// order written in the rule.
using ActionSet = std::set<Action*>;

// An area of the on-screen controller, in fractions of the screen.
struct OpenSensorArea {
    bool enabled = false;
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    std::string label;
};

struct ClipRectangle {
    int32_t values[4] = {55, 10, 40, 80};  // in written order
};

// A registry of active actions: at most one per type tag, the tags being the
// action types. A fixed table, so that a copy of it (taken on every mouse
// move while mouse-look runs) needs no heap.
class ActiveRegistry {
public:
    static constexpr uint32_t kTags = 32;
    using Table = std::array<Action*, kTags>;  // by tag; null where none is active

    // A tag past the table is ignored (and never active).
    void SetActive(ActionType type, Action* action);
    void RemoveActive(ActionType type);
    // Active from a key's press to its release.
    void SetActiveWhile(bool pressed, ActionType type, Action* action);
    // Reads without the lock.
    [[nodiscard]] Action* GetActive(ActionType type) const;
    // A copy of the whole registry; takes no lock itself: callers that iterate
    // it hold `lock()` around the copy and its use.
    [[nodiscard]] Table CopyActive() const KEYWEAVE_REQUIRES(lock_) { return actions_; }
    Platform::RecursiveLock& lock() const KEYWEAVE_RETURN_CAPABILITY(lock_) { return lock_; }

private:
    // Re-entrant: a walker holds it while the actions it found play, and an
    // action that ends clears its own entry (SetActive) from inside that walk,
    // several layers down in the action's own code.
    mutable Platform::RecursiveLock lock_;
    Table actions_{};  // written under lock_; GetActive reads it without
};

class Config {
public:
    class Parser;  // the keymap file reader fills a configuration through it

    Config() = default;
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    // Takes ownership of a record and returns it, for the rule maps to point at.
    [[nodiscard]] Action* Adopt(std::unique_ptr<Action> action);
    // Number of records owned (tests and invariant checks).
    [[nodiscard]] size_t OwnedRecordCount() const { return records_.size(); }
    // Visits every record owned, as `visit(const Action&)` (invariant checks).
    template <typename Visit>
    void ForEachRecord(Visit&& visit) const {
        for (const auto& record : records_) visit(static_cast<const Action&>(*record));
    }

    // Lookups; none logs, none fails.
    [[nodiscard]] const ActionSet& GetActions(const KeySet& keys) const;
    // The actions of the rule of `key` alone.
    [[nodiscard]] const ActionSet& GetActions(uint32_t key) const;
    static constexpr uint32_t kNoControllerKey = 0xFFFFFFFFu;
    [[nodiscard]] uint32_t ControllerKey(uint32_t controllerCode) const;
    // `text` from the locale's strings, else from [strings], else itself.
    [[nodiscard]] std::string Translate(const std::string& text) const;
    // A game-pad control's mapped key code, or false.
    [[nodiscard]] bool GamePadKey(uint32_t control, uint32_t& keyCode) const;
    // The direct action bound to a game-pad control, or null.
    [[nodiscard]] Action* GamePadAction(uint32_t control) const;

    [[nodiscard]] bool MultiKeyAware() const { return mMultiKeyAware; }
    [[nodiscard]] bool AlwaysSendUnmappedKey() const { return mAlwaysSendUnmappedKey; }
    [[nodiscard]] bool ShowCursor() const { return mShowCursor; }
    [[nodiscard]] uint32_t EnableShootingMode() const { return mEnableShootingMode; }
    [[nodiscard]] ShootingMode ShootingModeType() const { return mShootingModeType; }
    [[nodiscard]] uint32_t EnableSingleTouchShootingMode() const { return mEnableSingleTouchShootingMode; }
    [[nodiscard]] uint32_t EnableSpaceShooterMode() const { return mEnableSpaceShooterMode; }
    [[nodiscard]] uint32_t EnableDynamicZoom() const { return mEnableDynamicZoom; }
    [[nodiscard]] uint32_t EnableDynamicDpad() const { return mEnableDynamicDpad; }
    [[nodiscard]] bool GamePadTilt() const { return mGamePadTilt; }
    [[nodiscard]] uint32_t EnableLocationUpdationWithKeyMap() const { return mEnableLocationUpdationWithKeyMap; }
    [[nodiscard]] uint32_t ShootingModeActive() const { return mShootingModeActive; }
    void SetShootingModeActive(uint32_t active) { mShootingModeActive = active; }
    [[nodiscard]] const ClipRectangle& GetClipRectangle() const { return mClipRectangle; }
    [[nodiscard]] const ScreenAction* ScreenCenter() const { return mScreenCenter; }

    void SetPackage(const std::string& name) { mPackage = name; }
    [[nodiscard]] const std::string& Package() const { return mPackage; }
    void MarkDefault() { mIsDefault = true; }
    [[nodiscard]] bool IsDefault() const { return mIsDefault; }

    // After the last line of a keymap with "# ENABLE_SHOOTING_MODE": turns the
    // MouseMove aim tap (and the LeftClick fire tap, if any) into the
    // RightClick rule's shooting action.
    void CompleteShootingMode();

    // Registries of active actions (run time).
    ActiveRegistry& ActiveActions() { return mActiveActions; }
    ActiveRegistry& ActiveStickActions() { return mActiveStickActions; }

    // The loaded fields. Written by the parser only, then read-only (but for
    // the run-time fields named above). Public so that the parser, the dump
    // and the tests read them by their names.
    std::map<std::string, std::string> mStrings;
    std::map<std::string, std::string> mLocalStrings;
    std::map<KeySet, ActionSet, KeySetOrder> mKeyRules;
    bool mMultiKeyAware = false;
    bool mAlwaysSendUnmappedKey = false;
    bool mShowCursor = false;
    uint32_t mEnableShootingMode = 0;
    ShootingMode mShootingModeType = ShootingMode::kLook;
    uint32_t mEnableSingleTouchShootingMode = 0;
    uint32_t mEnableSpaceShooterMode = 0;
    ClipRectangle mClipRectangle;
    uint32_t mShootingModeActive = 0;
    uint32_t mEnableDynamicZoom = 0;
    uint32_t mEnableDynamicDpad = 0;
    std::map<uint32_t, uint32_t> mControllerKeys;
    std::map<uint32_t, std::string> mControllerLabels;
    std::string mPackage;
    bool mIsDefault = false;
    std::string mMode = "Default";
    std::string mTilt;
    std::string mSwipeTap;
    OpenSensorArea mArea1;
    OpenSensorArea mArea2;
    std::map<uint32_t, uint32_t> mGamePadKeys;
    bool mGamePadTilt = false;
    uint32_t mEnableLocationUpdationWithKeyMap = 0;
    ScreenAction* mScreenCenter = nullptr;        // owned through records_
    std::map<uint32_t, Action*> mGamePadActions;  // owned through records_

private:
    ActiveRegistry mActiveActions;
    ActiveRegistry mActiveStickActions;
    std::vector<std::unique_ptr<Action>> records_;  // every record this configuration owns
};

}  // namespace Keyweave
