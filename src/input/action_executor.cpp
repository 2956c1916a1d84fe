#include "input/action_executor.h"

#include <utility>

#include "codes/event_codes.h"

namespace Keyweave {

using enum ActionType;

namespace {

template <typename Record>
Record& As(Action& action) {
    return static_cast<Record&>(action);
}

// The types whose presses of a key set already held are dropped.
bool IgnoresRepeat(ActionType type) {
    switch (type) {
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kSwipeHoldAction:
        case kTapSwipeAction:
        case kTapSwipeClickAction:
        case kTapTapAction:
        case kTouchMoveAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kSuspendShootAction:
        case kTapsMacroAction:
            return true;
        case kScreenAction:
        case kKeyAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kMouseHoldAction:
        case kStickHoldAction:
        case kStickMoveAction:
        case kTapStickAction:
        case kTapCancelAction:
            return false;
    }
    return false;
}

// The types that do nothing on this event: one-shot sequences on a release,
// a mouse hold on a press.
bool NothingOn(ActionType type, bool pressed) {
    switch (type) {
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kPinchAction:
        case kRelativeTiltAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kTapCancelAction:
        case kTapsMacroAction:
            return !pressed;
        case kMouseHoldAction:
            return pressed;
        case kScreenAction:
        case kKeyAction:
        case kTapAction:
        case kSwipeHoldAction:
        case kAbsoluteTiltAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kTapSwipeAction:
        case kTapTapAction:
        case kTapSwipeClickAction:
        case kStickHoldAction:
        case kStickMoveAction:
        case kTouchMoveAction:
        case kTapStickAction:
        case kSuspendShootAction:
            return false;
    }
    return false;
}

// The types whose plays put a finger on a touch slot.
bool Touches(ActionType type) {
    switch (type) {
        case kKeyAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kSuspendShootAction:
            return false;
        case kScreenAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kSwipeHoldAction:
        case kPinchAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kMouseHoldAction:
        case kTapSwipeAction:
        case kTapTapAction:
        case kTapSwipeClickAction:
        case kStickHoldAction:
        case kStickMoveAction:
        case kTouchMoveAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kTapStickAction:
        case kTapCancelAction:
        case kTapsMacroAction:
            return true;
    }
    return true;
}

}  // namespace

ActionExecutor::ActionExecutor(Dispatcher& dispatcher, Accelerometer& accelerometer, ShootingModeCallback shooting,
                               GamePad::ActiveConfiguration& gamePad, const DecisionTrace& trace)
    : dispatcher_(dispatcher), accelerometer_(accelerometer), shooting_(shooting), gamePad_(gamePad), trace_(trace) {}

TaskIdList ActionExecutor::Execute(const ActionSet& actions, int32_t delayMs, bool pressed, const KeySet& keys,
                                   const HeldKeys& held) {
    Config* config = gamePad_.Current();
    if (config == nullptr) return {};
    const uint32_t firstKey = keys.empty() ? 0 : *keys.begin();
    TaskIdList ids;
    for (Action* action : actions) {
        ids.append(RunAndTrace(*config, *action, delayMs, pressed, pressed && held.Contains(keys), firstKey));
    }
    return ids;
}

TaskIdList ActionExecutor::Execute(const ActionSet& actions, int32_t delayMs, bool pressed, uint32_t key,
                                   const HeldKeys& held) {
    Config* config = gamePad_.Current();
    if (config == nullptr) return {};
    TaskIdList ids;
    for (Action* action : actions) {
        ids.append(RunAndTrace(*config, *action, delayMs, pressed, pressed && held.Contains(key), key));
    }
    return ids;
}

TaskIdList ActionExecutor::ExecuteOne(Action& action, int32_t delayMs, bool pressed, uint32_t key,
                                      const HeldKeys& held) {
    Config* config = gamePad_.Current();
    if (config == nullptr) return {};
    return RunAndTrace(*config, action, delayMs, pressed, pressed && held.Contains(key), key);
}

MouseAction& ActionExecutor::CreateRuntimeMouseAction() {
    if (runtimeMouse_ == nullptr) runtimeMouse_ = std::make_unique<MouseAction>();
    return *runtimeMouse_;
}

void ActionExecutor::LiftRuntimeMouse() {
    if (runtimeMouse_ == nullptr) return;
    runtimeMouse_->leftDown = 0;
    dispatcher_.PlayMouseTouch(*runtimeMouse_);
}

TaskIdList ActionExecutor::RunAndTrace(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat,
                                       uint32_t firstKey) {
    // Records the engine makes itself (a raw key) are the router's to explain.
    if (!trace_.On() || action.ruleLine == 0) return Run(config, action, delayMs, pressed, repeat, firstKey);
    const uint32_t noSlot = dispatcher_.NoSlotCount();
    const uint32_t yielded = dispatcher_.TapYieldCount();
    TaskIdList ids = Run(config, action, delayMs, pressed, repeat, firstKey);
    Decision decision = traceInput_;
    decision.actionType = static_cast<uint32_t>(action.type);
    decision.section = action.ruleSection;
    decision.line = action.ruleLine;
    if (repeat && IgnoresRepeat(action.type)) {
        decision.reason = Reason::kRepeat;
    } else if (dispatcher_.NoSlotCount() != noSlot) {
        decision.reason = Reason::kNoFreeSlot;
    } else if (dispatcher_.TapYieldCount() != yielded) {
        decision.reason = Reason::kYieldedToTapSwipe;
    } else if (ids.empty() &&
               (NothingOn(action.type, pressed) || (Touches(action.type) && action.type != kTapCancelAction))) {
        // A touching action that posted nothing: a one-shot's release, or a
        // sequence that declined (a tap-swipe's bounce). A tap-cancel posts
        // its glide without handing back ids.
        decision.reason = Reason::kNothingOnThisEvent;
    } else {
        decision.reason = Reason::kPlayed;
        if (!ids.empty() && Touches(action.type)) decision.slot = dispatcher_.LastTouchSlot();
    }
    trace_.Report(decision);
    return ids;
}

TaskIdList ActionExecutor::Run(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat,
                               uint32_t firstKey) {
    // `repeat` (auto-repeat): the key set is still held from its own press.
    const bool dynamicZoom = config.EnableDynamicZoom() != 0;
    const int32_t oneShotDelay = dynamicZoom ? kDynamicZoomDelayMs : delayMs;

    switch (action.type) {
        case kKeyAction:
            // An unknown key name bound 0xFFFFFFFF, which goes out as it is: four
            // 0xFF bytes, pressed or released.
            return dispatcher_.PlayKey(As<KeyAction>(action).keyCode, delayMs, pressed);
        case kTapAction:
            if (repeat) return {};
            return dispatcher_.PlayTap(As<TapAction>(action), delayMs, pressed);
        case kSwipeAction:
            if (!pressed || repeat) return {};
            return dispatcher_.PlaySwipe(As<SwipeAction>(action), delayMs);
        case kSwipeActionXY:
            if (!pressed || repeat) return {};
            return dispatcher_.PlaySwipeXY(As<SwipeActionXY>(action), oneShotDelay);
        case kSwipeTraceAction:
            if (!pressed || repeat) return {};
            return dispatcher_.PlaySwipeTrace(As<SwipeTraceAction>(action), oneShotDelay);
        case kSwipeHoldAction:
            if (repeat) return {};
            return dispatcher_.PlaySwipeHold(As<SwipeHoldAction>(action), delayMs, pressed, firstKey);
        case kPinchAction:
            if (!pressed) return {};
            return dispatcher_.PlayPinch(As<PinchAction>(action), delayMs, nullptr, dynamicZoom);
        case kAbsoluteTiltAction:
            accelerometer_.HandleAbsoluteTilt(As<AbsoluteTiltAction>(action), pressed);
            return {};
        case kRelativeTiltAction:
            if (pressed) accelerometer_.HandleRelativeTilt(As<RelativeTiltAction>(action));
            return {};
        case kMouseSwipeAction:
            return MouseSwipeKey(config, As<MouseSwipeAction>(action), delayMs, pressed);
        case kMouseHoldAction:
            return MouseHoldKey(config, As<MouseHoldAction>(action), delayMs, pressed);
        case kTapSwipeAction:
        case kTapSwipeClickAction:
            return TapSwipeKey(config, action, delayMs, pressed, repeat);
        case kTapTapAction:
            if (repeat) return {};
            return dispatcher_.PlayTapTap(As<TapTapAction>(action), delayMs, pressed);
        case kStickMoveAction:
            return StickMoveKey(config, As<StickMoveAction>(action), delayMs, pressed);
        case kTouchMoveAction:
            if (repeat) return {};
            return TouchMoveKey(config, As<TouchMoveAction>(action), delayMs, pressed);
        case kShootMoveAction:
        case kShootModeAction:
            if (!pressed || repeat) return {};
            return ToggleShooting(config, action, delayMs);
        case kTapStickAction:
            return TapStickKey(config, As<TapStickAction>(action), delayMs, pressed);
        case kTapCancelAction:
            if (!pressed) return {};
            return TapCancel(config, As<TapCancelAction>(action));
        case kSuspendShootAction:
            if (repeat) return {};
            return SuspendShooting(config, delayMs, pressed);
        case kTapsMacroAction:
            // The macro plays on the press only, like the other one-shot
            // sequences; its release would play the whole macro again.
            if (!pressed || repeat) return {};
            return dispatcher_.PlayTapsMacro(As<TapsMacroAction>(action), delayMs);
        case kScreenAction:
        case kMouseAction:
        case kStickHoldAction:
            // Screen centres, the runtime mouse record and stick holds (driven by
            // their stick only) do nothing on keys.
            return {};
    }
    return {};  // a tag no keymap makes
}

// A touch-move finger stays down from the press to the release; while it is
// down the mouse drags it.
TaskIdList ActionExecutor::TouchMoveKey(Config& config, TouchMoveAction& action, int32_t delayMs, bool pressed) {
    TaskIdList ids = dispatcher_.PlayTouchMove(action, delayMs, pressed ? kKeyDownMessage : kKeyUpMessage);
    config.ActiveActions().SetActiveWhile(pressed, kTouchMoveAction, &action);
    return ids;
}

TaskIdList ActionExecutor::MouseSwipeKey(Config& config, MouseSwipeAction& action, int32_t delayMs, bool pressed) {
    ActiveRegistry& active = config.ActiveActions();
    const bool wasActive = active.GetActive(kMouseSwipeAction) != nullptr;
    TaskIdList ids = dispatcher_.PlayMouseSwipe(action, delayMs, pressed ? kRightButtonDown : kRightButtonUp);
    if (!wasActive) active.SetActive(kMouseSwipeAction, &action);
    return ids;
}

TaskIdList ActionExecutor::MouseHoldKey(Config& config, MouseHoldAction& action, int32_t delayMs, bool pressed) {
    // Mouse hold toggles on releases: the first hands the left button to the
    // rectangle, the next lifts its finger and gives the button back.
    if (pressed) return {};
    ActiveRegistry& active = config.ActiveActions();
    if (active.GetActive(kMouseHoldAction) == nullptr) {
        active.SetActive(kMouseHoldAction, &action);
        return {};
    }
    TaskIdList ids = dispatcher_.PlayTouch(action.point, action.slot, delayMs, false);
    action.slot = Dispatcher::kNoSlot;
    active.RemoveActive(kMouseHoldAction);
    return ids;
}

TaskIdList ActionExecutor::TapSwipeKey(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat) {
    ActiveRegistry& active = config.ActiveActions();
    const bool click = action.type == kTapSwipeClickAction;
    const auto play = [&](int32_t event) {
        return click ? dispatcher_.PlayTapSwipeClick(As<TapSwipeClickAction>(action), delayMs, event)
                     : dispatcher_.PlayTapSwipe(As<TapSwipeAction>(action), delayMs, event);
    };
    // The mouse finger lets go first: the plain tap-swipe always, the click
    // variant only while the left button is down.
    const bool liftMouse = !click || dispatcher_.input().IsLeftButtonDown();

    if (!pressed) {
        if (click && liftMouse) LiftRuntimeMouse();
        TaskIdList ids = play(kKeyUpMessage);
        if (active.GetActive(action.type) == &action) active.RemoveActive(action.type);
        return ids;
    }
    if (repeat) return {};
    if (Action* swipe = active.GetActive(kMouseSwipeAction)) {
        dispatcher_.PlayMouseSwipe(As<MouseSwipeAction>(*swipe), delayMs, kTapSwipeKeyPressed);
    }
    if (liftMouse) LiftRuntimeMouse();
    TaskIdList ids = play(kKeyDownMessage);
    if (active.GetActive(action.type) != &action) {
        active.SetActive(action.type, &action);
    } else {
        active.RemoveActive(action.type);
    }
    return ids;
}

TaskIdList ActionExecutor::StickMoveKey(Config& config, StickMoveAction& action, int32_t delayMs, bool pressed) {
    ActiveRegistry& sticks = config.ActiveStickActions();
    // A tap-stick owns the right stick while it is active.
    if (sticks.GetActive(kTapStickAction) != nullptr) return {};
    TaskIdList ids = dispatcher_.PlayStickMove(action, delayMs, pressed ? kStickMovePress : kStickMoveRelease);
    sticks.SetActiveWhile(pressed, kStickMoveAction, &action);
    return ids;
}

TaskIdList ActionExecutor::TapStickKey(Config& config, TapStickAction& action, int32_t delayMs, bool pressed) {
    ActiveRegistry& sticks = config.ActiveStickActions();
    if (pressed) {
        TaskIdList ids = dispatcher_.PlayTapStick(action, delayMs, kTapStickPress);
        if (sticks.GetActive(kTapStickAction) != &action) {
            sticks.SetActive(kTapStickAction, &action);
        } else {
            sticks.RemoveActive(kTapStickAction);
        }
        return ids;
    }
    if (sticks.GetActive(kTapStickAction) == nullptr) return {};
    TaskIdList ids = dispatcher_.PlayTapStick(action, delayMs, kTapStickRelease);
    if (sticks.GetActive(kTapStickAction) == &action) sticks.RemoveActive(kTapStickAction);
    return ids;
}

TaskIdList ActionExecutor::PlayShooting(Action& action, int32_t delayMs, int32_t event) {
    if (action.type == kShootModeAction) return dispatcher_.PlayShootMode(As<ShootModeAction>(action), delayMs, event);
    return dispatcher_.PlayShootMove(As<ShootMoveAction>(action), delayMs, event);
}

TaskIdList ActionExecutor::ToggleShooting(Config& config, Action& action, int32_t delayMs) {
    ActiveRegistry& active = config.ActiveActions();
    if (Action* running = active.GetActive(action.type)) {
        // The running one holds the fingers, whichever rule started it.
        TaskIdList ids = PlayShooting(*running, delayMs, kKeyUpMessage);
        active.RemoveActive(action.type);
        shooting_.Ended();
        config.SetShootingModeActive(0);
        return ids;
    }
    shooting_.Started();
    TaskIdList ids = PlayShooting(action, delayMs, kKeyDownMessage);
    active.SetActive(action.type, &action);
    config.SetShootingModeActive(1);
    return ids;
}

TaskIdList ActionExecutor::SuspendShooting(Config& config, int32_t delayMs, bool pressed) {
    // Held: shooting pauses (fingers up); released: it resumes. The shooting
    // actions stay registered meanwhile.
    ActiveRegistry& active = config.ActiveActions();
    const int32_t event = pressed ? kKeyUpMessage : kKeyDownMessage;
    TaskIdList ids;
    bool any = false;
    for (const ActionType tag : {kShootModeAction, kShootMoveAction}) {
        if (Action* shooting = active.GetActive(tag)) {
            ids.append(PlayShooting(*shooting, delayMs, event));
            any = true;
        }
    }
    if (any) {
        if (pressed) {
            shooting_.Ended();
        } else {
            shooting_.Started();
        }
        config.SetShootingModeActive(pressed ? 0 : 1);
    }
    return ids;
}

TaskIdList ActionExecutor::TapCancel(Config& config, const TapCancelAction& action) {
    // The held finger to glide away: a tap-stick first, then a tap-swipe,
    // then a tap-swipe-click.
    struct Held {
        ActiveRegistry& registry;
        ActionType tag;
    };
    const Held candidates[] = {{config.ActiveStickActions(), kTapStickAction},
                               {config.ActiveActions(), kTapSwipeAction},
                               {config.ActiveActions(), kTapSwipeClickAction}};
    for (const Held& candidate : candidates) {
        Action* held = candidate.registry.GetActive(candidate.tag);
        if (held == nullptr) continue;
        Point& point = held->type == kTapStickAction   ? As<TapStickAction>(*held).lastPoint
                       : held->type == kTapSwipeAction ? As<TapSwipeAction>(*held).currentPoint
                                                       : As<TapSwipeClickAction>(*held).currentPoint;
        dispatcher_.PlayTapCancel(action, point, held->slot, kTapCancelStepMs);
        held->slot = Dispatcher::kNoSlot;
        candidate.registry.RemoveActive(candidate.tag);
        return {};
    }
    Point nowhere{};
    return dispatcher_.PlayTapCancel(action, nowhere, Dispatcher::kNoSlot, kTapCancelStepMs);
}

}  // namespace Keyweave
