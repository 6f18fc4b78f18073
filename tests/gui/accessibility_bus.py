#!/usr/bin/python3
"""A window under a real AT-SPI client, as screen readers and D-Bus inspectors see it: the
calculator window (vorlanex), or the case window (vorlanex-spis) with a case open.

Qt 6.4's accessibility bridge reads the arguments of a call by position without checking that the
call has them, so a call without them crashes the window. Both programs arm the guard of the shared
Qt layer (qtshared/accessibility_guard.h), which holds every call to an accessible object against
what the bridge declares. This test, on a fresh window on an Xvfb display with a private session
and accessibility bus:

1. asks every kind of accessible object (one of each set of interfaces) for its Introspect answer,
   and calls every method of every interface there without arguments, with too few, with each
   argument wrongly typed and with one too many: each call is refused with InvalidArgs naming the
   signature the Introspect answer declares (so a method the guard's table forgets, or declares
   otherwise, fails the test); then calls each as declared, and it reaches Qt (but for the few the
   guard refuses even so, REFUSED_AS_DECLARED, which it may refuse alike in every form); Get of
   every declared property reaches Qt and Set of a read-only one is refused;
2. calls the doors the bridge serves without declaring them (a writable property's setter called
   directly, Properties.Get of a name the bridge runs as a method that takes more arguments): each
   is refused;
3. asks every accessible object for all its properties at once (Properties.GetAll), which is refused;
4. reads as a screen reader does: every field by its name (the names `vorlanex-calc --list`
   gives), the text of every field shown (its default text), and Tab from one field to the next.

The case window is started on a copy of CASE_FILE and shows its first calculation. Before the calls,
every tab of its right-hand panel (CASE_WINDOW_TABS) is pressed as a screen reader presses it and
shown once, and the objects are read with each tab shown, so the calls reach the objects of every
tab. In step 4 the fields read are those of the calculation shown, an input field's text is the
case's text for it, and Tab goes on from its first input field; and a step 5 reads the texts of the
calculation's heading, of a warning and of a fault (each brought about by a text written into an
input, then written back) as a screen reader reads a label: its name ("Varování") and its
description, which must hold the text shown (the warning `vorlanex-calc` gives, the fault in Czech). Every
start of the case window has a fresh data folder, so a window that died leaves no recovery copy for
its successor to offer.

After every call the window must still run and answer. When it dies, the call is noted, a fresh
window is started and the test goes on, so a failing run names every call that kills the window.

Usage: accessibility_bus.py VORLANEX VORLANEX_CALC
       accessibility_bus.py VORLANEX_SPIS VORLANEX_CALC CASE_FILE
Needs Xvfb, dbus-run-session, at-spi2-core (and with it libX11 and libXtst, through which the test
presses Tab) and python3-dbus. It starts itself again inside a private session bus with a private
runtime folder, so the accessibility bus it starts is its own too.
"""
import ctypes
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

INSIDE = "--inside-private-session"
ACCESSIBLE = "org.a11y.atspi.Accessible"
COMPONENT = "org.a11y.atspi.Component"
TEXT = "org.a11y.atspi.Text"
PROPERTIES = "org.freedesktop.DBus.Properties"
INVALID_ARGS = "org.freedesktop.DBus.Error.InvalidArgs"
NO_REPLY = "org.freedesktop.DBus.Error.NoReply"
REFUSAL = "Refused before the accessibility bridge: "
MAX_OBJECTS = 5000
CALL_TIMEOUT = 5  # seconds; every answer of a living window comes at once

# How each interface of an Introspect answer is answered when a call does not match its declaration.
# The guard refuses it with InvalidArgs, naming the declared signature; libdbus answers
# org.freedesktop.DBus.Peer itself, before any filter sees the call, whatever its arguments.
ANSWERED_BY_LIBDBUS = {"org.freedesktop.DBus.Peer"}

# A value of each type, for a call as declared, and a value of another type for each.
VALUE = {"i": 0, "u": 0, "s": "", "b": False, "d": 0.0, "n": 0, "q": 0, "x": 0, "t": 0, "y": 0, "o": "/"}
WRONG_TYPE = {"i": "s", "u": "s", "s": "i", "b": "s", "d": "s", "n": "s", "q": "s", "x": "s", "t": "s", "y": "s",
              "o": "i", "v": "s"}

