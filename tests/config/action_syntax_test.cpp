// Action texts of [keys] rules: each keyword, its tuple, defaults, range
// checks and messages.
#include <gtest/gtest.h>

#include <optional>

#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

using KeyActionTest = ActionTest;
using SwipeTest = ActionTest;
using PointActionTest = ActionTest;

TEST_F(KeyActionTest, KeyNamesTheKeyToSendAndUnknownKeywordsAreRefused) {
    EXPECT_EQ(As<KeyAction>(Bind("Key Space"), kKeyAction).keyCode, 57u);
    EXPECT_EQ(Logs(), Lines{Trace("ParseKeyAction", "Space")});
    for (const char* unnamed : {"Key NoSuchKey", "Key", "Key Space Bar"}) {  // the whole text is the name
        EXPECT_EQ(As<KeyAction>(Bind(unnamed), kKeyAction).keyCode, 0xFFFFFFFFu) << unnamed;
    }
    EXPECT_EQ(Bind("Jump (1,1)"), nullptr);
    EXPECT_EQ(Logs(), Failed("Jump (1,1)", {"Rule with invalid action: Jump (1,1)"}));
    EXPECT_EQ(Bind("tap (1,1)"), nullptr);
    EXPECT_EQ(Bind("TapMacro (1)"), nullptr);
}

TEST_F(ActionTest, TapPositionsArePercentOfTheScreenAndDefaultToTheCentre) {
    EXPECT_EQ(As<TapAction>(Bind("Tap"), kTapAction).point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapAction", "")});
    const std::pair<const char*, Point> kTaps[] = {
        {"Tap (50,80)", {0.5f, 0.8f}},       {"Tap (50.5,0)", {0.505f, 0.0f}},     {"Tap (-10,1e2)", {-0.1f, 1.0f}},
        {"Tap (50,80", {0.5f, 0.8f}},  // the closing parenthesis is not checked
        {"Tap (50,80)# note", {0.5f, 0.8f}}, {"Tap (50,80) # note", {0.5f, 0.8f}},
    };
    for (const auto& [text, point] : kTaps) EXPECT_EQ(As<TapAction>(Bind(text), kTapAction).point, point) << text;
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapAction", "(50,80)")});
}

// Every refused action text: the rule stores nothing and the log gives the
// parser's lines, then the rule's and the line's failure. Where `middle` is
// empty only the closing lines are checked. A blank inside a tuple, junk after
// a tap, an unknown direction, a pad key too wide, a tilt trait and a shooting
// mode without its directive are the faulty keymap's golden check.
TEST_F(ActionTest, BadActionTextsAreRefusedWithTheirMessages) {
    struct Case {
        const char* text;
        std::optional<Lines> middle;
    };
    const Case kCases[] = {
        {"Tap 50,80", Lines{Trace("ParseTapAction", "50,80"), "Cannot parse point: 50,80"}},
        {"Tap (50;80)", {}},  // the rule splits at ';' first
        {"Swipe", Lines{Trace("ParseSwipeAction", ""), "Cannot parse direction: "}},
        {"Swipe up", {}},
        {"Swipe (50,50)", {}},
        {"Swipe Left (1,2) now", Lines{Trace("ParseSwipeAction", "Left (1,2) now"), "Cannot parse trailing junk: now"}},
        {"SwipeXY (20,50,80)", Lines{Trace("ParseSwipeXYAction", "(20,50,80)"), "Cannot parse point: (20,50,80)"}},
        {"SwipeTrace (10,10,50)",
         Lines{Trace("ParseSwipeTraceAction", "(10,10,50)"), "Cannot parse point: (10,10,50)"}},
        {"SwipeTrace ()", {}},
        {"SwipeTrace (10,x)", {}},
        {"SwipeTrace (10,,20,30)", {}},
        {"SwipeTrace (10,20) (30,40)",
         Lines{Trace("ParseSwipeTraceAction", "(10,20) (30,40)"), "Cannot parse trailing junk: (30,40)"}},
        {"SwipeHold Down (50,50,-1)", {}},
        {"SwipeHold Down (50)", {}},
        {"SwipeHold (50,50)", {}},
        {"MouseSwipe (50,50,51)", {}},
        {"TapSwipe (80,60,50.5,1)", {}},
        {"MouseHold (50,50,70)", {}},
        {"TapCancel (20)", {}},
        {"Tilt Sideways (1,1)", Lines{Trace("ParseTiltAction", "Sideways (1,1)"), "Cannot parse tilt type: Sideways"}},
        {"Tilt", Lines{Trace("ParseTiltAction", ""), "Cannot parse tilt type: "}},
        {"Tilt Relative (1.5,2)",
         Lines{Trace("ParseTiltAction", "Relative (1.5,2)"), Trace("ParseRelativeTiltAction", "(1.5,2)"),
               "Cannot parse tilt vector: (1.5,2)"}},
        {"Tilt Absolute (10,10) Return now",
         Lines{Trace("ParseTiltAction", "Absolute (10,10) Return now"),
               Trace("ParseAbsoluteTiltAction", "(10,10) Return now"), "Cannot parse trailing junk: now"}},
        {"Tilt Relative (5,5) Return",
         Lines{Trace("ParseTiltAction", "Relative (5,5) Return"), Trace("ParseRelativeTiltAction", "(5,5) Return"),
               "Cannot parse trailing junk: Return"}},
        {"Tilt Absolute",
         Lines{Trace("ParseTiltAction", "Absolute"), Trace("ParseAbsoluteTiltAction", ""),
               "Cannot parse tilt vector: "}},
        // Shooting-mode actions need the shooting directive above them.
        {"SuspendShoot", Lines{}},
        {"ShootMove (50,50)", Lines{Trace("ParseShootMoveAction", "(50,50)"), "Cannot parse point: (50,50)"}},
        {"ShootMove (50,50,101)", {}},
        {"ShootMove (50,50,-0.5)", {}},
        {"TapMacros (10,10,50,90,90,50)",
         Lines{Trace("ParseTapsMacroAction", "(10,10,50,90,90,50)"), "Cannot parse point: (10,10,50,90,90,50)"}},
        {"TapMacros ()", {}},
        {"TapMacros (10,10,x,2)", {}},
        {"TapMacros (10,10)", {}},
    };
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.text);
        EXPECT_EQ(Bind(test.text), nullptr);
        const Lines logs = Logs();
        if (test.middle) {
            EXPECT_EQ(logs, Failed(test.text, *test.middle));
        } else {
            const Lines closing = Failed(test.text, {});
            ASSERT_GE(logs.size(), 2u);
            EXPECT_EQ(Lines(logs.end() - 2, logs.end()), closing);
        }
        EXPECT_EQ(config->OwnedRecordCount(), 0u);
    }
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

