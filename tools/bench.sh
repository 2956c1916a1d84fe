#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: the latency harness (key to
# frame, swipe step lateness, keymap loading, idle cost), then the mouse-path
# micro-benchmarks. Takes about two minutes; not part of the test command.
# Arguments go to the latency harness: [presses] [swipes] [idle seconds].
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYWEAVE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target keyweave_latency keyweave_microbench
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "== latency (microseconds; engine | bare baseline of the same run)"
"$build/bench/keyweave_latency" "${1:-10000}" "${2:-150}" "${3:-10}" "$PWD/examples/gamepads.db"
# Where the kernel puts each thread decides a hand-off's cost more than the
# code does (a wake-up on another CPU costs several times one on the same
# CPU), and it may place the engine's threads and the baseline's differently.
# With every thread on one CPU both pay the same, and the code compares.
if command -v taskset >/dev/null; then
    echo "== latency, every thread on one CPU (taskset -c 0)"
    taskset -c 0 "$build/bench/keyweave_latency" "${1:-10000}" "${2:-150}" 1 "$PWD/examples/gamepads.db"
fi
echo "== mouse path"
"$build/bench/keyweave_microbench" --benchmark_min_time=0.5