# Arguments of a call as declared, where the default values would act on the window: no action is
# done (there is none at -1), the text field gets its own text back at the end.
WELL_FORMED = {
    ("org.a11y.atspi.Action", "DoAction"): (-1,),
    (TEXT, "GetText"): (0, -1),
    (PROPERTIES, "Get"): (ACCESSIBLE, "Name"),
    (PROPERTIES, "Set"): ("org.a11y.atspi.Application", "Id", "current Id"),
    (PROPERTIES, "GetAll"): (ACCESSIBLE,),
}
# Calls as declared that Qt 6.4's bridge takes but never answers: they are sent without waiting for
# an answer, and an ordinary call then shows the window still answers.
QT_SENDS_NO_ANSWER = {
    (PROPERTIES, "Set"): "the bridge sets the application's Id and sends no reply",
    (TEXT, "GetBoundedRanges"): "the bridge cannot marshal its answer (QList<QSpiTextRange> is not registered)",
}
# Calls as declared that the guard refuses all the same: Qt 6.4's bridge reads a property name
# from every Properties call, and GetAll has none; it serves SetCurrentValue (declared by a Value
# object: the case window's spin box and scroll bars) as Properties.Set of CurrentValue, reading the
# value as a third argument the call does not have.
REFUSED_AS_DECLARED = {(PROPERTIES, "GetAll"): "org.freedesktop.DBus.Error.NotSupported",
                       ("org.a11y.atspi.Value", "SetCurrentValue"): "org.freedesktop.DBus.Error.NotSupported"}

# Calls the bridge serves without declaring them, each of which reads arguments the call lacks:
# (object kind, interface, member, signature, arguments).
HIDDEN_DOORS = [
    ("root", "org.a11y.atspi.Application", "SetId", "", ()),
    ("text", "org.a11y.atspi.Value", "SetCurrentValue", "d", (0.5,)),
    ("text", PROPERTIES, "Get", "ss", (TEXT, "RangeExtents")),
    ("text", PROPERTIES, "Get", "ss", (TEXT, "BoundedRanges")),
    ("text", PROPERTIES, "Get", "ss", (TEXT, "OffsetAtPoint")),
    ("text", PROPERTIES, "Get", "ss", (COMPONENT, "AccessibleAtPoint")),
    ("text", PROPERTIES, "Set", "ssv", (COMPONENT, "Extents", 0)),
    ("text", PROPERTIES, "Set", "ssv", (COMPONENT, "Position", 0)),
    ("text", "org.a11y.atspi.Accessible", "NoSuchMethod", "", ()),
]

# The tabs of the case window's right-hand panel, each with a control shown on it.
CASE_WINDOW_TABS = {"Diagram": "Diagram dráha–čas", "Tolerance": "Spustit rozbor tolerancí",
                    "Citlivost": "Spočítat průběh výsledků"}
# What the bridge answers for an object deleted since its path was read (a form being rebuilt).
GONE = {"org.freedesktop.DBus.Error.UnknownObject", "org.freedesktop.DBus.Error.UnknownMethod",
        "org.freedesktop.DBus.Error.UnknownInterface"}

