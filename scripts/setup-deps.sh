#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Runs apt-get only when something is missing, so repeated runs are quick.
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # build
  qt6-base-dev                       # Qt 6 Widgets: the windows, dialogs, clipboard
  qt6-image-formats-plugins          # Qt's extra image plugins (the loader must refuse what they decode)
  libgl-dev                          # OpenGL headers that Qt 6's CMake package looks for
  libgif-dev                         # giflib: GIF encoding and decoding
  libturbojpeg0-dev                  # libjpeg-turbo: JPEG encoding and decoding
  libimagequant-dev                  # palettes for GIFs with more than 256 colours
  libwebp-dev                        # libwebp: WebP sources, and the animated WebP encoder (mux, demux)
  zlib1g-dev                         # zlib: the tests and benchmarks make their own PNG files
  libgtest-dev                       # GoogleTest
  fonts-ipafont-gothic               # a Japanese font for the user interface
  qt6-translations-l10n              # Qt's own Japanese texts for the file, colour and message dialogs
  xvfb xauth                         # a display for window tests and screenshots
  at-spi2-core python3-pyatspi       # scripts/a11y-check.sh: the accessibility tree as a screen reader gets it
  fp-utils                           # chmcmd, which compiles the help file
  qt6-tools-dev qt6-l10n-tools       # Qt Linguist: lupdate/lrelease and their CMake functions (English translation)
  desktop-file-utils appstream       # validators of the desktop entry and the AppStream metainfo (tests)
  librsvg2-bin                       # rsvg-convert, which renders the PNG icons from the SVG
  dpkg-dev                           # dpkg-shlibdeps, which fills in the Depends of the .deb that CPack makes
  imagemagick giflib-tools           # independent decoders that the tests check our files with
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages and not root: run as root, or install them: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
