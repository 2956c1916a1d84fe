// Tap-swipes and tap-swipe-clicks as timelines on a manual clock, with the tap
// suppression values they leave for plain taps. Times are ms after the start.
//
// Centre (0.5, 0.5), radius 20: a pointer 0.01 right of the screen centre
// lands 44 units away (below 400, so the swipe passes the radius-4 point
// (0.54, 0.5) first); 0.1 right lands on 0.5444.
#include <gtest/gtest.h>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;
using Testing::SameRows;

constexpr Point kCentre{0.5f, 0.5f};
constexpr Point kNudge{0.54f, 0.5f};
constexpr float kNearX = 0.5f + 0.01f * 20.0f / 45.0f;
constexpr float kFarX = 0.5f + 0.1f * 20.0f / 45.0f;

class TapSwipeTest : public ::testing::Test, protected PointerBench {
protected:
    TapSwipeAction swipe{kCentre, 20.0f, false};
    TapSwipeAction other{{0.2f, 0.8f}, 20.0f, false};
};

TEST_F(TapSwipeTest, NearTheCentreItPassesTheSmallCircleAndAQuickReleaseWaitsForTheShortestHold) {
    Mouse(0.51f, 0.5f);
    EXPECT_EQ(d().PlayTapSwipe(swipe, 0, kKeyDownMessage).size(), 3u);
    EXPECT_EQ(swipe.currentPoint.x, d().MousePoint(kCentre, 20.0f, 0.0f, false).point.x);
    RunTo(30);
    d().PlayTapSwipe(swipe, 0, kKeyUpMessage);
    EXPECT_EQ(swipe.slot, -1);
    EXPECT_EQ(swipe.lastMessage, -1);
    EXPECT_EQ(swipe.pressTime, 0u);
    RunTo(99);
    EXPECT_FALSE(SlotIsFree(0));
    RunTo(200);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, kCentre.x, kCentre.y, true},
                                     {50, 0, kNudge.x, kNudge.y, true},
                                     {90, 0, kNearX, 0.5f, true},
                                     {100, 0, kNearX, 0.5f, false},  // 70 ms after the release
                                 }));
    EXPECT_TRUE(SlotIsFree(0));
}

TEST_F(TapSwipeTest, FarFromTheCentreItGoesStraightOutAndALateReleaseLiftsAtOnce) {
    Mouse(0.6f, 0.5f);
    EXPECT_EQ(d().PlayTapSwipe(swipe, 0, kKeyDownMessage).size(), 2u);
    RunTo(300);
    d().PlayTapSwipe(swipe, 0, kKeyUpMessage);
    RunTo(400);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, kCentre.x, kCentre.y, true},
                                     {50, 0, kFarX, 0.5f, true},
                                     {300, 0, kFarX, 0.5f, false},
                                 }));
}

TEST_F(TapSwipeTest, TheFingerFollowsThePointerOnlyAfterOneHundredMilliseconds) {
    Mouse(0.6f, 0.5f);
    d().PlayTapSwipe(swipe, 0, kKeyDownMessage);
    RunTo(100);
    Mouse(0.51f, 0.5f);
    EXPECT_TRUE(d().PlayTapSwipe(swipe, 0, kMouseMove).empty());
    RunTo(101);
    EXPECT_EQ(d().PlayTapSwipe(swipe, 0, kMouseMove).size(), 1u);
    RunTo(110);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, kCentre.x, kCentre.y, true},
                                     {50, 0, kFarX, 0.5f, true},
                                     {101, 0, kNearX, 0.5f, true},
                                 }));
}

