#include "sensors/accelerometer.h"

#include <cmath>

namespace Keyweave {
namespace {

// Degrees to radians in double precision, then rounded to a float: the guest
// sees the same single-precision vector on every platform.
float Radians(float degrees) { return static_cast<float>(degrees / 180.0 * 3.141592653589793); }

// Stick deflection scaled to degrees in single precision, truncated toward zero.
int32_t StickDegrees(int32_t deflection, int32_t maximum, int32_t zero) {
    const float degrees =
        static_cast<float>(deflection) / 1000.0f * static_cast<float>(maximum) + static_cast<float>(zero);
    return static_cast<int32_t>(std::trunc(degrees));
}

}  // namespace

Accelerometer::Accelerometer(KeyweaveSensorCallback callback, void* context, const Log& log)
    : callback_(callback), context_(context), log_(log) {
    Reset();
}

void Accelerometer::Reset() {
    log_.Write("%s()", "Keyweave::Accelerometer::Reset");
    pitch_ = 0.0f;
    roll_ = 0.0f;
    SendTilt(0.0f, 0.0f);
}

void Accelerometer::SendTilt(float pitch, float roll) const {
    const float p = Radians(pitch);
    const float r = Radians(roll);
    const float x = std::sin(r);
    const float y = std::sin(p);
    const float z = std::cos(p) * std::cos(r);
    if (callback_ != nullptr) callback_(context_, x, y, z);
}

void Accelerometer::HandleAbsoluteTilt(const AbsoluteTiltAction& action, bool pressed) {
    if (pressed) {
        pitch_ = action.pitch;
        roll_ = action.roll;
        SendTilt(pitch_, roll_);
    } else if (action.returnToLevel) {
        pitch_ = 0.0f;
        roll_ = 0.0f;
        SendTilt(0.0f, 0.0f);
    }
}

void Accelerometer::HandleRelativeTilt(const RelativeTiltAction& action) {
    pitch_ += action.pitch;
    roll_ += action.roll;
    SendTilt(pitch_, roll_);
}

void Accelerometer::HandleShake(float x, float y, float z) const {
    if (callback_ != nullptr) callback_(context_, x, y, z);
}

void Accelerometer::SetTiltZero(bool isRoll, int32_t degrees) { (isRoll ? rollZero_ : pitchZero_).store(degrees); }

void Accelerometer::SetTiltMax(bool isRoll, int32_t degrees) { (isRoll ? rollMax_ : pitchMax_).store(degrees); }

void Accelerometer::RestoreTiltDefaults() {
    rollZero_.store(0);
    pitchZero_.store(0);
    rollMax_.store(90);
    pitchMax_.store(90);
}

void Accelerometer::GamePadTilt(int32_t stickX, int32_t stickY) const {
    // -stickY: a stick pushed up (negative y) tilts the device forward.
    const int32_t pitch = StickDegrees(-stickY, pitchMax_.load(), pitchZero_.load());
    const int32_t roll = StickDegrees(stickX, rollMax_.load(), rollZero_.load());
    SendTilt(static_cast<float>(pitch), static_cast<float>(roll));
}

}  // namespace Keyweave
