#include "config/config.h"

#include "actions/actions.h"
#include "codes/key_names.h"

namespace Keyweave {

static_assert(static_cast<uint32_t>(ActionType::kTapsMacroAction) < ActiveRegistry::kTags,
              "every action type has a tag in the registry");

void ActiveRegistry::SetActive(ActionType type, Action* action) {
    Platform::LockGuard guard(lock_);
    if (const auto tag = static_cast<uint32_t>(type); tag < kTags) actions_[tag] = action;
}

void ActiveRegistry::RemoveActive(ActionType type) { SetActive(type, nullptr); }

void ActiveRegistry::SetActiveWhile(bool pressed, ActionType type, Action* action) {
    SetActive(type, pressed ? action : nullptr);
}

Action* ActiveRegistry::GetActive(ActionType type) const {
    const auto tag = static_cast<uint32_t>(type);
    return tag < kTags ? actions_[tag] : nullptr;
}

Action* Config::Adopt(std::unique_ptr<Action> action) {
    records_.push_back(std::move(action));
    return records_.back().get();
}

const ActionSet& Config::GetActions(const KeySet& keys) const {
    static const ActionSet kNone;
    auto it = mKeyRules.find(keys);
    return it == mKeyRules.end() ? kNone : it->second;
}

const ActionSet& Config::GetActions(uint32_t key) const {
    static const ActionSet kNone;
    auto it = mKeyRules.find(key);
    return it == mKeyRules.end() ? kNone : it->second;
}

uint32_t Config::ControllerKey(uint32_t controllerCode) const {
    auto it = mControllerKeys.find(controllerCode);
    return it == mControllerKeys.end() ? kNoControllerKey : it->second;
}

std::string Config::Translate(const std::string& text) const {
    if (auto it = mLocalStrings.find(text); it != mLocalStrings.end()) return it->second;
    if (auto it = mStrings.find(text); it != mStrings.end()) return it->second;
    return text;
}

bool Config::GamePadKey(uint32_t control, uint32_t& keyCode) const {
    auto it = mGamePadKeys.find(control);
    if (it == mGamePadKeys.end()) return false;
    keyCode = it->second;
    return true;
}

Action* Config::GamePadAction(uint32_t control) const {
    auto it = mGamePadActions.find(control);
    return it == mGamePadActions.end() ? nullptr : it->second;
}

void Config::CompleteShootingMode() {
    // The first action of a rule's set counts only when it is a tap.
    auto firstTap = [this](uint32_t key) -> TapAction* {
        const ActionSet& actions = GetActions(KeySet{key});
        if (actions.empty() || (*actions.begin())->type != ActionType::kTapAction) return nullptr;
        return static_cast<TapAction*>(*actions.begin());
    };
    TapAction* aim = firstTap(kKeyMouseMove);
    TapAction* fire = firstTap(kKeyLeftClick);
    if (aim == nullptr) return;

    Action* shooting = nullptr;
    if (fire == nullptr) {
        shooting = Adopt(std::make_unique<ShootMoveAction>(aim->point, 0.5f));
    } else {
        shooting = Adopt(std::make_unique<ShootModeAction>(aim->point, fire->point, mShootingModeType, 0.35f));
    }
    // Whatever the RightClick rule held before stays owned here, unbound.
    mKeyRules[KeySet{kKeyRightClick}] = ActionSet{shooting};
}

}  // namespace Keyweave
