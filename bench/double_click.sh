#!/usr/bin/env bash
# Presses as a pupil with a tremor makes them, against the real program: two clicks 5 ms
# apart (xdotool click --repeat 2 --delay 5), or Enter twice 10 ms apart in manual
# scanning. The first press opens a window; the second is made before that window is on
# screen and must not act in it. After each try the script reads from the screen which
# window is up (the title of the program's visible window; the start window and the
# menu share a title, so a point of the menu's own colour tells them apart) and whether
# anything happened in it. It also checks that after "no" on an exit panel the switch
# pauses automatic scanning at once. The program must never crash.
#
#   bench/double_click.sh [TRIES] [SCENARIOS]
#     TRIES      tries of each scenario (default 12)
#     SCENARIOS  any of the following (default all of them):
#       avvio     "Avvio" double-clicked: the main menu is up
#       si        "SÌ" of exercise 1's exit panel double-clicked: the main menu is up
#       esci      "Esci" of the activity record window double-clicked: the main menu is up
#       tessera   Enter twice on a menu button in manual scanning: the choice screen is up
#       conferma  Enter twice on "Conferma" in manual scanning: exercise 1 is up, with
#                 no answer given (the first number still highlighted, the smiling face)
#       no        automatic scanning, "no" on exercise 1's exit panel, Space held 0.1 s
#                 later: the highlight stays where it is for 2.5 s (a step a second)
#       nomenu    the menu's exit tile, then "NO" double-clicked 1 to 40 ms apart (the
#                 gap changes from try to try): the menu stays, with no panel, and the
#                 record window it opens then is still empty
#       okdoppio  a message box over the menu (an exercise the largest number is too
#                 small for), its OK double-clicked 5 or 40 ms apart: the box closes, the
#                 menu alone stays
#       okinvio   the same box in manual scanning, Enter twice 10 ms apart: the same
#       avvio40 tessera40 configura40 esci40 menu40 si40 chiudi40
#                 a double click 40 ms apart on "Avvio", the menu's first tile,
#                 "Configurazione", the record window's "Esci", the configuration's
#                 "Menu", "SÌ" of exercise 1's exit panel, "Chiudi" of the information
#                 window: the next window is up, as a single click leaves it (the screen
#                 is compared with the one a single click gave, in a first try that is
#                 not counted)
#       tremore   a tremor on the menu's first tile: a click, then 50 to 140 ms later a
#                 second one 12 or 16 px away, or after the pointer swung 14 px out and
#                 came back 3 px from the first (the way changes from try to try): the
#                 choice screen is up with the pupil's own choice (DOMINO), not DITA, which
#                 the second press lands on
#       oktremore the message box of okdoppio, its OK clicked, then 50 to 140 ms later
#                 again 12 or 16 px away, up, down, left or right: the box closes, the
#                 menu alone stays
#       okoscilla the same box, its OK clicked, then some 90 ms later again after the
#                 pointer swung 14 to 30 px out, up, down, left or right, and came back
#                 within 6 px of the first (moves 9 ms apart), or straight 20 px away (the
#                 way changes from try to try, 16 ways): the box closes, the menu alone
#                 stays (a first try, not counted, clicks once: that alone closes it)
#       primariga the list of pupils opened with a click once BRUNO is chosen, its first
#                 row (just under the box) clicked 300 ms later: the list closes on it
#       schede    the configuration's "Suoni" tab, then its "Attiva suoni" 250 or 350 ms
#                 later: it is ticked
#       colore    the configuration's "Colore fisso", then "Colore" just under it 300 ms
#                 later: the colour dialog opens
#       pagine    the configuration window: ten of its check boxes and option buttons
#                 (two a page, but one on "Suoni", which holds no more, and three on
#                 "Scelte didattiche"), each reached from the four other pages: that
#                 page's tab, its own tab 0.6 s later, the control 300 ms after that (the
#                 pointer travelling there, or jumping, every other page it comes from):
#                 its box or circle changes (an option whose group already shows it is
#                 left for the other one first). Then a tab and two options of its page
#                 200, 300 or 400 ms apart ("Modifica utente" then "Nuovo utente";
#                 "Scansione manuale" then "Mouse e tastiera"): both act (the first
#                 watched until the second comes). Its 40 presses and 6 pairs are made in
#                 one start of the program, whatever TRIES says; it prints N/40 and N/6
#       mattone   exercise 3, "Conferma" with no brick (a wrong answer but for the number
#                 0, which is not counted), then "Mattone" 200 ms later: the brick is laid
#       aiuto     exercise 1 with numbers up to 2: two wrong answers typed, a wrong help
#                 button clicked (a try where the first button is the right one is not
#                 counted), then Enter alone: the counters stay as they were; then the
#                 right number typed and Enter: it counts (the smiling face, Errati as it was)
#       info      the menu bar's "Informazioni", then "Informazioni su Brivomarte" 200 or
#                 350 ms later: the information window opens
#                 (the last four compare the screen with a first try made with a second
#                 between the two clicks, not counted)
#       lista     the main menu's list of pupils opened with a click, a pupil's name
#                 clicked 200 or 300 ms later (the pointer travels to it): the list closes
#                 on that name (the box and the list are compared with the ones a pick
#                 1 s after the opening gave, in a first try that is not counted)
#       pronto_menu_clic pronto_menu_invio pronto_scelta1_clic pronto_scelta1_invio
#       pronto_scelta2_clic pronto_scelta2_invio
#                 a single click (mouse mode) or Enter (manual scanning) 20 ms after the
#                 menu, or either choice screen, is on screen (painted, mapped and with
#                 the keyboard, as the X server shows it): it acts. The window is opened
#                 by a press held half a second (the buttons act as they are let go), so
#                 that no press comes in the 400 ms before the one measured
#   CARICO=6 bench/double_click.sh      six busy loops per core meanwhile (stopped at the end)
#   BRIVO=/path/to/brivomarte           another build of the program
#   PASSI=1 bench/double_click.sh 1 pagine   the pointer always jumps from the tab to the
#                                       control (PASSI=6: it always travels, in six steps)
#
# Every try starts the program anew with a new home folder (its settings root) on a
# private X server of 1280 x 1024. It prints every try and a total per scenario, and exits
# non-zero unless every try went right. A check by hand, not part of the test suite.
set -uo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
tools=(xdotool)
[ -n "${DOUBLE_CLICK_XVFB:-}" ] || tools+=(xvfb-run)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "double_click.sh: $tool is missing (see bench/README.md)" >&2; exit 2; }
done
if [ -z "${DOUBLE_CLICK_XVFB:-}" ]; then
    export DOUBLE_CLICK_XVFB=1
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

