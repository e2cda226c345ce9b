#!/bin/sh
# Takes a screenshot of the desktop program with an image open.
# Usage: tools/screenshot.sh <halvera binary> <output.png>
#
# Starts the real program on a virtual X screen (Xvfb), opens a picture the way
# a user does (Ctrl+O, type the path into the file dialog, Enter) and writes a
# PNG of the whole screen.
set -eu

if [ "$#" -ne 2 ]; then
    echo "usage: $0 <halvera binary> <output.png>" >&2
    exit 2
fi
binary=$(realpath "$1")
output=$(realpath -m "$2")
for tool in xvfb-run xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing (make setup, tools/setup-debian.sh screenshot)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$(dirname "$output")"

# A picture to open: a field of soft cells on a dark ground.
convert -size 640x480 xc:'#202838' \
    -fill '#e8c070' -draw 'circle 160,140 200,170' -draw 'circle 420,300 470,330' \
    -fill '#d07850' -draw 'circle 300,220 330,260' -draw 'circle 520,120 545,150' \
    -fill '#f0e0a0' -draw 'circle 120,360 150,390' -blur 0x6 \
    -type TrueColor "BMP3:$work/cells.bmp"

cat >"$work/session.sh" <<'SESSION'
#!/bin/sh
set -eu
binary=$1 work=$2 output=$3
XDG_CONFIG_HOME="$work/config" "$binary" &
program=$!
# The splash stays for a second; then the main window appears.
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Halvera$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; kill "$program"; exit 1; }
sleep 1
xdotool mousemove --window "$window" 400 300
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+o
sleep 1.5
xdotool type --delay 20 "$work/cells.bmp"
xdotool key Return
sleep 1.5
import -window root "$output"
kill "$program"
wait "$program" 2>/dev/null || true
SESSION
chmod +x "$work/session.sh"

xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$binary" "$work" "$output"
echo "wrote $output"
