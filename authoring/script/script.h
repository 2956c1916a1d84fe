#pragma once
// Play scripts: the timed host calls that `keyweave play` feeds an engine.
//
// One call per line; blank lines and lines or line ends from a "#" word on
// are ignored. Time starts at 0 ms when the keymap is loaded and moves only
// with "wait" and "at" (and by what a call itself takes: typing a character
// takes 10 ms, an emulated gesture runs until its last touch). Positions and
// lengths are in percent of the screen, as in keymaps; keys are key names as
// in keymaps (or a scan code, 57 or 0x39).
//
//   wait MS                    at MS
//   press KEY                  release KEY              tap KEY
//   controller BUTTON down|up  (A to H, Up, Down, Left, Right)
//   type "TEXT"                (escapes \n \t \\ \" \xHH)
//   mouse X Y                  button left|right down|up   click left|right
//   scroll begin X Y           scroll move DX DY        scroll end
//   zoom begin X Y             zoom scale FACTOR        zoom end
//   emulate swipe X Y up|down|left|right
//   emulate swipe-xy X1 Y1 X2 Y2
//   emulate pinch X Y in|out
//   emulate swipe-knobs LENGTH MS
//   emulate pinch-knobs SPLIT IN OUT MS
//   shake X Y Z
//   pad attach ID VID:PID DATABASE
//   pad report ID X Y Z RX RY RZ HAT BUTTONS
//   pad detach ID
//   reload [KEYMAP [PACKAGE]]  locale NAME
//   mapping on|off             forward-raw on|off       shooting-answer N
//   screen WxH                 (the first line only: the guest screen in pixels)

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen_size.h"
#include "keyweave/keyweave.h"

namespace Keyweave::Tool {

struct ScriptCommand {
    enum class Kind {
        kWait,
        kAt,
        kPress,
        kRelease,
        kTap,
        kController,
        kType,
        kMouseMove,
        kButton,
        kClick,
        kScrollBegin,
        kScrollMove,
        kScrollEnd,
        kZoomBegin,
        kZoomScale,
        kZoomEnd,
        kEmulateSwipe,
        kEmulateSwipeXY,
        kEmulatePinch,
        kSwipeKnobs,
        kPinchKnobs,
        kShake,
        kPadAttach,
        kPadReport,
        kPadDetach,
        kReload,
        kLocale,
        kMapping,
        kForwardRawKeys,
        kShootingAnswer,
        kScreen,
    };

    Kind kind = Kind::kWait;
    uint32_t line = 0;              // in the script, from 1
    std::string text;               // the command as written, without its comment
    int64_t millis = 0;             // wait, at; knob durations
    uint32_t key = 0;               // press, release, tap: the key's code
    uint32_t controller = 0;        // controller: the button's code
    int32_t mouseMessage = 0;       // button: its KEYWEAVE_MOUSE_* message; click: the press's
    int32_t direction = 0;          // emulate swipe
    uint32_t vendor = 0;            // pad attach
    uint32_t product = 0;           // pad attach
    bool on = false;                // controller down, pinch in, mapping / forwarding on
    std::array<float, 4> values{};  // positions and lengths as fractions; zoom factor; shake vector
    int32_t number = 0;             // pad id; shooting answer
    KeyweaveGamePadReport report{};
    std::string argument;  // typed text, locale, keymap or database path
    std::string package;   // reload
    ScreenSize screen;     // screen

    [[nodiscard]] bool HasArgument() const { return !argument.empty(); }
};

struct ScriptError {
    uint32_t line = 0;
    std::string message;  // starts with "Cannot"
};

// The longest wait, and the latest "at": an hour of game time.
inline constexpr int64_t kLongestTimeMs = 3600000;

// Reads a whole script. False, with the first bad line, when a line is not a
// command of the list above.
[[nodiscard]] bool ParseScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error);

// The screen the script's first line names, if it names one; `screen` is
// left as it was otherwise.
void TakeScriptScreen(const std::vector<ScriptCommand>& commands, ScreenSize& screen);

}  // namespace Keyweave::Tool
