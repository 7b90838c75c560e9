#!/usr/bin/env bash
# Runs the window as a Wayland client of a Weston on a virtual screen: it opens the
# sample banner, previews, stops, saves through its save dialog and quits,
# and on the way steps to a paused frame and copies it (frame list and
# clipboard), driven over the accessibility bus (scripts/wayland_drive.py). Fails when
# the window prints anything (Qt warns about what a compositor refuses) or
# the save writes nothing. Installs weston and qt6-wayland when run as root
# and they are missing; not part of the normal test run (it needs both).
# Usage: scripts/wayland-check.sh [path/to/brenlo] [weston --scale, default 1]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
brenlo=$(realpath "${1:-$here/../build/bin/brenlo}")
scale=${2:-1}

need=()
command -v weston >/dev/null || need+=(weston)
dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'install ok installed' || need+=(qt6-wayland)
if ((${#need[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing: ${need[*]} (run as root, or install them)" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

work=$(mktemp -d)
weston_pid=
cleanup() {
  # Weston runs under xvfb-run, not as this shell's child: ended by its id,
  # then xvfb-run ends its X server.
  if [[ -n $weston_pid ]]; then
    kill "$weston_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$weston_pid" 2>/dev/null || break; sleep 0.1; done
  fi
  sleep 0.5
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/run" && mkdir -p "$work/home/.config/Kovatek" "$work/out"
# Not the first start: no welcome message to answer.
printf '[General]\nInstall=2026/01/01\n' >"$work/home/.config/Kovatek/Brenlo.conf"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home XDG_CONFIG_HOME=$work/home/.config

# Weston's own X11 backend on a virtual X screen rather than its headless one:
# only that gives the session a seat (keyboard and pointer), and on Wayland
# the clipboard belongs to a seat.
xvfb-run -a -s "-screen 0 1600x1000x24" sh -c 'echo $$ >"$0/weston.pid"; exec "$@"' "$work" \
  weston --backend=x11-backend.so --socket=pictorell-check --width=1366 --height=768 --scale="$scale" \
  --use-pixman --idle-time=0 --no-config --log="$work/weston.log" 2>/dev/null &
for _ in $(seq 50); do [[ -s $work/weston.pid ]] && break; sleep 0.1; done
weston_pid=$(cat "$work/weston.pid")
for _ in $(seq 50); do [[ -S $work/run/pictorell-check ]] && break; sleep 0.1; done
[[ -S $work/run/pictorell-check ]] || { cat "$work/weston.log"; echo "weston did not start" >&2; exit 1; }

export WAYLAND_DISPLAY=pictorell-check QT_QPA_PLATFORM=wayland
unset DISPLAY
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
sample=$(realpath "$here/../assets/sample-468x60.bmp")
set +e
dbus-run-session -- bash -c '
  "$0" --lang ja "$1" 2>"$2/brenlo.err" & pid=$!
  /usr/bin/python3 "$3/wayland_drive.py" "$2/out"; rc=$?
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "the window did not quit" >&2; kill "$pid"; rc=1; fi
  wait "$pid"; app=$?
  echo "brenlo exit status: $app"
  [[ $app -eq 0 ]] || rc=1
  exit $rc' "$brenlo" "$sample" "$work" "$here"
rc=$?
set -e
echo "files written:"; ls -l "$work/out"
if [[ -s $work/brenlo.err ]]; then
  echo "the window printed:"; cat "$work/brenlo.err"
  rc=1
else
  echo "the window printed nothing"
fi
grep -i -E "error|warn" "$work/weston.log" || true
echo "wayland check: $([[ $rc -eq 0 ]] && echo passed || echo FAILED) (scale $scale)"
exit $rc
