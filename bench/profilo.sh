# Sourced by the scripts that drive the real program (cambio_finestra.sh, misure.sh).
# profile HOME MODE: the default user's profile in that home folder: the defaults, no
# sounds, the choice screens shown, with the input mode given (line 15: ' 0 ' mouse,
# ' 1 ' manual scanning, ' 2 ' automatic scanning).
profile() {
    local dir="$1/ImpostazioniProgrammiTesmo/BrivoMarte/utenti"
    mkdir -p "$dir"
    printf '%s\r\n' maiuscolo ' 1 ' ' 4 ' ' 10 ' False False False ' 255 ' ' 16711680 ' ' 16777215 ' \
        ' 12648447 ' ' 16777152 ' True False "$2" ' 4 ' False False ' 9 ' '-2147483633 ' ' 255 ' \
        >"$dir/_predefinito.INI"
}
