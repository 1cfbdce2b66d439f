#!/usr/bin/python3
"""Reads the reading grid over the AT-SPI accessibility bus, as a screen reader does.

Usage: read_grid_over_atspi.py GRID_DEMO

The grid demo runs on a virtual display with the accessibility bridge on. The script
finds its table "测点读数", checks the size, the headers and the readings the demo shows,
types a reading into the focus cell and reads it back, then moves the focus with the arrow
keys and checks that each move is announced for the right cell. It starts its own session
bus, accessibility bus and display; where one of them is missing or cannot start it exits
77 (skipped) and says why.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
LAUNCHERS = ["/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"]


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIP)


def fail(reason):
    print("FAILED: " + reason)
    sys.exit(1)


def start_display():
    """Starts Xvfb on a free display number; returns the process and the display name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "800x600x24", "-nolisten", "tcp"],
                            pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        xvfb.kill()
        skip("the virtual display (Xvfb) did not start")
    return xvfb, ":" + number


# Generous: under the sanitizers and a loaded machine the demo takes long to reach the bus.
def wait_for(what, probe, seconds=60.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def find(node, predicate, depth=0):
    if node is None or depth > 12:
        return None
    if predicate(node):
        return node
    for i in range(node.childCount):
        hit = find(node.getChildAtIndex(i), predicate, depth + 1)
        if hit is not None:
            return hit
    return None


def inner(demo):
    launcher = next((p for p in LAUNCHERS if os.access(p, os.X_OK)), None)
    if launcher is None:
        skip("at-spi-bus-launcher (at-spi2-core) is not installed")
    xvfb, display = start_display()
    bus = subprocess.Popen([launcher, "--launch-immediately"], stderr=subprocess.DEVNULL,
                           env=dict(os.environ, DISPLAY=display))
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    app = None
    try:
        os.environ["DISPLAY"] = display
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as e:
            skip("python3-pyatspi is not installed (%s)" % e)
        # The demo's bridge registers once, at start: the registry must answer before it runs.
        desktop = wait_for("the accessibility registry",
                           lambda: pyatspi.Registry.getDesktop(0) or None)
        desktop.childCount
        demo_log = tempfile.TemporaryFile("w+")
        app = subprocess.Popen([demo], env=env, stderr=demo_log)

        def demo_app():
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "grid-demo":
                    return a
            return None

        def demo_app_or_exit():
            if app.poll() is not None:
                demo_log.seek(0)
                fail("the grid demo ended with %d before reaching the bus: %s"
                     % (app.returncode, demo_log.read()[-2000:]))
            return demo_app()

        root = wait_for("the grid demo on the bus", demo_app_or_exit)
        table = wait_for("the table 测点读数", lambda: find(
            root, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.name == "测点读数"))
        t = table.queryTable()
        check(t.nRows == 17 and t.nColumns == 4, "a 17 x 4 table, got %d x %d"
              % (t.nRows, t.nColumns))
        check(t.getColumnHeader(2).name == "贯入仪读数(mm)",
              "column 2's header is %r" % t.getColumnHeader(2).name)
        check(t.getRowHeader(5).name == "5", "row 5's header is %r" % t.getRowHeader(5).name)
        shown = [[t.getAccessibleAt(r, c).name for c in range(1, 4)] for r in (1, 2)]
        check(shown == [["1.20", "5.50", "4.30"], ["0.85", "4.90", "4.05"]],
              "the demo's readings, got %r" % shown)
        cell = t.getAccessibleAt(1, 1)
        check(cell.getState().contains(pyatspi.STATE_EDITABLE), "cell (1, 1) is editable")
        check(not t.getAccessibleAt(1, 3).getState().contains(pyatspi.STATE_EDITABLE),
              "the depth column is not editable")

        focused = []
        pyatspi.Registry.registerEventListener(
            lambda e: focused.append(e.source) if e.detail1 else None,
            "object:state-changed:focused")
        if shutil.which("xdotool") is None:
            skip("xdotool is not installed: the cells were read, typing is left out")
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "grid-demo"],
                                env=env, capture_output=True, text=True).stdout.split()
        if not window:
            fail("the demo's window was not found on the display")
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=env)

        def keys(*names):
            subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), env=env)

        def pump(seconds):
            end = time.monotonic() + seconds
            context = GLib.MainContext.default()
            while time.monotonic() < end:
                while context.iteration(False):
                    pass
                time.sleep(0.05)

        keys("0", "period", "7", "5", "Tab", "4", "period", "8", "Return")
        pump(1.0)
        typed = [t.getAccessibleAt(1, c).name for c in (1, 2)]
        check(typed == ["0.75", "4.8"], "the typed readings read back, got %r" % typed)

        focused.clear()
        keys("Down", "Down", "Left")
        pump(1.5)
        moves = [(c.getIndexInParent() // 4, c.getIndexInParent() % 4)
                 for c in focused if c.getRole() == pyatspi.ROLE_TABLE_CELL]
        check(moves[-3:] == [(2, 2), (3, 2), (3, 1)],
              "focus announced for each move, got %r" % moves)
        print("read over AT-SPI: headers, readings %r, typed %r, focus moves %r"
              % (shown, typed, moves[-3:]))
    finally:
        for p in (app, bus, xvfb):
            if p is not None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()


def check(ok, what):
    if not ok:
        fail(what)


def main():
    if len(sys.argv) < 2:
        fail("usage: read_grid_over_atspi.py GRID_DEMO [--inner]")
    demo = sys.argv[1]
    if "--inner" in sys.argv:
        inner(demo)
        return
    for tool in ("dbus-run-session", "Xvfb"):
        if shutil.which(tool) is None:
            skip(tool + " is not installed")
    # A private session bus, so the accessibility bus and the demo meet nobody else.
    result = subprocess.run(["dbus-run-session", "--", sys.executable, __file__, demo,
                             "--inner"])
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
