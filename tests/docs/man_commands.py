#!/usr/bin/env python3
"""Prints the commands the manual pages (docs/man/*.in) give, for readme_commands.sh to run.

A command in a manual page is either
  - a line of an example (between .nf and .fi): "$ COMMAND", whose lines shown after it are lines
    of what it prints (a line ending in "..." the start of one), or a line that begins with one of
    the programs ("vorlanex-calc ...", "vorlanex-protocol ..."); a line ending in "\\e" goes on in
    the next;
  - a command in the running text: a line .B, .BI or .IB whose text begins with a program and an
    option ("vorlanex-calc --verify"), with the lines .B, .I, .BI and .IB right after it.
Italic words are the reader's to fill in; each is given a fixture (PLACEHOLDERS), and an italic
word this script does not know is refused, so a new one is never run unseen. SYNOPSIS is grammar,
not commands, and is left out.

Each command must exit with 0, or with a status the paragraph it stands in states ("exit status 1",
"exits with status 1").

Output: for each command four fields, each ended by a NUL byte: where (file:line), the exit
statuses allowed (separated by spaces), the command, and the lines it must print (one a line).
Usage: man_commands.py SOURCE_DIR
"""
import glob
import os
import re
import sys

PROGRAMS = ("vorlanex-calc", "vorlanex-protocol", "vorlanex-spis", "vorlanex-thumbnailer", "vorlanex")

# What the reader fills in, as the scratch folder of readme_commands.sh has it.
PLACEHOLDERS = {
    "FILE": "zaznamenany.vorlanex",  # the reconstruction with its outcomes recorded
    "N": "100",
    "PAGE": "kinematika",
    "FIELD": "I1",
    "FROM": "10",
    "TO": "20",
    "STEPS": "4",
    "SEED": "1",
    "SAMPLES": "100",
}

FONT_MACROS = {".B": "B", ".I": "I", ".BI": "BI", ".IB": "IB"}
PARAGRAPH_MACROS = (".PP", ".TP", ".SH", ".SS", ".LP", ".P", ".IP", ".RS", ".RE", ".nf", ".fi")
STATUS = re.compile(r"[Ee]xit(?:s with)? status(?:es)? (\d+(?:(?:, | or | and )\d+)*)")


class Refused(Exception):
    pass


def unescape(text):
    """The text troff shows for the escapes a command holds."""
    text = text.replace("\\-", "-").replace("\\&", "").replace("\\(aq", "'").replace("\\~", " ")
    return text.replace("\\e", "\\")


def arguments(line):
    """The arguments of a macro line, troff's quotes taken off."""
    found, current, quoted, started = [], "", False, False
    i = 0
    while i < len(line):
        c = line[i]
        if quoted:
            if c == '"' and line[i + 1 : i + 2] == '"':
                current += '"'
                i += 1
            elif c == '"':
                quoted = False
            else:
                current += c
        elif c == '"':
            quoted, started = True, True
        elif c in " \t":
            if started:
                found.append(current)
            current, started = "", False
        else:
            current += c
            started = True
        i += 1
    if started:
        found.append(current)
    return found


def filled(text, italic, where):
    """The words of `text` with an italic one replaced by its fixture (kept, without `where`)."""
    if not italic or where is None:
        return unescape(text)
    words = re.split(r"(\s+)", unescape(text))
    out = []
    for word in words:
        if word.strip() and word not in PLACEHOLDERS:
            raise Refused("%s: no fixture for the placeholder '%s'" % (where, word))
        out.append(PLACEHOLDERS.get(word, word))
    return "".join(out)


def font_text(macro, line, where):
    """The text a font macro line shows, its italic words filled in (kept, without `where`)."""
    fonts = FONT_MACROS[macro]
    args = arguments(line[len(macro) :])
    if len(fonts) == 1:
        return filled(" ".join(args), fonts == "I", where)
    return "".join(filled(arg, fonts[i % 2] == "I", where) for i, arg in enumerate(args))


def starts_command(text):
    return any(text.startswith(program + " ") for program in PROGRAMS)


def statuses(paragraph):
    allowed = {"0"}
    for match in STATUS.finditer(unescape(" ".join(paragraph))):
        allowed.update(re.findall(r"\d+", match.group(1)))
    return " ".join(sorted(allowed, key=int))


def commands_of(path, name):
    """(where, command, expected lines, the paragraph's lines) of one manual page."""
    with open(path, encoding="utf-8") as page:
        lines = page.read().split("\n")
    found = []
    section = ""
    paragraph = []  # the running paragraph's lines, for what it states of exit statuses
    open_commands = []  # the commands found in the running paragraph: their statuses come at its end
    in_example = False
    pending = None  # a "$ command" of an example whose output lines are being gathered
    i = 0

    def close_paragraph():
        for command in open_commands:
            command[3] = statuses(paragraph)
        open_commands.clear()
        paragraph.clear()

    while i < len(lines):
        line = lines[i]
        where = "%s:%d" % (name, i + 1)
        macro = line.split(" ", 1)[0] if line.startswith(".") else ""
        if macro == ".SH":
            close_paragraph()
            section = unescape(line[3:].strip().strip('"'))
        if in_example:
            if macro == ".fi":
                in_example, pending = False, None
                close_paragraph()
            else:
                while line.endswith("\\e") and i + 1 < len(lines):
                    i += 1
                    line = line[:-2] + " " + lines[i].strip()
                text = unescape(line).strip()
                if text.startswith("$ "):
                    pending = [where, text[2:], [], ""]
                    found.append(pending)
                    open_commands.append(pending)
                elif starts_command(text):
                    pending = None
                    command = [where, text, [], ""]
                    found.append(command)
                    open_commands.append(command)
                elif pending is not None and text:
                    pending[2].append(text)
            i += 1
            continue
        if macro == ".nf":
            close_paragraph()
            in_example = section != "SYNOPSIS"
            i += 1
            continue
        if macro in PARAGRAPH_MACROS:
            close_paragraph()
        if macro in FONT_MACROS and section != "SYNOPSIS":
            shown = font_text(macro, line, None)
            if starts_command(shown) and shown.split(" ")[1].startswith("-"):
                parts = [font_text(macro, line, where)]
                while i + 1 < len(lines) and lines[i + 1].split(" ", 1)[0] in FONT_MACROS:
                    i += 1
                    follow = lines[i].split(" ", 1)[0]
                    parts.append(font_text(follow, lines[i], "%s:%d" % (name, i + 1)))
                command = [where, " ".join(part.strip() for part in parts), [], ""]
                found.append(command)
                open_commands.append(command)
        if not line.startswith(".\\\""):
            paragraph.append(line)
        i += 1
    close_paragraph()
    return found


def main():
    source = sys.argv[1]
    out = sys.stdout.buffer
    failed = False
    for path in sorted(glob.glob(os.path.join(source, "docs", "man", "*.in"))):
        name = os.path.relpath(path, source)
        try:
            commands = commands_of(path, name)
        except Refused as refused:
            print("FAIL %s" % refused, file=sys.stderr)
            failed = True
            continue
        for where, command, expected, allowed in commands:
            for field in (where, allowed, command, "\n".join(expected)):
                out.write(field.encode("utf-8") + b"\0")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
