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
# One clang-format for all files: a process per file takes minutes on a busy
# machine. It names each file it would change in a line "FILE:LINE:COL: error".
report="$(clang-format --dry-run --Werror "${files[@]}" 2>&1)" && status=0 || status=$?
mapfile -t bad < <(grep -oE '^[^:[:space:]]+:[0-9]+:[0-9]+: error' <<<"$report" |
                   cut -d: -f1 | sort -u)
if ((status != 0 && ${#bad[@]} == 0)); then
    echo "clang-format failed:"
    echo "$report" | head -20
    exit 1
fi
if ((${#bad[@]})); then
    printf 'not formatted: %s\n' "${bad[@]}"
    echo "run: clang-format -i ${bad[*]}"
    exit 1
fi
echo "${#files[@]} files formatted"
