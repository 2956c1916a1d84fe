// Emulated swipes and pinches: the blocking calls returning when their
// gesture has been played, or when it never can be. What the knobs, the
// keymap's directives and wheel rules make of them is the golden run
// tests/timelines/emulation.play.
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "platform/system_clock.h"
#include "support/keymap_engine.h"
#include "support/watchdog.h"

namespace Keyweave::Testing {
namespace {

class EmulationTest : public KeymapEngineTest {};

// ---- When the wake-up cannot come ----

TEST_F(EmulationTest, ASwipeWithNoFreeSlotReturnsAtOnce) {
    Load("[keys]\n");
    for (int slot = 0; slot < 13; ++slot) ASSERT_NE(engine().dispatcher().AcquireSlot(), -1);
    engine().EmulateSwipe(0.5f, 0.5f, 1);
    EXPECT_TRUE(Logged("Cannot allocate touch slot for swipe"));
    EXPECT_TRUE(Logged("Cannot wait for the end of KeyweaveEmulateSwipe: its sequence will not report it"));
    EXPECT_EQ(Elapsed(), 0);
    EXPECT_TRUE(Rows().empty());
}

// Runs a body of the test's own on the scheduler.
class RunTask final : public Scheduler::Task {
public:
    explicit RunTask(std::function<void()> body) : body_(std::move(body)) {}
    void Run() override { body_(); }

private:
    std::function<void()> body_;
};

TEST_F(EmulationTest, AReloadThatDropsTheSwipeEndsTheWait) {
    Load("[keys]\n");
    const WideString next = scratch_.Write("next.cfg", "[keys]\n");
    scheduler().Post(std::make_unique<RunTask>([&] { engine().LoadConfig(next.c_str(), next.c_str(), "next"); }), 30);
    engine().EmulateSwipe(0.5f, 0.5f, 1);
    EXPECT_EQ(Elapsed(), 30);
    EXPECT_TRUE(Logged("Cannot wait for the end of KeyweaveEmulateSwipe: its sequence will not report it"));
    EXPECT_TRUE(SameRows({Rows().back()}, {{30, 0, 0.0f, 0.0f, false}})) << "the reload lifted every pool slot";
}

// ---- On the engine's own threads and the system clock ----

struct ThreadedEngine {
    ThreadedEngine() : engine(host.Callbacks(), ManualEngine::DefaultSettings()) { host.ClearRecords(); }
    SystemClock clock;
    RecordingHost host{&clock};
    Engine engine;
};

TEST(ThreadedEmulationTest, ASwipeBlocksUntilTheSchedulerThreadHasLiftedTheFinger) {
    Watchdog watchdog;
    ThreadedEngine threaded;
    ASSERT_FALSE(threaded.engine.scheduler().Manual());
    const Millis start = threaded.clock.Now();
    threaded.engine.EmulateSwipe(0.5f, 0.5f, 1);
    const Millis returned = threaded.clock.Now();

    // Everything was reported before the call returned.
    const std::vector<ContactRow> rows = ChangedContacts(threaded.host.Frames(), start);
    ASSERT_EQ(rows.size(), 8u) << DescribeRows(rows);  // down, five steps, the settle touch, the lift
    const ContactRow& lift = rows.back();
    EXPECT_FALSE(lift.down);
    EXPECT_NEAR(lift.y, 0.3f, 1e-5f);
    EXPECT_GE(lift.time, 84) << "the lift is due 84 ms after the call";
    EXPECT_LE(lift.time, static_cast<int64_t>(returned - start));
    EXPECT_EQ(threaded.engine.dispatcher().FreeSlots().size(), 13u);
}

TEST(ThreadedEmulationTest, AReloadDuringASwipeReleasesTheWaitingThread) {
    Watchdog watchdog;
    ThreadedEngine threaded;
    ScratchDir scratch;
    const WideString keymap = scratch.Write("game.cfg", "[keys]\n");
    threaded.engine.SetEmulatedSwipeKnobs(0.2f, 10000);  // steps 1.25 s apart: the reload comes first
    threaded.host.ClearRecords();

    std::thread player([&] { threaded.engine.EmulateSwipe(0.5f, 0.5f, 1); });
    // The swipe posts ten tasks (eight touches, its slot release, its
    // wake-up). Once the first touch has been reported and the other nine are
    // queued, the whole swipe is in the queue and the reload drops it.
    while (threaded.host.Frames().empty() || threaded.engine.scheduler().QueuedCount() < 9) std::this_thread::yield();
    threaded.engine.LoadConfig(keymap.c_str(), keymap.c_str(), "game");
    player.join();

    EXPECT_TRUE(
        threaded.host.HasLog("Cannot wait for the end of KeyweaveEmulateSwipe: its sequence will not report it"));
    EXPECT_EQ(threaded.engine.scheduler().QueuedCount(), 0u);
}

}  // namespace
}  // namespace Keyweave::Testing
