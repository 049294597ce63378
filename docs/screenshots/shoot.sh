#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/, in English and in Chinese: the
# main page (also at a screen scale of 1.5), a preset that differs from the
# controller and the Compare dialog, the quit question, a pad played on the
# controller, the function page, the About box, the firmware update and the
# connection corner (connected, no controller, a controller in update mode),
# and the keyboard's focus ring on a pad's note field.
# The editor runs on its built-in simulated controller under Xvfb, and a local
# FTP server on 127.0.0.1 offers a newer firmware; for the corner without a
# controller and in update mode it runs on a private JACK server, the latter
# with mavu-sim. Clicks go where a person would click.
#   docs/screenshots/shoot.sh [BUILD_DIR]     (default: build; korvel-mavu, mavuctl and mavu-sim built)
# Needs xvfb, xdotool, imagemagick, jackd2 and python3-pyftpdlib. At 96 dots
# per inch the window is drawn at its design size, 1080 x 892; at 144, 1620 x 1338.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
editor="$build/app/korvel-mavu"
mavuctl="$build/cli/mavuctl"
mavusim="$build/simulator/mavu-sim"
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
data = bytes((i * 97 ^ i >> 7) & 0xFF for i in range(1024 * 1024))  # the most the editor takes
open(folder + "/mavu-1.0.3.bin", "wb").write(data)
json.dump({"name": "mavu-1.0.3.bin", "ver": "1.0.3",
           "info": ["Pads respond faster to soft hits.", "Knob values no longer jump at 64."],
           "size": len(data), "sha256": hashlib.sha256(data).hexdigest()},
          open(folder + "/describe1.json", "w"))
EOF
mkfifo "$work/ftp-in"
/usr/bin/python3 "$root/tests/support/firmware/ftp_server.py" --root "$work/ftp" --lifetime 900 \
    <"$work/ftp-in" >"$work/ftp-out" 2>"$work/ftp.log" &
ftp_pid=$!
pids+=("$ftp_pid")
exec 7>"$work/ftp-in" # the server runs while this stays open
for _ in $(seq 100); do grep -q PORT "$work/ftp-out" && break; sleep 0.1; done
port=$(awk '/PORT/ {print $2}' "$work/ftp-out")
[ -n "$port" ] || { echo "the FTP server did not start" >&2; exit 1; }

# --- a preset that differs from the controller in eight settings -------------
preset="$work/my.stm"
"$mavuctl" defaults "$preset"
while read -r operation; do
    # shellcheck disable=SC2086 # an operation is its words
    "$mavuctl" edit "$preset" $operation >/dev/null
done <<'EOF'
setPadInfo 0 padData 60
setPadInfo 5 padData 70
setPadInfo 1 padtype 1
setPadInfo 2 padtype 2
setPadInfo 18 padRGB #FF0000
setBQMInfo 2 bqmData 99
setWalkingBeltInfo 1 wbMode 1
setCurveInten curve 1
EOF

# --- a preset folder for the library: a few sets and a file that is no preset
library="$work/library"
mkdir -p "$library"
for name in "Live set" "Studio drums" "Ableton clips"; do "$mavuctl" defaults "$library/$name.stm"; done
cp "$preset" "$library/my.stm"
"$mavuctl" edit "$library/Studio drums.stm" setPadInfo 0 padRGB "#00C000" >/dev/null
"$mavuctl" convert "$library/Live set.stm" "$library/Live set.json"
echo "notes for the gig" >"$library/notes.stm"

# --- a JACK server without sound hardware, for the runs without the simulator
export JACK_DEFAULT_SERVER="mavu-shoot-$$"
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy >"$work/jackd.log" 2>&1 &
pids+=($!)
sleep 2

# --- the display --------------------------------------------------------------
start_display() { # size dpi
    local file="$work/display-$2"
    exec 8>"$file"
    Xvfb -displayfd 8 -screen 0 "$1x24" -dpi "$2" -nolisten tcp -noreset >"$work/xvfb-$2.log" 2>&1 &
    pids+=($!)
    exec 8>&-
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
    DISPLAY=":$(head -1 "$file")"
    export DISPLAY
}
start_display 1400x1000 96

shot() { # name [crop]
    sleep 0.6
    import -window root "$work/full.png"
    keep "$@"
}
keep() { # name [crop]
    convert "$work/full.png" -crop "${2:-1080x892+0+0}" +repage "$here/$1.png"
    echo "docs/screenshots/$1.png"
}
# A played control is lit only for a moment: the shot waits for its ring's
# red (low green) at x,y.
shot_lit() { # name x y
    for _ in $(seq 50); do
        import -window root "$work/full.png"
        if [ "$(convert "$work/full.png" -format "%[fx:int(255*p{$2,$3}.g)]" info:)" -lt 200 ]; then
            keep "$1"
            return
        fi
        sleep 0.1
    done
    echo "$1: the control did not light" >&2
    exit 1
}
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.8}"; }
keys() { # key... (to the editor's window; there is no window manager to give it the keyboard)
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid "$editor_pid" | tail -1)"
    xdotool key --delay 100 "$@"
    sleep 0.5
}
away() { xdotool mousemove 1300 950; }
# The connection corner, with the line beside it, out of a shot of the window.
corner() { # from-png name
    convert "$1" -crop 420x34+600+828 +repage "$here/$2.png"
    echo "docs/screenshots/$2.png"
}

