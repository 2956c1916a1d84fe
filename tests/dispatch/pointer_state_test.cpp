// The shared pointer and stick state, and the arithmetic that turns it into
// touch positions, on a 1920 x 1080 screen (aspect 16 / 9). A stick pushed
// along the edge of its circle is in the stick-hold timeline.
#include <gtest/gtest.h>

#include <cmath>

#include "actions/touch_actions.h"
#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;

constexpr float kAspect = 1920.0f / 1080.0f;
constexpr float kTolerance = 1e-5f;

void ExpectPoint(Point actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, kTolerance);
    EXPECT_NEAR(actual.y, y, kTolerance);
}

class PointerStateTest : public ::testing::Test, protected PointerBench {};

TEST_F(PointerStateTest, SettersKeepTheirValuesAndIgnoreWhatIsNotTheirs) {
    EXPECT_EQ(d().ScreenCentre().point, (Point{0.5f, 0.5f}));
    EXPECT_EQ(d().ScreenCentre().stretch, 0.0f);

    d().SetMousePosition(0.25f, 0.75f);
    EXPECT_EQ(d().MousePosition(), (Point{0.25f, 0.75f}));

    d().SetStickPosition(GamePad::kLeftStick, 0.5f, -0.5f);
    d().SetStickPosition(GamePad::kRightStick, -1.0f, 1.0f);
    d().SetStickPosition(GamePad::kA, 0.3f, 0.3f);  // not a stick: changes nothing
    EXPECT_EQ(d().StickPosition(GamePad::kLeftStick), (Point{0.5f, -0.5f}));
    EXPECT_EQ(d().StickPosition(GamePad::kRightStick), (Point{-1.0f, 1.0f}));
    EXPECT_EQ(d().StickPosition(GamePad::kA), (Point{0.0f, 0.0f}));

    const ScreenAction centre({0.4f, 0.6f}, 1.5f);
    d().SetScreenCentre(&centre);
    d().SetScreenCentre(nullptr);  // a keymap without one keeps the last
    EXPECT_EQ(d().ScreenCentre().point, (Point{0.4f, 0.6f}));
    EXPECT_EQ(d().ScreenCentre().stretch, 1.5f);
}

TEST_F(PointerStateTest, StickPointMovesByTheDeflectionAndStretchesTheVerticalOffset) {
    const Point centre{5000.0f, 5000.0f};
    Point current = centre;
    d().SetStickPosition(GamePad::kRightStick, 0.5f, 0.0f);
    ExpectPoint(d().StickPoint(GamePad::kRightStick, centre, current, 1000.0f, 1000.0f, true), 0.55f, 0.5f);
    ExpectPoint(current, 5500.0f, 5000.0f);

    // Kept offsets add up; the vertical one shows stretched by the aspect.
    d().SetStickPosition(GamePad::kRightStick, 0.0f, 0.3f);
    ExpectPoint(d().StickPoint(GamePad::kRightStick, centre, current, 1000.0f, 1000.0f, true), 0.55f,
                (300.0f * kAspect + 5000.0f) / 10000.0f);
    ExpectPoint(current, 5500.0f, 5300.0f);

    // Without keep the point is reported but the finger's position goes home.
    d().SetStickPosition(GamePad::kRightStick, 0.1f, 0.0f);
    ExpectPoint(d().StickPoint(GamePad::kRightStick, centre, current, 1000.0f, 1000.0f, false), 0.56f,
                (300.0f * kAspect + 5000.0f) / 10000.0f);
    ExpectPoint(current, 5000.0f, 5000.0f);
}

TEST_F(PointerStateTest, StickPointOfAnUnknownStickOffsetsByTheRadius) {
    const Point centre{5000.0f, 5000.0f};
    Point current = centre;
    d().SetStickPosition(GamePad::kRightStick, 0.9f, 0.9f);  // not read
    d().StickPoint(GamePad::kHatUp, centre, current, 300.0f, 7.0f, true);
    const float leg = 300.0f / std::sqrt(2.0f);  // (300, 300) is outside the circle
    ExpectPoint(current, 5000.0f + leg, 5000.0f + leg);
}

TEST_F(PointerStateTest, StickPointOnAPortraitScreenSquashesTheVerticalOffset) {
    Dispatcher portrait(frame.data(), kTouchPointCount, nullptr, nullptr, nullptr, nullptr, scheduler, 1080, 1920, log,
                        *input);
    const Point centre{5000.0f, 5000.0f};
    Point current = centre;
    portrait.SetStickPosition(GamePad::kLeftStick, 0.0f, 0.4f);
    ExpectPoint(portrait.StickPoint(GamePad::kLeftStick, centre, current, 1000.0f, 1000.0f, true), 0.5f,
                (400.0f * 1080.0f / 1920.0f + 5000.0f) / 10000.0f);
}

TEST_F(PointerStateTest, MousePointScalesThePointerOffsetFromTheScreenCentre) {
    // Radius 45 percent: an offset of 0.45 from the reference reaches the circle.
    Mouse(0.52f, 0.5f);
    auto placed = d().MousePoint({0.5f, 0.5f}, 45.0f, 0.0f, false);
    ExpectPoint(placed.point, 0.52f, 0.5f);
    EXPECT_NEAR(placed.distance, 200.0f, 0.01f);

    // Forced onto the circle; the distance reported is the one before.
    placed = d().MousePoint({0.5f, 0.5f}, 45.0f, 0.0f, true);
    ExpectPoint(placed.point, 0.95f, 0.5f);
    EXPECT_NEAR(placed.distance, 200.0f, 0.01f);

    // Radius 10: the same offset counts 10 / 45 as much, around another centre.
    Mouse(0.5f, 0.545f);
    placed = d().MousePoint({0.3f, 0.3f}, 10.0f, 0.0f, false);
    EXPECT_NEAR(placed.distance, 100.0f, 0.01f);
    ExpectPoint(placed.point, 0.3f, (100.0f * kAspect + 3000.0f) / 10000.0f);
    // An explicit aspect replaces the screen's.
    ExpectPoint(d().MousePoint({0.3f, 0.3f}, 10.0f, 2.0f, false).point, 0.3f, 0.32f);
}

TEST_F(PointerStateTest, MousePointStopsAtTheRadiusAndFollowsACustomCentre) {
    Mouse(1.0f, 0.5f);  // 0.5 from the reference: 1111 units at radius 10
    auto placed = d().MousePoint({0.5f, 0.5f}, 10.0f, 1.0f, false);
    EXPECT_NEAR(placed.distance, 10000.0f / 9.0f, 0.05f);
    ExpectPoint(placed.point, 0.6f, 0.5f);

    // A custom screen centre is the reference the offset is taken from.
    Mouse(0.5f, 0.5f);
    const ScreenAction centre({0.05f, 0.5f}, 1.0f);
    d().SetScreenCentre(&centre);
    placed = d().MousePoint({0.5f, 0.5f}, 45.0f, 1.0f, false);
    ExpectPoint(placed.point, 0.95f, 0.5f);

    // The pointer on the reference has no direction: it stays on the centre.
    Mouse(0.05f, 0.5f);
    placed = d().MousePoint({0.5f, 0.5f}, 45.0f, 1.0f, true);
    ExpectPoint(placed.point, 0.5f, 0.5f);
    EXPECT_EQ(placed.distance, 0.0f);
}

}  // namespace
}  // namespace Keyweave
