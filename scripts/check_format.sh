#!/usr/bin/env bash
# Every C++ file of the tree must be laid out as the project's .clang-format
# says. Prints the files that are not and how to mend them.
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
bad=()
for f in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
        bad+=("$f")
    fi
done
if ((${#bad[@]})); then
    printf 'not formatted: %s\n' "${bad[@]}"
    echo "run: clang-format -i ${bad[*]}"
    exit 1
fi
echo "${#files[@]} files formatted"
