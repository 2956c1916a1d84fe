#include "gestures/wakeup_wait.h"

#include <limits>
#include <memory>

namespace Keyweave {

namespace {

// Posted only to take an id, and cancelled before it could run.
class FenceTask final : public Scheduler::Task {
public:
    void Run() override {}
};

}  // namespace

WakeupWait::WakeupWait(Scheduler& scheduler, const Log& log) : scheduler_(scheduler), log_(log) {
    if (!event_.Valid()) log_.Write("Cannot create event: %s", Platform::LastErrorText().c_str());
}

TaskId WakeupWait::Fence() {
    // Due as late as a delay can say, so that it lands behind everything and
    // does not wake the scheduler thread for nothing.
    const TaskId id = scheduler_.Post(std::make_unique<FenceTask>(), std::numeric_limits<int32_t>::max());
    scheduler_.Cancel(id);
    return id;
}

bool WakeupWait::Settled(TaskId after, TaskId before) const {
    for (TaskId id = after + 1; id != before; ++id) {
        if (!scheduler_.Settled(id)) return false;
    }
    return true;
}

bool WakeupWait::NoneRunning(TaskId after, TaskId before) const {
    for (TaskId id = after + 1; id != before; ++id) {
        // Not settled yet no longer queued: it is running right now.
        if (!scheduler_.Settled(id) && scheduler_.NonePending({id})) return false;
    }
    return true;
}

void WakeupWait::Play(const std::function<void(Platform::Event&)>& play) {
    if (played_) return;
    played_ = true;
    first_ = Fence();
    play(event_);
    last_ = Fence();
}

bool WakeupWait::Wait() {
    if (!played_) return false;
    const TaskId first = first_;
    const TaskId last = last_;
    for (;;) {
        // Checked in this order, so a wake-up that ran just before its
        // sequence was found settled is still seen.
        const bool settled = Settled(first, last);
        Platform::Event::Wait result = event_.WaitFor(0);
        if (result == Platform::Event::Wait::kTimeout && !settled) {
            result = scheduler_.WaitForEvent(event_, kSliceMs);
        }
        switch (result) {
            case Platform::Event::Wait::kSignaled:
                // The wake-up may still be inside its call that set the event;
                // the event must outlive that call.
                scheduler_.Await([&] { return NoneRunning(first, last); });
                return true;
            case Platform::Event::Wait::kFailed:
                log_.Write("Cannot wait for event: %s", Platform::LastErrorText().c_str());
                // The sequence's tasks may still refer to the event: it must
                // outlive them.
                scheduler_.Await([&] { return Settled(first, last); });
                return false;
            case Platform::Event::Wait::kTimeout:
                if (settled) return false;
                break;
        }
    }
}

}  // namespace Keyweave
