#pragma once
// Swipes and pinches that the host asks for, for example to turn a mouse-wheel
// notch into a swipe. Each call builds a record of its own from its arguments
// and the emulation knobs, plays it through the dispatcher and blocks the
// calling thread until the sequence's lift has been reported (see
// WakeupWait for when it stops waiting without one).
//
// A keymap with a MouseWheelDown or MouseWheelUp rule takes the plain swipe
// over: a downward swipe presses and releases MouseWheelUp through key
// routing, an upward one MouseWheelDown, and the call returns at once.
//
// Threads: any host thread; several emulations may run at once, each with its
// own event and slot. A call reads the keymap and the knobs and posts its
// sequence while it holds the configuration (a keymap load waits meanwhile,
// and a call that comes during a load waits for it to end), then waits with
// nothing held: a load drops the sequence's tasks and the wait gives up. The knobs are copied under
// knobLock_ and written under it by the setters; a load hands its knobs over
// while it holds the configuration.

#include <cstdint>
#include <functional>
#include <optional>

#include "base/decision.h"
#include "base/log.h"
#include "config/config.h"
#include "config/emulation_knobs.h"
#include "dispatch/dispatcher.h"
#include "dispatch/scheduler.h"
#include "gestures/wakeup_wait.h"
#include "input/key_router.h"
#include "platform/platform.h"

namespace Keyweave {

// Runs its argument with the active keymap (null while none is active) and
// the game-pad lock held, once any keymap load under way has ended: no load
// replaces the keymap, or resets the touch state, until the argument returns.
using ConfigHold = std::function<void(const std::function<void(const Config*)>&)>;

class GestureEmulator {
public:
    // Under "# ENABLE_DYNAMIC_ZOOM" emulated swipes step this often.
    static constexpr uint32_t kDynamicZoomStepMs = 30;
    // The wheel rule's release follows its press this much later.
    static constexpr int32_t kWheelReleaseDelayMs = 50;

    // Each emulation's decision (played, or switched off by its knob) goes
    // to `trace`; one that becomes the wheel is decided by the key router.
    GestureEmulator(ConfigHold hold, Dispatcher& dispatcher, Scheduler& scheduler, KeyRouter& router, const Log& log,
                    const DecisionTrace& trace);

    GestureEmulator(const GestureEmulator&) = delete;
    GestureEmulator& operator=(const GestureEmulator&) = delete;

    // KeyweaveSetEmulatedSwipeKnobs / KeyweaveSetEmulatedPinchKnobs. A
    // duration of 0 switches the gesture off.
    void SetSwipeKnobs(float length, uint32_t durationMs);
    void SetPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs);
    [[nodiscard]] EmulationKnobs Knobs() const;
    // A keymap's knobs, handed over when it becomes the active one.
    void ReplaceKnobs(const EmulationKnobs& knobs);

    // KeyweaveEmulateSwipe: `direction` as a swipe's (1 up, 2 down, 3 left,
    // 4 right), the length from the knobs.
    void EmulateSwipe(float x, float y, int32_t direction);
    // KeyweaveEmulateSwipeXY: from one point to the other; the length knob is
    // not used.
    void EmulateSwipeXY(float x1, float y1, float x2, float y2);
    // KeyweaveEmulatePinch: `in` != 0 spreads the fingers apart.
    void EmulatePinch(float x, float y, int32_t in);

private:
    // Waits for the wake-up of what `wait` played, if anything; says so in
    // the log when it could not come.
    void Finish(std::optional<WakeupWait>& wait, const char* what);
    void Decide(GestureCall call, Reason reason, float x, float y) const;

    const ConfigHold hold_;
    EmulationKnobs knobs_ KEYWEAVE_GUARDED_BY(knobLock_);  // see above
    Dispatcher& dispatcher_;
    Scheduler& scheduler_;
    KeyRouter& router_;
    const Log& log_;
    const DecisionTrace& trace_;
    mutable Platform::Lock knobLock_;
};

}  // namespace Keyweave