TEST_F(SwipeTest, SwipeXYAndSwipeTraceTakeTheirPoints) {
    const auto& swipe = As<SwipeActionXY>(Bind("SwipeXY (20,50,80,40)"), kSwipeActionXY);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeXYAction", "(20,50,80,40)")});
    EXPECT_EQ(swipe.start, (Point{0.2f, 0.5f}));
    EXPECT_EQ(swipe.end, (Point{0.8f, 0.4f}));
    EXPECT_EQ(swipe.duration, 100);
    EXPECT_EQ(swipe.noSettle, 1);
    const auto& none = As<SwipeActionXY>(Bind("SwipeXY"), kSwipeActionXY);
    EXPECT_EQ(none.start, (Point{0.0f, 0.0f}));
    EXPECT_EQ(none.end, (Point{0.0f, 0.0f}));

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

TEST_F(SwipeTest, SwipeHoldIsOneKeyOfTheDirectionPad) {
    const auto& hold = As<SwipeHoldAction>(Bind("SwipeHold Left (20,70,8)"), kSwipeHoldAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseSwipeHoldAction", "Left (20,70,8)")});
    EXPECT_EQ(hold.point, (Point{0.2f, 0.7f}));
    EXPECT_EQ(hold.currentPoint, hold.point);
    EXPECT_EQ(hold.axis, -2);
    struct Case {
        const char* text;
        Point point;
        float radius;
        uint32_t glide, mask;
    };
    const Case kCases[] = {
        {"SwipeHold Left (20,70,8)", {0.2f, 0.7f}, 0.08f, 10, 4},
        {"SwipeHold Down (50,50)", {0.5f, 0.5f}, 0.06f, 0, 2},  // the default radius, divided too
        {"SwipeHold Right (50,50,6,25)", {0.5f, 0.5f}, 0.06f, 25, 8},
        {"SwipeHold Up", {0.5f, 0.5f}, 0.0f, 0, 1},
        {"SwipeHold Down (50,50,50)", {0.5f, 0.5f}, 0.5f, 10, 2},
        {"SwipeHold Down (50,50,0)", {0.5f, 0.5f}, 0.0f, 10, 2},
    };
    for (const Case& c : kCases) {
        const auto& pad = As<SwipeHoldAction>(Bind(c.text), kSwipeHoldAction);
        EXPECT_EQ(pad.point, c.point) << c.text;
        EXPECT_FLOAT_EQ(pad.radius, c.radius) << c.text;
        EXPECT_EQ(pad.glideTime, c.glide) << c.text;
        EXPECT_EQ(pad.directionMask, c.mask) << c.text;
    }
}

TEST_F(SwipeTest, TheDynamicPadGlidesLongerForRulesBelowItsDirective) {
    EXPECT_TRUE(Load("[keys]\nA = SwipeHold Down (50,50,6)\n# ENABLE_DYNAMIC_DPAD\nS = SwipeHold Down (50,50,6)\n"
                     "Space = SwipeHold Down (50,50,6,12)\n"));
    for (const auto& [key, glide] : {std::pair{kA, 10u}, {kS, 30u}, {kSpace, 12u}}) {
        const auto* hold = Only<SwipeHoldAction>({key}, kSwipeHoldAction);
        ASSERT_NE(hold, nullptr) << key;
        EXPECT_EQ(hold->glideTime, glide) << key;
    }
}

TEST_F(PointActionTest, MouseSwipeTapSwipeAndTapSwipeClickRadii) {
    const auto& swipe = As<MouseSwipeAction>(Bind("MouseSwipe (50,40,12.9)"), kMouseSwipeAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseMouseSwipeAction", "(50,40,12.9)")});
    EXPECT_EQ(swipe.point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(swipe.currentPoint, swipe.point);
    EXPECT_EQ(swipe.radius, 12) << "a mouse swipe keeps a whole radius";
    EXPECT_EQ(As<MouseSwipeAction>(Bind("MouseSwipe (50,50)"), kMouseSwipeAction).radius, 6);
    const auto& bare = As<MouseSwipeAction>(Bind("MouseSwipe"), kMouseSwipeAction);
    EXPECT_EQ(bare.radius, 0);
    EXPECT_EQ(bare.point, (Point{0.5f, 0.5f}));

    // A tap-swipe forces the circle when its integer is not zero.
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
    const auto& plain = As<TapSwipeAction>(Bind("TapSwipe"), kTapSwipeAction);
    EXPECT_EQ(plain.point, (Point{0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(plain.radius, 0.0f);
    EXPECT_EQ(plain.force, 0);

    // A tap-swipe-click truncates its radius and ignores its integer.
    const auto& click = As<TapSwipeClickAction>(Bind("TapSwipeClick (85,75,12.7,3)"), kTapSwipeClickAction);
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapSwipeClickAction", "(85,75,12.7,3)")});
    EXPECT_EQ(click.point, (Point{0.85f, 0.75f}));
    EXPECT_EQ(click.radius, 12);
    EXPECT_EQ(click.force, 0);
    EXPECT_EQ(As<TapSwipeClickAction>(Bind("TapSwipeClick"), kTapSwipeClickAction).radius, 0);
}

TEST_F(PointActionTest, OneAndTwoPointRecords) {
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

    EXPECT_EQ(As<TouchMoveAction>(Bind("TouchMove (50,40)"), kTouchMoveAction).point, (Point{0.5f, 0.4f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTouchMoveAction", "(50,40)")});
    EXPECT_EQ(As<TouchMoveAction>(Bind("TouchMove"), kTouchMoveAction).point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(As<TapCancelAction>(Bind("TapCancel (20,70)"), kTapCancelAction).point, (Point{0.2f, 0.7f}));
    EXPECT_EQ(Logs(), Lines{Trace("ParseTapCancelAction", "(20,70)")});
    EXPECT_EQ(As<TapCancelAction>(Bind("TapCancel"), kTapCancelAction).point, (Point{0.5f, 0.5f}));
}

}  // namespace
}  // namespace Keyweave::Testing
