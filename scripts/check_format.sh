#!/usr/bin/env bash
# Every C++ file of the tree must be laid out as the project's .clang-format
# says. Prints the files that are not and how to mend them.
#
# The tree is laid out by clang-format 14 (Debian 12's). Later versions lay
# some constructs out otherwise whatever the options say (`struct stat s{}`,
# pointers to members, a lambda among the arguments), so the check runs with
# clang-format 14 alone (clang-format-14, else clang-format when it is 14) and
# is skipped, saying so, with any other: exit status 77.
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"
layout_version=14

major_of() { "$1" --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p' | head -1; }
tool=""
for candidate in "clang-format-$layout_version" clang-format; do
    if command -v "$candidate" >/dev/null && [[ "$(major_of "$candidate")" == "$layout_version" ]]; then
        tool="$candidate"
        break
    fi
done
if [[ -z "$tool" ]]; then
    found="no clang-format"
    command -v clang-format >/dev/null && found="clang-format $(major_of clang-format)"
    echo "skipped: the tree is laid out by clang-format $layout_version, and $found lays" \
         "some of it out otherwise"
    exit 77
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
# One clang-format for all files: a process per file takes minutes on a busy
# machine. It names each file it would change in a line "FILE:LINE:COL: error".
report="$("$tool" --dry-run --Werror "${files[@]}" 2>&1)" && status=0 || status=$?
mapfile -t bad < <(grep -oE '^[^:[:space:]]+:[0-9]+:[0-9]+: error' <<<"$report" |
                   cut -d: -f1 | sort -u)
if ((status != 0 && ${#bad[@]} == 0)); then
    echo "$tool failed:"
    echo "$report" | head -20
    exit 1
fi
if ((${#bad[@]})); then
    printf 'not formatted: %s\n' "${bad[@]}"
    echo "run: $tool -i ${bad[*]}"
    exit 1
fi
echo "${#files[@]} files formatted by clang-format $layout_version"
