#pragma once
// What the game-pad runtime reaches in the rest of the engine: key routing for
// controls mapped to keys, the direct game-pad actions, stick events and tilt.

#include "gamepad/routing.h"
#include "input/action_executor.h"
#include "input/key_router.h"
#include "sensors/accelerometer.h"

namespace Keyweave {

class EngineGamePadRouting final : public GamePad::Routing {
public:
    EngineGamePadRouting(KeyRouter& router, ActionExecutor& executor, Accelerometer& accelerometer)
        : router_(router), executor_(executor), accelerometer_(accelerometer) {}

    void Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) override {
        router_.Route(keyCode, pressed, fromHostKeyboard);
    }
    void DirectAction(uint32_t control, bool pressed) override { router_.DirectGamePadAction(control, pressed); }
    void StickEvent(uint32_t stick, float x, float y, int32_t phase) override {
        executor_.StickEvent(stick, x, y, phase);
    }
    void Tilt(int32_t stickX, int32_t stickY) override { accelerometer_.GamePadTilt(stickX, stickY); }

private:
    KeyRouter& router_;
    ActionExecutor& executor_;
    Accelerometer& accelerometer_;
};

}  // namespace Keyweave
