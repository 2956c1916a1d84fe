// The dispatcher's slots, frames, scan-code bursts and reset, on a manual clock.
#include "dispatch/dispatcher.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "dispatch/tasks.h"
#include "support/sequence_bench.h"

namespace Keyweave {
namespace {

// Only its address matters to the dispatcher.
class StubAction final : public Action {
public:
    StubAction() : Action(ActionType::kTapAction) {}
    std::string Describe() const override { return "stub"; }
};

std::vector<uint32_t> Range(uint32_t first, uint32_t end) {
    std::vector<uint32_t> slots;
    for (uint32_t slot = first; slot < end; ++slot) slots.push_back(slot);
    return slots;
}

bool IsUp(const KeyweaveTouchPoint& point) { return point.x == 0.0f && point.y == 0.0f && point.down == 0; }

void ExpectContact(const KeyweaveTouchPoint& point, float x, float y, uint32_t down) {
    EXPECT_EQ(point.x, x);
    EXPECT_EQ(point.y, y);
    EXPECT_EQ(point.down, down);
}

class DispatcherTest : public ::testing::Test, protected Testing::SequenceBench {
protected:
    std::unique_ptr<Dispatcher> Make(int32_t width = 1920, int32_t height = 1080) {
        const HostCallbacks callbacks = host.Callbacks();
        return std::make_unique<Dispatcher>(frame.data(), kTouchPointCount, callbacks.key, callbacks.keyContext,
                                            callbacks.touch, callbacks.touchContext, scheduler, width, height, log,
                                            *input);
    }

