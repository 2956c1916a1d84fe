// Action texts of [keys] rules: each keyword, its tuple, defaults, range
// checks and messages.
#include <gtest/gtest.h>

#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

constexpr const char* kTrace = "Keyweave::Config::Parser::";

std::string Trace(const std::string& parser, const std::string& args) { return kTrace + parser + "(" + args + ")"; }

template <typename T>
const T& As(const Action* action, ActionType tag) {
    EXPECT_NE(action, nullptr);
    EXPECT_EQ(action ? action->type : 0xFFu, static_cast<uint32_t>(tag));
    return *static_cast<const T*>(action);
}

using KeyActionTest = ActionTest;
using TapTest = ActionTest;
using SwipeTest = ActionTest;
using PointActionTest = ActionTest;

TEST_F(KeyActionTest, KeyNamesTheKeyToSend) {
    EXPECT_EQ(As<KeyAction>(Bind("Key Space"), kKeyAction).keyCode, 57u);
    EXPECT_EQ(Logs(), Lines{Trace("ParseKeyAction", "Space")});
    EXPECT_EQ(As<KeyAction>(Bind("Key NoSuchKey"), kKeyAction).keyCode, 0xFFFFFFFFu);
    EXPECT_EQ(As<KeyAction>(Bind("Key"), kKeyAction).keyCode, 0xFFFFFFFFu);
    EXPECT_EQ(As<KeyAction>(Bind("Key Space Bar"), kKeyAction).keyCode, 0xFFFFFFFFu) << "the whole text is the name";
}

TEST_F(KeyActionTest, UnknownKeywordsAreRefused) {
    EXPECT_EQ(Bind("Jump (1,1)"), nullptr);
    EXPECT_EQ(Logs(), Failed("Jump (1,1)", {"Rule with invalid action: Jump (1,1)"}));
    EXPECT_EQ(Bind("tap (1,1)"), nullptr);
    EXPECT_EQ(Bind("TapMacro (1)"), nullptr);
}

