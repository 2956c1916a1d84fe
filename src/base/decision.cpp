#include "base/decision.h"

#include <iterator>

namespace Keyweave {

const char* ReasonName(Reason reason) {
    static constexpr const char* kNames[] = {
        "unknown",
        "played",
        "passed-raw",
        "no-rule",
        "raw-forwarding-off",
        "mapping-off",
        "repeat",
        "held-back",
        "combined",
        "too-late-to-combine",
        "no-free-slot",
        "yielded-to-tap-swipe",
        "shooting-mode",
        "button-taken",
        "not-used",
        "duplicate-move",
        "typed",
        "no-character",
        "sensor",
        "gesture",
        "keymap-loaded",
        "default-keymap",
        "nothing-on-this-event",
        "gesture-off",
        "gesture-out-of-order",
        "refused-value",
    };
    static_assert(std::size(kNames) == kLastReason + 1);
    const auto index = static_cast<uint32_t>(reason);
    return index < std::size(kNames) ? kNames[index] : kNames[0];
}

const char* GestureCallName(GestureCall call) {
    static constexpr const char* kNames[] = {"gesture",       "scroll begin",   "scroll move",
                                             "scroll end",    "zoom begin",     "zoom scale",
                                             "zoom end",      "emulated swipe", "emulated swipe between points",
                                             "emulated pinch"};
    const auto index = static_cast<uint32_t>(call);
    return index < std::size(kNames) ? kNames[index] : kNames[0];
}

const char* InputKindName(InputKind input) {
    static constexpr const char* kNames[] = {"unknown",  "key",   "controller", "character", "mouse",
                                             "game-pad", "shake", "gesture",    "keymap"};
    const auto index = static_cast<uint32_t>(input);
    return index < std::size(kNames) ? kNames[index] : kNames[0];
}

}  // namespace Keyweave
