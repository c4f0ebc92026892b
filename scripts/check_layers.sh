#!/usr/bin/env bash
# Checks that no layer includes a layer above it. Every project #include
# "folder/..." of a source file must name a folder its layer may use; for the
# engine's clients the engine means engine/lexbase.h and the table of its
# answers, engine/lexbase_messages.h.
# Usage: check_layers.sh [source root]
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"

# layer: what it may include ("lexbase" = engine/lexbase.h and
# engine/lexbase_messages.h only).
declare -A allowed=(
    [platform]="platform"
    [engine]="engine platform"
    [hook]="hook"
    [speech]="speech platform"
    [lookup]="lookup platform lexbase"
    [exchange]="exchange platform lexbase"
    [forms]="forms platform"
    # The history and favourites files, which the program and the tool share.
    [wordlists]="wordlists platform"
    [app]="app exchange forms lookup wordlists platform lexbase"
    [tools]="tools exchange forms lookup wordlists platform lexbase"
    [ui]="ui app hook speech exchange forms lookup wordlists platform lexbase"
    # The benchmarks and fuzz targets measure and attack the engine's insides.
    [bench]="bench engine platform forms"
    [fuzz]="fuzz engine platform app tools lookup exchange forms wordlists"
    # The support every layer's tests share; it uses nothing of the system.
    [testing]="testing"
)
# Single files allowed beyond their layer's rule, each with its reason.
declare -A exceptions=(
    # Checks every key the program's settings offer against the key map.
    [hook/tests/key_map_test.cpp]="app/hot_key_table.h"
)

mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h' 2>/dev/null ||
                     find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print |
                         sed 's|^\./||')
faults=0
for file in "${files[@]}"; do
    layer="${file%%/*}"
    if [[ -z "${allowed[$layer]:-}" ]]; then
        echo "$file: folder $layer has no layer rule"
        faults=$((faults + 1))
    fi
done
# One grep over every file: a process per file takes a minute on a busy machine.
while IFS=: read -r file line header; do
    layer="${file%%/*}"
    rule="${allowed[$layer]:-}"
    [[ -z "$rule" ]] && continue
    used="${header%%/*}"
    ok=0
    for folder in $rule; do
        if [[ "$folder" == "$used" ]] ||
           [[ "$folder" == lexbase && ( "$header" == engine/lexbase.h ||
                                        "$header" == engine/lexbase_messages.h ) ]]; then
            ok=1
        fi
    done
    # Tests of any layer may use the shared test support.
    if [[ "$used" == testing && "$file" == */tests/* ]]; then
        ok=1
    fi
    for extra in ${exceptions[$file]:-}; do
        [[ "$extra" == "$header" ]] && ok=1
    done
    if ((!ok)); then
        echo "$file:$line: layer $layer may not include $header"
        faults=$((faults + 1))
    fi
done < <(grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' -- "${files[@]}" |
         sed -E 's/^([^:]+):([0-9]+):[^"]*"([^"]+)".*/\1:\2:\3/')

if ((faults)); then
    echo "$faults include(s) against the layering"
    exit 1
fi
echo "layering holds"
