#include "input/key_router.h"

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

KeyRouter::KeyRouter(const GamePad::ActiveConfiguration& config, const RoutingSettings& settings, HeldKeys& held,
                     ActionExecutor& executor, Scheduler& scheduler, const Log& log, const DecisionTrace& trace)
    : config_(config),
      settings_(settings),
      held_(held),
      executor_(executor),
      scheduler_(scheduler),
      log_(log),
      trace_(trace) {}

Decision KeyRouter::Base(uint32_t keyCode, bool pressed, bool fromHostKeyboard) const {
    Decision decision;
    if (keyCode == kKeyMouseWheelDown || keyCode == kKeyMouseWheelUp) {
        decision.input = InputKind::kGesture;  // an emulated swipe turned into the wheel
    } else if (keyCode == kKeyRightClick) {
        decision.input = InputKind::kMouse;
    } else if (fromHostKeyboard) {
        decision.input = InputKind::kKey;
    } else {
        decision.input = controller_ ? InputKind::kController : InputKind::kGamePad;
    }
    decision.code = keyCode;
    decision.pressed = pressed ? 1 : 0;
    decision.keys[0] = keyCode;
    return decision;
}

void KeyRouter::Decide(Decision decision, Reason reason) const {
    decision.reason = reason;
    trace_.Report(decision);
}

void KeyRouter::RouteController(uint32_t keyCode, bool pressed) {
    Platform::LockGuard guard(held_.lock());
    controller_ = true;
    RouteLocked(keyCode, pressed, false);
    controller_ = false;
}

bool KeyRouter::IsMousePseudoKey(uint32_t keyCode) { return keyCode >= kKeyMouseMove && keyCode <= kKeyMouseWheelUp; }

void KeyRouter::Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) {
    Platform::LockGuard guard(held_.lock());
    RouteLocked(keyCode, pressed, fromHostKeyboard);
}

void KeyRouter::RouteLocked(uint32_t keyCode, bool pressed, bool fromHostKeyboard) {
    const Config* config = config_.Current();
    if (config == nullptr) return;
    if (!config->MultiKeyAware()) {
        SingleLocked(keyCode, pressed, fromHostKeyboard, 0);
    } else if (pressed) {
        MultiPress(keyCode, fromHostKeyboard);
    } else {
        MultiRelease(keyCode, fromHostKeyboard);
    }
}

void KeyRouter::Single(uint32_t keyCode, bool pressed, bool fromHostKeyboard, int32_t delayMs) {
    Platform::LockGuard guard(held_.lock());
    SingleLocked(keyCode, pressed, fromHostKeyboard, delayMs);
}

void KeyRouter::SingleLocked(uint32_t keyCode, bool pressed, bool fromHostKeyboard, int32_t delayMs) {
    const Config* config = config_.Current();
    if (config == nullptr) return;
    const bool pseudoKey = IsMousePseudoKey(keyCode);

    // With mapping off only Enter is still looked up.
    const ActionSet none;
    const ActionSet& mapped = settings_.MappingOn() || keyCode == kKeyEnter ? config->GetActions(keyCode) : none;

    // The raw key, for keys the keymap does not bind or for every key of a
    // keymap that always sends them. Made for this event only.
    KeyAction raw(keyCode);
    TaskIdList ids;
    const bool tracing = trace_.On();
    Decision decision;
    if (tracing) {
        decision = Base(keyCode, pressed, fromHostKeyboard);
        if (!settings_.MappingOn() && keyCode != kKeyEnter) Decide(decision, Reason::kMappingOff);
        if (delayMs > 0) {
            decision.delayMs = delayMs;
            Decide(decision, Reason::kHeldBack);
            decision.delayMs = 0;
        }
        executor_.TraceAs(decision);
    }
    if (mapped.empty()) {
        const bool forward = !pseudoKey && (settings_.ForwardRawKeys() || !fromHostKeyboard);
        if (forward) ids = executor_.ExecuteOne(raw, delayMs, pressed, keyCode, held_);
        if (tracing) {
            Decide(decision, forward ? Reason::kPassedRaw : pseudoKey ? Reason::kNoRule : Reason::kRawForwardingOff);
        }
    } else {
        if (config->AlwaysSendUnmappedKey() && !pseudoKey) {
            executor_.ExecuteOne(raw, delayMs, pressed, keyCode, held_);
            if (tracing) Decide(decision, Reason::kPassedRaw);
        }
        ids = executor_.Execute(mapped, delayMs, pressed, keyCode, held_);
    }

    if (pressed) {
        held_.Record(keyCode, std::move(ids));
    } else {
        held_.Erase(keyCode);
    }
}

