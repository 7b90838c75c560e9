#!/bin/sh
# Records again the SHA-256 list of every file the three saves write
# (tests/across_layers/golden/*.txt), after a change that means to alter
# those files. Review the diff of the list before committing it.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target save_golden_test -j2
PICTORELL_RECORD_GOLDEN=1 QT_QPA_PLATFORM=offscreen "$build/tests/save_golden_test"
git --no-pager diff --stat -- tests/across_layers/golden
