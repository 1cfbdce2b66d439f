#!/usr/bin/python3
"""Reads the member list's ticks over the AT-SPI accessibility bus, as a screen reader does.

Usage: read_list_over_atspi.py LIST_DEMO

The list demo runs on a virtual display with the accessibility bridge on. The script finds
its table "构件列表", checks that the ticked rows read as checked and the others not, then
ticks and unticks the highlighted row with Space and checks that each change is announced
for that row's cell. It starts its buses and display as read_grid_over_atspi.py does, and
like it exits 77 (skipped) where one of them is missing.
"""

import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
_grid_script = importlib.util.spec_from_file_location(
    "grid_bus", os.path.join(HERE, "..", "grid", "read_grid_over_atspi.py"))
bus_tools = importlib.util.module_from_spec(_grid_script)
_grid_script.loader.exec_module(bus_tools)
skip, fail, check, wait_for, find = (bus_tools.skip, bus_tools.fail, bus_tools.check,
                                     bus_tools.wait_for, bus_tools.find)

# The demo ticks members 1 and 4 and highlights member 3.
TICKED = [True, False, False, True, False, False]
HIGHLIGHTED = 2


def inner(demo):
    launcher = next((p for p in bus_tools.LAUNCHERS if os.access(p, os.X_OK)), None)
    if launcher is None:
        skip("at-spi-bus-launcher (at-spi2-core) is not installed")
    xvfb, display = bus_tools.start_display()
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
        desktop = wait_for("the accessibility registry",
                           lambda: pyatspi.Registry.getDesktop(0) or None)
        desktop.childCount
        log = tempfile.TemporaryFile("w+")
        app = subprocess.Popen([demo], env=env, stderr=log)

        def demo_app():
            if app.poll() is not None:
                log.seek(0)
                fail("the list demo ended with %d: %s" % (app.returncode, log.read()[-2000:]))
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "list-demo":
                    return a
            return None

        root = wait_for("the list demo on the bus", demo_app)
        table = wait_for("the table 构件列表", lambda: find(
            root, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.name == "构件列表"))
        t = table.queryTable()
        check(t.nRows == 6, "six members, got %d rows" % t.nRows)

        def ticks():
            return [t.getAccessibleAt(r, 0).getState().contains(pyatspi.STATE_CHECKED)
                    for r in range(t.nRows)]

        check(ticks() == TICKED, "the demo's ticks, got %r" % ticks())

        heard = []
        pyatspi.Registry.registerEventListener(
            lambda e: heard.append((e.source.name, e.detail1)), "object:state-changed:checked")
        if shutil.which("xdotool") is None:
            skip("xdotool is not installed: the ticks were read, ticking is left out")
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class",
                                 "list-demo"], env=env, capture_output=True, text=True)
        if not window.stdout.split():
            fail("the demo's window was not found on the display")
        subprocess.run(["xdotool", "windowfocus", "--sync", window.stdout.split()[0]], env=env)

        def press_space_and_listen():
            subprocess.run(["xdotool", "key", "space"], env=env)
            end = time.monotonic() + 1.5
            context = GLib.MainContext.default()
            while time.monotonic() < end:
                while context.iteration(False):
                    pass
                time.sleep(0.05)

        name = t.getAccessibleAt(HIGHLIGHTED, 0).name
        press_space_and_listen()
        check(ticks()[HIGHLIGHTED], "Space ticked member %s, got %r" % (name, ticks()))
        press_space_and_listen()
        check(not ticks()[HIGHLIGHTED], "Space unticked member %s again" % name)
        check(heard == [(name, 1), (name, 0)],
              "each change announced for member %s's cell, heard %r" % (name, heard))
        print("read over AT-SPI: ticks %r, changes heard %r" % (TICKED, heard))
    finally:
        for p in (app, bus, xvfb):
            if p is not None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()


def main():
    if len(sys.argv) < 2:
        fail("usage: read_list_over_atspi.py LIST_DEMO [--inner]")
    demo = sys.argv[1]
    if "--inner" in sys.argv:
        inner(demo)
        return
    for tool in ("dbus-run-session", "Xvfb"):
        if shutil.which(tool) is None:
            skip(tool + " is not installed")
    result = subprocess.run(["dbus-run-session", "--", sys.executable, __file__, demo,
                             "--inner"])
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
