// What a careless host gets from the exported functions themselves: values
// the engine cannot use are refused with a "Cannot" line and never reach the
// guest, the emulated gestures return, no finger stays down, KeyweaveInit
// runs once, and calls before it leave one line each on the debug output.
//
// The exported functions are linked into this program and drive a fresh
// interface per test, on a manual clock (CurrentInterface below).
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "api/host_interface.h"
#include "keyweave/keyweave.h"
#include "support/recording_host.h"
#include "support/timeline.h"

namespace Keyweave {
namespace {

using Testing::ContactRow;
using Testing::RecordingHost;
using Lines = std::vector<std::string>;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

HostInterface* gInterface = nullptr;
RecordingHost* gLogHost = nullptr;  // the log callback has no context
Lines gEarlyLines;

void OnLog(const char* line) { RecordingHost::OnLog(gLogHost, line); }
void OnEarlyCall(const char* line) { gEarlyLines.emplace_back(line); }

class CarelessCallsTest : public ::testing::Test {
protected:
    CarelessCallsTest() {
        gEarlyLines.clear();
        gInterface = &interface;
        gLogHost = &host;
    }
    ~CarelessCallsTest() override {
        gInterface = nullptr;
        gLogHost = nullptr;
    }

    // KeyweaveInit with every callback of `to`; its log lines go to `host`.
    static void Init(RecordingHost& to) {
        KeyweaveInit(&RecordingHost::OnKey, &to, &RecordingHost::OnTouch, &to, &RecordingHost::OnSensor, &to,
                     &RecordingHost::OnSummary, &to, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &RecordingHost::OnNotice, &to, &RecordingHost::OnPassThrough, &to, &RecordingHost::OnShooting, &to,
                     nullptr, &OnLog, 0, 1920, 1080);
    }

    // Starts the engine and forgets what start-up reported.
    void Start() {
        Init(host);
        host.ClearRecords();
    }

    void RunFor(Millis ms) { interface.engine()->AdvanceBy(ms); }

    // The lines logged since the last ClearRecords, but for `lines`
    // that are expected anyway.
    Lines LogsBut(const Lines& expected) const {
        Lines others;
        for (const std::string& line : host.Logs()) {
            if (std::find(expected.begin(), expected.end(), line) == expected.end()) others.push_back(line);
        }
        return others;
    }

