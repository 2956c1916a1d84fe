// Attaching, detaching and updating pads: what the host is told, what the log
// says, and what happens to ids the runtime does not know.
#include "gamepad/runtime.h"

#include <gtest/gtest.h>

#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Bench;
using Testing::Lines;
using Testing::Rest;

struct Event {
    int32_t padId;
    int32_t event;
    std::string layout;
    friend bool operator==(const Event&, const Event&) = default;
};

std::vector<Event> Notices(const Keyweave::Testing::RecordingHost& host) {
    std::vector<Event> events;
    for (const auto& notice : host.Notices()) events.push_back({notice.padId, notice.event, notice.layout});
    return events;
}

TEST(RuntimeTest, AttachingAnIdTwiceDetachesTheFirstPadCompletely) {
    Bench bench;
    bench.AttachPadOne(1);
    bench.host.ClearRecords();
    bench.runtime->Attach(1, 0x0a0b, 0x0c0d, bench.database);  // another pad, same id
    EXPECT_EQ(Notices(bench.host), (std::vector<Event>{{1, kNoticeDetached, "Standard"}, {1, kNoticeAttached, ""}}));
    EXPECT_EQ(bench.host.Logs(), (Lines{"Device is detach!  Id:1 stop thread", "Detaching GamePad ID 1",
                                        "Attaching GamePad ID 1, vendor 0a0b, product 0c0d", "Preparing GamePad",
                                        "Found matching hardware 'Axis Pad'",
                                        "Keyweave::GamePad::KeyweaveGamePadStickTick (identity:1)"}));
    // The new pad's transforms are in force: its d-pad is X and Y.
    Report report = Rest();
    report.x = 1000;
    bench.Send(1, report);
    EXPECT_EQ(bench.routing.Take(), Lines{"direct 0x80000 down"});
}

TEST(RuntimeTest, UnknownPadFallsBackToTheGenericEntry) {
    Bench bench;
    bench.runtime->Attach(2, 0x1234, 0x5678, bench.database);
    EXPECT_EQ(bench.host.Logs(), (Lines{"Attaching GamePad ID 2, vendor 1234, product 5678", "Preparing GamePad",
                                        "Cannot parse GamePad database", "Cannot attach GamePad",
                                        "Preparing GamePad", "Found matching hardware 'Generic'",
                                        "Keyweave::GamePad::KeyweaveGamePadStickTick (identity:2)"}));
    EXPECT_EQ(Notices(bench.host), (std::vector<Event>{{2, kNoticeAttached, "Fallback"}}));
    Report report = Rest();
    report.buttons = 1;
    bench.Send(2, report);
    EXPECT_EQ(bench.routing.Take(), Lines{"direct 0x1 down"});
}

TEST(RuntimeTest, PadStaysDetachedWhenNeitherEntryCanBeRead) {
    Bench bench;
    const WideString noGeneric = bench.files.Write("short.db", "[Hardware]\n1a2b:3c4d = Pad One\n");
    bench.runtime->Attach(3, 0x1234, 0x5678, noGeneric);
    const Lines failedAttempt{"Preparing GamePad", "Cannot parse GamePad database", "Cannot attach GamePad"};
    Lines expected{"Attaching GamePad ID 3, vendor 1234, product 5678"};
    expected.insert(expected.end(), failedAttempt.begin(), failedAttempt.end());
    expected.insert(expected.end(), failedAttempt.begin(), failedAttempt.end());
    EXPECT_EQ(bench.host.Logs(), expected);

    bench.host.ClearRecords();
    const WideString missing = bench.files.PathOf("missing.db");
    bench.runtime->Attach(3, 0x1a2b, 0x3c4d, missing);
    const std::string open = "Cannot open database file " + ToUtf8(missing);
    EXPECT_EQ(bench.host.Logs(),
              (Lines{"Attaching GamePad ID 3, vendor 1a2b, product 3c4d", "Preparing GamePad", open,
                     "Cannot parse GamePad database", "Cannot attach GamePad", "Preparing GamePad", open,
                     "Cannot parse GamePad database", "Cannot attach GamePad"}));

    EXPECT_TRUE(bench.host.Notices().empty());
    EXPECT_FALSE(bench.runtime->IsAttached(3));
    EXPECT_FALSE(bench.runtime->IsTicking(3));
    bench.host.ClearRecords();
    bench.Send(3, Rest());
    EXPECT_EQ(bench.host.Logs(), Lines{"Cannot update GamePad ID 3: GamePad not found"});
}

