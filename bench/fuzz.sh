#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan + coverage) in
# build-fuzz/ and runs each in turn for a bounded time, seeded with the shared
# outside pictures. Not part of CI. One fuzzer at a time, on one core.
#
#   bench/fuzz.sh [seconds per target (default 300)] [target ...]
#
# Corpora grow in build-fuzz/corpus/<target>/; any crash, hang, leak or
# out-of-memory input lands in build-fuzz/artifacts/<target>/, and the script
# ends non-zero. Turn each such input into a regression test under
# tests/<folder>/regressions/ (made by us, never a copy of an outside file).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-300}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_picture_header fuzz_picture_loader fuzz_bmp_reader fuzz_ini_reader fuzz_project_reader fuzz_banner_check)

shared=${PICTORELL_SHARED_DIR:-}
for d in "$root/../shared" "$root/../../shared"; do
  [[ -z $shared && -d $d/testdata ]] && shared=$(cd "$d" && pwd)
done
seeds=${shared:+$shared/testdata}

if ! command -v clang++ > /dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a > /dev/null 2>&1; then
  [[ $(id -u) -eq 0 ]] || { echo "needs clang and libclang-rt-14-dev (libFuzzer); run as root to install" >&2; exit 1; }
  apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
mkdir -p build-fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTORELL_FUZZ=ON \
  -DBUILD_TESTING=OFF > build-fuzz/build.log 2>&1 || { cat build-fuzz/build.log; exit 1; }
cmake --build build-fuzz -j2 --target "${targets[@]}" intake_bench >> build-fuzz/build.log 2>&1 || { tail -40 build-fuzz/build.log; exit 1; }
# PNG and WebP seeds of our own making (good ones, and broken ones small
# enough for the fuzzers' input length).
mkdir -p build-fuzz/seeds
build-fuzz/bin/intake_bench --write-seeds build-fuzz/seeds > /dev/null

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
export QT_QPA_PLATFORM=offscreen
failed=0
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t artifacts=build-fuzz/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  # Seeds: the inputs kept from earlier findings, and the outside pictures
  # (the settings reader gets a dictionary of its keys instead).
  extra=("$root/tests/fuzz/regressions/$t")
  case $t in
    fuzz_ini_reader) extra+=(-dict="$root/fuzz/ini.dict") ;;
    fuzz_picture_*) extra+=("$root/build-fuzz/seeds"); [[ -n $seeds ]] && extra+=("$seeds") ;;
    *) [[ -n $seeds ]] && extra+=("$seeds") ;;
  esac
  echo "== $t for ${seconds}s"
  if ! "build-fuzz/bin/$t" "$corpus" "${extra[@]}" -max_total_time="$seconds" -timeout=5 \
      -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      > "build-fuzz/$t.log" 2>&1; then
    failed=1
    echo "   FAILED: see build-fuzz/$t.log and $artifacts/"
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+.*DONE' "build-fuzz/$t.log" | sed 's/^/   /' || true
done
exit $failed
