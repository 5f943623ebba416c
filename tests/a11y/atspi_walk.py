#!/usr/bin/env python3
"""Walks the demo's accessibility tree over AT-SPI, page by page.

Usage: atspi_walk.py <pid of the demo>

On each user page (reached with Ctrl+Page Down, typed with xdotool) every
control shown must have a role a screen reader operates, a name, and be
reached by Tab; a control that takes the focus or offers a press under a
role that is not operable (a label, a picture) fails too. Exits 1 with one
line per fault.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

OPERABLE = {
    "push button", "toggle button", "check box", "radio button", "page tab", "menu item",
    "slider", "text", "entry", "password text", "list", "combo box", "spin button",
    "push button menu", "check menu item", "radio menu item",
}
# Parts of an operable control, reached through it.
PARTS = {"list item", "table cell", "scroll bar"}
PAGES = ["keys, mode A", "keys, mode B", "advanced", "lighting", "macros"]


def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def find_app(pid, timeout=30):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                pass
        pump(0.5)
    return None


def ident(acc):
    try:
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (acc.getRoleName(), acc.name, e.x, e.y, e.width, e.height)
    except Exception:
        return (acc.getRoleName(), acc.name)


def showing_nodes(root):
    out = []

    def walk(acc):
        for child in acc:
            if child is None:
                continue
            states = child.getState()
            if not (states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)):
                continue
            out.append(child)
            if child.getRoleName() not in OPERABLE:
                walk(child)

    walk(root)
    return out


def actions(acc):
    try:
        a = acc.queryAction()
        return [a.getName(i) for i in range(a.nActions)]
    except NotImplementedError:
        return []


def walk_pages(app, focused, faults, language):
    total = 0
    for n, name in enumerate(PAGES):
        page = f"{name} (language {language})"
        if n:
            key("ctrl+Next")
        elif language != "1":
            key("ctrl+Next")  # from the last page round to the first
        pump(1.0)
        window = app[0]
        nodes = showing_nodes(window)
        controls = [a for a in nodes if a.getRoleName() in OPERABLE]
        for a in nodes:
            role = a.getRoleName()
            if role in OPERABLE or role in PARTS:
                continue
            offered = [x for x in actions(a) if x.lower() in ("press", "toggle", "click", "showmenu")]
            if offered or a.getState().contains(pyatspi.STATE_FOCUSABLE):
                faults.append(f"{page}: a control ({role} '{a.name}') without an operable role")
        for a in controls:
            if not a.name.strip():
                faults.append(f"{page}: {a.getRoleName()} without a name at {ident(a)[2:]}")
            elif a.name != a.name.strip():
                faults.append(f"{page}: '{a.name}' has padding")
        # Tab round the page.
        focused.clear()
        for _ in range(len(controls) * 2 + 10):
            key("Tab")
            pump(0.08)
            if len(focused) > 2 and focused[-1] == focused[0]:
                break
        pump(0.3)
        reached = set(focused)
        for a in controls:
            if a.getRoleName() == "menu item":
                continue  # entries of a closed menu are not shown
            if not a.getState().contains(pyatspi.STATE_SENSITIVE):
                continue  # an inactive row: shown, not operable
            if ident(a) not in reached:
                faults.append(f"{page}: {a.getRoleName()} '{a.name}' not reached by Tab")
        if len(focused) < 2 or len(reached) < 2:
            faults.append(f"{page}: Tab does not move")
        total += len(controls)
        print(f"{page}: {len(controls)} controls, {len(reached)} reached by Tab")
    return total


def main():
    pid = int(sys.argv[1])
    app = find_app(pid)
    if app is None:
        print("the demo never showed on the accessibility bus")
        return 1
    focused = []

    def on_focus(event):
        if event.detail1 == 1:
            focused.append(ident(event.source))

    listener = Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")

    # The window takes the keys: the simulated mouse is read, then focus.
    pump(5)
    wid = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    if not wid:
        print("no window of the demo")
        return 1
    subprocess.run(["xdotool", "windowfocus", "--sync", wid[0]], check=False)
    pump(0.5)

    faults = []
    total = 0
    for language in ("1", "3"):
        if language == "3":
            # The language is chosen as a screen reader user does: the
            # "英文" (English) option's action.
            english = [a for a in showing_nodes(app[0])
                       if a.getRoleName() == "radio button" and a.name in ("英文", "English")]
            if not english:
                faults.append("no language option '英文' to choose language 3")
                break
            english[0].queryAction().doAction(0)
            pump(1.5)
            if not any(a.name == "Apply" for a in showing_nodes(app[0])):
                faults.append("after choosing English no control is named 'Apply'")
        total += walk_pages(app, focused, faults, language)
    if total < 60:
        faults.append(f"only {total} operable controls in the window")
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
