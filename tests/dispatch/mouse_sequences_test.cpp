// The engine's mouse finger, the mouse-held rectangle, the right-button swipe
// and touch-move, as timelines on a manual clock. Times are ms after the start.
#include <gtest/gtest.h>

#include <memory>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;
using Testing::RowsOfSlot;
using Testing::SameRows;

class MouseSequencesTest : public ::testing::Test, protected PointerBench {};

TEST_F(MouseSequencesTest, MouseTouchFollowsThePointerOnTheMouseSlotWithTheRecordsDelay) {
    MouseAction mouse;
    mouse.leftDown = 1;
    Mouse(0.2f, 0.3f);
    EXPECT_EQ(d().PlayMouseTouch(mouse).size(), 1u);
    mouse.delay = 15;
    Mouse(0.25f, 0.35f);
    d().PlayMouseTouch(mouse);
    mouse.leftDown = 0;
    mouse.delay = 0;
    RunTo(20);
    d().PlayMouseTouch(mouse);
    RunTo(40);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 13, 0.2f, 0.3f, true},     // pressed
                                     {15, 13, 0.25f, 0.35f, true},  // dragged, 15 ms late
                                     {20, 13, 0.25f, 0.35f, false},  // released where it is
                                 }));
    EXPECT_EQ(d().FreeSlots().size(), 13u) << "the mouse slot is not a pool slot";
}

TEST_F(MouseSequencesTest, MouseHoldLetsGoOutsideItsRectangleAndComesBackOnTheLowestFreeSlot) {
    MouseHoldAction hold({0.2f, 0.2f}, {0.6f, 0.6f});
    Mouse(0.2f, 0.6f);  // on the border counts as inside
    EXPECT_EQ(d().PlayMouseHold(hold, 0).size(), 1u);
    EXPECT_EQ(hold.slot, 0);
    const int32_t other = d().AcquireSlot();  // someone else holds slot 1
    RunTo(10);
    Mouse(0.7f, 0.5f);
    EXPECT_TRUE(d().PlayMouseHold(hold, 0).empty()) << "the caller lifts the mouse slot instead";
    EXPECT_EQ(hold.slot, -1);
    RunTo(20);
    EXPECT_TRUE(SlotIsFree(0));
    Mouse(0.4f, 0.4f);
    d().PlayMouseHold(hold, 5);
    EXPECT_EQ(hold.slot, 0) << "the lowest free slot, not the next one";
    RunTo(30);
    EXPECT_EQ(other, 1);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.2f, 0.6f, true},
                                     {10, 0, 0.7f, 0.5f, false},  // lifted at the pointer
                                     {25, 0, 0.4f, 0.4f, true},
                                 }));
}

// Radius 45: the swipe always ends on the circle, 0.45 from the centre
// towards the pointer. A pointer 0.002 right of the screen centre is 20 units away.
class MouseSwipeTest : public MouseSequencesTest {
protected:
    MouseSwipeAction swipe{45, {0.5f, 0.5f}};
};

TEST_F(MouseSwipeTest, AQuickClickLiftsFourMillisecondsPerUnitOfDistanceLater) {
    Mouse(0.502f, 0.5f);
    EXPECT_EQ(d().PlayMouseSwipe(swipe, 0, kRightButtonDown).size(), 2u);
    RunTo(100);
    const TaskIdList ids = d().PlayMouseSwipe(swipe, 0, kRightButtonUp);
    EXPECT_EQ(ids.size(), 3u) << "the press's touches, then the lift";
    RunTo(300);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {30, 0, 0.5f, 0.5f, true},    // down at the centre
                                     {80, 0, 0.95f, 0.5f, true},   // out to the circle
                                     {180, 0, 0.95f, 0.5f, false},  // 80 ms after the release
                                 }));
    EXPECT_FALSE(SlotIsFree(0)) << "a mouse swipe keeps its slot";
    EXPECT_EQ(swipe.lastMessage, static_cast<uint32_t>(kRightButtonUp));
}

