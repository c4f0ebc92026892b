#!/usr/bin/env bash
# Times wordbay-cli next to two other dictionary programs on the same
# English-German FreeDict data and prints one table:
#   - sdcv, on a StarDict dictionary built with the stardict tools' tabfile
#     from the very pairs of our dictionary (exported as TXT);
#   - dict, against a dictd of our own on 127.0.0.1 serving the installed
#     dict-freedict-eng-deu database (started here with its own config and
#     port, stopped at the end; no system service is touched).
# For each: one look-up per process (ours with the default options, case
# folded, as everyone calls it), 1,000 look-ups in one process, one prefix
# match per process, 1,000 prefix matches in one process, the one-time cost
# (our load, their start-up) and the conversion of the data. Then paired
# per-process runs against sdcv's exact look-up (bench/paired.py: the same
# timing for both sides, alternated word by word, medians): our translate
# with the default options, with --accents and with --case, our prefix
# list, and our lookup of inflected words ("houses", "went").
#
# Usage: bench/peers.sh [BUILD_DIR]   (default build-bench; needs wordbay-cli)
#        bench/peers.sh --conversion [BUILD_DIR] [RUNS]
#   times only the conversion against tabfile: RUNS (default 5) of each, in
#   turn, each run's wall and CPU time, then the medians and their ratios;
#   with BASELINE_CLI=another/wordbay-cli, that one's conversion too.
# Run as root, it installs what is missing (sdcv stardict-tools dictd dict)
# with apt-get. A manual tool: CI does not run it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
conversion_only=0
if [ "${1:-}" = --conversion ]; then
    conversion_only=1
    shift
fi
build=$(cd "${1:-$here/../build-bench}" && pwd)
runs=${2:-5}
cli=$build/bin/wordbay-cli
work=$build/peers
port=${PEERS_DICTD_PORT:-28628}
lookups=1000      # words of the batch runs
processes=30      # runs of the one-per-process rows

[ -x "$cli" ] || { echo "peers.sh: no $cli; build the wordbay-cli target first" >&2; exit 1; }

# ---- What the peers need ---------------------------------------------------
missing=()
for package in sdcv stardict-tools dictd dict dict-freedict-eng-deu; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "peers.sh: please install ${missing[*]} (or run as root)" >&2
        exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null
fi
tabfile=/usr/lib/stardict-tools/tabfile
dictd_data=/usr/share/dictd/freedict-eng-deu

rm -rf "$work"
mkdir -p "$work/stardict/eng-deu" "$work/dictd"
chmod 777 "$work/dictd"  # dictd drops its privileges and writes its log here

# Seconds, with milliseconds, that a command takes; its output goes nowhere.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo "scale=3; ($end - $start) / 1000000000" | bc
}
# The fastest of three runs: the machine may be busy with other work.
best() {
    local a b c
    a=$(seconds "$@")
    b=$(seconds "$@")
    c=$(seconds "$@")
    printf '%s\n%s\n%s\n' "$a" "$b" "$c" | sort -n | head -n1
}
ms() { echo "scale=1; $1 * 1000 / 1" | bc; }
per() { echo "scale=3; $1 * 1000 / $2" | bc; }

# ---- The data ----------------------------------------------------------------
convert_ours=$(seconds "$cli" freedict eng-deu "$work/eng-deu.v03")
"$cli" info "$work/eng-deu.v03" >/dev/null
# Our look-up images go to a cache of this run's own. The first exact look-up
# loads the dictionary and writes its image, as tabfile writes sdcv's index.
export XDG_CACHE_HOME=$work/cache
image_ours=$(seconds "$cli" translate "$work/eng-deu.v03" qqqqzz --case)
# The first lookup loads the list language's Hunspell dictionary and leaves
# a child process keeping its stems beside the image; later ones answer from
# both. The runs below wait for the stems (a minute at most).
stems_ours=$(seconds "$cli" lookup "$work/eng-deu.v03" houses)
for ((n = 0; n < 600; ++n)); do
    compgen -G "$XDG_CACHE_HOME/wordbay/*.stems0" >/dev/null && break
    sleep 0.1
done

