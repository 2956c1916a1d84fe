// The stick point of a control that is no stick. The stick actions'
// timelines are the golden runs tests/timelines/pad_sticks.play and
// pad_tap_stick.play.
#include <cmath>
#include <gtest/gtest.h>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

using Testing::PointerBench;

class StickSequencesTest : public ::testing::Test, protected PointerBench {};

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
