#pragma once
// The guest's accelerometer, synthesised: the orientation of a virtual device
// as pitch and roll in degrees, reported to the host as a unit gravity vector
// (x = sin r, y = sin p, z = cos p cos r) through the sensor callback.
//
// Key actions set or add to the angles; a shake passes the host's vector
// straight through; a game-pad left stick bound to tilt sends a vector of its
// own without touching the stored angles. Every call runs on the caller's
// thread and reports there. The angles belong to the host's input thread; the
// tilt parameters, written while a keymap loads and read by the game-pad
// thread, are atomics.

#include <atomic>
#include <cstdint>

#include "actions/tilt_actions.h"
#include "base/log.h"
#include "keyweave/keyweave.h"

namespace Keyweave {

class Accelerometer {
public:
    // Stores the callback and resets: the host receives (0, 0, 1) once.
    Accelerometer(KeyweaveSensorCallback callback, void* context, const Log& log);

    // Back to level, with the log line "Keyweave::Accelerometer::Reset()".
    void Reset();
    // Sends the vector for the angles; stores nothing.
    void SendTilt(float pitch, float roll) const;
    void HandleAbsoluteTilt(const AbsoluteTiltAction& action, bool pressed);
    void HandleRelativeTilt(const RelativeTiltAction& action);
    void HandleShake(float x, float y, float z) const;

    // The game-pad tilt parameters, in degrees.
    void SetTiltZero(bool isRoll, int32_t degrees);
    void SetTiltMax(bool isRoll, int32_t degrees);
    // What every keymap load starts from: zero 0, maximum 90.
    void RestoreTiltDefaults();
    // Left-stick position (thousandths, negative y is up) to a vector.
    void GamePadTilt(int32_t stickX, int32_t stickY) const;

    [[nodiscard]] float Pitch() const { return pitch_; }
    [[nodiscard]] float Roll() const { return roll_; }

private:
    KeyweaveSensorCallback callback_;
    void* context_;
    const Log& log_;
    float pitch_ = 0.0f;  // degrees
    float roll_ = 0.0f;   // degrees
    // Zero before the first keymap load, then restored by every load.
    std::atomic<int32_t> pitchMax_{0}, rollMax_{0}, pitchZero_{0}, rollZero_{0};
};

}  // namespace Keyweave
