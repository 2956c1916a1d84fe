// Locks, events and threads with Win32 calls.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mmsystem.h>
#include <process.h>
#include <utility>

#include "platform/platform.h"
#include "platform/win32/high_resolution_timer.h"

namespace Keyweave::Platform {

struct Lock::Impl {
    CRITICAL_SECTION section;
    Impl() { InitializeCriticalSection(&section); }
    ~Impl() { DeleteCriticalSection(&section); }
};
Lock::Lock() : impl_(std::make_unique<Impl>()) {}
Lock::~Lock() = default;
void Lock::lock() { EnterCriticalSection(&impl_->section); }
void Lock::unlock() { LeaveCriticalSection(&impl_->section); }

// A critical section is re-entrant for its owner already.
struct RecursiveLock::Impl {
    CRITICAL_SECTION section;
    Impl() { InitializeCriticalSection(&section); }
    ~Impl() { DeleteCriticalSection(&section); }
};
RecursiveLock::RecursiveLock() : impl_(std::make_unique<Impl>()) {}
RecursiveLock::~RecursiveLock() = default;
void RecursiveLock::lock() { EnterCriticalSection(&impl_->section); }
void RecursiveLock::unlock() { LeaveCriticalSection(&impl_->section); }

// A finite wait would otherwise end on the system tick, about 15.6 ms by
// default: far too coarse for 12 ms swipe steps and the 4 ms pad tick. Each
// finite wait therefore runs on a high-resolution waitable timer of its own
// (created per wait, so several threads may wait on one event). Where the
// system has no such timer, the event raises the system timer resolution to
// 1 ms at its first finite wait and restores it when it is destroyed.
struct Event::Impl {
    HANDLE handle = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // auto-reset, not signalled
    std::atomic<bool> periodRaised{false};
    ~Impl() {
        if (handle != nullptr) CloseHandle(handle);
        if (periodRaised.load()) timeEndPeriod(1);
    }
};

Event::Event() : impl_(std::make_unique<Impl>()) {}
Event::~Event() = default;
bool Event::Valid() const { return impl_->handle != nullptr; }

bool Event::Set() {
    if (impl_->handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return SetEvent(impl_->handle) != 0;
}

namespace {

Event::Wait WaitResult(DWORD result) {
    switch (result) {
        case WAIT_OBJECT_0:
            return Event::Wait::kSignaled;
        case WAIT_TIMEOUT:
            return Event::Wait::kTimeout;
        default:
            return Event::Wait::kFailed;
    }
}

}  // namespace

Event::Wait Event::WaitFor(uint32_t timeoutMs) {
    if (timeoutMs != kInfinite && timeoutMs != 0) return WaitForUs(uint64_t{timeoutMs} * 1000);
    if (impl_->handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return Wait::kFailed;
    }
    return WaitResult(WaitForSingleObject(impl_->handle, timeoutMs == kInfinite ? INFINITE : 0));
}

Event::Wait Event::WaitForUs(uint64_t timeoutUs) {
    if (impl_->handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return Wait::kFailed;
    }
    if (timeoutUs == 0) return WaitResult(WaitForSingleObject(impl_->handle, 0));
    HighResolutionTimer timer;
    if (timer.StartUs(timeoutUs)) {
        const HANDLE handles[2] = {impl_->handle, timer.handle};
        // Both signalled: the lower index, the event, is reported and consumed.
        DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0 + 1) result = WAIT_TIMEOUT;
        return WaitResult(result);
    }
    // No high-resolution timer: the system tick, raised to 1 ms while this
    // event lives, and the wait rounded up to whole milliseconds.
    if (!impl_->periodRaised.exchange(true)) timeBeginPeriod(1);
    const uint64_t ms = (timeoutUs + 999) / 1000;
    return WaitResult(WaitForSingleObject(impl_->handle, static_cast<DWORD>(std::min<uint64_t>(ms, INFINITE - 1))));
}

struct Thread::Impl {
    HANDLE handle = nullptr;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}
Thread::~Thread() { Join(); }

int Thread::Start(Body body, void* argument) {
    struct Trampoline {
        static unsigned __stdcall Run(void* packed) {
            auto* call = static_cast<std::pair<Body, void*>*>(packed);
            auto [function, data] = *call;
            delete call;
            function(data);
            return 0;
        }
    };
    auto* call = new std::pair<Body, void*>(body, argument);
    const uintptr_t handle = _beginthreadex(nullptr, 0, &Trampoline::Run, call, 0, nullptr);
    if (handle == 0) {
        delete call;
        return errno;
    }
    impl_->handle = reinterpret_cast<HANDLE>(handle);
    return 0;
}

bool Thread::Running() const { return impl_->handle != nullptr; }

void Thread::Join() {
    if (impl_->handle == nullptr) return;
    WaitForSingleObject(impl_->handle, INFINITE);
    CloseHandle(impl_->handle);
    impl_->handle = nullptr;
}

}  // namespace Keyweave::Platform
