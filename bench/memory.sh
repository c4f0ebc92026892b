#!/usr/bin/env bash
# The program's resident memory with the English-German FreeDict dictionary
# open, after one look-up, next to GoldenDict's on the same data, and where
# the program's memory goes.
#
# On a private X server with a window manager and a session bus (as
# bench/startup.sh prepares them), wordbay starts from a portable program
# folder holding the dictionary that `wordbay-cli freedict eng-deu` makes
# (its look-up image in the cache, as every start after the first finds it;
# and without, the first start, after which the program writes the image),
# "house" is typed into its window, and once the dictionary has loaded and
# the program has been left alone for SETTLE seconds, /proc/PID/smaps is
# read: the resident memory of each mapping, summed by what it holds (the
# heap, the engine's arena of nodes and links, the look-up image, the
# dictionary file, ICU's data, Qt, fonts, other libraries). GoldenDict gets
# the installed dictd files of dict-freedict-eng-deu, "house" and Return,
# and the same wait. RUNS runs of each, alternated; the medians close the
# output.
#
# Usage: bench/memory.sh [BUILD_DIR] [RUNS] [SETTLE]   (default build, 3, 15)
# Run as root, it installs what is missing (goldendict, openbox, xdotool,
# xvfb, dbus-daemon) with apt-get. A manual tool: CI does not run it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-3}
settle=${3:-15}

if [ -z "${WORDBAY_MEMORY_INNER:-}" ]; then
    [ -x "$build/bin/wordbay" ] && [ -x "$build/bin/wordbay-cli" ] || {
        echo "memory.sh: build the wordbay and wordbay-cli targets into $build first" >&2
        exit 1
    }
    missing=()
    for package in goldendict openbox xdotool xvfb xauth dbus-daemon dict-freedict-eng-deu; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "memory.sh: please install ${missing[*]} (or run as root)" >&2
            exit 1
        fi
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null
    fi
    WORDBAY_MEMORY_INNER=1 exec xvfb-run -a -s "-screen 0 1024x700x24" \
        dbus-run-session -- bash "$0" "$build" "$runs" "$settle"
fi

dir=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT
openbox --sm-disable >/dev/null 2>&1 &
sleep 1

# ---- wordbay: a portable program folder, its look-up image in its cache ---
ours=$dir/ours
mkdir -p "$ours/program/database"
cp "$build/bin/wordbay" "$ours/program/"
"$build/bin/wordbay-cli" freedict eng-deu "$ours/program/database/eng-deu.v03" >/dev/null
cat >"$ours/program/wordbay.ini" <<INI
[dictionary]
current=eng-deu.v03
[options]
showsplash=0
autotranslate=1
[size]
x=40
y=30
cx=760
cy=460
INI

# ---- GoldenDict: the dictd files of eng-deu alone, indexed beforehand ------
gd=$dir/goldendict
mkdir -p "$gd/dictionaries" "$gd/home/.goldendict"
ln -s /usr/share/dictd/freedict-eng-deu.index /usr/share/dictd/freedict-eng-deu.dict.dz \
    "$gd/dictionaries/"
cat >"$gd/home/.goldendict/config" <<XML
<config>
 <paths>
  <path recursive="0">$gd/dictionaries</path>
 </paths>
 <preferences>
  <enableTrayIcon>0</enableTrayIcon>
  <startToTray>0</startToTray>
  <checkForNewReleases>0</checkForNewReleases>
  <enableMainWindowHotkey>0</enableMainWindowHotkey>
  <enableClipboardHotkey>0</enableClipboardHotkey>
  <enableScanPopup>0</enableScanPopup>
  <startWithScanPopupOn>0</startWithScanPopupOn>
  <fullTextSearch>
   <enabled>0</enabled>
  </fullTextSearch>
 </preferences>
 <mainWindowGeometry></mainWindowGeometry>
</config>
XML

python3 - "$dir" "$runs" "$settle" "$build/bin/wordbay-cli" <<'PY'
import os, re, shutil, statistics, subprocess, sys, time

work, runs, settle, cli = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]

def kind_of(path, start, size):
    """What a mapping holds, by its file or, anonymous, by where it lies."""
    name = os.path.basename(path)
    if path == "[heap]":
        return "heap (main malloc arena)"
    if path in ("[stack]", "[vvar]", "[vdso]", "[vsyscall]") or path.startswith("[stack"):
        return "stacks and kernel"
    if not path or path.startswith("[anon"):
        # The engine reserves its arena of nodes and links at the 1 GB mark,
        # below 33 GB; what it has taken from the system is mapped there.
        if 1 << 30 <= start < 33 << 30:
            return "engine arena (nodes, links)"
        return "anonymous (malloc: threads' arenas, large blocks)"
    if name.endswith(".lookup"):
        return "look-up image (mapped)"
    if name.endswith(".v03"):
        return "dictionary file (mapped)"
    if "icudata" in name:
        return "ICU data"
    if "libicu" in name:
        return "ICU code"
    if name.startswith("libQt6") or "/qt6/" in path or name.startswith("libQt5"):
        return "Qt"
    if re.search(r"\.(ttf|otf|pfb|ttc|cache-\d+)$", name) or "fontconfig" in path or \
            name.startswith(("libfreetype", "libfontconfig", "libharfbuzz")):
        return "fonts"
    if "/locale/" in path or name == "locale-archive":
        return "locale data"
    if name in ("wordbay", "goldendict", "liblexbase.so", "libkeysnare.so") or \
            name.startswith(("liblexbase", "libkeysnare")):
        return "the program and its libraries"
    if ".so" in name:
        return "other libraries"
    return "other files"

