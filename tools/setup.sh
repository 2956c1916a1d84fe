#!/usr/bin/env bash
# Installs what building and testing Keyweave needs on Debian 12, as root.
# Does nothing (and needs no network) when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config        # native build
  googletest libgtest-dev libbenchmark-dev  # GoogleTest sources, Google Benchmark
  g++-mingw-w64-x86-64-posix               # Windows x64 cross build
  wine wine64                              # runs the Windows tests
  clang llvm libclang-rt-14-dev            # fuzzers and sanitizers with clang; llvm-dlltool
                                           # makes the Windows kit's keyweave.lib
  clang-tidy clang-format                  # tools/lint.sh: the .clang-tidy checks, the .clang-format style
  locales                                  # a decimal-comma locale for the locale tests
  nlohmann-json3-dev                       # JSON for the keyweave command (import, check --json)
  libfmt-dev                               # {fmt}, header-only: the engine's log lines and descriptions
  libfast-float-dev                        # fast_float, header-only: the keymaps' decimal numbers
  emscripten                               # the Studio: the engine compiled to WebAssembly
  chromium nodejs                          # the Studio's tests: headless Chromium driven by Playwright
  ffmpeg                                   # the Studio's tests: the fake device's H.264 stream
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages: ${missing[*]}; run this script as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The formatter's tests switch to a locale with a decimal comma when one exists.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [[ $(id -u) -eq 0 ]]; then
    sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
# tinyxml2 (PlayCover keymaps, and the SVG pictures in the tests) is built
# from Debian's source archive, pinned by version and checksum, on every
# target: fetched once into build/downloads.
cmake -P "$(dirname "$0")/../cmake/KeyweaveTinyxml2.cmake"
# The Studio's tests drive Chromium with playwright-core (npm, no browser
# download: they use Debian's Chromium), installed beside them.
# The page's own npm libraries (the keymap text's editor, the ADB and scrcpy
# clients of Play on a device), esbuild, which bundles them, and eslint
# (tools/lint.sh) go into studio/node_modules.
studio=$(dirname "$0")/../studio
tests=$studio/tests
if [[ ! -d $tests/node_modules/playwright-core || ! -x $studio/node_modules/.bin/esbuild
      || ! -x $studio/node_modules/.bin/eslint || ! -d $studio/node_modules/@codemirror/view ]]; then
  command -v npm >/dev/null || apt-get install -y -qq --no-install-recommends npm >/dev/null
  (cd "$tests" && npm ci --no-audit --no-fund >/dev/null)
  (cd "$studio" && npm ci --no-audit --no-fund >/dev/null)
fi
echo "setup: ready"
