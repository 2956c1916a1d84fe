#!/usr/bin/env bash
# The house rules that tools check, and exit non-zero on any finding, which
# they print:
#   - clang-format (.clang-format at the root): every C++ source and header
#     of the repository is formatted (clang-format -i FILE fixes one);
#   - clang-tidy (the checks of .clang-tidy at the root) over the C++ sources
#     of src/, authoring/, tools/ and studio/wasm/ that BUILD_DIR's compile
#     database holds;
#     BUILD_DIR is a clang build tree (the thread-safety build, build/tsan).
#     The tests (tests/) are left out: their fixtures and GoogleTest's macros
#     make noise, and what the checks look for matters in the shipped code.
#     studio/wasm/ is in the database of an emscripten build only.
#   - eslint (studio/eslint.config.js) over the Studio's JavaScript: the
#     page's modules, Play on a device (studio/play/) and the browser tests.
# Usage: bash tools/lint.sh BUILD_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 1 ]] || { echo "usage: tools/lint.sh BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
database=$build/compile_commands.json
[[ -f $database ]] || { echo "lint: Cannot find $database: configure a clang build tree there first" >&2; exit 2; }
tidy=/usr/bin/clang-tidy
[[ -x $tidy ]] || { echo "lint: Cannot find $tidy (bash tools/setup.sh installs it)" >&2; exit 2; }
eslint=$root/studio/node_modules/.bin/eslint
[[ -x $eslint ]] || { echo "lint: Cannot find $eslint (bash tools/setup.sh installs it)" >&2; exit 2; }

# CMake writes one "file" line per translation unit.
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
  grep -E "^$root/(src|authoring|tools|studio/wasm)/" | sort -u)
[[ ${#sources[@]} -gt 0 ]] || { echo "lint: Cannot find a source of src/, authoring/ or tools/ in $database" >&2; exit 2; }

status=0
echo "lint: clang-format over the C++ sources"
(cd "$root" && git ls-files '*.cpp' '*.h' '*.c' ':!tests/layers/fixture' |
  xargs clang-format --dry-run --Werror) || status=1

# One clang-tidy per source, nproc at a time; a source's findings are printed
# in one piece, and only when it has some.
echo "lint: clang-tidy over ${#sources[@]} sources"
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 1 sh -c \
  'out=$("$0" -p "$1" --quiet "$2" 2>&1) ||
     { printf "%s\n" "$out" | grep -Ev "^[0-9]+ warnings? (generated|treated as errors)\.$"; exit 1; }' \
  "$tidy" "$build" || status=1

echo "lint: eslint over the Studio's JavaScript"
(cd "$root/studio" && "$eslint" --max-warnings 0 '*.js' play tests) || status=1

[[ $status -eq 0 ]] && echo "lint: no findings"
exit $status