def smaps(pid):
    """Resident kB by kind, and the whole."""
    kinds, total = {}, 0
    path, start, size = None, 0, 0
    for line in open("/proc/%d/smaps" % pid):
        fields = line.split()
        if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
            begin, end = (int(x, 16) for x in fields[0].split("-"))
            path, start, size = (fields[5] if len(fields) > 5 else ""), begin, end - begin
        elif fields[0] == "Rss:":
            kb = int(fields[1])
            kind = kind_of(path, start, size)
            kinds[kind] = kinds.get(kind, 0) + kb
            total += kb
    return kinds, total

def rollup(pid):
    values = {}
    for line in open("/proc/%d/smaps_rollup" % pid):
        fields = line.split()
        if len(fields) >= 2 and fields[0].endswith(":") and fields[1].isdigit():
            values[fields[0][:-1]] = int(fields[1])
    return values

def run(command, home_template, keys, window_search):
    home = os.path.join(work, "run-home")
    shutil.rmtree(home, ignore_errors=True)
    shutil.copytree(home_template, home, symlinks=True)
    os.makedirs(os.path.join(home, "run"), mode=0o700, exist_ok=True)
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"),
               XDG_CACHE_HOME=os.path.join(home, "cache"),
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"),
               WORDBAY_INSTANCE="wordbay-memory-%d" % os.getpid())
    program = [c.replace("HOME", home) for c in command]
    process = subprocess.Popen(program, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    window = None
    deadline = time.monotonic() + 120
    while window is None and time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible"] + window_search,
                               capture_output=True, text=True).stdout.split()
        window = found[0] if found else None
        time.sleep(0.1)
    if window is None:
        raise SystemExit("memory.sh: no window of %s" % command[0])
    time.sleep(1)
    subprocess.run(["xdotool", "windowactivate", "--sync", window], capture_output=True)
    subprocess.run(["xdotool", "type", "--delay", "20", keys[0]], check=True)
    for key in keys[1:]:
        subprocess.run(["xdotool", "key", key], check=True)
    time.sleep(settle)
    kinds, total = smaps(process.pid)
    values = rollup(process.pid)
    os.killpg(process.pid, 15)
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, 9)
        process.wait()
    return kinds, values

# GoldenDict indexes its dictionary at its first start: done before timing.
gd_home = os.path.join(work, "goldendict", "home")
gd_command = ["goldendict"]
gd_window = ["--name", "GoldenDict$"]
run(gd_command, gd_home, ["house", "Return"], gd_window)
shutil.rmtree(gd_home)
shutil.copytree(os.path.join(work, "run-home"), gd_home, symlinks=True)

# The look-up image lies in the cache of the home the program runs in, keyed
# by the dictionary's path there: written once in a run home, which is then
# kept as the prepared one.
home = os.path.join(work, "run-home")
shutil.rmtree(home, ignore_errors=True)
shutil.copytree(os.path.join(work, "ours"), home, symlinks=True)
shutil.copytree(home, os.path.join(work, "ours-first"), symlinks=True)
subprocess.run([cli, "list", os.path.join(home, "program", "database", "eng-deu.v03"), "a"],
               env=dict(os.environ, XDG_CACHE_HOME=os.path.join(home, "cache")),
               stdout=subprocess.DEVNULL, check=True)
shutil.rmtree(os.path.join(work, "ours"))
shutil.copytree(home, os.path.join(work, "ours"), symlinks=True)

ours_command = ["HOME/program/wordbay"]
ours_window = ["--class", "^wordbay$"]
results = {"wordbay": [], "wordbay, first start": [], "GoldenDict": []}
for _ in range(runs):
    results["wordbay"].append(run(ours_command, os.path.join(work, "ours"), ["house"],
                                  ours_window))
    # The first start with the dictionary: no image yet, which the program
    # writes from a load of its own after its load.
    results["wordbay, first start"].append(run(ours_command, os.path.join(work, "ours-first"),
                                               ["house"], ours_window))
    results["GoldenDict"].append(run(gd_command, gd_home, ["house", "Return"], gd_window))

def mb(kb):
    return "%.1f" % (kb / 1024)

print()
print("Resident memory after \"house\", English-German FreeDict open; MB, median of %d runs" % runs)
print("(load average %s, %s)" % (open("/proc/loadavg").read().split()[0],
                                  time.strftime("%Y-%m-%d", time.gmtime())))
print()
print("| | wordbay | wordbay, first start | GoldenDict | ratios |")
print("|---|---:|---:|---:|---:|")
for field, label in (("Rss", "resident"), ("Pss", "proportional (shared pages divided)"),
                     ("Private_Clean", "private clean"), ("Private_Dirty", "private dirty"),
                     ("Anonymous", "anonymous")):
    a, f, b = (statistics.median(v[field] for _, v in results[name])
               for name in ("wordbay", "wordbay, first start", "GoldenDict"))
    print("| %s | %s | %s | %s | %.2f, %.2f |" % (label, mb(a), mb(f), mb(b), a / b if b else 0,
                                                  f / b if b else 0))
print()
print("Where wordbay's resident memory goes (median of each kind):")
print()
print("| kind | wordbay | first start |")
print("|---|---:|---:|")
kinds = sorted({k for name in ("wordbay", "wordbay, first start") for r, _ in results[name]
                for k in r})
rows = [(statistics.median(r.get(k, 0) for r, _ in results["wordbay"]),
         statistics.median(r.get(k, 0) for r, _ in results["wordbay, first start"]), k)
        for k in kinds]
for kb, first_kb, kind in sorted(rows, reverse=True):
    print("| %s | %s | %s |" % (kind, mb(kb), mb(first_kb)))
print()
for name in results:
    print("runs, resident MB, %s:" % name, " ".join(mb(v["Rss"]) for _, v in results[name]))
PY
