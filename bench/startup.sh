#!/usr/bin/env bash
# Times the program from its start to "house" translated in its window, next
# to GoldenDict on the same English-German FreeDict data, on a private X
# server with a window manager:
#   - wordbay: a portable program folder holding the dictionary that
#     `wordbay-cli freedict eng-deu` makes, opened at start, automatic
#     translation on; once with the dictionary's look-up image in its cache
#     (every start after the first), once without (it then answers only
#     after loading the dictionary);
#   - GoldenDict (Debian's goldendict) with the installed dictd files of
#     dict-freedict-eng-deu as its only dictionary, its index built before;
#     and its first start, which builds that index before it answers.
# Each run starts from a fresh copy of the program's prepared home (settings,
# caches), so every run is the same start. The clock runs from just before
# exec; the script waits for the window, types "house" (and Return, which
# GoldenDict needs) with xdotool, and reads the screen with xwd until it shows
# what a settled reference run showed at the end: the run is over when at
# most a caret's worth of pixels still differ. The medians of the runs, and
# their ratio, close the output; the window's first appearance is reported
# too, and each program's resident memory 8 s after it answered. Several programs run one at a time; runs alternate between them so that
# a busy machine slows both alike.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]   (default build, 7 runs)
# STARTUP_SHOTS=FOLDER keeps the screens that the runs wait for, and the first
# run's when it counted as answered, as pictures.
# STARTUP_TRACE=FOLDER writes a time line of each run there: the program's
# own marks (WORDBAY_TRACE_STARTUP) and the script's, in ms from exec.
# Run as root, it installs what is missing (goldendict, openbox, xdotool,
# x11-apps, xvfb, dbus-daemon) with apt-get. A manual tool: CI does not run it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-7}

if [ -z "${WORDBAY_STARTUP_INNER:-}" ]; then
    [ -x "$build/bin/wordbay" ] && [ -x "$build/bin/wordbay-cli" ] || {
        echo "startup.sh: build the wordbay and wordbay-cli targets into $build first" >&2
        exit 1
    }
    missing=()
    for package in goldendict openbox xdotool x11-apps xvfb xauth dbus-daemon dict-freedict-eng-deu; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "startup.sh: please install ${missing[*]} (or run as root)" >&2
            exit 1
        fi
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null
    fi
    # A session bus, as every desktop has: without one each program's first
    # use of D-Bus (accessibility, the tray) starts a bus of its own.
    WORDBAY_STARTUP_INNER=1 exec xvfb-run -a -s "-screen 0 1024x700x24" \
        dbus-run-session -- bash "$0" "$build" "$runs"
fi

dir=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT
openbox --sm-disable >/dev/null 2>&1 &
sleep 1

# ---- wordbay: a portable program folder -----------------------------------
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

# ---- GoldenDict: the dictd files of eng-deu alone -------------------------
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

# Each run starts from a fresh copy of the prepared home: the program
# folder with it for wordbay, ~/.goldendict for GoldenDict.
python3 - "$dir" "$runs" "$build/bin/wordbay-cli" <<'PY'
import ctypes, os, shutil, statistics, subprocess, sys, time

work, runs, cli = sys.argv[1], int(sys.argv[2]), sys.argv[3]

# The screen is read straight from the X server (XGetImage of the region
# alone), which takes a millisecond or two, for both programs alike.
class XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + \
        [("data", ctypes.c_void_p)] + \
        [(name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order",
                                           "bitmap_pad", "depth", "bytes_per_line",
                                           "bits_per_pixel")]

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
display = xlib.XOpenDisplay(None)
if not display:
    raise SystemExit("startup.sh: can't open the display")
root = xlib.XDefaultRootWindow(display)
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFFFFFFFFFF, 2