TRIES="${1:-12}"
SCENARIOS="${2:-avvio si esci tessera conferma no nomenu okdoppio okinvio lista tremore oktremore okoscilla primariga schede colore pagine mattone aiuto info avvio40 tessera40 configura40 esci40 menu40 si40 chiudi40 pronto_menu_clic pronto_menu_invio pronto_scelta1_clic pronto_scelta1_invio pronto_scelta2_clic pronto_scelta2_invio}"
BRIVO="${BRIVO:-$ROOT/build/brivomarte}"
SONDA="$(dirname "$BRIVO")/bench/sonda_x11"
for p in "$BRIVO" "$SONDA"; do
    [ -x "$p" ] || { echo "double_click.sh: $p not found (run ./setup.sh)" >&2; exit 2; }
done

WORK="$(mktemp -d)"
BUSY=()
PID=""
cleanup() {
    for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null; done
    [ -n "$PID" ] && { kill "$PID" 2>/dev/null; wait "$PID" 2>/dev/null; }
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ "${CARICO:-0}" != 0 ]; then
    for _ in $(seq $(( $(nproc) * CARICO ))); do (while :; do :; done) & BUSY+=($!); done
    echo "load: ${#BUSY[@]} busy loops"
fi

# Points of the 1280 x 1024 screen, where every window of the program fills it.
AVVIO="640 836"
AVVIO_FACCIA="480 836"          # inside "Avvio", clear of its caption: efefef
TESSERA0="236 366"
TESSERA1="612 366"
TESSERA_ESCI="1043 790"         # the menu's exit tile
OK_BOX="797 491"                # OK of the message box over the menu
LISTA_ALUNNI="640 70"           # the main menu's box of pupils
ALUNNO_BRUNO="400 209"          # "BRUNO", the third row of the list dropped
LISTA_AREA="640x220+320+45"     # the box and its list dropped
PRIMA_RIGA="400 101"            # the first row of the list dropped, 6 px under the box
SCHEDA_SUONI="867 129"          # the configuration's tabs
SCHEDA_COLORI="632 129"
ATTIVA_SUONI="158 296"          # "Attiva suoni", on the "Suoni" page
COLORE_CASUALE="157 827"        # on the "Fonts e Colori" page
COLORE_FISSO="462 827"
COLORE="552 901"                # the button under "Colore fisso"
DITA_SCELTA="209 397"           # the caption strips of the first choice screen's DITA and
DOMINO_SCELTA="470 397"         # DOMINO: ff0000 when chosen
TESSERA2="1040 366"             # the menu's third tile (exercise 3)
ES3_CONFERMA="449 901"          # exercise 3's buttons
ES3_MATTONE="449 624"
ES3_BASE="219 933"              # the tower's lowest cell: ffffc0 empty
ES3_DOMINO="705 410 832 410 769 508 705 606 832 606" # the left half's dots: ff0000 drawn
ES1_DOMINO="173 191 349 191 261 336 173 483 349 483 612 191 788 191 700 336 612 483 788 483" # its dots
ES1_AIUTO="196 829"             # exercise 1's first help button
ES1_ESATTI="63x36+1087+230"     # exercise 1's counts
ES1_ERRATI="63x36+1087+298"
VOCE_INFO="330 73"              # "Informazioni su Brivomarte" in the menu "Informazioni"
MENU_CONFIGURA="25 8"           # "Configurazione" in the main menu's bar
MENU_MENU="25 8"                # "Menu" in the configuration window's bar
MENU_INFO="263 8"               # "Informazioni" in the main menu's bar
CHIUDI_INFO="640 933"           # "Chiudi" of the information window
CONFERMA2="1094 946"            # "Conferma" of the two-representation choice screen
CONFERMA2_ANGOLO="965 905"
CONFERMA="950 895"
CONFERMA_ANGOLO="775 829"       # inside "Conferma", clear of its caption: c0c0c0, or 00ff00 lit
MENU_ESCI_ESERCIZIO="151 8"     # "Esci" in an exercise's menu bar
MENU_REGISTRO="163 8"           # "Esercizi eseguiti" in the main menu's bar
ESCI_REGISTRO="22 8"            # "Esci" in the record window's bar
SI="801 530"
NO="478 530"
PANNELLO="930 470"              # inside "SÌ", clear of its picture and word: e0e0e0
SFONDO_MENU="640 120"           # the main menu's own background colour there: 80ffff
FACCINA="1096 100"              # inside the smiling face of an exercise: a yellow ffdxxx-ffexxx
REGISTRO_TESTO="400 500"        # inside the record window's text: ffffff
# Inside each number button of exercise 1's keypad (0 to 10), clear of its digit.
TASTIERINO=(69 743 195 743 321 743 447 743 574 743 701 743 69 867 195 867 321 867 447 867 574 867)
VERDE=00ff00
GRIGIO=c0c0c0
RITARDI=(1 5 10 20 30 40)       # ms between the two clicks on "NO", try by try
# How the second press of okoscilla comes, try by try: "salto DX DY", straight to DX DY
# from the first; "oscilla DX DY BX BY", out to DX DY and back to BX BY. OK spans 80 x 24
# px round OK_BOX, and 12 px more round it is still what the first press landed on: the
# swings of 26 px and more up or down leave that and come back.
OSCILLAZIONI=("salto 20 0" "oscilla 14 0 3 0" "oscilla 0 -26 0 -3" "salto 0 20" "oscilla 0 28 0 2"
    "oscilla -18 0 -5 0" "oscilla 0 -30 0 -5" "salto -20 0" "oscilla 0 26 0 6" "oscilla 0 22 0 4"
    "oscilla 0 -28 0 0" "salto 0 -20" "oscilla 0 30 0 4" "oscilla 30 0 6 0" "oscilla 0 -14 0 -6"
    "oscilla 0 30 -6 0")

