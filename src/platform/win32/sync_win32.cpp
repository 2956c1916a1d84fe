// Locks, events and threads with Win32 calls.
#include <windows.h>
#include <mmsystem.h>
#include <process.h>

#include <atomic>
#include <cerrno>
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

Event::Wait Event::WaitFor(uint32_t timeoutMs) {
    if (impl_->handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return Wait::kFailed;
    }
    DWORD result = WAIT_FAILED;
    HighResolutionTimer timer;
    if (timeoutMs == kInfinite || timeoutMs == 0) {
        result = WaitForSingleObject(impl_->handle, timeoutMs == kInfinite ? INFINITE : 0);
    } else if (timer.Start(timeoutMs)) {
        const HANDLE handles[2] = {impl_->handle, timer.handle};
        // Both signalled: the lower index, the event, is reported and consumed.
        result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0 + 1) result = WAIT_TIMEOUT;
    } else {
        if (!impl_->periodRaised.exchange(true)) timeBeginPeriod(1);
        result = WaitForSingleObject(impl_->handle, timeoutMs);
    }
    switch (result) {
        case WAIT_OBJECT_0: return Wait::kSignaled;
        case WAIT_TIMEOUT: return Wait::kTimeout;
        default: return Wait::kFailed;
    }
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
