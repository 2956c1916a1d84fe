// The stick tick stepped by hand, one cycle at a time, as the engine does on a
// manual clock: phases, one centred event and then silence, nothing while no
// keymap is active, and the end of the tick with its pad.
#include "gamepad/stick_ticker.h"

#include <gtest/gtest.h>

#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Lines;
using Testing::Rest;

class StickTickTest : public ::testing::Test {
protected:
    StickTickTest() {
        bench.AttachPadOne(1);
        bench.routing.Take();
        bench.host.ClearRecords();
    }

    // Left stick on X/Y, right stick on Rx/Ry.
    void Sticks(int32_t leftX, int32_t leftY, int32_t rightX, int32_t rightY, int32_t id = 1) {
        Report report = Rest();
        report.x = leftX;
        report.y = leftY;
        report.rx = rightX;
        report.ry = rightY;
        bench.Send(id, report);
        bench.routing.Take();  // the direction presses are not under test here
    }
    // One cycle of every pad; what it sent.
    Lines Tick() {
        EXPECT_TRUE(bench.runtime->RunTickCycle());
        return bench.routing.Take();
    }

    Testing::Bench bench;
};

TEST_F(StickTickTest, OffCentreEveryCycleThenOneCentredEventThenSilence) {
    bench.Activate();
    EXPECT_EQ(Tick(), Lines{});  // attached with both sticks at rest: nothing

    Sticks(300, -700, 0, 0);
    EXPECT_EQ(Tick(), Lines{"stick left 300,-700 6"});
    EXPECT_EQ(Tick(), Lines{"stick left 300,-700 6"});

    Sticks(300, -700, 0, 900);
    EXPECT_EQ(Tick(), (Lines{"stick left 300,-700 6", "stick right 0,900 4"}));

    Sticks(0, 0, -20, 900);
    EXPECT_EQ(Tick(), (Lines{"stick left 0,0 5", "stick right -20,900 4"}));
    EXPECT_EQ(Tick(), Lines{"stick right -20,900 4"});

    Sticks(0, 0, 0, 0);
    EXPECT_EQ(Tick(), Lines{"stick right 0,0 3"});
    EXPECT_EQ(Tick(), Lines{});
    EXPECT_EQ(Tick(), Lines{});

    // Leaving the centre again starts over.
    Sticks(1, 0, 0, 0);
    EXPECT_EQ(Tick(), Lines{"stick left 1,0 6"});
    EXPECT_TRUE(bench.host.Logs().empty());
}

TEST_F(StickTickTest, NothingIsSentWhileNoKeymapIsActive) {
    Sticks(300, -700, 0, 0);
    EXPECT_EQ(Tick(), Lines{});
    EXPECT_EQ(Tick(), Lines{});

    bench.Activate();
    EXPECT_EQ(Tick(), Lines{"stick left 300,-700 6"});

    // Withdrawn while the stick is off centre, and the stick centres
    // meanwhile: the centred event is still owed and comes once, later.
    bench.Withdraw();
    Sticks(0, 0, 0, 0);
    EXPECT_EQ(Tick(), Lines{});
    bench.Activate();
    EXPECT_EQ(Tick(), Lines{"stick left 0,0 5"});
    EXPECT_EQ(Tick(), Lines{});
}

TEST_F(StickTickTest, EveryPadSendsTheLatestSticksOfAnyPad) {
    bench.runtime->Attach(2, 0x1234, 0x5678, bench.database);  // the generic entry: left stick only
    bench.Activate();
    Sticks(0, 0, 0, 0);
    Sticks(-400, 250, 0, 0, 2);
    EXPECT_EQ(Tick(), (Lines{"stick left -400,250 6", "stick left -400,250 6"}));
    Sticks(0, 600, 0, 0, 1);
    EXPECT_EQ(Tick(), (Lines{"stick left 0,600 6", "stick left 0,600 6"}));
}

TEST_F(StickTickTest, DetachRunsTheLastCycleAndEndsTheTick) {
    bench.Activate();
    Sticks(0, 900, 0, 0);
    EXPECT_EQ(Tick(), Lines{"stick left 0,900 6"});

    bench.runtime->Detach(1);
    // The ending cycle still sends, then finds its pad gone.
    EXPECT_EQ(bench.routing.Take(), Lines{"stick left 0,900 6"});
    EXPECT_EQ(bench.host.Logs(), (Lines{"Device is detach!  Id:1 stop thread", "Detaching GamePad ID 1"}));
    EXPECT_EQ(Tick(), Lines{});
    EXPECT_EQ(bench.host.Logs().size(), 2u);
}

TEST_F(StickTickTest, DetachEndsTheTickEvenWithoutAKeymap) {
    Sticks(0, 900, 0, 0);
    bench.runtime->Detach(1);
    EXPECT_EQ(bench.routing.Take(), Lines{});
    EXPECT_EQ(bench.host.Logs(), (Lines{"Device is detach!  Id:1 stop thread", "Detaching GamePad ID 1"}));
    EXPECT_FALSE(bench.runtime->IsTicking(1));
}

TEST_F(StickTickTest, ATickerEndsOnceWhicheverCycleFindsItGone) {
    // A ticker driven directly: its pad's presence is whatever the test says.
    bool present = true;
    const StickState sticks;
    StickTicker ticker(7, sticks, bench.configuration, bench.routing, bench.log,
                       [&](const StickTicker&) { return present; });
    EXPECT_TRUE(ticker.Cycle());
    present = false;
    EXPECT_FALSE(ticker.Cycle());
    EXPECT_TRUE(ticker.Ended());
    EXPECT_FALSE(ticker.Cycle());
    EXPECT_EQ(bench.host.Logs(), Lines{"Device is detach!  Id:7 stop thread"});
}

}  // namespace
}  // namespace Keyweave::GamePad
