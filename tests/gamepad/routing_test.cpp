// What a report makes happen: stick and hat directions as presses and
// releases, buttons in bit order, keys or direct actions from the keymap, and
// tilt instead of left-stick directions.
#include "gamepad/pad_router.h"

#include <gtest/gtest.h>

#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Lines;
using Testing::Rest;

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override { bench.AttachPadOne(1); }

    // Sends a report and returns what it routed.
    Lines Send(const Report& report) {
        bench.Send(1, report);
        return bench.routing.Take();
    }
    Lines LeftStick(int32_t x, int32_t y) {
        Report report = Rest();
        report.x = x;
        report.y = y;
        return Send(report);
    }
    Lines Hat(int32_t degrees) {
        Report report = Rest();
        report.hat = degrees;
        return Send(report);
    }

    Testing::Bench bench;
};

TEST_F(RoutingTest, LeftStickDirectionsAreHeldBeyondHalfWayAndReleasedFirst) {
    EXPECT_EQ(LeftStick(0, -400), Lines{});
    EXPECT_EQ(LeftStick(0, -600), Lines{"direct 0x100000 down"});
    EXPECT_EQ(LeftStick(0, -600), Lines{});
    EXPECT_EQ(LeftStick(0, 0), Lines{"direct 0x100000 up"});
    LeftStick(0, -600);
    EXPECT_EQ(LeftStick(0, 600), (Lines{"direct 0x100000 up", "direct 0x200000 down"}));
    EXPECT_EQ(LeftStick(0, -600), (Lines{"direct 0x200000 up", "direct 0x100000 down"}));
    LeftStick(-600, 0);  // up released, left pressed
    EXPECT_EQ(LeftStick(600, 0), (Lines{"direct 0x400000 up", "direct 0x800000 down"}));
    // Vertical before horizontal.
    EXPECT_EQ(LeftStick(-700, 700), (Lines{"direct 0x200000 down", "direct 0x800000 up", "direct 0x400000 down"}));
}

TEST_F(RoutingTest, HalfWayItselfIsNotBeyond) {
    EXPECT_EQ(LeftStick(500, 500), Lines{});
    EXPECT_EQ(LeftStick(501, 501), (Lines{"direct 0x200000 down", "direct 0x800000 down"}));
    EXPECT_EQ(LeftStick(500, 500), (Lines{"direct 0x200000 up", "direct 0x800000 up"}));
    EXPECT_EQ(LeftStick(-500, -500), Lines{});
    EXPECT_EQ(LeftStick(-501, -500), Lines{"direct 0x400000 down"});
}

TEST_F(RoutingTest, HatDirectionsFollowTheHat) {
    EXPECT_EQ(Hat(0), Lines{"direct 0x10000 down"});
    EXPECT_EQ(Hat(90), (Lines{"direct 0x10000 up", "direct 0x80000 down"}));
    EXPECT_EQ(Hat(135), Lines{"direct 0x20000 down"});
    EXPECT_EQ(Hat(315), (Lines{"direct 0x20000 up", "direct 0x10000 down", "direct 0x80000 up",
                               "direct 0x40000 down"}));
    EXPECT_EQ(Hat(65535), (Lines{"direct 0x10000 up", "direct 0x40000 up"}));
}

TEST_F(RoutingTest, ButtonsThatChangedGoInBitOrder) {
    Report report = Rest();
    report.buttons = 0x80 | 0x1;  // B_8 Start, B_1 A
    EXPECT_EQ(Send(report), (Lines{"direct 0x1 down", "direct 0x800 down"}));
    report.buttons = 0x80 | 0x2;  // A let go, B pressed, Start held
    EXPECT_EQ(Send(report), (Lines{"direct 0x1 up", "direct 0x2 down"}));
    report.buttons = 0;
    report.z = 1000;  // the left trigger, from an axis
    EXPECT_EQ(Send(report), (Lines{"direct 0x2 up", "direct 0x40 down", "direct 0x800 up"}));
}

TEST_F(RoutingTest, OneReportRoutesStickThenHatThenButtons) {
    Report report = Rest();
    report.y = -1000;
    report.hat = 180;
    report.buttons = 0x1;
    EXPECT_EQ(Send(report), (Lines{"direct 0x100000 down", "direct 0x20000 down", "direct 0x1 down"}));
}

TEST_F(RoutingTest, KeymapMapsControlsToKeysFromThePad) {
    bench.keymap.mGamePadKeys[kA] = 57;               // Space
    bench.keymap.mGamePadKeys[kLeftStickUp] = 0xE048;  // up arrow
    bench.Activate();
    Report report = Rest();
    report.buttons = 0x3;  // A and B
    report.y = -900;
    EXPECT_EQ(Send(report), (Lines{"key 57416 down pad", "key 57 down pad", "direct 0x2 down"}));
    report = Rest();
    EXPECT_EQ(Send(report), (Lines{"key 57416 up pad", "key 57 up pad", "direct 0x2 up"}));

    // While a keymap is being replaced there is none: everything is direct.
    bench.Withdraw();
    report.buttons = 0x1;
    EXPECT_EQ(Send(report), Lines{"direct 0x1 down"});
}

TEST_F(RoutingTest, LeftStickTiltsInsteadOfRoutingDirections) {
    bench.keymap.mGamePadTilt = true;
    bench.Activate();
    EXPECT_EQ(LeftStick(500, -500), Lines{"tilt 500,-500"});
    EXPECT_EQ(LeftStick(0, -1000), Lines{});  // on an axis: nothing, the last vector stays
    EXPECT_EQ(LeftStick(-1, 1), Lines{"tilt -1,1"});
    // The hat and buttons still route.
    Report report = Rest();
    report.x = 300;
    report.y = 200;
    report.hat = 270;
    EXPECT_EQ(Send(report), (Lines{"tilt 300,200", "direct 0x40000 down"}));

    // Tilt is the keymap's: without one the stick has directions again.
    bench.Withdraw();
    EXPECT_EQ(LeftStick(0, -1000), (Lines{"direct 0x100000 down", "direct 0x40000 up"}));
}

}  // namespace
}  // namespace Keyweave::GamePad
