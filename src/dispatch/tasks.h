#pragma once
// The four small tasks through which the dispatcher acts on the scheduler
// thread. Each copies what it needs when it is made, so it never reads an
// action record, which may be gone by the time it runs.

#include <cstdint>

#include "dispatch/dispatcher.h"

namespace Keyweave {

// Writes one frame entry under the frame lock, then reports the whole frame to
// the host.
class Dispatcher::TouchTask final : public Scheduler::Task {
public:
    TouchTask(KeyweaveTouchCallback callback, void* context, TouchPoint* points, Platform::Lock& frameLock,
              uint32_t count, int32_t slot, float x, float y, bool down)
        : callback_(callback),
          context_(context),
          points_(points),
          frameLock_(frameLock),
          count_(count),
          slot_(slot),
          x_(x),
          y_(y),
          down_(down) {}
    void Run() override;

private:
    KeyweaveTouchCallback callback_;
    void* context_;
    TouchPoint* points_ KEYWEAVE_PT_GUARDED_BY(frameLock_);
    Platform::Lock& frameLock_;  // the dispatcher's
    uint32_t count_;
    int32_t slot_;
    float x_;
    float y_;
    bool down_;
};

// Sends one scan-code byte to the host.
class Dispatcher::KeyTask final : public Scheduler::Task {
public:
    KeyTask(KeyweaveKeyCallback callback, void* context, uint8_t byte)
        : callback_(callback), context_(context), byte_(byte) {}
    void Run() override;

private:
    KeyweaveKeyCallback callback_;
    void* context_;
    uint8_t byte_;
};

// Gives a slot back to the pool. Posted with the same delay as the slot's
// last lift, after it, so the lift is reported before the slot can be reused.
class Dispatcher::SlotReleaseTask final : public Scheduler::Task {
public:
    SlotReleaseTask(Dispatcher& dispatcher, uint32_t slot) : dispatcher_(dispatcher), slot_(slot) {}
    void Run() override { dispatcher_.ReleaseSlot(slot_); }
    [[nodiscard]] uint32_t slot() const { return slot_; }

private:
    Dispatcher& dispatcher_;
    uint32_t slot_;
};

// Releases a host thread that waits for an emulated gesture to finish.
class Dispatcher::WakeupTask final : public Scheduler::Task {
public:
    WakeupTask(Platform::Event& event, const Log& log) : event_(event), log_(log) {}
    void Run() override;

private:
    Platform::Event& event_;  // the waiting caller's, not owned
    const Log& log_;
};

}  // namespace Keyweave
