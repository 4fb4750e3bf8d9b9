#!/usr/bin/env bash
# The timing benchmark in one run: the start, the window changes, the steps that meet a
# users folder of 20,000 profiles and the automatic scanning, each against its yardstick,
# side by side on one private Xvfb (1280x1024), so that both meet the same machine.
#
#   bench/misure.sh [RUNS]      RUNS defaults to 5
#   BRIVO=/other/brivomarte SONDA=/other/sonda_profili bench/misure.sh   another build
#   CARICHI=16                  busy loops for the loaded window changes (default 16)
#   CAMBI_BARE=15               bare switches a run (default 15, as many as the program's changes)
#   AVVII=3                     starts of each kind a run, in turn (default 3)
#
# It prints every run and then the ratios:
#   - start: launch until the start window is painted (bench/tempi_x11: the whole screen
#     read through shared memory, painted = within 0.5 % of the settled screen), first
#     start (empty home folder), later start, and a later start with 20,000 profiles,
#     against a bare full-screen QLabel (bench/bare_window) and the same label linked with
#     the Qt modules the program uses (bare_window_moduli): goal 1.5x the bare label, and
#     20,000 profiles no slower than one;
#   - window changes: click until the new window is painted (Avvio to the menu, a menu
#     tile to its choice screen, Conferma to the exercise, for each of the five exercises),
#     against a bare program switching between two full-screen labels, idle and with
#     CARICHI busy loops of another program (a session of their own): goal 2.5x the bare
#     switch idle, every change in one step (the new window's first frame is the whole
#     window, focus included), none over 50 ms loaded; then, for comparison, with the
#     loops in the benchmark's own session, where each counts as much as the program;
#   - 20,000 profiles: leaving the configuration window, its user list, and the menu's
#     list of users opened (bench/sonda_profili): goal under 50 ms;
#   - automatic scanning: context switches per minute of the program while the menu is
#     scanned, one step a second.
# It is a measurement, not a test: it exits 0 whether or not the goals are met, and non-zero
# only when something could not be run.
set -euo pipefail

RUNS="${1:-5}"
case "$RUNS" in
    '' | *[!0-9]* | 0*) echo "usage: $0 [RUNS]   (a positive whole number, default 5)" >&2; exit 2 ;;
esac
SELF="$(realpath "$0")"
cd "$(dirname "$SELF")/.."
BUILD_DIR="$(realpath -m "${BUILD_DIR:-build}")"
BRIVO="${BRIVO:-$BUILD_DIR/brivomarte}"
SONDA="${SONDA:-$BUILD_DIR/bench/sonda_profili}"
TEMPI="$BUILD_DIR/bench/tempi_x11"
BARE="$BUILD_DIR/bench/bare_window"
BARE_MODULI="$BUILD_DIR/bench/bare_window_moduli"
CARICHI="${CARICHI:-16}"
CAMBI_BARE="${CAMBI_BARE:-15}"
AVVII="${AVVII:-3}"
PROFILI=20000

fail() { echo "misure.sh: $*" >&2; exit 1; }

if [ -z "${MISURE_XVFB:-}" ]; then
    for tool in xvfb-run xdotool; do command -v $tool >/dev/null || fail "$tool is missing (see bench/README.md)"; done
    [ -f "$BUILD_DIR/CMakeCache.txt" ] || fail "$BUILD_DIR is not configured: run ./setup.sh first"
    cmake --build "$BUILD_DIR" --target brivomarte bare_window bare_window_moduli tempi_x11 sonda_profili >/dev/null ||
        fail "could not build the program and the probes (tempi_x11 needs libxext-dev and libxtst-dev)"
    for p in "$BRIVO" "$SONDA" "$TEMPI" "$BARE" "$BARE_MODULI"; do [ -x "$p" ] || fail "$p not found"; done
    # The rest runs on a private X server of its own.
    MISURE_XVFB=1 BRIVO="$BRIVO" SONDA="$SONDA" exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$SELF" "$@"
fi