    // Every contact of every report is a number on the screen or at most a
    // screen beyond it.
    ::testing::AssertionResult NoGarbage() const {
        for (const Testing::Frame& frame : host.Frames()) {
            for (size_t i = 0; i < frame.points.size(); ++i) {
                const KeyweaveTouchPoint& point = frame.points[i];
                if (!std::isfinite(point.x) || !std::isfinite(point.y) || std::fabs(point.x - 0.5f) > 1.5f ||
                    std::fabs(point.y - 0.5f) > 1.5f) {
                    return ::testing::AssertionFailure()
                           << "contact " << i << " at " << point.x << ", " << point.y << " reported at " << frame.time;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Once the queue has run dry, every contact of the frame is up.
    ::testing::AssertionResult NoFingerDown() {
        RunFor(1000);
        const TouchFrame& frame = interface.engine()->frame();
        for (size_t slot = 0; slot < frame.size(); ++slot) {
            if (frame[slot].down != 0) return ::testing::AssertionFailure() << "slot " << slot << " is down";
        }
        return ::testing::AssertionSuccess();
    }

    ManualClock clock{1000};
    RecordingHost host{&clock};
    HostInterface interface { EngineOptions{&clock, true}, &OnEarlyCall };
};

TEST_F(CarelessCallsTest, KnobsOutsideWhatAPersonPlaysAreRefusedAndTheGesturesKeepTheKnobsTheyHad) {
    Start();
    KeyweaveSetEmulatedSwipeKnobs(0.2f, 0xFFFFFFFFu);
    KeyweaveSetEmulatedSwipeKnobs(kNaN, 80);
    KeyweaveSetEmulatedSwipeKnobs(0.2f, 10001);
    KeyweaveSetEmulatedPinchKnobs(0.2f, 0.1f, 0.1f, -5);
    KeyweaveSetEmulatedPinchKnobs(-0.2f, 0.1f, 0.1f, 40);
    KeyweaveSetEmulatedPinchKnobs(0.2f, 0.1f, kInfinity, 40);
    EXPECT_EQ(host.Logs(), (Lines{
                               "Cannot set emulated swipe knobs: duration 4294967295 ms is over 10000 ms",
                               "Cannot set emulated swipe knobs: length nan is not a finite number",
                               "Cannot set emulated swipe knobs: duration 10001 ms is over 10000 ms",
                               "Cannot set emulated pinch knobs: duration -5 ms is negative",
                               "Cannot set emulated pinch knobs: split -0.2 is negative",
                               "Cannot set emulated pinch knobs: lengthOut inf is not a finite number",
                           }));

    // The default swipe: up from the centre, lifted 84 ms later at 0.3.
    const Millis start = clock.Now();
    KeyweaveEmulateSwipe(0.5f, 0.5f, KEYWEAVE_SWIPE_UP);
    EXPECT_EQ(clock.Now() - start, 84u) << "the call returns when the finger has lifted";
    const std::vector<ContactRow> swipe = Testing::ChangedContacts(host.Frames(), start);
    ASSERT_FALSE(swipe.empty());
    EXPECT_FALSE(swipe.back().down);
    EXPECT_NEAR(swipe.back().y, 0.3f, Testing::kPositionTolerance);

    // The default pinch of 50 ms: both fingers move together and lift at 36.
    host.ClearRecords();
    const Millis pinch = clock.Now();
    KeyweaveEmulatePinch(0.5f, 0.5f, KEYWEAVE_PINCH_IN);
    const std::vector<ContactRow> rows = Testing::ChangedContacts(host.Frames(), pinch);
    const std::vector<ContactRow> first = Testing::RowsOfSlot(rows, 0), second = Testing::RowsOfSlot(rows, 1);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_FALSE(first.empty());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i].time, second[i].time) << "step " << i;
    EXPECT_EQ(first.back().time, 36);
    EXPECT_FALSE(first.back().down);

    // The longest swipe a host may ask for still plays, and its call returns
    // when it has.
    host.ClearRecords();
    KeyweaveSetEmulatedSwipeKnobs(0.2f, 10000);
    const Millis longest = clock.Now();
    KeyweaveEmulateSwipe(0.5f, 0.5f, KEYWEAVE_SWIPE_LEFT);
    EXPECT_EQ(clock.Now() - longest, 8750u);
    EXPECT_EQ(LogsBut({"Emulated swipe knobs: length=0.200000, duration=10000",
                       "KeyweaveEmulateSwipe(0.500000, 0.500000, 3)"}),
              Lines{});
    EXPECT_TRUE(NoGarbage());
    EXPECT_TRUE(NoFingerDown());
}

TEST_F(CarelessCallsTest, PositionsThatAreNotNumbersOrScreensOffAreRefusedAndNothingReachesTheGuest) {
    Start();
    // Nothing of these is played, and the emulations return at once.
    const Millis start = clock.Now();
    KeyweaveEmulateSwipe(kNaN, 0.5f, KEYWEAVE_SWIPE_UP);
    KeyweaveEmulateSwipe(0.5f, 7.0f, KEYWEAVE_SWIPE_UP);
    KeyweaveEmulateSwipeXY(0.2f, 0.5f, -kInfinity, 0.5f);
    KeyweaveEmulatePinch(-5.0f, 0.5f, KEYWEAVE_PINCH_OUT);
    KeyweaveScrollBegin(0.5f, -3.5e31f);
    KeyweaveZoomBegin(kInfinity, 0.5f);
    KeyweaveHandleShakeAction(0.0f, kNaN, 9.8f);
    EXPECT_EQ(clock.Now(), start);
    EXPECT_TRUE(host.Frames().empty());
    EXPECT_TRUE(host.Sensors().empty());
    EXPECT_EQ(host.Logs(), (Lines{
                               "Cannot emulate swipe: x nan is not a finite number",
                               "Cannot emulate swipe: y 7 is not between -1 and 2",
                               "Cannot emulate swipe between points: x2 -inf is not a finite number",
                               "Cannot emulate pinch: x -5 is not between -1 and 2",
                               "Cannot begin scroll: y -3.5e+31 is not between -1 and 2",
                               "Cannot begin zoom: x inf is not a finite number",
                               "Cannot handle shake: y nan is not a finite number",
                           }));

    // A swipe between two points goes as far as its end point says, off the
    // screen or not.
    host.ClearRecords();
    KeyweaveEmulateSwipeXY(0.5f, 0.5f, 40.0f, 0.5f);
    ASSERT_FALSE(host.Frames().empty());
    EXPECT_EQ(host.Frames().back().points[0].x, 40.0f);
    EXPECT_EQ(host.Frames().back().points[0].down, 0u);
    EXPECT_TRUE(NoFingerDown());
}

TEST_F(CarelessCallsTest, AMousePositionThatIsRefusedLeavesThePointerWhereItWasAndTheButtonStillGoesUp) {
    Start();
    KeyweaveUpdateMouseStatus(0.25f, 0.75f, KEYWEAVE_MOUSE_LEFT_DOWN, 0);
    KeyweaveUpdateMouseStatus(kNaN, 0.5f, KEYWEAVE_MOUSE_MOVE, 0);
    KeyweaveUpdateMouseStatus(640.0f, 360.0f, KEYWEAVE_MOUSE_MOVE, 0);  // pixels, not fractions
    KeyweaveUpdateMouseStatus(0.5f, -kInfinity, KEYWEAVE_MOUSE_LEFT_UP, 0);
    RunFor(0);
    EXPECT_EQ(host.Logs(), (Lines{
                               "Cannot use the mouse position: x nan is not a finite number",
                               "Cannot use the mouse position: x 640 is not between -1 and 2",
                               "Cannot use the mouse position: y -inf is not a finite number",
                           }));
    // The mouse finger (slot 13) went down and up where the button was pressed.
    EXPECT_TRUE(Testing::SameRows(Testing::RowsOfSlot(Testing::ChangedContacts(host.Frames(), clock.Now()), 13),
                                  {{0, 13, 0.25f, 0.75f, true}, {0, 13, 0.25f, 0.75f, false}}));
    EXPECT_TRUE(NoGarbage());
    EXPECT_TRUE(NoFingerDown());
}

TEST_F(CarelessCallsTest, GestureUpdatesThatAreNotNumbersOrOverflowAreRefusedAndTheGestureStillEnds) {
    Start();
    KeyweaveScrollBegin(0.5f, 0.5f);
    KeyweaveScrollUpdate(kNaN, 0.0f);
    KeyweaveScrollUpdate(3e38f, 0.0f);  // off the screen: a scroll is not clamped
    KeyweaveScrollUpdate(3e38f, 0.0f);  // beyond what a float holds
    KeyweaveScrollEnd();
    KeyweaveZoomBegin(0.5f, 0.5f);
    KeyweaveZoomUpdate(kInfinity);
    KeyweaveZoomUpdate(1e30f);
    KeyweaveZoomUpdate(1e30f);
    KeyweaveZoomEnd();
    EXPECT_EQ(host.Logs(), (Lines{
                               "Cannot update scroll: dx nan is not a finite number",
                               "Cannot update scroll: moving by 3e+38, 0 takes the finger beyond the numbers a "
                               "float holds",
                               "Cannot update zoom: scale inf is not a finite number",
                               "Cannot update zoom: scale 1e+30 takes the fingers beyond the numbers a float holds",
                           }));
    // Begin, the one update taken, end; for each gesture.
    const std::vector<Testing::Frame> frames = host.Frames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[1].points[0].x, 0.5f + 3e38f);
    for (const Testing::Frame& frame : frames) {
        for (const KeyweaveTouchPoint& point : frame.points)
            EXPECT_TRUE(std::isfinite(point.x) && std::isfinite(point.y));
    }
    EXPECT_EQ(frames[5].points[0].down + frames[5].points[1].down, 0u);
    EXPECT_TRUE(NoFingerDown());
}

TEST_F(CarelessCallsTest, InitRunsOnceAndCallsBeforeItLeaveOneLineEachOnTheDebugOutput) {
    KeyweaveHandleKey(57, 1);
    KeyweaveHandleKey(57, 0);
    EXPECT_EQ(GetParserVersion(), KEYWEAVE_PARSER_VERSION);
    const KeyweaveChar16 path[] = {'a', '.', 'b', '.', 'c', 'f', 'g', 0};
    EXPECT_EQ(WildCardConfigPath(path), path);
    KeyweaveFini();
    KeyweaveEmulateSwipe(0.5f, 0.5f, KEYWEAVE_SWIPE_UP);
    EXPECT_EQ(gEarlyLines, (Lines{
                               "Cannot KeyweaveHandleKey before KeyweaveInit",
                               "Cannot GetParserVersion before KeyweaveInit",
                               "Cannot WildCardConfigPath before KeyweaveInit",
                               "Cannot KeyweaveFini before KeyweaveInit",
                               "Cannot KeyweaveEmulateSwipe before KeyweaveInit",
                           }));

    Start();
    KeyweaveFini();
    RecordingHost second(&clock);
    Init(second);  // its log lines still come here: the log callback is the same
    EXPECT_EQ(host.Logs(),
              (Lines{"Finalizing Keyweave", "Cannot initialize Keyweave again: the engine is already running"}));
    // The engine goes on after KeyweaveFini, with the first call's callbacks.
    KeyweaveHandleKey(57, 1);
    KeyweaveHandleKey(57, 0);
    RunFor(0);
    EXPECT_EQ(host.Keys().size(), 2u);
    EXPECT_TRUE(second.Keys().empty() && second.Frames().empty() && second.Sensors().empty());
    EXPECT_EQ(gEarlyLines.size(), 5u) << "nothing more once the engine runs";
}

}  // namespace

HostInterface& CurrentInterface() { return *gInterface; }

}  // namespace Keyweave