TEST_F(MouseSwipeTest, PressedAgainWhileItPlaysItGoesOnFromWhereItIs) {
    Mouse(0.502f, 0.5f);
    d().PlayMouseSwipe(swipe, 0, kRightButtonDown);
    RunTo(10);
    d().PlayMouseSwipe(swipe, 0, kRightButtonUp);  // lift due at 90
    RunTo(50);
    Mouse(0.498f, 0.5f);
    d().PlayMouseSwipe(swipe, 0, kRightButtonDown);
    RunTo(300);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {30, 0, 0.5f, 0.5f, true},
                                     {50, 0, 0.95f, 0.5f, true},   // from the last point, no delay
                                     {100, 0, 0.05f, 0.5f, true},  // towards the new pointer; no lift
                                 }));
}

TEST_F(MouseSwipeTest, ATapSwipeKeyLetsAReleasedSwipeGoAtOnce) {
    Mouse(0.502f, 0.5f);
    EXPECT_TRUE(d().PlayMouseSwipe(swipe, 0, kTapSwipeKeyPressed).empty()) << "never pressed: nothing";
    d().PlayMouseSwipe(swipe, 0, kRightButtonDown);
    RunTo(100);
    d().PlayMouseSwipe(swipe, 0, kRightButtonUp);  // lift due at 180
    RunTo(120);
    EXPECT_EQ(d().PlayMouseSwipe(swipe, 0, kTapSwipeKeyPressed).size(), 1u);
    RunTo(300);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {30, 0, 0.5f, 0.5f, true},
                                     {80, 0, 0.95f, 0.5f, true},
                                     {120, 0, 0.95f, 0.5f, false},
                                 }));
    EXPECT_EQ(Testing::FrameTimes(host.Frames(), kStart).back(), 120) << "the pending lift is gone";
}

// Records every re-centring of the pointer; the rest is the recorded state.
class CountingInput final : public Platform::InputState {
public:
    bool IsKeyDown(uint32_t keyCode) const override { return recorded_->IsKeyDown(keyCode); }
    bool IsLeftButtonDown() const override { return recorded_->IsLeftButtonDown(); }
    void NoteKey(uint32_t keyCode, bool down) override { recorded_->NoteKey(keyCode, down); }
    void NoteLeftButton(bool down) override { recorded_->NoteLeftButton(down); }
    void RecenterCursor() override { ++recentres; }
    int recentres = 0;

private:
    std::unique_ptr<Platform::InputState> recorded_ = Platform::CreateRecordedInputState();
};

TEST_F(MouseSequencesTest, TouchMoveRecentresThePointerAndOffsetsItsFingerByTheMouse) {
    CountingInput counting;
    Dispatcher moving(frame.data(), kTouchPointCount, nullptr, nullptr, host.Callbacks().touch, &host, scheduler, 1920,
                      1080, log, counting);
    TouchMoveAction move({0.3f, 0.7f});
    moving.SetMousePosition(0.6f, 0.45f);
    EXPECT_TRUE(moving.PlayTouchMove(move, 0, kMouseMove).empty()) << "no finger yet";
    moving.PlayTouchMove(move, 10, kKeyDownMessage);
    EXPECT_EQ(counting.recentres, 1);
    RunTo(20);
    moving.PlayTouchMove(move, 0, kMouseMove);
    RunTo(30);
    moving.PlayTouchMove(move, 0, kKeyUpMessage);
    EXPECT_EQ(move.slot, -1);
    moving.PlayTouchMove(move, 0, kMouseMove);
    RunTo(40);
    EXPECT_TRUE(SameRows(RowsOfSlot(Rows(), 0), {
                                                    {10, 0, 0.3f, 0.7f, true},
                                                    {20, 0, 0.4f, 0.65f, true},  // point + (mouse - middle)
                                                    {30, 0, 0.3f, 0.7f, false},
                                                }));
    EXPECT_EQ(moving.FreeSlots().size(), 13u) << "the lift gave the slot back";
}

}  // namespace
}  // namespace Keyweave
