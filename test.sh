#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, and runs every test:
# first a normal build, then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the tests that start threads (ctest label
# "threads") built with ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTORELL_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPICTORELL_SANITIZE=ON -DPICTORELL_WERROR=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 1200

# Only the executables of the tests labelled "threads" are built here.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTORELL_TSAN=ON -DPICTORELL_WERROR=ON
cmake --build build-tsan -j"$jobs" --target gif_measure_test gif_codec_test
TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/scripts/tsan.supp" \
  ctest --test-dir build-tsan -L threads --output-on-failure -j"$jobs" --timeout 1200
echo "All tests passed."