def screen(region):
    """The pixels of region (x0, y0, x1, y1) of the screen: rows of bytes,
    and the bytes of a pixel."""
    x0, y0, x1, y1 = region
    image = xlib.XGetImage(display, root, x0, y0, x1 - x0, y1 - y0, ALL_PLANES, Z_PIXMAP)
    if not image:
        raise SystemExit("startup.sh: can't read the screen")
    i = image.contents
    step = i.bits_per_pixel // 8
    data = ctypes.string_at(i.data, i.bytes_per_line * i.height)
    rows = [data[y * i.bytes_per_line:y * i.bytes_per_line + i.width * step]
            for y in range(i.height)]
    xlib.XDestroyImage(image)
    return rows, step

# The windows, read the same way: the window manager's list of the windows
# it manages, their names and classes, and whether they show.
class XWindowAttributes(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("x", "y", "width", "height", "border_width",
                                                  "depth")] + \
        [("visual", ctypes.c_void_p), ("root", ctypes.c_ulong)] + \
        [(name, ctypes.c_int) for name in ("c_class", "bit_gravity", "win_gravity",
                                           "backing_store")] + \
        [("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
         ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
         ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
         ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
         ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
         ("screen", ctypes.c_void_p)]

class XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_char_p), ("res_class", ctypes.c_char_p)]

xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
    ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_void_p)]
xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(XWindowAttributes)]
xlib.XGetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XClassHint)]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XSetErrorHandler.argtypes = [ctypes.c_void_p]
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)  # a window may go while it is looked at
XA_WINDOW = 33

def windows_of(property_name):
    """The windows that a property of the root window lists."""
    atom = xlib.XInternAtom(display, property_name, False)
    kind, size = ctypes.c_ulong(), ctypes.c_int()
    count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
    if xlib.XGetWindowProperty(display, root, atom, 0, 4096, False, XA_WINDOW, ctypes.byref(kind),
                               ctypes.byref(size), ctypes.byref(count), ctypes.byref(after),
                               ctypes.byref(data)) != 0 or not data:
        return []
    found = list(ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[:count.value])
    xlib.XFree(data)
    return found

def describe(window):
    """Whether a window shows, its class and its name."""
    attributes, hint, name = XWindowAttributes(), XClassHint(), ctypes.c_char_p()
    shows = xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes)) != 0 and \
        attributes.map_state == 2
    class_name = ""
    if xlib.XGetClassHint(display, window, ctypes.byref(hint)) != 0:
        class_name = (hint.res_class or b"").decode(errors="replace")
    title = ""
    if xlib.XFetchName(display, window, ctypes.byref(name)) != 0 and name.value is not None:
        title = name.value.decode(errors="replace")
    return shows, class_name, title

TOLERANCE = 20  # pixels; the regions hold no caret

def differing_pixels(a, b):
    """Pixels that differ between two readings of the same region, counted up
    to one more than the tolerance: a reading is taken every few ms while the
    programs start, and counting every pixel in Python would take a
    processor away from them."""
    (rows_a, step), (rows_b, _) = a, b
    count = 0
    for ra, rb in zip(rows_a, rows_b):
        if ra == rb:
            continue
        for x in range(0, len(ra), step):
            if ra[x:x + step] != rb[x:x + step]:
                count += 1
                if count > TOLERANCE:
                    return count
    return count

