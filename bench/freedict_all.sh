#!/usr/bin/env bash
# Converts every installed FreeDict dictd database (/usr/share/dictd/
# freedict-*.index, the dict-freedict-* packages) with `wordbay-cli freedict`
# and prints one row per database and a total: whether it converted, the
# pairs kept and dropped, the seconds it took and how each list is stored.
#
# Usage: bench/freedict_all.sh [BUILD_DIR] [BASELINE_CLI]
#   BUILD_DIR     holds bin/wordbay-cli (default build)
#   BASELINE_CLI  another wordbay-cli to run over the same set, for a total
#                 to compare with (an older build, say)
# Install the databases with
#   apt-get install $(apt-cache search --names-only '^dict-freedict-' | cut -d' ' -f1)
# A manual tool: CI does not run it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
baseline=${2:-}
cli=$build/bin/wordbay-cli
dictd=${FREEDICT_DIR:-/usr/share/dictd}
[ -x "$cli" ] || { echo "freedict_all.sh: no $cli; build wordbay-cli first" >&2; exit 1; }
compgen -G "$dictd/freedict-*.index" >/dev/null ||
    { echo "freedict_all.sh: no FreeDict databases in $dictd" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one converter over every database; prints the rows when $2 is "rows",
# and writes "CONVERTED FAILED KEPT DROPPED SECONDS" to $work/total.
run_set() {
    local tool=$1 rows=$2
    local converted=0 failed=0 kept=0 dropped=0 start end
    local set_start set_end
    set_start=$(date +%s%N)
    for index in "$dictd"/freedict-*.index; do
        local name=${index##*/freedict-}
        name=${name%.index}
        start=$(date +%s%N)
        local out status=0
        out=$("$tool" freedict "$index" "$work/$name.v03" 2>&1) || status=$?
        end=$(date +%s%N)
        local k d lists
        k=$(sed -n 's/^Pairs kept: \([0-9]*\), dropped: \([0-9]*\)\..*/\1/p' <<<"$out")
        d=$(sed -n 's/^Pairs kept: \([0-9]*\), dropped: \([0-9]*\)\..*/\2/p' <<<"$out")
        if [ "$status" -ne 0 ]; then
            failed=$((failed + 1))
            # A failure still says how many pairs it dropped.
            d=$(sed -n 's/.*(\([0-9]*\) dropped.*/\1/p' <<<"$out")
            k=0
            lists="FAILED: $(head -1 <<<"$out" | cut -c1-60)"
        else
            converted=$((converted + 1))
            lists=$(sed -n 's/^Lists: //p' <<<"$out")
        fi
        kept=$((kept + ${k:-0}))
        dropped=$((dropped + ${d:-0}))
        if [ "$rows" = rows ]; then
            printf '%-10s %9s %8s %7.2f  %s\n' "$name" "${k:-0}" "${d:-0}" \
                "$(echo "scale=3; ($end - $start) / 1000000000" | bc)" "$lists"
        fi
        rm -f "$work/$name.v03"
    done
    set_end=$(date +%s%N)
    echo "$converted $failed $kept $dropped $(echo "scale=1; ($set_end - $set_start) / 1000000000" | bc)" \
        >"$work/total"
}

summary() {
    local label=$1 converted=$2 failed=$3 kept=$4 dropped=$5 seconds=$6
    printf '%-9s %4d converted, %d failed; %d pairs kept, %d dropped (%s %%); %s s\n' \
        "$label" "$converted" "$failed" "$kept" "$dropped" \
        "$(echo "scale=3; 100 * $dropped / ($kept + $dropped)" | bc)" "$seconds"
}

printf '%-10s %9s %8s %7s  %s\n' database kept dropped seconds lists
run_set "$cli" rows
read -r c f k d s <"$work/total"
echo
summary "wordbay" "$c" "$f" "$k" "$d" "$s"
if [ -n "$baseline" ]; then
    run_set "$baseline" none
    read -r bc bf bk bd bs <"$work/total"
    summary "baseline" "$bc" "$bf" "$bk" "$bd" "$bs"
    echo "time, this build / baseline: $(echo "scale=2; $s / $bs" | bc)"
fi
