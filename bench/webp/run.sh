#!/usr/bin/env bash
# Builds and runs the animated WebP benchmark. Installs img2webp (Debian's
# webp package), which it compares against, when it is missing and this runs
# as root on Debian; ./test.sh never needs it.
#   bench/webp/run.sh [webp_bench options, e.g. --runs 3 --only photo]
set -euo pipefail
cd "$(dirname "$0")/../.."

if ! command -v img2webp >/dev/null; then
  if [[ $(id -u) -eq 0 ]]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends webp
  else
    echo "Not root: comparing without img2webp" >&2
  fi
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target webp_bench >/dev/null
# Our GIF (the PSNR bar) uses libimagequant on OpenMP: one thread here.
export OMP_NUM_THREADS=1
exec build-bench/bin/webp_bench --bench "${PICTORELL_BENCHDATA:-../shared/bench}" "$@"
