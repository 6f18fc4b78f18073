#!/usr/bin/python3
"""The window under a real AT-SPI client, as a screen reader sees it.

Every accessible object of the window is asked for all its properties at once
(org.freedesktop.DBus.Properties.GetAll, as screen readers built on zbus and D-Bus inspectors ask),
the root also with a Properties call that has no arguments at all; then every object is asked for
its name. The window must answer or refuse each call and stay running, and every field must still
be read by the name that `vorlanex-calc --list` gives it.

Usage: accessibility_getall.py VORLANEX VORLANEX_CALC
Needs Xvfb, dbus-run-session, at-spi2-core and python3-dbus. It starts itself again inside a private
session bus with a private runtime folder, so the accessibility bus it starts is its own too.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

INSIDE = "--inside-private-session"
ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"
MAX_OBJECTS = 5000


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def outside(arguments):
    for tool in ("Xvfb", "dbus-run-session"):
        if shutil.which(tool) is None:
            fail(tool + " is missing (tools/dependencies.sh lists the packages the tests need)")
    runtime = tempfile.mkdtemp(prefix="vorlanex-a11y-")
    environment = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime)
    environment.pop("AT_SPI_BUS_ADDRESS", None)
    try:
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, INSIDE] + arguments,
                               env=environment)
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


def expected_names(calc):
    listing = subprocess.run([calc, "--list"], capture_output=True, text=True, check=True).stdout
    return {field["name"] for line in listing.splitlines() for field in json.loads(line)["fields"]}


def inside(vorlanex, calc):
    import dbus
    import dbus.lowlevel

    session = dbus.SessionBus()
    launcher = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    # What a screen reader does when it starts: switch accessibility on.
    dbus.Interface(launcher, PROPERTIES).Set("org.a11y.Status", "IsEnabled", True)
    a11y = dbus.bus.BusConnection(dbus.Interface(launcher, "org.a11y.Bus").GetAddress())

    server, display = start_display()
    window = subprocess.Popen([vorlanex], env=dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb"))
    try:
        registry = a11y.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", introspect=False)
        applications = []
        deadline = time.monotonic() + 30
        while not applications and time.monotonic() < deadline and window.poll() is None:
            applications = [a for a in dbus.Interface(registry, ACCESSIBLE).GetChildren()]
            time.sleep(0.2)
        if not applications:
            fail("the window never appeared on the accessibility bus")
        bus_name = str(applications[0][0])

        def still_running(after):
            if window.poll() is not None:
                fail("the window ended (status %d) after %s" % (window.returncode, after))

        # A Properties call without arguments: neither the interface nor the property is there.
        bare = dbus.lowlevel.MethodCallMessage(bus_name, "/org/a11y/atspi/accessible/root", PROPERTIES, "Get")
        try:
            a11y.send_message_with_reply_and_block(bare, 10)
        except dbus.DBusException as error:
            if error.get_dbus_name() == "org.freedesktop.DBus.Error.NoReply":
                fail("no answer to a Properties call without arguments")
        still_running("a Properties call without arguments")

        names = set()
        queue = [str(applications[0][1])]
        seen = set()
        answered = refused = 0
        while queue and len(seen) < MAX_OBJECTS:
            path = queue.pop(0)
            if path in seen:
                continue
            seen.add(path)
            item = a11y.get_object(bus_name, path, introspect=False)
            try:
                dbus.Interface(item, PROPERTIES).GetAll(ACCESSIBLE, timeout=10)
                answered += 1
            except dbus.DBusException as error:
                if error.get_dbus_name() in ("org.freedesktop.DBus.Error.NoReply",
                                             "org.freedesktop.DBus.Error.ServiceUnknown"):
                    fail("GetAll on %s: %s" % (path, error.get_dbus_name()))
                refused += 1
            still_running("GetAll on " + path)
            names.add(str(dbus.Interface(item, PROPERTIES).Get(ACCESSIBLE, "Name")))
            queue.extend(str(child[1]) for child in dbus.Interface(item, ACCESSIBLE).GetChildren())

        missing = sorted(expected_names(calc) - names)
        if missing:
            fail("fields not read by their names: " + ", ".join(missing))
        print("GetAll on %d accessible objects: %d answered, %d refused; the window runs on and every field "
              "keeps its name" % (len(seen), answered, refused))
        return 0
    finally:
        window.terminate()
        window.wait(10)
        server.terminate()
        server.wait(10)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == INSIDE:
        sys.exit(inside(*sys.argv[2:4]))
    if len(sys.argv) != 3:
        fail("usage: accessibility_getall.py VORLANEX VORLANEX_CALC")
    sys.exit(outside(sys.argv[1:3]))
