#!/usr/bin/env bash
# Tries the Debian package as a user would get it: builds the .deb with CPack,
# installs it on this machine with apt-get, starts the installed window under
# Xvfb as an unprivileged user with a fresh home (first start, then a start
# with a picture in English, then a first start on a desktop that has neither
# a CHM viewer nor a browser), runs the installed brenlo-render on the sample
# banner, and removes the package again. Prints everything it does; the
# screenshots land in the output folder. Needs root. Not part of ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $(id -u) -ne 0 ]]; then
  echo "Run as root: the package is installed with apt-get." >&2
  exit 1
fi

build=${BUILD_DIR:-build-package}
out=$(realpath -m "${OUT_DIR:-package-try}")
user=nobody
run() {
  echo "+ $*" >&2
  "$@"
}

./scripts/setup-deps.sh
# Only this script drives the window: xdotool presses its buttons.
if ! command -v xdotool >/dev/null; then
  run apt-get install -y -qq --no-install-recommends xdotool
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
run cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
run cmake --build "$build" -j2 >/dev/null
(cd "$build" && run cpack -G DEB)
deb=$(realpath "$(ls "$build"/pictorell_*.deb)")
run dpkg-deb --field "$deb" Package Version Section Depends Recommends Suggests
run dpkg-deb --contents "$deb"

rm -rf "$out"
mkdir -p "$out"
chmod 755 "$out"
cp assets/sample-468x60.bmp "$out/"
installed=0
cleanup() {
  if ((installed)); then
    echo "== Removing the package"
    run apt-get remove -y -qq pictorell
    run dpkg-query -W -f='${Status}\n' pictorell || true
  fi
}
trap cleanup EXIT

echo "== Installing $deb"
run env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb"
installed=1
run dpkg -L pictorell

# A fresh home for the user; its first start is the program's first start.
new_home() {
  local home
  home=$(mktemp -d /tmp/pictorell-home.XXXXXX)
  mkdir -m 700 "$home/runtime"
  chown -R "$user" "$home"
  chmod 700 "$home"
  echo "$home"
}

# session HOME SHOT ARGS...: starts /usr/bin/brenlo ARGS under Xvfb as the
# user, screenshots the screen after a few seconds, then closes the window
# with its Quit button (Alt+Q), so that the settings are written. With
# HIDE_BROWSER=1 the session sees no desktop file and no x-www-browser.
session() {
  local home=$1 shot=$2
  shift 2
  cat >"$home/session.sh" <<SESSION
/usr/bin/brenlo "\$@" &
pid=\$!
sleep 6
import -window root "$home/screen.png"
# A message box (caption "Pictorell") is answered first.
box=\$(xdotool search --name '^Pictorell\$' | head -1)
if [ -n "\$box" ]; then xdotool windowfocus --sync "\$box" key Return; sleep 1; fi
wid=\$(xdotool search --name 'Pictorell \\[' | head -1)
if [ -n "\$wid" ]; then xdotool windowfocus --sync "\$wid" key alt+q; fi
sleep 1
if kill -0 \$pid 2>/dev/null; then echo "brenlo still running: ending it"; kill \$pid; fi
wait \$pid
echo "brenlo exit code: \$?"
SESSION
  chown "$user" "$home/session.sh"
  local data_dirs=/usr/local/share:/usr/share
  [[ -n ${HIDE_BROWSER:-} ]] && data_dirs=$home/runtime
  local -a launcher=(runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime"
    LANG=C.UTF-8 XDG_DATA_DIRS="$data_dirs" xvfb-run -a -s "-screen 0 1024x768x24" sh "$home/session.sh" "$@")
  if [[ -n ${HIDE_BROWSER:-} ]]; then
    # A mount namespace of its own: x-www-browser is gone for this session only.
    (cd "$out" && unshare -m sh -c \
      '[ ! -e /usr/bin/x-www-browser ] || mount --bind /dev/null /usr/bin/x-www-browser; exec "$@"' hide "${launcher[@]}")
  else
    (cd "$out" && "${launcher[@]}")
  fi
  cp "$home/screen.png" "$shot"
}

echo "== What this desktop opens a CHM file and a web page with"
run sh -c 'xdg-mime query default application/vnd.ms-htmlhelp; xdg-mime query default text/html' || true

echo "== First start of the installed window (Japanese, the help opens)"
home=$(new_home)
run session "$home" "$out/first-start.png"
run ls -la "$home/.config/Pictorell" "$home/Pictures"
run cat "$home/.config/Pictorell/brenlo.ini"

echo "== Second start in English, with a picture on the command line"
run session "$home" "$out/english-with-picture.png" --lang en "$out/sample-468x60.bmp"
run grep -A2 '^\[Path\]' "$home/.config/Pictorell/brenlo.ini"

echo "== First start on a desktop without a CHM viewer or a browser"
home2=$(new_home)
HIDE_BROWSER=1 run session "$home2" "$out/no-browser.png"

echo "== The installed brenlo-render"
mkdir -p "$home/render"
chown "$user" "$home/render"
run runuser -u "$user" -- /usr/bin/brenlo-render "$out/sample-468x60.bmp" "$home/render/banner.gif" \
  --effect turn --gif animated --interval 0.2
run identify -format '%f %wx%h frame %s delay %T\n' "$home/render/banner-t-.gif"

rm -rf "$home" "$home2"
echo "Screenshots in $out"
