#!/usr/bin/env bash
# The word-form evaluation: how many distinct words and tokens of ordinary
# prose `wordbay-cli lookup` answers (the word as it stands, or a base word),
# against the baseline of a word and its Hunspell stems alone
# (forms_stems_baseline), with the FreeDict dictionaries eng-hrv, eng-deu and
# deu-eng; how many inflected forms of bench/forms/{en,de,hr}.txt land on
# their base word; and what `lookup` costs against `translate` on 5,000
# distinct words of the prose, in the same run.
#
# Texts (public domain or free, from Debian's package mirror, fetched with
# apt-get download into the cache folder): Jane Austen, "Pride and
# Prejudice" (1813; package r-cran-janeaustenr) for English, and the German
# anecdotes of fortunes-de (file "anekdoten", GPL-2+) for German.
#
# Usage: bench/forms_eval.sh [build folder]   (needs python3, the hunspell
# dictionaries en_US, de_DE and hr_HR, dict-freedict-{eng-hrv,eng-deu,deu-eng})
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cli="$build/bin/wordbay-cli"
baseline="$build/bin/forms_stems_baseline"
cache="$build/bench-data/forms"
mkdir -p "$cache"
export XDG_CACHE_HOME="$cache/xdg"

for d in eng-hrv eng-deu deu-eng; do
    [[ -f "$cache/$d.v03" ]] || "$cli" freedict "$d" "$cache/$d.v03" >/dev/null
done

fetch() {  # fetch PACKAGE: unpacks the package into $cache/PACKAGE
    [[ -d "$cache/$1" ]] && return
    (cd "$cache" && apt-get download "$1" >/dev/null 2>&1 && dpkg-deb -x "$1"_*.deb "$1")
}
fetch r-cran-janeaustenr
fetch fortunes-de

python3 - "$cache" <<'PY'
import re, struct, sys, zlib
cache = sys.argv[1]
# The R data base holds one compressed record per novel; each line of a novel
# is a string record (flags, length, bytes).
data = open(f"{cache}/r-cran-janeaustenr/usr/lib/R/site-library/janeaustenr/data/Rdata.rdb", "rb").read()
pos = 0
text = None
while pos < len(data):
    d = zlib.decompressobj()
    record = d.decompress(data[pos + 4:])
    pos = len(data) - len(d.unused_data)
    if b"PRIDE AND PREJUDICE" in record[:200]:
        lines, i = [], 0
        while True:
            i = record.find(b"\x00\x04\x00\x09", i)
            if i < 0: break
            n = struct.unpack(">i", record[i + 4:i + 8])[0]
            if n < 0: i += 8; continue
            lines.append(record[i + 8:i + 8 + n].decode("utf-8", "replace"))
            i += 8 + n
        text = "\n".join(lines)
        break
open(f"{cache}/english.txt", "w").write(text)
german = open(f"{cache}/fortunes-de/usr/share/games/fortunes/de/anekdoten.u8", encoding="utf-8").read()
open(f"{cache}/german.txt", "w").write(german.replace("\n%\n", "\n"))
PY

python3 - "$cache" "$cli" "$baseline" "$root/bench/forms" <<'PY'
import collections, json, re, subprocess, sys, time
cache, cli, baseline, forms_dir = sys.argv[1:5]
WORD = re.compile(r"[^\W\d_]+(?:['’][^\W\d_]+)*")

def tokens(name):
    return WORD.findall(open(f"{cache}/{name}").read())

def run(cmd, words):
    # Only a line feed ends a line: a translation may hold other separators.
    out = subprocess.run(cmd, input="\n".join(words) + "\n", capture_output=True,
                         text=True, check=True).stdout
    return out.split("\n")[:-1]

def answered_by_lookup(dictionary, words, reverse=False):
    cmd = [cli, "lookup", f"{cache}/{dictionary}.v03", "-", "--json"] + (["--reverse"] if reverse else [])
    return [json.loads(l) for l in run(cmd, words)]

