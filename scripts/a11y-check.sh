#!/usr/bin/env bash
# Starts the window under Xvfb on its own D-Bus session with the AT-SPI bus,
# and prints what a screen reader gets (scripts/a11y_tree.py): every object's
# role, name and description; fails when a control has no name.
# Needs at-spi2-core and python3-pyatspi (scripts/setup-deps.sh).
# Usage: scripts/a11y-check.sh [path/to/brenlo] [--lang en]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
brenlo=${1:-$here/../build/bin/brenlo}
shift || true
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
# Qt talks to the AT-SPI bus only when asked or when a screen reader runs.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
xvfb-run -a -s "-screen 0 1366x768x24" dbus-run-session -- bash -c '
  "$0" "$@" & pid=$!
  /usr/bin/python3 "'"$here"'/a11y_tree.py" brenlo; rc=$?
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  exit $rc' "$brenlo" "$@"
