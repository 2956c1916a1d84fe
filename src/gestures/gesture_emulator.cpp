#include "gestures/gesture_emulator.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "actions/touch_actions.h"
#include "codes/key_names.h"

namespace Keyweave {

namespace {

// A knob duration as a record's signed duration; larger values saturate.
int32_t DurationOf(uint32_t durationMs) {
    return static_cast<int32_t>(std::min<uint32_t>(durationMs, std::numeric_limits<int32_t>::max()));
}

}  // namespace

GestureEmulator::GestureEmulator(ConfigHold hold, Dispatcher& dispatcher, Scheduler& scheduler, KeyRouter& router,
                                 const Log& log, const DecisionTrace& trace)
    : hold_(std::move(hold)),
      dispatcher_(dispatcher),
      scheduler_(scheduler),
      router_(router),
      log_(log),
      trace_(trace) {}

void GestureEmulator::Decide(GestureCall call, Reason reason, float x, float y) const {
    DecideGesture(trace_, call, reason, x, y);
}

void GestureEmulator::SetSwipeKnobs(float length, uint32_t durationMs) {
    log_.Write("Emulated swipe knobs: length=%f, duration=%d", length, static_cast<int>(durationMs));
    Platform::LockGuard guard(knobLock_);
    knobs_.swipeLength = length;
    knobs_.swipeDuration = durationMs;
}

void GestureEmulator::SetPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs) {
    log_.Write("Emulated pinch knobs: split=%f, lengthIn=%f, lengthOut=%f, duration=%d", split, lengthIn, lengthOut,
               durationMs);
    Platform::LockGuard guard(knobLock_);
    knobs_.pinchSplit = split;
    knobs_.pinchLengthIn = lengthIn;
    knobs_.pinchLengthOut = lengthOut;
    knobs_.pinchDuration = durationMs;
}

EmulationKnobs GestureEmulator::Knobs() const {
    Platform::LockGuard guard(knobLock_);
    return knobs_;
}

void GestureEmulator::ReplaceKnobs(const EmulationKnobs& knobs) {
    Platform::LockGuard guard(knobLock_);
    knobs_ = knobs;
}

void GestureEmulator::Finish(std::optional<WakeupWait>& wait, const char* what) {
    if (wait && !wait->Wait()) log_.Write("Cannot wait for the end of %s: its sequence will not report it", what);
}

void GestureEmulator::EmulateSwipe(float x, float y, int32_t direction) {
    log_.Write("%s(%f, %f, %d)", "KeyweaveEmulateSwipe", x, y, direction);
    SwipeAction swipe({x, y}, static_cast<uint32_t>(direction));
    std::optional<WakeupWait> wait;
    hold_([&](const Config* config) {
        if (config == nullptr) return;
        const bool wheelRules = !config->GetActions(KeySet{kKeyMouseWheelDown}).empty() ||
                                !config->GetActions(KeySet{kKeyMouseWheelUp}).empty();
        if (wheelRules) {
            // A swipe down scrolls the way the wheel turns towards the user.
            uint32_t wheel = 0;
            if (direction == kSwipeDown) wheel = kKeyMouseWheelUp;
            if (direction == kSwipeUp) wheel = kKeyMouseWheelDown;
            if (wheel != 0) {
                router_.Single(wheel, true, true, 0);
                router_.Single(wheel, false, true, kWheelReleaseDelayMs);
            }
            return;
        }
        const EmulationKnobs knobs = Knobs();
        if (knobs.swipeDuration == 0) {
            log_.Write("Emulated swipe knobs not set");
            Decide(GestureCall::kEmulateSwipe, Reason::kGestureOff, x, y);
            return;
        }
        Decide(GestureCall::kEmulateSwipe, Reason::kGesture, x, y);
        swipe.duration = DurationOf(knobs.swipeDuration);
        swipe.length = knobs.swipeLength;
        swipe.noSettle = 0;
        swipe.stepTime = config->EnableDynamicZoom() != 0 ? kDynamicZoomStepMs : 0;
        wait.emplace(scheduler_, log_);
        wait->Play([&](Platform::Event& event) { dispatcher_.PlaySwipe(swipe, 0, &event); });
    });
    Finish(wait, "KeyweaveEmulateSwipe");
}

void GestureEmulator::EmulateSwipeXY(float x1, float y1, float x2, float y2) {
    log_.Write("%s(%f, %f, %f, %f)", "KeyweaveEmulateSwipeXY", x1, y1, x2, y2);
    SwipeActionXY swipe({x1, y1}, {x2, y2});
    std::optional<WakeupWait> wait;
    hold_([&](const Config*) {
        const EmulationKnobs knobs = Knobs();
        if (knobs.swipeDuration == 0) {
            log_.Write("Emulated swipe knobs not set");
            Decide(GestureCall::kEmulateSwipeXY, Reason::kGestureOff, x1, y1);
            return;
        }
        Decide(GestureCall::kEmulateSwipeXY, Reason::kGesture, x1, y1);
        swipe.duration = DurationOf(knobs.swipeDuration);
        swipe.noSettle = 0;
        wait.emplace(scheduler_, log_);
        wait->Play([&](Platform::Event& event) { dispatcher_.PlaySwipeXY(swipe, 0, &event); });
    });
    Finish(wait, "KeyweaveEmulateSwipeXY");
}

void GestureEmulator::EmulatePinch(float x, float y, int32_t in) {
    log_.Write("%s(%f, %f, %d)", "KeyweaveEmulatePinch", x, y, in);
    PinchAction pinch({x, y}, in != 0);
    std::optional<WakeupWait> wait;
    hold_([&](const Config* config) {
        if (config == nullptr) return;
        const EmulationKnobs knobs = Knobs();
        if (knobs.pinchDuration == 0) {
            log_.Write("Emulated pinch knobs not set");
            Decide(GestureCall::kEmulatePinch, Reason::kGestureOff, x, y);
            return;
        }
        Decide(GestureCall::kEmulatePinch, Reason::kGesture, x, y);
        pinch.duration = knobs.pinchDuration;
        pinch.split = knobs.pinchSplit;
        pinch.lengthIn = knobs.pinchLengthIn;
        pinch.lengthOut = knobs.pinchLengthOut;
        const bool fast = config->EnableDynamicZoom() != 0;
        wait.emplace(scheduler_, log_);
        wait->Play([&](Platform::Event& event) { dispatcher_.PlayPinch(pinch, 0, &event, fast); });
    });
    Finish(wait, "KeyweaveEmulatePinch");
}

}  // namespace Keyweave
