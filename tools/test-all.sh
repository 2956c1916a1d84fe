#!/usr/bin/env bash
# Sets up, builds and runs every test:
#   1. native build, the whole suite;
#   2. with clang, AddressSanitizer and UndefinedBehaviorSanitizer: the whole
#      suite, then each fuzzer (keymap, database, engine, exports) for a minute
#      from the same tree (tools/fuzz.sh); any finding fails;
#   3. the suite with ThreadSanitizer, the stress test given a minute, built
#      with clang, whose -Wthread-safety checks every lock annotation of
#      every source (a member read without its lock fails the build); beside
#      that suite, the house rules (tools/lint.sh: clang-format, clang-tidy
#      over the sources of the library, the author libraries and the
#      command, and eslint over the Studio's JavaScript);
#   4. the Windows x64 DLL and suite, cross-built with mingw-w64 and run under Wine;
#   5. the Studio: the WebAssembly build, its page tested in headless Chromium
#      against the native keyweave command of step 1, Play on a device
#      against a fake device.
# Build trees go to build/<name>. Stops at the first failure. The benchmarks
# (not tests) are built natively and for Windows only.
#
# What keeps it short on two cores: the optimized trees keep line tables only
# (-g1), so stack traces and sanitizer reports still name files and lines
# while the compiler does a third less work than with -g; and every tree but
# ThreadSanitizer's is a unity build (CMake puts a target's sources into a
# few translation units, so shared headers are compiled a few times instead
# of once a source). The TSan tree builds each source alone, which keeps every
# file's own includes honest. clang-tidy reads the sources a unity file at a
# time too. The install test takes the kit from the native tree it runs in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
generator=(-G Ninja)
optimized=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
unity=(-DCMAKE_UNITY_BUILD=ON)

build_suite() {  # name, extra cmake arguments...
  local name=$1
  shift
  local dir=$root/build/$name
  echo "== $name: configure and build"
  cmake -S "$root" -B "$dir" "${generator[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

test_suite() {  # name
  echo "== $1: test"
  ctest --test-dir "$root/build/$1" -j "$jobs" --output-on-failure --timeout 600
}

run_suite() {  # name, extra cmake arguments...
  build_suite "$@"
  test_suite "$1"
}

run_suite native "${optimized[@]}" "${unity[@]}"

# One clang tree for the sanitizers' suite and the fuzzers: every target is
# built with libFuzzer's coverage, and the four fuzz programs link libFuzzer.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite sanitize "${optimized[@]}" "${unity[@]}" -DKEYWEAVE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
echo "== fuzz"
KEYWEAVE_FUZZ_BUILD=$root/build/sanitize bash tools/fuzz.sh 60

# A race report makes its test exit with 66 and fail. Clang builds it, so the
# thread-safety analysis runs over the library, the command and the tests
# (cmake/KeyweaveWarnings.cmake) at no cost of a build of its own.
build_suite tsan "${optimized[@]}" -DKEYWEAVE_SANITIZE=thread -DKEYWEAVE_BUILD_BENCH=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# The house rules run beside the TSan suite: for most of its minute the stress
# test's threads wait on one another and leave the cores idle. Their report
# comes after the suite's.
lint_log=$root/build/lint.log
mkdir -p "$root/build"
bash tools/lint.sh >"$lint_log" 2>&1 &
lint_pid=$!
status=0
KEYWEAVE_STRESS_SECONDS=60 TSAN_OPTIONS=second_deadlock_stack=1 test_suite tsan || status=$?
lint_status=0
wait "$lint_pid" || lint_status=$?
echo "== lint"
cat "$lint_log"
((status == 0)) || exit "$status"
((lint_status == 0)) || exit "$lint_status"

build_suite windows "${optimized[@]}" "${unity[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
# One Wine session for the whole suite: its server and services start once,
# before the tests, and stay until the last one ends. (With a session that
# came and went with the tests, now and then a program stalled for half a
# minute and ended with status 1 before printing anything.)
export WINEDEBUG=-all
export WINEPREFIX=$root/build/wine-prefix
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot --init >/dev/null 2>&1 || true
status=0
test_suite windows || status=$?
wineserver -k >/dev/null 2>&1 || true
((status == 0)) || exit "$status"

echo "== studio: WebAssembly build and the page in headless Chromium"
bash tools/studio.sh --build
STUDIO_SITE=$root/build/studio/site KEYWEAVE=$root/build/native/tools/keyweave/keyweave \
  node --test --test-concurrency=1 "$root/studio/tests/studio.test.js" "$root/studio/tests/play-units.test.js" "$root/studio/tests/play.test.js"

echo "== all suites passed: native, ASan+UBSan (clang) with the fuzzers, TSan (clang, lock annotations checked) with the stress test, the house rules, Windows under Wine, Studio"