class Program:
    def __init__(self, name, command, prepared, keys, window, region):
        self.name, self.command, self.prepared = name, command, prepared
        self.keys, self.window = keys, window  # the window: a test of its class and name
        self.region = region  # where the translations show, on the screen
        self.reference = None
        self.times, self.windows = [], []
        self.marks = []  # the script's marks of the run: (seconds, what)

    def start(self):
        home = os.path.join(work, "run-home")
        shutil.rmtree(home, ignore_errors=True)
        shutil.copytree(self.prepared, home, symlinks=True)
        os.makedirs(os.path.join(home, "run"), mode=0o700, exist_ok=True)
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"),
                   WORDBAY_INSTANCE="wordbay-startup-%d" % os.getpid())
        trace = os.environ.get("STARTUP_TRACE")
        if trace:
            env["WORDBAY_TRACE_STARTUP"] = "1"
        self.err = open(os.path.join(trace, "stderr"), "wb") if trace else subprocess.DEVNULL
        self.marks = []
        begin = time.monotonic()
        process = subprocess.Popen(self.command, env=env, stdout=subprocess.DEVNULL,
                                   stderr=self.err, start_new_session=True)
        return process, begin

    def mark(self, what):
        self.marks.append((time.monotonic(), what))

    def timeline(self, begin, number):
        """With STARTUP_TRACE, the marks of the program and of this script, in
        ms from exec, into FOLDER/NAME-NUMBER.txt."""
        trace = os.environ.get("STARTUP_TRACE")
        if not trace:
            return
        lines = list(self.marks)
        for line in open(os.path.join(trace, "stderr"), errors="replace"):
            parts = line.rstrip("\n").split(" ", 2)
            if len(parts) == 3 and parts[0] == "wordbay-trace":
                lines.append((float(parts[1]), "  " + parts[2]))
        name = self.name.replace(",", "").replace(" ", "-")
        with open(os.path.join(trace, "%s-%d.txt" % (name, number)), "w") as out:
            for seconds, what in sorted(lines):
                out.write("%7.1f %s\n" % ((seconds - begin) * 1000, what))

    def find_window(self):
        """The program's main window once it shows, or None."""
        for window in windows_of(b"_NET_CLIENT_LIST"):
            shows, class_name, title = describe(window)
            if shows and self.window(class_name, title):
                return window
        return None

    def type_word(self, process):
        """Waits for the window, types the word; the time the window showed."""
        while True:
            window = self.find_window()
            if window is not None:
                shown = time.monotonic()
                self.mark("script: window found")
                break
            if process.poll() is not None:
                raise SystemExit("%s ended before its window showed" % self.name)
            time.sleep(0.002)
        # Activated as xdotool does, then waited for here (xdotool's own wait
        # looks every 30 ms or so).
        subprocess.run(["xdotool", "windowactivate", str(window)], capture_output=True)
        deadline = time.monotonic() + 5
        while windows_of(b"_NET_ACTIVE_WINDOW") != [window] and time.monotonic() < deadline:
            time.sleep(0.002)
        self.mark("script: window activated")
        subprocess.run(["xdotool", "type", "--delay", "1", self.keys[0]], check=True)
        for key in self.keys[1:]:
            subprocess.run(["xdotool", "key", key], check=True)
        self.mark("script: typed")
        return shown

    def stop(self, process):
        os.killpg(process.pid, 15)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, 9)
            process.wait()
        if self.err != subprocess.DEVNULL:
            self.err.close()

    def settle(self):
        """A run left alone long enough; its last screen is the reference."""
        process, _ = self.start()
        self.type_word(process)
        time.sleep(12)
        self.reference = screen(self.region)
        self.picture("")
        self.stop(process)

    def picture(self, suffix):
        """With STARTUP_SHOTS, the screen now as a picture: the reference, and
        the first run's screen when it counted as answered."""
        shots = os.environ.get("STARTUP_SHOTS")
        if shots:
            name = self.name.replace(",", "").replace(" ", "-") + suffix + ".png"
            subprocess.run("xwd -root -silent | convert xwd:- '%s'" % os.path.join(shots, name),
                           shell=True, check=True)

    def resident(self):
        """The resident memory (MB) of a run left alone for 8 s after it
        answered: the dictionary loaded, the program idle as it stays."""
        process, _ = self.start()
        self.type_word(process)
        time.sleep(8)
        rss = 0
        for line in open("/proc/%d/smaps_rollup" % process.pid):
            if line.startswith("Rss:"):
                rss = int(line.split()[1]) / 1024
        self.stop(process)
        return rss

    def run(self):
        process, begin = self.start()
        shown = self.type_word(process)
        before = None
        while True:
            now = screen(self.region)
            done = time.monotonic()
            differing = differing_pixels(now, self.reference)
            if differing != before:
                self.mark("script: screen read, %s pixels differ" %
                          (differing if differing <= TOLERANCE else "over %d" % TOLERANCE))
                before = differing
            if differing <= TOLERANCE:
                self.picture("-answered") if not self.times else None
                break
            if done - begin > 60:
                raise SystemExit("%s: no translation after 60 s" % self.name)
            time.sleep(0.003)  # the programs need the processors more
        self.stop(process)
        self.timeline(begin, len(self.times) + 1)
        self.times.append(done - begin)
        self.windows.append(shown - begin)