    // The bytes the host received, in order.
    std::vector<uint8_t> KeyBytes() const {
        std::vector<uint8_t> bytes;
        for (const auto& key : host.Keys()) bytes.push_back(key.byte);
        return bytes;
    }
};

TEST_F(DispatcherTest, TouchesOutsideTheFrameAreRefused) {
    TaskIdList ids;
    dispatcher->AppendTouch(ids, -1, {0.5f, 0.5f}, 0, true);
    dispatcher->AppendTouch(ids, 16, {0.5f, 0.5f}, 0, true);
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
    EXPECT_TRUE(host.HasLog("Cannot post touch for slot -1: the frame has 16 entries"));
    EXPECT_TRUE(host.HasLog("Cannot post touch for slot 16: the frame has 16 entries"));
}

// Reports the frame to the host and notes, at each report, whether a watched
// slot was already back in the pool.
struct PoolProbe {
    static void OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t, uint32_t) {
        auto* probe = static_cast<PoolProbe*>(self);
        if (probe->dispatcher == nullptr) return;  // the report made during construction
        const auto free = probe->dispatcher->FreeSlots();
        const bool slotFree = std::find(free.begin(), free.end(), probe->slot) != free.end();
        probe->reports.push_back({points[probe->slot].down, slotFree});
    }
    struct Report {
        uint32_t down;
        bool slotFree;
    };
    Dispatcher* dispatcher = nullptr;
    uint32_t slot = 0;
    std::vector<Report> reports;
};

TEST_F(DispatcherTest, ALiftAndItsSlotReleaseWithTheSameDelayRunLiftFirst) {
    PoolProbe probe;
    Dispatcher probed(frame.data(), kTouchPointCount, nullptr, nullptr, &PoolProbe::OnTouch, &probe, scheduler, 1920,
                      1080, log, *input);
    probe.dispatcher = &probed;
    const int32_t slot = probed.AcquireSlot();
    ASSERT_EQ(slot, 0);
    probe.slot = static_cast<uint32_t>(slot);

    TaskIdList ids;
    probed.AppendTouch(ids, slot, {0.4f, 0.6f}, 0, true);
    probed.AppendTouch(ids, slot, {0.4f, 0.6f}, 20, false);
    probed.PostSlotRelease(static_cast<uint32_t>(slot), 20);
    scheduler.AdvanceBy(20);

    ASSERT_EQ(probe.reports.size(), 2u);
    EXPECT_EQ(probe.reports[0].down, 1u);
    EXPECT_FALSE(probe.reports[0].slotFree);
    EXPECT_EQ(probe.reports[1].down, 0u);
    EXPECT_FALSE(probe.reports[1].slotFree) << "the lift is reported before the slot is free";
    EXPECT_EQ(probed.AcquireSlot(), 0) << "and then the slot is free";
}

TEST_F(DispatcherTest, ThePoolHandsOutTheLowestFreeSlotFirst) {
    for (int32_t expected = 0; expected < 13; ++expected) EXPECT_EQ(dispatcher->AcquireSlot(), expected);
    dispatcher->ReleaseSlot(7);
    dispatcher->ReleaseSlot(3);
    EXPECT_EQ(dispatcher->AcquireSlot(), 3);
    EXPECT_EQ(dispatcher->AcquireSlot(), 7);

    // The same through release tasks on the scheduler thread.
    dispatcher->PostSlotRelease(7, 10);
    dispatcher->PostSlotRelease(3, 20);
    EXPECT_EQ(dispatcher->AcquireSlot(), Dispatcher::kNoSlot) << "nothing is free before the tasks run";
    scheduler.AdvanceBy(20);
    EXPECT_EQ(dispatcher->FreeSlots(), (std::vector<uint32_t>{3, 7}));
    EXPECT_EQ(dispatcher->AcquireSlot(), 3);
    EXPECT_EQ(dispatcher->AcquireSlot(), 7);
}

TEST_F(DispatcherTest, AnExhaustedPoolNeverHandsOutTheReservedSlots) {
    std::array<StubAction, 14> actions;
    for (int32_t i = 0; i < 13; ++i) EXPECT_EQ(dispatcher->SlotForAction(&actions[i]), i);
    EXPECT_EQ(dispatcher->SlotForAction(&actions[13]), Dispatcher::kNoSlot);
    EXPECT_EQ(dispatcher->AcquireSlot(), Dispatcher::kNoSlot);
    EXPECT_TRUE(dispatcher->FreeSlots().empty());

    // A failed request leaves no binding behind: once a slot is back, the
    // fourteenth action takes it like any other.
    dispatcher->ReleaseSlot(5);
    EXPECT_EQ(dispatcher->SlotForAction(&actions[13]), 5);
    EXPECT_EQ(dispatcher->SlotForAction(&actions[13]), 5);

    dispatcher->LogNoFreeSlot();
    dispatcher->LogNoSlotForAction(&actions[13]);
    char expected[64];
    Format(expected, sizeof expected, "No touch slot for action %p", static_cast<const void*>(&actions[13]));
    EXPECT_EQ(host.Logs(), (std::vector<std::string>{"Cannot allocate touch slot for swipe", expected}));
}

TEST_F(DispatcherTest, OnlyPoolSlotsCanBeReleased) {
    ASSERT_EQ(dispatcher->AcquireSlot(), 0);
    dispatcher->ReleaseSlot(4);  // already free: stays once
    for (uint32_t reserved : {13u, 14u, 15u, 0xFFFFFFFFu}) dispatcher->ReleaseSlot(reserved);
    dispatcher->PostSlotRelease(15, 0);
    scheduler.AdvanceBy(0);
    EXPECT_EQ(dispatcher->FreeSlots(), Range(1, 13));
    EXPECT_TRUE(host.HasLog("Cannot release touch slot 13: it is not a pool slot"));
    EXPECT_TRUE(host.HasLog("Cannot release touch slot 4294967295: it is not a pool slot"));
    EXPECT_EQ(host.Logs().size(), 5u);
}

TEST_F(DispatcherTest, BoundActionsKeepTheirSlotUntilUnbound) {
    StubAction first;
    StubAction second;
    EXPECT_EQ(dispatcher->SlotForAction(&first), 0);
    EXPECT_EQ(dispatcher->SlotForAction(&second), 1);
    EXPECT_EQ(dispatcher->SlotForAction(&first), 0) << "a bound action reuses its slot";
    EXPECT_EQ(dispatcher->FreeSlots(), Range(2, 13)) << "reuse takes nothing from the pool";

    dispatcher->BindSlot(&first, Dispatcher::kNoSlot);
    EXPECT_EQ(dispatcher->SlotForAction(&first), 2) << "unbound: it takes a fresh slot";

    dispatcher->BindSlot(&second, 9);
    EXPECT_EQ(dispatcher->SlotForAction(&second), 9) << "a binding can be overwritten";
}

TEST_F(DispatcherTest, KeyBurstsSendEveryNonZeroByteMostSignificantFirst) {
    struct Case {
        uint32_t word;
        std::vector<uint8_t> press;
        std::vector<uint8_t> release;
    };
    const std::vector<Case> cases = {
        {0xE01D, {0xE0, 0x1D}, {0xE0, 0x9D}},                              // right Ctrl: the prefix stays
        {0x1E, {0x1E}, {0x9E}},                                            // A
        {0xE02AE037, {0xE0, 0x2A, 0xE0, 0x37}, {0xE0, 0x2A, 0xE0, 0xB7}},  // four bytes
        {0x00E0001D, {0xE0, 0x1D}, {0xE0, 0x9D}},                          // zero bytes are skipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.word);
        host.ClearRecords();
        const TaskIdList pressIds = dispatcher->PlayKey(c.word, 40, true);
        EXPECT_EQ(pressIds.size(), c.press.size());
        EXPECT_TRUE(host.Keys().empty()) << "bytes leave when their tasks run";
        scheduler.AdvanceBy(40);
        EXPECT_EQ(KeyBytes(), c.press);
        for (const auto& key : host.Keys()) EXPECT_EQ(key.time, clock.Now());

        host.ClearRecords();
        const TaskIdList releaseIds = dispatcher->PlayKey(c.word, 0, false);
        EXPECT_EQ(releaseIds.size(), c.release.size());
        scheduler.AdvanceBy(0);
        EXPECT_EQ(KeyBytes(), c.release);
    }
    EXPECT_TRUE(dispatcher->PlayKey(0, 0, true).empty());
}

TEST_F(DispatcherTest, ResetFreesThePoolAndLeavesTheReservedContactsAlone) {
    StubAction tap;
    TaskIdList ids;
    ASSERT_EQ(dispatcher->SlotForAction(&tap), 0);
    ASSERT_EQ(dispatcher->AcquireSlot(), 1);
    dispatcher->AppendTouch(ids, 0, {0.1f, 0.2f}, 0, true);
    dispatcher->AppendTouch(ids, 1, {0.3f, 0.4f}, 0, true);
    dispatcher->AppendTouch(ids, Dispatcher::kMouseSlot, {0.6f, 0.7f}, 0, false);
    dispatcher->AppendTouch(ids, Dispatcher::kSpareSlot, {0.8f, 0.9f}, 0, false);
    dispatcher->AppendTouch(ids, Dispatcher::kPadSlot, {0.5f, 0.25f}, 0, true);
    scheduler.AdvanceBy(0);
    dispatcher->WithTapSuppression([&](Dispatcher::TapSuppression& state) {
        state.tapSwipePressTime = 900;
        state.tapSwipeLiftTime = 950;
        state.lastTapSwipe = &tap;
    });
    const size_t framesBefore = host.Frames().size();

    dispatcher->Reset();

    const auto frames = host.Frames();
    ASSERT_EQ(frames.size(), framesBefore + 1) << "reset reports at once, on the calling thread";
    const auto& points = frames.back().points;
    for (size_t slot = 0; slot < 13; ++slot) EXPECT_TRUE(IsUp(points[slot])) << "slot " << slot;
    ExpectContact(points[13], 0.6f, 0.7f, 0);
    ExpectContact(points[14], 0.8f, 0.9f, 0);
    ExpectContact(points[15], 0.5f, 0.25f, 1);  // the pad finger stays down

    EXPECT_EQ(dispatcher->FreeSlots(), Range(0, 13));
    const auto tapState = dispatcher->TapSuppressionSnapshot();
    EXPECT_EQ(tapState.tapSwipePressTime, 0u);
    EXPECT_EQ(tapState.tapSwipeLiftTime, 0u);
    EXPECT_EQ(tapState.lastTapSwipe, nullptr);

    // A record at the address of a replaced one must not inherit a slot that
    // is back in the pool.
    const int32_t slot = dispatcher->SlotForAction(&tap);
    ASSERT_NE(slot, Dispatcher::kNoSlot);
    const auto free = dispatcher->FreeSlots();
    EXPECT_EQ(std::find(free.begin(), free.end(), static_cast<uint32_t>(slot)), free.end());
}

TEST_F(DispatcherTest, ScreenSizeGivesTheAspectRatio) {
    EXPECT_EQ(dispatcher->screenWidth(), 1920.0f);
    EXPECT_EQ(dispatcher->screenHeight(), 1080.0f);
    EXPECT_FLOAT_EQ(dispatcher->aspectRatio(), 1920.0f / 1080.0f);

    const auto unsized = Make(1280, 0);
    EXPECT_EQ(unsized->aspectRatio(), 1.0f);
    EXPECT_TRUE(host.HasLog("Cannot use screen size 1280 x 0: the aspect ratio is taken as 1"));
}

TEST_F(DispatcherTest, AHostWithoutTouchOrKeyCallbacksStillGetsItsFrameWritten) {
    Dispatcher silent(frame.data(), kTouchPointCount, nullptr, nullptr, nullptr, nullptr, scheduler, 1920, 1080, log,
                      *input);
    TaskIdList ids;
    silent.AppendTouch(ids, 4, {0.5f, 0.5f}, 0, true);
    silent.PlayKey(0x1E, 0, true);
    scheduler.AdvanceBy(0);
    EXPECT_EQ(frame[4].down, 1u);
    EXPECT_TRUE(scheduler.NonePending(ids));
}

// Takes and gives back slots as fast as it can.
void Churn(void* dispatcher) {
    auto* pool = static_cast<Dispatcher*>(dispatcher);
    for (int round = 0; round < 2000; ++round) {
        const int32_t slot = pool->AcquireSlot();
        if (slot != Dispatcher::kNoSlot) pool->ReleaseSlot(static_cast<uint32_t>(slot));
    }
}

TEST_F(DispatcherTest, ConcurrentAcquireAndReleaseNeverLoseOrDoubleASlot) {
    Platform::Thread other;
    ASSERT_EQ(other.Start(&Churn, dispatcher.get()), 0);
    Churn(dispatcher.get());
    other.Join();
    EXPECT_EQ(dispatcher->FreeSlots(), Range(0, 13));
}

}  // namespace
}  // namespace Keyweave
