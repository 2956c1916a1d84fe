#!/usr/bin/env bash
# Keyweave Studio: builds the engine's WebAssembly module with emscripten
# into build/studio, puts the page beside it (build/studio/site) with the
# example keymaps, and serves it on 127.0.0.1, printing the address.
#   bash tools/studio.sh           build and serve (Ctrl+C stops)
#   bash tools/studio.sh --build   build only
# The site is static: any file server can serve build/studio/site.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/studio
site=$build/site

# Debian's emscripten runs its JavaScript tools with node, which finds their
# modules (acorn) among Debian's node packages.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

# A unity build: each library's sources compile in a few translation units,
# so the headers they share are compiled a few times instead of once a source.
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_UNITY_BUILD=ON \
  -DKEYWEAVE_BUILD_TESTS=OFF -DKEYWEAVE_BUILD_BENCH=OFF -Wno-dev >/dev/null
cmake --build "$build" -j 2 --target keyweave_studio

mkdir -p "$site/examples"
cp "$root"/studio/*.html "$root"/studio/*.css "$root"/studio/*.js "$site/"
# Play on a device: the page's npm libraries (studio/package.json, installed
# by tools/setup.sh) and studio/play/ bundled into one module.
"$root"/studio/node_modules/.bin/esbuild "$root"/studio/play/index.js --bundle --format=esm \
  --target=chrome111 --minify --sourcemap --log-level=warning --outfile="$site/play.js"
# The keymap's text editor: CodeMirror (studio/package.json) and
# studio/editor/ bundled into one module.
"$root"/studio/node_modules/.bin/esbuild "$root"/studio/editor/index.js --bundle --format=esm \
  --target=chrome111 --minify --sourcemap --log-level=warning --outfile="$site/editor.js"
cp "$root"/examples/*.cfg "$root"/examples/*.play "$root"/examples/gamepads.db \
  "$root"/docs/images/shooter-screenshot.png "$site/examples/"
echo "studio: built $site ($(stat -c %s "$site/keyweave-studio.wasm") bytes of wasm, $(stat -c %s "$site/play.js") bytes of play.js, $(stat -c %s "$site/editor.js") bytes of editor.js)"

[[ ${1:-} == --build ]] && exit 0
port=${STUDIO_PORT:-8419}
echo "studio: serving on http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