# The same pairs as UTF-8 TXT, then as one line per headword with its
# translations joined, which tabfile turns into StarDict.
"$cli" export --format txt --encoding utf-8 "$work/eng-deu.v03" "$work/pairs.txt"
awk -F'\t' '{ if ($1 == last) { text = text "; " $2 } else {
                      if (NR > 1) print last "\t" text; last = $1; text = $2 } }
                END { if (NR > 0) print last "\t" text }' "$work/pairs.txt" \
    >"$work/stardict/eng-deu/eng-deu.txt"
convert_stardict=$(seconds "$tabfile" "$work/stardict/eng-deu/eng-deu.txt")
if ((conversion_only)); then
    # "wall user+system" seconds of one run of a command, its output dropped.
    timed() {
        local TIMEFORMAT='%R %U %S' times
        times=$({ time "$@" >/dev/null 2>&1; } 2>&1) || true
        awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$times"
    }
    median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
    baseline=${BASELINE_CLI:-}
    : >"$work/ours.times"
    : >"$work/tabfile.times"
    : >"$work/baseline.times"
    echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
    printf '%-4s %22s %22s %22s\n' run "ours wall / CPU s" "tabfile wall / CPU s" \
        "${baseline:+baseline wall / CPU s}"
    for ((run = 1; run <= runs; ++run)); do
        ours=$(timed "$cli" freedict eng-deu "$work/eng-deu-$run.v03")
        theirs=$(timed "$tabfile" "$work/stardict/eng-deu/eng-deu.txt")
        cmp -s "$work/eng-deu.v03" "$work/eng-deu-$run.v03" ||
            { echo "peers.sh: run $run wrote another file" >&2; exit 1; }
        rm -f "$work/eng-deu-$run.v03"
        echo "$ours" >>"$work/ours.times"
        echo "$theirs" >>"$work/tabfile.times"
        before=""
        if [ -n "$baseline" ]; then
            before=$(timed "$baseline" freedict eng-deu "$work/baseline-$run.v03")
            rm -f "$work/baseline-$run.v03"
            echo "$before" >>"$work/baseline.times"
        fi
        printf '%-4s %22s %22s %22s\n' "$run" "$ours" "$theirs" "$before"
    done
    echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
    ours_wall=$(cut -d' ' -f1 "$work/ours.times" | median)
    ours_cpu=$(cut -d' ' -f2 "$work/ours.times" | median)
    theirs_wall=$(cut -d' ' -f1 "$work/tabfile.times" | median)
    theirs_cpu=$(cut -d' ' -f2 "$work/tabfile.times" | median)
    echo "medians: ours $ours_wall s wall, $ours_cpu s CPU; tabfile $theirs_wall s wall, $theirs_cpu s CPU"
    echo "ratios, ours / tabfile: wall $(echo "scale=2; $ours_wall / $theirs_wall" | bc), CPU $(echo "scale=2; $ours_cpu / $theirs_cpu" | bc)"
    if [ -n "$baseline" ]; then
        base_wall=$(cut -d' ' -f1 "$work/baseline.times" | median)
        base_cpu=$(cut -d' ' -f2 "$work/baseline.times" | median)
        echo "baseline: $base_wall s wall, $base_cpu s CPU; ours / baseline: wall $(echo "scale=2; $ours_wall / $base_wall" | bc), CPU $(echo "scale=2; $ours_cpu / $base_cpu" | bc)"
    fi
    exit 0
fi
sed -i 's/^bookname=.*/bookname=eng-deu/' "$work/stardict/eng-deu/eng-deu.ifo"
rm -f "$work/stardict/eng-deu/eng-deu.txt"

# 1,000 real headwords, evenly spread, each a single word of letters; their
# first three letters are the prefixes.
cut -f1 "$work/pairs.txt" | uniq |
    grep -E '^[a-z]{4,}$' >"$work/all-words.txt"
total=$(wc -l <"$work/all-words.txt")
awk -v step=$((total / lookups)) -v n=$lookups 'NR % step == 0 && count < n { print; ++count }' \
    "$work/all-words.txt" >"$work/words.txt"
cut -c1-3 "$work/words.txt" >"$work/prefixes.txt"
sed 's/$/*/' "$work/prefixes.txt" >"$work/globs.txt"

