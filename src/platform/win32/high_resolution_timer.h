#pragma once
// A one-shot waitable timer with high resolution, for the finite waits of
// events and sleeps. Windows 10 1803 and later have one; elsewhere Start
// fails and the caller falls back to the system tick.
#include <windows.h>

#include <cstdint>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace Keyweave::Platform {

struct HighResolutionTimer {
    HANDLE handle = nullptr;

    HighResolutionTimer() = default;
    HighResolutionTimer(const HighResolutionTimer&) = delete;
    HighResolutionTimer& operator=(const HighResolutionTimer&) = delete;
    ~HighResolutionTimer() {
        if (handle != nullptr) CloseHandle(handle);
    }

    // Creates the timer and sets it to fire once, `us` microseconds from now.
    // The last error is left as it was when there is no such timer.
    [[nodiscard]] bool StartUs(uint64_t us) {
        const DWORD error = GetLastError();
        handle = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_MODIFY_STATE | SYNCHRONIZE);
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(us) * 10;  // relative, in 100 ns units
        if (handle == nullptr || !SetWaitableTimer(handle, &due, 0, nullptr, nullptr, FALSE)) {
            SetLastError(error);
            return false;
        }
        return true;
    }
};

}  // namespace Keyweave::Platform
