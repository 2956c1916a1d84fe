#!/usr/bin/env bash
# The main job: sets up, builds the library and the keyweave command, and plays
# the example shooter keymap through a real engine on a manual clock, printing
# the timeline the host would receive and drawing the fingers' trails to
# build/shooter-play.svg. Then builds the Windows x64 DLL and runs the example
# C host (examples/host/host.c) against it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target keyweave keyweave_tool example_host
echo "== Linux library: $(ls build/release/src/api/libkeyweave.so | head -n 1)"
# The example host writes its keymap into its working folder.
(cd build/release/tests/install && ./example_host)

echo "== keyweave play examples/com.example.shooter.cfg examples/com.example.shooter.play"
build/release/tools/keyweave/keyweave play examples/com.example.shooter.cfg examples/com.example.shooter.play \
  --svg build/shooter-play.svg
echo "== trails drawn to build/shooter-play.svg"

export WINEDEBUG=-all WINEPREFIX=$root/build/wine-prefix
cmake -S . -B build/release-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/release-windows -j "$jobs" --target keyweave example_host
echo "== Windows library: build/release-windows/src/api/keyweave.dll, with the example host under Wine"
(cd build/release-windows/tests/install && wine example_host.exe)
