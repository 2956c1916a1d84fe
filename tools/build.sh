#!/usr/bin/env bash
# Sets up, builds the library for Linux and for Windows x64, and runs the
# example C host against each (the Windows one under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target keyweave host_smoke
echo "== Linux: $(ls build/release/src/api/libkeyweave.so*  | head -n 1)"
build/release/tests/api/host_smoke

export WINEDEBUG=-all WINEPREFIX=$root/build/wine-prefix
cmake -S . -B build/release-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/release-windows -j "$jobs" --target keyweave host_smoke
echo "== Windows: build/release-windows/src/api/keyweave.dll"
wine build/release-windows/tests/api/host_smoke.exe