# ---- dictd of our own ---------------------------------------------------------
cat >"$work/dictd/dictd.conf" <<EOF
global {
    listen_to 127.0.0.1
    port $port
}
database eng-deu {
    data "$dictd_data.dict.dz"
    index "$dictd_data.index"
}
EOF
dictd_pid=""
stop_dictd() { [ -n "$dictd_pid" ] && kill "$dictd_pid" 2>/dev/null && wait "$dictd_pid" 2>/dev/null || true; }
trap stop_dictd EXIT
# -C: exact look-ups, without the spelling suggestions dict asks for otherwise.
dict_cmd=(dict -C -h 127.0.0.1 -p "$port" -d eng-deu)
start=$(date +%s%N)
dictd -c "$work/dictd/dictd.conf" -d nodetach -L "$work/dictd/log" --locale C.UTF-8 \
    2>"$work/dictd/stderr" &
dictd_pid=$!
until dict -h 127.0.0.1 -p "$port" -D >/dev/null 2>&1; do
    kill -0 "$dictd_pid" 2>/dev/null || { echo "peers.sh: dictd did not start" >&2; exit 1; }
    sleep 0.01
done
startup_dictd=$(echo "scale=3; ($(date +%s%N) - $start) / 1000000000" | bc)

sdcv_cmd=(sdcv -n -e -0 -1 -x -2 "$work/stardict" -u eng-deu)

# ---- Timings --------------------------------------------------------------------
# One look-up per process: the mean of $processes processes, one word each;
# runs of many look-ups in one process: the fastest of three.
each() {  # each FILE COMMAND...: runs COMMAND WORD for the first $processes words
    local file=$1
    shift
    local total=0 word
    while read -r word; do
        total=$(echo "$total + $(seconds "$@" "$word")" | bc)
    done < <(head -n "$processes" "$file")
    echo "scale=4; $total / $processes" | bc
}
batch() {  # batch FILE COMMAND...: COMMAND reads the words on standard input
    local file=$1
    shift
    best sh -c '"$@" <"$0"' "$file" "$@"
}

one_ours=$(each "$work/words.txt" "$cli" translate "$work/eng-deu.v03")
# The fastest of three single look-ups, against which a run of 1,000 gives the
# cost of each further look-up.
head -n1 "$work/words.txt" >"$work/first-word.txt"
first=$(cat "$work/first-word.txt")
single_ours=$(batch "$work/first-word.txt" "$cli" translate "$work/eng-deu.v03" -)
single_sdcv=$(best "${sdcv_cmd[@]}" "$first")
single_dict=$(best "${dict_cmd[@]}" "$first")
one_sdcv=$(each "$work/words.txt" "${sdcv_cmd[@]}")
one_dict=$(each "$work/words.txt" "${dict_cmd[@]}")

# wordbay-cli reads the words on standard input; sdcv and dict take them as
# arguments, dict sending them all as DEFINE commands over one connection.
mapfile -t words <"$work/words.txt"
many_ours=$(batch "$work/words.txt" "$cli" translate "$work/eng-deu.v03" -)
many_sdcv=$(best "${sdcv_cmd[@]}" "${words[@]}")
many_dict=$(best "${dict_cmd[@]}" "${words[@]}")

prefix_ours=$(each "$work/prefixes.txt" "$cli" list "$work/eng-deu.v03")
prefix_sdcv=$(each "$work/globs.txt" "${sdcv_cmd[@]}")
prefix_dict=$(each "$work/prefixes.txt" "${dict_cmd[@]}" -m -s prefix)

mapfile -t prefixes <"$work/prefixes.txt"
mapfile -t globs <"$work/globs.txt"
prefixes_ours=$(batch "$work/prefixes.txt" "$cli" list "$work/eng-deu.v03" -)
prefixes_sdcv=$(best "${sdcv_cmd[@]}" "${globs[@]}")
prefixes_dict=$(best "${dict_cmd[@]}" -m -s prefix "${prefixes[@]}")

# One-time costs: our process with its load (a look-up with a fresh cache,
# which has no image), for a word that is not there; the same from the
# image; sdcv's start-up the same way; dictd's from launch to its first answer.
load_ours=$(each <(yes qqqqzz | head -n "$processes") \
    env XDG_CACHE_HOME="$work/no-cache" "$cli" translate "$work/eng-deu.v03")
start_image=$(each <(yes qqqqzz | head -n "$processes") "$cli" translate "$work/eng-deu.v03")
startup_sdcv=$(each <(yes qqqqzz | head -n "$processes") "${sdcv_cmd[@]}")
stop_dictd
dictd_pid=""

