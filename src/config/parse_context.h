#pragma once
// What reading a keymap needs from outside the configuration it fills.

#include <string>

#include "engine/log.h"

namespace Keyweave {

class Accelerometer;
struct EmulationKnobs;

struct ParseContext {
    // Every message of the reader goes here.
    const Log& log;
    // The engine locale, already normalised ("en_us"): selects the
    // [strings.<locale>] section whose texts the configuration keeps. Empty:
    // none does.
    std::string locale;
    // Set by "# SWIPE_PINCH". Null for tools that only check a file.
    EmulationKnobs* knobs = nullptr;
    // Receives the [gamepad] Tilt_* settings. Null for tools that only check
    // a file.
    Accelerometer* accelerometer = nullptr;
};

}  // namespace Keyweave
