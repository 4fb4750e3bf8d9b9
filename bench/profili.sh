#!/usr/bin/env bash
# Many pupils: how long the steps that meet the users folder take when it holds thousands
# of profiles. The goal is under 100 ms for each, as the median of the runs.
#
#   bench/profili.sh [RUNS]            RUNS defaults to 7
#   PROFILI=20000 PROFILI_BATTITURA=50000 bench/profili.sh
#   PIATTAFORMA=offscreen bench/profili.sh     # without an X server
#   BUILD_DIR=build-other bench/profili.sh
#
# With PROFILI profiles (20,000), each run starts the program afresh (bench/sonda_profili.cpp
# drives it in its own process) and times, from the click until the next window is painted:
#   - "Avvio" to the main menu;
#   - "Modifica utente" to the configuration window's user list;
#   - leaving the configuration window ("Menu") to the main menu, with nothing changed,
#     and whether that rewrote the current profile (it should not);
# and with PROFILI_BATTITURA profiles (50,000), typing ten keys of a new pupil's name. The
# start itself, up to the painted start window, is shown too, without a goal: the program
# reads the users folder while it starts.
#
# Each time is wall-clock time; the probe's own processor time is shown beside the medians,
# for a machine busy with other work. It runs on a private Xvfb (xvfb-run) when there is
# one, else on the offscreen platform.
# It is a measurement, not a test: it exits 0 whether or not the goal is met, and non-zero
# only when something could not be run.
set -euo pipefail

cd "$(dirname "$0")/.."
RUNS="${1:-7}"
case "$RUNS" in
    '' | *[!0-9]* | 0*) echo "usage: $0 [RUNS]   (a positive whole number, default 7)" >&2; exit 2 ;;
esac
PROFILI="${PROFILI:-20000}"
PROFILI_BATTITURA="${PROFILI_BATTITURA:-50000}"
GOAL_MS=100
BUILD_DIR="$(realpath -m "${BUILD_DIR:-build}")" # relative to the repository's root
SONDA="$BUILD_DIR/bench/sonda_profili"

fail() { echo "profili.sh: $*" >&2; exit 1; }

[ -f "$BUILD_DIR/CMakeCache.txt" ] || fail "$BUILD_DIR is not configured: run ./setup.sh first"
cmake --build "$BUILD_DIR" --target sonda_profili >/dev/null || fail "could not build sonda_profili"

PIATTAFORMA="${PIATTAFORMA:-}"
if [ -z "$PIATTAFORMA" ]; then
    if command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null; then PIATTAFORMA=xcb; else PIATTAFORMA=offscreen; fi
fi

WORK="$(mktemp -d "${TMPDIR:-/tmp}/brivo-profili.XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM
# Private run-time and temporary folders: the single-copy lock lives here, so a Brivomarte
# open elsewhere does not stop the measured one.
export XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
LOG="$WORK/sonda.log"

# sonda HOME ARGS... : the probe in that home folder, on the chosen platform.
sonda() {
    local home=$1
    shift
    if [ "$PIATTAFORMA" = xcb ]; then
        HOME="$home" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$SONDA" "$@" 2>>"$LOG"
    else
        HOME="$home" QT_QPA_PLATFORM=offscreen "$SONDA" "$@" 2>>"$LOG"
    fi || { cat "$LOG" >&2; fail "sonda_profili $* failed"; }
}

RESULTS="$WORK/results" # name ms processor-ms
: >"$RESULTS"

echo "Profiles benchmark on $PIATTAFORMA, $RUNS runs; $PROFILI profiles ($PROFILI_BATTITURA for typing)"
echo "Load average at the start: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) processors)"
sonda "$WORK/home-passi" crea "$PROFILI"
sonda "$WORK/home-battitura" crea "$PROFILI_BATTITURA"
# One untimed run of each warms the disk cache.
sonda "$WORK/home-passi" passi >/dev/null
sonda "$WORK/home-battitura" battitura 10 >/dev/null

printf '\n%4s  %12s  %12s  %12s  %10s  %12s\n' run "Avvio ms" "list ms" "leave ms" rewritten "10 keys ms"
for run in $(seq "$RUNS"); do
    out="$(sonda "$WORK/home-passi" passi)"
    out+=$'\n'"$(sonda "$WORK/home-battitura" battitura 10)"
    echo "$out" >>"$RESULTS"
    val() { awk -v n="$1" '$1 == n { print $2 }' <<<"$out"; }
    printf '%4d  %12s  %12s  %12s  %10s  %12s\n' "$run" "$(val avvio_menu)" "$(val lista_utenti)" \
        "$(val uscita_configura)" "$( [ "$(val profilo_riscritto)" = 1 ] && echo yes || echo no)" "$(val battitura)"
done

# median NAME COLUMN (2 = ms, 3 = processor ms)
median() {
    awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$RESULTS" | sort -g |
        awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

echo
echo "Medians over $RUNS runs (goal: each under $GOAL_MS ms; in brackets the probe's own processor time)"
for pair in "avvio_menu:Avvio to the painted menu ($PROFILI profiles)" \
            "lista_utenti:configuration window's user list ($PROFILI profiles)" \
            "uscita_configura:leaving the configuration window ($PROFILI profiles)" \
            "battitura:ten keys of a new name ($PROFILI_BATTITURA profiles)" \
            "avvio_programma:(no goal) start to the painted start window ($PROFILI profiles)"; do
    name=${pair%%:*}
    m=$(median "$name" 2)
    verdict=$(awk -v m="$m" -v g="$GOAL_MS" 'BEGIN { print (m < g ? "within goal" : "OVER goal") }')
    [ "$name" = avvio_programma ] && verdict=""
    printf '  %-58s %8.1f ms (%6.1f)  %s\n' "${pair#*:}" "$m" "$(median "$name" 3)" "$verdict"
done
rewrites=$(awk '$1 == "profilo_riscritto" && $2 == 1' "$RESULTS" | wc -l)
echo "  leaving with nothing changed rewrote the profile in $rewrites of $RUNS runs"
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
exit 0
