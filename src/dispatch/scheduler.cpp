#include "dispatch/scheduler.h"

#include <algorithm>

namespace Keyweave {

Scheduler::Scheduler(const Log& log, const Clock& clock) : log_(log), clock_(clock), manualClock_(nullptr) {
    queue_.reserve(kQueueReserve);
    if (!event_.Valid()) log_.Write("Cannot create scheduler event: %s", Platform::LastErrorText().c_str());
}

Scheduler::Scheduler(const Log& log, ManualClock& clock) : log_(log), clock_(clock), manualClock_(&clock) {
    queue_.reserve(kQueueReserve);
    if (!event_.Valid()) log_.Write("Cannot create scheduler event: %s", Platform::LastErrorText().c_str());
}

Scheduler::~Scheduler() {
    if (thread_.Running()) {
        stopping_.store(true);
        event_.Set();
        thread_.Join();
    }
}

bool Scheduler::Start() {
    log_.Write("%s()", "Keyweave::Scheduler::Start");
    if (Manual()) return true;
    const int error = thread_.Start(&Scheduler::ThreadMain, this);
    if (error != 0) log_.Write("Cannot start scheduler thread: %d", error);
    return true;
}

void Scheduler::ThreadMain(void* self) {
    auto* scheduler = static_cast<Scheduler*>(self);
    scheduler->log_.Write("Starting Keyweave scheduler thread");
    while (!scheduler->stopping_.load()) {
        TaskPtr task = scheduler->WaitNext();
        if (task == nullptr) continue;
        task->Run();
    }
}

Scheduler::TaskPtr Scheduler::WaitNext() {
    // The lock is let go around each wait, so it is taken and released by
    // hand; nothing between may throw.
    lock_.lock();
    running_ = false;  // the task popped last has run and is gone
    for (;;) {
        if (stopping_.load()) {
            lock_.unlock();
            return nullptr;
        }
        // Waits end on the due millisecond's first microsecond: waiting whole
        // milliseconds from a moment inside the current one would run every
        // task up to a millisecond late.
        int64_t waitUs = -1;  // no limit
        if (!queue_.empty()) {
            waitUs = static_cast<int64_t>(queue_.front()->dueTime * 1000 - clock_.NowMicros());
            if (waitUs <= 0) break;
        }
        lock_.unlock();
        const Platform::Event::Wait result =
            waitUs < 0 ? event_.WaitFor(Platform::Event::kInfinite) : event_.WaitForUs(static_cast<uint64_t>(waitUs));
        if (result == Platform::Event::Wait::kFailed) {
            log_.Write("Cannot wait on condition: %s", Platform::LastErrorText().c_str());
        }
        lock_.lock();
    }
    TaskPtr task = std::move(queue_.front());
    queue_.erase(queue_.begin());
    running_ = true;
    runningId_ = task->id;
    lock_.unlock();
    return task;
}

void Scheduler::Wake() {
    if (!event_.Set()) log_.Write("Cannot set scheduler event: %s", Platform::LastErrorText().c_str());
}

TaskId Scheduler::Enqueue(TaskPtr task, int32_t delayMs) {
    bool atHead = false;
    TaskId id = 0;
    {
        Platform::LockGuard guard(lock_);
        id = nextId_++;
        task->id = id;
        task->dueTime = clock_.Now() + static_cast<Millis>(static_cast<int64_t>(delayMs));
        // After every task due at the same time or earlier.
        auto position =
            std::upper_bound(queue_.begin(), queue_.end(), task->dueTime,
                             [](Millis due, const TaskPtr& queued) { return MillisSince(queued->dueTime, due) > 0; });
        atHead = position == queue_.begin();
        queue_.insert(position, std::move(task));
    }
    if (atHead) Wake();
    return id;
}

bool Scheduler::RemoveQueued(TaskId id, bool& wasHead) {
    auto it = std::find_if(queue_.begin(), queue_.end(), [id](const TaskPtr& task) { return task->id == id; });
    if (it == queue_.end()) return false;
    wasHead = it == queue_.begin();
    queue_.erase(it);  // ends the task unrun; task destructors take no locks, a block given back only its own
    return true;
}

bool Scheduler::Cancel(TaskId id) {
    bool found = false;
    bool wasHead = false;
    {
        Platform::LockGuard guard(lock_);
        found = RemoveQueued(id, wasHead);
    }
    if (found && wasHead) Wake();
    return found;
}

uint32_t Scheduler::CancelAll(const TaskIdList& ids) {
    uint32_t removed = 0;
    bool lastWasHead = false;
    {
        Platform::LockGuard guard(lock_);
        for (TaskId id : ids) {
            bool wasHead = false;
            if (RemoveQueued(id, wasHead)) {
                ++removed;
                lastWasHead = wasHead;
            }
        }
    }
    if (lastWasHead) Wake();
    return removed;
}

bool Scheduler::NonePending(const TaskIdList& ids) const {
    Platform::LockGuard guard(lock_);
    for (TaskId id : ids) {
        for (const auto& task : queue_) {
            if (task->id == id) return false;
        }
    }
    return true;
}

bool Scheduler::Settled(TaskId id) const {
    Platform::LockGuard guard(lock_);
    if (running_ && runningId_ == id) return false;
    return std::none_of(queue_.begin(), queue_.end(), [id](const TaskPtr& task) { return task->id == id; });
}

void Scheduler::Clear() {
    // Deleted unrun, after the lock is released; its reserved storage becomes the queue's.
    std::vector<TaskPtr> dropped;
    dropped.reserve(kQueueReserve);
    Platform::LockGuard guard(lock_);
    dropped.swap(queue_);
}

size_t Scheduler::QueuedCount() const {
    Platform::LockGuard guard(lock_);
    return queue_.size();
}

void Scheduler::ForEachQueued(const std::function<void(const Task&)>& visit) const {
    Platform::LockGuard guard(lock_);
    for (const auto& task : queue_) visit(*task);
}

bool Scheduler::NextDueTime(Millis& due) const {
    Platform::LockGuard guard(lock_);
    if (queue_.empty()) return false;
    due = queue_.front()->dueTime;
    return true;
}

void Scheduler::RunPopped(TaskPtr task) {
    task->Run();
    task.reset();
    Platform::LockGuard guard(lock_);
    running_ = false;
}

bool Scheduler::RunOneDue() {
    if (!Manual()) return false;
    TaskPtr task;
    {
        Platform::LockGuard guard(lock_);
        if (queue_.empty() || !IsDue(queue_.front()->dueTime, clock_.Now())) return false;
        task = std::move(queue_.front());
        queue_.erase(queue_.begin());
        running_ = true;
        runningId_ = task->id;
    }
    RunPopped(std::move(task));
    return true;
}

bool Scheduler::Step() {
    if (!Manual()) return false;
    TaskPtr task;
    {
        Platform::LockGuard guard(lock_);
        if (queue_.empty()) return false;
        task = std::move(queue_.front());
        queue_.erase(queue_.begin());
        running_ = true;
        runningId_ = task->id;
        if (!IsDue(task->dueTime, manualClock_->Now())) manualClock_->Set(task->dueTime);
    }
    RunPopped(std::move(task));
    return true;
}

void Scheduler::AdvanceTo(Millis time) {
    if (!Manual()) return;
    Millis due = 0;
    while (NextDueTime(due) && IsDue(due, time)) Step();
    if (!IsDue(time, manualClock_->Now())) manualClock_->Set(time);
}

bool Scheduler::Await(const std::function<bool()>& done) {
    while (!done()) {
        if (!Manual()) {
            Platform::SpinMicroseconds(1);
        } else if (!Step()) {
            return done();
        }
    }
    return true;
}

Platform::Event::Wait Scheduler::WaitForEvent(Platform::Event& event, uint32_t timeoutMs) {
    if (!Manual()) return event.WaitFor(timeoutMs);
    for (;;) {
        const Platform::Event::Wait result = event.WaitFor(0);
        if (result != Platform::Event::Wait::kTimeout) return result;
        if (!Step()) return Platform::Event::Wait::kTimeout;
    }
}

}  // namespace Keyweave