# The default user's profile: $2 input mode (line 15); no sounds, the record kept, fixed
# colours, grey buttons, a green highlight.
# The largest number (line 4) is $3, 10 unless given.
profile() {
    local dir="$1/ImpostazioniProgrammiTesmo/BrivoMarte/utenti"
    mkdir -p "$dir"
    printf '%s\r\n' maiuscolo " 1 " " 4 " " ${3:-10} " False True False " 255 " " 16711680 " " 16777215 " \
        " 12648447 " " 16777152 " False False " $2 " " 4 " False False " 9 " " 12632256 " " 65280 " \
        > "$dir/_predefinito.ini"
}

# The window up now: "menu", "avvio", or the title of the program's visible window(s).
finestra() {
    local nomi
    nomi="$(for w in $(xdotool search --onlyvisible --pid "$PID" 2>/dev/null); do xdotool getwindowname "$w" 2>/dev/null; done | sort -u | paste -sd'|')"
    if [ "$nomi" = Brivomarte ]; then
        [ "$("$SONDA" pixel $SFONDO_MENU)" = 80ffff ] && echo menu || echo avvio
    else
        echo "${nomi:-none}"
    fi
}

# Whether the program's window has the keyboard (keys sent before go nowhere, whatever
# the program does).
ha_tastiera() { xdotool search --onlyvisible --pid "$PID" 2>/dev/null | grep -qx "$(xdotool getwindowfocus -f 2>/dev/null)"; }

# Whether the window up, $1, is drawn: a point of its own shows (a press made before a
# window is drawn rightly goes nowhere, and a slow machine draws late).
disegnata() {
    case "$1" in
    avvio) [ "$("$SONDA" pixel $AVVIO_FACCIA)" = efefef ] ;;
    "Scelte didattiche") [[ "$("$SONDA" pixel $CONFERMA_ANGOLO)" =~ ^(c0c0c0|00ff00)$ ]] ;;
    "Esercizio 1") [[ "$("$SONDA" pixel $FACCINA)" =~ ^ff[de][0-9a-f]{3}$ ]] ;; # the face's yellows
    "Esercizi eseguiti") [ "$("$SONDA" pixel $REGISTRO_TESTO)" = ffffff ] ;;
    *) true ;; # the menu: its own colour already tells it
    esac
}

# Waits until the window up is $1, drawn and with the keyboard, for at most $2 tenths of
# a second.
attendi() {
    local i
    for ((i = 0; i < $2; i++)); do
        [ "$(finestra)" = "$1" ] && disegnata "$1" && ha_tastiera && return 0
        kill -0 "$PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Waits until the window up is no longer $1, then until it has stayed the same for a
# second (anything the second press did has shown by then); prints it.
dopo() {
    local i a b
    for ((i = 0; i < 300; i++)); do
        a="$(finestra)"
        [ "$a" != "$1" ] && [ "$a" != none ] && break
        kill -0 "$PID" 2>/dev/null || { echo ended; return; }
        sleep 0.1
    done
    for ((i = 0; i < 30; i++)); do
        sleep 1
        b="$(finestra)"
        [ "$a" = "$b" ] && break
        a="$b"
    done
    echo "$b"
}

# The highlighted button of exercise 1's keypad, or -1.
evidenziato() {
    local i=0 trovato=-1 col
    while read -r col; do
        [ "$col" = "$VERDE" ] && trovato=$i
        i=$((i + 1))
    done < <("$SONDA" pixel "${TASTIERINO[@]}")
    echo "$trovato"
}

# Waits until the screen point $1 $2 shows the colour $3 (the highlight by default), for
# at most 10 seconds.
acceso() {
    local i
    for ((i = 0; i < 100; i++)); do [ "$("$SONDA" pixel $1 $2)" = "${3:-$VERDE}" ] && return; sleep 0.1; done
}

avvia() { # $1 input mode, $2 the largest number
    local home="$WORK/home"
    rm -rf "$home"
    mkdir -p "$home" && chmod 700 "$home"
    profile "$home" "$1" "${2:-10}"
    local p
    for p in ${ALUNNI:-}; do cp "$home/ImpostazioniProgrammiTesmo/BrivoMarte/utenti/_predefinito.ini" "$home/ImpostazioniProgrammiTesmo/BrivoMarte/utenti/$p.ini"; done
    HOME="$home" TMPDIR="$home" XDG_RUNTIME_DIR="$home" "$BRIVO" >"$WORK/out" 2>&1 &
    PID=$!
    attendi avvio 300 && sleep 0.3
}

ferma() {
    local rc=0
    if kill -0 "$PID" 2>/dev/null; then
        kill "$PID"; wait "$PID" 2>/dev/null; rc=$?
        [ $rc -eq 143 ] || [ $rc -eq 0 ] || { echo "  ended with $rc after being stopped:"; tail -5 "$WORK/out"; }
    else
        wait "$PID" 2>/dev/null; rc=$?
        echo "  the program ended by itself with status $rc:"; tail -5 "$WORK/out"
    fi
    PID=""
}

clic() { xdotool mousemove $1 $2 click 1; }
doppio() { xdotool mousemove $1 $2 click --repeat 2 --delay "${3:-5}" 1; }
invio2() { xdotool key --delay 10 Return Return; }

# How many windows of the program are on screen.
quante() { xdotool search --onlyvisible --pid "$PID" 2>/dev/null | wc -l; }

# Waits until $1 windows of the program are on screen, for at most 10 s.
finestre() {
    local i
    for ((i = 0; i < 100; i++)); do [ "$(quante)" -eq "$1" ] && return; sleep 0.1; done
    return 1
}

# The screen into $1, and how many of its points differ from $2 (a caret may blink).
schermo() { import -window root "$1"; }
# A third argument sets how far two colours may differ and still count as one (2 % unless
# given).
differenza() { printf '%.0f' "$(compare -metric AE -fuzz "${3:-2}%" "$1" "$2" null: 2>&1 | cut -d' ' -f1)"; }
# The list of pupils closed: its box is drawn lighter while the pointer, just under it, is
# taken to be over it, or not, as the leave of the closing list came in; only its name
# tells which pupil was picked.
FUZZ_LISTA=15

# Whether the record window, opened from the menu, shows no exercise: where the first
# exercise's line would be, all is white.
registro_vuoto() {
    clic $MENU_REGISTRO; attendi "Esercizi eseguiti" 300 || return 1
    sleep 0.3
    [ "$(import -window root -crop 450x45+45+150 -format '%k' info:)" = 1 ]
}

# Reaches the window whose button $1 changes windows, with the pointer on the button;
# prints the button's point and the title of the window the button opens.
verso() {
    case "$1" in
    avvio40) echo "$AVVIO|menu" ;;
    tessera40) clic $AVVIO; attendi menu 300 || return 1; sleep 0.5; echo "$TESSERA0|Scelte didattiche" ;;
    configura40) clic $AVVIO; attendi menu 300 || return 1; sleep 0.5; echo "$MENU_CONFIGURA|Configurazione" ;;
    esci40)
        clic $AVVIO; attendi menu 300 || return 1
        sleep 0.5; clic $MENU_REGISTRO; attendi "Esercizi eseguiti" 300 || return 1
        sleep 0.5; echo "$ESCI_REGISTRO|menu" ;;
    menu40)
        clic $AVVIO; attendi menu 300 || return 1
        sleep 0.5; clic $MENU_CONFIGURA; attendi Configurazione 300 || return 1
        sleep 0.5; echo "$MENU_MENU|menu" ;;
    si40)
        clic $AVVIO; attendi menu 300 || return 1
        sleep 0.5; clic $TESSERA0; attendi "Scelte didattiche" 300 || return 1
        sleep 0.5; clic $CONFERMA; attendi "Esercizio 1" 300 || return 1
        sleep 0.5; clic $MENU_ESCI_ESERCIZIO; acceso $PANNELLO e0e0e0; sleep 0.5
        echo "$SI|menu" ;;
    chiudi40)
        clic $AVVIO; attendi menu 300 || return 1
        sleep 0.5; clic $MENU_INFO; sleep 0.5; xdotool key Up Return
        attendi Informazioni 300 || return 1
        sleep 0.5; echo "$CHIUDI_INFO|menu" ;;
    esac
}

