#include "gamepad/transforms.h"

#include <algorithm>

#include "codes/control_codes.h"

namespace Keyweave::GamePad {
namespace {

struct Hat {
    int32_t x = 0;
    int32_t y = 0;
};

// 0 is up and the angle grows clockwise in steps of 45 degrees; any other
// value (a centred hat reports 65535 or -1) is centred.
Hat HatFromAngle(int32_t degrees) {
    Hat hat;
    switch (degrees) {
        case 45:
        case 90:
        case 135:
            hat.x = 1;
            break;
        case 225:
        case 270:
        case 315:
            hat.x = -1;
            break;
        default:
            break;
    }
    switch (degrees) {
        case 315:
        case 0:
        case 45:
            hat.y = -1;
            break;
        case 135:
        case 180:
        case 225:
            hat.y = 1;
            break;
        default:
            break;
    }
    return hat;
}

int32_t AxisDirection(int32_t value) {
    if (value > kAxisHalfWay) return 1;
    if (value < -kAxisHalfWay) return -1;
    return 0;
}

Hat HatFromButtons(const Device& device, uint32_t raw) {
    auto held = [&](HatDirection direction) -> int32_t {
        const uint32_t mask = device.hatButtonMasks[direction];
        return mask != 0 && (raw & mask) != 0 ? 1 : 0;
    };
    return {held(kHatMaskRight) - held(kHatMaskLeft), held(kHatMaskDown) - held(kHatMaskUp)};
}

Hat HatOf(const Device& device, const Report& report) {
    if (device.hatFromReportHat) return HatFromAngle(report.hat);
    if (device.hatFromPrimaryAxes) return {AxisDirection(report.x), AxisDirection(report.y)};
    if (device.hatFromButtons) return HatFromButtons(device, static_cast<uint32_t>(report.buttons));
    return {};
}

// The report field of a raw axis code; false for a code that names none.
bool AxisValue(const Report& report, uint32_t source, int32_t& value) {
    switch (source) {
        case kAxisX:
            value = report.x;
            return true;
        case kAxisY:
            value = report.y;
            return true;
        case kAxisZ:
            value = report.z;
            return true;
        case kAxisRx:
            value = report.rx;
            return true;
        case kAxisRy:
            value = report.ry;
            return true;
        case kAxisRz:
            value = report.rz;
            return true;
        default:
            return false;
    }
}

void SetBits(uint32_t& buttons, uint32_t bits, bool set) { buttons = set ? (buttons | bits) : (buttons & ~bits); }

void ApplyAxis(PadState& state, uint32_t& buttons, uint32_t target, int32_t raw) {
    // A stick reported beyond full deflection stays at full deflection.
    const int32_t value = std::clamp(raw, KEYWEAVE_PAD_AXIS_MIN, KEYWEAVE_PAD_AXIS_MAX);
    switch (target) {
        case kLeftStickX:
            state.leftX = value;
            break;
        case kLeftStickY:
            state.leftY = value;
            break;
        case kRightStickX:
            state.rightX = value;
            break;
        case kRightStickY:
            state.rightY = value;
            break;
        case kLeftTrigger:
            SetBits(buttons, kLeftTrigger, value > 0);
            break;
        case kRightTrigger:
            SetBits(buttons, kRightTrigger, value > 0);
            break;
        case kBothTriggers:
            // One axis, rest in the middle: one side is the left trigger, the
            // other the right one.
            SetBits(buttons, kBothTriggers, false);
            if (value > kAxisHalfWay) {
                buttons |= kLeftTrigger;
            } else if (value < -kAxisHalfWay) {
                buttons |= kRightTrigger;
            }
            break;
        default:
            break;  // buttons and hat directions are not driven by axes
    }
}

}  // namespace

void ApplyTransforms(Device& device, const Report& report) {
    device.previous = device.current;
    PadState& state = device.current;

    const Hat hat = HatOf(device, report);
    state.hatX = hat.x;
    state.hatY = hat.y;

    auto buttons = static_cast<uint32_t>(state.buttons);
    for (const auto& [source, target] : device.axisTransforms) {
        int32_t value = 0;
        if (AxisValue(report, source, value)) ApplyAxis(state, buttons, target, value);
    }
    const auto raw = static_cast<uint32_t>(report.buttons);
    for (const auto& [rawBit, target] : device.buttonTransforms) {
        const uint32_t bits = target & kButtonMask;
        if (bits != 0) SetBits(buttons, bits, (raw & rawBit) != 0);
    }
    state.buttons = static_cast<int32_t>(buttons);
}

}  // namespace Keyweave::GamePad
