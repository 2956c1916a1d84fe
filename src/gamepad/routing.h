#pragma once
// What the game-pad subsystem hands its work to. The engine puts its key
// router, action execution and accelerometer behind this; tests put a
// recorder.
//
// Threads: Route, DirectAction and Tilt are called on the thread that
// delivers a report (Route and DirectAction with the game-pad lock held);
// StickEvent on a pad's tick thread, or on the thread that runs a manual tick
// cycle, with no game-pad lock held.

#include <cstdint>

namespace Keyweave::GamePad {

class Routing {
public:
    virtual ~Routing() = default;

    // A game-pad control the keymap maps to a key, routed as that key.
    // Game-pad keys never come from the host keyboard.
    virtual void Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) = 0;
    // A control with no key: the action the keymap binds to the control
    // itself, if any.
    virtual void DirectAction(uint32_t control, bool pressed) = 0;
    // The position of a whole stick (kLeftStick or kRightStick), in stick
    // units, with its phase (see stick_ticker.h).
    virtual void StickEvent(uint32_t stick, float x, float y, int32_t phase) = 0;
    // The left stick, in stick units, tilting the virtual accelerometer.
    virtual void Tilt(int32_t stickX, int32_t stickY) = 0;
};

}  // namespace Keyweave::GamePad
