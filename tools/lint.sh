#!/usr/bin/env bash
# The house rules that tools check, and exit non-zero on any finding, which
# they print:
#   - clang-format (.clang-format at the root): every C++ source and header
#     of the repository is formatted (clang-format -i FILE fixes one);
#   - clang-tidy (the checks of .clang-tidy at the root) over the C++ sources
#     of src/, authoring/ and tools/, read the way a unity build compiles
#     them: a few sources a translation unit, so the headers they share are
#     parsed a few times instead of once a source (less than half the work).
#     Every check reports in the included sources, which .clang-tidy's header
#     filter covers, so the findings are those of a source at a time (a dozen
#     planted ones, of twelve checks, came out the same both ways) but for
#     bugprone-suspicious-include, which would name each source a unity file
#     includes. The compile database comes from a
#     clang tree that is configured here and never built (build/lint).
#     The tests (tests/) are left out: their fixtures and GoogleTest's macros
#     make noise, and what the checks look for matters in the shipped code.
#     studio/wasm/ is in the database of an emscripten build only.
#   - eslint (studio/eslint.config.js) over the Studio's JavaScript: the
#     page's modules, Play on a device (studio/play/) and the browser tests.
# Usage: bash tools/lint.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 0 ]] || { echo "usage: tools/lint.sh" >&2; exit 2; }
tidy=/usr/bin/clang-tidy
[[ -x $tidy ]] || { echo "lint: Cannot find $tidy (bash tools/setup.sh installs it)" >&2; exit 2; }
eslint=$root/studio/node_modules/.bin/eslint
[[ -x $eslint ]] || { echo "lint: Cannot find $eslint (bash tools/setup.sh installs it)" >&2; exit 2; }

build=$root/build/lint
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_UNITY_BUILD=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKEYWEAVE_BUILD_TESTS=OFF -DKEYWEAVE_BUILD_BENCH=OFF >/dev/null
database=$build/compile_commands.json

# CMake writes one "file" line per translation unit: the unity files of the
# libraries and the command, and any source left out of them.
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
  grep -E "^($root|$build)/(src|authoring|tools)/" | sort -u)
[[ ${#sources[@]} -gt 0 ]] || { echo "lint: Cannot find a source of src/, authoring/ or tools/ in $database" >&2; exit 2; }

status=0
echo "lint: clang-format over the C++ sources"
(cd "$root" && git ls-files '*.cpp' '*.h' '*.c' ':!tests/layers/fixture' |
  xargs clang-format --dry-run --Werror) || status=1

# One clang-tidy per translation unit, nproc at a time; a unit's findings are
# printed in one piece, and only when it has some.
echo "lint: clang-tidy over ${#sources[@]} translation units"
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 1 sh -c \
  'out=$("$0" -p "$1" --config-file="$2/.clang-tidy" --checks=-bugprone-suspicious-include --quiet "$3" 2>&1) ||
     { printf "%s\n" "$out" | grep -Ev "^[0-9]+ warnings? (generated|treated as errors)\.$"; exit 1; }' \
  "$tidy" "$build" "$root" || status=1

echo "lint: eslint over the Studio's JavaScript"
(cd "$root/studio" && "$eslint" --max-warnings 0 '*.js' play tests) || status=1

[[ $status -eq 0 ]] && echo "lint: no findings"
exit $status
