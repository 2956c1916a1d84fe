#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) into build/fuzz and runs each target for SECONDS (default 60):
#
#   bash tools/fuzz.sh [SECONDS] [keymap|database|engine|exports ...]
#
# Each target starts from its seeds (the keymaps and game-pad databases of the
# source tree, a few host sessions for the engine, the kept careless hosts for
# the exported functions) and from the corpus it grew
# on earlier runs (build/fuzz/corpus/<target>). A finding (crash, leak,
# undefined behaviour, a hang of more than 10 s, a broken invariant) stops the
# run: the input is kept as build/fuzz/findings/<target>/crash-..., the script
# prints how to read it and fails. Once fixed, the input goes to
# tests/fuzz/regressions/<target>/, where the regression test replays it.
# The last line of each target's run gives its figures: executions, corpus
# files, time. Targets run side by side, one a core.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(keymap database engine exports)

# KEYWEAVE_FUZZ_BUILD names a tree configured with -DKEYWEAVE_FUZZ=ON already
# (the test command's sanitizer tree, which also runs the suite); without it
# the fuzzers get a tree of their own, build/fuzz.
build=${KEYWEAVE_FUZZ_BUILD:-$root/build/fuzz}
if [[ -z ${KEYWEAVE_FUZZ_BUILD:-} ]]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEYWEAVE_FUZZ=ON -DKEYWEAVE_BUILD_TOOLS=OFF >/dev/null
fi
cmake --build "$build" --target "${targets[@]/#/keyweave_fuzz_}"

# bytes N...: writes the bytes N... (decimal) to standard output.
bytes() { printf "$(printf '\\%03o' "$@")"; }

# An engine session (see tests/fuzz/engine_target.cpp for the encoding): load
# keymap choice $1, then for each of the first 16 keys the keymap binds: press
# it, move the mouse, let 40 ms pass, release it and let 500 ms pass; then an
# emulated swipe, a scroll and a pinch; then a pad attaches, pushes its left
# stick and a button for 100 ms, lets go and detaches.
engine_seed() {
  bytes 15 "$1"
  for key in $(seq 0 15); do
    bytes 0 "$key" 1  5 0 $((key * 12)) 100 0  7 40  0 "$key" 0  7 194
  done
  bytes 12 0 100 100 1  11 0 100 100  11 1 120 120  11 2 0 0  12 2 100 100 1  7 255
  bytes 10 0 0  10 4 2 1 0 0 0 0 0 9  7 100  10 4 0 0 0 0 0 0 8 0  7 20  10 12
}

make_seeds() {  # target, folder
  local target=$1 seeds=$2
  rm -rf "$seeds"
  mkdir -p "$seeds"
  case $target in
    keymap) cp "$root"/examples/*.cfg "$root"/docs/images/*.cfg "$root"/tests/tools/data/*.cfg "$seeds"/ ;;
    database) cp "$root"/examples/*.db "$root"/tests/tools/data/*.db "$seeds"/ ;;
    engine) for choice in $(seq 0 15); do engine_seed "$choice" >"$seeds/session-$choice"; done ;;
    exports) cp "$root"/tests/fuzz/regressions/exports/* "$seeds"/ ;;
  esac
}

# One target's run; its report goes to build/fuzz/fuzz-<target>.report.
fuzz_one() {  # target
  local target=$1
  local corpus=$build/corpus/$target seeds=$build/seeds/$target findings=$build/findings/$target
  local log=$build/fuzz-$target.log report=$build/fuzz-$target.report
  mkdir -p "$corpus" "$findings"
  make_seeds "$target" "$seeds"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$findings/")
  case $target in
    keymap) options+=(-max_len=8192 -dict="$root/tests/fuzz/keymap.dict") ;;
    database) options+=(-max_len=4096 -dict="$root/tests/fuzz/database.dict") ;;
    engine|exports) options+=(-max_len=4096) ;;
  esac
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$build/tests/fuzz/keyweave_fuzz_$target" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1; then
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${executions:-?} executions, $(find "$corpus" -type f | wc -l) corpus files, ${seconds}s, no finding" >"$report"
  else
    {
      echo "fuzz $target: FINDING (log: $log)"
      # A broken invariant's own lines run from its heading to libFuzzer's report.
      sed -n '/^broken invariant:$/,/^==[0-9]*==/p' "$log" | grep -v '^==' | head -20 || true
      grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 || true
      echo "replay it with: KEYWEAVE_FUZZ_TRACE=1 $build/tests/fuzz/keyweave_fuzz_$target <the crash file>"
    } >"$report"
    return 1
  fi
}

# As many targets at a time as there are cores: each runs on one.
parallel=$(nproc 2>/dev/null || echo 1)
rm -f "$build"/fuzz-*.report
status=0
running=0
for target in "${targets[@]}"; do
  if ((running >= parallel)); then
    wait -n || status=1
    running=$((running - 1))
  fi
  echo "== fuzz $target for ${seconds}s"
  fuzz_one "$target" &
  running=$((running + 1))
done
while ((running > 0)); do
  wait -n || status=1
  running=$((running - 1))
done
for target in "${targets[@]}"; do cat "$build/fuzz-$target.report"; done
exit $status
