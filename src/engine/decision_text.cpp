#include "engine/decision_text.h"

#include <string>

#include "actions/action.h"
#include "base/format.h"
#include "codes/control_names.h"
#include "codes/event_codes.h"
#include "codes/key_names.h"

namespace Keyweave {
namespace {

template <typename... Args>
std::string Printf(const char* format, const Args&... args) {
    char buffer[512];
    Format(buffer, sizeof buffer, format, args...);
    return buffer;
}

const char* SectionName(uint32_t section) {
    switch (section) {
        case 2:
            return "[keys]";
        case 4:
            return "[gamepad]";
        case 5:
            return "[gamepad2]";
        default:
            return "the keymap";
    }
}

const char* MouseMessageName(uint32_t message) {
    switch (message) {
        case kMouseMove:
            return "mouse move";
        case kLeftButtonDown:
            return "left button down";
        case kLeftButtonUp:
            return "left button up";
        case kRightButtonDown:
            return "right button down";
        case kRightButtonUp:
            return "right button up";
        default:
            return "mouse message";
    }
}

}  // namespace

std::string KeysText(const uint32_t keys[2]) {
    if (keys[1] == 0) return KeyNameOf(keys[0]);
    const auto modifier = [](uint32_t code) { return code == kKeyCtrl || code == kKeyShift || code == kKeyAlt; };
    const bool swap = modifier(keys[1]) && !modifier(keys[0]);
    return std::string(KeyNameOf(keys[swap ? 1 : 0])) + "+" + KeyNameOf(keys[swap ? 0 : 1]);
}

namespace {

// What the input was: "R down", "left button down", "'a'", "shake".
std::string Subject(const Decision& d) {
    const char* state = d.pressed == 1 ? " down" : d.pressed == 0 ? " up" : "";
    switch (d.input) {
        case InputKind::kKey:
            return std::string(KeyNameOf(d.code)) + state;
        case InputKind::kController:
            // Without a key in [opensensor] the code is the button's letter.
            if (d.reason == Reason::kNoRule) return Printf("controller %c", static_cast<char>(d.code)) + state;
            return std::string("controller ") + KeyNameOf(d.code) + state;
        case InputKind::kGamePad: {
            // A control the keymap maps to a key arrives as that key (its
            // key set); one it binds in [gamepad2], or none, as itself.
            const char* control = d.keys[0] == 0 ? GamePad::ControlNameOf(d.code) : nullptr;
            const std::string name = control != nullptr && *control != '\0' ? control : KeyNameOf(d.code);
            return "pad " + name + state;
        }
        case InputKind::kCharacter: {
            char text[16];
            Format(text, sizeof text, d.code >= 0x20 && d.code < 0x7F ? "'%c'" : "character 0x%02X", d.code);
            return text;
        }
        case InputKind::kMouse:
            return MouseMessageName(d.code);
        case InputKind::kShake:
            return "shake";
        case InputKind::kGesture:
            // An emulated swipe that the keymap turns into the wheel comes as its key.
            if (d.code == kKeyMouseWheelDown || d.code == kKeyMouseWheelUp)
                return std::string(KeyNameOf(d.code)) + state;
            return GestureCallName(static_cast<GestureCall>(d.code));
        case InputKind::kKeymap:
            return "keymap";
    }
    return "input";
}

// "Tap of line 12 in [keys]".
std::string RuleText(const Decision& d) {
    std::string text = ActionTypeName(static_cast<ActionType>(d.actionType));
    if (d.line != 0) text += Printf(" of line %u in %s", d.line, SectionName(d.section));
    return text;
}

std::string What(const Decision& d) {
    switch (d.reason) {
        case Reason::kPlayed:
            if (d.slot >= 0) return Printf("%s plays on slot %d", RuleText(d).c_str(), d.slot);
            return RuleText(d) + " plays";
        case Reason::kPassedRaw:
            return "no rule in [keys]: passed to the guest as its own scan code";
        case Reason::kNoRule:
            if (d.input == InputKind::kGamePad) return "no rule in [gamepad] or [gamepad2]: nothing happens";
            if (d.input == InputKind::kController) return "no key in [opensensor]: nothing happens";
            return "no rule in [keys], and mouse keys are never passed on: nothing is sent";
        case Reason::kRawForwardingOff:
            return "no rule in [keys], and raw forwarding is off: nothing is sent";
        case Reason::kMappingOff:
            return "key mapping is off: its rule is not looked up";
        case Reason::kRepeat:
            return "still held: a repeat, which " + RuleText(d) + " ignores";
        case Reason::kHeldBack:
            return Printf("held back %d ms, the keymap binds key combinations: a second key may still join it",
                          d.delayMs);
        case Reason::kCombined:
            return "joins the held-back key: " + KeysText(d.keys) + Printf(" of line %u replaces it", d.line);
        case Reason::kTooLateToCombine:
            return KeysText(d.keys) +
                   Printf(" of line %u comes too late: the held-back key's action has begun", d.line);
        case Reason::kNoFreeSlot:
            return RuleText(d) + " finds no free touch slot: nothing plays";
        case Reason::kYieldedToTapSwipe:
            return RuleText(d) + " is held off: a TapSwipe is held, or was lifted less than 50 ms ago";
        case Reason::kShootingMode:
            return "shooting mode takes the left button: no mouse finger";
        case Reason::kButtonTaken:
            return RuleText(d) + " owns the left button: no mouse finger";
        case Reason::kNotUsed:
            return "no active action uses it: handed back to the host";
        case Reason::kDuplicateMove:
            return "the mouse is there already: dropped";
        case Reason::kTyped:
            return "typed as scan codes, whatever the keymap says";
        case Reason::kNoCharacter:
            return "no key types it: nothing is sent";
        case Reason::kSensor:
            return "passed on as a sensor vector";
        case Reason::kGesture:
            return "played on the screen";
        case Reason::kKeymapLoaded:
            return Printf("%s is active", d.file != nullptr ? d.file : "");
        case Reason::kDefaultKeymap:
            if (d.file == nullptr)
                return "no keymap of the chain loads, nor the default one: an empty keymap is active";
            return Printf("no keymap of the chain loads: the default keymap %s is active", d.file);
        case Reason::kNothingOnThisEvent:
            return RuleText(d) + (d.pressed == 0 ? " does nothing on a release" : " does nothing on this press");
        case Reason::kGestureOff:
            return "its duration knob is 0: the gesture is switched off";
        case Reason::kGestureOutOfOrder:
            return "does not fit the gesture under way (another one, or none): nothing moves";
        case Reason::kRefusedValue:
            return "a value is refused (the log's \"Cannot\" line says which): nothing happens";
    }
    return ReasonName(d.reason);
}

}  // namespace

void DescribeDecision(const Decision& decision, char* buffer, size_t size) {
    const std::string line = Subject(decision) + ": " + What(decision);
    Format(buffer, size, "%s", line.c_str());
}

}  // namespace Keyweave
