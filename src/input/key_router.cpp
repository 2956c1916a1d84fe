#include "input/key_router.h"

#include <mutex>
#include <string>
#include <utility>

#include "codes/key_names.h"

namespace Keyweave {

namespace {

// " Ctrl A": each key's name preceded by a blank, ascending by code.
std::string KeySetText(const KeySet& keys) {
    std::string text;
    for (uint32_t key : keys) {
        text += ' ';
        text += KeyNameOf(key);
    }
    return text;
}

}  // namespace

KeyRouter::KeyRouter(ConfigSource config, const RoutingSettings& settings, HeldKeys& held, ActionExecutor& executor,
                     Scheduler& scheduler, const Log& log)
    : config_(std::move(config)),
      settings_(settings),
      held_(held),
      executor_(executor),
      scheduler_(scheduler),
      log_(log) {}

bool KeyRouter::IsMousePseudoKey(uint32_t keyCode) {
    return keyCode >= kKeyMouseMove && keyCode <= kKeyMouseWheelUp;
}

void KeyRouter::Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) {
    std::lock_guard guard(held_.lock());
    const Config* config = config_();
    if (config == nullptr) return;
    if (!config->MultiKeyAware()) {
        Single(keyCode, pressed, fromHostKeyboard, 0);
    } else if (pressed) {
        MultiPress(keyCode, fromHostKeyboard);
    } else {
        MultiRelease(keyCode, fromHostKeyboard);
    }
}

void KeyRouter::Single(uint32_t keyCode, bool pressed, bool fromHostKeyboard, int32_t delayMs) {
    std::lock_guard guard(held_.lock());
    const Config* config = config_();
    if (config == nullptr) return;
    const bool pseudoKey = IsMousePseudoKey(keyCode);

    // With mapping off only Enter is still looked up.
    const ActionSet none;
    const ActionSet& mapped = settings_.MappingOn() || keyCode == kKeyEnter ? config->GetActions(keyCode) : none;

    // The raw key, for keys the keymap does not bind or for every key of a
    // keymap that always sends them. Made for this event only.
    KeyAction raw(keyCode);
    TaskIdList ids;
    if (mapped.empty()) {
        const bool forward = !pseudoKey && (settings_.ForwardRawKeys() || !fromHostKeyboard);
        if (forward) ids = executor_.ExecuteOne(raw, delayMs, pressed, keyCode);
    } else {
        if (config->AlwaysSendUnmappedKey() && !pseudoKey) executor_.ExecuteOne(raw, delayMs, pressed, keyCode);
        ids = executor_.Execute(mapped, delayMs, pressed, keyCode);
    }

    if (pressed) {
        held_.Record(keyCode, std::move(ids));
    } else {
        held_.Erase(keyCode);
    }
}

void KeyRouter::MultiPress(uint32_t keyCode, bool fromHostKeyboard) {
    std::lock_guard guard(held_.lock());
    for (const KeySet& heldKeys : held_.KeySets()) {
        KeySet combined = heldKeys;
        combined.insert(keyCode);
        if (combined.size() == 2 && TryCombination(combined, *heldKeys.begin())) return;
    }
    Single(keyCode, true, fromHostKeyboard, kCombinationHoldBackMs);
}

bool KeyRouter::TryCombination(const KeySet& keys, uint32_t earlier) {
    std::lock_guard guard(held_.lock());
    const Config* config = config_();
    if (config == nullptr) return false;
    const ActionSet& actions = config->GetActions(keys);
    if (actions.empty()) return false;
    TaskIdList pending;
    if (!held_.Find(KeySet{earlier}, pending)) return false;
    // The single key's first task is still queued: nothing of it has played
    // yet, so the combination can replace it. A press that posted nothing has
    // nothing that could have begun either.
    if (!pending.empty()) {
        if (!scheduler_.Cancel(pending.front())) return false;
        scheduler_.CancelAll(TaskIdList(pending.begin() + 1, pending.end()));
    }
    held_.Erase(KeySet{earlier});
    held_.Record(keys, executor_.Execute(actions, 0, true, keys));
    return true;
}

void KeyRouter::MultiRelease(uint32_t keyCode, bool fromHostKeyboard) {
    std::lock_guard guard(held_.lock());
    for (const KeySet& heldKeys : held_.KeySets()) {
        if (!heldKeys.contains(keyCode) || !held_.Contains(heldKeys)) continue;
        if (heldKeys.size() == 1) {
            Single(keyCode, false, fromHostKeyboard, kCombinationHoldBackMs);
        } else if (heldKeys.size() == 2) {
            ReleaseCombination(heldKeys);
        } else {
            log_.Write("Cannot handle release for %d key event:%s", static_cast<int>(heldKeys.size()),
                       KeySetText(heldKeys).c_str());
        }
    }
}

bool KeyRouter::ReleaseCombination(const KeySet& keys) {
    std::lock_guard guard(held_.lock());
    const Config* config = config_();
    if (config == nullptr) return false;
    const ActionSet& actions = config->GetActions(keys);
    if (!actions.empty()) executor_.Execute(actions, 0, false, keys);
    held_.Erase(keys);
    return !actions.empty();
}

void KeyRouter::DirectGamePadAction(uint32_t control, bool pressed) {
    std::lock_guard guard(held_.lock());
    Config* config = config_();
    if (config == nullptr) return;
    Action* action = config->GamePadAction(control);
    if (action == nullptr) return;
    executor_.ExecuteOne(*action, 0, pressed, control);
}

}  // namespace Keyweave
