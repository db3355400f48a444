#!/usr/bin/env python3
"""Start-up of the real program, from exec to its main window being mapped on an X server.

    bench_startup.py BUILD_DIR [--runs N] [--large]

Shows its windows on the display of the environment ($DISPLAY); without one it starts its own
Xvfb on a free display number (no window manager). Makes program folders with an empty store,
with 100,000 titles (2 lines each), with 30,000 titles of 100 lines (3,000,000 rows) and, with
--large, with 1,000,000 titles, all through the sqlite3 shell; runs the program once in each
folder first (it then folds the rows the shell wrote into what it keeps beside them: that start
is printed on its own), then the program (splash wait skipped by MOZHOU_SKIP_SPLASH_WAIT) and a
minimal Qt window by turns, which of them first alternating, each at least 5 times.

Each run ends the moment its window is mapped; its processor time is that of all its threads,
ended ones included (the kernel's figure for the whole process, read when it has been reaped),
beside the wall time. Prints min and median of each side and of the ratio of each pair, the ratio
of each store's processor time to the empty store's, and the peak resident memory in MiB.
"""
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class MapWatcher:
    """Sees every top-level window that is mapped, with its name."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise SystemExit("cannot open display " + display)
        self.net_wm_name = self.x.XInternAtom(self.dpy, b"_NET_WM_NAME", False)
        self.utf8_string = self.x.XInternAtom(self.dpy, b"UTF8_STRING", False)
        self.x.XSelectInput(self.dpy, self.x.XDefaultRootWindow(self.dpy), SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.dpy)

    def name_of(self, window):
        """The window's _NET_WM_NAME (UTF-8), as the toolkit sets it."""
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        status = self.x.XGetWindowProperty(self.dpy, window, self.net_wm_name, 0, 1024, False,
                                           self.utf8_string, ctypes.byref(kind), ctypes.byref(fmt),
                                           ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data:
            return ""
        name = ctypes.string_at(data, count.value).decode("utf-8", "replace")
        self.x.XFree(data)
        return name

    def wait_for(self, title, deadline):
        """Seconds (monotonic) at which a window named title was mapped, or None."""
        import select
        fd = self.x.XConnectionNumber(self.dpy)
        event = XEvent()
        while time.monotonic() < deadline:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type == MAP_NOTIFY:
                    at = time.monotonic()
                    if self.name_of(event.xmap.window) == title:
                        return at
            select.select([fd], [], [], 0.05)
        return None


def peak_resident_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def run_once(watcher, command, folder, title, env):
    """Wall ms and processor ms to the window mapped, and peak resident MiB."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    mapped = watcher.wait_for(title, start + 120)
    peak = peak_resident_kb(process.pid)
    process.kill()
    _, _, usage = os.wait4(process.pid, 0)
    process.returncode = -9
    if mapped is None:
        raise SystemExit(f"{command[0]}: no window named {title!r} within 120 s")
    return (mapped - start) * 1000, (usage.ru_utime + usage.ru_stime) * 1000, peak / 1024


def make_folder(root, name, titles, lines, store_tool, themes_tool):
    folder = os.path.join(root, name)
    for sub in ("Data", "Temp"):
        os.makedirs(os.path.join(folder, sub))
    store = os.path.join(folder, "Data", "current.mdb")
    subprocess.run([store_tool, "create", store], check=True, stdout=subprocess.DEVNULL)
    subprocess.run([themes_tool, os.path.join(folder, "Themes")], check=True, stdout=subprocess.DEVNULL)
    sql = f"""begin;
with recursive t(i) as (select 0 union all select i + 1 from t where i < {titles - 1}),
     l(j) as (select 0 union all select j + 1 from l where j < {lines - 1})
insert into 文本 select '标题' || (i * 7919 % {titles}) || '号', j, '第' || j || '行的内容' from t, l;
commit;"""
    if titles > 0:
        subprocess.run(["sqlite3", store], input=sql.encode(), check=True)
    return folder


def summary(label, values, unit):
    return f"{label:<52}{min(values):10.1f}{statistics.median(values):10.1f} {unit}"


def start_display():
    """The environment's display, or a new Xvfb's on a number it finds free."""
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"], None
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        raise SystemExit("Xvfb did not start")
    return ":" + number, xvfb


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[sys.argv.index("--runs") + 1]) if "--runs" in sys.argv else 5
    program = os.path.join(build, "src/app/mozhou")
    minimal = os.path.join(build, "bench/startup/bench_minimal_window")
    store_tool = os.path.join(build, "tools/mozhou-store")
    themes_tool = os.path.join(build, "tools/themes/mozhou-themes")
    display, xvfb = start_display()
    root = tempfile.mkdtemp(prefix="mozhou-startup-")
    try:
        watcher = MapWatcher(display)
        env = dict(os.environ, DISPLAY=display, MOZHOU_SKIP_SPLASH_WAIT="1", TMPDIR=root,
                   XDG_RUNTIME_DIR=root)
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("WAYLAND_DISPLAY", None)
        cases = [("an empty store", make_folder(root, "empty", 0, 0, store_tool, themes_tool)),
                 ("100,000 titles", make_folder(root, "titles", 100000, 2, store_tool, themes_tool)),
                 ("30,000 titles of 100 lines", make_folder(root, "lines", 30000, 100, store_tool, themes_tool))]
        if "--large" in sys.argv:
            cases.append(("1,000,000 titles", make_folder(root, "million", 1000000, 1, store_tool, themes_tool)))
        print(f"display {display}; {runs} runs of each side\n{'':52}{'min':>10}{'median':>10}")
        empty_cpu = None
        for label, folder in cases:
            first = run_once(watcher, [program], folder, "墨舟札记", env)
            ours, reference = [], []
            for index in range(runs):
                pair = [lambda: ours.append(run_once(watcher, [program], folder, "墨舟札记", env)),
                        lambda: reference.append(run_once(watcher, [minimal], folder, "minimal", env))]
                for side in (pair if index % 2 == 0 else reversed(pair)):
                    side()
            cpu = [run[1] for run in ours]
            print(f"start-up, {label} (first start, the store as the shell left it: "
                  f"{first[0]:.0f} ms wall, {first[1]:.0f} ms processor):")
            for index, (figure, unit) in enumerate((("wall", "ms"), ("processor", "ms"))):
                a = [run[index] for run in ours]
                b = [run[index] for run in reference]
                print(summary(f"  {figure}, exec to main window mapped", a, unit))
                print(summary(f"  {figure}, exec to minimal Qt window mapped", b, unit))
                print(summary(f"  {figure}, ratio", [x / y for x, y in zip(a, b)], "x"))
            if empty_cpu is None:
                empty_cpu = cpu
                print("    (goal: processor ratio to the minimal window <= 2.5)")
            else:
                print(summary("  processor, ratio to the empty store (run by run)",
                              [x / y for x, y in zip(cpu, empty_cpu)], "x"))
                print("    (goal: <= 1.3 at 100,000 titles, <= 1.5 at 1,000,000)")
            print(summary("  peak resident memory of the program", [run[2] for run in ours], "MiB"))
            sys.stdout.flush()
    finally:
        if xvfb:
            xvfb.kill()
            xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
