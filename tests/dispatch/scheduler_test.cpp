// The scheduler's ordering, cancellation and waits, mostly on a manual clock.
#include "dispatch/scheduler.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/system_clock.h"
#include "support/recording_host.h"

namespace Keyweave {
namespace {

using Testing::RecordingHost;

// Appends "label@time" to a shared timeline when it runs.
class MarkTask final : public Scheduler::Task {
public:
    MarkTask(std::vector<std::string>& timeline, const Clock& clock, std::string label)
        : timeline_(timeline), clock_(clock), label_(std::move(label)) {}
    void Run() override { timeline_.push_back(label_ + "@" + std::to_string(clock_.Now())); }

private:
    std::vector<std::string>& timeline_;
    const Clock& clock_;
    std::string label_;
};

// Runs an arbitrary body.
class CallTask final : public Scheduler::Task {
public:
    explicit CallTask(std::function<void()> body) : body_(std::move(body)) {}
    void Run() override { body_(); }

private:
    std::function<void()> body_;
};

class ManualSchedulerTest : public ::testing::Test {
protected:
    ManualSchedulerTest() { host.Attach(log); }

    TaskId Mark(const std::string& label, int32_t delay) {
        return scheduler.Post(std::make_unique<MarkTask>(timeline, clock, label), delay);
    }

