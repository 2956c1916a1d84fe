#pragma once
// The mouse as the host reports it: window messages with the pointer's
// position in fractions of the window that shows the guest.
//
// The position goes to the dispatcher for the pointer-driven sequences. The
// left button is a touch of its own (the runtime mouse action on the mouse
// slot), unless an active mouse-hold or tap-swipe owns it or shooting mode is
// on. The right button is the pseudo key RightClick, routed like any key.
// Then every active action sees the message: mouse swipes, holds, tap-swipes,
// touch-move and the shooting modes follow the pointer. A plain move that
// none of them used is handed back to the host (pass-through).
//
// Threads: the host's input thread only, never during a keymap load. The
// registry of active actions stays locked while the active actions play, so
// a key executed meanwhile on a game-pad thread waits.

#include <cstdint>

#include "actions/actions.h"
#include "config/config.h"
#include "dispatch/dispatcher.h"
#include "gamepad/active_configuration.h"
#include "input/action_executor.h"
#include "input/host_notices.h"
#include "input/key_router.h"

namespace Keyweave {

class MouseInput {
public:
    MouseInput(const GamePad::ActiveConfiguration& config, Dispatcher& dispatcher, KeyRouter& router,
               ActionExecutor& executor, PassThroughCallback passThrough, const DecisionTrace& trace);

    MouseInput(const MouseInput&) = delete;
    MouseInput& operator=(const MouseInput&) = delete;

    // KeyweaveUpdateMouseStatus. Moves to the position of the last message
    // are dropped at once.
    void UpdateMouseStatus(float x, float y, int32_t message, uint32_t parameter);

    // Where the last message put the pointer; (0, 0) before the first.
    [[nodiscard]] Point LastPosition() const { return last_; }
    [[nodiscard]] bool LeftButtonHeld() const { return leftHeld_; }
    [[nodiscard]] bool RightButtonHeld() const { return rightHeld_; }

private:
    // Hands the left button's message to the runtime mouse action.
    void LeftButtonEvent(Config& config, int32_t message, uint32_t parameter);
    // Reports a decision about this message; the trace must be on.
    void Decide(Reason reason, const Action* action = nullptr, int32_t slot = -1) const;
    // What one active action does with a mouse message.
    TaskIdList MouseEvent(Config& config, Action& action, int32_t delayMs, int32_t message);

    const GamePad::ActiveConfiguration& config_;
    Dispatcher& dispatcher_;
    KeyRouter& router_;
    ActionExecutor& executor_;
    const PassThroughCallback passThrough_;
    const DecisionTrace& trace_;
    int32_t message_ = 0;  // the message being handled, for its decisions

    // Host input thread only; a keymap load leaves them alone.
    Point last_{};  // position of the last message
    bool leftHeld_ = false;
    bool rightHeld_ = false;
};

}  // namespace Keyweave
