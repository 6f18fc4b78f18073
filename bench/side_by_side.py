#!/usr/bin/env python3
"""Times whole commands side by side: each one in turn (A B A B ...), after one warm-up each, and
prints per command the median wall, user and system seconds and the largest resident memory, then
the ratios of the medians to the first command. Needs GNU time (/usr/bin/time).

    bench/side_by_side.py [-n RUNS] [--stdin FILE] 'LABEL::COMMAND' 'LABEL::COMMAND' ...

COMMAND is split into words as a shell splits them (no shell runs it); its standard output is
thrown away and its standard input is FILE (or nothing). Runs on a shared machine vary: quote the
medians and the ratios, and say how loaded the machine was.
"""
import argparse
import os
import shlex
import statistics
import subprocess
import tempfile


def run_once(words, stdin_path):
    # GNU time measures the command (a process forked from this one would count this one's memory).
    with tempfile.NamedTemporaryFile("r") as figures, open(stdin_path or os.devnull, "rb") as stdin:
        status = subprocess.call(["/usr/bin/time", "-q", "-f", "%e %U %S %M", "-o", figures.name] + words,
                                 stdin=stdin, stdout=subprocess.DEVNULL)
        wall, user, system, rss_kib = figures.read().split()[-4:]
    return {"status": status, "wall": float(wall), "user": float(user), "sys": float(system),
            "rss_mib": int(rss_kib) / 1024}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("-n", type=int, default=11, help="counted runs of each command (default 11)")
    parser.add_argument("--stdin", help="the file every command reads as its standard input")
    parser.add_argument("commands", nargs="+", help="LABEL::COMMAND")
    arguments = parser.parse_args()
    commands = [(c.split("::", 1) if "::" in c else (c, c)) for c in arguments.commands]
    runs = {label: [] for label, _ in commands}
    for round_number in range(arguments.n + 1):
        for label, command in commands:
            result = run_once(shlex.split(command), arguments.stdin)
            if round_number > 0:  # the first round warms the caches up
                runs[label].append(result)
    medians = {label: {key: statistics.median(r[key] for r in results) for key in ("wall", "user", "sys")}
               for label, results in runs.items()}
    print("%-12s %6s %9s %9s %9s %9s" % ("command", "status", "wall s", "user s", "sys s", "RSS MiB"))
    for label, results in runs.items():
        statuses = sorted({r["status"] for r in results})
        print("%-12s %6s %9.3f %9.3f %9.3f %9.1f" % (label, ",".join(map(str, statuses)), medians[label]["wall"],
                                                      medians[label]["user"], medians[label]["sys"],
                                                      max(r["rss_mib"] for r in results)))
    first = commands[0][0]
    print("ratio of medians to %s:" % first)
    for label, _ in commands:
        print("%-12s wall %.3f  user+sys %.3f" % (label, medians[label]["wall"] / medians[first]["wall"],
                                                   (medians[label]["user"] + medians[label]["sys"]) /
                                                   (medians[first]["user"] + medians[first]["sys"])))


if __name__ == "__main__":
    main()
