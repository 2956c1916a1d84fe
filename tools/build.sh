#!/usr/bin/env bash
# The main job: sets up, builds the library and the keyweave command, and plays
# the example shooter keymap through a real engine on a manual clock, printing
# the timeline the host would receive and drawing the fingers' trails to
# build/shooter-play.svg. Then builds the Windows x64 DLL and runs the example
# C host against it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target keyweave keyweave_tool host_smoke
echo "== Linux library: $(ls build/release/src/api/libkeyweave.so | head -n 1)"
build/release/tests/api/host_smoke

echo "== keyweave play examples/com.example.shooter.cfg examples/com.example.shooter.play"
build/release/tools/keyweave/keyweave play examples/com.example.shooter.cfg examples/com.example.shooter.play \
  --svg build/shooter-play.svg
echo "== trails drawn to build/shooter-play.svg"

export WINEDEBUG=-all WINEPREFIX=$root/build/wine-prefix
cmake -S . -B build/release-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/release-windows -j "$jobs" --target keyweave host_smoke
echo "== Windows library: build/release-windows/src/api/keyweave.dll"
wine build/release-windows/tests/api/host_smoke.exe