WORK="$(mktemp -d "${TMPDIR:-/tmp}/brivo-misure.XXXXXX")"
PROG_PID=""
BUSY=()
fermo_carico() {
    local p
    # Each loop, and each of a session's loops, by the session it leads or belongs to.
    for p in "${BUSY[@]}"; do pkill -s "$p" 2>/dev/null || kill "$p" 2>/dev/null || true; done
    for p in "${BUSY[@]}"; do wait "$p" 2>/dev/null || true; done
    BUSY=()
}
ferma() {
    [ -n "$PROG_PID" ] || return 0
    kill "$PROG_PID" 2>/dev/null || true
    wait "$PROG_PID" 2>/dev/null || true
    PROG_PID=""
}
cleanup() {
    fermo_carico
    ferma
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
RESULTS="$WORK/results" # name ms [passi]
: >"$RESULTS"
LOG="$WORK/log"

# carico altro|stesso: CARICHI busy loops. "altro" is another program's load: one process
# group in a session of its own, as a build or a second program started elsewhere is,
# which the kernel's autogroup schedules as one party beside the benchmark's session.
# "stesso" runs the loops in the benchmark's own session, beside the program and the X
# server, so that every loop counts as much as the program: a harsher load, reported for
# comparison; the bare switch itself passes 50 ms under it.
carico() {
    local i
    if [ "$1" = altro ]; then
        setsid bash -c "for i in \$(seq $CARICHI); do (while :; do :; done) & done; wait" & BUSY+=($!)
    else
        for i in $(seq "$CARICHI"); do (while :; do :; done) & BUSY+=($!); done
    fi
}

. "$(dirname "$SELF")/profilo.sh"

# tempi NAME ARGS... : one timing by tempi_x11, kept under NAME. A start that shows
# nothing (the X server refusing the connection under load) is made again, twice at most.
tempi() {
    local nome=$1 out prova
    shift
    xdotool mousemove 1279 1023
    for prova in 1 2 3; do
        out=$("$TEMPI" "$@" 2>>"$LOG") && break
        [ "$prova" -lt 3 ] || fail "tempi_x11 $* failed: $(tail -3 "$LOG")"
    done
    echo "$nome $(awk '{ print $2, $4 }' <<<"$out")" >>"$RESULTS"
    echo "$out"
}

# lancia PROGRAM ARGS...: starts it in the background (PROG_PID) and waits until a window
# of it is visible; a start that ends without one (the X server refusing the connection
# under load) is made again, twice at most.
lancia() {
    local i prova
    for prova in 1 2 3; do
        "$@" >>"$LOG" 2>&1 &
        PROG_PID=$!
        for i in $(seq 300); do
            xdotool search --onlyvisible --pid "$PROG_PID" >/dev/null 2>&1 && return 0
            kill -0 "$PROG_PID" 2>/dev/null || break
            sleep 0.05
        done
        ferma
    done
    fail "$1 showed no window: $(tail -3 "$LOG")"
}

# avvia HOME: the program started in that home folder, its window up.
avvia() {
    HOME="$1" lancia "$BRIVO"
    sleep 0.8
}

# clicca NAME X Y : the pointer rests over the point first, then the timed click.
clicca() {
    local nome=$1 x=$2 y=$3 out
    xdotool mousemove "$x" "$y"
    sleep 0.3
    out=$("$TEMPI" clic "$x" "$y" 2>>"$LOG") || fail "tempi_x11 clic failed: $(tail -3 "$LOG")"
    echo "$nome $(awk '{ print $2, $4 }' <<<"$out")" >>"$RESULTS"
    printf ' %s %s' "$nome" "$(awk '{ print $2 "ms/" $4 }' <<<"$out")"
}

echo "Timing benchmark on $DISPLAY (1280x1024), $RUNS runs; $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "  program: $BRIVO"

# ---- the start ----
HOME_LATER="$WORK/home-later"
HOME_MOLTI="$WORK/home-molti"
mkdir -p "$HOME_LATER" "$HOME_MOLTI"
HOME="$HOME_MOLTI" QT_QPA_PLATFORM=offscreen "$SONDA" crea "$PROFILI" 2>>"$LOG" || fail "could not make the profiles"
# Untimed starts: the disk cache warm, the later start's home filled.
HOME="$HOME_LATER" "$TEMPI" avvio "$BRIVO" >/dev/null 2>>"$LOG"
HOME="$HOME_MOLTI" "$TEMPI" avvio "$BRIVO" >/dev/null 2>>"$LOG"
"$TEMPI" avvio "$BARE" >/dev/null 2>>"$LOG"
"$TEMPI" avvio "$BARE_MODULI" >/dev/null 2>>"$LOG"
echo
echo "Start (ms to the painted window):"
for run in $(seq "$RUNS"); do
    riga="  run $run:"
    for what in $(for _ in $(seq "$AVVII"); do echo bare first later molti moduli; done); do
        case $what in
            bare) out=$(tempi avvio_bare avvio "$BARE") ;;
            moduli) out=$(tempi avvio_moduli avvio "$BARE_MODULI") ;;
            first) out=$(HOME="$(mktemp -d "$WORK/home-first.XXXXXX")" tempi avvio_first avvio "$BRIVO") ;;
            later) out=$(HOME="$HOME_LATER" tempi avvio_later avvio "$BRIVO") ;;
            molti) out=$(HOME="$HOME_MOLTI" tempi avvio_molti avvio "$BRIVO") ;;
        esac
        riga+=" $what $(awk '{ print $2 }' <<<"$out")"
    done
    echo "$riga"