# A press held half a second on the point $2 $3 (mouse) or on Enter ($2 = invio, with
# $3 the key): let go, it opens a window, whose point $4 $5 turns to $6; then 20 ms after
# that window is on screen, a single click on $7 $8 or Enter ($7 = invio). Prints how long
# the window took to come.
tenuto_poi_uno() {
    if [ "$2" = invio ]; then xdotool keydown "$3"; else xdotool mousemove $2 $3 mousedown 1; fi
    sleep 0.5
    "$SONDA" attendi $4 $5 $6 20 >"$WORK/attesa" &
    local sonda=$!
    sleep 0.05
    if [ "$2" = invio ]; then xdotool keyup "$3"; else xdotool mouseup 1; fi
    wait $sonda || { echo "the window never came"; return 1; }
    if [ "$7" = invio ]; then xdotool key Return; else xdotool mousemove $7 $8 click 1; fi
    echo -n "window on screen $(cat "$WORK/attesa") ms after the release, "
}

# Starts the program in mouse mode and opens the message box over the menu (an exercise the
# largest number, 2, is too small for); returns as a try would when that fails.
scatola_sul_menu() {
    avvia 0 2 || return 3
    clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
    sleep 0.5; clic $TESSERA1
    finestre 2 || { echo "no message box"; return 1; }
    sleep 0.5
}

# The configuration's five tabs, left to right: the x of each (all at y 129) and its name.
SCHEDE_X=(161 396 632 867 1101)
SCHEDE_NOMI=("Utente" "Scelte didattiche" "Fonts e Colori" "Suoni" "Modalità di input")
# Check boxes and option buttons of the configuration's pages, as "tab|point|other|caption":
# the point is the middle of the box or of the circle, dark when it is ticked or chosen. An
# option comes with the other option of its group, tried right after it, so that each click
# changes what the group shows. "Suoni" holds one check box only: "Scelte didattiche" lends
# it a third control.
CONTROLLI=(
    "0|100 380|1|Modifica utente"
    "0|100 488|0|Nuovo utente"
    "1|128 196||disabilita il controllo autonomo da parte dell'alunno"
    "1|983 931|4|minuscolo"
    "1|708 931|3|MAIUSCOLO"
    "2|157 827|6|Colore casuale"
    "2|462 827|5|Colore fisso"
    "3|158 296||Attiva suoni"
    "4|114 400|9|Scansione manuale - spazio e invio"
    "4|114 264|8|Mouse e tastiera"
)
# Two options of one page clicked in turn, as "tab|first|second|the third option of the
# group, chosen beforehand so that neither of the two is|captions".
IN_FILA=(
    "0|100 380|100 488|100 285|Modifica utente, then Nuovo utente"
    "4|114 400|114 264|114 536|Scansione manuale, then Mouse e tastiera"
)

