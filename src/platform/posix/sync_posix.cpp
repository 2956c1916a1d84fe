// Locks, events and threads from the C++ standard library (POSIX threads
// underneath).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/platform.h"

namespace Keyweave::Platform {

struct Lock::Impl {
    std::mutex mutex;
};
Lock::Lock() : impl_(std::make_unique<Impl>()) {}
Lock::~Lock() = default;
void Lock::lock() { impl_->mutex.lock(); }
void Lock::unlock() { impl_->mutex.unlock(); }

struct RecursiveLock::Impl {
    std::recursive_mutex mutex;
};
RecursiveLock::RecursiveLock() : impl_(std::make_unique<Impl>()) {}
RecursiveLock::~RecursiveLock() = default;
void RecursiveLock::lock() { impl_->mutex.lock(); }
void RecursiveLock::unlock() { impl_->mutex.unlock(); }

// An auto-reset event: a flag under a mutex, with a condition variable whose
// timed waits run on the steady (monotonic) clock.
struct Event::Impl {
    std::mutex mutex;
    std::condition_variable condition;
    bool signaled = false;        // guarded by mutex
    std::atomic<int> setting{0};  // Set calls that may still notify
};

Event::Event() : impl_(std::make_unique<Impl>()) {}

Event::~Event() {
    // A waiter that saw the flag may destroy the event (a gesture's event
    // lives on the waiting host's stack) while its Set still notifies.
    while (impl_->setting.load(std::memory_order_acquire) != 0) std::this_thread::yield();
}

bool Event::Valid() const { return impl_ != nullptr; }

bool Event::Set() {
    // The waiter is woken once the mutex is free, so that it does not wake
    // only to block on the mutex the setter still holds.
    impl_->setting.fetch_add(1, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> guard(impl_->mutex);
        impl_->signaled = true;
    }
    impl_->condition.notify_one();
    impl_->setting.fetch_sub(1, std::memory_order_release);
    return true;
}

Event::Wait Event::WaitFor(uint32_t timeoutMs) {
    if (timeoutMs != kInfinite) return WaitForUs(uint64_t{timeoutMs} * 1000u);
    std::unique_lock<std::mutex> hold(impl_->mutex);
    impl_->condition.wait(hold, [this] { return impl_->signaled; });
    impl_->signaled = false;
    return Wait::kSignaled;
}

Event::Wait Event::WaitForUs(uint64_t timeoutUs) {
    // A hundred years at most: a longer wait would overflow the clock's nanoseconds.
    constexpr uint64_t kLongestUs = 100ull * 366 * 24 * 3600 * 1000000;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::microseconds(static_cast<int64_t>(std::min(timeoutUs, kLongestUs)));
    std::unique_lock<std::mutex> hold(impl_->mutex);
    const bool signaled = impl_->condition.wait_until(hold, deadline, [this] { return impl_->signaled; });
    impl_->signaled = false;
    return signaled ? Wait::kSignaled : Wait::kTimeout;
}

struct Thread::Impl {
    std::thread thread;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}
Thread::~Thread() { Join(); }

int Thread::Start(Body body, void* argument) {
    try {
        impl_->thread = std::thread(body, argument);
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    return 0;
}

bool Thread::Running() const { return impl_->thread.joinable(); }

void Thread::Join() {
    if (impl_->thread.joinable()) impl_->thread.join();
}

}  // namespace Keyweave::Platform