TEST_F(TapSwipeTest, ItsOwnBounceIsIgnoredWhileAnotherTapSwipePlays) {
    Mouse(0.6f, 0.5f);
    d().PlayTapSwipe(swipe, 0, kKeyDownMessage);
    RunTo(300);
    d().PlayTapSwipe(swipe, 0, kKeyUpMessage);  // lifts at 300
    RunTo(360);
    EXPECT_TRUE(d().PlayTapSwipe(swipe, 0, kKeyDownMessage).empty());
    EXPECT_EQ(swipe.slot, -1);
    EXPECT_EQ(d().PlayTapSwipe(other, 0, kKeyDownMessage).size(), 2u) << "another action is no bounce";
    EXPECT_TRUE(d().PlayTapSwipe(swipe, 0, kKeyUpMessage).empty()) << "the ignored press has nothing to release";
    RunTo(410);
    EXPECT_EQ(d().PlayTapSwipe(swipe, 0, kKeyDownMessage).size(), 2u) << "110 ms after its lift it plays again";
    EXPECT_EQ(swipe.slot, 1) << "slot 0 is the other action's";
}

TEST_F(TapSwipeTest, APressBeforeItsOwnLiftIsDueIsABounceToo) {
    Mouse(0.6f, 0.5f);
    d().PlayTapSwipe(swipe, 0, kKeyDownMessage);
    RunTo(20);
    d().PlayTapSwipe(swipe, 0, kKeyUpMessage);  // lift due at 100
    RunTo(60);
    EXPECT_TRUE(d().PlayTapSwipe(swipe, 0, kKeyDownMessage).empty());
}

class TapSwipeClickTest : public ::testing::Test, protected PointerBench {
protected:
    TapSwipeClickAction click{kCentre, 20};
};

TEST_F(TapSwipeClickTest, WithTheButtonUpTheFingerWaitsOnTheCentreForAClick) {
    Mouse(0.51f, 0.5f);
    EXPECT_EQ(d().PlayTapSwipeClick(click, 0, kKeyDownMessage).size(), 1u);
    RunTo(40);
    input->NoteLeftButton(true);
    d().PlayTapSwipeClick(click, 10, kLeftButtonDown);
    RunTo(200);
    Mouse(0.6f, 0.5f);
    d().PlayTapSwipeClick(click, 0, kMouseMove);  // 160 ms after the click
    RunTo(250);
    input->NoteLeftButton(false);
    d().PlayTapSwipeClick(click, 0, kLeftButtonUp);
    EXPECT_EQ(click.slot, -1);
    RunTo(300);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, kCentre.x, kCentre.y, true},
                                     {40, 0, kNudge.x, kNudge.y, true},  // the click, at once
                                     {90, 0, kNearX, 0.5f, true},        // its delay + 40
                                     {200, 0, kFarX, 0.5f, true},
                                     {250, 0, kFarX, 0.5f, false},
                                 }));
}

TEST_F(TapSwipeClickTest, WithTheButtonHeldItPlaysAsATapSwipeAndMovesOnlyWhileItIsHeld) {
    input->NoteLeftButton(true);
    Mouse(0.51f, 0.5f);
    EXPECT_EQ(d().PlayTapSwipeClick(click, 0, kKeyDownMessage).size(), 3u);
    RunTo(150);
    input->NoteLeftButton(false);
    Mouse(0.6f, 0.5f);
    EXPECT_TRUE(d().PlayTapSwipeClick(click, 0, kMouseMove).empty());
    d().PlayTapSwipeClick(click, 0, kKeyUpMessage);
    RunTo(200);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, kCentre.x, kCentre.y, true},
                                     {50, 0, kNudge.x, kNudge.y, true},
                                     {90, 0, kNearX, 0.5f, true},
                                     {150, 0, kFarX, 0.5f, false},
                                 }));
    EXPECT_EQ(d().TapSuppressionSnapshot().lastTapSwipe, &click);
}

TEST_F(TapSwipeClickTest, AClickWithoutAPressedKeyDoesNothing) {
    input->NoteLeftButton(true);
    Mouse(0.6f, 0.5f);
    EXPECT_TRUE(d().PlayTapSwipeClick(click, 0, kLeftButtonDown).empty());
    EXPECT_TRUE(d().PlayTapSwipeClick(click, 0, kLeftButtonUp).empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

}  // namespace
}  // namespace Keyweave
