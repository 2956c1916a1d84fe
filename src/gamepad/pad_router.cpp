#include "gamepad/pad_router.h"

#include "codes/control_codes.h"
#include "config/config.h"

namespace Keyweave::GamePad {

void PadRouter::RouteControl(uint32_t code, bool pressed) {
    configuration_.With([&](Config* config) {
        uint32_t keyCode = 0;
        if (config != nullptr && code != 0 && config->GamePadKey(code, keyCode)) {
            routing_.Route(keyCode, pressed, false);
        } else {
            routing_.DirectAction(code, pressed);
        }
    });
}

void PadRouter::RouteEdges(const std::vector<Edge>& edges) {
    for (const Edge& edge : edges) RouteControl(edge.code, edge.pressed);
}

void PadRouter::RoutePadState(const Device& device) {
    const PadState& now = device.current;
    const PadState& before = device.previous;
    sticks_.Publish(now);

    const bool tilt = configuration_.With([](Config* config) { return config != nullptr && config->GamePadTilt(); });
    if (tilt) {
        // A stick on an axis sends nothing: the last vector stays.
        if (now.leftX != 0 && now.leftY != 0) routing_.Tilt(now.leftX, now.leftY);
    } else {
        RouteEdges(DirectionEdges(now.leftX, now.leftY, before.leftX, before.leftY, kStickDirectionThreshold,
                                  kLeftStickDirections));
    }
    RouteEdges(DirectionEdges(now.hatX, now.hatY, before.hatX, before.hatY, kHatDirectionThreshold, kHatDirections));

    const auto buttons = static_cast<uint32_t>(now.buttons);
    const uint32_t changed = (buttons ^ static_cast<uint32_t>(before.buttons)) & kButtonMask;
    for (uint32_t bit = 1; bit <= kStart; bit <<= 1) {
        if ((changed & bit) != 0) RouteControl(bit, (buttons & bit) != 0);
    }
}

}  // namespace Keyweave::GamePad
