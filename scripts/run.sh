#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. On the first
# run the program folder is prepared for the program's own first start: the
# English-Croatian word list KX.txt (from the installed FreeDict database, or
# the project's sample) and a settings file that asks the program to build
# its first dictionary, database/Engleski_Hrvatski.v03, from it.
# WORDBAY_BUILD_DIR names another build folder (default build/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
dir="${WORDBAY_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$dir" -G Ninja > /dev/null
cmake --build "$dir" --target wordbay wordbay-cli wordbay_help
bin="$dir/bin"
"$root/scripts/first_start.sh" "$bin" "$bin/wordbay-cli" "$root/data/kx-sample.txt"
exec "$bin/wordbay" "$@"
