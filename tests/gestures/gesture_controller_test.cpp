// Scroll and zoom as the host sees them: the one- and two-finger reports, the
// zoom arithmetic, the frame entries left alone, and the refusal of calls that
// do not fit the gesture in progress.
#include "gestures/gesture_controller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_host.h"

namespace Keyweave {
namespace {

using Gesture = GestureController::Gesture;
using Testing::RecordingHost;

struct Contact {
    float x, y;
    uint32_t down;
};

// A controller on a frame whose entries all hold distinct leftovers, so that
// any entry the gestures should not touch shows it if they do.
struct Rig {
    Rig() {
        for (uint32_t i = 0; i < kTouchPointCount; ++i) {
            frame[i] = TouchPoint{0.05f * static_cast<float>(i) + 0.01f,
                                  0.9f - 0.05f * static_cast<float>(i), i % 2};
        }
        initial = frame;
        host.Attach(log);
        const HostCallbacks callbacks = host.Callbacks();
        gestures = std::make_unique<GestureController>(frame.data(), kTouchPointCount, frameLock,
                                                       callbacks.touch, callbacks.touchContext, log);
    }

    // Entries from `first` on still hold what the rig put there, byte for byte.
    void ExpectUntouchedFrom(uint32_t first) const {
        for (uint32_t i = first; i < kTouchPointCount; ++i) {
            EXPECT_EQ(std::memcmp(&frame[i], &initial[i], sizeof(TouchPoint)), 0) << "entry " << i;
        }
    }

