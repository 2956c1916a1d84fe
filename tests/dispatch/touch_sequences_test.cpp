// Timelines of the key-driven touch sequences: what the host sees, when, on
// which slot, played on a manual clock.
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "actions/touch_actions.h"
#include "base/format.h"
#include "dispatch/dispatcher.h"
#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::ChangedContacts;
using Testing::ContactRow;
using Testing::FrameTimes;
using Testing::SameRows;

std::vector<uint32_t> AllPoolSlots() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; }

class TouchSequenceTest : public ::testing::Test, protected Testing::PointerBench {
protected:
    std::string NoSlotLine(const Action& action) const {
        char line[64];
        Format(line, sizeof line, "No touch slot for action %p", static_cast<const void*>(&action));
        return line;
    }
};

// ---- Taps ----
// What taps, two-point taps, swipes, pinches and macros show the host is the
// golden run tests/timelines/touch.play; here are the exact milliseconds.

TEST_F(TouchSequenceTest, AReleasedTapKeepsItsSlotUntilItsDelayedLiftRuns) {
    TapAction tap({0.3f, 0.4f});
    dispatcher->PlayTap(tap, 0, true);
    EXPECT_EQ(dispatcher->PlayTap(tap, 10, false).size(), 1u) << "the slot release's id is not returned";
    scheduler.AdvanceBy(9);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u);
    scheduler.AdvanceBy(1);
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
}

TEST_F(TouchSequenceTest, ATapReleasedWithoutPressLiftsAtItsPointAndFreesTheSlot) {
    TapAction tap({0.25f, 0.75f});
    EXPECT_EQ(dispatcher->PlayTap(tap, 5, false).size(), 1u);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u) << "the release took a slot";
    scheduler.AdvanceBy(5);
    EXPECT_TRUE(SameRows(Rows(), {{5, 0, 0.25f, 0.75f, false}}));
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
    // The binding went with the release: asking again takes slot 0 out of the pool.
    EXPECT_EQ(dispatcher->SlotForAction(&tap), 0);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u);
}

TEST_F(TouchSequenceTest, NoTapSwipeSinceTheResetHoldsNoTapBackEvenEarlyOnTheClock) {
    clock.Set(10);  // a tick count only 10 ms after it started
    TapAction tap({0.5f, 0.5f});
    EXPECT_EQ(dispatcher->PlayTap(tap, 0, true).size(), 1u);
}

TEST_F(TouchSequenceTest, ATapWithoutAFreeSlotNamesItsAction) {
    FillPool();
    TapAction tap({0.5f, 0.5f});
    EXPECT_TRUE(dispatcher->PlayTap(tap, 0, true).empty());
    EXPECT_TRUE(host.HasLog(NoSlotLine(tap)));
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

// Every sequence that takes a pool slot, played with the pool exhausted, is
// the golden run tests/timelines/no_free_slot.play.

// ---- Swipes ----
// A keymap swipe of the default length, six steps 12 ms apart and the lift at
// its full length, is the racer example's rear-view glance (golden run).

TEST_F(TouchSequenceTest, ASwipeTooShortForStepsPlaysAllAtOnceInOrder) {
    SwipeAction swipe({0.5f, 0.5f}, kSwipeDown);
    swipe.duration = 7;  // 7 / 8 = 0 ms per step
    dispatcher->PlaySwipe(swipe, 3);
    scheduler.AdvanceBy(3);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {3, 0, 0.5f, 0.5f, true},
                                     {3, 0, 0.5f, 0.53333f, true},
                                     {3, 0, 0.5f, 0.56667f, true},
                                     {3, 0, 0.5f, 0.60000f, true},
                                     {3, 0, 0.5f, 0.63333f, true},
                                     {3, 0, 0.5f, 0.66667f, true},
                                     {3, 0, 0.5f, 0.70000f, false},
                                 }));
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
}