# Whether the box or circle whose middle is $1 $2 is ticked or chosen: a mark of the
# style's dark grey fills a good part of the 7 x 7 points round its middle (an empty one
# has none, a hovered or focused one neither).
spuntato() {
    local punti=() dx dy c n=0
    for dy in -3 -2 -1 0 1 2 3; do for dx in -3 -2 -1 0 1 2 3; do punti+=($(($1 + dx)) $(($2 + dy))); done; done
    while read -r c; do
        ((16#${c:0:2} + 16#${c:2:2} + 16#${c:4:2} < 384)) && n=$((n + 1))
    done < <("$SONDA" pixel "${punti[@]}")
    ((n >= 8))
}

# Reads, into STATO, whether each control of the page $1 (on screen) is ticked or chosen.
leggi_pagina() {
    local i p punto resto
    for i in "${!CONTROLLI[@]}"; do
        IFS='|' read -r p punto resto <<<"${CONTROLLI[$i]}"
        [ "$p" = "$1" ] || continue
        if spuntato $punto; then STATO[$i]=1; else STATO[$i]=0; fi
    done
}

# From the point $1 $2, clicked, to the point $3 $4 in $5 steps over 300 ms, clicked: the
# xdotool commands, for one chain (a hand travels; with one step the pointer jumps).
tragitto() {
    local k passi=() passo
    passo=$(printf '0.%03d' $((300 / $5)))
    for ((k = 1; k < $5; k++)); do
        passi+=(sleep $passo mousemove $(($1 + ($3 - $1) * k / $5)) $(($2 + ($4 - $2) * k / $5)))
    done
    echo mousemove $1 $2 click 1 "${passi[@]}" sleep $passo mousemove $3 $4 click 1
}

# How the pointer goes from a tab to the control: $1 steps (1: a jump, 6: it travels).
come() { [ "$1" = 1 ] && echo "jumping" || echo "travelling"; }

# One press of "pagine": the control $1 reached from the tab $2, the pointer going from the
# tab to it in $3 steps. Says in RIGA what it did (STATO, which it keeps, would be lost in
# a subshell) and returns 0 when it acted.
pagina_prova() {
    local p punto altro nome x y tx qx atteso
    IFS='|' read -r p punto altro nome <<<"${CONTROLLI[$1]}"
    x=${punto% *}; y=${punto#* }; tx=${SCHEDE_X[$p]}; qx=${SCHEDE_X[$2]}
    if [ -n "$altro" ] && [ "${STATO[$1]}" = 1 ]; then
        # Already chosen (the click before on the other option went nowhere): the other
        # one is chosen first, long enough before.
        local suo; IFS='|' read -r _ suo _ <<<"${CONTROLLI[$altro]}"
        clic $tx 129; sleep 0.6; clic $suo; sleep 0.6; leggi_pagina "$p"
    fi
    [ -n "$altro" ] && atteso=1 || atteso=$((1 - STATO[$1]))
    clic $qx 129; sleep 0.6
    xdotool $(tragitto $tx 129 $x $y $3)
    sleep 1; leggi_pagina "$p"
    RIGA="\"$nome\" (${SCHEDE_NOMI[$p]}) 300 ms after its tab, coming from \"${SCHEDE_NOMI[$2]}\", $(come $3): "
    if [ "${STATO[$1]}" = "$atteso" ]; then RIGA+="acted"; else RIGA+="went nowhere"; return 1; fi
}

# One try of the second part of "pagine": the pair $1 of IN_FILA, $2 ms between the two
# clicks, the pointer going from the tab to the first in $3 steps, then travelling to the
# second. Prints what happened and returns 0 when both acted.
in_fila_prova() {
    local p primo secondo terzo nomi x y x2 y2 tx qx k passi=() osserva visto=no
    IFS='|' read -r p primo secondo terzo nomi <<<"${IN_FILA[$1]}"
    x=${primo% *}; y=${primo#* }; x2=${secondo% *}; y2=${secondo#* }; tx=${SCHEDE_X[$p]}; qx=${SCHEDE_X[$(((p + 2) % 5))]}
    clic $tx 129; sleep 0.6; clic $terzo; sleep 0.6
    if spuntato $primo || spuntato $secondo; then echo "$nomi: the third option could not be chosen first"; return 1; fi
    clic $qx 129; sleep 0.6
    # The first option is chosen only until the second click: a probe watches for it.
    rm -f "$WORK/primo"
    (for ((k = 0; k < 400; k++)); do spuntato $x $y && { : >"$WORK/primo"; break; }; done) &
    osserva=$!
    for ((k = 1; k < $2 / 50; k++)); do passi+=(sleep 0.05 mousemove $((x + (x2 - x) * k * 50 / $2)) $((y + (y2 - y) * k * 50 / $2))); done
    xdotool $(tragitto $tx 129 $x $y $3) "${passi[@]}" sleep 0.05 mousemove $x2 $y2 click 1
    sleep 1; kill $osserva 2>/dev/null; wait $osserva 2>/dev/null
    [ -f "$WORK/primo" ] && visto=yes
    echo -n "$nomi $2 ms later, on \"${SCHEDE_NOMI[$p]}\" 300 ms after its tab ($(come $3)): the first "
    echo -n "$([ $visto = yes ] && echo acted || echo "went nowhere"), the second "
    if spuntato $x2 $y2; then echo acted; else echo "went nowhere"; return 1; fi
    [ $visto = yes ]
}

# "pagine": one start of the program for all its presses, each counted. Sets fallite.
pagine() {
    local avvii=0 i p q k n=0 buone=0 coppie=0 fatte=0 g esito passi
    STATO=()
    until avvia 0; do
        echo "pagine: the program did not start: $(grep -m1 . "$WORK/out")"
        kill "$PID" 2>/dev/null; wait "$PID" 2>/dev/null; PID=""
        ((++avvii > 5)) && { echo "pagine: too many failed starts"; fallite=1; return; }
    done
    clic $AVVIO; attendi menu 300 || { echo "pagine: no menu"; ferma; fallite=1; return; }
    sleep 0.5; clic $MENU_CONFIGURA; attendi Configurazione 300 || { echo "pagine: no configuration"; ferma; fallite=1; return; }
    sleep 0.5
    for p in 4 3 2 1 0; do clic ${SCHEDE_X[$p]} 129; sleep 0.6; leggi_pagina $p; done
    # The pointer travels from the tab to the control, or jumps there, every other tab it
    # comes from: a judge that follows the pointer's way may tell the two apart.
    for p in 0 1 2 3 4; do
        k=0
        for q in 0 1 2 3 4; do
            [ $q = $p ] && continue
            passi=${PASSI:-$((k++ % 2 ? 1 : 6))}
            for i in "${!CONTROLLI[@]}"; do
                [ "${CONTROLLI[$i]%%|*}" = $p ] || continue
                n=$((n + 1))
                if pagina_prova $i $q $passi; then buone=$((buone + 1)); echo "pagine $n: $RIGA: ok"; else echo "pagine $n: $RIGA: WRONG"; fi
            done
        done
    done
    for g in 200 300 400; do
        for i in "${!IN_FILA[@]}"; do
            fatte=$((fatte + 1))
            passi=${PASSI:-$(((i + g / 100) % 2 ? 1 : 6))}
            esito="$(in_fila_prova $i $g $passi)" && { coppie=$((coppie + 1)); echo "pagine, in turn $fatte: $esito: ok"; } || echo "pagine, in turn $fatte: $esito: WRONG"
        done
    done
    ferma
    echo "pagine: $buone/$n acted"
    echo "pagine, two options in turn: $coppie/$fatte with both acting"
    [ $buone = $n ] && [ $coppie = $fatte ] || fallite=1
}

# One try of a scenario: prints what the screen showed and returns 0 when it is right.
prova() {
    local visto
    case "$1" in
    avvio)
        avvia 0 || return 3
        doppio $AVVIO
        visto="$(dopo avvio)"; echo "$visto"; [ "$visto" = menu ] ;;
    si)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; clic $TESSERA0; attendi "Scelte didattiche" 300 || { echo "no choice screen"; return 1; }
        sleep 0.5; clic $CONFERMA; attendi "Esercizio 1" 300 || { echo "no exercise"; return 1; }
        sleep 0.5; clic $MENU_ESCI_ESERCIZIO; acceso $PANNELLO e0e0e0; sleep 0.5
        doppio $SI
        visto="$(dopo "Esercizio 1")"; echo "$visto"; [ "$visto" = menu ] ;;
    esci)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; clic $MENU_REGISTRO; attendi "Esercizi eseguiti" 300 || { echo "no record window"; return 1; }
        sleep 0.5; doppio $ESCI_REGISTRO
        visto="$(dopo "Esercizi eseguiti")"; echo "$visto"; [ "$visto" = menu ] ;;
    tessera)
        avvia 1 || return 3
        xdotool key Return; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; invio2
        visto="$(dopo menu)"; echo "$visto"; [ "$visto" = "Scelte didattiche" ] ;;
    conferma)
        avvia 1 || return 3
        xdotool key Return; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; xdotool key Return; attendi "Scelte didattiche" 300 || { echo "no choice screen"; return 1; }
        sleep 0.5; invio2
        visto="$(dopo "Scelte didattiche")"
        local tasto faccia
        tasto="$(evidenziato)"; faccia="$("$SONDA" pixel $FACCINA)"
        echo "$visto, button $tasto highlighted, face $faccia"
        [ "$visto" = "Esercizio 1" ] && [ "$tasto" = 0 ] && [[ "$faccia" =~ ^ff[de][0-9a-f]{3}$ ]] ;;
    no)
        avvia 2 || return 3
        xdotool key Return; attendi menu 300 || { echo "no menu"; return 1; }
        # Space once the first button, then "Conferma", is highlighted.
        acceso 60 356; xdotool key space; attendi "Scelte didattiche" 300 || { echo "no choice screen"; return 1; }
        acceso $CONFERMA_ANGOLO; xdotool key space; attendi "Esercizio 1" 300 || { echo "no exercise"; return 1; }
        sleep 0.5; clic $MENU_ESCI_ESERCIZIO; acceso $PANNELLO e0e0e0; sleep 0.5
        clic $NO; sleep 0.1
        xdotool keydown space
        sleep 0.3; local a b; a="$(evidenziato)"
        sleep 2.5; b="$(evidenziato)"
        xdotool keyup space
        echo "button $a highlighted 0.3 s into the hold, $b at 2.8 s"
        [ "$a" != -1 ] && [ "$a" = "$b" ] ;;
    nomenu)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; clic $TESSERA_ESCI; acceso $PANNELLO e0e0e0
        local d=${RITARDI[$(( ($2 - 1) % ${#RITARDI[@]} ))]}
        sleep 0.5; doppio $NO "$d"
        sleep 1.5
        local pannello vuoto=empty
        visto="$(finestra)"; pannello="$("$SONDA" pixel $PANNELLO)"
        [ "$visto" = menu ] && { registro_vuoto || vuoto="NOT empty"; }
        echo "$d ms apart: $visto, panel $([ "$pannello" = e0e0e0 ] && echo shown || echo gone), record $vuoto"
        [ "$visto" = menu ] && [ "$pannello" != e0e0e0 ] && [ "$vuoto" = empty ] ;;
    okdoppio | okinvio)
        local d=5 n
        if [ "$1" = okdoppio ]; then
            avvia 0 2 || return 3
            clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
            sleep 0.5; clic $TESSERA1
        else
            avvia 1 2 || return 3
            xdotool key Return; attendi menu 300 || { echo "no menu"; return 1; }
            sleep 0.5; xdotool key space; sleep 0.5; xdotool key Return
        fi
        finestre 2 || { echo "no message box"; return 1; }
        sleep 0.5
        if [ "$1" = okdoppio ]; then
            (($2 % 2 == 0)) && d=40
            doppio $OK_BOX $d; echo -n "clicks $d ms apart: "
        else
            invio2; echo -n "Enter twice 10 ms apart: "
        fi
        sleep 1.5; n="$(quante)"; visto="$(finestra)"
        echo "$n window(s), $visto"
        [ "$n" = 1 ] && [ "$visto" = menu ] ;;
    lista)
        ALUNNI="anna bruno carla" avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5
        local attesa=0.$(($2 % 2 == 0 ? 3 : 2)) diff
        [ -f "$WORK/rif-lista.png" ] || attesa=1
        clic $LISTA_ALUNNI; sleep $attesa; clic $ALUNNO_BRUNO; sleep 1
        import -window root -crop $LISTA_AREA "$WORK/lista.png"
        if [ "$attesa" = 1 ]; then
            mv "$WORK/lista.png" "$WORK/rif-lista.png"; echo "reference (picked 1 s after the opening)"; return 4
        fi
        diff="$(differenza "$WORK/lista.png" "$WORK/rif-lista.png" $FUZZ_LISTA)"
        echo "picked ${attesa#0.}00 ms after the opening: $diff points differ from the reference"
        [ "${diff:-99999}" -lt 50 ] ;;
    tremore)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5
        local x=${TESSERA0% *} y=${TESSERA0#* } d=$((50 + ($2 * 30) % 100)) dita domino
        local pausa mezza
        pausa=$(printf '0.%03d' $d); mezza=$(printf '0.%03d' $((d / 2)))
        case $(($2 % 5)) in
        0) xdotool mousemove $x $y click 1 sleep $pausa mousemove $((x + 12)) $y click 1; echo -n "12 px right" ;;
        1) xdotool mousemove $x $y click 1 sleep $pausa mousemove $x $((y + 16)) click 1; echo -n "16 px down" ;;
        2) xdotool mousemove $x $y click 1 sleep $pausa mousemove $((x - 16)) $y click 1; echo -n "16 px left" ;;
        3) xdotool mousemove $x $y click 1 sleep $pausa mousemove $x $((y - 12)) click 1; echo -n "12 px up" ;;
        4) xdotool mousemove $x $y click 1 sleep $mezza mousemove $((x + 14)) $y sleep $mezza \
               mousemove $((x + 3)) $y sleep 0.002 click 1; echo -n "a swing 14 px out, back 3 px from the first" ;;
        esac
        visto="$(dopo menu)"; sleep 0.5
        dita="$("$SONDA" pixel $DITA_SCELTA)"; domino="$("$SONDA" pixel $DOMINO_SCELTA)"
        echo ", $d ms after the first: $visto, $([ "$dita" = ff0000 ] && echo "DITA chosen" || echo "DITA not chosen"), $([ "$domino" = ff0000 ] && echo "DOMINO still chosen" || echo "DOMINO no longer chosen")"
        [ "$visto" = "Scelte didattiche" ] && [ "$dita" != ff0000 ] && [ "$domino" = ff0000 ] ;;
    oktremore)
        scatola_sul_menu || return $?
        local x=${OK_BOX% *} y=${OK_BOX#* } n r=$((($2 % 2) ? 12 : 16)) dx=0 dy=0
        case $((($2 / 2) % 4)) in 0) dx=$r ;; 1) dx=-$r ;; 2) dy=$r ;; 3) dy=-$r ;; esac
        xdotool mousemove $x $y click 1 sleep "$(printf '0.%03d' $((50 + ($2 * 30) % 100)))" mousemove $((x + dx)) $((y + dy)) click 1
        sleep 1.5; n="$(quante)"; visto="$(finestra)"
        echo "second click ${dx},${dy} px away: $n window(s), $visto"
        [ "$n" = 1 ] && [ "$visto" = menu ] ;;
    okoscilla)
        scatola_sul_menu || return $?
        local x=${OK_BOX% *} y=${OK_BOX#* } n k modo dx dy bx by catena=()
        if [ ! -f "$WORK/rif-okoscilla" ]; then
            # The first try clicks once, and is not counted: that alone closes the box.
            clic $x $y; sleep 1.5; n="$(quante)"; visto="$(finestra)"
            echo "one click: $n window(s), $visto"
            [ "$n" = 1 ] && [ "$visto" = menu ] || return 1
            : >"$WORK/rif-okoscilla"; return 4
        fi
        read -r modo dx dy bx by <<<"${OSCILLAZIONI[$((($2 - 1) % ${#OSCILLAZIONI[@]}))]}"
        if [ "$modo" = salto ]; then
            catena=(sleep 0.09 mousemove $((x + dx)) $((y + dy)))
            echo -n "a jump ${dx},${dy} px"
        else
            # Out in five moves and back in five, 9 ms apart: the second press comes some
            # 90 ms after the first.
            for k in 1 2 3 4 5; do catena+=(sleep 0.009 mousemove $((x + dx * k / 5)) $((y + dy * k / 5))); done
            for k in 1 2 3 4 5; do catena+=(sleep 0.009 mousemove $((x + dx + (bx - dx) * k / 5)) $((y + dy + (by - dy) * k / 5))); done
            echo -n "a swing ${dx},${dy} px out, back ${bx},${by} px from the first"
        fi
        xdotool mousemove $x $y click 1 "${catena[@]}" click 1
        sleep 1.5; n="$(quante)"; visto="$(finestra)"
        echo ": $n window(s), $visto$([ "$n" = 2 ] && echo ", the box came back")"
        [ "$n" = 1 ] && [ "$visto" = menu ] ;;
    mattone)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; clic $TESSERA2; attendi "Scelte didattiche" 300 || { echo "no choice screen"; return 1; }
        sleep 0.5; clic $CONFERMA; attendi "Esercizio 3" 300 || { echo "no exercise"; return 1; }
        sleep 0.5
        "$SONDA" pixel $ES3_DOMINO | grep -q ff0000 || { echo "the number is 0: Conferma is right"; return 4; }
        clic $ES3_CONFERMA; sleep 0.2; clic $ES3_MATTONE; sleep 1
        local base; base="$("$SONDA" pixel $ES3_BASE)"
        echo "Mattone 200 ms after Conferma: the lowest cell is $base ($([ "$base" = ffffc0 ] && echo empty || echo "a brick"))"
        [ "$base" != ffffc0 ] ;;
    aiuto)
        avvia 0 2 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5; clic $TESSERA0; attendi "Scelte didattiche" 300 || { echo "no choice screen"; return 1; }
        sleep 0.5; clic $CONFERMA; attendi "Esercizio 1" 300 || { echo "no exercise"; return 1; }
        sleep 0.5
        local n k
        n="$("$SONDA" pixel $ES1_DOMINO | grep -c ff0000)"
        for k in 0 1 2; do [ $k = "$n" ] || { xdotool type "$k"; xdotool key Return; sleep 0.5; }; done
        clic $ES1_AIUTO; sleep 0.7
        [[ "$("$SONDA" pixel $FACCINA)" =~ ^ff[de][0-9a-f]{3}$ ]] && { echo "the first help button was the right one"; return 4; }
        import -window root -crop $ES1_ESATTI "$WORK/esatti.png"; import -window root -crop $ES1_ERRATI "$WORK/errati.png"
        xdotool key Return; sleep 0.7
        import -window root -crop $ES1_ESATTI "$WORK/esatti2.png"; import -window root -crop $ES1_ERRATI "$WORK/errati2.png"
        local cambiati=$(($(differenza "$WORK/esatti.png" "$WORK/esatti2.png") + $(differenza "$WORK/errati.png" "$WORK/errati2.png")))
        xdotool type "$n"; xdotool key Return; sleep 0.7
        import -window root -crop $ES1_ERRATI "$WORK/errati3.png"
        local faccia errati; faccia="$("$SONDA" pixel $FACCINA)"; errati="$(differenza "$WORK/errati.png" "$WORK/errati3.png")"
        echo "the number $n: Enter alone changed $cambiati points of the counts; $n typed and Enter: face $faccia, $errati points of Errati changed"
        [ "$cambiati" = 0 ] && [[ "$faccia" =~ ^ff[de][0-9a-f]{3}$ ]] && [ "$errati" = 0 ] ;;
    primariga | schede | colore | info)
        local attesa diff area="" prima dopo_
        if [ "$1" = primariga ]; then ALUNNI="anna bruno carla" avvia 0 || return 3; else avvia 0 || return 3; fi
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5
        case "$1" in
        primariga) attesa=0.3; area=$LISTA_AREA
            clic $LISTA_ALUNNI; sleep 1; clic $ALUNNO_BRUNO; sleep 1; prima=$LISTA_ALUNNI; dopo_=$PRIMA_RIGA ;;
        schede) attesa=0.$(($2 % 2 == 0 ? 35 : 25))
            clic $MENU_CONFIGURA; attendi Configurazione 300 || { echo "no configuration"; return 1; }
            sleep 0.5; prima=$SCHEDA_SUONI; dopo_=$ATTIVA_SUONI ;;
        colore) attesa=0.3
            clic $MENU_CONFIGURA; attendi Configurazione 300 || { echo "no configuration"; return 1; }
            sleep 0.5; clic $SCHEDA_COLORI; sleep 1; clic $COLORE_CASUALE; sleep 1; prima=$COLORE_FISSO; dopo_=$COLORE ;;
        info) attesa=0.$(($2 % 2 == 0 ? 35 : 2)); prima=$MENU_INFO; dopo_=$VOCE_INFO ;;
        esac
        [ -f "$WORK/rif-$1.png" ] || attesa=1
        clic $prima; sleep $attesa; clic $dopo_; sleep 1.5
        if [ -n "$area" ]; then import -window root -crop $area "$WORK/$1.png"; else schermo "$WORK/$1.png"; fi
        visto="$(finestra)"
        if [ "$attesa" = 1 ]; then
            mv "$WORK/$1.png" "$WORK/rif-$1.png"; echo "reference (a second between the clicks): $visto"; return 4
        fi
        diff="$(differenza "$WORK/$1.png" "$WORK/rif-$1.png" "$([ -n "$area" ] && echo $FUZZ_LISTA || echo 2)")"
        echo "second click $attesa s after the first: $visto, $diff points differ from the reference"
        [ "${diff:-99999}" -lt 200 ] ;;
    avvio40 | tessera40 | configura40 | esci40 | menu40 | si40 | chiudi40)
        avvia 0 || return 3
        local dove atteso diff
        dove="$(verso "$1")" || { echo "the button's window never came"; return 1; }
        atteso="${dove#*|}"; dove="${dove%|*}"
        if [ ! -f "$WORK/rif-$1.png" ]; then
            # The first try clicks once: what the screen then shows is the reference.
            clic $dove; visto="$(dopo "$(finestra)")"; sleep 0.5
            schermo "$WORK/rif-$1.png"
            echo "reference (one click): $visto"
            [ "$visto" = "$atteso" ] || { rm -f "$WORK/rif-$1.png"; return 1; }
            return 4
        fi
        doppio $dove 40
        visto="$(dopo "$(finestra)")"; sleep 0.5
        schermo "$WORK/dopo.png"; diff="$(differenza "$WORK/dopo.png" "$WORK/rif-$1.png")"
        echo "$visto, $diff points differ from a single click"
        [ "$visto" = "$atteso" ] && [ "${diff:-99999}" -lt 200 ] ;;
    pronto_menu_clic)
        avvia 0 || return 3
        tenuto_poi_uno "" $AVVIO $SFONDO_MENU 80ffff $TESSERA0 || return 1
        visto="$(dopo menu)"; echo "$visto"; [ "$visto" = "Scelte didattiche" ] ;;
    pronto_menu_invio)
        avvia 1 || return 3
        tenuto_poi_uno "" $AVVIO $SFONDO_MENU 80ffff invio || return 1
        visto="$(dopo menu)"; echo "$visto"; [ "$visto" = "Scelte didattiche" ] ;;
    pronto_scelta1_clic | pronto_scelta2_clic)
        avvia 0 || return 3
        clic $AVVIO; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5
        if [ "$1" = pronto_scelta1_clic ]; then
            tenuto_poi_uno "" $TESSERA0 $CONFERMA_ANGOLO $GRIGIO $CONFERMA || return 1; atteso="Esercizio 1"
        else
            tenuto_poi_uno "" $TESSERA1 $CONFERMA2_ANGOLO $GRIGIO $CONFERMA2 || return 1; atteso="Esercizio 2"
        fi
        visto="$(dopo "Scelte didattiche")"; echo "$visto"; [ "$visto" = "$atteso" ] ;;
    pronto_scelta1_invio | pronto_scelta2_invio)
        avvia 1 || return 3
        xdotool key Return; attendi menu 300 || { echo "no menu"; return 1; }
        sleep 0.5
        if [ "$1" = pronto_scelta1_invio ]; then
            tenuto_poi_uno "" invio Return $CONFERMA_ANGOLO $VERDE invio || return 1; atteso="Esercizio 1"
        else
            xdotool key space; sleep 0.5
            tenuto_poi_uno "" invio Return $CONFERMA2_ANGOLO $VERDE invio || return 1; atteso="Esercizio 2"
        fi
        visto="$(dopo "Scelte didattiche")"; echo "$visto"; [ "$visto" = "$atteso" ] ;;
    *)
        echo "unknown scenario"; return 2 ;;
    esac
}

