// Emulated swipes and pinches: the knobs, the keymap's wheel rules, the
// timelines the host receives, and the blocking calls returning when their
// gesture has been played, or when it never can be.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "platform/system_clock.h"
#include "support/keymap_engine.h"
#include "support/watchdog.h"

namespace Keyweave::Testing {
namespace {

class EmulationTest : public KeymapEngineTest {};

// An upward swipe from the centre with the default knobs (length 0.2 over
// 100 ms): six steps 12 ms apart, a settle touch, the lift.
const std::vector<ContactRow> kDefaultSwipeUp = {
    {0, 0, 0.5f, 0.5f, true},        // down at the start
    {12, 0, 0.5f, 0.466667f, true},  // five steps of 0.2 / 6
    {24, 0, 0.5f, 0.433333f, true},
    {36, 0, 0.5f, 0.4f, true},
    {48, 0, 0.5f, 0.366667f, true},
    {60, 0, 0.5f, 0.333333f, true},
    {72, 0, 0.5f, 0.3f, true},   // the end point, where the finger settles
    {84, 0, 0.5f, 0.3f, false},  // lift
};

// ---- Swipes without wheel rules ----

TEST_F(EmulationTest, TheKeymapsSwipePinchDirectiveSetsTheKnobs) {
    Load("# SWIPE_PINCH(0.3,40,0.2,0.1,0.1,50)\n[keys]\n");
    engine().EmulateSwipe(0.5f, 0.5f, 4);  // right: steps of 0.05, 5 ms apart
    const std::vector<ContactRow> rows = Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(SameRows({rows.back()}, {{35, 0, 0.8f, 0.5f, false}}));
    EXPECT_EQ(Elapsed(), 35);
}

TEST_F(EmulationTest, DynamicZoomStepsEveryThirtyMilliseconds) {
    Load("# ENABLE_DYNAMIC_ZOOM\n[keys]\n");
    engine().EmulateSwipe(0.5f, 0.5f, 2);
    EXPECT_EQ(Elapsed(), 210);  // seven steps of 30 ms: six moves and the settle touch
    EXPECT_TRUE(SameRows({Rows().back()}, {{210, 0, 0.5f, 0.7f, false}}));
}

TEST_F(EmulationTest, ASwipeBetweenTwoPointsIgnoresTheLengthKnob) {
    Load("[keys]\n");
    engine().SetEmulatedSwipeKnobs(0.9f, 80);
    EXPECT_TRUE(Logged("Emulated swipe knobs: length=0.900000, duration=80"));
    engine().EmulateSwipeXY(0.2f, 0.5f, 0.8f, 0.5f);
    EXPECT_TRUE(Logged("KeyweaveEmulateSwipeXY(0.200000, 0.500000, 0.800000, 0.500000)"));
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.2f, 0.5f, true},
                                     {10, 0, 0.3f, 0.5f, true},
                                     {20, 0, 0.4f, 0.5f, true},
                                     {30, 0, 0.5f, 0.5f, true},
                                     {40, 0, 0.6f, 0.5f, true},
                                     {50, 0, 0.7f, 0.5f, true},
                                     {60, 0, 0.8f, 0.5f, true},
                                     {70, 0, 0.8f, 0.5f, false},
                                 }))
        << DescribeRows(Rows());
    EXPECT_EQ(Elapsed(), 70);
}

// ---- Knobs of duration 0 ----

TEST_F(EmulationTest, KnobsOfDurationZeroSwitchTheGesturesOff) {
    Load("[keys]\n");
    engine().SetEmulatedSwipeKnobs(0.3f, 0);
    engine().SetEmulatedPinchKnobs(0.2f, 0.1f, 0.1f, 0);
    EXPECT_TRUE(Logged("Emulated pinch knobs: split=0.200000, lengthIn=0.100000, lengthOut=0.100000, duration=0"));
    host().ClearRecords();

    engine().EmulateSwipe(0.5f, 0.5f, 1);
    engine().EmulateSwipeXY(0.1f, 0.1f, 0.9f, 0.9f);
    engine().EmulatePinch(0.5f, 0.5f, 0);
    RunAll();
    EXPECT_EQ(host().Logs(), (std::vector<std::string>{
                                 "KeyweaveEmulateSwipe(0.500000, 0.500000, 1)",
                                 "Emulated swipe knobs not set",
                                 "KeyweaveEmulateSwipeXY(0.100000, 0.100000, 0.900000, 0.900000)",
                                 "Emulated swipe knobs not set",
                                 "KeyweaveEmulatePinch(0.500000, 0.500000, 0)",
                                 "Emulated pinch knobs not set",
                             }));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Elapsed(), 0);
}

// Knobs set by hand, and a swipe that returns once its lift is reported, are
// the racer keymap's gesture golden run.
TEST_F(EmulationTest, AKeymapLoadRestoresTheDefaultKnobs) {
    Load("[keys]\n");
    engine().SetEmulatedSwipeKnobs(0.3f, 0);
    Load("[keys]\n");
    engine().EmulateSwipe(0.5f, 0.5f, 1);
    EXPECT_TRUE(SameRows(Rows(), kDefaultSwipeUp)) << DescribeRows(Rows());
    EXPECT_EQ(Elapsed(), 84);
    EXPECT_EQ(engine().dispatcher().FreeSlots().size(), 13u);
}

// ---- Wheel rules ----

TEST_F(EmulationTest, WheelRulesTakeTheSwipeOverWithoutWaiting) {
    Load("[keys]\nMouseWheelUp = Tap (50,80)\n");
    engine().EmulateSwipe(0.5f, 0.5f, 2);
    EXPECT_EQ(Elapsed(), 0) << "the rule's release is due later; the call does not wait for it";
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.8f, true}, {50, 0, 0.5f, 0.8f, false}}));
    EXPECT_EQ(engine().heldKeys().Size(), 0u);
}

TEST_F(EmulationTest, WithWheelRulesOtherDirectionsPlayNothing) {
    Load("[keys]\nMouseWheelUp = Tap (50,80)\n");
    engine().EmulateSwipe(0.5f, 0.5f, 3);  // left: no wheel
    engine().EmulateSwipe(0.5f, 0.5f, 1);  // up: MouseWheelDown, which has no rule and is never forwarded
    RunAll();
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(Bytes().empty());
}

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
    ASSERT_EQ(rows.size(), kDefaultSwipeUp.size()) << DescribeRows(rows);
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
    threaded.engine.SetEmulatedSwipeKnobs(0.2f, 80000);  // steps 10 s apart: the reload comes first
    threaded.host.ClearRecords();

    std::thread player([&] { threaded.engine.EmulateSwipe(0.5f, 0.5f, 1); });
    // The swipe posts ten tasks (eight touches, its slot release, its
    // wake-up). Once the first touch has been reported and the other nine are
    // queued, the whole swipe is in the queue and the reload drops it.
    while (threaded.host.Frames().empty() || threaded.engine.scheduler().QueuedCount() < 9) std::this_thread::yield();
    threaded.engine.LoadConfig(keymap.c_str(), keymap.c_str(), "game");
    player.join();

    EXPECT_TRUE(threaded.host.HasLog("Cannot wait for the end of KeyweaveEmulateSwipe: its sequence will not report it"));
    EXPECT_EQ(threaded.engine.scheduler().QueuedCount(), 0u);
}

}  // namespace
}  // namespace Keyweave::Testing