program = [os.path.join(work, "run-home", "program", "wordbay")]
# The translation list of the main window, placed by the settings file.
translations = (424, 197, 796, 488)
def wordbay_window(class_name, title):
    return class_name == "wordbay"

cold = Program("wordbay, no image", program, os.path.join(work, "ours"), ["house"],
               wordbay_window, translations)
ours = Program("wordbay", program, os.path.join(work, "ours-image"), ["house"],
               wordbay_window, translations)

# The look-up image that the program answers from at start lies in the cache
# of the home it runs in, keyed by the dictionary's path there: written once
# in a run home, which is then kept as the prepared one.
home = os.path.join(work, "run-home")
shutil.rmtree(home, ignore_errors=True)
shutil.copytree(cold.prepared, home, symlinks=True)
subprocess.run([cli, "list", os.path.join(home, "program", "database", "eng-deu.v03"), "a"],
               env=dict(os.environ, XDG_CACHE_HOME=os.path.join(home, "cache")),
               stdout=subprocess.DEVNULL, check=True)
shutil.copytree(home, ours.prepared, symlinks=True)
# The main window; "GoldenDict - Initializing" is the indexing window.
# Its article view, where it first places its main window on this screen.
gd = Program("GoldenDict", ["goldendict"], os.path.join(work, "goldendict", "home"),
             ["house", "Return"], lambda class_name, title: title.endswith("GoldenDict"),
             (190, 190, 620, 600))

# GoldenDict indexes its dictionaries at its first start: that start is kept
# as the prepared home, as a user's later starts find it. A copy of the home
# before it serves the first start, beside ours without the image.
gd_first = Program("GoldenDict, first start", ["goldendict"],
                   os.path.join(work, "goldendict", "home-first"), ["house", "Return"],
                   lambda class_name, title: title.endswith("GoldenDict"), (190, 190, 620, 600))
shutil.copytree(gd.prepared, gd_first.prepared, symlinks=True)
process, _ = gd.start()
gd.type_word(process)
time.sleep(5)
gd.stop(process)
shutil.rmtree(gd.prepared)
shutil.copytree(os.path.join(work, "run-home"), gd.prepared, symlinks=True)

programs = (ours, cold, gd, gd_first)
for program in programs:
    program.settle()
# Both first starts look for the screen that GoldenDict settles into.
gd_first.reference = gd.reference
for _ in range(runs):
    for program in programs:
        program.run()

def ms(seconds):
    return "%.0f" % (seconds * 1000)

print()
print("From exec to \"house\" translated in the window, English-German FreeDict;")
print("median of %d runs, ms (%d x %s, %s)" % (runs, os.cpu_count(),
      next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?"),
      time.strftime("%Y-%m-%d", time.gmtime())))
print()
print("| | wordbay | wordbay, no image | GoldenDict | GoldenDict, first start | ratios |")
print("|---|---:|---:|---:|---:|---:|")
for label, times in (("window shown", lambda p: p.windows),
                     ("\"house\" translated", lambda p: p.times)):
    a, b, c, d = (statistics.median(times(p)) for p in programs)
    print("| %s | %s | %s | %s | %s | %.2f, %.2f, %.2f |" %
          (label, ms(a), ms(b), ms(c), ms(d), a / c, b / c, b / d))
print()
print("ratios: wordbay / GoldenDict, wordbay with no image / GoldenDict, and the")
print("first starts: wordbay with no image / GoldenDict indexing its dictionary")
print()
for program in programs:
    print("runs, ms, %s:" % program.name, " ".join(ms(t) for t in program.times))

# Resident memory after "house", the dictionary loaded (bench/memory.sh
# tells where it goes).
print()
ours_mb, gd_mb = ours.resident(), gd.resident()
print("resident after \"house\", MB: wordbay %.1f, GoldenDict %.1f, ratio %.2f" %
      (ours_mb, gd_mb, ours_mb / gd_mb))
PY
