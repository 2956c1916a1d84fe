#pragma once
// Blocks a host thread until a sequence it started has been played to its
// end: the sequence posts a wake-up task behind its last touch, and the wake-up
// sets this call's event.
//
// The wake-up does not always come: a sequence that found no free touch slot
// posts none, and a keymap load drops every queued task, wake-ups included.
// So the wait does not trust the event alone. It waits in slices of 50 ms and
// gives up once no task that the sequence posted can still run: then nothing
// can set the event any more. The sequence does not hand out the wake-up's id,
// but ids grow with every post, so every task the sequence posted has an id
// between two fences taken just before and just after it (a fence is an empty
// task posted and cancelled at once, only for its id). When each id between
// the fences is settled (neither queued nor running), the event is no longer
// referenced by any task and the call may return and close it. (After the
// event is set, the call still lets the wake-up task finish: it may be inside
// the very call that set the event.) Tasks that
// other threads posted in the same instant fall between the fences too; the
// wait may then last until they have run as well.
//
// On a manual clock each slice runs the queue forward instead of sleeping, so
// a test never hangs: the wait ends when the event is set or the queue is
// empty.

#include <cstdint>
#include <functional>

#include "base/log.h"
#include "dispatch/scheduler.h"
#include "platform/platform.h"

namespace Keyweave {

class WakeupWait {
public:
    static constexpr uint32_t kSliceMs = 50;

    // Creates the event; a failure is logged ("Cannot create event: %s") and
    // the wait then fails at once.
    WakeupWait(Scheduler& scheduler, const Log& log);

    WakeupWait(const WakeupWait&) = delete;
    WakeupWait& operator=(const WakeupWait&) = delete;

    // Calls `play` with the event (it posts the sequence and its wake-up).
    // Once per wait; the caller may hold a lock around it that must not be
    // held while waiting.
    void Play(const std::function<void(Platform::Event&)>& play);
    // Waits for the wake-up of what Play posted. True when it came; false
    // when it cannot come any more (also when nothing was played), or the
    // wait failed ("Cannot wait for event: %s").
    [[nodiscard]] bool Wait();

private:
    TaskId Fence();
    // Every task with an id strictly between the two fences: settled; or at
    // least none of them running.
    [[nodiscard]] bool Settled(TaskId after, TaskId before) const;
    [[nodiscard]] bool NoneRunning(TaskId after, TaskId before) const;

    Scheduler& scheduler_;
    const Log& log_;
    Platform::Event event_;  // auto-reset; set by the sequence's wake-up task
    bool played_ = false;
    TaskId first_ = 0;  // the fences around what Play posted
    TaskId last_ = 0;
};

}  // namespace Keyweave