TEST_F(TapTest, ATapDefaultsToTheCentre) {
    EXPECT_EQ(As<TapAction>(Bind("Tap"), kTapAction).point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapAction", "")});
}

TEST_F(TapTest, PositionsArePercentOfTheScreen) {
    EXPECT_EQ(As<TapAction>(Bind("Tap (50,80)"), kTapAction).point, (Point{0.5f, 0.8f}));
    EXPECT_EQ(As<TapAction>(Bind("Tap (50.5,0)"), kTapAction).point, (Point{0.505f, 0.0f}));
    EXPECT_EQ(As<TapAction>(Bind("Tap (-10,1e2)"), kTapAction).point, (Point{-0.1f, 1.0f}));
    EXPECT_EQ(As<TapAction>(Bind("Tap (50,80"), kTapAction).point, (Point{0.5f, 0.8f}))
        << "the closing parenthesis is not checked";
    EXPECT_EQ(As<TapAction>(Bind("Tap (50,80)# note"), kTapAction).point, (Point{0.5f, 0.8f}));
    EXPECT_EQ(As<TapAction>(Bind("Tap (50,80) # note"), kTapAction).point, (Point{0.5f, 0.8f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapAction", "(50,80)")});
}

TEST_F(TapTest, ATupleIsOneWord) {
    EXPECT_EQ(Bind("Tap (50, 80)"), nullptr);
    EXPECT_EQ(Logs(), Failed("Tap (50, 80)", {Trace("ParseTapAction", "(50, 80)"), "Cannot parse point: (50,"}));
    EXPECT_EQ(Bind("Tap (50,80) extra"), nullptr);
    EXPECT_EQ(Logs(), Failed("Tap (50,80) extra", {Trace("ParseTapAction", "(50,80) extra"),
                                                   "Cannot parse trailing junk: extra"}));
    EXPECT_EQ(Bind("Tap 50,80"), nullptr);
    EXPECT_EQ(Logs(), Failed("Tap 50,80", {Trace("ParseTapAction", "50,80"), "Cannot parse point: 50,80"}));
    EXPECT_EQ(Bind("Tap (50;80)"), nullptr) << "the rule splits at ';' first";
}

TEST_F(SwipeTest, ASwipeNeedsADirection) {
    const auto& swipe = As<SwipeAction>(Bind("Swipe Up (50,60)"), kSwipeAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeAction", "Up (50,60)")});
    EXPECT_EQ(swipe.direction, 1u);
    EXPECT_EQ(swipe.point, (Point{0.5f, 0.6f}));
    EXPECT_EQ(swipe.duration, 100);
    EXPECT_FLOAT_EQ(swipe.length, 0.2f);
    EXPECT_EQ(swipe.noSettle, 1);
    EXPECT_EQ(swipe.stepTime, 0u);

    EXPECT_EQ(As<SwipeAction>(Bind("Swipe Down"), kSwipeAction).direction, 2u);
    EXPECT_EQ(As<SwipeAction>(Bind("Swipe Left"), kSwipeAction).direction, 3u);
    const auto& right = As<SwipeAction>(Bind("Swipe Right"), kSwipeAction);
    EXPECT_EQ(right.direction, 4u);
    EXPECT_EQ(right.point, (Point{0.5f, 0.5f}));
}

TEST_F(SwipeTest, BadSwipes) {
    EXPECT_EQ(Bind("Swipe Upward"), nullptr);
    EXPECT_EQ(Logs(), Failed("Swipe Upward", {Trace("ParseSwipeAction", "Upward"), "Cannot parse direction: Upward"}));
    EXPECT_EQ(Bind("Swipe"), nullptr);
    EXPECT_EQ(Logs(), Failed("Swipe", {Trace("ParseSwipeAction", ""), "Cannot parse direction: "}));
    EXPECT_EQ(Bind("Swipe up"), nullptr);
    EXPECT_EQ(Bind("Swipe (50,50)"), nullptr);
    EXPECT_EQ(Bind("Swipe Left (1,2) now"), nullptr);
    EXPECT_EQ(Logs(), Failed("Swipe Left (1,2) now", {Trace("ParseSwipeAction", "Left (1,2) now"),
                                                      "Cannot parse trailing junk: now"}));
}

TEST_F(SwipeTest, SwipeXYGoesFromOnePointToAnother) {
    const auto& swipe = As<SwipeActionXY>(Bind("SwipeXY (20,50,80,40)"), kSwipeActionXY);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeXYAction", "(20,50,80,40)")});
    EXPECT_EQ(swipe.start, (Point{0.2f, 0.5f}));
    EXPECT_EQ(swipe.end, (Point{0.8f, 0.4f}));
    EXPECT_EQ(swipe.duration, 100);
    EXPECT_EQ(swipe.noSettle, 1);

    const auto& none = As<SwipeActionXY>(Bind("SwipeXY"), kSwipeActionXY);
    EXPECT_EQ(none.start, (Point{0.0f, 0.0f}));
    EXPECT_EQ(none.end, (Point{0.0f, 0.0f}));

    EXPECT_EQ(Bind("SwipeXY (20,50,80)"), nullptr);
    EXPECT_EQ(Logs(), Failed("SwipeXY (20,50,80)", {Trace("ParseSwipeXYAction", "(20,50,80)"),
                                                    "Cannot parse point: (20,50,80)"}));
}

TEST_F(SwipeTest, SwipeTraceTakesPairsOfValues) {
    const auto& trace = As<SwipeTraceAction>(Bind("SwipeTrace (10,10,50,50,90,10)"), kSwipeTraceAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeTraceAction", "(10,10,50,50,90,10)")});
    EXPECT_EQ(trace.points, (std::vector<Point>{{0.1f, 0.1f}, {0.5f, 0.5f}, {0.9f, 0.1f}}));
    EXPECT_EQ(trace.noSettle, 1);

    EXPECT_TRUE(As<SwipeTraceAction>(Bind("SwipeTrace"), kSwipeTraceAction).points.empty());
    EXPECT_EQ(As<SwipeTraceAction>(Bind("SwipeTrace 10,20"), kSwipeTraceAction).points,
              (std::vector<Point>{{0.1f, 0.2f}}));
    EXPECT_EQ(As<SwipeTraceAction>(Bind("SwipeTrace (10,20)30,40"), kSwipeTraceAction).points,
              (std::vector<Point>{{0.1f, 0.2f}}))
        << "the list ends at the first ')'";
}

TEST_F(SwipeTest, BadTraces) {
    EXPECT_EQ(Bind("SwipeTrace (10,10,50)"), nullptr);
    EXPECT_EQ(Logs(), Failed("SwipeTrace (10,10,50)", {Trace("ParseSwipeTraceAction", "(10,10,50)"),
                                                       "Cannot parse point: (10,10,50)"}));
    EXPECT_EQ(Bind("SwipeTrace ()"), nullptr);
    EXPECT_EQ(Bind("SwipeTrace (10,x)"), nullptr);
    EXPECT_EQ(Bind("SwipeTrace (10,,20,30)"), nullptr);
    EXPECT_EQ(Bind("SwipeTrace (10,20) (30,40)"), nullptr);
    EXPECT_EQ(Logs(), Failed("SwipeTrace (10,20) (30,40)", {Trace("ParseSwipeTraceAction", "(10,20) (30,40)"),
                                                            "Cannot parse trailing junk: (30,40)"}));
}

TEST_F(SwipeTest, SwipeHoldIsOneKeyOfTheDirectionPad) {
    const auto& hold = As<SwipeHoldAction>(Bind("SwipeHold Left (20,70,8)"), kSwipeHoldAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeHoldAction", "Left (20,70,8)")});
    EXPECT_EQ(hold.point, (Point{0.2f, 0.7f}));
    EXPECT_EQ(hold.currentPoint, hold.point);
    EXPECT_EQ(hold.directionMask, 4u);
    EXPECT_EQ(hold.axis, -2);
    EXPECT_FLOAT_EQ(hold.radius, 0.08f);
    EXPECT_EQ(hold.glideTime, 10u);

    const auto& plain = As<SwipeHoldAction>(Bind("SwipeHold Down (50,50)"), kSwipeHoldAction);
    EXPECT_FLOAT_EQ(plain.radius, 0.06f) << "the default radius, divided too";
    EXPECT_EQ(plain.glideTime, 0u);
    EXPECT_EQ(plain.directionMask, 2u);

    const auto& timed = As<SwipeHoldAction>(Bind("SwipeHold Right (50,50,6,25)"), kSwipeHoldAction);
    EXPECT_EQ(timed.glideTime, 25u);
    EXPECT_EQ(timed.directionMask, 8u);

    const auto& bare = As<SwipeHoldAction>(Bind("SwipeHold Up"), kSwipeHoldAction);
    EXPECT_EQ(bare.point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(bare.radius, 0.0f);
    EXPECT_EQ(bare.glideTime, 0u);
    EXPECT_EQ(bare.directionMask, 1u);
}

TEST_F(SwipeTest, TheDynamicPadGlidesLongerForRulesBelowItsDirective) {
    EXPECT_TRUE(Load("[keys]\nA = SwipeHold Down (50,50,6)\n# ENABLE_DYNAMIC_DPAD\nS = SwipeHold Down (50,50,6)\n"
                     "Space = SwipeHold Down (50,50,6,12)\n"));
    ASSERT_NE(Only<SwipeHoldAction>({kA}, kSwipeHoldAction), nullptr);
    EXPECT_EQ(Only<SwipeHoldAction>({kA}, kSwipeHoldAction)->glideTime, 10u);
    ASSERT_NE(Only<SwipeHoldAction>({kS}, kSwipeHoldAction), nullptr);
    EXPECT_EQ(Only<SwipeHoldAction>({kS}, kSwipeHoldAction)->glideTime, 30u);
    ASSERT_NE(Only<SwipeHoldAction>({kSpace}, kSwipeHoldAction), nullptr);
    EXPECT_EQ(Only<SwipeHoldAction>({kSpace}, kSwipeHoldAction)->glideTime, 12u);
}

TEST_F(SwipeTest, TheRadiusOfAPadKeyIsAtMostHalfTheScreen) {
    EXPECT_FLOAT_EQ(As<SwipeHoldAction>(Bind("SwipeHold Down (50,50,50)"), kSwipeHoldAction).radius, 0.5f);
    EXPECT_FLOAT_EQ(As<SwipeHoldAction>(Bind("SwipeHold Down (50,50,0)"), kSwipeHoldAction).radius, 0.0f);
    EXPECT_EQ(Bind("SwipeHold Down (50,50,60)"), nullptr);
    EXPECT_EQ(Logs(), Failed("SwipeHold Down (50,50,60)", {Trace("ParseSwipeHoldAction", "Down (50,50,60)"),
                                                           "Cannot parse point: (50,50,60)"}));
    EXPECT_EQ(Bind("SwipeHold Down (50,50,-1)"), nullptr);
    EXPECT_EQ(Bind("SwipeHold Down (50)"), nullptr);
    EXPECT_EQ(Bind("SwipeHold (50,50)"), nullptr);
}

TEST_F(PointActionTest, MouseSwipeKeepsAWholeRadius) {
    const auto& swipe = As<MouseSwipeAction>(Bind("MouseSwipe (50,40,12.9)"), kMouseSwipeAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseMouseSwipeAction", "(50,40,12.9)")});
    EXPECT_EQ(swipe.point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(swipe.currentPoint, swipe.point);
    EXPECT_EQ(swipe.radius, 12);
    EXPECT_EQ(As<MouseSwipeAction>(Bind("MouseSwipe (50,50)"), kMouseSwipeAction).radius, 6);
    const auto& bare = As<MouseSwipeAction>(Bind("MouseSwipe"), kMouseSwipeAction);
    EXPECT_EQ(bare.radius, 0);
    EXPECT_EQ(bare.point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(Bind("MouseSwipe (50,50,51)"), nullptr);
}

TEST_F(PointActionTest, TapSwipeForcesTheCircleWhenItsIntegerIsNotZero) {
    const auto& forced = As<TapSwipeAction>(Bind("TapSwipe (80,60,10,1)"), kTapSwipeAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapSwipeAction", "(80,60,10,1)")});
    EXPECT_EQ(forced.point, (Point{0.8f, 0.6f}));
    EXPECT_EQ(forced.currentPoint, forced.point);
    EXPECT_FLOAT_EQ(forced.radius, 10.0f);
    EXPECT_EQ(forced.force, 1);
    EXPECT_EQ(forced.lastMessage, -1);
    EXPECT_EQ(As<TapSwipeAction>(Bind("TapSwipe (80,60,10,0)"), kTapSwipeAction).force, 0);
    EXPECT_EQ(As<TapSwipeAction>(Bind("TapSwipe (80,60,10.5)"), kTapSwipeAction).radius, 10.5f);
    EXPECT_FLOAT_EQ(As<TapSwipeAction>(Bind("TapSwipe (80,60)"), kTapSwipeAction).radius, 6.0f);
    const auto& bare = As<TapSwipeAction>(Bind("TapSwipe"), kTapSwipeAction);
    EXPECT_EQ(bare.point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(bare.radius, 0.0f);
    EXPECT_EQ(bare.force, 0);
    EXPECT_EQ(Bind("TapSwipe (80,60,50.5,1)"), nullptr);
}

TEST_F(PointActionTest, TapSwipeClickTruncatesItsRadiusAndIgnoresItsInteger) {
    const auto& click = As<TapSwipeClickAction>(Bind("TapSwipeClick (85,75,12.7,3)"), kTapSwipeClickAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapSwipeClickAction", "(85,75,12.7,3)")});
    EXPECT_EQ(click.point, (Point{0.85f, 0.75f}));
    EXPECT_EQ(click.radius, 12);
    EXPECT_EQ(click.force, 0);
    EXPECT_EQ(As<TapSwipeClickAction>(Bind("TapSwipeClick"), kTapSwipeClickAction).radius, 0);
}

TEST_F(PointActionTest, TwoPointRecords) {
    const auto& taps = As<TapTapAction>(Bind("TapTap (40,50,60,50)"), kTapTapAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapTapAction", "(40,50,60,50)")});
    EXPECT_EQ(taps.point, (Point{0.4f, 0.5f}));
    EXPECT_EQ(taps.point2, (Point{0.6f, 0.5f}));
    EXPECT_EQ(As<TapTapAction>(Bind("TapTap"), kTapTapAction).point2, (Point{0.5f, 0.5f}));

    const auto& hold = As<MouseHoldAction>(Bind("MouseHold (50,50,70,60)"), kMouseHoldAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseMouseHoldAction", "(50,50,70,60)")});
    EXPECT_EQ(hold.point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(hold.point2, (Point{0.7f, 0.6f}));
    EXPECT_EQ(hold.held, 0);
    EXPECT_EQ(As<MouseHoldAction>(Bind("MouseHold"), kMouseHoldAction).point2, (Point{0.5f, 0.5f}));
    EXPECT_EQ(Bind("MouseHold (50,50,70)"), nullptr);
}

TEST_F(PointActionTest, OnePointRecords) {
    EXPECT_EQ(As<TouchMoveAction>(Bind("TouchMove (50,40)"), kTouchMoveAction).point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTouchMoveAction", "(50,40)")});
    EXPECT_EQ(As<TouchMoveAction>(Bind("TouchMove"), kTouchMoveAction).point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(As<TapCancelAction>(Bind("TapCancel (20,70)"), kTapCancelAction).point, (Point{0.2f, 0.7f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapCancelAction", "(20,70)")});
    EXPECT_EQ(As<TapCancelAction>(Bind("TapCancel"), kTapCancelAction).point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(Bind("TapCancel (20)"), nullptr);
}

}  // namespace
}  // namespace Keyweave::Testing