done

# ---- window changes ----
AVVIO="640 836"
TILE=("236 366" "640 366" "1043 366" "236 789" "640 789")
CONFERMA=("950 848" "1095 911" "950 848" "950 848" "950 848")
cambi() { # $1 idle|loaded
    local stato=$1 run b k home
    for run in $(seq "$RUNS"); do
        lancia "$BARE" cambio
        sleep 0.5
        printf '  %s run %d: bare' "$stato" "$run"
        for k in $(seq "$CAMBI_BARE"); do clicca "bare_$stato" 640 512; sleep 0.2; done
        ferma
        echo
        for b in 0 1 2 3 4; do
            home="$WORK/home-cambi.$stato.$run.$b"
            profile "$home" ' 0 '
            avvia "$home"
            printf '  %s run %d, exercise %d:' "$stato" "$run" $((b + 1))
            clicca "brivo_$stato" $AVVIO
            sleep 0.3
            clicca "brivo_$stato" ${TILE[$b]}
            sleep 0.3
            clicca "brivo_$stato" ${CONFERMA[$b]}
            ferma
            echo
        done
    done
}
echo
echo "Window changes (ms to the painted window / screens it took):"
cambi idle
carico altro
cambi loaded
fermo_carico
carico stesso
cambi loaded_same
fermo_carico

# ---- 20,000 profiles ----
echo
echo "$PROFILI profiles (ms from the click to the painted window):"
for run in $(seq "$RUNS"); do
    out=$(HOME="$HOME_MOLTI" QT_QPA_PLATFORM=xcb "$SONDA" passi 2>>"$LOG") || fail "sonda_profili failed: $(tail -3 "$LOG")"
    val() { awk -v n="$1" '$1 == n { print $2 }' <<<"$out"; }
    for n in uscita_configura lista_utenti lista_menu; do
        [ -n "$(val $n)" ] && echo "$n $(val $n)" >>"$RESULTS"
    done
    echo "  run $run: leave $(val uscita_configura), configuration list $(val lista_utenti), menu list $(val lista_menu)"
done

