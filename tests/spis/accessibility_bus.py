#!/usr/bin/python3
"""The case window (vorlanex-spis) under a real AT-SPI client, as a screen reader sees it, and its
recovery copy after a real crash.

On an Xvfb display with a private session bus and accessibility bus (as tests/gui/accessibility_bus.py
runs the calculator window), with a fresh HOME:

1. Names. The window opens a copy of the case; the test selects each calculation in turn as a user
   does (the list given the focus, Home and Down pressed on the keyboard) and reads the whole tree
   of accessible objects each time: every control (menus and their items, the list, the buttons
   beside it, every text field, the tabs, the tolerance controls; not scroll bars, grips and
   separators, which Qt names by their role alone, nor list items and table cells, which are
   content) has a non-empty Czech name, and no two controls of one panel (the list's side, the
   selected calculation, the tabs, the menu bar, each menu, a dialog) share one. Every input and
   result field of each calculation's page is there by the name `vorlanex-calc --list` gives it.
2. Crash recovery. The speed "Výběhová rychlost" of the braking reconstruction is written through
   the field's EditableText interface, as a screen reader or a voice control writes it, and the
   result that follows from it changes. Once the recovery copy holds the new text (the window
   writes it a few seconds after a change), the process is killed with SIGKILL and started again on
   the same file: it offers the copy in a dialog whose button "Ano" the test presses through the
   button's Action interface, and the field reads the edited text again, the result with it.

Usage: accessibility_bus.py VORLANEX_SPIS VORLANEX_CALC CASE_FILE
Needs Xvfb, dbus-run-session, at-spi2-core, libX11 and libXtst (the key presses) and python3-dbus.
"""
import glob
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gui"))
import accessibility_bus as calculator_test  # noqa: E402  (its display, constants and keyboard)

INSIDE = "--inside-private-session"
ACCESSIBLE = calculator_test.ACCESSIBLE
PROPERTIES = calculator_test.PROPERTIES
TEXT = calculator_test.TEXT
COMPONENT = calculator_test.COMPONENT
ACTION = "org.a11y.atspi.Action"
EDITABLE_TEXT = "org.a11y.atspi.EditableText"
STATE_SHOWING = calculator_test.STATE_SHOWING
XK_HOME, XK_DOWN = 0xFF50, 0xFF54

# The roles of the controls a user acts on.
CONTROL_ROLES = {"push button", "button menu", "toggle button", "check box", "radio button", "combo box", "spin box", "spin button",
                 "text", "entry", "password text", "list", "table", "tree", "tree table", "page tab", "menu bar",
                 "popup menu", "menu", "menu item", "check menu item", "radio menu item", "slider", "progress bar"}
# The roles whose objects each make a panel of their own, besides the panes of the window's splitter.
DIALOG_ROLES = {"dialog", "alert", "alert message"}
PANEL_ROLES = {"menu bar", "popup menu", "menu", "status bar"} | DIALOG_ROLES
# What must be there by name, whichever calculation is selected.
ALWAYS = ["Soubor", "Výpočet", "Nápověda", "Nový", "Otevřít…", "Uložit", "Uložit jako…", "Konec", "Přidat",
          "Duplikovat", "Odstranit", "Nahoru", "Dolů", "O programu", "Výpočty případu", "Přidat výpočet",
          "Duplikovat výpočet", "Odstranit výpočet", "Název výpočtu", "Poznámka k výpočtu", "Diagram", "Tolerance",
          "Počet vzorků", "Spustit rozbor tolerancí", "Zrušit rozbor tolerancí", "Průběh rozboru",
          "Percentily výsledků", "Výsledek v histogramu"]
# Qt's own English words, which a name left untranslated would show.
ENGLISH = {"ok", "cancel", "yes", "no", "open", "save", "close", "apply", "help", "file", "edit", "view", "page",
           "line", "scroll", "up", "down", "left", "right", "here", "press", "menu", "button", "tab", "new", "quit",
           "exit", "about", "untitled", "settings", "options", "more", "next", "previous", "back", "top", "bottom"}
# What the bridge answers for an object deleted since its path was read.
GONE = calculator_test.GONE
SPEED = "Výběhová rychlost [km/h]"  # the input written in step 2 ...
SPEED_AFTER = "Rychlost po střetu [km/h]"  # ... and a result that follows from it
EDITED = "25"


fail = calculator_test.fail