void KeyRouter::MultiPress(uint32_t keyCode, bool fromHostKeyboard) {
    for (const KeySet& heldKeys : held_.KeySets()) {
        KeySet combined = heldKeys;
        combined.insert(keyCode);
        if (combined.size() == 2 && TryCombination(combined, *heldKeys.begin())) return;
    }
    SingleLocked(keyCode, true, fromHostKeyboard, kCombinationHoldBackMs);
}

bool KeyRouter::TryCombination(const KeySet& keys, uint32_t earlier) {
    const Config* config = config_.Current();
    if (config == nullptr) return false;
    const ActionSet& actions = config->GetActions(keys);
    if (actions.empty()) return false;
    TaskIdList pending;
    if (!held_.Find(KeySet{earlier}, pending)) return false;
    Decision decision;
    if (trace_.On()) {
        const uint32_t added = *keys.begin() == earlier ? *keys.rbegin() : *keys.begin();
        decision = Base(added, true, true);
        decision.keys[0] = *keys.begin();
        decision.keys[1] = *keys.rbegin();
        decision.line = (*actions.begin())->ruleLine;
        decision.section = (*actions.begin())->ruleSection;
    }
    // The single key's first task is still queued: nothing of it has played
    // yet, so the combination can replace it. A press that posted nothing has
    // nothing that could have begun either.
    if (!pending.empty()) {
        if (!scheduler_.Cancel(pending.front())) {
            if (trace_.On()) Decide(decision, Reason::kTooLateToCombine);
            return false;
        }
        scheduler_.CancelAll(TaskIdList(pending.begin() + 1, pending.end()));
    }
    if (trace_.On()) {
        Decide(decision, Reason::kCombined);
        decision.line = decision.section = 0;
        executor_.TraceAs(decision);
    }
    held_.Erase(KeySet{earlier});
    held_.Record(keys, executor_.Execute(actions, 0, true, keys, held_));
    return true;
}

void KeyRouter::MultiRelease(uint32_t keyCode, bool fromHostKeyboard) {
    for (const KeySet& heldKeys : held_.KeySets()) {
        if (!heldKeys.contains(keyCode) || !held_.Contains(heldKeys)) continue;
        if (heldKeys.size() == 1) {
            SingleLocked(keyCode, false, fromHostKeyboard, kCombinationHoldBackMs);
        } else if (heldKeys.size() == 2) {
            if (trace_.On()) {
                Decision decision = Base(keyCode, false, fromHostKeyboard);
                decision.keys[0] = *heldKeys.begin();
                decision.keys[1] = *heldKeys.rbegin();
                executor_.TraceAs(decision);
            }
            ReleaseCombination(heldKeys);
        } else {
            log_.Write("Cannot handle release for %d key event:%s", static_cast<int>(heldKeys.size()),
                       KeySetText(heldKeys).c_str());
        }
    }
}

bool KeyRouter::ReleaseCombination(const KeySet& keys) {
    const Config* config = config_.Current();
    if (config == nullptr) return false;
    const ActionSet& actions = config->GetActions(keys);
    if (!actions.empty()) executor_.Execute(actions, 0, false, keys, held_);
    held_.Erase(keys);
    return !actions.empty();
}

void KeyRouter::DirectGamePadAction(uint32_t control, bool pressed) {
    Platform::LockGuard guard(held_.lock());
    Config* config = config_.Current();
    if (config == nullptr) return;
    Action* action = config->GamePadAction(control);
    if (trace_.On()) {
        Decision decision;
        decision.input = InputKind::kGamePad;
        decision.code = control;
        decision.pressed = pressed ? 1 : 0;
        if (action == nullptr) {
            Decide(decision, Reason::kNoRule);
        } else {
            executor_.TraceAs(decision);
        }
    }
    if (action == nullptr) return;
    executor_.ExecuteOne(*action, 0, pressed, control, held_);
}

}  // namespace Keyweave
