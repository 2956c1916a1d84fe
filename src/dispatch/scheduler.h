#pragma once
// Timed work, run one task at a time in due-time order.
//
// Any thread may post or cancel tasks (host threads, game-pad threads, and
// tasks running on the scheduler itself). One lock guards the queue and the id
// counter; it is never held while a task runs or while the thread waits.
//
// Two ways to run the queue:
//  - threaded: Start() creates the scheduler thread, which sleeps on an
//    auto-reset event until the head is due and then runs it. A post or cancel
//    that changes the head sets the event, so a new earlier task shortens the
//    sleep. Used in production, on the system clock.
//  - manual: no thread. The owner of the ManualClock moves time with
//    AdvanceTo / AdvanceBy, and every task due on the way runs on the calling
//    thread, in order, with the clock set to its due time. Used by tests and
//    by the simulator; no sleeping anywhere.
// The blocking waits that sequences need (Await, WaitForEvent) work in both
// modes: threaded they block or spin until the scheduler thread has done the
// work; manual they run the queue forward themselves until the condition
// holds or nothing is left to run.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "codes/task_id.h"
#include "dispatch/task_blocks.h"
#include "platform/platform.h"

namespace Keyweave {

class Scheduler {
public:
    // One unit of timed work. Run() must not block on the scheduler itself.
    class Task {
    public:
        virtual ~Task() = default;
        virtual void Run() = 0;

        TaskId id = 0;       // written by Post
        Millis dueTime = 0;  // written by Post
    };

    // Ends a task the scheduler is done with (run or dropped): one made in a
    // block of the scheduler's own goes back to it, any other is deleted.
    struct TaskDisposer {
        TaskBlocks* blocks = nullptr;
        void* block = nullptr;
        void operator()(Task* task) const {
            if (blocks == nullptr) {
                delete task;
                return;
            }
            task->~Task();
            blocks->Give(block);
        }
    };
    using TaskPtr = std::unique_ptr<Task, TaskDisposer>;

    // Threaded mode on `clock`; call Start() to run the thread.
    Scheduler(const Log& log, const Clock& clock);
    // Manual mode: time moves only through this scheduler's stepping calls
    // (or the clock's owner).
    Scheduler(const Log& log, ManualClock& clock);
    // Stops and joins the thread, if any, and deletes queued tasks unrun.
    ~Scheduler();

    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    [[nodiscard]] bool Manual() const { return manualClock_ != nullptr; }
    [[nodiscard]] Millis Now() const { return clock_.Now(); }

    // Logs "Keyweave::Scheduler::Start()"; in threaded mode starts the thread.
    // Returns true in every case.
    bool Start();

    // Queues `task` due `delayMs` from now (negative: in the past). Tasks due
    // at the same time run in posting order.
    TaskId Post(std::unique_ptr<Task> task, int32_t delayMs) { return Enqueue(TaskPtr(task.release()), delayMs); }
    // Makes a T from `args` and posts it like Post. Small tasks are made in
    // the scheduler's own blocks, which the scheduler reuses: posting them
    // allocates nothing while blocks are free.
    template <typename T, typename... Args>
    TaskId PostNew(int32_t delayMs, Args&&... args) {
        static_assert(sizeof(T) <= TaskBlocks::kBlockBytes && alignof(T) <= TaskBlocks::kAlignment);
        void* block = blocks_.Take();
        if (block == nullptr) return Post(std::make_unique<T>(std::forward<Args>(args)...), delayMs);
        return Enqueue(TaskPtr(new (block) T(std::forward<Args>(args)...), TaskDisposer{&blocks_, block}), delayMs);
    }
    // Removes the queued task `id` without running it.
    bool Cancel(TaskId id);
    // Removes each listed task still queued; returns how many were removed.
    uint32_t CancelAll(const TaskIdList& ids);
    // True when none of `ids` is still queued (an empty list gives true).
    [[nodiscard]] bool NonePending(const TaskIdList& ids) const;
    // True when `id` is neither queued nor running right now.
    [[nodiscard]] bool Settled(TaskId id) const;
    // Drops every queued task without running it.
    void Clear();
    [[nodiscard]] size_t QueuedCount() const;
    // Calls `visit(const Task&)` for every queued task, in queue order, with
    // the queue lock held (invariant checks); `visit` must not call back into
    // the scheduler.
    void ForEachQueued(const std::function<void(const Task&)>& visit) const;
    // Due time of the head of the queue, or false when the queue is empty.
    [[nodiscard]] bool NextDueTime(Millis& due) const;

    // Manual mode only (false / no-op when threaded):
    // runs the head task if it is due now.
    bool RunOneDue();
    // Moves the clock to the head's due time (if later) and runs it; false
    // when the queue is empty.
    bool Step();
    // Runs every task due up to `time`, each at its own due time, then leaves
    // the clock at `time` (never moves it back).
    void AdvanceTo(Millis time);
    void AdvanceBy(Millis delta) { AdvanceTo(Now() + delta); }

    // Waits until `done()` holds. Threaded: spins in 1-microsecond slices while
    // the scheduler thread works. Manual: runs the queue forward one task at a
    // time; returns done() once nothing is left to run.
    bool Await(const std::function<bool()>& done);
    // Waits for `event` up to `timeoutMs` (Platform::Event::kInfinite: no
    // limit). Manual: runs the queue forward until the event is set, and
    // returns kTimeout when the queue empties first, since no task can set it.
    [[nodiscard]] Platform::Event::Wait WaitForEvent(Platform::Event& event, uint32_t timeoutMs);

private:
    // Queue capacity reserved up front, so that posting does not allocate.
    static constexpr size_t kQueueReserve = TaskBlocks::kBlockCount;

    TaskId Enqueue(TaskPtr task, int32_t delayMs);
    static void ThreadMain(void* self);
    // Notes that the task popped last has finished, then pops the next due
    // task, sleeping on the event until one is due. Null when the scheduler
    // is stopping.
    [[nodiscard]] TaskPtr WaitNext();
    void Wake();  // sets the event, logging a failure
    // Pops the head under the lock and runs it outside, noting which task runs.
    void RunPopped(TaskPtr task);
    [[nodiscard]] bool RemoveQueued(TaskId id, bool& wasHead) KEYWEAVE_REQUIRES(lock_);

    const Log& log_;
    const Clock& clock_;
    ManualClock* const manualClock_;  // non-null in manual mode

    TaskBlocks blocks_;  // declared before the queue, which gives blocks back when it goes
    mutable Platform::Lock lock_;
    std::vector<TaskPtr> queue_ KEYWEAVE_GUARDED_BY(lock_);  // sorted by dueTime
    TaskId nextId_ KEYWEAVE_GUARDED_BY(lock_) = 0;
    bool running_ KEYWEAVE_GUARDED_BY(lock_) = false;  // a popped task is running
    TaskId runningId_ KEYWEAVE_GUARDED_BY(lock_) = 0;

    Platform::Event event_;  // auto-reset; wakes the thread when the head changes
    Platform::Thread thread_;
    std::atomic<bool> stopping_{false};
};

}  // namespace Keyweave