    ManualClock clock{1000};
    RecordingHost host{&clock};
    Log log;
    Scheduler scheduler{log, clock};
    std::vector<std::string> timeline;
};

TEST_F(ManualSchedulerTest, RunsByDueTimeAndKeepsPostingOrderForTies) {
    Mark("a", 1000);
    Mark("b", 500);
    Mark("c", 800);
    Mark("d", 100);
    Mark("e", 1200);
    Mark("f", 500);  // same due time as b, posted later
    scheduler.AdvanceBy(2000);
    EXPECT_EQ(timeline, (std::vector<std::string>{"d@1100", "b@1500", "f@1500", "c@1800", "a@2000", "e@2200"}));
    EXPECT_EQ(clock.Now(), 3000u);

    // Nothing runs before it is due.
    Mark("g", 10);
    scheduler.AdvanceBy(9);
    EXPECT_FALSE(scheduler.RunOneDue());
    EXPECT_EQ(timeline.size(), 6u);
    scheduler.AdvanceBy(1);
    EXPECT_EQ(timeline.back(), "g@3010");
}

// Tasks made in the scheduler's reused blocks, and those made on the heap once
// every block is taken, run and cancel alike, round after round.
TEST_F(ManualSchedulerTest, PostNewKeepsEveryTaskWhenTheBlocksRunOut) {
    constexpr int kTasks = static_cast<int>(TaskBlocks::kBlockCount) + 50;
    for (int round = 0; round < 2; ++round) {
        std::vector<int> ran;
        std::vector<TaskId> ids;
        for (int i = 0; i < kTasks; ++i) {
            ids.push_back(scheduler.PostNew<CallTask>(kTasks - i, [&ran, i] { ran.push_back(i); }));
        }
        EXPECT_TRUE(scheduler.Cancel(ids[10]));           // made in a block
        EXPECT_TRUE(scheduler.Cancel(ids[kTasks - 10]));  // made on the heap
        scheduler.AdvanceBy(kTasks);
        std::vector<int> expected;  // the last posted is due first
        for (int i = kTasks - 1; i >= 0; --i) {
            if (i != 10 && i != kTasks - 10) expected.push_back(i);
        }
        EXPECT_EQ(ran, expected);
    }
}

TEST_F(ManualSchedulerTest, ZeroAndNegativeDelaysAreDueAtOnceInOverdueOrder) {
    Mark("later", 5);
    Mark("now", 0);
    Mark("past", -20);
    Mark("less-past", -10);
    while (scheduler.RunOneDue()) {
    }
    EXPECT_EQ(timeline, (std::vector<std::string>{"past@1000", "less-past@1000", "now@1000"}));
    EXPECT_EQ(scheduler.QueuedCount(), 1u);
}

TEST_F(ManualSchedulerTest, CancelRemovesOnlyQueuedTasks) {
    const TaskId first = Mark("first", 10);
    const TaskId second = Mark("second", 20);
    EXPECT_EQ(first, 0u) << "ids count up from zero";
    EXPECT_EQ(second, 1u);
    scheduler.AdvanceBy(10);
    EXPECT_FALSE(scheduler.Cancel(first)) << "already ran";
    EXPECT_TRUE(scheduler.Cancel(second));
    EXPECT_FALSE(scheduler.Cancel(second)) << "already removed";
    scheduler.AdvanceBy(100);
    EXPECT_EQ(timeline, std::vector<std::string>{"first@1010"});
}

TEST_F(ManualSchedulerTest, CancelAllCountsWhatItRemoved) {
    const TaskId a = Mark("a", 10);
    const TaskId b = Mark("b", 20);
    const TaskId c = Mark("c", 30);
    scheduler.AdvanceBy(15);  // a has run
    EXPECT_EQ(scheduler.CancelAll({a, b, c, 9999}), 2u);
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
    EXPECT_EQ(scheduler.CancelAll({}), 0u);
}

TEST_F(ManualSchedulerTest, NonePendingLooksOnlyAtTheQueue) {
    EXPECT_TRUE(scheduler.NonePending({}));
    const TaskId a = Mark("a", 10);
    const TaskId b = Mark("b", 20);
    EXPECT_FALSE(scheduler.NonePending({a, b}));
    scheduler.AdvanceBy(10);
    EXPECT_FALSE(scheduler.NonePending({a, b}));
    EXPECT_TRUE(scheduler.NonePending({a}));
    scheduler.AdvanceBy(10);
    EXPECT_TRUE(scheduler.NonePending({a, b}));
}

TEST_F(ManualSchedulerTest, ClearDropsEverythingUnrun) {
    Mark("a", 0);
    Mark("b", 500);
    scheduler.Clear();
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
    scheduler.AdvanceBy(1000);
    EXPECT_TRUE(timeline.empty());
    Mark("after", 1);  // still usable
    scheduler.AdvanceBy(1);
    EXPECT_EQ(timeline, std::vector<std::string>{"after@2001"});
}

TEST_F(ManualSchedulerTest, ALongRunDelaysLaterTasksWithoutSkippingThem) {
    scheduler.Post(std::make_unique<CallTask>([&] { clock.Advance(100); }), 0);  // a Run of 100 ms
    Mark("due-at-10", 10);
    scheduler.AdvanceBy(10);
    EXPECT_EQ(timeline, std::vector<std::string>{"due-at-10@1100"});
}

TEST_F(ManualSchedulerTest, TasksMayPostAndCancelFromRun) {
    TaskId doomed = 0;
    TaskId self = 0;
    const TaskId done = Mark("done", 1);
    self = scheduler.Post(std::make_unique<CallTask>([&] {
                              // A running task is not settled yet; one that ran already is.
                              EXPECT_FALSE(scheduler.Settled(self));
                              EXPECT_TRUE(scheduler.Settled(done));
                              Mark("child", 5);
                              EXPECT_TRUE(scheduler.Cancel(doomed));
                          }),
                          10);
    doomed = Mark("doomed", 12);
    scheduler.AdvanceBy(100);
    EXPECT_EQ(timeline, (std::vector<std::string>{"done@1001", "child@1015"}));
    EXPECT_TRUE(scheduler.Settled(self));
}

TEST_F(ManualSchedulerTest, AwaitRunsTheQueueUntilTheConditionHolds) {
    const TaskId a = Mark("a", 30);
    Mark("b", 60);
    EXPECT_TRUE(scheduler.Await([&] { return scheduler.NonePending({a}); }));
    EXPECT_EQ(timeline, std::vector<std::string>{"a@1030"});
    EXPECT_EQ(clock.Now(), 1030u);
    // A condition no task can satisfy returns once the queue is empty.
    EXPECT_FALSE(scheduler.Await([] { return false; }));
    EXPECT_EQ(timeline.size(), 2u);
}

TEST_F(ManualSchedulerTest, WaitForEventRunsUntilAWakeUpOrAnEmptyQueue) {
    Platform::Event event;
    Mark("before", 10);
    const TaskId wakeup = scheduler.Post(std::make_unique<CallTask>([&] { event.Set(); }), 40);
    Mark("after", 50);
    EXPECT_FALSE(scheduler.Settled(wakeup));
    EXPECT_EQ(scheduler.WaitForEvent(event, Platform::Event::kInfinite), Platform::Event::Wait::kSignaled);
    EXPECT_TRUE(scheduler.Settled(wakeup));
    EXPECT_EQ(clock.Now(), 1040u);
    EXPECT_EQ(timeline, std::vector<std::string>{"before@1010"});
    // Nothing left will set it: the wait ends instead of hanging.
    EXPECT_EQ(scheduler.WaitForEvent(event, Platform::Event::kInfinite), Platform::Event::Wait::kTimeout);
    EXPECT_EQ(timeline.size(), 2u);
}

// The real thread, on the system clock. Hand-offs wait on events with a
// generous bound; nothing here measures time.
class ThreadedSchedulerTest : public ::testing::Test {
protected:
    ThreadedSchedulerTest() {
        host.Attach(log);
        scheduler.Start();
    }