# Paired per-process runs against sdcv's exact look-up of the same word.
paired_runs=${PEERS_PAIRED_RUNS:-60}
paired() { python3 "$here/paired.py" "$paired_runs" "$@"; }
pair_default=$(paired "$work/words.txt" -- "$cli" translate "$work/eng-deu.v03" {} \
    -- "${sdcv_cmd[@]}" {})
pair_accents=$(paired "$work/words.txt" -- "$cli" translate "$work/eng-deu.v03" {} --accents \
    -- "${sdcv_cmd[@]}" {})
pair_case=$(paired "$work/words.txt" -- "$cli" translate "$work/eng-deu.v03" {} --case \
    -- "${sdcv_cmd[@]}" {})
paste "$work/prefixes.txt" "$work/words.txt" >"$work/prefix-word.txt"
pair_prefix=$(paired "$work/prefix-word.txt" -- "$cli" list "$work/eng-deu.v03" {1} \
    -- "${sdcv_cmd[@]}" {2})
# lookup of inflected words, answered through their base words ("houses":
# a form of house; "went": of go), against sdcv's exact look-up of the same.
for ((n = 0; n < paired_runs; ++n)); do
    if ((n % 2)); then echo went; else echo houses; fi
done >"$work/inflected.txt"
pair_lookup=$(paired "$work/inflected.txt" -- "$cli" lookup "$work/eng-deu.v03" {} \
    -- "${sdcv_cmd[@]}" {})
rm -rf "$work/no-cache"

# ---- The table ----------------------------------------------------------------
row() { printf '| %-46s | %14s | %14s | %14s |\n' "$@"; }
echo
echo "English-German FreeDict, $(wc -l <"$work/words.txt") words; times in ms"
echo "($(nproc) x $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(date -u +%Y-%m-%d))"
echo
row "" "wordbay-cli" "sdcv" "dict + dictd"
row "----------------------------------------------" "--------------:" "--------------:" "--------------:"
row "one look-up per process (ours case folded)" "$(ms "$one_ours")" "$(ms "$one_sdcv")" "$(ms "$one_dict")"
row "1,000 look-ups in one process (ours folded)" "$(ms "$many_ours")" "$(ms "$many_sdcv")" "$(ms "$many_dict")"
row "  each further look-up (from the fastest runs)" \
    "$(per "$(echo "$many_ours - $single_ours" | bc)" 999)" \
    "$(per "$(echo "$many_sdcv - $single_sdcv" | bc)" 999)" \
    "$(per "$(echo "$many_dict - $single_dict" | bc)" 999)"
row "one prefix match (3 letters) per process" "$(ms "$prefix_ours")" "$(ms "$prefix_sdcv")" "$(ms "$prefix_dict")"
row "1,000 prefix matches in one process" "$(ms "$prefixes_ours")" "$(ms "$prefixes_sdcv")" "$(ms "$prefixes_dict")"
row "one-time cost: start-up (ours: with load)" "$(ms "$load_ours")" "$(ms "$startup_sdcv")" "$(ms "$startup_dictd")"
row "  ours from the look-up image" "$(ms "$start_image")" "" ""
row "conversion of the FreeDict data" "$(ms "$convert_ours")" "$(ms "$convert_stardict") (tabfile)" "none"
row "  ours: writing the look-up image (first look-up)" "$(ms "$image_ours")" "" ""
row "  ours: first lookup (stems kept behind it)" "$(ms "$stems_ours")" "" ""
echo
echo "Paired per-process runs against sdcv's exact look-up of the same word"
echo "($paired_runs words, alternated; medians in ms; load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo
prow() { printf '| %-34s | %8s | %8s | %6s | %8s | %8s | %6s |\n' "$@"; }
prow "" "ours" "sdcv" "ratio" "ours CPU" "sdcv CPU" "ratio"
prow "----------------------------------" "-------:" "-------:" "-----:" "-------:" "-------:" "-----:"
# shellcheck disable=SC2086
prow "translate, default options" $pair_default
# shellcheck disable=SC2086
prow "translate --accents" $pair_accents
# shellcheck disable=SC2086
prow "translate --case" $pair_case
# shellcheck disable=SC2086
prow "list, prefix of 3 letters" $pair_prefix
# shellcheck disable=SC2086
prow "lookup of an inflected word" $pair_lookup
