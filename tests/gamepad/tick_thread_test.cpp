// Pads with real tick threads: reports while the thread ticks, and a detach
// that returns only once the thread has ended, even when the thread is inside
// a slow stick event at that moment. Every wait is on an event or a state the
// test can see, and a watchdog ends the program if anything hangs.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

#include "gamepad/stick_ticker.h"
#include "pad_bench.h"
#include "support/watchdog.h"

namespace Keyweave::GamePad {
namespace {

using Keyweave::Testing::Watchdog;
using Testing::Lines;
using Testing::Rest;
using Wait = Platform::Event::Wait;

// Far beyond anything a working runtime needs; reached only by a hang.
constexpr uint32_t kLimitMs = 20000;

size_t IndexOf(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(TickThreadTest, ReportsDriveTheThreadAndDetachWaitsForItsEnd) {
    Watchdog watchdog;
    Testing::Bench bench(TickMode::kThreads);
    EXPECT_FALSE(bench.runtime->RunTickCycle());  // the threads tick by themselves
    bench.Activate();
    bench.AttachPadOne(5);

    Report report = Rest();
    report.y = -800;
    bench.Send(5, report);
    ASSERT_EQ(bench.routing.stickSeen.WaitFor(kLimitMs), Wait::kSignaled);
    bench.runtime->Detach(5);

    const Lines logs = bench.host.Logs();
    const size_t stop = IndexOf(logs, "Device is detach!  Id:5 stop thread");
    EXPECT_LT(IndexOf(logs, "Keyweave::GamePad::KeyweaveGamePadStickTick (identity:5)"), stop);
    EXPECT_LT(stop, IndexOf(logs, "Detaching GamePad ID 5"));
    EXPECT_EQ(std::count(logs.begin(), logs.end(), "Device is detach!  Id:5 stop thread"), 1);
    EXPECT_FALSE(bench.runtime->IsTicking(5));

    // The report's press came from this thread, the stick events from the
    // tick thread, in whatever interleaving.
    const Lines calls = bench.routing.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "direct 0x100000 down"), 1);
    EXPECT_GE(std::count(calls.begin(), calls.end(), "stick left 0,-800 6"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "direct 0x100000 down") +
                  std::count(calls.begin(), calls.end(), "stick left 0,-800 6"),
              static_cast<std::ptrdiff_t>(calls.size()));
    ASSERT_EQ(bench.host.Notices().size(), 2u);
    EXPECT_EQ(bench.host.Notices()[1].event, kNoticeDetached);
}

TEST(TickThreadTest, DetachWhileTheThreadIsInsideASlowStickEvent) {
    Watchdog watchdog;
    Testing::Bench bench(TickMode::kThreads);
    bench.Activate();

    std::mutex orderMutex;
    Lines order;
    auto note = [&](const char* what) {
        std::lock_guard guard(orderMutex);
        order.emplace_back(what);
    };
    Platform::Event entered, release;
    std::atomic<bool> first{true};
    bench.routing.onStick = [&] {
        if (!first.exchange(false)) return;
        entered.Set();
        EXPECT_EQ(release.WaitFor(kLimitMs), Wait::kSignaled);
        // Back into the runtime from the tick thread while detach waits for
        // it: nothing may be locked against a report.
        bench.Send(7, Rest());
        note("stick event returned");
    };

    bench.AttachPadOne(7);
    Report report = Rest();
    report.y = -800;
    bench.Send(7, report);
    ASSERT_EQ(entered.WaitFor(kLimitMs), Wait::kSignaled);

    struct Detacher {
        Runtime* runtime;
        std::function<void(const char*)> note;
        Platform::Event done;
    } detacher{bench.runtime.get(), note, {}};
    Platform::Thread thread;
    ASSERT_EQ(thread.Start(
                  [](void* self) {
                      auto& call = *static_cast<Detacher*>(self);
                      call.runtime->Detach(7);
                      call.note("detach returned");
                      call.done.Set();
                  },
                  &detacher),
              0);
    // Detach has begun once the pad has left the tick table; the thread is
    // still held inside its stick event.
    while (bench.runtime->IsTicking(7)) std::this_thread::yield();
    release.Set();
    ASSERT_EQ(detacher.done.WaitFor(kLimitMs), Wait::kSignaled);
    thread.Join();

    EXPECT_EQ(order, (Lines{"stick event returned", "detach returned"}));
    const Lines logs = bench.host.Logs();
    EXPECT_LT(IndexOf(logs, "Device is detach!  Id:7 stop thread"), IndexOf(logs, "Detaching GamePad ID 7"));
    EXPECT_LT(IndexOf(logs, "Detaching GamePad ID 7"), logs.size());
    EXPECT_FALSE(bench.runtime->IsAttached(7));
}

TEST(TickThreadTest, ThreadsEndWithoutAKeymapAndOnReattach) {
    Watchdog watchdog;
    Testing::Bench bench(TickMode::kThreads);
    bench.AttachPadOne(3);
    bench.AttachPadOne(3);  // the first thread is ended and waited for
    bench.runtime->Detach(3);
    const Lines attach{"Attaching GamePad ID 3, vendor 1a2b, product 3c4d", "Preparing GamePad",
                       "Found matching hardware 'Pad One'", "Keyweave::GamePad::KeyweaveGamePadStickTick (identity:3)"};
    const Lines detach{"Device is detach!  Id:3 stop thread", "Detaching GamePad ID 3"};
    Lines expected;
    for (const Lines* part : {&attach, &detach, &attach, &detach}) {
        expected.insert(expected.end(), part->begin(), part->end());
    }
    EXPECT_EQ(bench.host.Logs(), expected);
    EXPECT_TRUE(bench.routing.Calls().empty());
}

}  // namespace
}  // namespace Keyweave::GamePad