TEST_F(TouchSequenceTest, ASettlingSwipeRestsOnItsEndPointOneStepBeforeTheLift) {
    SwipeAction swipe({0.5f, 0.5f}, kSwipeLeft);
    swipe.noSettle = 0;
    swipe.stepTime = 20;  // overrides duration / 8
    EXPECT_EQ(dispatcher->PlaySwipe(swipe, 0).size(), 8u);
    scheduler.AdvanceBy(200);
    const std::vector<ContactRow> rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_TRUE(SameRows({rows.end() - 3, rows.end()}, {
                                                           {100, 0, 0.33333f, 0.5f, true},   // fifth step
                                                           {120, 0, 0.30000f, 0.5f, true},   // settles on the end
                                                           {140, 0, 0.30000f, 0.5f, false},  // lifts one step later
                                                       }));
}

TEST_F(TouchSequenceTest, ASwipeWakesItsWaiterOnceTheLiftIsReportedAndTheSlotIsFree) {
    SwipeAction swipe({0.5f, 0.5f}, kSwipeUp);
    Platform::Event done;
    EXPECT_EQ(dispatcher->PlaySwipe(swipe, 0, &done).size(), 7u) << "the wake-up's id is not returned";
    scheduler.AdvanceBy(71);
    EXPECT_EQ(done.WaitFor(0), Platform::Event::Wait::kTimeout);
    EXPECT_EQ(scheduler.WaitForEvent(done, Platform::Event::kInfinite), Platform::Event::Wait::kSignaled);
    EXPECT_EQ(clock.Now(), kStart + 72);
    EXPECT_EQ(host.Frames().back().points[0].down, 0u);
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
}

TEST_F(TouchSequenceTest, ATraceOfOnePointSettlesUnlessTold) {
    SwipeTraceAction trace;
    trace.points = {{0.3f, 0.3f}};
    trace.noSettle = 0;
    EXPECT_EQ(dispatcher->PlaySwipeTrace(trace, 40).size(), 3u);
    scheduler.AdvanceBy(100);
    EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.3f, 0.3f, true}, {60, 0, 0.3f, 0.3f, false}}));
    EXPECT_EQ(FrameTimes(host.Frames(), kStart), (std::vector<int64_t>{0, 50, 60}));  // down, settle, up

    host.ClearRecords();
    trace.noSettle = 1;
    EXPECT_EQ(dispatcher->PlaySwipeTrace(trace, 40).size(), 2u);
    scheduler.AdvanceBy(100);
    EXPECT_EQ(FrameTimes(host.Frames(), kStart), (std::vector<int64_t>{100, 150}));  // down, up at d + 10

    trace.points.clear();
    EXPECT_TRUE(dispatcher->PlaySwipeTrace(trace, 0).empty());
    EXPECT_TRUE(host.HasLog("Cannot play a swipe trace without points"));
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

// ---- Pinches ----

TEST_F(TouchSequenceTest, APinchWithOneFreeSlotPlaysOnlyItsFirstFinger) {
    while (dispatcher->FreeSlots().size() > 1) dispatcher->AcquireSlot();
    PinchAction pinch({0.5f, 0.5f}, true);
    EXPECT_EQ(dispatcher->PlayPinch(pinch, 0, nullptr, false).size(), 7u);
    EXPECT_TRUE(host.HasLog("Cannot allocate touch slot for swipe"));
    scheduler.AdvanceBy(100);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows.front().slot, 12);
    EXPECT_NEAR(rows.front().x, 0.3f, 1e-6f) << "the first finger, left of the centre";
}

// ---- Macros ----

TEST_F(TouchSequenceTest, AMacroGivesItsSlotBackWhenItsLastPauseEnds) {
    TapsMacroAction macro;
    macro.taps = {{{0.1f, 0.2f}, 100}, {{0.3f, 0.4f}, 100}};
    macro.repeat = 2;
    const TaskIdList ids = dispatcher->PlayTapsMacro(macro, 10);
    ASSERT_EQ(ids.size(), 9u) << "eight touches and the slot release";
    scheduler.AdvanceBy(609);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u);
    scheduler.AdvanceBy(1);
    EXPECT_TRUE(scheduler.NonePending({ids.back()}));
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
}

