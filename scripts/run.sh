#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. On the first
# run the program folder gets a dictionary to start with: the English-Croatian
# FreeDict database converted to the program's format. WORDBAY_BUILD_DIR
# names another build folder (default build/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
dir="${WORDBAY_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$dir" -G Ninja >/dev/null
cmake --build "$dir" --target wordbay wordbay-cli
bin="$dir/bin"
if ! compgen -G "$bin/database/*.v03" >/dev/null &&
   [[ -f /usr/share/dictd/freedict-eng-hrv.index ]]; then
    mkdir -p "$bin/database"
    "$bin/wordbay-cli" freedict eng-hrv "$bin/database/English_Croatian.v03"
    if [[ ! -f "$bin/wordbay.ini" ]]; then
        printf '[dictionary]\ncurrent=English_Croatian.v03\n' >"$bin/wordbay.ini"
    fi
fi
exec "$bin/wordbay" "$@"
