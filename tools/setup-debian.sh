#!/bin/sh
# Installs the Debian packages that building, playing and testing need,
# only those that are missing. Works as root or through sudo.
set -e

# The engine, its tests and the sanitizer build; sound; the Tiled tools and
# Tiled itself for their test; the installation and the
# Debian package (man pages from --help, the desktop file's check, the
# package's dependencies); the web build and its test in Chromium.
PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libgtest-dev clang libclang-rt-14-dev xvfb xauth valgrind
          libsdl-mixer1.2-dev libtinyxml2-dev zlib1g-dev nlohmann-json3-dev tiled
          help2man desktop-file-utils man-db dpkg-dev libpng-dev emscripten chromium"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
# node and npm may come from elsewhere than Debian (a node distribution's own
# package or a manual install bundles npm); Debian's are added only when the
# commands are missing, as a second node would conflict.
command -v node >/dev/null 2>&1 || missing="$missing nodejs"
command -v npm >/dev/null 2>&1 || missing="$missing npm"

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "error: these packages are missing and neither root nor sudo is available:$missing" >&2
    exit 1
fi
$SUDO apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