    RecordingHost host;
    Log log;
    TouchFrame frame{};
    Platform::Lock frameLock;
    TouchFrame initial{};
    std::unique_ptr<GestureController> gestures;
};

// One report: its contacts in order, positions within float rounding.
void ExpectReport(const Testing::Frame& report, const std::vector<Contact>& expected) {
    ASSERT_EQ(report.points.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TouchPoint point = report.points[i];
        EXPECT_NEAR(point.x, expected[i].x, 1e-6) << "contact " << i;
        EXPECT_NEAR(point.y, expected[i].y, 1e-6) << "contact " << i;
        EXPECT_EQ(point.down, expected[i].down) << "contact " << i;
    }
}

class GestureTest : public ::testing::Test, protected Rig {};

// A scroll and a zoom of scale 2 played in order, with a refused second end, are
// the racer keymap's gesture golden run.
TEST_F(GestureTest, ScrollIsOneFingerGoingDownMovingAndLifting) {
    gestures->ScrollBegin(0.25f, 0.75f);
    gestures->ScrollUpdate(0.1f, -0.2f);
    gestures->ScrollUpdate(0.9f, 0.0f);  // off the right edge: nothing is clamped
    gestures->ScrollEnd();

    const auto reports = host.Frames();
    ASSERT_EQ(reports.size(), 4u);
    ExpectReport(reports[0], {{0.25f, 0.75f, 1}});
    ExpectReport(reports[1], {{0.35f, 0.55f, 1}});
    ExpectReport(reports[2], {{1.25f, 0.55f, 1}});
    ExpectReport(reports[3], {{0.0f, 0.0f, 0}});
    ExpectUntouchedFrom(1);
    EXPECT_EQ(gestures->CurrentGesture(), Gesture::None);
    EXPECT_TRUE(host.Logs().empty());
}

TEST_F(GestureTest, ZoomKeepsItsCentreWhileTheDistanceFollowsTheScales) {
    gestures->ZoomBegin(0.3f, 0.6f);
    gestures->ZoomUpdate(1.0f);  // the same frame again, byte for byte
    const auto reports = host.Frames();
    ASSERT_EQ(reports.size(), 2u);
    ASSERT_EQ(reports[1].points.size(), 2u);
    EXPECT_EQ(std::memcmp(reports[0].points.data(), reports[1].points.data(), 2 * sizeof(TouchPoint)), 0);
    double distance = 0.4;
    for (float scale : {1.5f, 0.8f, 3.0f, 0.25f}) {
        SCOPED_TRACE(scale);
        gestures->ZoomUpdate(scale);
        distance *= scale;
        const TouchPoint right = host.Frames().back().points.at(0);
        const TouchPoint left = host.Frames().back().points.at(1);
        EXPECT_NEAR((right.x + left.x) / 2, 0.3, 1e-6);
        EXPECT_NEAR(right.x - left.x, distance, 1e-6);
        EXPECT_FLOAT_EQ(right.y, 0.6f);
        EXPECT_FLOAT_EQ(left.y, 0.6f);
        EXPECT_EQ(right.down, 1u);
        EXPECT_EQ(left.down, 1u);
    }
}

TEST_F(GestureTest, NegativeScaleCrossesTheFingersAndLaterUpdatesUseTheUnsignedDistance) {
    gestures->ZoomBegin(0.5f, 0.5f);
    gestures->ZoomUpdate(-1.0f);
    // The fingers are now 0.4 apart with entry 0 on the left; doubling moves
    // each of them by a quarter of that distance in its old outward direction,
    // which now brings them together.
    gestures->ZoomUpdate(2.0f);

    const auto reports = host.Frames();
    ASSERT_EQ(reports.size(), 3u);
    ExpectReport(reports[1], {{0.3f, 0.5f, 1}, {0.7f, 0.5f, 1}});
    ExpectReport(reports[2], {{0.5f, 0.5f, 1}, {0.5f, 0.5f, 1}});
}

TEST_F(GestureTest, GesturesFollowOneAnotherOnceEachHasEnded) {
    gestures->ScrollBegin(0.1f, 0.1f);
    gestures->ScrollEnd();
    gestures->ZoomBegin(0.5f, 0.4f);
    gestures->ZoomEnd();
    gestures->ScrollBegin(0.6f, 0.7f);

    std::vector<size_t> contacts;
    for (const auto& report : host.Frames()) contacts.push_back(report.points.size());
    EXPECT_EQ(contacts, (std::vector<size_t>{1, 1, 2, 2, 1}));
    EXPECT_TRUE(host.Logs().empty());
    EXPECT_EQ(gestures->CurrentGesture(), Gesture::Scroll);
    // The scroll finger is entry 0 alone; entry 1 keeps the zoom's lift.
    EXPECT_EQ(frame[1].down, 0u);
    EXPECT_EQ(frame[1].x, 0.0f);
    ExpectUntouchedFrom(2);
}

// The host is handed the shared frame itself, from its first entry, with flag 0.
struct CapturedReport {
    const KeyweaveTouchPoint* points = nullptr;
    uint32_t count = 0;
    uint32_t flag = 99;
    int calls = 0;
};

void Capture(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag) {
    auto* captured = static_cast<CapturedReport*>(context);
    *captured = {points, count, flag, captured->calls + 1};
}

TEST(GestureReportTest, HandsTheHostTheSharedFrameOnTheCallingThread) {
    TouchFrame frame{};
    Log log;
    CapturedReport captured;
    Platform::Lock frameLock;
    GestureController gestures(frame.data(), kTouchPointCount, frameLock, &Capture, &captured, log);
    gestures.ZoomBegin(0.5f, 0.5f);
    EXPECT_EQ(captured.calls, 1);  // reported before ZoomBegin returned
    EXPECT_EQ(captured.points, frame.data());
    EXPECT_EQ(captured.count, 2u);
    EXPECT_EQ(captured.flag, 0u);

    // Without a touch callback the frame is still written.
    TouchFrame silentFrame{};
    GestureController silent(silentFrame.data(), kTouchPointCount, frameLock, nullptr, nullptr, log);
    silent.ScrollBegin(0.3f, 0.4f);
    EXPECT_FLOAT_EQ(silentFrame[0].x, 0.3f);
    EXPECT_EQ(silentFrame[0].down, 1u);
    EXPECT_EQ(silent.CurrentGesture(), Gesture::Scroll);
}

// Every call that does not fit the gesture in progress.
struct Refusal {
    Gesture before;
    std::function<void(GestureController&)> call;
    std::string line;
};

TEST(GestureRefusalTest, OutOfOrderCallsAreLoggedAndChangeNothing) {
    const std::vector<Refusal> refusals = {
        {Gesture::None, [](auto& g) { g.ScrollUpdate(0.1f, 0.1f); }, "Cannot update scroll with current gesture = 0"},
        {Gesture::None, [](auto& g) { g.ScrollEnd(); }, "Cannot end scroll with current gesture = 0"},
        {Gesture::None, [](auto& g) { g.ZoomUpdate(2.0f); }, "Cannot update zoom with current gesture = 0"},
        {Gesture::None, [](auto& g) { g.ZoomEnd(); }, "Cannot end zoom with current gesture = 0"},
        {Gesture::Scroll, [](auto& g) { g.ScrollBegin(0.2f, 0.2f); }, "Cannot begin scroll with current gesture = 1"},
        {Gesture::Scroll, [](auto& g) { g.ZoomBegin(0.2f, 0.2f); }, "Cannot begin zoom with current gesture = 1"},
        {Gesture::Scroll, [](auto& g) { g.ZoomUpdate(2.0f); }, "Cannot update zoom with current gesture = 1"},
        {Gesture::Scroll, [](auto& g) { g.ZoomEnd(); }, "Cannot end zoom with current gesture = 1"},
        {Gesture::Zoom, [](auto& g) { g.ZoomBegin(0.2f, 0.2f); }, "Cannot begin zoom with current gesture = 2"},
        {Gesture::Zoom, [](auto& g) { g.ScrollBegin(0.2f, 0.2f); }, "Cannot begin scroll with current gesture = 2"},
        {Gesture::Zoom, [](auto& g) { g.ScrollUpdate(0.1f, 0.1f); }, "Cannot update scroll with current gesture = 2"},
        {Gesture::Zoom, [](auto& g) { g.ScrollEnd(); }, "Cannot end scroll with current gesture = 2"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.line);
        Rig rig;
        if (refusal.before == Gesture::Scroll) rig.gestures->ScrollBegin(0.4f, 0.6f);
        if (refusal.before == Gesture::Zoom) rig.gestures->ZoomBegin(0.5f, 0.5f);
        const TouchFrame beforeCall = rig.frame;
        const size_t reports = rig.host.Frames().size();

        refusal.call(*rig.gestures);

        EXPECT_EQ(rig.host.Logs(), std::vector<std::string>{refusal.line});
        EXPECT_EQ(rig.host.Frames().size(), reports);
        EXPECT_EQ(std::memcmp(&rig.frame, &beforeCall, sizeof(TouchFrame)), 0);
        EXPECT_EQ(rig.gestures->CurrentGesture(), refusal.before);

        // The gesture in progress is intact: it still ends with its lift.
        if (refusal.before == Gesture::Scroll) rig.gestures->ScrollEnd();
        if (refusal.before == Gesture::Zoom) rig.gestures->ZoomEnd();
        EXPECT_EQ(rig.gestures->CurrentGesture(), Gesture::None);
        EXPECT_EQ(rig.host.Logs().size(), 1u);
        if (refusal.before != Gesture::None) {
            EXPECT_EQ(rig.host.Frames().size(), reports + 1);
            EXPECT_EQ(rig.host.Frames().back().points.at(0).down, 0u);
        }
    }
}

}  // namespace
}  // namespace Keyweave
