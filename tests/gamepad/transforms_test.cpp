// Raw reports through the transforms a database gives a pad: the hat from each
// of its sources, sticks and triggers from axes, buttons from buttons.
#include "gamepad/transforms.h"

#include <gtest/gtest.h>

#include <string>

#include "gamepad/database_reader.h"
#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Rest;

class TransformsTest : public ::testing::Test {
protected:
    // A device whose database entry holds `rules`.
    Device Prepared(const std::string& rules) {
        Device device(1, 0x1a2b, 0x3c4d, files.Write("pads.db", "[Hardware]\n1a2b:3c4d = Pad\n[Pad]\n" + rules));
        EXPECT_TRUE(Prepare(device, log)) << rules;
        return device;
    }

    Keyweave::Testing::ScratchDir files;
    Log log;  // no sink: the reader's lines are not under test here
};

struct HatCase {
    int32_t input;
    int32_t x, y;
};

void ExpectHat(Device& device, const HatCase& test, Report report) {
    ApplyTransforms(device, report);
    EXPECT_EQ(device.current.hatX, test.x);
    EXPECT_EQ(device.current.hatY, test.y);
}

TEST_F(TransformsTest, HatFromTheReportAngle) {
    Device device = Prepared("H = H\n");
    // The angles as the public header names them for hosts.
    const HatCase cases[] = {
        {KEYWEAVE_PAD_HAT_UP, 0, -1},         {KEYWEAVE_PAD_HAT_UP_RIGHT, 1, -1},  {KEYWEAVE_PAD_HAT_RIGHT, 1, 0},
        {KEYWEAVE_PAD_HAT_DOWN_RIGHT, 1, 1},  {KEYWEAVE_PAD_HAT_DOWN, 0, 1},       {KEYWEAVE_PAD_HAT_DOWN_LEFT, -1, 1},
        {KEYWEAVE_PAD_HAT_LEFT, -1, 0},       {KEYWEAVE_PAD_HAT_UP_LEFT, -1, -1},  {KEYWEAVE_PAD_HAT_CENTRED, 0, 0},
        {65535, 0, 0},                        {30, 0, 0},                          {360, 0, 0},
    };
    for (const HatCase& test : cases) {
        SCOPED_TRACE(test.input);
        Report report = Rest();
        report.hat = test.input;
        ExpectHat(device, test, report);
    }
}

TEST_F(TransformsTest, HatFromThePrimaryAxesBeyondHalfWay) {
    Device device = Prepared("A = H\n");
    const HatCase cases[] = {
        {501, 1, 1}, {500, 0, 0}, {-501, -1, -1}, {-500, 0, 0}, {1000, 1, 1}, {0, 0, 0},
    };
    for (const HatCase& test : cases) {
        SCOPED_TRACE(test.input);
        Report report = Rest();
        report.x = test.input;
        report.y = test.input;
        ExpectHat(device, test, report);
    }
    // The hat angle is not a source for this pad.
    Report report = Rest();
    report.hat = 90;
    ExpectHat(device, {90, 0, 0}, report);
}

TEST_F(TransformsTest, HatFromButtons) {
    Device device = Prepared("B_13 = H_U\nB_14 = H_D\nB_15 = H_L\nB_16 = H_R\n");
    constexpr int32_t kUp = 1 << 12, kDown = 1 << 13, kLeft = 1 << 14, kRight = 1 << 15;
    const HatCase cases[] = {
        {kUp, 0, -1},        {kDown | kRight, 1, 1}, {kUp | kLeft, -1, -1},
        {kUp | kDown, 0, 0}, {kLeft | kRight, 0, 0}, {0, 0, 0},
        {1 << 11, 0, 0},  // a neighbouring button is not a direction
    };
    for (const HatCase& test : cases) {
        SCOPED_TRACE(test.input);
        Report report = Rest();
        report.buttons = test.input;
        ExpectHat(device, test, report);
    }
}

TEST_F(TransformsTest, HatSourcesRankReportHatThenAxesThenButtons) {
    Report report = Rest();
    report.hat = 270;        // left
    report.x = 1000;         // right
    report.buttons = 1 << 1;  // B_2: down
    Device all = Prepared("B_2 = H_D\nA = H\nH = H\n");
    ExpectHat(all, {0, -1, 0}, report);
    Device axesAndButtons = Prepared("B_2 = H_D\nA = H\n");
    ExpectHat(axesAndButtons, {0, 1, 0}, report);
    Device none = Prepared("B_1 = A\n");
    ExpectHat(none, {0, 0, 0}, report);
}

