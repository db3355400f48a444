#!/usr/bin/env python3
"""Start-up of the real program, from exec to its main window being mapped on an X server.

    bench_startup.py BUILD_DIR [--runs N]

Starts its own Xvfb (no window manager), makes program folders with an empty store, with
100,000 titles (2 lines each) and with 30,000 titles of 100 lines (3,000,000 rows) through the sqlite3 shell, and runs
the program (splash wait skipped by MOZHOU_SKIP_SPLASH_WAIT) and a minimal Qt window by turns,
each at least 5 times. Prints min and median of each, of the ratio, and peak resident memory.
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
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    mapped = watcher.wait_for(title, start + 60)
    time.sleep(0.2)
    peak = peak_resident_kb(process.pid)
    process.kill()
    process.wait()
    if mapped is None:
        raise SystemExit(f"{command[0]}: no window named {title!r} within 60 s")
    return (mapped - start) * 1000, peak


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
    return f"{label:<44}{min(values):10.1f}{statistics.median(values):10.1f} {unit}"


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[sys.argv.index("--runs") + 1]) if "--runs" in sys.argv else 5
    program = os.path.join(build, "src/app/mozhou")
    minimal = os.path.join(build, "bench/startup/bench_minimal_window")
    store_tool = os.path.join(build, "tools/mozhou-store")
    themes_tool = os.path.join(build, "tools/themes/mozhou-themes")
    display = ":77"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    root = tempfile.mkdtemp(prefix="mozhou-startup-")
    try:
        time.sleep(1)
        watcher = MapWatcher(display)
        env = dict(os.environ, DISPLAY=display, MOZHOU_SKIP_SPLASH_WAIT="1", TMPDIR=root,
                   XDG_RUNTIME_DIR=root)
        env.pop("QT_QPA_PLATFORM", None)
        cases = [("an empty store", make_folder(root, "empty", 0, 0, store_tool, themes_tool)),
                 ("100,000 titles", make_folder(root, "titles", 100000, 2, store_tool, themes_tool)),
                 ("30,000 titles of 100 lines", make_folder(root, "lines", 30000, 100, store_tool, themes_tool))]
        print(f"{'':44}{'min':>10}{'median':>10}")
        for label, folder in cases:
            ours, reference, ratios, peaks = [], [], [], []
            for _ in range(runs):
                ms, peak = run_once(watcher, [program], folder, "墨舟札记", env)
                ref, _ = run_once(watcher, [minimal], folder, "minimal", env)
                ours.append(ms)
                reference.append(ref)
                ratios.append(ms / ref)
                peaks.append(peak / 1024)
            print(f"start-up, {label}:")
            print(summary("  exec to main window mapped", ours, "ms"))
            print(summary("  exec to minimal Qt window mapped", reference, "ms"))
            print(summary("  ratio", ratios, "x"))
            print(summary("  peak resident memory of the program", peaks, "MB"))
    finally:
        xvfb.kill()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
