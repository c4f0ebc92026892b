#!/usr/bin/env bash
# Installs what building and running need (not the test tools), builds the
# program and starts it. The program keeps the user's dictionaries and
# settings in $XDG_DATA_HOME/wordbay (~/.local/share/wordbay); its first start
# converts the installed FreeDict English-Croatian database there into
# database/Engleski_Hrvatski.v03, or the project's sample word list when that
# database is missing. Deleting the build folder loses none of it.
# WORDBAY_BUILD_DIR names another build folder (default build/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
dir="${WORDBAY_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$dir" -G Ninja > /dev/null
cmake --build "$dir" --target wordbay wordbay-cli wordbay_help
exec "$dir/bin/wordbay" "$@"
