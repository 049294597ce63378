#!/usr/bin/env bash
# Takes the screenshots of the function page, the About box and the firmware
# update in docs/screenshots/, in English and in Chinese: the editor runs on
# its built-in simulated controller under Xvfb, and a local FTP server on
# 127.0.0.1 offers a newer firmware. Clicks go where a person would click.
#   docs/screenshots/shoot.sh [BUILD_DIR]     (default: build)
# Needs xvfb, xdotool, imagemagick and python3-pyftpdlib. At 96 dots per inch
# the window is drawn at its design size, 1080 x 892.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
editor="$build/app/korvel-mavu"
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# --- the firmware server -----------------------------------------------------
folder="$work/ftp/firmware/korvel/zt18"
mkdir -p "$folder"
/usr/bin/python3 - "$folder" <<'EOF'
import hashlib, json, sys
folder = sys.argv[1]
data = bytes((i * 97 ^ i >> 7) & 0xFF for i in range(6 * 1024 * 1024))
open(folder + "/mavu-1.0.3.bin", "wb").write(data)
json.dump({"name": "mavu-1.0.3.bin", "ver": "1.0.3",
           "info": ["Pads respond faster to soft hits.", "Knob values no longer jump at 64."],
           "size": len(data), "sha256": hashlib.sha256(data).hexdigest()},
          open(folder + "/describe1.json", "w"))
EOF
mkfifo "$work/ftp-in"
/usr/bin/python3 "$root/tests/firmware/ftp_server.py" --root "$work/ftp" --lifetime 900 \
    <"$work/ftp-in" >"$work/ftp-out" 2>"$work/ftp.log" &
ftp_pid=$!
pids+=($ftp_pid)
exec 7>"$work/ftp-in" # the server runs while this stays open
for _ in $(seq 100); do grep -q PORT "$work/ftp-out" && break; sleep 0.1; done
port=$(awk '/PORT/ {print $2}' "$work/ftp-out")
[ -n "$port" ] || { echo "the FTP server did not start" >&2; exit 1; }

# --- the display --------------------------------------------------------------
exec 8>"$work/display"
Xvfb -displayfd 8 -screen 0 1400x1000x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"

shot() { # name [crop]
    sleep 0.6
    import -window root "$work/full.png"
    convert "$work/full.png" -crop "${2:-1080x892+0+0}" +repage "$here/$1.png"
    echo "docs/screenshots/$1.png"
}
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.8}"; }
away() { xdotool mousemove 1300 950; }

run_editor() { # language
    local lang=$1 config="$work/config-$1"
    mkdir -p "$config/Korvel" "$work/data-$lang" "$work/run-$lang"
    chmod 700 "$work/run-$lang"
    # QSettings keeps non-Latin text escaped: \x7b80\x4f53\x4e2d\x6587 is 简体中文.
    if [ "$lang" = zh ]; then name='\x7b80\x4f53\x4e2d\x6587'; else name=English; fi
    printf '[General]\nLanguage=%s\n' "$name" >"$config/Korvel/korvelMavu.conf"
    XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data-$lang" XDG_RUNTIME_DIR="$work/run-$lang" \
    KORVEL_MAVU_FIRMWARE_SERVER="127.0.0.1:$port" \
        "$editor" --simulator --update-port "$work/update-$lang" >"$work/editor-$lang.log" 2>&1 &
    editor_pid=$!
    pids+=($editor_pid)
    # Settings, then the serial number, arrive from the simulated controller.
    sleep 6
}

for lang in zh en; do
    run_editor "$lang"

    # Function page: tick a few blocks, then Save an empty column for the tip.
    click 155 50; click 143 80
    click 79 199        # column A, knob CC
    click 106 394       # column A, pad NOTE
    click 620 536       # column B, pad COLOR
    click 447 692       # column B, luminance
    away
    shot "function-$lang"
    click 892 859 0.2   # column C, Save with nothing ticked
    away
    shot "function-tip-$lang"
    sleep 3
    click 520 95        # Back

    # About box; in Chinese the account names show their QR code on hover.
    click 257 50; click 240 115
    away
    shot "about-$lang"
    if [ "$lang" = zh ]; then
        xdotool mousemove 490 512
        sleep 0.5
        shot "about-qr-$lang"
    fi

    # The update: offer, confirm, transfer, outcome.
    click 540 493 4     # "firmware updates"
    away
    shot "update-offer-$lang"
    click 555 532 0.2   # confirm
    for _ in $(seq 150); do
        grep -q "transmitStage" "$work/editor-$lang.log" && break
        sleep 0.1
    done
    sleep 1.5
    shot "update-progress-$lang"
    for _ in $(seq 600); do
        grep -q "firmware received" "$work/editor-$lang.log" && break
        sleep 0.1
    done
    sleep 2
    shot "update-done-$lang"

    if [ "$lang" = en ]; then
        # A server that is gone: the dialog says so instead of spinning.
        kill "$ftp_pid"
        sleep 1
        xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.3
        click 257 50; click 240 115
        click 540 493 3
        away
        shot "update-failed-$lang"
    fi

    kill "$editor_pid"
    wait "$editor_pid" 2>/dev/null || true
done
grep -i "qml\|warning" "$work"/editor-*.log | grep -v "^.*simulator:" || echo "no QML warnings"
