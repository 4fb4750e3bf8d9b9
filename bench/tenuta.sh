#!/usr/bin/env bash
# A switch held as a pupil holds it: the real program in the main menu with manual
# scanning, every core kept busy, ten holds of 3 seconds each (xdotool keydown; sleep 3;
# xdotool keyup). The X server repeats the held key all the while; each hold must act
# exactly once.
#
#   bench/tenuta.sh [HOLDS [SECONDS]]     10 holds of Space of 3 s by default
#   TASTO=Return bench/tenuta.sh          holds of Enter instead
#   CARICO=6 bench/tenuta.sh              six busy loops per core (one by default)
#   CARICO=0 bench/tenuta.sh              on a quiet machine
#   BUILD_DIR=build-other bench/tenuta.sh
#
# Space steps the highlight: each hold must move it by exactly one button, read from the
# screen (the colour in each of the six buttons). Enter selects the highlighted button,
# the first exercise: each hold must open its choice screen and nothing more (a second
# selection would confirm the choice and open the exercise); the script then goes back
# to the menu through the exercise and its exit panel, by the mouse.
# It runs on a private Xvfb (1280x1024) with a temporary home folder holding a profile
# with manual scanning. It prints every hold and the total, and exits 0 only when every
# hold acted exactly once. A check by hand, not part of ctest.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-build}"
[[ "$BUILD_DIR" = /* ]] || BUILD_DIR="$ROOT/$BUILD_DIR"
HOLDS="${1:-10}"
SECONDS_HELD="${2:-3}"
CARICO="${CARICO:-1}"
TASTO="${TASTO:-space}"

fail() { echo "tenuta.sh: $*" >&2; exit 2; }
case "$TASTO" in space|Return) ;; *) fail "TASTO is space or Return" ;; esac

# Everything below runs inside its own X server.
if [ -z "${TENUTA_XVFB:-}" ]; then
    command -v xvfb-run >/dev/null || fail "xvfb-run is missing (see bench/README.md)"
    export TENUTA_XVFB=1
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

BRIVO="$BUILD_DIR/brivomarte"
SONDA="$BUILD_DIR/bench/sonda_x11"
command -v xdotool >/dev/null || fail "xdotool is missing (see bench/README.md)"
[ -x "$BRIVO" ] || fail "$BRIVO not found: build first (./setup.sh)"
[ -x "$SONDA" ] || fail "$SONDA not found: it is built only where libxfixes-dev is installed (see bench/README.md), then ./setup.sh"

WORK="$(mktemp -d "${TMPDIR:-/tmp}/brivo-tenuta.XXXXXX")"
PROG_PID=""
BUSY=()
cleanup() {
    for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null || true; done
    if [ -n "$PROG_PID" ]; then kill "$PROG_PID" 2>/dev/null || true; wait "$PROG_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A home of its own with the default user's profile: manual scanning, no sounds, the
# buttons grey (C0C0C0) and the highlight green (00FF00).
export HOME="$WORK/home" TMPDIR="$WORK/tmp"
mkdir -p "$TMPDIR" "$HOME/ImpostazioniProgrammiTesmo/BrivoMarte/utenti"
printf '%s\r\n' maiuscolo ' 1 ' ' 4 ' ' 10 ' False False False ' 255 ' ' 16711680 ' ' 16777215 ' \
    ' 12648447 ' ' 16777152 ' True False ' 1 ' ' 4 ' False False ' 9 ' ' 12632256 ' ' 65280 ' \
    >"$HOME/ImpostazioniProgrammiTesmo/BrivoMarte/utenti/_predefinito.INI"

GRIGIO=c0c0c0
VERDE=00ff00
# A point inside each of the six buttons, clear of its picture (the menu at 1280x1024).
PUNTI=()
for r in 0 1; do for c in 0 1 2; do PUNTI+=($((60 + c * 403)) $((356 + r * 422))); done; done

# The highlighted button: 0 to 5, or -1 when the screen does not show exactly one.
evidenziato() {
    local i=0 trovato=-1 n=0 col
    while read -r col; do
        if [ "$col" = "$VERDE" ]; then trovato=$i; n=$((n + 1));
        elif [ "$col" != "$GRIGIO" ]; then n=99; fi
        i=$((i + 1))
    done < <("$SONDA" pixel "${PUNTI[@]}")
    [ "$n" -eq 1 ] && echo "$trovato" || echo -1
}

# The highlight once the screen has settled: the same reading twice in a row.
stabile() {
    local a b t
    a=$(evidenziato)
    for t in $(seq 40); do
        sleep 0.15
        b=$(evidenziato)
        [ "$a" = "$b" ] && [ "$b" != -1 ] && { echo "$b"; return; }
        a=$b
    done
    echo -1
}

# The title of the program's visible window, once it has stayed the same for a second.
finestra() {
    local a b t
    titolo() { for w in $(xdotool search --onlyvisible --pid "$PROG_PID" 2>/dev/null); do xdotool getwindowname "$w" 2>/dev/null; done | sort -u | paste -sd'|'; }
    a=$(titolo)
    for t in $(seq 30); do
        sleep 1
        b=$(titolo)
        [ "$a" = "$b" ] && { echo "${b:-none}"; return; }
        a=$b
    done
    echo "${b:-none}"
}

"$BRIVO" >"$WORK/brivomarte.log" 2>&1 &
PROG_PID=$!
xdotool mousemove 640 512
# The start window; its "Avvio" button has the focus.
for t in $(seq 100); do
    xdotool search --onlyvisible --pid "$PROG_PID" >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1
xdotool key Return
for t in $(seq 100); do
    [ "$(evidenziato)" = 0 ] && break
    sleep 0.1
done
[ "$(evidenziato)" = 0 ] || fail "the main menu with manual scanning did not show (is the screen 1280x1024?)"
# A press of Enter within the double-click interval of the one that opened the menu would be
# the second half of a double press, and rightly go nowhere: the first hold comes later.
sleep 0.5

if [ "$CARICO" != 0 ]; then
    for i in $(seq $(( $(nproc) * CARICO ))); do
        (while :; do :; done) &
        BUSY+=($!)
    done
    echo "load: ${#BUSY[@]} busy loops, $CARICO per core"
else
    echo "load: none"
fi

buone=0
for h in $(seq "$HOLDS"); do
    if [ "$TASTO" = space ]; then
        prima=$(stabile)
        xdotool keydown space
        sleep "$SECONDS_HELD"
        xdotool keyup space
        # How soon the step shows after the release (each look costs a few milliseconds).
        t0=$(date +%s%N)
        for t in $(seq 300); do [ "$(evidenziato)" != "$prima" ] && break; done
        ms=$(( ($(date +%s%N) - t0) / 1000000 ))
        dopo=$(stabile)
        passi=$(( (dopo - prima + 6) % 6 ))
        esito=wrong
        if [ "$prima" != -1 ] && [ "$dopo" != -1 ] && [ "$passi" -eq 1 ]; then esito=ok; buone=$((buone + 1)); fi
        echo "hold $h: ${SECONDS_HELD} s, button $prima -> $dopo, steps $passi, shown ${ms} ms after the release: $esito"
    else
        prima=$(stabile)
        xdotool keydown Return
        sleep "$SECONDS_HELD"
        xdotool keyup Return
        dopo=$(finestra)
        esito=wrong
        if [ "$prima" = 0 ] && [ "$dopo" = "Scelte didattiche" ]; then esito=ok; buone=$((buone + 1)); fi
        echo "hold $h: ${SECONDS_HELD} s on button $prima, then up: $dopo: $esito"
        # Back to the menu: confirm, leave the exercise by its menu and the panel's yes.
        if [ "$dopo" = "Scelte didattiche" ]; then xdotool key Return; finestra >/dev/null || true; fi
        xdotool mousemove 151 8 click 1; sleep 1
        xdotool mousemove 801 530 click 1; sleep 0.5
        xdotool mousemove 640 512
        for t in $(seq 100); do [ "$(evidenziato)" = 0 ] && break; sleep 0.1; done
    fi
done
kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended during the holds"
echo "holds that acted exactly once: $buone/$HOLDS"
[ "$buone" -eq "$HOLDS" ]