# AT-SPI states (atspi-constants.h).
STATE_FOCUSABLE = 11
STATE_FOCUSED = 12
STATE_SHOWING = 25


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def outside(arguments, script=__file__, more_environment=None,
            cleared=("AT_SPI_BUS_ADDRESS", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME")):
    """Runs `script` again with INSIDE and `arguments` in a private session bus, in a fresh home."""
    for tool in ("Xvfb", "dbus-run-session"):
        if shutil.which(tool) is None:
            fail(tool + " is missing (tools/dependencies.sh lists the packages the tests need)")
    runtime = tempfile.mkdtemp(prefix="vorlanex-a11y-")
    environment = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime, **(more_environment or {}))
    for variable in cleared:
        environment.pop(variable, None)
    try:
        return subprocess.call(["dbus-run-session", "--", sys.executable, os.path.abspath(script), INSIDE]
                               + arguments, env=environment)
    finally:
        shutil.rmtree(runtime, ignore_errors=True)


def start_display():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        fail("Xvfb did not start")
    return server, ":" + number


def field_names_and_texts(calc):
    """{field name: the texts it may show} of every page: its default texts."""
    listing = subprocess.run([calc, "--list"], capture_output=True, text=True, check=True).stdout
    defaults = {}
    for line in listing.splitlines():
        for field in json.loads(line)["fields"]:
            defaults.setdefault(field["name"], set()).add(field["default"])
    return defaults


def first_calculation(calc, case):
    """(its page as `vorlanex-calc --list` gives it, its field texts, the case's separator) of the
    case's first calculation, the one the case window shows when it opens the case."""
    with open(case, encoding="utf-8") as source:
        lines = [json.loads(line) for line in source.read().splitlines() if line.strip()]
    first = lines[1]
    listing = subprocess.run([calc, "--list"], capture_output=True, text=True, check=True).stdout
    page = next(entry for entry in map(json.loads, listing.splitlines()) if entry["page"] == first["page"])
    return page, first.get("fields", {}), lines[0].get("separator", ".")


def case_field_names_and_texts(calc, case):
    """{field name: the texts it may show, or None} of the case's first calculation: an input the
    case gives a text shows that text; the others are read by name only."""
    page, given, _ = first_calculation(calc, case)
    return {field["name"]: ({given[field["id"]]} if field["role"] == "input" and field["id"] in given else None)
            for field in page["fields"]}


def messages_of_edits(calc, case):
    """[(input's name, its text in the case, a text written into it, the heading, warning or fault
    label's name, what its text holds)] for the case's first calculation: its heading; the first input
    that a text "-1" makes the calculation warn about, with the warning `vorlanex-calc` gives; the
    first input, with the text "x" and the Czech words of the fault it makes."""
    page, given, separator = first_calculation(calc, case)

    def events(field_id, text):
        fields = dict(given, **{field_id: text})
        run = subprocess.run([calc, "--separator", separator, page["page"]]
                             + ["%s=%s" % item for item in fields.items()], capture_output=True, text=True)
        return [json.loads(line) for line in run.stdout.splitlines()]
    inputs = [field for field in page["fields"] if field["role"] == "input"]
    edits = []
    for field in inputs:
        warnings = [event["warning"] for event in events(field["id"], "-1") if "warning" in event]
        if warnings:
            edits.append((field["name"], given.get(field["id"], field["default"]), "-1", "Varování",
                          warnings[0].replace("\r", " ")))
            break
    # The window says the fault in Czech, with the text that is not a number.
    edits.append((inputs[0]["name"], given.get(inputs[0]["id"], inputs[0]["default"]), "x", "Chyba výpočtu",
                  "není číslo: „x“"))
    return edits


def complete_types(signature):
    """The complete types of a D-Bus signature: "iu(so)a{ss}" gives i, u, (so), a{ss}."""
    types, start, depth = [], 0, 0
    for position, code in enumerate(signature):
        if code in "({":
            depth += 1
        elif code in ")}":
            depth -= 1
        if depth == 0 and code != "a":
            types.append(signature[start:position + 1])
            start = position + 1
    return types


def declared(introspection):
    """{interface: ({method: in-signature}, {property: (type, access)})} of an Introspect answer."""
    interfaces = {}
    for interface in ElementTree.fromstring(introspection).findall("interface"):
        methods = {method.get("name"): "".join(arg.get("type") for arg in method.findall("arg")
                                               if arg.get("direction", "in") == "in")
                   for method in interface.findall("method")}
        properties = {prop.get("name"): (prop.get("type"), prop.get("access"))
                      for prop in interface.findall("property")}
        interfaces[interface.get("name")] = (methods, properties)
    return interfaces


def badly_formed(signature):
    """Signatures of calls that do not match `signature`: too few arguments (none included), each
    argument wrongly typed, one argument too many."""
    types = complete_types(signature)
    variants = ["".join(types[:count]) for count in range(len(types))]
    for position, code in enumerate(types):
        variants.append("".join(types[:position] + [WRONG_TYPE.get(code, "i")] + types[position + 1:]))
    variants.append(signature + "i")
    return variants


def arguments_for(signature):
    import dbus
    values = []
    for code in complete_types(signature):
        values.append(dbus.Int32(0, variant_level=1) if code == "v" else VALUE[code])
    return tuple(values)


class X11Keyboard:
    """Key presses on the Xvfb display, through XTest, as a user's."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
        self.x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtest.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                    ctypes.c_ulong]
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            fail("cannot open the display " + display)

    def focus_window_at(self, x, y):
        """Gives the keyboard to the top-level window at (x, y), as a window manager would."""
        self.xtest.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XFlush(self.display)
        time.sleep(0.1)
        root, child = ctypes.c_ulong(), ctypes.c_ulong()
        numbers = [ctypes.c_int() for _ in range(4)]
        mask = ctypes.c_uint()
        self.x11.XQueryPointer(self.display, self.x11.XDefaultRootWindow(self.display), ctypes.byref(root),
                               ctypes.byref(child), *[ctypes.byref(n) for n in numbers], ctypes.byref(mask))
        if child.value:
            self.x11.XSetInputFocus(self.display, child.value, 2, 0)  # RevertToParent, CurrentTime
            self.x11.XFlush(self.display)

    def press(self, keysym):
        code = self.x11.XKeysymToKeycode(self.display, keysym)
        self.xtest.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtest.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XFlush(self.display)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def inside(vorlanex, calc, case=None):
    import dbus
    import dbus.lowlevel

    session = dbus.SessionBus()
    launcher = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    # What a screen reader does when it starts: switch accessibility on.
    dbus.Interface(launcher, PROPERTIES).Set("org.a11y.Status", "IsEnabled", True)
    a11y = dbus.bus.BusConnection(dbus.Interface(launcher, "org.a11y.Bus").GetAddress())
    server, display = start_display()
    registry = a11y.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", introspect=False)
    failures = []

    class Window:
        """The window's process and its objects on the accessibility bus, started afresh when it dies."""

        def __init__(self):
            self.process = None
            self.start()

        def start(self):
            known = {str(a[0]) for a in dbus.Interface(registry, ACCESSIBLE).GetChildren()}
            command, environment = [vorlanex], dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
            if case:
                home = os.environ["HOME"]
                command.append(os.path.join(home, "případ.vorlanex"))
                shutil.copyfile(case, command[-1])
                environment["XDG_DATA_HOME"] = tempfile.mkdtemp(prefix="data-", dir=home)
            self.process = subprocess.Popen(command, env=environment)
            applications = []
            deadline = time.monotonic() + 30
            while not applications and time.monotonic() < deadline and self.process.poll() is None:
                applications = [a for a in dbus.Interface(registry, ACCESSIBLE).GetChildren() if str(a[0]) not in known]
                time.sleep(0.1)
            if not applications:
                fail("the window never appeared on the accessibility bus")
            self.bus_name = str(applications[0][0])
            self.root = str(applications[0][1])
            self.paths, self.kinds, self.texts = [], {}, []
            if case:
                self.show_every_tab()
            else:
                self.walk()

        def walk(self):
            """Adds every accessible object not yet read, the first of each set of interfaces
            ("kinds"), and the text fields shown; gives (path, role, name, states) of every object."""
            nodes, queue, seen, known = [], [self.root], set(), set(self.paths)
            while queue and len(seen) < MAX_OBJECTS:
                path = queue.pop(0)
                if path in seen:
                    continue
                seen.add(path)
                accessible = dbus.Interface(self.object(path), ACCESSIBLE)
                try:
                    interfaces = tuple(sorted(str(i) for i in accessible.GetInterfaces()))
                    states = int(accessible.GetState()[0])
                    role = str(accessible.GetRoleName())
                    name = str(dbus.Interface(self.object(path), PROPERTIES).Get(ACCESSIBLE, "Name"))
                    children = [str(child[1]) for child in accessible.GetChildren()]
                except dbus.DBusException as error:
                    if error.get_dbus_name() not in GONE:
                        raise
                    continue  # a widget deleted while the tree was read
                nodes.append((path, role, name, states))
                queue.extend(children)
                if path in known:
                    continue
                self.paths.append(path)
                self.kinds.setdefault(interfaces, path)
                if TEXT in interfaces and states & (1 << STATE_SHOWING) and states & (1 << STATE_FOCUSABLE):
                    self.texts.append(path)
            return nodes

        def wait_for_showing(self, what, role, names):
            """Reads the objects until one of `role` shows by each of `names`; fails after 30 s."""
            deadline = time.monotonic() + 30
            while time.monotonic() < deadline and self.process.poll() is None:
                nodes = self.walk()
                shown = {name: path for path, node_role, name, states in nodes
                         if role in (None, node_role) and states & (1 << STATE_SHOWING)}
                if set(names) <= set(shown):
                    return shown
                time.sleep(0.1)
            fail("the case window never showed " + what)

        def show_every_tab(self):
            """The case window with its case open; every tab of its right-hand panel pressed and
            shown once, the objects read with each."""
            fields = case_field_names_and_texts(calc, case)
            self.wait_for_showing("the fields of its first calculation", "text", fields)
            tabs = self.wait_for_showing("the tabs of its right-hand panel", "page tab", CASE_WINDOW_TABS)
            for tab, shown_on_it in CASE_WINDOW_TABS.items():
                dbus.Interface(self.object(tabs[tab]), "org.a11y.atspi.Action").DoAction(0)
                self.wait_for_showing("the tab %s (with %r)" % (tab, shown_on_it), None, [shown_on_it])

        def object(self, path):
            return a11y.get_object(self.bus_name, path, introspect=False)

        def kind(self, name):
            if name == "root":
                return self.root
            return next(path for interfaces, path in self.kinds.items() if TEXT in interfaces)

        def call(self, path, interface, member, signature, arguments, answered=True):
            """(error name or None, error message or the reply's arguments) of one call; a window that
            dies is noted and started afresh. A call that is not `answered` is sent without waiting,
            and an ordinary call then shows that the window still answers."""
            message = dbus.lowlevel.MethodCallMessage(self.bus_name, path, interface, member)
            if signature:
                message.append(*arguments, signature=signature)
            if not answered:
                message.set_no_reply(True)
                a11y.send_message(message)
                message = dbus.lowlevel.MethodCallMessage(self.bus_name, self.root, ACCESSIBLE, "GetRole")
            try:
                answer = (None, repr(a11y.send_message_with_reply_and_block(message, CALL_TIMEOUT).get_args_list()))
            except dbus.DBusException as error:
                answer = (error.get_dbus_name(), error.get_dbus_message() or "")
            if answer[0] == NO_REPLY:  # the window left the bus: give it the time to end
                try:
                    self.process.wait(2)
                except subprocess.TimeoutExpired:
                    pass
            if self.process.poll() is not None or answer[0] == NO_REPLY:
                what = "%s.%s(%s)" % (interface, member, signature)
                if self.process.poll() is None:
                    failures.append("no answer to " + what)
                else:
                    failures.append("%s killed the window (status %d)" % (what, self.process.returncode))
                self.stop()
                self.start()
                return ("died", "")
            return answer

        def stop(self):
            if self.process.poll() is None:
                self.process.terminate()
            self.process.wait(10)

    def read_messages(window, edits):
        """5. (The case window.) Its heading, a warning and a fault read as a screen reader reads a
        label: by its name and its description, which must hold the label's text."""
        def shown(role, name):
            return [path for path, node_role, node_name, states in window.walk()
                    if node_role == role and node_name == name and states & (1 << STATE_SHOWING)]

        def description(path):
            return str(dbus.Interface(window.object(path), PROPERTIES).Get(ACCESSIBLE, "Description"))

        def wait_for_label(name, text):
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline:
                labels = shown("label", name)
                if labels and text in description(labels[0]):
                    return description(labels[0])
                time.sleep(0.05)
            labels = shown("label", name)
            failures.append("the label %r does not read %r: %s" % (name, text, "its description is %r"
                            % description(labels[0]) if labels else "it is not shown"))
            return None

        heading = shown("label", "Stránka výpočtu")
        read = {"Stránka výpočtu": description(heading[0]) if heading else ""}
        if not read["Stránka výpočtu"]:
            failures.append("the heading of the calculation has no text for a screen reader")
        for field, text_before, written, label, holds in edits:
            editable = dbus.Interface(window.object(shown("text", field)[0]), "org.a11y.atspi.EditableText")
            editable.SetTextContents(written)
            read[label] = wait_for_label(label, holds)
            editable.SetTextContents(text_before)
        print("Read as the labels' texts: %s" % "; ".join("%s: %r" % (label, text.split("\n")[0] if text else text)
                                                          for label, text in read.items()))

    window = Window()
    keyboard = None
    calls = 0
    try:
        defaults = case_field_names_and_texts(calc, case) if case else field_names_and_texts(calc)
        text_before = str(dbus.Interface(window.object(window.kind("text")), TEXT).GetText(0, -1))

        # 1. Every method of every interface of every kind of object, against its declaration.
        checked = {}
        for interfaces in list(window.kinds):
            path = window.kinds[interfaces]
            kind_name = "/".join(i.rsplit(".", 1)[1] for i in interfaces)
            introspection = str(dbus.Interface(window.object(path), "org.freedesktop.DBus.Introspectable")
                                .Introspect())
            for interface, (methods, properties) in declared(introspection).items():
                for member, signature in methods.items():
                    where = "%s.%s on %s" % (interface, member, kind_name)
                    for wrong in badly_formed(signature):
                        path = window.kinds[interfaces]
                        name, text = window.call(path, interface, member, wrong, arguments_for(wrong))
                        calls += 1
                        if name == "died" or interface in ANSWERED_BY_LIBDBUS:
                            continue
                        # A method refused even as declared may be refused so in every other form.
                        if name == REFUSED_AS_DECLARED.get((interface, member)) and text.startswith(REFUSAL):
                            continue
                        found = re.search(r'takes the arguments "([^"]*)", not "([^"]*)"', text)
                        if name != INVALID_ARGS or not text.startswith(REFUSAL) or not found:
                            failures.append('%s("%s"): %s %s, not the guard\'s InvalidArgs'
                                            % (where, wrong, name, text))
                        elif found.group(1) != signature or found.group(2) != wrong:
                            failures.append('%s("%s"): the guard declares "%s", the bridge "%s"'
                                            % (where, wrong, found.group(1), signature))
                    # As declared, it reaches Qt (which answers, or gives its own error).
                    arguments = WELL_FORMED.get((interface, member), arguments_for(signature))
                    if arguments and arguments[-1] == "current Id":
                        current = dbus.Interface(window.object(window.root), PROPERTIES).Get(
                            "org.a11y.atspi.Application", "Id")
                        arguments = arguments[:-1] + (dbus.Int32(current, variant_level=1),)
                    name, text = window.call(window.kinds[interfaces], interface, member, signature, arguments,
                                             answered=(interface, member) not in QT_SENDS_NO_ANSWER)
                    calls += 1
                    refused = name is not None and text.startswith(REFUSAL)
                    expected = REFUSED_AS_DECLARED.get((interface, member))
                    if expected and (name != expected or not refused):
                        failures.append("%s as declared: %s %s, not %s" % (where, name, text, expected))
                    elif not expected and refused:
                        failures.append("%s as declared was refused: %s" % (where, text))
                    checked.setdefault(interface, set()).add(member)
                # Get of every declared property reaches Qt; Set of a read-only one is refused.
                for prop, (prop_type, access) in properties.items():
                    where = "%s.%s on %s" % (interface, prop, kind_name)
                    name, text = window.call(window.kinds[interfaces], PROPERTIES, "Get", "ss", (interface, prop))
                    calls += 1
                    if name is not None and text.startswith(REFUSAL):
                        failures.append("Get of %s was refused: %s" % (where, text))
                    if access == "read":
                        name, text = window.call(window.kinds[interfaces], PROPERTIES, "Set", "ssv",
                                                 (interface, prop, dbus.Int32(0, variant_level=1)))
                        calls += 1
                        if name != "org.freedesktop.DBus.Error.PropertyReadOnly":
                            failures.append("Set of the read-only %s: %s %s" % (where, name, text))

        # The text field the calls above acted on gets its own text back, as a screen reader writes it.
        dbus.Interface(window.object(window.kind("text")), "org.a11y.atspi.EditableText").SetTextContents(text_before)

        # 2. The doors the bridge serves without declaring them.
        for kind, interface, member, signature, arguments in HIDDEN_DOORS:
            if signature.endswith("v"):  # Set's value, in its variant
                arguments = arguments[:-1] + (dbus.Int32(arguments[-1], variant_level=1),)
            name, text = window.call(window.kind(kind), interface, member, signature, arguments)
            calls += 1
            if name != "died" and not (name and text.startswith(REFUSAL)):
                failures.append("%s.%s(%s) %r was not refused: %s %s" % (interface, member, signature, arguments,
                                                                         name, text))

        # 3. All properties at once, on every accessible object.
        refused = 0
        for path in window.paths:
            name, text = window.call(path, PROPERTIES, "GetAll", "s", (ACCESSIBLE,))
            calls += 1
            if name == "died":
                break
            if name == "org.freedesktop.DBus.Error.NotSupported":
                refused += 1

        # 4. A screen reader's ordinary calls: names, texts, Tab.
        try:
            names = set()
            for path in window.paths:
                item = window.object(path)
                names.add(str(dbus.Interface(item, PROPERTIES).Get(ACCESSIBLE, "Name")))
            missing = sorted(set(defaults) - names)
            if missing:
                failures.append("fields not read by their names: " + ", ".join(missing))
            for path in window.texts:
                item = window.object(path)
                field_name = str(dbus.Interface(item, PROPERTIES).Get(ACCESSIBLE, "Name"))
                shown = str(dbus.Interface(item, TEXT).GetText(0, -1))
                if defaults.get(field_name) is not None and shown not in defaults[field_name]:
                    failures.append("the field %s reads %r, not its %s text %s"
                                    % (field_name, shown, "case's" if case else "default",
                                       sorted(defaults[field_name])))

            def focused():
                return [path for path in window.texts
                        if int(dbus.Interface(window.object(path), ACCESSIBLE).GetState()[0]) & (1 << STATE_FOCUSED)]

            def name_of(path):
                return str(dbus.Interface(window.object(path), PROPERTIES).Get(ACCESSIBLE, "Name"))

            # The case window: Tab from the first field of the calculation shown.
            first = next((path for path in window.texts if case and name_of(path) == next(iter(defaults))),
                         window.texts[0])
            extents = dbus.Interface(window.object(first), COMPONENT).GetExtents(dbus.UInt32(0))
            x, y, width, height = (int(v) for v in extents)
            keyboard = X11Keyboard(display)
            keyboard.focus_window_at(x + width // 2, y + height // 2)
            dbus.Interface(window.object(first), COMPONENT).GrabFocus()
            deadline = time.monotonic() + 10
            while focused() != [first] and time.monotonic() < deadline:
                time.sleep(0.05)
            if focused() != [first]:
                failures.append("GrabFocus did not give %s the focus: %s"
                                % (name_of(first), [name_of(p) for p in focused()]))
            else:
                keyboard.press(0xff09)  # XK_Tab
                deadline = time.monotonic() + 10
                now = focused()
                while not (len(now) == 1 and now != [first]) and time.monotonic() < deadline:
                    time.sleep(0.05)
                    now = focused()
                if len(now) != 1 or now == [first] or not name_of(now[0]):
                    failures.append("Tab from %s: focused %s" % (name_of(first), [name_of(p) for p in now]))
                else:
                    print("Tab: from %r to %r" % (name_of(first), name_of(now[0])))
            if case:
                read_messages(window, messages_of_edits(calc, case))
        except dbus.DBusException as error:
            failures.append("a screen reader's call failed: %s %s" % (error.get_dbus_name(), error.get_dbus_message()))

        if window.process.poll() is not None:
            failures.append("the window ended (status %d) at the end" % window.process.returncode)
        if failures:
            print("FAIL: %d faults in %d calls%s" % (len(failures), calls, " to the case window" if case else ""))
            for line in failures:
                print("  " + line)
            return 1
        print("%s%d kinds of accessible object, %d interfaces, %d methods; %d calls, every one answered or refused; "
              "GetAll refused on %d of %d objects; the window runs on, every field keeps its name and its text, Tab "
              "moves on" % ("The case window, its tabs %s shown: " % ", ".join(CASE_WINDOW_TABS) if case else "",
                            len(window.kinds), len(checked), sum(len(m) for m in checked.values()), calls, refused,
                            len(window.paths)))
        return 0
    finally:
        if keyboard:
            keyboard.close()
        window.stop()
        server.terminate()
        server.wait(10)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == INSIDE:
        sys.exit(inside(*sys.argv[2:5]))
    if len(sys.argv) not in (3, 4):
        fail("usage: accessibility_bus.py VORLANEX VORLANEX_CALC [CASE_FILE]")
    sys.exit(outside(sys.argv[1:]))
