#pragma once
// What the benchmarks share: a host whose touch callback time-stamps every
// frame and wakes the measuring thread, a microsecond clock, process CPU time,
// percentiles and keymap files written to the temporary directory.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "engine/host_callbacks.h"
#include "platform/platform.h"

namespace Keyweave {
class Engine;
}

namespace Keyweave::Bench {

// Microseconds of the steady clock.
int64_t NowMicros();

// Heap allocations made by the whole process so far (allocation_counter.cpp).
uint64_t Allocations();

// The steady-clock time, in microseconds, at which Platform::MonotonicMs()
// read zero: found by waiting for its value to change, so that a due time in
// engine milliseconds can be compared with a steady-clock reading.
int64_t MonotonicOriginMicros();

struct Summary {
    double p50 = 0, p99 = 0, max = 0;
    size_t count = 0;
};
// Percentiles of `samples` (sorted in place); zeros when empty.
Summary Summarise(std::vector<int64_t>& samples);

// Writes `text` to a file in the temporary directory; returns its path.
WideString WriteTempFile(const std::string& name, const std::string& text);

// The decision observer the run measures with, from KEYWEAVE_BENCH_DECISIONS:
// unset or "none" none; "count" an engine observer that counts decisions;
// "host" the host's export path (each decision formatted into its line),
// with a callback that counts. Returns what it set, for the printout.
const char* ObserveDecisions(Keyweave::Engine& engine);
// Decisions counted so far.
uint64_t DecisionsSeen();

// A host that records when each touch frame arrives. The touch callback runs
// on the scheduler thread: it stores the time, counts the frame and sets
// `frameArrived`.
class TimingHost {
public:
    TimingHost();
    HostCallbacks Callbacks();

    // Frame times after the last Reset, in microseconds of NowMicros().
    std::vector<int64_t> FrameTimes();
    uint64_t FrameCount() const { return frames_.load(std::memory_order_acquire); }
    void Reset();
    // Waits until the frame count reaches `count`; false after `timeoutMs`.
    bool WaitForFrames(uint64_t count, uint32_t timeoutMs);

private:
    static void OnTouch(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag);
    static int32_t OnShooting(void* context, int32_t code);

    Platform::Event frameArrived_;
    std::atomic<uint64_t> frames_{0};
    Platform::Lock lock_;
    std::vector<int64_t> times_;  // guarded by lock_
};

}  // namespace Keyweave::Bench
