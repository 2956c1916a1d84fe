#pragma once
// The continuous inputs that the mouse- and stick-driven sequences read: the
// pointer position, the two stick deflections and the screen-centre
// reference. Each is written by one input path (mouse messages, the game-pad
// stick thread, configuration loading) and read by the sequences on any
// input thread, so each has a lock of its own, held only while the values are
// copied in or out.

#include <cstdint>

#include "actions/action.h"
#include "codes/control_codes.h"
#include "platform/platform.h"

namespace Keyweave {

// Stick and mouse-look sequences count in hundredths of a percent: this many
// in one screen fraction.
inline constexpr float kStickUnits = 10000.0f;

struct ScreenCentreReference {
    Point point = kScreenCentre;  // fractions of the screen
    float stretch = 0.0f;         // vertical stretch of the tap-swipes; 0: the screen's aspect ratio
};

class PointerState {
public:
    void SetMouse(Point position) {
        Platform::LockGuard guard(mouseLock_);
        mouse_ = position;
    }
    [[nodiscard]] Point Mouse() const {
        Platform::LockGuard guard(mouseLock_);
        return mouse_;
    }

    // Only the two whole-stick codes are kept; any other code changes nothing.
    void SetStick(uint32_t stick, Point deflection) {
        Platform::LockGuard guard(stickLock_);
        if (stick == GamePad::kLeftStick) left_ = deflection;
        if (stick == GamePad::kRightStick) right_ = deflection;
    }
    // False (and `deflection` untouched) for any code but the two sticks.
    bool Stick(uint32_t stick, Point& deflection) const {
        Platform::LockGuard guard(stickLock_);
        if (stick == GamePad::kLeftStick) {
            deflection = left_;
            return true;
        }
        if (stick == GamePad::kRightStick) {
            deflection = right_;
            return true;
        }
        return false;
    }

    void SetScreenCentre(ScreenCentreReference reference) {
        Platform::LockGuard guard(centreLock_);
        centre_ = reference;
    }
    [[nodiscard]] ScreenCentreReference ScreenCentre() const {
        Platform::LockGuard guard(centreLock_);
        return centre_;
    }

private:
    mutable Platform::Lock mouseLock_;
    Point mouse_ KEYWEAVE_GUARDED_BY(mouseLock_);  // fractions of the host window

    mutable Platform::Lock stickLock_;
    Point left_ KEYWEAVE_GUARDED_BY(stickLock_);
    Point right_ KEYWEAVE_GUARDED_BY(stickLock_);

    mutable Platform::Lock centreLock_;
    ScreenCentreReference centre_ KEYWEAVE_GUARDED_BY(centreLock_);
};

}  // namespace Keyweave