run_editor() { # language [editor argument...]; KORVEL_MAVU_SIM_PLAY passes on,
    # no_simulator=1 leaves the built-in simulated controller out
    local lang=$1 config="$work/config-$1" source=(--simulator)
    shift
    if [ -n "${no_simulator:-}" ]; then source=(); fi
    mkdir -p "$config/Korvel" "$work/data-$lang" "$work/run-$lang"
    chmod 700 "$work/run-$lang"
    # QSettings keeps non-Latin text escaped: \x7b80\x4f53\x4e2d\x6587 is 简体中文.
    if [ "$lang" = zh ]; then name='\x7b80\x4f53\x4e2d\x6587'; else name=English; fi
    printf '[General]\nLanguage=%s\n[Library]\nfolders=%s\n' "$name" "$library" >"$config/Korvel/korvelMavu.conf"
    XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data-$lang" XDG_RUNTIME_DIR="$work/run-$lang" \
    KORVEL_MAVU_FIRMWARE_SERVER="127.0.0.1:$port" \
        "$editor" "${source[@]}" --update-port "$work/update-$lang" "$@" >>"$work/editor-$lang.log" 2>&1 &
    editor_pid=$!
    pids+=("$editor_pid")
    # Settings, then the serial number, arrive from the simulated controller.
    sleep 6
}
stop_editor() {
    kill "$editor_pid"
    wait "$editor_pid" 2>/dev/null || true
}

# The menus' titles are as wide in both languages: Function and Help, and
# About in Help, sit in the same places.
function_menu=350 help_menu=449 about_item=148
for lang in zh en; do
    run_editor "$lang"
    away
    shot "main-$lang"
    corner "$here/main-$lang.png" "corner-connected-$lang"
    # Bank B by keyboard, then Tab to its pad B13's note (the 47th stop).
    tabs=()
    for _ in $(seq 47); do tabs+=(Tab); done
    keys ctrl+2 "${tabs[@]}"
    shot "focus-ring-$lang"
    keys Escape

    # Function page: tick a few blocks and choose the velocity curve LO in
    # column A, whose Save shows it in every column.
    click "$function_menu" 50; click $((function_menu - 12)) 80
    click 79 199        # column A, knob CC
    click 106 394       # column A, pad NOTE
    click 620 536       # column B, pad COLOR
    click 447 692       # column B, luminance
    click 303 781 0.5   # column A, the velocity curve...
    xdotool key Down Return; sleep 0.3
    click 30 795        # ...and its block ticked
    click 188 859       # column A, Save
    away
    shot "function-$lang"
    click 892 859 0.2   # column C, Save with nothing ticked
    away
    shot "function-tip-$lang"
    sleep 3
    click 850 429 0.2   # column C, a pad number typed but not ticked...
    xdotool key 4
    click 892 859 0.2   # ...and Save names it
    away
    shot "function-unticked-$lang"
    sleep 5
    click 520 95        # Back

    # About box; in Chinese the account names show their QR code on hover.
    click "$help_menu" 50; click $((help_menu - 17)) "$about_item"
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
    # The simulated controller's line is fast: the file is in within a second.
    sleep 0.2
    import -window root "$work/full.png"
    keep "update-progress-$lang"
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
        click "$help_menu" 50; click $((help_menu - 17)) "$about_item"
        click 540 493 3
        away
        shot "update-failed-$lang"
    fi
    stop_editor

    # The preset opened with the editor: a dot on each setting that differs
    # from the controller, and their count beside the connection state.
    run_editor "$lang" "$preset"
    away
    shot "status-line-$lang"
    click 48 50; click 48 287   # File, Compare…
    away
    shot "compare-$lang"
    xdotool mousemove 700 110 key Escape; sleep 0.3
    # The preset library (Ctrl+L) and the controller's history (File, History…).
    keys ctrl+l
    away
    shot "library-$lang"
    keys Escape
    click 48 50; click 48 311
    away
    shot "history-$lang"
    keys Escape
    # Closing with those changes not sent asks first; Escape keeps the editor.
    click 1047 18 1
    shot "quit-question-$lang"
    xdotool key Escape
    stop_editor

    # The corner without a controller, and with one whose update was cut short
    # (the question that comes with it stays open for the shot).
    no_simulator=1 run_editor "$lang" --midi-api jack
    away
    shot "corner-none-$lang"
    corner "$here/corner-none-$lang.png" "corner-none-$lang"
    stop_editor
    "$mavusim" --midi-api jack --update-mode --update-link "$work/loader-$lang" >"$work/sim-$lang.log" 2>&1 &
    sim_pid=$!
    pids+=("$sim_pid")
    sleep 1
    no_simulator=1 run_editor "$lang" --midi-api jack --update-port "$work/loader-$lang"
    away
    shot "corner-update-$lang"
    corner "$here/corner-update-$lang.png" "corner-update-$lang"
    stop_editor
    kill "$sim_pid"

    # Pad 3 of bank B played on the controller: bank B comes into view and
    # the pad lights. The simulator plays it once a quarter second for 15 s.
    KORVEL_MAVU_SIM_PLAY=$(printf 'pad:B3,%.0s' $(seq 59))pad:B3 run_editor "$lang"
    away
    shot_lit "pad-hit-$lang" 726 730
    stop_editor
done

# The main page again at a screen scale of 1.5.
start_display 1800x1500 144
# As a desktop's Xft.dpi says: Qt 6 takes no resolution from the screen's size.
export QT_FONT_DPI=144
for lang in zh en; do
    run_editor "$lang"
    away
    shot "main-$lang-1.5x" 1620x1338+0+0
    stop_editor
done
grep -iE "\.qml|warning" "$work"/editor-*.log | grep -v "^.*simulator:" || echo "no QML warnings"