# ---- automatic scanning ----
# The program's context switches, all of its threads, over SECONDI seconds of the menu
# scanned automatically (one step a second).
SECONDI=10
cambi_contesto() {
    local t n=0
    for t in /proc/"$PROG_PID"/task/*/status; do
        n=$((n + $(awk '/ctxt_switches/ { s += $2 } END { print s + 0 }' "$t" 2>/dev/null || echo 0)))
    done
    echo $n
}
home="$WORK/home-scansione"
profile "$home" ' 2 '
avvia "$home"
xdotool mousemove $AVVIO click 1
sleep 2
prima=$(cambi_contesto)
sleep "$SECONDI"
dopo=$(cambi_contesto)
thread=$(ls /proc/"$PROG_PID"/task | wc -l)
ferma
scansione=$(( (dopo - prima) * 60 / SECONDI ))
echo
echo "Automatic scanning: $scansione context switches a minute ($thread threads)"

# ---- the ratios ----
median() {
    awk -v n="$1" -v c="${2:-2}" '$1 == n { print $c }' "$RESULTS" | sort -g |
        awk '{ a[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
massimo() { awk -v n="$1" '$1 == n && $2 > m { m = $2 } END { print m + 0 }' "$RESULTS"; }
in_piu_passi() { awk -v n="$1" '$1 == n && $3 > 1' "$RESULTS" | wc -l; }
quanti() { awk -v n="$1" '$1 == n' "$RESULTS" | wc -l; }
rapporto() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
esito() { awk -v r="$1" -v g="$2" 'BEGIN { print (r <= g ? "within goal" : "OVER goal") }'; }

bare=$(median avvio_bare)
moduli=$(median avvio_moduli)
echo
echo "Medians over $RUNS runs; load at the end $(cut -d' ' -f1-3 /proc/loadavg)"
printf '  start, bare label %s ms, bare label with the modules %s ms (%sx)\n' "$bare" "$moduli" "$(rapporto "$moduli" "$bare")"
for v in first later molti; do
    m=$(median avvio_$v)
    r=$(rapporto "$m" "$bare")
    printf '  start %-6s %7s ms  %5sx the bare label  %-11s  (%sx the label with the modules)\n' "$v" "$m" "$r" \
        "$(esito "$r" 1.5)" "$(rapporto "$m" "$moduli")"
done
r=$(rapporto "$(median avvio_molti)" "$(median avvio_later)")
printf '  start with %d profiles / with one: %sx  %s\n' "$PROFILI" "$r" "$(esito "$r" 1.05)"
for s in idle loaded loaded_same; do
    b=$(median bare_$s)
    m=$(median brivo_$s)
    r=$(rapporto "$m" "$b")
    verdetto=""
    [ "$s" = idle ] && verdetto="$(esito "$r" 2.5)"
    printf '  window changes %-11s %6s ms  bare switch %6s ms  %5sx  %-11s  max %s ms, %d of %d in more than one step\n' \
        "$s" "$m" "$b" "$r" "$verdetto" "$(massimo brivo_$s)" "$(in_piu_passi brivo_$s)" "$(quanti brivo_$s)"
done
oltre() { awk -v n="$1" '$1 == n && $2 > 50' "$RESULTS" | wc -l; }
printf '  loaded by another program: %d of %d changes over 50 ms  %s  (the bare switch: %d of %d)\n' \
    "$(oltre brivo_loaded)" "$(quanti brivo_loaded)" "$( [ "$(oltre brivo_loaded)" = 0 ] && echo "within goal" || echo "OVER goal")" \
    "$(oltre bare_loaded)" "$(quanti bare_loaded)"
printf '  loaded in the same session: %d of %d changes over 50 ms (the bare switch: %d of %d), for comparison\n' \
    "$(oltre brivo_loaded_same)" "$(quanti brivo_loaded_same)" "$(oltre bare_loaded_same)" "$(quanti bare_loaded_same)"
for pair in "uscita_configura:leaving the configuration window" "lista_utenti:the configuration's user list" \
            "lista_menu:the menu's user list"; do
    n=${pair%%:*}
    m=$(median "$n")
    printf '  %d profiles, %-32s %7s ms (max %s)  %s\n' "$PROFILI" "${pair#*:}" "$m" "$(massimo "$n")" "$(esito "$m" 50)"
done
printf '  automatic scanning: %d context switches a minute\n' "$scansione"
exit 0
