// Latency harness: what a player feels, beside what the machine itself allows.
//
//   key to frame   HandleKey of a key bound to Tap, to the touch callback,
//                  through the scheduler thread on the system clock; beside
//                  it the plainest hand-off between two threads (std::mutex
//                  and std::condition_variable), and the platform layer's
//                  event hand-off measured the same way. Also the heap
//                  allocations per key event, on every thread.
//   swipe steps    how late each touch of a keymap swipe reaches the host
//                  against its task's due time; beside it the lateness of a
//                  bare 12 ms timed wait.
//   keymap load    lines per second for a generated keymap of 10,000 rules.
//   idle cost      CPU used over ten seconds by an engine with no pad, and
//                  with one pad attached at rest.
//
// Usage: keyweave_latency [presses] [swipes] [idle seconds]

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench_host.h"
#include "engine/engine.h"

using namespace Keyweave;
using namespace Keyweave::Bench;

namespace {

constexpr uint32_t kSpace = 0x39;
constexpr int kRounds = 10;  // engine and baseline alternate in rounds, so a busy spell hits both

void PrintRow(const char* what, const Summary& engine, const Summary& base, const char* unit) {
    const double p50 = base.p50 > 0 ? engine.p50 / base.p50 : 0;
    const double p99 = base.p99 > 0 ? engine.p99 / base.p99 : 0;
    std::printf("%-24s %9.0f %9.0f %9.0f | %9.0f %9.0f %9.0f | %5.2fx %5.2fx  (%zu / %zu samples, %s)\n", what,
                engine.p50, engine.p99, engine.max, base.p50, base.p99, base.max, p50, p99, engine.count, base.count,
                unit);
}

// The plainest hand-off: the measuring thread wakes a waiting thread through
// a mutex and a condition variable, and waits the same way for its answer.
struct PlainHandOff {
    std::mutex lock;
    std::condition_variable wake, answered;
    bool pinged = false, ponged = false, stop = false;
    int64_t wokeAt = 0;  // guarded by lock

