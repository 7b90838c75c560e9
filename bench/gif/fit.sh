#!/usr/bin/env bash
# Builds and runs the two GIF size benchmarks: fitting into byte budgets
# against gifsicle and gifski (gif_fit), and lossless output against
# gifsicle -O3 on a corpus of few-colour banners (gif_exact), and quality at
# the bytes of ImageMagick + gifsicle -O3 and of gifski -Q 90 for every
# effect (gif_equal). Installs
# ImageMagick and gifsicle when missing and this runs as root on Debian, and
# gifski from its npm package into build-bench/tools; a peer that cannot be
# had is left out. ./test.sh never needs any of them.
#   bench/gif/fit.sh [gif_fit options, e.g. --runs 5 --only logo]
set -euo pipefail
cd "$(dirname "$0")/../.."

missing=()
command -v convert >/dev/null || missing+=(imagemagick)
command -v gifsicle >/dev/null || missing+=(gifsicle)
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Not root: comparing without ${missing[*]}" >&2
  fi
fi

tools=build-bench/tools
gifski="$tools/node_modules/gifski/bin/debian/gifski"
if [[ ! -x $gifski ]] && command -v npm >/dev/null; then
  mkdir -p "$tools"
  npm install --prefix "$tools" --no-audit --no-fund --silent gifski >/dev/null 2>&1 || true
fi
peer=()
if [[ -x $gifski ]] && "$gifski" --version >/dev/null 2>&1; then
  peer=(--gifski "$gifski")
else
  echo "gifski not available: comparing without it" >&2
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target gif_fit gif_exact gif_equal >/dev/null
# On a small shared machine threads only slow every encoder down.
export OMP_NUM_THREADS=1 MAGICK_THREAD_LIMIT=1
bench="${PICTORELL_BENCHDATA:-../shared/bench}"
build-bench/bin/gif_fit --bench "$bench" "${peer[@]}" "$@"
echo
build-bench/bin/gif_exact --bench "$bench" --assets assets
echo
build-bench/bin/gif_equal --bench "$bench" "${peer[@]}"
