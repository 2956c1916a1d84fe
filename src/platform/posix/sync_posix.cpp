// Locks, events and threads on POSIX threads.
#include <pthread.h>

#include <cerrno>
#include <ctime>
#include <utility>

#include "platform/platform.h"

namespace Keyweave::Platform {

struct Lock::Impl {
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
};
Lock::Lock() : impl_(std::make_unique<Impl>()) {}
Lock::~Lock() { pthread_mutex_destroy(&impl_->mutex); }
void Lock::lock() { pthread_mutex_lock(&impl_->mutex); }
void Lock::unlock() { pthread_mutex_unlock(&impl_->mutex); }

struct RecursiveLock::Impl {
    pthread_mutex_t mutex;
    Impl() {
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
        pthread_mutex_init(&mutex, &attributes);
        pthread_mutexattr_destroy(&attributes);
    }
    ~Impl() { pthread_mutex_destroy(&mutex); }
};
RecursiveLock::RecursiveLock() : impl_(std::make_unique<Impl>()) {}
RecursiveLock::~RecursiveLock() = default;
void RecursiveLock::lock() { pthread_mutex_lock(&impl_->mutex); }
void RecursiveLock::unlock() { pthread_mutex_unlock(&impl_->mutex); }

// An auto-reset event: a flag under a mutex, with a condition variable on the
// monotonic clock for the timed waits.
struct Event::Impl {
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t condition;
    bool signaled = false;  // guarded by mutex
    Impl() {
        pthread_condattr_t attributes;
        pthread_condattr_init(&attributes);
        pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
        pthread_cond_init(&condition, &attributes);
        pthread_condattr_destroy(&attributes);
    }
    ~Impl() {
        pthread_cond_destroy(&condition);
        pthread_mutex_destroy(&mutex);
    }
    // Waits for the flag until `deadline` (null: no limit) and clears it.
    Wait WaitUntil(const timespec* deadline);
};

Event::Event() : impl_(std::make_unique<Impl>()) {}
Event::~Event() = default;
bool Event::Valid() const { return impl_ != nullptr; }

bool Event::Set() {
    // Signalled under the mutex: a waiter woken by the flag may return and
    // destroy the event (a gesture's event lives on the waiting host's
    // stack) as soon as the mutex is free, so nothing may touch it after.
    pthread_mutex_lock(&impl_->mutex);
    impl_->signaled = true;
    pthread_cond_signal(&impl_->condition);
    pthread_mutex_unlock(&impl_->mutex);
    return true;
}

Event::Wait Event::WaitFor(uint32_t timeoutMs) {
    return timeoutMs == kInfinite ? impl_->WaitUntil(nullptr) : WaitForUs(uint64_t{timeoutMs} * 1000u);
}

Event::Wait Event::WaitForUs(uint64_t timeoutUs) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(timeoutUs / 1000000u);
    deadline.tv_nsec += static_cast<long>(timeoutUs % 1000000u) * 1000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return impl_->WaitUntil(&deadline);
}

Event::Wait Event::Impl::WaitUntil(const timespec* deadline) {
    pthread_mutex_lock(&mutex);
    int error = 0;
    while (!signaled && error == 0) {
        error = deadline == nullptr ? pthread_cond_wait(&condition, &mutex)
                                    : pthread_cond_timedwait(&condition, &mutex, deadline);
    }
    const bool wasSignaled = signaled;
    signaled = false;
    pthread_mutex_unlock(&mutex);
    if (wasSignaled) return Wait::kSignaled;
    if (error == ETIMEDOUT) return Wait::kTimeout;
    errno = error;
    return Wait::kFailed;
}

struct Thread::Impl {
    pthread_t handle{};
    bool running = false;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}
Thread::~Thread() { Join(); }

int Thread::Start(Body body, void* argument) {
    struct Trampoline {
        static void* Run(void* packed) {
            auto* call = static_cast<std::pair<Body, void*>*>(packed);
            auto [function, data] = *call;
            delete call;
            function(data);
            return nullptr;
        }
    };
    auto* call = new std::pair<Body, void*>(body, argument);
    const int error = pthread_create(&impl_->handle, nullptr, &Trampoline::Run, call);
    if (error != 0) {
        delete call;
        return error;
    }
    impl_->running = true;
    return 0;
}

bool Thread::Running() const { return impl_->running; }

void Thread::Join() {
    if (!impl_->running) return;
    pthread_join(impl_->handle, nullptr);
    impl_->running = false;
}

}  // namespace Keyweave::Platform