    void Body() {
        std::unique_lock guard(lock);
        for (;;) {
            wake.wait(guard, [&] { return pinged; });
            pinged = false;
            wokeAt = NowMicros();
            if (stop) return;
            ponged = true;
            answered.notify_one();
        }
    }
    // Microseconds from the wake-up call to the woken thread running.
    int64_t Round() {
        const int64_t start = NowMicros();
        {
            std::lock_guard guard(lock);
            pinged = true;
        }
        wake.notify_one();
        std::unique_lock guard(lock);
        answered.wait(guard, [&] { return ponged; });
        ponged = false;
        return wokeAt - start;
    }
    void Stop() {
        {
            std::lock_guard guard(lock);
            stop = pinged = true;
        }
        wake.notify_one();
    }
};

struct HandOff {
    Platform::Event ping, pong;
    std::atomic<int64_t> wokeAt{0};
    std::atomic<bool> stop{false};
    static void Body(void* self) {
        auto* hand = static_cast<HandOff*>(self);
        for (;;) {
            hand->ping.WaitFor(Platform::Event::kInfinite);
            hand->wokeAt.store(NowMicros(), std::memory_order_release);
            if (hand->stop.load()) return;
            hand->pong.Set();
        }
    }
};

void KeyToFrame(int presses) {
    TimingHost host;
    Engine engine(host.Callbacks(), {}, {nullptr, true});
    const WideString path = WriteTempFile("keyweave-bench-tap.cfg", "[keys]\nSpace = Tap (50,50)\n");
    engine.LoadConfig(path.c_str(), path.c_str(), "bench");
    const char* observer = ObserveDecisions(engine);
    const uint64_t decisionsBefore = DecisionsSeen();

    HandOff hand;
    Platform::Thread worker;
    worker.Start(&HandOff::Body, &hand);
    PlainHandOff plain;
    std::thread plainWorker([&] { plain.Body(); });

    std::vector<int64_t> keyLatency, bareLatency, plainLatency;
    uint64_t allocations = 0, events = 0;
    const int perRound = presses / kRounds;
    bool lost = false;
    for (int round = 0; round < kRounds && !lost; ++round) {
        host.Reset();
        std::vector<int64_t> started;
        started.reserve(static_cast<size_t>(perRound) * 2);
        const uint64_t allocationsBefore = Allocations();
        for (int i = 0; i < perRound * 2; ++i) {  // press, release, press...
            started.push_back(NowMicros());
            engine.HandleKey(kSpace, i % 2 == 0);
            if (!host.WaitForFrames(static_cast<uint64_t>(i) + 1, 1000)) {
                std::printf("key to frame: no frame after event %d; stopping\n", i);
                lost = true;
                break;
            }
        }
        // Everything allocated meanwhile, on any thread (the host's frame log is reserved ahead).
        allocations += Allocations() - allocationsBefore;
        events += started.size();
        const std::vector<int64_t> frames = host.FrameTimes();
        for (size_t i = 0; i < started.size() && i < frames.size(); ++i) keyLatency.push_back(frames[i] - started[i]);

        for (int i = 0; i < perRound * 2; ++i) {
            const int64_t start = NowMicros();
            hand.ping.Set();
            hand.pong.WaitFor(Platform::Event::kInfinite);
            bareLatency.push_back(hand.wokeAt.load(std::memory_order_acquire) - start);
        }
        for (int i = 0; i < perRound * 2; ++i) plainLatency.push_back(plain.Round());
    }
    hand.stop = true;
    hand.ping.Set();
    worker.Join();
    plain.Stop();
    plainWorker.join();
    Summary key = Summarise(keyLatency), bare = Summarise(bareLatency), base = Summarise(plainLatency);
    PrintRow("key to frame", key, base, "us");
    PrintRow("event hand-off", bare, base, "us");
    std::printf("%-24s %9.2f per key event, on every thread (%llu in %llu events)\n", "heap allocations",
                events == 0 ? 0.0 : static_cast<double>(allocations) / static_cast<double>(events),
                static_cast<unsigned long long>(allocations), static_cast<unsigned long long>(events));
    std::printf("%-24s %s, %llu decisions\n", "decision observer", observer,
                static_cast<unsigned long long>(DecisionsSeen() - decisionsBefore));
}

void SwipeSteps(int swipes) {
    TimingHost host;
    Engine engine(host.Callbacks(), {}, {nullptr, true});
    const WideString path = WriteTempFile("keyweave-bench-swipe.cfg", "[keys]\nSpace = Swipe Up (50,80)\n");
    engine.LoadConfig(path.c_str(), path.c_str(), "bench");
    const int64_t origin = MonotonicOriginMicros();

    Platform::Event idle;
    std::vector<int64_t> lateness, bareLateness;
    uint64_t unmatched = 0;
    for (int s = 0; s < swipes; ++s) {
        host.Reset();
        // Due times are whole milliseconds of the engine's clock, and what is
        // due at once is due in the millisecond under way: such a touch is
        // measured from the press, not from the millisecond's start.
        const int64_t pressedAt = NowMicros();
        engine.HandleKey(kSpace, true);
        std::set<Millis> due;  // one touch per due time; the slot release shares the lift's
        engine.scheduler().ForEachQueued([&](const Scheduler::Task& task) { due.insert(task.dueTime); });
        engine.HandleKey(kSpace, false);
        const Millis last = due.empty() ? 0 : *due.rbegin();
        // Wait until the last step has run, then a little more.
        while (Platform::MonotonicMs() <= last + 2) idle.WaitFor(5);
        const std::vector<int64_t> frames = host.FrameTimes();
        size_t next = 0;
        for (const Millis time : due) {
            const int64_t dueAt = std::max(origin + static_cast<int64_t>(time) * 1000, pressedAt);
            // A task never runs before its due time; allow for the origin's error.
            while (next < frames.size() && frames[next] < dueAt - 100) ++next;
            if (next == frames.size()) {
                ++unmatched;
                continue;
            }
            lateness.push_back(frames[next++] - dueAt);
        }
        for (int i = 0; i < 6; ++i) {
            const int64_t start = NowMicros();
            idle.WaitFor(12);
            bareLateness.push_back(NowMicros() - start - 12000);
        }
    }
    Summary steps = Summarise(lateness), bare = Summarise(bareLateness);
    PrintRow("swipe step lateness", steps, bare, "us");
    if (unmatched != 0) std::printf("  (%llu due times without a frame)\n", static_cast<unsigned long long>(unmatched));
}

void KeymapLoading() {
    // 10,000 distinct rules: every key set of one to four keys from 36 names,
    // with four kinds of action.
    std::vector<std::string> names;
    for (char c = 'A'; c <= 'Z'; ++c) names.emplace_back(1, c);
    for (char c = '0'; c <= '9'; ++c) names.emplace_back(1, c);
    const char* actions[] = {"Tap (12.5,40)", "Swipe Up (50,80)", "TapTap (10,20,30,40)", "SwipeXY (10,20,60,70)"};
    std::string text = "# generated\n[keys]\n";
    int rules = 0;
    auto add = [&](const std::string& keys) {
        text += keys + " = " + actions[rules % 4] + "\n";
        ++rules;
    };
    const size_t n = names.size();
    for (size_t a = 0; a < n && rules < 10000; ++a) add(names[a]);
    for (size_t a = 0; a < n && rules < 10000; ++a)
        for (size_t b = a + 1; b < n && rules < 10000; ++b) add(names[a] + "," + names[b]);
    for (size_t a = 0; a < n && rules < 10000; ++a)
        for (size_t b = a + 1; b < n && rules < 10000; ++b)
            for (size_t c = b + 1; c < n && rules < 10000; ++c) add(names[a] + "," + names[b] + "," + names[c]);
    for (size_t a = 0; a < n && rules < 10000; ++a)
        for (size_t b = a + 1; b < n && rules < 10000; ++b)
            for (size_t c = b + 1; c < n && rules < 10000; ++c)
                for (size_t d = c + 1; d < n && rules < 10000; ++d)
                    add(names[a] + "," + names[b] + "," + names[c] + "," + names[d]);
    size_t lines = 0;
    for (const char ch : text) lines += ch == '\n';
    const WideString path = WriteTempFile("keyweave-bench-large.cfg", text);

    ManualClock clock;
    TimingHost host;
    Engine engine(host.Callbacks(), {}, {&clock, true});
    std::vector<int64_t> micros;
    for (int i = 0; i < 7; ++i) {
        const int64_t start = NowMicros();
        engine.LoadConfig(path.c_str(), path.c_str(), "bench");
        micros.push_back(NowMicros() - start);
    }
    const size_t loaded = engine.config().OwnedRecordCount();
    Summary load = Summarise(micros);
    std::printf("%-24s %9.0f lines/s (median of 7 loads, %zu lines, %zu action records; best %.0f lines/s)\n",
                "keymap load", static_cast<double>(lines) * 1e6 / load.p50, lines, loaded,
                static_cast<double>(lines) * 1e6 / static_cast<double>(micros.front()));
}

double IdlePercent(uint32_t seconds) {
    const int64_t cpuStart = Platform::ProcessCpuUs(), wallStart = NowMicros();
    Platform::SleepMs(seconds * 1000);
    const int64_t cpu = Platform::ProcessCpuUs() - cpuStart, wall = NowMicros() - wallStart;
    return 100.0 * static_cast<double>(cpu) / static_cast<double>(wall);
}

void IdleCost(uint32_t seconds, const char* database) {
    const double bare = IdlePercent(seconds);
    TimingHost host;
    Engine engine(host.Callbacks(), {}, {nullptr, true});
    const double noPad = IdlePercent(seconds);
    std::printf("%-24s %8.4f %% of one core over %u s (process without an engine: %.4f %%)\n", "idle, no pad", noPad,
                seconds, bare);
    if (database == nullptr) return;
    const WideString path = ToWide(database);
    engine.AttachGamePad(1, 0x045e, 0x028e, path.c_str());
    const double onePad = IdlePercent(seconds);
    std::printf("%-24s %8.4f %% of one core over %u s\n", "idle, one pad at rest", onePad, seconds);
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int swipes = argc > 2 ? std::atoi(argv[2]) : 150;
    const uint32_t idleSeconds = argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3])) : 10;
    const char* database = argc > 4 ? argv[4] : nullptr;
    std::printf("%-24s %9s %9s %9s | %9s %9s %9s | p50, p99 ratios\n", "", "p50", "p99", "max", "base p50", "base p99",
                "base max");
    std::printf("%-24s the base of key to frame and event hand-off is the plain mutex and condition variable\n", "");
    KeyToFrame(presses < kRounds ? kRounds : presses);
    SwipeSteps(swipes < 1 ? 1 : swipes);
    KeymapLoading();
    if (idleSeconds > 0) IdleCost(idleSeconds, database);
    return 0;
}