    static constexpr uint32_t kBound = 10000;  // ms; only reached on failure
    SystemClock clock;
    RecordingHost host;
    Log log;
    Scheduler scheduler{log, clock};
};

TEST_F(ThreadedSchedulerTest, RunsTasksInOrderOnItsOwnThread) {
    // The thread is held inside a first task while the others are posted, all
    // already overdue and 100 ms apart, so their order cannot depend on how
    // the wall clock ticks during the posting.
    Platform::Event holding, release, done;
    scheduler.Post(std::make_unique<CallTask>([&] {
                       holding.Set();
                       release.WaitFor(kBound);
                   }),
                   0);
    ASSERT_EQ(holding.WaitFor(kBound), Platform::Event::Wait::kSignaled);
    std::vector<int> order;
    std::mutex mutex;
    for (int i = 0; i < 5; ++i) {
        scheduler.Post(std::make_unique<CallTask>([&, i] {
                           std::lock_guard guard(mutex);
                           order.push_back(i);
                       }),
                       -100 * (i + 1));  // later posts are more overdue
    }
    scheduler.Post(std::make_unique<CallTask>([&] { done.Set(); }), 0);
    release.Set();
    ASSERT_EQ(done.WaitFor(kBound), Platform::Event::Wait::kSignaled);
    std::lock_guard guard(mutex);
    EXPECT_EQ(order, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_TRUE(host.HasLog("Starting Keyweave scheduler thread"));
}

TEST_F(ThreadedSchedulerTest, ANewHeadWakesTheSleepingThread) {
    scheduler.Post(std::make_unique<CallTask>([] {}), 600000);  // the thread sleeps towards this
    Platform::Event ran;
    scheduler.Post(std::make_unique<CallTask>([&] { ran.Set(); }), 0);
    EXPECT_EQ(ran.WaitFor(kBound), Platform::Event::Wait::kSignaled);
    EXPECT_EQ(scheduler.QueuedCount(), 1u);
}

TEST_F(ThreadedSchedulerTest, AwaitReturnsOnceTheThreadHasRunTheTasks) {
    std::atomic<int> runs{0};
    TaskIdList ids;
    for (int i = 0; i < 3; ++i) ids.push_back(scheduler.Post(std::make_unique<CallTask>([&] { ++runs; }), i));
    EXPECT_TRUE(scheduler.Await([&] { return scheduler.NonePending(ids); }));
    EXPECT_TRUE(scheduler.Await([&] { return scheduler.Settled(ids.back()); }));
    EXPECT_EQ(runs.load(), 3);
}

TEST_F(ThreadedSchedulerTest, ClearWhileSleepingLeavesTheThreadUsable) {
    scheduler.Post(std::make_unique<CallTask>([] { ADD_FAILURE() << "cleared task ran"; }), 500);
    scheduler.Clear();
    Platform::Event ran;
    scheduler.Post(std::make_unique<CallTask>([&] { ran.Set(); }), 1);
    EXPECT_EQ(ran.WaitFor(kBound), Platform::Event::Wait::kSignaled);
}

// A host waits on an event of its own that is gone the moment the wait
// returns, while the scheduler thread's Set may still be under way.
TEST_F(ThreadedSchedulerTest, AnEventMayBeDestroyedAsSoonAsItsWaitReturns) {
    for (int round = 0; round < 200; ++round) {
        auto event = std::make_unique<Platform::Event>();
        scheduler.Post(std::make_unique<CallTask>([signal = event.get()] { signal->Set(); }), 0);
        ASSERT_EQ(event->WaitFor(kBound), Platform::Event::Wait::kSignaled);
        event.reset();
    }
}

}  // namespace
}  // namespace Keyweave