print("## Prose: distinct words and tokens answered\n")
print("| dictionary | text | distinct words | tokens | baseline: exact + Hunspell stems (distinct / tokens) | lookup (distinct / tokens) | lookup suggestions only (distinct) |")
print("|---|---|---:|---:|---:|---:|---:|")
for dictionary, text in (("eng-hrv", "english.txt"), ("eng-deu", "english.txt"), ("deu-eng", "german.txt")):
    toks = tokens(text)
    counts = collections.Counter(toks)
    words = sorted(counts)
    base = run([baseline, f"{cache}/{dictionary}.v03"], words)
    ours = answered_by_lookup(dictionary, words)
    base_ok = {w for w, how in zip(words, base) if how != "none"}
    ours_ok = {w for w, a in zip(words, ours) if a["how"] in ("exact", "form")}
    sugg = sum(1 for a in ours if a["how"] == "suggestion")
    pct = lambda n, d: f"{100.0 * n / d:.1f} %"
    tb = sum(counts[w] for w in base_ok)
    to = sum(counts[w] for w in ours_ok)
    print(f"| {dictionary} | {text} | {len(words)} | {len(toks)} | {pct(len(base_ok), len(words))} / {pct(tb, len(toks))} "
          f"| {pct(len(ours_ok), len(words))} / {pct(to, len(toks))} | {pct(sugg, len(words))} |")

print("\n## Inflected forms landing on their base word\n")
print("| language | dictionary | pairs whose base the dictionary holds | landed | share |")
print("|---|---|---:|---:|---:|")
for lang, dictionary, reverse in (("en", "eng-hrv", False), ("en", "eng-deu", False),
                                  ("de", "deu-eng", False), ("hr", "eng-hrv", True)):
    pairs = [l.split() for l in open(f"{forms_dir}/{lang}.txt", encoding="utf-8")
             if l.strip() and not l.startswith("#")]
    bases = answered_by_lookup(dictionary, [b for _, b in pairs], reverse)
    kept = [(f, b) for (f, b), a in zip(pairs, bases) if a["how"] == "exact"]
    answers = answered_by_lookup(dictionary, [f for f, _ in kept], reverse)
    landed = 0
    missed = []
    for (f, b), a in zip(kept, answers):
        heads = [a["headword"]] + [x["word"] for x in a["forms"]]
        if any(h.lower() == b.lower() for h in heads):
            landed += 1
        else:
            missed.append(f"{f}->{a['headword'] or '-'}")
    print(f"| {lang} | {dictionary}{' --reverse' if reverse else ''} | {len(kept)} | {landed} | {100.0 * landed / max(len(kept), 1):.1f} % |")
    if missed:
        print(f"|  | missed: {', '.join(missed)} | | | |")

print("\n## Cost: lookup against translate, 5,000 distinct words of the English text\n")
# Processor time (user + system) of the process is the measure: the wall time
# of a shared machine says more about its other work. Each figure is the
# least of five runs; both commands run alternately in the same run.
import resource
words = sorted(set(tokens("english.txt")))[:5000]
def measure(cmd, words):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    run(cmd, words)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime, wall
d = f"{cache}/eng-hrv.v03"
figures = {}
for _ in range(5):
    for name, command in (("translate", "translate"), ("lookup", "lookup")):
        for n in (1, len(words)):
            cpu, wall = measure([cli, command, d, "-"], words[:n])
            old = figures.get((name, n), (1e9, 1e9))
            figures[(name, n)] = (min(old[0], cpu), min(old[1], wall))
t1, tn = figures[("translate", 1)], figures[("translate", len(words))]
l1, ln = figures[("lookup", 1)], figures[("lookup", len(words))]
per = lambda a, b: (b - a) / (len(words) - 1) * 1e6
print("| | translate | lookup | ratio |")
print("|---|---:|---:|---:|")
print(f"| processor time, {len(words)} words (s) | {tn[0]:.3f} | {ln[0]:.3f} | {ln[0] / tn[0]:.2f} |")
print(f"| processor time, start and one word (s) | {t1[0]:.3f} | {l1[0]:.3f} | {l1[0] / t1[0]:.2f} |")
print(f"| processor time per further word (µs) | {per(t1[0], tn[0]):.1f} | {per(l1[0], ln[0]):.1f} | |")
print(f"| wall time, {len(words)} words (s) | {tn[1]:.3f} | {ln[1]:.3f} | {ln[1] / tn[1]:.2f} |")
bound = 2 * tn[0] + 50e-6 * len(words)
print(f"\nBound, lookup <= 2 x translate + 50 µs a word (processor time): {ln[0]:.3f} s against {bound:.3f} s: "
      + ("holds" if ln[0] <= bound else "broken"))
PY
