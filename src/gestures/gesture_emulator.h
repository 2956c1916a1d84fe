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
// own event and slot. The knobs are copied under knobLock_ at the start of a
// call and written under it by the setters; a keymap load writes them too,
// and the host does not load a keymap while a gesture is being emulated.

#include <cstdint>

#include "dispatch/dispatcher.h"
#include "dispatch/scheduler.h"
#include "engine/log.h"
#include "gestures/emulation_knobs.h"
#include "input/config_source.h"
#include "input/key_router.h"
#include "platform/platform.h"

namespace Keyweave {

class GestureEmulator {
public:
    // Under "# ENABLE_DYNAMIC_ZOOM" emulated swipes step this often.
    static constexpr uint32_t kDynamicZoomStepMs = 30;
    // The wheel rule's release follows its press this much later.
    static constexpr int32_t kWheelReleaseDelayMs = 50;

    GestureEmulator(ConfigSource config, EmulationKnobs& knobs, Dispatcher& dispatcher, Scheduler& scheduler,
                    KeyRouter& router, const Log& log);

    GestureEmulator(const GestureEmulator&) = delete;
    GestureEmulator& operator=(const GestureEmulator&) = delete;

    // KeyweaveSetEmulatedSwipeKnobs / KeyweaveSetEmulatedPinchKnobs. A
    // duration of 0 switches the gesture off.
    void SetSwipeKnobs(float length, uint32_t durationMs);
    void SetPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs);
    EmulationKnobs Knobs() const;

    // KeyweaveEmulateSwipe: `direction` as a swipe's (1 up, 2 down, 3 left,
    // 4 right), the length from the knobs.
    void EmulateSwipe(float x, float y, int32_t direction);
    // KeyweaveEmulateSwipeXY: from one point to the other; the length knob is
    // not used.
    void EmulateSwipeXY(float x1, float y1, float x2, float y2);
    // KeyweaveEmulatePinch: `in` != 0 spreads the fingers apart.
    void EmulatePinch(float x, float y, int32_t in);

private:
    // Runs `play` with a wait event and waits for its wake-up; says so in the
    // log when the wake-up could not come.
    void PlayAndWait(const char* what, const std::function<void(Platform::Event&)>& play);

    const ConfigSource config_;
    EmulationKnobs& knobs_;  // guarded by knobLock_ (see above)
    Dispatcher& dispatcher_;
    Scheduler& scheduler_;
    KeyRouter& router_;
    const Log& log_;
    mutable Platform::Lock knobLock_;
};

}  // namespace Keyweave
