#!/bin/sh
# Installs the build into a staging folder (DESTDIR) under the prefix /usr, as
# `make install DESTDIR=...` does, and checks that every file is in place, that
# the desktop entry is valid, that the man pages describe the environment and
# that both programs print their version.
# usage: check-install.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

status=0
expect_file() {
    if [ ! -f "$stage/usr/$1" ]; then
        echo "missing: /usr/$1" >&2
        status=1
    fi
}
expect_file bin/halvera
expect_file bin/halvera-cli
expect_file share/applications/halvera.desktop
for size in 16 22 24 32 48 64 128 256; do
    expect_file "share/icons/hicolor/${size}x${size}/apps/halvera.png"
done
expect_file share/man/man1/halvera.1
expect_file share/man/man1/halvera-cli.1
[ "$status" -eq 0 ] || exit 1

# Not even a hint: one main category, the others additional ones.
validation=$(desktop-file-validate "$stage/usr/share/applications/halvera.desktop" 2>&1) || {
    echo "$validation" >&2
    exit 1
}
[ -z "$validation" ] || { echo "desktop-file-validate: $validation" >&2; exit 1; }
for page in halvera.1 halvera-cli.1; do
    for variable in HALVERA_SIMULATED_CAMERA SANE_CONFIG_DIR XDG_CONFIG_HOME; do
        awk '/^\.SH /{inside = $2 == "ENVIRONMENT"} inside' "$stage/usr/share/man/man1/$page" |
            grep -q "^\.B $variable\$" ||
            { echo "$page: ENVIRONMENT does not describe $variable" >&2; exit 1; }
    done
done
if grep -q '@HALVERA_VERSION@' "$stage/usr/share/man/man1/"*.1; then
    echo "a man page still carries the version placeholder" >&2
    exit 1
fi
grep -q "Halvera $version" "$stage/usr/share/man/man1/halvera.1"

cli_version=$("$stage/usr/bin/halvera-cli" --version)
[ "$cli_version" = "halvera-cli $version" ] || { echo "halvera-cli --version: $cli_version" >&2; exit 1; }
gui_version=$(QT_QPA_PLATFORM=offscreen "$stage/usr/bin/halvera" --version 2>/dev/null)
[ "$gui_version" = "Halvera $version" ] || { echo "halvera --version: $gui_version" >&2; exit 1; }
echo "installed and checked: $(cd "$stage" && find . -type f | wc -l) files"