TEST_F(TouchSequenceTest, AMacroRepeatedNoTimesOnlyReleasesItsSlot) {
    TapsMacroAction macro;
    macro.taps = {{{0.1f, 0.2f}, 100}};
    macro.repeat = 0;
    const TaskIdList ids = dispatcher->PlayTapsMacro(macro, 10);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u);
    scheduler.AdvanceBy(10);
    EXPECT_TRUE(scheduler.NonePending(ids));
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
    EXPECT_TRUE(host.Frames().empty());

    macro.repeat = -3;
    EXPECT_EQ(dispatcher->PlayTapsMacro(macro, 0).size(), 1u);
    scheduler.AdvanceBy(0);

    // Without taps it takes no slot, and a huge repeat is cut.
    TapsMacroAction empty;
    empty.repeat = 3;
    EXPECT_TRUE(dispatcher->PlayTapsMacro(empty, 0).empty());
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());

    TapsMacroAction huge;
    huge.taps = {{{0.5f, 0.5f}, 0}};
    huge.repeat = INT_MAX;
    EXPECT_EQ(dispatcher->PlayTapsMacro(huge, 0).size(), 10001u);
    EXPECT_TRUE(host.HasLog("Cannot repeat a taps macro 2147483647 times: it plays 5000 times"));
    scheduler.AdvanceBy(20000);

    // A macro of exactly the limit plays in full, and one longer than the
    // limit but not repeated plays once, both without a word.
    TapsMacroAction full;
    full.taps.assign(2500, {{0.5f, 0.5f}, 0});
    full.repeat = 2;
    const size_t logged = host.Logs().size();
    EXPECT_EQ(dispatcher->PlayTapsMacro(full, 0).size(), 10001u);
    scheduler.AdvanceBy(20000);
    full.taps.assign(6000, {{0.5f, 0.5f}, 0});
    full.repeat = 1;
    EXPECT_EQ(dispatcher->PlayTapsMacro(full, 0).size(), 12001u);
    EXPECT_EQ(host.Logs().size(), logged);
    scheduler.AdvanceBy(20000);

    // A macro too long to play twice still plays once.
    TapsMacroAction wide;
    wide.taps.assign(3000, {{0.5f, 0.5f}, 0});
    wide.repeat = 2;
    EXPECT_EQ(dispatcher->PlayTapsMacro(wide, 0).size(), 6001u);
    EXPECT_TRUE(host.HasLog("Cannot repeat a taps macro 2 times: it plays 1 times"));
}

// ---- Tap cancel and the posting steps ----

// The glide of a held finger to the cancel point is the arena example's
// golden run; with nothing held a cancel posts nothing.
TEST_F(TouchSequenceTest, ACancelWithNothingHeldPostsNothing) {
    TapCancelAction cancel({0.7f, 0.2f});
    Point held{0.0f, 0.0f};
    EXPECT_TRUE(dispatcher->PlayTapCancel(cancel, held, Dispatcher::kNoSlot, 20).empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
    EXPECT_EQ(held, (Point{0.0f, 0.0f}));
}

TEST_F(TouchSequenceTest, PlayTouchFreesTheSlotWithALiftAndPostTouchNever) {
    const int32_t slot = dispatcher->AcquireSlot();
    EXPECT_EQ(dispatcher->PlayTouch({0.5f, 0.5f}, slot, 0, true).size(), 1u);
    dispatcher->PostTouch({0.6f, 0.6f}, slot, 10, false);
    scheduler.AdvanceBy(10);
    EXPECT_EQ(dispatcher->FreeSlots().front(), 1u) << "PostTouch keeps the slot";
    EXPECT_EQ(dispatcher->PlayTouch({0.7f, 0.7f}, slot, 10, false).size(), 2u) << "the lift and the release";
    scheduler.AdvanceBy(10);
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots());
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.5f, 0.5f, true},
                                     {10, 0, 0.6f, 0.6f, false},
                                     {20, 0, 0.7f, 0.7f, false},
                                 }));
    EXPECT_TRUE(dispatcher->PlayTouch({0.5f, 0.5f}, Dispatcher::kNoSlot, 0, false).empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);

    // A touch outside the frame is logged, reports nothing, and its id settles.
    const size_t reports = host.Frames().size();
    const TaskId id = dispatcher->PostTouch({0.5f, 0.5f}, 16, 5, true);
    EXPECT_TRUE(host.HasLog("Cannot touch slot 16: the frame has 16 entries"));
    scheduler.AdvanceBy(5);
    EXPECT_TRUE(scheduler.NonePending({id}));
    EXPECT_EQ(host.Frames().size(), reports);
}

}  // namespace
}  // namespace Keyweave
