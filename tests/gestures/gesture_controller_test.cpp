// Scroll and zoom as the host's touch callback receives them: the shared
// frame itself, on the calling thread, and the frame written even without a
// callback. What the gestures do is the golden run tests/timelines/gestures.play.
#include "gestures/gesture_controller.h"

#include <gtest/gtest.h>

namespace Keyweave {
namespace {

using Gesture = GestureController::Gesture;

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

}  // namespace
}  // namespace Keyweave
