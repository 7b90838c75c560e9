# `cpack -G DEB` in the build folder makes pictorell_<version>_<arch>.deb from
# the install rules. dpkg-shlibdeps (dpkg-dev) finds the libraries the
# executables link; what Qt loads at run time is named by hand: the platform
# plugins (libqt6gui6 only recommends them), the Japanese font the interface
# is drawn with, and Qt's own Japanese texts for the standard dialogs.
set(CPACK_PACKAGE_NAME pictorell)
set(CPACK_PACKAGE_VENDOR Kovatek)
set(CPACK_PACKAGE_CONTACT "Kovatek <kovatek@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a still picture into an animated web banner")
set(CPACK_PACKAGE_DESCRIPTION
    "Pictorell turns one still picture of up to 1000 x 200 pixels into the frames of an\n"
    "animated web banner with one of seven effects (Slide, Turn, Rotate, Zoom, Diffuse,\n"
    "Elastic, Hue), previews them, and saves numbered BMP, JPEG or GIF files or one\n"
    "animated GIF. brenlo is the window (Japanese or English), brenlo-render the same\n"
    "save from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/kovatek/pictorell)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, qt6-translations-l10n")
# xdg-open hands the help to a viewer or browser; without a CHM viewer the
# help opens as web pages. qt6-wayland is the platform plugin that lets the
# window run as a Wayland client; without it Qt falls back to XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer")

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
