#pragma once
// Makes a pad's new state act, on the thread that delivered the report.
//
// After each report: the state is published for the tick threads; the left
// stick either tilts the accelerometer (keymap "LeftStick = Tilt") or has its
// four directions routed; then the hat directions and every button that
// changed, in ascending bit order, are routed. Each control goes to the key
// the keymap maps it to, or else to the action the keymap binds to the
// control itself.
//
// Locks: the game-pad lock (ActiveConfiguration) is held across each
// RouteControl, including the key routing or action it runs, and while the
// tilt flag is read. The stick-state lock is taken only to publish.

#include <cstdint>
#include <vector>

#include "gamepad/active_configuration.h"
#include "gamepad/device.h"
#include "gamepad/direction_edges.h"
#include "gamepad/routing.h"
#include "gamepad/stick_state.h"

namespace Keyweave::GamePad {

class PadRouter {
public:
    PadRouter(ActiveConfiguration& configuration, Routing& routing, StickState& sticks)
        : configuration_(configuration), routing_(routing), sticks_(sticks) {}

    PadRouter(const PadRouter&) = delete;
    PadRouter& operator=(const PadRouter&) = delete;

    // Acts on the difference between the device's previous and current state.
    void RoutePadState(const Device& device);
    // One press or release of a control code.
    void RouteControl(uint32_t code, bool pressed);

private:
    void RouteEdges(const std::vector<Edge>& edges);

    ActiveConfiguration& configuration_;
    Routing& routing_;
    StickState& sticks_;
};

}  // namespace Keyweave::GamePad
