#pragma once
// Action execution: what a press and a release of a rule's key set do, per
// action type.
//
// Execute runs the actions of one rule in the rule's set order and hands back
// the ids of every task they posted, for key routing to keep in the held
// map. Most types play a dispatcher sequence; tilts move the accelerometer;
// shooting actions also tell the host that shooting mode started or ended.
// Actions that keep following the mouse or a stick between key events are
// entered in the configuration's registries of active actions; the mouse
// path and StickEvent drive them from there.
//
// The repeat guard: a press of a key set that is already held is auto-repeat
// and is ignored by most types (not by key actions, pinches, tilts and the
// stick and mouse-swipe actions, which act on every press).
//
// Threads: Execute runs on the thread that routes the key (the host's input
// thread, or a game-pad thread under the game-pad lock); StickEvent on a
// game-pad tick thread. Each registry change takes that registry's lock;
// no lock of this class is held across a sequence. StickEvent takes the
// game-pad lock, so a keymap load cannot destroy the configuration under it.
// The runtime mouse action belongs to the host's input thread.

#include <atomic>
#include <cstdint>
#include <memory>

#include "actions/actions.h"
#include "base/decision.h"
#include "codes/event_codes.h"
#include "config/config.h"
#include "dispatch/dispatcher.h"
#include "gamepad/active_configuration.h"
#include "input/held_keys.h"
#include "input/host_notices.h"
#include "sensors/accelerometer.h"

namespace Keyweave {

class ActionExecutor {
public:
    // Swipes and traces start this late under "# ENABLE_DYNAMIC_ZOOM".
    static constexpr int32_t kDynamicZoomDelayMs = 40;
    // A tap-cancel glides the held finger in steps this far apart.
    static constexpr int32_t kTapCancelStepMs = 20;
    // The right stick starts centred.
    static constexpr int32_t kInitialRightStickPhase = kStickMoveRelease;

    ActionExecutor(Dispatcher& dispatcher, Accelerometer& accelerometer, ShootingModeCallback shooting,
                   GamePad::ActiveConfiguration& gamePad, const DecisionTrace& trace);

    ActionExecutor(const ActionExecutor&) = delete;
    ActionExecutor& operator=(const ActionExecutor&) = delete;

    // Runs every action of the set, in the set's order, for one press or
    // release of `keys`; the ids of all tasks posted, concatenated. Nothing
    // while no configuration is active. The repeat guard reads `held`, whose
    // lock the key router holds for the whole key event.
    TaskIdList Execute(const ActionSet& actions, int32_t delayMs, bool pressed, const KeySet& keys,
                       const HeldKeys& held) KEYWEAVE_REQUIRES(held.lock());
    // The same for the set of `key` alone, without building it.
    TaskIdList Execute(const ActionSet& actions, int32_t delayMs, bool pressed, uint32_t key, const HeldKeys& held)
        KEYWEAVE_REQUIRES(held.lock());
    TaskIdList ExecuteOne(Action& action, int32_t delayMs, bool pressed, uint32_t key, const HeldKeys& held)
        KEYWEAVE_REQUIRES(held.lock());

    // While the trace is on, key routing names the input the next actions run
    // for (under the held-key lock); each rule action's outcome is then
    // reported as a decision about that input.
    void TraceAs(const Decision& input) { traceInput_ = input; }

    // A game-pad stick's position, from its tick thread: stores it, drives the
    // active stick actions and starts or stops the stick action bound to the
    // stick itself. `stick` is the whole-stick control code.
    void StickEvent(uint32_t stick, float x, float y, int32_t phase);
    [[nodiscard]] int32_t LastRightStickPhase() const { return lastRightStickPhase_.load(); }

    // The engine's own record for the left mouse button's touch: null until
    // the first left-button event that gets through, then kept for the life
    // of the engine (keymap loads leave it alone).
    [[nodiscard]] MouseAction* RuntimeMouseAction() { return runtimeMouse_.get(); }
    MouseAction& CreateRuntimeMouseAction();
    // Lifts the runtime mouse finger, if the record exists.
    void LiftRuntimeMouse();

    Dispatcher& dispatcher() { return dispatcher_; }
    [[nodiscard]] const ShootingModeCallback& shooting() const { return shooting_; }

private:
    // `repeat`: the press of a key set that is already held. `firstKey`: the
    // set's lowest key.
    TaskIdList Run(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat, uint32_t firstKey);
    // Run, and, for a rule's action while the trace is on, its decision:
    // played (on which slot), a repeat ignored, no free slot, held off by a
    // tap-swipe, or nothing on this event.
    TaskIdList RunAndTrace(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat,
                           uint32_t firstKey);
    TaskIdList MouseSwipeKey(Config& config, MouseSwipeAction& action, int32_t delayMs, bool pressed);
    TaskIdList MouseHoldKey(Config& config, MouseHoldAction& action, int32_t delayMs, bool pressed);
    TaskIdList TapSwipeKey(Config& config, Action& action, int32_t delayMs, bool pressed, bool repeat);
    TaskIdList StickMoveKey(Config& config, StickMoveAction& action, int32_t delayMs, bool pressed);
    TaskIdList TapStickKey(Config& config, TapStickAction& action, int32_t delayMs, bool pressed);
    TaskIdList TouchMoveKey(Config& config, TouchMoveAction& action, int32_t delayMs, bool pressed);
    TaskIdList ToggleShooting(Config& config, Action& action, int32_t delayMs);
    TaskIdList SuspendShooting(Config& config, int32_t delayMs, bool pressed);
    TaskIdList TapCancel(Config& config, const TapCancelAction& action);
    // A shooting action's own sequence with a start, stop or mouse event.
    TaskIdList PlayShooting(Action& action, int32_t delayMs, int32_t event);
    void StickActive(Config& config, Action& action, int32_t delayMs, int32_t phase);
    void StickBound(Config& config, Action& bound, int32_t phase);

    Dispatcher& dispatcher_;
    Accelerometer& accelerometer_;
    const ShootingModeCallback shooting_;
    GamePad::ActiveConfiguration& gamePad_;
    const DecisionTrace& trace_;
    Decision traceInput_;  // under the held-key lock, set by key routing

    std::unique_ptr<MouseAction> runtimeMouse_;                          // host input thread
    std::atomic<int32_t> lastRightStickPhase_{kInitialRightStickPhase};  // written by the tick threads
};

}  // namespace Keyweave
