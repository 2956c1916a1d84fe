// Google Benchmark: the mouse path, per UpdateMouseStatus call, on a manual
// clock (no scheduler thread), with the heap allocations each call makes.
// Positions are fractions of the window, as hosts send them.

#include <benchmark/benchmark.h>

#include "bench_host.h"
#include "engine/engine.h"

namespace {

using namespace Keyweave;
using namespace Keyweave::Bench;

constexpr int32_t kMouseMove = 512;
constexpr int32_t kRightDown = 516;
constexpr int32_t kRightUp = 517;

struct MouseRig {
    explicit MouseRig(const char* keymap) : engine(host.Callbacks(), {}, {&clock, true}) {
        const WideString path = WriteTempFile("keyweave-bench-mouse.cfg", keymap);
        engine.LoadConfig(path.c_str(), path.c_str(), "bench");
        ObserveDecisions(engine);
    }
    ManualClock clock{1000};
    TimingHost host;
    Engine engine;
};

void Report(benchmark::State& state, uint64_t allocationsBefore, uint64_t framesBefore, MouseRig& rig) {
    const double calls = static_cast<double>(state.iterations());
    state.counters["allocs/call"] = static_cast<double>(Allocations() - allocationsBefore) / calls;
    state.counters["frames/call"] = static_cast<double>(rig.host.FrameCount() - framesBefore) / calls;
}

void MouseMoveNothingActive(benchmark::State& state) {
    MouseRig rig("[keys]\nSpace = Tap (50,50)\n");
    float x = 0;
    const uint64_t before = Allocations(), frames = rig.host.FrameCount();
    for (auto _ : state) {
        x = x > 1.0f ? 0.0f : x + 0.001f;
        rig.engine.UpdateMouseStatus(x, 0.3f, kMouseMove, 0);
    }
    Report(state, before, frames, rig);
}
BENCHMARK(MouseMoveNothingActive);

void MouseMoveDuplicate(benchmark::State& state) {
    MouseRig rig("[keys]\nSpace = Tap (50,50)\n");
    rig.engine.UpdateMouseStatus(0.4f, 0.3f, kMouseMove, 0);
    const uint64_t before = Allocations(), frames = rig.host.FrameCount();
    for (auto _ : state) rig.engine.UpdateMouseStatus(0.4f, 0.3f, kMouseMove, 0);
    Report(state, before, frames, rig);
}
BENCHMARK(MouseMoveDuplicate);

// Mouse-look on (the right button toggles it): every move drags the look
// finger. The moves' touch tasks run on the manual clock every 64 calls,
// inside the timing, so the queue stays short and the figure includes them.
void MouseMoveLookActive(benchmark::State& state) {
    MouseRig rig(
        "# ENABLE_SHOOTING_MODE\n# SHOOTING_MODE_1\n[keys]\nMouseMove = Tap (62,45)\nLeftClick = Tap (84,70)\n");
    rig.engine.UpdateMouseStatus(0.4f, 0.3f, kRightDown, 0);
    rig.engine.UpdateMouseStatus(0.4f, 0.3f, kRightUp, 0);
    rig.engine.AdvanceBy(100);
    float x = 0;
    uint64_t calls = 0;
    const uint64_t before = Allocations(), frames = rig.host.FrameCount();
    for (auto _ : state) {
        x = x > 20 ? -20 : x + 1;
        rig.engine.UpdateMouseStatus(0.4f + x / 1000.0f, 0.3f, kMouseMove, 0);
        if (++calls % 64 == 0) rig.engine.AdvanceBy(1);
    }
    rig.engine.AdvanceBy(100);
    Report(state, before, frames, rig);
    if (rig.host.FrameCount() == frames) state.SkipWithError("mouse-look did not move the look finger");
}
BENCHMARK(MouseMoveLookActive);

}  // namespace

BENCHMARK_MAIN();