TEST(RuntimeTest, UnknownIdsAndMissingReportsChangeNothing) {
    Bench bench(TickMode::kManual, true);
    bench.AttachPadOne(1);
    bench.host.ClearRecords();

    Report report = Rest();
    report.buttons = 1;
    bench.Send(9, report);
    bench.runtime->Update(1, nullptr);
    bench.runtime->Detach(8);
    EXPECT_EQ(bench.host.Logs(), (Lines{"9 -> X = 0, Y = 0, Z = 0, Rx = 0, Ry = 0, Rz = 0, H = -1, B = 00000001",
                                        "Cannot update GamePad ID 9: GamePad not found",
                                        "Cannot update GamePad ID 1: no report"}));
    EXPECT_TRUE(bench.host.Notices().empty());
    EXPECT_TRUE(bench.routing.Calls().empty());
    EXPECT_EQ(bench.runtime->StateOf(1), PadState{});
    EXPECT_FALSE(bench.runtime->StateOf(9).has_value());
}

TEST(RuntimeTest, VerboseFlagAddsTheReportAndStateLines) {
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose);
        Bench bench(TickMode::kManual, verbose);
        bench.AttachPadOne(1);
        bench.host.ClearRecords();
        const Report report{300, -700, 600, -5, 1000, 77, 90, static_cast<int32_t>(0x80000081u)};
        bench.Send(1, report);
        const Lines lines{"1 -> X = 300, Y = -700, Z = 600, Rx = -5, Ry = 1000, Rz = 77, H = 90, B = 80000081",
                          "1 -> L = 300,-700, R = -5,1000, H = 1,0, B = 00000841"};
        EXPECT_EQ(bench.host.Logs(), verbose ? lines : Lines{});
        EXPECT_EQ(bench.runtime->StateOf(1), (PadState{0x841, 1, 0, 300, -700, -5, 1000}));
    }
}

// What attach and detach log and tell the host is the racer's game-pad golden
// run; the runtime's own state is only visible here.
TEST(RuntimeTest, AttachStartsTheTickAndDetachForgetsThePadOnce) {
    Bench bench;
    bench.AttachPadOne(5);
    EXPECT_TRUE(bench.runtime->IsAttached(5));
    EXPECT_TRUE(bench.runtime->IsTicking(5));
    EXPECT_EQ(bench.runtime->StateOf(5), PadState{});
    bench.runtime->Detach(5);
    EXPECT_FALSE(bench.runtime->IsAttached(5));
    EXPECT_FALSE(bench.runtime->IsTicking(5));
    EXPECT_FALSE(bench.runtime->StateOf(5).has_value());

    bench.host.ClearRecords();
    bench.runtime->Detach(5);  // a second time: nothing left to do
    EXPECT_TRUE(bench.host.Logs().empty());
    EXPECT_TRUE(bench.host.Notices().empty());
}

TEST(RuntimeTest, AttachingADeviceRestartsTheSharedSticksFromRest) {
    Bench bench;
    bench.AttachPadOne(1);
    Report report = Rest();
    report.x = 400;
    report.ry = -900;
    report.buttons = 2;
    bench.Send(1, report);
    EXPECT_EQ(bench.runtime->LatestState(), (PadState{kB, 0, 0, 400, 0, 0, -900}));

    // Even an attach that fails starts the shared state from rest.
    bench.runtime->Attach(2, 0x1234, 0x5678, bench.files.Write("bad.db", "nothing here\n"));
    EXPECT_EQ(bench.runtime->LatestState(), PadState{});
    EXPECT_EQ(bench.runtime->StateOf(1), (PadState{kB, 0, 0, 400, 0, 0, -900}));
}

}  // namespace
}  // namespace Keyweave::GamePad
