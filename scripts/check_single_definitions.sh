#!/usr/bin/env bash
# Checks that each helper named in scripts/single_definitions.txt is defined
# once in the whole tree (as a function, class or struct), so that a copy of
# it can't creep back in beside the one everybody includes.
# Usage: check_single_definitions.sh [source root]
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"
list="scripts/single_definitions.txt"

command -v ctags >/dev/null || { echo "universal-ctags is missing (scripts/packages-test.txt)"; exit 1; }

files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null ||
        find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||')
definitions=$(printf '%s\n' "$files" |
    ctags --languages=C++ --kinds-C++=fcs --fields=+n -x --_xformat='%N|%F:%n' -L - 2>/dev/null)

faults=0
while IFS= read -r name; do
    [[ -z "$name" ]] && continue
    places=$(awk -F'|' -v name="$name" '$1 == name {print $2}' <<< "$definitions")
    count=$(grep -c . <<< "$places" || true)
    if ((count != 1)); then
        echo "$name is defined $count times (once expected):" $places
        faults=$((faults + 1))
    fi
done < <(sed -E 's/[[:space:]]*#.*$//' "$list")

if ((faults)); then
    echo "$faults helper(s) not defined exactly once"
    exit 1
fi
echo "every listed helper is defined once"
