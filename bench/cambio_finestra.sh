#!/usr/bin/env bash
# What the screen shows while the program changes windows: the real program on a private
# Xvfb (1280x1024 unless SCHERMO says otherwise) is filmed by bench/cattura_x11 from before its start, through "Avvio",
# the main menu, an exercise button, the choice screen and "Conferma", into the exercise.
# Every frame the screen showed is kept as a PNG, so a person can look at each one.
#
#   bench/cambio_finestra.sh [RUNS [BUTTONS]]
#     RUNS     runs per exercise button (default 2)
#     BUTTONS  which exercise buttons, 0-based (default "0 1 2 3 4")
#   MODO=mouse bench/cambio_finestra.sh   clicks instead of manual scanning (Space, Enter)
#   OUT=/some/folder                      where the frames go (default build/bench/cambio)
#   CARICO=1                              every core kept busy meanwhile
#   SCHERMO=1920x1080                     another screen size
#
# Per run it prints the summary of bench/cattura_x11; in OUT/<button>-<run>/ lie the frames
# (frame-NNN.png), their list (frames.txt: the frames that lasted a quarter of a second or
# more are "settled", the others "between") and the map events (events.txt). A window
# change is clean when every frame between two settled ones is either the window before or
# the window after it, fully painted. It exits 0 when every run could be filmed and no frame
# is marked NEITHER; look at the frames all the same.
set -euo pipefail

RUNS="${1:-2}"
BUTTONS="${2:-0 1 2 3 4}"
MODO="${MODO:-scan}"
CARICO="${CARICO:-0}"
SCHERMO="${SCHERMO:-1280x1024}"
[ -z "${OUT:-}" ] || OUT="$(realpath -m "$OUT")"
SELF="$(realpath "$0")"
# The build folder counts from the repository's root.
cd "$(dirname "$SELF")/.."
BUILD_DIR="$(realpath -m "${BUILD_DIR:-build}")"
OUT="${OUT:-$BUILD_DIR/bench/cambio}"

fail() { echo "cambio_finestra.sh: $*" >&2; exit 2; }

BRIVO="$BUILD_DIR/brivomarte"
CATTURA="$BUILD_DIR/bench/cattura_x11"
for tool in xvfb-run xdotool; do
    command -v $tool >/dev/null || fail "$tool is missing (./setup.sh installs it)"
done
[ -x "$BRIVO" ] || fail "$BRIVO not found: build first (./setup.sh)"
[ -x "$CATTURA" ] || fail "$CATTURA not found: it is built where the X shared memory headers are (libxext-dev)"
# The rest runs on a private X server of its own.
[ -n "${CAMBIO_XVFB:-}" ] || CAMBIO_XVFB=1 OUT="$OUT" exec xvfb-run -a -s "-screen 0 ${SCHERMO}x24" "$SELF" "$@"

WORK="$(mktemp -d "${TMPDIR:-/tmp}/brivo-cambio.XXXXXX")"
PROG_PID=""
CAPT_PID=""
BUSY=()
cleanup() {
    for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null || true; done
    if [ -n "$CAPT_PID" ]; then kill "$CAPT_PID" 2>/dev/null || true; wait "$CAPT_PID" 2>/dev/null || true; fi
    if [ -n "$PROG_PID" ]; then kill "$PROG_PID" 2>/dev/null || true; wait "$PROG_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ "$CARICO" = 1 ]; then
    for _ in $(seq "$(nproc)"); do (while :; do :; done) & BUSY+=($!); done
fi

# The centres of "Avvio" and of the five exercise tiles of the main menu; "Conferma" on
# the choice screens (exercise 2 has a screen of its own) for MODO=mouse. With manual
# scanning each Space moves the highlight one tile on from the first, and on a choice
# screen it starts on "Conferma".
AVVIO="640 836"
TILE=("236 366" "640 366" "1043 366" "236 789" "640 789")
CONFERMA=("950 848" "1095 911" "950 848" "950 848" "950 848")
PAUSA=1.2

. "$(dirname "$SELF")/profilo.sh"

# The pointer comes first and rests: what it lights up by passing over is a settled frame
# of the window before, not a frame of the change.
# The points are taken on 1280x1024; every window fills the screen, so on another size they
# move in proportion.
clicca() {
    xdotool mousemove $(( $1 * ${SCHERMO%x*} / 1280 )) $(( $2 * ${SCHERMO#*x} / 1024 ))
    sleep 0.4
    xdotool click 1
}

mkdir -p "$OUT"
echo "Window changes filmed on $DISPLAY ($SCHERMO), input: $MODO, frames in $OUT"
for b in $BUTTONS; do
    for ((r = 1; r <= RUNS; r++)); do
        dir="$OUT/$b-$r"
        rm -rf "$dir"
        mkdir -p "$dir"
        home="$WORK/home.$b.$r"
        mkdir -p "$home/tmp"
        chmod 700 "$home/tmp"
        if [ "$MODO" = mouse ]; then profile "$home" ' 0 '; else profile "$home" ' 1 '; fi
        xdotool mousemove 5 5

        "$CATTURA" "$dir" >"$WORK/cattura.out" 2>&1 &
        CAPT_PID=$!
        until grep -q ready "$WORK/cattura.out" 2>/dev/null; do
            kill -0 "$CAPT_PID" 2>/dev/null || fail "cattura_x11 did not start: $(cat "$WORK/cattura.out")"
            sleep 0.05
        done
        sleep 0.3

        HOME="$home" TMPDIR="$home/tmp" XDG_RUNTIME_DIR="$home/tmp" "$BRIVO" >"$dir/program.log" 2>&1 &
        PROG_PID=$!
        for _ in $(seq 300); do
            xdotool search --onlyvisible --pid "$PROG_PID" >/dev/null 2>&1 && break
            kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended at its start (see $dir/program.log)"
            sleep 0.1
        done
        sleep "$PAUSA"
        clicca $AVVIO
        sleep "$PAUSA"
        if [ "$MODO" = mouse ]; then
            clicca ${TILE[$b]}
        else
            for ((k = 0; k < b; k++)); do xdotool key space; sleep 0.3; done
            xdotool key Return
        fi
        sleep "$PAUSA"
        if [ "$MODO" = mouse ]; then clicca ${CONFERMA[$b]}; else xdotool key Return; fi
        sleep "$PAUSA"

        kill -INT "$CAPT_PID"
        wait "$CAPT_PID" || fail "cattura_x11 failed: $(cat "$WORK/cattura.out")"
        CAPT_PID=""
        kill "$PROG_PID" 2>/dev/null || true
        wait "$PROG_PID" 2>/dev/null || true
        PROG_PID=""
        echo "button $b run $r: $(tail -1 "$WORK/cattura.out")"
        grep between "$dir/frames.txt" | sed 's/^/    /' || true
    done
done
frames=$(cat "$OUT"/*/frames.txt | wc -l)
between=$(cat "$OUT"/*/frames.txt | grep -c between || true)
neither=$(cat "$OUT"/*/frames.txt | grep -c NEITHER || true)
echo "In all: $frames frames, $between of them between two settled ones, $neither neither the window before nor the one after"
[ "$neither" -eq 0 ]
