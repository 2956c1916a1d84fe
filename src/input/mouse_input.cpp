#include "input/mouse_input.h"

#include <utility>

#include "codes/event_codes.h"
#include "codes/key_names.h"

namespace Keyweave {

using enum ActionType;

namespace {

bool IsLeftButtonMessage(int32_t message) {
    return message == kMouseMove || message == kLeftButtonDown || message == kLeftButtonUp;
}

}  // namespace

MouseInput::MouseInput(const GamePad::ActiveConfiguration& config, Dispatcher& dispatcher, KeyRouter& router,
                       ActionExecutor& executor, PassThroughCallback passThrough, const DecisionTrace& trace)
    : config_(config),
      dispatcher_(dispatcher),
      router_(router),
      executor_(executor),
      passThrough_(passThrough),
      trace_(trace) {}

void MouseInput::Decide(Reason reason, const Action* action, int32_t slot) const {
    Decision decision;
    decision.input = InputKind::kMouse;
    decision.reason = reason;
    decision.code = static_cast<uint32_t>(message_);
    decision.x = last_.x;
    decision.y = last_.y;
    if (action != nullptr) {
        decision.actionType = static_cast<uint32_t>(action->type);
        decision.section = action->ruleSection;
        decision.line = action->ruleLine;
    }
    decision.slot = slot;
    trace_.Report(decision);
}

void MouseInput::UpdateMouseStatus(float x, float y, int32_t message, uint32_t parameter) {
    Config* config = config_.Current();
    if (config == nullptr) return;
    const Point position{x, y};
    if (message == kMouseMove && position == last_) {  // the host repeats moves at its full rate
        if (trace_.On()) {
            message_ = message;
            Decide(Reason::kDuplicateMove);
        }
        return;
    }
    message_ = message;
    last_ = position;
    dispatcher_.SetMousePosition(x, y);

    if (IsLeftButtonMessage(message)) {
        if (message == kLeftButtonDown) leftHeld_ = true;
        if (message == kLeftButtonUp) leftHeld_ = false;
        LeftButtonEvent(*config, message, parameter);
    }
    if (message == kRightButtonDown || message == kRightButtonUp) {
        rightHeld_ = message == kRightButtonDown;
        router_.Route(kKeyRightClick, rightHeld_, true);
    }

    TaskIdList used;
    {
        ActiveRegistry& active = config->ActiveActions();
        Platform::LockGuard guard(active.lock());
        const bool tracing = trace_.On();
        for (Action* action : active.CopyActive()) {
            if (action == nullptr) continue;
            if (!tracing) {
                used.append(MouseEvent(*config, *action, 0, message));
                continue;
            }
            const TaskIdList ids = MouseEvent(*config, *action, 0, message);
            if (!ids.empty()) Decide(Reason::kPlayed, action, dispatcher_.LastTouchSlot());
            used.append(ids);
        }
    }
    if (message == kMouseMove && used.empty() && !leftHeld_ && !rightHeld_) {
        if (trace_.On()) Decide(Reason::kNotUsed);
        passThrough_.Call();
    }
}

void MouseInput::LeftButtonEvent(Config& config, int32_t message, uint32_t parameter) {
    ActiveRegistry& active = config.ActiveActions();
    // These actions own the left button while they are active.
    for (const ActionType owner : {kTapSwipeClickAction, kMouseHoldAction, kTapSwipeAction}) {
        if (const Action* owning = active.GetActive(owner)) {
            if (message != kMouseMove && trace_.On()) Decide(Reason::kButtonTaken, owning);
            return;
        }
    }
    // Shooting mode takes the button too, but a release still gets through so
    // that a finger put down before it started can come up.
    if (config.ShootingModeActive() != 0 && message != kLeftButtonUp) {
        if (message != kMouseMove && trace_.On()) Decide(Reason::kShootingMode);
        return;
    }

    MouseAction* mouse = executor_.RuntimeMouseAction();
    if (mouse != nullptr) {
        // Moves and releases without a press are of no interest.
        if (mouse->leftDown == 0 && message != kLeftButtonDown) return;
        mouse->eventData = parameter;
        if (message != kMouseMove) mouse->leftDown = message == kLeftButtonDown ? 1 : 0;
    } else {
        mouse = &executor_.CreateRuntimeMouseAction();
        mouse->leftDown = message == kLeftButtonDown ? 1 : 0;
    }
    active.SetActive(kMouseAction, mouse);
}

TaskIdList MouseInput::MouseEvent(Config& config, Action& action, int32_t delayMs, int32_t message) {
    ActiveRegistry& active = config.ActiveActions();
    switch (action.type) {
        case kMouseAction: {
            if (!IsLeftButtonMessage(message)) return {};
            auto& mouse = static_cast<MouseAction&>(action);
            mouse.delay = delayMs;
            TaskIdList ids = dispatcher_.PlayMouseTouch(mouse);
            active.RemoveActive(kMouseAction);  // it comes back with the next left-button event
            return ids;
        }
        case kMouseSwipeAction:
            if (message != kMouseMove) return {};
            return dispatcher_.PlayMouseSwipe(static_cast<MouseSwipeAction&>(action), delayMs, message);
        case kMouseHoldAction: {
            const bool follows = message == kLeftButtonDown || message == kLeftButtonUp ||
                                 (message == kMouseMove && dispatcher_.input().IsLeftButtonDown());
            if (!follows || active.GetActive(kTapSwipeClickAction) != nullptr) return {};
            TaskIdList ids = dispatcher_.PlayMouseHold(static_cast<MouseHoldAction&>(action), delayMs);
            // Outside its rectangle the hold lets go; so does the mouse finger.
            if (ids.empty()) {
                if (MouseAction* mouse = executor_.RuntimeMouseAction()) {
                    mouse->leftDown = 0;
                    ids = dispatcher_.PlayMouseTouch(*mouse);
                }
            }
            return ids;
        }
        case kTapSwipeAction:
            if (message != kMouseMove) return {};
            return dispatcher_.PlayTapSwipe(static_cast<TapSwipeAction&>(action), delayMs, message);
        case kTapSwipeClickAction:
            if (!IsLeftButtonMessage(message)) return {};
            return dispatcher_.PlayTapSwipeClick(static_cast<TapSwipeClickAction&>(action), delayMs, message);
        case kTouchMoveAction:
            if (message != kMouseMove) return {};
            return dispatcher_.PlayTouchMove(static_cast<TouchMoveAction&>(action), delayMs, message);
        case kShootMoveAction:
            if (message != kMouseMove || !executor_.shooting().AllowsShooting()) return {};
            return dispatcher_.PlayShootMove(static_cast<ShootMoveAction&>(action), delayMs, message);
        case kShootModeAction:
            if (!IsLeftButtonMessage(message) || !executor_.shooting().AllowsShooting()) return {};
            return dispatcher_.PlayShootMode(static_cast<ShootModeAction&>(action), delayMs, message);
        case kScreenAction:
        case kKeyAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kSwipeHoldAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kTapTapAction:
        case kStickHoldAction:
        case kStickMoveAction:
        case kTapStickAction:
        case kTapCancelAction:
        case kSuspendShootAction:
        case kTapsMacroAction:
            return {};
    }
    return {};  // a tag no keymap makes
}

}  // namespace Keyweave
