#!/usr/bin/env python3
"""Every page's worked example (and then the same with the first input unreadable, and too long) typed into the
Windows calculator window under Wine gives every field's text, and every box, as vorlanex-calc gives
them for the same texts; and on every page Tab, Enter and Space do what they do in the Qt window.

The window runs under Wine on a private X display (xvfb-run); its decimal separator is the one of
Wine's regional settings, which follow LANG: cs_CZ.UTF-8 gives "," and C.UTF-8 ".". The command is
given the separator the window reports, and the window's must be the locale's.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys

SKIPPED = 77  # ctest's SKIP_RETURN_CODE
EXPECTED_SEPARATOR = {"C.UTF-8": ".", "cs_CZ.UTF-8": ","}


def wine_environment(locale, prefix):
    environment = dict(os.environ, LANG=locale, LC_ALL=locale, WINEDEBUG="-all", WINEPREFIX=prefix)
    environment.pop("DISPLAY", None)
    return environment


def usable_prefix(locale, prefix):
    """A Wine folder made by another Wine (before its 32-bit part was installed, say) may start no
    program: it is made again."""
    probe = ["wine", "cmd", "/c", "exit"]
    if subprocess.run(probe, capture_output=True, env=wine_environment(locale, prefix)).returncode == 0:
        return
    subprocess.run(["wineserver", "-k"], capture_output=True, env=wine_environment(locale, prefix))
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run(probe, capture_output=True, env=wine_environment(locale, prefix))


def unmanaged_windows(locale, prefix):
    """Wine's windows left to no window manager: on the bare X display there is none, and Wine would
    wait two seconds for one whenever a box closes."""
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                   capture_output=True, check=True, env=wine_environment(locale, prefix))


def window_runs(check, locale, prefix):
    usable_prefix(locale, prefix)
    unmanaged_windows(locale, prefix)
    completed = subprocess.run(["xvfb-run", "-a", "wine", check, "--examples"], capture_output=True,
                               env=wine_environment(locale, prefix), timeout=150)
    if completed.returncode != 0:
        sys.exit(f"the window check ended with status {completed.returncode}:\n"
                 f"{completed.stderr.decode(errors='replace')}")
    lines = [json.loads(line) for line in completed.stdout.decode().splitlines() if line.startswith("{")]
    return (lines[0]["separator"], [line for line in lines[1:] if "page" in line],
            [line for line in lines[1:] if "keys" in line])


def key_differences(keys, pages):
    """Tab visits the inputs in the layout's order, then "Výpočet"; Enter and Space on the button
    calculate, Enter in a field does not."""
    differences = []
    expected_keys = {"enter_in_field": False, "enter_on_button": True, "space_on_button": True}
    for checked in keys:
        page = checked["keys"]
        inputs = [field["id"] for field in pages[page]["fields"] if field["role"] == "input"]
        if checked["tab_order"] != inputs + ["Výpočet"]:
            differences.append(f"{page}: Tab goes {checked['tab_order']}, not {inputs + ['Výpočet']}")
        for key, expected in expected_keys.items():
            if checked[key] != expected:
                differences.append(f"{page}: {key} {'does not calculate' if expected else 'calculates'}")
    if len(keys) != len(pages):
        differences.append(f"the keys of {len(keys)} pages checked, of {len(pages)}")
    return differences


def run_batch(calc, separator, scenarios):
    batch = "".join(json.dumps(scenario, ensure_ascii=False) + "\n" for scenario in scenarios)
    completed = subprocess.run([calc, "--batch", "--separator", separator], input=batch.encode(),
                               capture_output=True)
    if completed.returncode not in (0, 1):
        sys.exit(f"vorlanex-calc --batch ended with status {completed.returncode}: {completed.stderr.decode()}")
    return [json.loads(line) for line in completed.stdout.splitlines()]


def page_list(calc, separator):
    listing = subprocess.run([calc, "--list", "--separator", separator], capture_output=True, check=True)
    return {entry["page"]: entry for entry in map(json.loads, listing.stdout.splitlines())}


# What the window types into a page's first input after its worked example, in this order, each
# run starting from the fields the run before left.
LATER_INPUTS = {"unreadable": "x", "long": "x" * 3000}
# A box's text longer than this is shown as its beginning and its end with a line "…" between.
LONGEST_SHOWN, BEGINNING_KEPT, END_KEPT = 1500, 1000, 400


def command_runs(calc, separator, pages, window):
    """The command's answers to what the window was given: each page's worked example, then every
    field as the run before left it with the page's first input as LATER_INPUTS says."""
    order = [run["page"] for run in window if run["variant"] == "example"]
    examples = run_batch(calc, separator, [{"page": page, "fields": pages[page]["worked_example"]} for page in order])
    answers = {(page, "example"): answer for page, answer in zip(order, examples)}
    previous = "example"
    for variant, text in LATER_INPUTS.items():
        scenarios = [{"page": page, "fields": dict(answers[(page, previous)]["fields"],
                                                   **{pages[page]["fields"][0]["id"]: text})} for page in order]
        answers.update({(page, variant): answer
                        for page, answer in zip(order, run_batch(calc, separator, scenarios))})
        previous = variant
    return [answers[(run["page"], run["variant"])] for run in window]


def box_as_shown(box):
    """The box as the window shows it: a long text cut in the middle."""
    (kind, text), = box.items()
    if len(text) <= LONGEST_SHOWN:
        return box
    return {kind: text[:BEGINNING_KEPT] + "\r…\r" + text[-END_KEPT:]}


def boxes_of(events):
    """The warning and error boxes among a run's events, as the window shows them."""
    return [box_as_shown({kind: event[kind]}) for event in events for kind in ("warning", "error") if kind in event]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--check", required=True, help="vorlanex-window-check.exe of the Windows build")
    parser.add_argument("--calc", required=True, help="the Linux vorlanex-calc")
    parser.add_argument("--locale", required=True, choices=sorted(EXPECTED_SEPARATOR))
    parser.add_argument("--prefix", required=True, help="the Wine prefix (made on first use)")
    arguments = parser.parse_args()
    if not os.path.exists(arguments.check):
        print(f"skipped: {arguments.check} is missing (the preset windows builds it)")
        return SKIPPED

    separator, window, keys = window_runs(arguments.check, arguments.locale, arguments.prefix)
    if separator != EXPECTED_SEPARATOR[arguments.locale]:
        sys.exit(f"the window's separator under {arguments.locale} is {separator!r}, "
                 f"not {EXPECTED_SEPARATOR[arguments.locale]!r}")
    pages = page_list(arguments.calc, separator)
    command = command_runs(arguments.calc, separator, pages, window)
    if len(window) != len(command) or not window:
        sys.exit(f"{len(window)} pages in the window, {len(command)} answers of the command")

    differences = key_differences(keys, pages)
    for shown, expected in zip(window, command):
        page = f"{shown['page']} ({shown['variant']})"
        if shown["boxes"] != boxes_of(expected["events"]):
            differences.append(f"{page}: boxes {shown['boxes']} instead of {boxes_of(expected['events'])}")
        for field, text in expected["fields"].items():
            if shown["fields"].get(field) != text:
                differences.append(f"{page}.{field}: {shown['fields'].get(field)!r} instead of {text!r}")
        for field in shown["fields"].keys() - expected["fields"].keys():
            differences.append(f"{page}.{field}: a field the command does not know")
    for difference in differences:
        print(difference)
    fields = sum(len(run["fields"]) for run in command)
    print(f"{len(window)} runs, {fields} fields compared, separator {separator!r}: {len(differences)} differ")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
