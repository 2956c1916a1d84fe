// Action records: what a pad key works out from its direction. The dump text
// of every record a keymap makes is in the keymap goldens (tests/keymaps), and
// the values a keymap gives them too.
#include "actions/actions.h"

#include <gtest/gtest.h>

namespace Keyweave {
namespace {

TEST(ActionsTest, SwipeHoldDirectionGivesMaskAndAxis) {
    struct Case {
        uint32_t direction, mask;
        int32_t axis;
    };
    for (const Case& c : {Case{1, 1, -1}, Case{2, 2, 1}, Case{3, 4, -2}, Case{4, 8, 2}, Case{0, 0, 0}, Case{5, 0, 0}}) {
        const SwipeHoldAction pad({0.2f, 0.7f}, c.direction, 0.1f, 30);
        EXPECT_EQ(pad.directionMask, c.mask) << c.direction;
        EXPECT_EQ(pad.axis, c.axis) << c.direction;
        EXPECT_EQ(pad.lastPoint, (Point{-1, -1}));
        EXPECT_EQ(pad.currentPoint, pad.point);
        EXPECT_TRUE(pad.taskIds.empty());
    }
}

}  // namespace
}  // namespace Keyweave
