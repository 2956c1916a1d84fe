#pragma once
// Game-pad control codes: one 32-bit code for every control a keymap can bind,
// the game-pad database can name and the game-pad subsystem reports. Buttons
// are single bits, so a pad's button state is a bit set of these codes.

#include <cstdint>

namespace Keyweave::GamePad {

enum Control : uint32_t {
    kA = 0x1,
    kB = 0x2,
    kX = 0x4,
    kY = 0x8,
    kLeftButton = 0x10,
    kRightButton = 0x20,
    kLeftTrigger = 0x40,
    kRightTrigger = 0x80,
    kBothTriggers = 0xC0,  // database only: one axis drives both triggers
    kLeftClick = 0x100,
    kRightClick = 0x200,
    kSelect = 0x400,
    kStart = 0x800,
    kLeftStickX = 0x1000,  // stick axes: database only
    kLeftStickY = 0x2000,
    kRightStickX = 0x4000,
    kRightStickY = 0x8000,
    kHatUp = 0x10000,
    kHatDown = 0x20000,
    kHatLeft = 0x40000,
    kHatRight = 0x80000,
    kLeftStickUp = 0x100000,  // pressed beyond half way, released when back
    kLeftStickDown = 0x200000,
    kLeftStickLeft = 0x400000,
    kLeftStickRight = 0x800000,
    kRightStickUp = 0x1000000,
    kRightStickDown = 0x2000000,
    kRightStickLeft = 0x4000000,
    kRightStickRight = 0x8000000,
    kLeftStick = 0x10000000,  // the whole stick: continuous position
    kRightStick = 0x20000000,
};

inline constexpr uint32_t kButtonMask = 0xFFF;
// What a failed lookup gives; no control uses it.
inline constexpr uint32_t kNoControl = 0xFFFFFFFFu;

}  // namespace Keyweave::GamePad
