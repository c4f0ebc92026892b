#!/usr/bin/env bash
# Checks that no function of the tree runs over 80 lines. The functions that
# may, each with its reason, are listed in scripts/long_functions.txt as
# "path|name". Lambdas are part of the function that holds them.
# Usage: check_function_length.sh [source root]
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"
limit=80
allowed="scripts/long_functions.txt"

command -v ctags >/dev/null || { echo "universal-ctags is missing (scripts/packages-test.txt)"; exit 1; }

files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null ||
        find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||')
long=$(printf '%s\n' "$files" |
    ctags --languages=C++ --kinds-C++=f --fields=+ne -x --_xformat='%N|%F|%n|%e' -L - 2>/dev/null |
    awk -F'|' -v limit="$limit" '$4 != "" && $4 - $3 + 1 > limit {print $2 "|" $1 "|" $4 - $3 + 1}')

faults=0
while IFS='|' read -r file name lines; do
    [[ -z "$file" ]] && continue
    if grep -qxF "$file|$name" <(sed -E 's/[[:space:]]*#.*$//' "$allowed"); then
        continue
    fi
    echo "$file: $name has $lines lines (at most $limit)"
    faults=$((faults + 1))
done <<< "$long"

# An entry that no longer names a long function is stale: said, not failed,
# so that shortening a function never breaks the build before the list is
# tidied.
while IFS= read -r entry; do
    [[ -z "$entry" ]] && continue
    if ! grep -q "^${entry//|/\\|}|" <<< "$long"; then
        echo "note: $allowed: $entry is no longer over $limit lines; take it out"
    fi
done < <(sed -E 's/[[:space:]]*#.*$//' "$allowed" | grep -v '^$')

if ((faults)); then
    echo "$faults function(s) against the length rule"
    exit 1
fi
echo "every function is at most $limit lines"
