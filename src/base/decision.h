#pragma once
// The engine's decisions as data: for every input it receives, what it did
// with it and why, handed to one optional observer.
//
// Input handling fills a Decision where it decides (a rule matched and
// played, a key passed raw, a repeat ignored, a key held back for a
// combination, no touch slot free, shooting mode took the button, ...), and
// the trace hands it to the observer. With no observer set, a decision is
// never built: callers test On() first, one load and one branch, no
// allocation and no formatting.
//
// Threads: Report runs on the thread that delivered the input, inside the
// locks that thread holds there (the held-key lock for keys, the registry
// lock for mouse moves, the game-pad lock for pads). The observer must not
// call back into the engine. Set may come from any thread, one Set at a time;
// an observer replaced while another thread reports stays callable until the
// trace is destroyed.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace Keyweave {

// What kind of input a decision is about; the values are the public header's
// KEYWEAVE_INPUT_* numbers.
enum class InputKind : uint32_t {
    kKey = 1,         // a host keyboard key
    kController = 2,  // an on-screen controller button
    kCharacter = 3,   // a typed character
    kMouse = 4,       // a mouse move or button
    kGamePad = 5,     // a game-pad control
    kShake = 6,       // a shake
    kGesture = 7,     // a scroll, zoom or emulated gesture
    kKeymap = 8,      // a keymap load
};

// Why: the values are the public header's KEYWEAVE_DECISION_* numbers, and
// ReasonName gives each its stable name.
enum class Reason : uint32_t {
    kPlayed = 1,               // a rule's action played
    kPassedRaw = 2,            // no rule: the key went to the guest as its own scan code
    kNoRule = 3,               // no rule, and nothing is sent for it
    kRawForwardingOff = 4,     // no rule, and raw forwarding of host keys is off
    kMappingOff = 5,           // key mapping is off: the key's rule is not looked up
    kRepeat = 6,               // the key set is still held: a repeat, which the action ignores
    kHeldBack = 7,             // held back for a possible combination
    kCombined = 8,             // the key turned the held-back key into a combination
    kTooLateToCombine = 9,     // a combination rule, but the held-back key's action had begun
    kNoFreeSlot = 10,          // the action found no free touch slot
    kYieldedToTapSwipe = 11,   // a tap held off while a tap-swipe is held or just lifted
    kShootingMode = 12,        // shooting mode takes the left button
    kButtonTaken = 13,         // an active action owns the left button
    kNotUsed = 14,             // a mouse move that no active action used
    kDuplicateMove = 15,       // a move to where the mouse already is
    kTyped = 16,               // typed as scan codes
    kNoCharacter = 17,         // a character with no key
    kSensor = 18,              // passed on as a sensor vector
    kGesture = 19,             // a gesture played on the screen
    kKeymapLoaded = 20,        // the keymap now active, read from `file`
    kDefaultKeymap = 21,       // no keymap of the chain loaded: the default one is active
    kNothingOnThisEvent = 22,  // the rule's action does nothing on this press or release
    kGestureOff = 23,          // an emulated gesture whose duration knob is 0
    kGestureOutOfOrder = 24,   // a scroll or zoom call that does not fit the gesture under way
    kRefusedValue = 25,        // the call carried a value the engine refuses (its "Cannot" line says which)
};

// The last reason; names and the public header follow it.
inline constexpr uint32_t kLastReason = 25;

// Decision::code of a gesture: which call it was. (An emulated swipe that a
// keymap turns into the wheel is decided as its wheel key instead.)
enum class GestureCall : uint32_t {
    kScrollBegin = 1,
    kScrollUpdate = 2,
    kScrollEnd = 3,
    kZoomBegin = 4,
    kZoomUpdate = 5,
    kZoomEnd = 6,
    kEmulateSwipe = 7,
    kEmulateSwipeXY = 8,
    kEmulatePinch = 9,
};
[[nodiscard]] const char* GestureCallName(GestureCall call);

struct Decision {
    InputKind input = InputKind::kKey;
    Reason reason = Reason::kPlayed;
    // Keys and controller buttons: the key code routed; typed characters: the
    // byte; mouse: the window message; game pads: the control code;
    // gestures: the GestureCall.
    uint32_t code = 0;
    int32_t pressed = -1;  // 1 a press, 0 a release, -1 neither
    // Mouse: the position (fractions); shakes: the vector; gestures: where
    // (a scroll's move or a zoom's scale: dx, dy or the scale).
    float x = 0.0f, y = 0.0f, z = 0.0f;
    // The key set of the rule (a combination: both keys; one key: keys[1] 0);
    // kCombined: the combination made.
    uint32_t keys[2] = {0, 0};
    // The rule: its section (2 [keys], 5 [gamepad2]) and line (from 1);
    // 0 when no rule is meant.
    uint32_t section = 0;
    uint32_t line = 0;
    uint32_t actionType = 0;     // the action's type tag; 0 none
    int32_t slot = -1;           // the touch slot it played on; -1 none
    int32_t delayMs = 0;         // kHeldBack: how long the key waits
    const char* file = nullptr;  // kKeymapLoaded: the keymap's path, UTF-8
};

// The stable name of a reason ("no-rule"), and of an input kind ("key").
[[nodiscard]] const char* ReasonName(Reason reason);
[[nodiscard]] const char* InputKindName(InputKind input);

class DecisionTrace {
public:
    using Observer = void (*)(void* context, const Decision& decision);

    // Null stops the trace.
    void Set(Observer observer, void* context) {
        if (observer == nullptr) {
            target_.store(nullptr, std::memory_order_release);
            return;
        }
        kept_.push_back(std::make_unique<Target>(Target{observer, context}));
        target_.store(kept_.back().get(), std::memory_order_release);
    }
    [[nodiscard]] bool On() const { return target_.load(std::memory_order_acquire) != nullptr; }
    void Report(const Decision& decision) const {
        if (const Target* target = target_.load(std::memory_order_acquire)) target->observer(target->context, decision);
    }

private:
    struct Target {
        Observer observer;
        void* context;
    };
    std::atomic<const Target*> target_{nullptr};
    std::vector<std::unique_ptr<Target>> kept_;  // every target set, so none dangles
};

// Reports a gesture's decision (where: its point, move or scale), when an
// observer is set.
inline void DecideGesture(const DecisionTrace& trace, GestureCall call, Reason reason, float x, float y) {
    if (!trace.On()) return;
    Decision decision;
    decision.input = InputKind::kGesture;
    decision.reason = reason;
    decision.code = static_cast<uint32_t>(call);
    decision.x = x;
    decision.y = y;
    trace.Report(decision);
}

}  // namespace Keyweave
