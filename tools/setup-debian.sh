#!/bin/sh
# Installs the Debian 12 packages a build needs, only those that are missing.
# Usage: tools/setup-debian.sh GROUP...   (groups: build, screenshot, fuzz, imagej)
# Quiet when everything is there; runs apt-get update once before installing,
# through sudo when not root, and retries while another apt holds the lock.
set -eu

packages_for() {
    case "$1" in
    build) echo build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev \
        libjpeg62-turbo-dev libpng-dev libtiff-dev libzstd-dev libhwy-dev qt6-base-dev fonts-liberation locales \
        libfreetype-dev libfontconfig-dev nlohmann-json3-dev \
        libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base \
        gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly \
        gstreamer1.0-libav gstreamer1.0-tools libsane-dev libsane1 sane-utils \
        poppler-utils desktop-file-utils ;;
    peers) echo libopencv-dev ;;
    screenshot) echo xvfb xauth x11-apps imagemagick xdotool ;;
    fuzz) echo clang-14 libclang-rt-14-dev ;;
    # ImageJ headless, for checking by hand that it reads our calibrated TIFF and PNG files.
    imagej) echo imagej xvfb xauth ;;
    *) echo "unknown package group: $1" >&2; exit 2 ;;
    esac
}

missing=""
for group in "$@"; do
    for package in $(packages_for "$group"); do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $package" ;;
        esac
    done
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi

apt_retrying() {
    attempt=1
    until $as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@"; do
        [ "$attempt" -ge 30 ] && return 1
        echo "apt-get is busy; retrying ($attempt)" >&2
        attempt=$((attempt + 1))
        sleep 5
    done
}

echo "Installing:$missing"
apt_retrying -q update
# shellcheck disable=SC2086
apt_retrying -q -y install --no-install-recommends $missing
