#!/usr/bin/env bash
# Start-up benchmark: how long Brivomarte takes to put its first window on screen and how
# much memory it holds once it is up, against a bare full-screen Qt window
# (bench/bare_window.cpp). The goal is to stay within 1.5 times the bare window on both.
#
#   bench/startup.sh [RUNS]        RUNS defaults to 7
#   BUILD_DIR=build-other bench/startup.sh
#
# Each run starts both programs twice, alternating which goes first:
#   - "first start": with a brand-new empty HOME, so Brivomarte creates its settings
#     folders and default profile, as on the day it is installed;
#   - "later start": with a HOME a previous start has already filled, as every day after.
# The time is from launch until a window of the process is mapped (polled with xdotool),
# the memory is VmRSS about 500 ms later. Everything runs on one private Xvfb server.
#
# It is a measurement, not a test: it exits 0 whether or not the goal is met, and
# non-zero only when something could not be run.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

RUNS="${1:-7}"
if ! [[ "$RUNS" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [RUNS]   (RUNS a positive whole number, default 7)" >&2
    exit 2
fi

BUILD_DIR="${BUILD_DIR:-build}"
[[ "$BUILD_DIR" = /* ]] || BUILD_DIR="$ROOT/$BUILD_DIR"
BRIVO="$BUILD_DIR/brivomarte"
BARE="$BUILD_DIR/bench/bare_window"
GOAL=1.5
POLL=0.002          # seconds between two looks for the window
SETTLE=0.5          # seconds between the window showing and reading the memory
TIMEOUT_MS=30000    # a program that shows nothing in this time counts as failed

fail() { echo "startup.sh: $*" >&2; exit 1; }

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see bench/README.md)"
done
for prog in "$BRIVO" "$BARE"; do
    [ -x "$prog" ] || fail "$prog not found: build first (./setup.sh, or cmake --build $BUILD_DIR)"
done

WORK="$(mktemp -d "${TMPDIR:-/tmp}/brivo-bench.XXXXXX")"
LOG="$BUILD_DIR/bench/startup.log"
mkdir -p "$(dirname "$LOG")"
: >"$LOG"

XVFB_PID=""
PROG_PID=""
cleanup() {
    if [ -n "$PROG_PID" ]; then kill -KILL "$PROG_PID" 2>/dev/null || true; wait "$PROG_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now_ns() { date +%s%N; }

display_answers() {
    if command -v xdpyinfo >/dev/null; then
        xdpyinfo >/dev/null 2>&1
    else
        xdotool getdisplaygeometry >/dev/null 2>&1
    fi
}

# One X server for the whole benchmark, on the first display number nobody uses.
start_xvfb() {
    local n
    for n in $(seq 99 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local deadline=$(( $(now_ns) + 10000000000 ))
        while kill -0 "$XVFB_PID" 2>/dev/null; do
            display_answers && return 0
            [ "$(now_ns)" -lt "$deadline" ] || break
            sleep 0.05
        done
        # Taken in the meantime, or too slow: try the next number.
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    done
    cat "$WORK/xvfb.log" >&2 2>/dev/null || true
    fail "could not start Xvfb"
}

start_xvfb

# Private run-time and temporary folders: no warnings about XDG_RUNTIME_DIR. The
# single-copy lock lies in the settings folder of each start's own HOME, so a Brivomarte
# the user has open elsewhere does not make the measured one stop at its "already
# running" message.
export XDG_RUNTIME_DIR="$WORK/runtime"
export TMPDIR="$WORK/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Stops the program and waits until it is really gone, so that the next start never
# meets a live copy (SIGKILL leaves a stale lock, which the next start takes over).
stop_program() {
    local pid=$1 i
    kill -TERM "$pid" 2>/dev/null || true
    for i in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    PROG_PID=""
}

# measure PROGRAM HOME -> sets MS (launch to mapped window) and RSS_KB.
measure() {
    local prog=$1 home=$2 start end
    echo "=== $(basename "$prog") HOME=$home" >>"$LOG"
    start=$(now_ns)
    HOME="$home" "$prog" >>"$LOG" 2>&1 &
    PROG_PID=$!
    until xdotool search --onlyvisible --pid "$PROG_PID" >/dev/null 2>&1; do
        if ! kill -0 "$PROG_PID" 2>/dev/null; then
            wait "$PROG_PID" 2>/dev/null || true
            PROG_PID=""
            fail "$prog ended without showing a window (see $LOG)"
        fi
        if [ $(( ($(now_ns) - start) / 1000000 )) -gt "$TIMEOUT_MS" ]; then
            stop_program "$PROG_PID"
            fail "$prog showed no window within $((TIMEOUT_MS / 1000)) s (see $LOG)"
        fi
        sleep "$POLL"
    done
    end=$(now_ns)
    MS=$(awk -v d=$((end - start)) 'BEGIN { printf "%.1f", d / 1e6 }')
    sleep "$SETTLE"
    RSS_KB=$(awk '/^VmRSS:/ { print $2 }' "/proc/$PROG_PID/status" 2>/dev/null || true)
    [ -n "$RSS_KB" ] || fail "$prog ended before its memory could be read (see $LOG)"
    stop_program "$PROG_PID"
}

NAMES=(brivomarte bare_window)
PROGS=("$BRIVO" "$BARE")
VARIANTS=(first later)

# One untimed start of each program: warms the disk cache and fills the HOME
# that the "later start" runs reuse.
for k in 0 1; do
    mkdir -p "$WORK/home-${NAMES[$k]}"
    measure "${PROGS[$k]}" "$WORK/home-${NAMES[$k]}"
done

# Numbers are formatted by awk, which writes a decimal point whatever the locale.
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
ms() { awk -v m="$1" 'BEGIN { printf "%.1f", m }'; }

RESULTS="$WORK/results"   # variant program ms rss_kb
: >"$RESULTS"

echo "Start-up benchmark on Xvfb $DISPLAY (1280x1024), $RUNS runs"
echo "  brivomarte:  $BRIVO"
echo "  bare window: $BARE"
echo
printf '%4s  %-6s  %-12s  %10s  %9s\n' run start program "window ms" "RSS MB"
for run in $(seq "$RUNS"); do
    for variant in "${VARIANTS[@]}"; do
        # Alternate which program goes first, so neither always gets the warmer machine.
        if (( run % 2 )); then order=(0 1); else order=(1 0); fi
        for k in "${order[@]}"; do
            if [ "$variant" = first ]; then
                home="$(mktemp -d "$WORK/home-first.XXXXXX")"
            else
                home="$WORK/home-${NAMES[$k]}"
            fi
            measure "${PROGS[$k]}" "$home"
            echo "$variant ${NAMES[$k]} $MS $RSS_KB" >>"$RESULTS"
            printf '%4d  %-6s  %-12s  %10s  %9s\n' "$run" "$variant" "${NAMES[$k]}" "$MS" "$(mb "$RSS_KB")"
        done
    done
done

# median VARIANT PROGRAM COLUMN (3 = ms, 4 = RSS in kB)
median() {
    awk -v v="$1" -v p="$2" -v c="$3" '$1 == v && $2 == p { print $c }' "$RESULTS" | sort -g |
        awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

verdict() {
    awk -v r="$1" -v g="$GOAL" 'BEGIN { print (r <= g ? "within goal" : "OVER goal") }'
}

echo
echo "Medians over $RUNS runs (goal: brivomarte / bare window <= $GOAL)"
printf '%-6s  %14s  %14s  %6s  %-11s  %12s  %12s  %6s  %s\n' \
    start "brivo ms" "bare ms" ratio "" "brivo RSS MB" "bare RSS MB" ratio ""
for variant in "${VARIANTS[@]}"; do
    bt=$(median "$variant" brivomarte 3); rt=$(median "$variant" bare_window 3)
    bm=$(median "$variant" brivomarte 4); rm_=$(median "$variant" bare_window 4)
    tr=$(awk -v a="$bt" -v b="$rt" 'BEGIN { printf "%.2f", a / b }')
    mr=$(awk -v a="$bm" -v b="$rm_" 'BEGIN { printf "%.2f", a / b }')
    printf '%-6s  %14s  %14s  %6s  %-11s  %12s  %12s  %6s  %s\n' "$variant" \
        "$(ms "$bt")" "$(ms "$rt")" "$tr" "$(verdict "$tr")" "$(mb "$bm")" "$(mb "$rm_")" "$mr" "$(verdict "$mr")"
done
echo
echo "Program output: $LOG"
exit 0
