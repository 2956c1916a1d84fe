#pragma once
// Key routing: every key-like input ends here. Host keyboard keys, controller
// codes, the right mouse button, the emulated swipe's wheel keys and game-pad
// controls mapped to keys are turned into the set of keys held together,
// looked up in the active keymap and executed; the held map remembers each
// press so that its release can be matched to it.
//
// Keys the keymap does not bind are forwarded to the guest as their own scan
// codes, except mouse pseudo keys, and except host-keyboard keys while raw
// forwarding is off. With key mapping off only Enter keeps its rule.
//
// A keymap with two-key rules ("multi-key aware") holds every single key
// back by 100 ms, so that a second key pressed meanwhile can still turn the
// press into the combination: the single key's pending tasks are cancelled
// and the combination's actions run instead.
//
// Threads: the host's input thread and the game-pad threads (which route
// under the game-pad lock) both call in. Each public entry point takes the
// held map's lock once and holds it for its whole run, so key events are
// handled one at a time; the private steps need it held.

#include <cstdint>

#include "base/decision.h"
#include "base/log.h"
#include "dispatch/scheduler.h"
#include "gamepad/active_configuration.h"
#include "input/action_executor.h"
#include "input/held_keys.h"
#include "input/routing_settings.h"

namespace Keyweave {

class KeyRouter {
public:
    // How long single keys of a multi-key aware keymap are held back.
    static constexpr int32_t kCombinationHoldBackMs = 100;

    KeyRouter(const GamePad::ActiveConfiguration& config, const RoutingSettings& settings, HeldKeys& held,
              ActionExecutor& executor, Scheduler& scheduler, const Log& log, const DecisionTrace& trace);

    KeyRouter(const KeyRouter&) = delete;
    KeyRouter& operator=(const KeyRouter&) = delete;

    // The single entry point of every source. `fromHostKeyboard` is true for
    // host keys, the right mouse button and the emulated swipe; false for
    // controller codes and game-pad keys.
    void Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) KEYWEAVE_EXCLUDES(held_.lock());
    // Route for the key of an on-screen controller button: the same, with
    // its decisions naming the controller.
    void RouteController(uint32_t keyCode, bool pressed) KEYWEAVE_EXCLUDES(held_.lock());
    // One key as a key set of its own, its actions delayed by `delayMs`.
    void Single(uint32_t keyCode, bool pressed, bool fromHostKeyboard, int32_t delayMs) KEYWEAVE_EXCLUDES(held_.lock());
    // Runs the action the keymap binds directly to a game-pad control
    // ([gamepad2]); nothing when none is bound. The held map is not touched.
    void DirectGamePadAction(uint32_t control, bool pressed) KEYWEAVE_EXCLUDES(held_.lock());

private:
    void RouteLocked(uint32_t keyCode, bool pressed, bool fromHostKeyboard) KEYWEAVE_REQUIRES(held_.lock());
    void SingleLocked(uint32_t keyCode, bool pressed, bool fromHostKeyboard, int32_t delayMs)
        KEYWEAVE_REQUIRES(held_.lock());
    // The multi-key aware paths.
    void MultiPress(uint32_t keyCode, bool fromHostKeyboard) KEYWEAVE_REQUIRES(held_.lock());
    void MultiRelease(uint32_t keyCode, bool fromHostKeyboard) KEYWEAVE_REQUIRES(held_.lock());
    // Turns the held single key `earlier` into the two-key set `keys`, if the
    // keymap binds it and the single key's actions have not begun.
    [[nodiscard]] bool TryCombination(const KeySet& keys, uint32_t earlier) KEYWEAVE_REQUIRES(held_.lock());
    // Releases a held combination; false when the keymap does not bind it.
    bool ReleaseCombination(const KeySet& keys) KEYWEAVE_REQUIRES(held_.lock());
    [[nodiscard]] static bool IsMousePseudoKey(uint32_t keyCode);
    // What a decision about this key starts from: the input it came from,
    // the key and the key set of one key. The trace must be on.
    [[nodiscard]] Decision Base(uint32_t keyCode, bool pressed, bool fromHostKeyboard) const
        KEYWEAVE_REQUIRES(held_.lock());
    // Reports `decision` with `reason`, and tells action execution what
    // input its own decisions are about.
    void Decide(Decision decision, Reason reason) const;

    const GamePad::ActiveConfiguration& config_;
    const RoutingSettings& settings_;
    HeldKeys& held_;
    ActionExecutor& executor_;
    Scheduler& scheduler_;
    const Log& log_;
    const DecisionTrace& trace_;
    bool controller_ KEYWEAVE_GUARDED_BY(held_.lock()) = false;  // the key routed is a controller button's
};

}  // namespace Keyweave