def outside(arguments):
    return calculator_test.outside(arguments, __file__, {"LANG": "cs_CZ.UTF-8", "LC_ALL": "C.UTF-8"},
                                   ("AT_SPI_BUS_ADDRESS", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"))


def page_fields(calc):
    """{page key: [field names]} as vorlanex-calc --list gives them."""
    listing = subprocess.run([calc, "--list"], capture_output=True, text=True, check=True).stdout
    return {entry["page"]: [field["name"] for field in entry["fields"]]
            for entry in map(json.loads, listing.splitlines())}


class Stop(Exception):
    """A step that cannot go on: the test ends there, with the faults found so far."""


def wait_for(what, check, timeout=20):
    import dbus
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            answer = check()
        except dbus.DBusException as error:  # an object that went while it was read: read again
            if error.get_dbus_name() not in GONE:
                raise
            answer = None
        if answer:
            return answer
        time.sleep(0.05)
    raise Stop("waited %d s in vain for %s" % (timeout, what))


def english_words(name):
    return sorted({word for word in re.findall(r"[A-Za-z]+", name) if word.lower() in ENGLISH})


def inside(spis, calc, case):
    import dbus

    session = dbus.SessionBus()
    launcher = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    dbus.Interface(launcher, PROPERTIES).Set("org.a11y.Status", "IsEnabled", True)  # as a screen reader does
    a11y = dbus.bus.BusConnection(dbus.Interface(launcher, "org.a11y.Bus").GetAddress())
    server, display = calculator_test.start_display()
    registry = a11y.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", introspect=False)
    failures = []
    faults_of_names = {}  # fault: the pages selected when it showed
    home = os.environ["HOME"]
    copy = os.path.join(home, "případ.vorlanex")
    shutil.copyfile(case, copy)
    with open(case, encoding="utf-8") as source:
        pages = [json.loads(line)["page"] for line in source.read().splitlines()[1:] if line.strip()]
    fields = page_fields(calc)

    class Window:
        def __init__(self):
            known = {str(a[0]) for a in dbus.Interface(registry, ACCESSIBLE).GetChildren()}
            self.process = subprocess.Popen([spis, copy], env=dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb"))

            def appeared():
                if self.process.poll() is not None:
                    raise Stop("vorlanex-spis ended at its start (status %d)" % self.process.returncode)
                return [a for a in dbus.Interface(registry, ACCESSIBLE).GetChildren() if str(a[0]) not in known]
            application = wait_for("the window on the accessibility bus", appeared, 30)[0]
            self.bus_name, self.root = str(application[0]), str(application[1])

        def object(self, path):
            return a11y.get_object(self.bus_name, path, introspect=False)

        def name(self, path):
            return str(dbus.Interface(self.object(path), PROPERTIES).Get(ACCESSIBLE, "Name"))

        def text(self, path):
            return str(dbus.Interface(self.object(path), TEXT).GetText(0, -1))

        def nodes(self):
            """(path, role, name, showing, panel) of every object, the panel being the path of the
            nearest object that makes one."""
            found, queue = [], [(self.root, None, None)]
            while queue:
                path, parent_role, panel = queue.pop(0)
                accessible = dbus.Interface(self.object(path), ACCESSIBLE)
                try:
                    role = str(accessible.GetRoleName())
                    showing = bool(int(accessible.GetState()[0]) & (1 << STATE_SHOWING))
                    name = self.name(path)
                    children = [str(child[1]) for child in accessible.GetChildren()]
                except dbus.DBusException as error:
                    if error.get_dbus_name() not in GONE:
                        raise
                    continue  # a widget deleted while the tree was read (a form being rebuilt)
                if role in PANEL_ROLES or parent_role in ("split pane", "splitter"):
                    panel = path  # a menu is in its own panel, not beside the item that opens it
                found.append((path, role, name, showing, panel, parent_role))
                queue.extend((child, role, panel) for child in children)
            return found

        def find(self, role, name, showing=True):
            for path, node_role, node_name, node_showing, _, _ in self.nodes():
                if node_role == role and node_name == name and (node_showing or not showing):
                    return path
            return None

        def press(self, path):
            """The object's first action ("Press" of a button), as a screen reader presses it."""
            dbus.Interface(self.object(path), ACTION).DoAction(0)

        def kill(self):
            self.process.send_signal(signal.SIGKILL)
            self.process.wait(10)

        def stop(self):
            if self.process.poll() is None:
                self.process.terminate()
                try:
                    self.process.wait(10)
                except subprocess.TimeoutExpired:
                    self.kill()

    def note(fault, page):
        """A fault of the names, once however many pages show it."""
        if fault not in faults_of_names:
            faults_of_names[fault] = []
            failures.append(fault)
        if page not in faults_of_names[fault]:
            faults_of_names[fault].append(page)

    def check_names(window, page):
        """Every control named, in Czech, once in its panel; every field of `page` there by name."""
        nodes = window.nodes()
        roles = {path: role for path, role, *_ in nodes}
        names = {path: name for path, _, name, *_ in nodes}
        seen = {}
        for path, role, name, showing, panel, parent_role in nodes:
            if role not in CONTROL_ROLES or (role == "list" and parent_role == "combo box"):
                continue
            where = "%s in %s" % (role, ("%s %r" % (roles[panel], names[panel])) if panel else "the window")
            if not name.strip():
                note("%s: a %s without a name" % (where, role), page)
                continue
            if english_words(name):
                note("%s: %r is not Czech (%s)" % (where, name, ", ".join(english_words(name))), page)
            if (panel, name) in seen and seen[(panel, name)] != path:
                note("%s: two controls named %r" % (where, name), page)
            seen[(panel, name)] = path
        shown = {name for _, role, name, *_ in nodes if role in CONTROL_ROLES}
        for name in ALWAYS + fields[page]:
            if name not in shown:
                note("no control named %r" % name, page)
        return len([1 for _, role, *_ in nodes if role in CONTROL_ROLES])

    def steps(window, keyboard, summary):
        # 1. Each calculation in turn, selected from the keyboard.
        # The window's title names the case by its title.
        wait_for("the case open in the window", lambda: any(
            role == "frame" and "Střet vozidla s chodcem" in name for _, role, name, *_ in window.nodes()))
        case_list = wait_for("the list of calculations", lambda: window.find("list", "Výpočty případu"))
        x, y, width, height = (int(v) for v in dbus.Interface(window.object(case_list), COMPONENT)
                               .GetExtents(dbus.UInt32(0)))
        keyboard.focus_window_at(x + width // 2, y + height // 2)
        dbus.Interface(window.object(case_list), COMPONENT).GrabFocus()
        summary["controls"] = 0
        for row, page in enumerate(pages):
            keyboard.press(XK_HOME)
            for _ in range(row):
                keyboard.press(XK_DOWN)
            expected = set(fields[page])
            wait_for("the fields of %s (row %d)" % (page, row + 1), lambda: expected <= {
                name for _, role, name, showing, *_ in window.nodes() if role == "text" and showing})
            summary["controls"] += check_names(window, page)
        window.press(wait_for("the tab Tolerance", lambda: window.find("page tab", "Tolerance")))
        wait_for("the tab Tolerance shown", lambda: window.find("push button", "Spustit rozbor tolerancí"))
        summary["controls"] += check_names(window, pages[-1])

        # 2. An edit written through EditableText, a kill, the recovery offered and taken.
        keyboard.press(XK_HOME)
        speed = wait_for("the field " + SPEED, lambda: window.find("text", SPEED))
        result = window.find("text", SPEED_AFTER)
        result_before = window.text(result)
        dbus.Interface(window.object(speed), EDITABLE_TEXT).SetTextContents(EDITED)
        edited_at = time.monotonic()
        summary["result"] = wait_for("%s to follow the edit of %s" % (SPEED_AFTER, SPEED),
                                     lambda: window.text(result) != result_before and window.text(result))
        pattern = os.path.join(home, ".local", "share", "Vorlanex", "Vorlanex Spis", "obnova", "*.vorlanex")

        def copy_written():
            for path in glob.glob(pattern):
                with open(path, encoding="utf-8") as written:
                    if '"I1":"%s"' % EDITED in written.read():
                        return path
            return None
        wait_for("the recovery copy with the edit", copy_written, 20)
        summary["waited"] = time.monotonic() - edited_at
        window.kill()
        window = windows[0] = Window()
        answer = wait_for("the offer of the recovery copy", lambda: window.find("push button", "Ano"))
        nodes = window.nodes()
        dialogs = {path for path, role, *_ in nodes if role in DIALOG_ROLES}
        summary["buttons"] = sorted(name for _, role, name, _, panel, _ in nodes
                                    if role == "push button" and panel in dialogs)
        if summary["buttons"] != ["Ano", "Ne"]:
            failures.append("the offer's buttons are %s, not Ano and Ne" % summary["buttons"])
        window.press(answer)
        speed = wait_for("the field %s after the recovery" % SPEED, lambda: window.find("text", SPEED))
        wait_for("the edited text back", lambda: window.text(speed) == EDITED)
        result = window.find("text", SPEED_AFTER)
        if window.text(result) != summary["result"]:
            failures.append("after the recovery %s reads %r, not %r" % (SPEED_AFTER, window.text(result),
                                                                       summary["result"]))

    windows = [Window()]
    keyboard = calculator_test.X11Keyboard(display)
    summary = {}
    try:
        try:
            steps(windows[0], keyboard, summary)
        except Stop as stop:
            failures.append(str(stop))
        if failures:
            print("FAIL: %d faults" % len(failures))
            for line in failures:
                print("  " + line + (" (with %s selected)" % ", ".join(faults_of_names[line])
                                     if line in faults_of_names else ""))
            return 1
        print("%d pages and the Tolerance tab: %d controls read, each named in Czech once in its panel, every field "
              "by its name; an edit through EditableText reached the recovery copy in %.1f s, the window was killed, "
              "its successor offered the copy (buttons %s, pressed Ano), and %s reads %r again (%s %r)"
              % (len(pages), summary["controls"], summary["waited"], ", ".join(summary["buttons"]), SPEED, EDITED,
                 SPEED_AFTER, summary["result"]))
        return 0
    finally:
        keyboard.close()
        windows[0].stop()
        server.terminate()
        server.wait(10)

if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == INSIDE:
        sys.exit(inside(*sys.argv[2:5]))
    if len(sys.argv) != 4:
        fail("usage: accessibility_bus.py VORLANEX_SPIS VORLANEX_CALC CASE_FILE")
    sys.exit(outside(sys.argv[1:4]))
