// Stick-move, stick-hold and tap-stick as timelines on a manual clock. Their
// records are in hundredths of a percent; the screen is 1920 x 1080, so
// vertical offsets around a centre show stretched by 16 / 9.
#include <gtest/gtest.h>

#include <cmath>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;
using Testing::SameRows;

constexpr float kAspect = 1920.0f / 1080.0f;

class StickSequencesTest : public ::testing::Test, protected PointerBench {};

TEST_F(StickSequencesTest, StickMoveDragsFromItsStartAndLiftsAtTheOriginFiftyMillisecondsLater) {
    StickMoveAction move({5000.0f, 5000.0f}, 100.0f);
    d().SetStickPosition(GamePad::kRightStick, 0.5f, -0.25f);
    EXPECT_TRUE(d().PlayStickMove(move, 0, kStickMoved).empty()) << "not pressed";
    EXPECT_EQ(move.currentPoint, (Point{5000.0f, 5000.0f}));
    d().PlayStickMove(move, 0, kStickMovePress);
    RunTo(10);
    d().PlayStickMove(move, 0, kStickMoved);
    d().PlayStickMove(move, 0, kStickMoved);
    RunTo(20);
    d().PlayStickMove(move, 0, kStickMoveRelease);
    EXPECT_EQ(move.slot, -1);
    EXPECT_EQ(move.currentPoint, (Point{5000.0f, 5000.0f}));
    RunTo(69);
    EXPECT_FALSE(SlotIsFree(0));
    RunTo(100);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.5f, 0.5f, true},
                                     {10, 0, 0.505f, 0.4975f, true},
                                     {10, 0, 0.51f, 0.495f, true},
                                     {70, 0, 0.0f, 0.0f, false},  // reported at (0, 0)
                                 }));
    EXPECT_TRUE(SlotIsFree(0));
}

TEST_F(StickSequencesTest, StickHoldFollowsTheDeflectionInsideItsCircleAndLiftsWhereItIs) {
    StickHoldAction hold({5000.0f, 5000.0f}, 1000.0f, 1000.0f);
    d().SetStickPosition(GamePad::kLeftStick, 1.0f, 0.0f);
    d().PlayStickHold(hold, 0, kStickHeld);
    d().PlayStickHold(hold, 0, kStickHeld);  // pushed on: stays on the circle
    RunTo(10);
    d().SetStickPosition(GamePad::kLeftStick, 0.0f, 0.5f);
    d().PlayStickHold(hold, 0, kStickHeld);
    const float dx = 1000.0f / std::sqrt(1.25f);
    const float dy = 500.0f / std::sqrt(1.25f);
    RunTo(20);
    d().SetStickPosition(GamePad::kLeftStick, 0.0f, 0.0f);
    d().PlayStickHold(hold, 0, kStickHoldRelease);
    EXPECT_EQ(hold.slot, -1);
    EXPECT_EQ(hold.currentPoint, hold.point);
    RunTo(30);
    const float y = (dy * kAspect + 5000.0f) / 10000.0f;
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.6f, 0.5f, true},
                                     {10, 0, (5000.0f + dx) / 10000.0f, y, true},
                                     {20, 0, (5000.0f + dx) / 10000.0f, y, false},
                                 }));
    EXPECT_TRUE(SlotIsFree(0));

    // Released before it touched down, or in another phase: nothing.
    EXPECT_TRUE(d().PlayStickHold(hold, 0, kStickHoldRelease).empty());
    EXPECT_TRUE(d().PlayStickHold(hold, 0, kStickMoved).empty()) << "not a stick-hold phase";
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
    EXPECT_EQ(d().FreeSlots().size(), 13u);
}

TEST_F(StickSequencesTest, TapStickTouchesTheCentreFirstAndKeepsItsLastPointForACancel) {
    TapStickAction tap({4000.0f, 6000.0f}, 1000.0f, 1000.0f);
    d().SetStickPosition(GamePad::kRightStick, 0.3f, 0.0f);
    EXPECT_TRUE(d().PlayTapStick(tap, 0, kStickMoved).empty()) << "not pressed";
    d().PlayTapStick(tap, 0, kTapStickPress);
    EXPECT_EQ(tap.lastPoint, (Point{0.4f, 0.6f}));
    RunTo(10);
    d().PlayTapStick(tap, 0, kStickMoved);
    EXPECT_NEAR(tap.lastPoint.x, 0.46f, 1e-5f) << "the press moved it too";
    d().SetStickPosition(GamePad::kRightStick, 0.0f, 0.0f);
    RunTo(20);
    d().PlayTapStick(tap, 0, kTapStickRelease);
    EXPECT_EQ(tap.slot, -1);
    EXPECT_EQ(tap.currentPoint, tap.point);
    RunTo(100);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.4f, 0.6f, true},
                                     {10, 0, 0.46f, 0.6f, true},
                                     {70, 0, 0.46f, 0.6f, false},
                                 }));
    EXPECT_TRUE(d().PlayTapStick(tap, 0, kTapStickRelease).empty());
}

// A control that is not a stick has no deflection of its own: the finger is
// offset by the radius on both axes, then kept on the circle.
TEST_F(StickSequencesTest, AControlThatIsNoStickPlacesTheFingerOnTheCircleDiagonally) {
    d().SetStickPosition(GamePad::kRightStick, 0.9f, 0.9f);  // not read
    d().SetStickPosition(GamePad::kA, 0.3f, 0.3f);           // not a stick: changes nothing
    EXPECT_EQ(d().StickPosition(GamePad::kA), (Point{0.0f, 0.0f}));
    const Point centre{5000.0f, 5000.0f};
    Point current = centre;
    d().StickPoint(GamePad::kHatUp, centre, current, 300.0f, 7.0f, true);
    const float leg = 300.0f / std::sqrt(2.0f);
    EXPECT_NEAR(current.x, 5000.0f + leg, 1e-2f);
    EXPECT_NEAR(current.y, 5000.0f + leg, 1e-2f);
}

}  // namespace
}  // namespace Keyweave
