#!/usr/bin/env bash
# Builds and runs the animated GIF benchmark. Installs the tools it compares
# against (ImageMagick, gifsicle, ffmpeg) when they are missing and this runs
# as root on Debian; ./test.sh never needs them.
#   bench/gif/run.sh [gif_bench options, e.g. --runs 5 --only logo]
set -euo pipefail
cd "$(dirname "$0")/../.."

missing=()
command -v convert >/dev/null || missing+=(imagemagick)
command -v gifsicle >/dev/null || missing+=(gifsicle)
command -v ffmpeg >/dev/null || missing+=(ffmpeg)
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Not root: comparing without ${missing[*]}" >&2
  fi
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target gif_bench >/dev/null
# libimagequant uses OpenMP; on a small shared machine its spinning threads
# only slow everything down, so every encoder runs on one thread.
export OMP_NUM_THREADS=1 MAGICK_THREAD_LIMIT=1
exec build-bench/bin/gif_bench --bench "${PICTORELL_BENCHDATA:-../shared/bench}" "$@"
