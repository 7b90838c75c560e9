#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, and starts the program.
# With a display it opens the main window; without one it renders the bundled
# sample banner with every effect, and the sample project of three scenes,
# into out/ as animated GIFs.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target brenlo brenlo-render
# The help file beside the program (skipped by CMake when chmcmd is missing).
cmake --build build -j"$(nproc)" --target pictorell_help 2>/dev/null || true

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec ./build/bin/brenlo "$@"
fi

echo "No display: rendering the sample banner with every effect into out/"
mkdir -p out
for effect in slide turn rotate zoom diffuse elastic hue; do
  ./build/bin/brenlo-render assets/sample-468x60.bmp "out/sample.gif" --effect "$effect" --gif animated
done
# The sample project: three scenes, each appearing over the one before.
./build/bin/brenlo-render assets/three-scenes/banner.pictorell "out/three-scenes.gif" --gif animated --preset google
echo "Animated GIFs written to $(pwd)/out/"
