#!/bin/sh
# Installs the Debian packages that building, playing and testing need,
# only those that are missing. Works as root or through sudo.
set -e

PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libpng-dev libgtest-dev clang libclang-rt-14-dev xvfb xauth valgrind"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

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