TEST_F(TransformsTest, OneAxisDrivesBothTriggers) {
    Device device = Prepared("A_Z = LT_RT\n");
    struct Case {
        int32_t z;
        int32_t buttons;
    };
    const Case cases[] = {
        {600, kLeftTrigger}, {-600, kRightTrigger}, {0, 0}, {501, kLeftTrigger}, {500, 0}, {-501, kRightTrigger},
        {-500, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.z);
        Report report = Rest();
        report.z = test.z;
        ApplyTransforms(device, report);
        EXPECT_EQ(device.current.buttons, test.buttons);
    }
}

TEST_F(TransformsTest, ASingleTriggerAxisIsHeldAboveZero) {
    Device device = Prepared("A_Z = LT\nAR_Z = RT\n");
    struct Case {
        int32_t z, rz;
        int32_t buttons;
    };
    const Case cases[] = {
        {1, 0, kLeftTrigger}, {0, 0, 0}, {-1000, 0, 0}, {1000, 1, kLeftTrigger | kRightTrigger}, {-1, 1, kRightTrigger},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.z);
        Report report = Rest();
        report.z = test.z;
        report.rz = test.rz;
        ApplyTransforms(device, report);
        EXPECT_EQ(device.current.buttons, test.buttons);
    }
}

TEST_F(TransformsTest, SticksAreCopiedAndStateBeforeIsKept) {
    Device device = Prepared("A_X = LS_X\nA_Y = LS_Y\nAR_X = RS_X\nAR_Y = RS_Y\nB_1 = A\nB_8 = Start\n");
    Report report = Rest();
    report.x = 123;
    report.y = -1000;
    report.rx = -7;
    report.ry = 999;
    report.z = 800;  // no transform
    report.buttons = 0x81;
    ApplyTransforms(device, report);
    const PadState first{kA | kStart, 0, 0, 123, -1000, -7, 999};
    EXPECT_EQ(device.current, first);
    EXPECT_EQ(device.previous, PadState{});

    report = Rest();
    report.buttons = 0x80;
    ApplyTransforms(device, report);
    EXPECT_EQ(device.previous, first);
    EXPECT_EQ(device.current, (PadState{kStart, 0, 0, 0, 0, 0, 0}));
}

TEST_F(TransformsTest, RawButtonWithoutTransformNeverChangesTheButtons) {
    Device device = Prepared("B_1 = A\nB_2 = LS_X\n");  // a stick axis is no button
    Report report = Rest();
    for (int32_t raw : {0x2, 0x4, 0x40000000, static_cast<int32_t>(0x80000000u), ~1}) {
        SCOPED_TRACE(raw);
        report.buttons = raw;
        ApplyTransforms(device, report);
        EXPECT_EQ(device.current.buttons, 0);
    }
    // Fields no transform writes keep their last values: the sticks stay 0
    // even with every axis deflected.
    report = Rest();
    report.x = report.y = report.rx = report.ry = 1000;
    report.buttons = 1;
    ApplyTransforms(device, report);
    EXPECT_EQ(device.current, (PadState{kA, 0, 0, 0, 0, 0, 0}));
}

TEST_F(TransformsTest, LaterTransformsWin) {
    // Axes go in ascending source order (Y after X), then buttons after axes.
    Device device = Prepared("A_Y = LS_X\nA_X = LS_X\nA_Z = LT\nB_3 = LT\nB_4 = LT_RT\n");
    Report report = Rest();
    report.x = 10;
    report.y = 20;
    report.z = 1000;  // the axis holds LT ...
    ApplyTransforms(device, report);
    EXPECT_EQ(device.current.leftX, 20);
    EXPECT_EQ(device.current.buttons, 0);  // ... and B_3, then B_4, let it go

    report.buttons = 0x8;  // B_4: both triggers
    ApplyTransforms(device, report);
    EXPECT_EQ(device.current.buttons, kBothTriggers);
}

}  // namespace
}  // namespace Keyweave::GamePad
