#pragma once
// What the game-pad subsystem keeps of the host's callbacks: the game-pad
// notice callback (attach and detach), and the sensor callback with six
// further pointers that the host hands over for game pads. The sensor
// callback is reached through the accelerometer, and nothing reads the six
// pointers; both are kept only because they were handed over.

#include <array>

#include "keyweave/keyweave.h"

namespace Keyweave::GamePad {

struct HostHooks {
    KeyweaveSensorCallback sensor = nullptr;
    void* sensorContext = nullptr;
    std::array<void*, 6> reserved = {};
    KeyweaveGamePadNoticeCallback notice = nullptr;
    void* noticeContext = nullptr;
};

// The events of the notice callback.
inline constexpr int32_t kNoticeAttached = 1;
inline constexpr int32_t kNoticeDetached = 2;

}  // namespace Keyweave::GamePad