fallite=0
senzaAvvio=0
for s in $SCENARIOS; do
    # Its 40 presses and 6 pairs are made in one start of the program, whatever TRIES says.
    [ "$s" = pagine ] && { pagine; continue; }
    buone=0
    for ((t = 1; t <= TRIES; t++)); do
        prova "$s" "$t" >"$WORK/esito"; ok=$?
        if [ $ok -eq 3 ]; then
            # A program that could not even open its first window (the X server did not
            # take the connection, say) has nothing to do with presses: the try is made again.
            echo "$s try $t: the program did not start: $(grep -m1 . "$WORK/out")"
            kill "$PID" 2>/dev/null; wait "$PID" 2>/dev/null; PID=""
            senzaAvvio=$((senzaAvvio + 1))
            ((senzaAvvio > 20)) && { echo "double_click.sh: too many failed starts" >&2; exit 2; }
            t=$((t - 1))
            continue
        fi
        if [ $ok -eq 4 ]; then
            # A reference taken: not a try.
            echo "$s: $(paste -sd' ' "$WORK/esito")"
            ferma
            t=$((t - 1))
            continue
        fi
        echo "$s try $t: $(paste -sd' ' "$WORK/esito"): $([ $ok -eq 0 ] && echo ok || echo WRONG)"
        ferma
        [ $ok -eq 0 ] && buone=$((buone + 1))
    done
    echo "$s: $buone/$TRIES right"
    [ $buone -eq "$TRIES" ] || fallite=1
done
[ $senzaAvvio -eq 0 ] || echo "($senzaAvvio starts failed and were made again)"
exit $fallite
