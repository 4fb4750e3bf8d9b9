#!/usr/bin/env bash
# Fast double presses against the real program: a pupil with a tremor double-clicks
# "Avvio", then an exercise button of the main menu, then "Conferma" on the choice screen,
# 5 ms apart each time (xdotool click --repeat 2 --delay 5), or presses Enter twice in
# manual scanning. The second press arrives while the window the first one opens is still
# loading. The program must never crash.
#
#   bench/double_click.sh [RUNS] [BUTTONS]
#     RUNS     double clicks per exercise button (default 50); each run double-clicks
#              "Avvio" first, so "Avvio" gets 5 x RUNS of them
#     BUTTONS  which exercise buttons, 0-based, e.g. "0 1 2 3 4" (the default)
#   LOAD=1 bench/double_click.sh      keeps every core busy meanwhile (stopped at the end)
#   BRIVO=/path/to/brivomarte         another build of the program
#   SHOTS=/some/folder                saves what the screen shows at the end of each run
#
# Every run starts the program with a new home folder (its settings root) on a private X
# server. One run in five uses manual scanning instead of the mouse: Space to the button,
# then Enter twice 5 ms apart on the menu and again on the choice screen.
# It is a check by hand, not part of the test suite; it exits non-zero when a run crashed.
set -uo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
tools=(xdotool)
[ -n "${DISPLAY:-}" ] || tools+=(xvfb-run)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "double_click.sh: $tool is missing (see bench/README.md)" >&2; exit 2; }
done
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

RUNS="${1:-50}"
BUTTONS="${2:-0 1 2 3 4}"
BRIVO="${BRIVO:-$ROOT/build/brivomarte}"
[ -x "$BRIVO" ] || { echo "double_click.sh: no program at $BRIVO (run ./setup.sh)" >&2; exit 2; }

WORK="$(mktemp -d)"
BUSY=()
cleanup() {
    for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT
if [ "${LOAD:-0}" = 1 ]; then
    for _ in $(seq "$(nproc)"); do (while :; do :; done) & BUSY+=($!); done
fi

# The screen is 1280 x 1024 and every window of the program fills it: the points are
# the centres of "Avvio", of the five exercise tiles of the main menu, and of "Conferma"
# on the choice screen (exercise 2 has a screen of its own).
AVVIO="640 836"
TILE=("236 366" "640 366" "1043 366" "236 789" "640 789")
CONFERMA=("950 895" "1095 946" "950 895" "950 895" "950 895")

# The default user's profile: the defaults, with the input mode of line 15.
profile() { # $1 home, $2 line 15
    local dir="$1/ImpostazioniProgrammiTesmo/BrivoMarte/utenti"
    mkdir -p "$dir"
    printf '%s\r\n' maiuscolo " 1 " " 4 " " 10 " True False False " 255 " " 16711680 " " 16777215 " \
        " 12648447 " " 16777152 " True False "$2" " 4 " False False " 9 " "-2147483633 " " 255 " \
        > "$dir/_predefinito.ini"
}

visible() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | sort | tr '\n' ' '; }

# Waits until the visible windows of the program differ from $2 (a new window came up),
# for at most $3 tenths of a second.
wait_change() {
    local i now
    for ((i = 0; i < $3; i++)); do
        now="$(visible "$1")"
        [ -n "$now" ] && [ "$now" != "$2" ] && return 0
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

crashes=0
runs=0
nostart=0
for b in $BUTTONS; do
    for ((r = 1; r <= RUNS; r++)); do
        home="$WORK/home.$b.$r"
        mkdir -p "$home" && chmod 700 "$home"
        mode=mouse
        ((r % 5 == 0)) && mode=scan
        if [ $mode = scan ]; then profile "$home" " 1 "; else profile "$home" " 0 "; fi
        HOME="$home" TMPDIR="$home" XDG_RUNTIME_DIR="$home" "$BRIVO" >"$WORK/out.$b.$r" 2>&1 &
        pid=$!
        if ! wait_change "$pid" "" 300; then
            # A program that could not even open its first window (the X server did not
            # take the connection, say) has nothing to do with double presses.
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            echo "button $b run $r: the program did not start:"
            tail -2 "$WORK/out.$b.$r"
            nostart=$((nostart + 1))
            rm -rf "$home" "$WORK/out.$b.$r"
            r=$((r - 1))
            ((nostart > 20)) && { echo "double_click.sh: too many failed starts" >&2; exit 2; }
            continue
        fi
        sleep 0.3
        before="$(visible "$pid")"
        xdotool mousemove $AVVIO click --repeat 2 --delay 5 1
        wait_change "$pid" "$before" 300 || true
        sleep 0.3
        before="$(visible "$pid")"
        if [ $mode = scan ]; then
            for ((k = 0; k < b; k++)); do xdotool key --delay 30 space; done
            xdotool key --delay 5 Return Return
        else
            xdotool mousemove ${TILE[$b]} click --repeat 2 --delay 5 1
        fi
        wait_change "$pid" "$before" 300 || true
        sleep 0.5
        before="$(visible "$pid")"
        # On the choice screen the highlight of manual scanning starts on "Conferma".
        if [ $mode = scan ]; then
            xdotool key --delay 5 Return Return
        else
            xdotool mousemove ${CONFERMA[$b]} click --repeat 2 --delay 5 1
        fi
        wait_change "$pid" "$before" 300 || true
        sleep 0.3
        runs=$((runs + 1))
        [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/b$b-r$r-$mode.png" 2>/dev/null
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            rc=$?
            [ $rc -eq 143 ] || [ $rc -eq 0 ] || { echo "button $b run $r ($mode): ended with $rc after being stopped"; tail -5 "$WORK/out.$b.$r"; crashes=$((crashes + 1)); }
        else
            wait "$pid" 2>/dev/null
            rc=$?
            echo "button $b run $r ($mode): the program ended by itself with status $rc"
            tail -5 "$WORK/out.$b.$r"
            crashes=$((crashes + 1))
        fi
        rm -rf "$home" "$WORK/out.$b.$r"
    done
done
echo "double_click.sh: $runs runs (buttons: $BUTTONS), $crashes crashed ($nostart starts failed and were repeated)"
[ $crashes -eq 0 ]
