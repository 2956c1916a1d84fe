// What no play script can make the runtime do: a null report, and reports and
// ticks while no keymap is active (as while one loads). Databases, transforms,
// routing, stick ticks and attach and detach are the golden runs of
// tests/timelines/pad_*.play and of keyweave pad.
#include "gamepad/runtime.h"

#include <gtest/gtest.h>

#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Bench;
using Testing::Lines;
using Testing::Rest;

TEST(RuntimeTest, ANullReportIsRefusedAndChangesNothing) {
    Bench bench;
    bench.AttachPadOne(1);
    bench.host.ClearRecords();
    bench.runtime->Update(1, nullptr);
    EXPECT_EQ(bench.host.Logs(), Lines{"Cannot update GamePad ID 1: no report"});
    EXPECT_TRUE(bench.routing.Calls().empty());
    EXPECT_EQ(bench.runtime->StateOf(1), PadState{});
}

// Without a keymap every control is a direct action and the sticks wait; a
// stick centred meanwhile still owes its centred event, sent once.
TEST(RuntimeTest, WithoutAKeymapControlsAreDirectAndTheSticksWait) {
    Bench bench;
    bench.keymap.mGamePadKeys[kA] = 57;  // Space, once the keymap is active
    bench.AttachPadOne(1);
    Report report = Rest();
    report.buttons = 0x1;
    report.x = 300;
    report.y = -700;
    bench.Send(1, report);
    EXPECT_EQ(bench.routing.Take(), (Lines{"direct 0x100000 down", "direct 0x1 down"}));
    EXPECT_TRUE(bench.runtime->RunTickCycle());
    EXPECT_EQ(bench.routing.Take(), Lines{});

    bench.Activate();
    EXPECT_TRUE(bench.runtime->RunTickCycle());
    EXPECT_EQ(bench.routing.Take(), Lines{"stick left 300,-700 6"});
    report.buttons = 0;
    bench.Send(1, report);
    EXPECT_EQ(bench.routing.Take(), Lines{"key 57 up pad"});

    bench.Withdraw();
    bench.Send(1, Rest());
    EXPECT_EQ(bench.routing.Take(), Lines{"direct 0x100000 up"});
    EXPECT_TRUE(bench.runtime->RunTickCycle());
    EXPECT_EQ(bench.routing.Take(), Lines{});
    bench.Activate();
    EXPECT_TRUE(bench.runtime->RunTickCycle());
    EXPECT_TRUE(bench.runtime->RunTickCycle());
    EXPECT_EQ(bench.routing.Take(), Lines{"stick left 0,0 5"});
}

}  // namespace
}  // namespace Keyweave::GamePad
