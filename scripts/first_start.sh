#!/usr/bin/env bash
# Prepares a program folder for its first start: the English-Croatian word
# list "KX.txt" (code page windows-1250) that the program turns into its first
# dictionary, and a settings file that asks for that conversion. The word list
# comes from the installed FreeDict English-Croatian database, else from the
# small sample of the project. Does nothing once the folder holds a settings
# file or a dictionary.
#
# usage: first_start.sh PROGRAM_DIR WORDBAY_CLI SAMPLE_TXT
set -euo pipefail
dir="$1"
cli="$2"
sample="$3"

[ -e "$dir/wordbay.ini" ] && exit 0
compgen -G "$dir/database/*.v03" > /dev/null && exit 0
mkdir -p "$dir/database"

if ! "$cli" freedict eng-hrv "$dir/KX.txt" --txt-code-page 1250 > /dev/null 2>&1; then
    echo "first start: FreeDict English-Croatian not found, using the sample word list" >&2
    iconv -f UTF-8 -t CP1250 "$sample" | sed 's/$/\r/' > "$dir/KX.txt"
fi
printf '[dictionary]\nconvertv2=1\n' > "$dir/wordbay.ini"
