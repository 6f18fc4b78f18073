#!/usr/bin/env python3
"""Writes a case of N calculations for the case window's benchmarks: the calculations of
tests/cases/every-page.vorlanex (every page's worked example, the reconstruction with its tolerance)
repeated in turn, each with its own id and a numbered title.

    bench/make_big_case.py 1000 > /tmp/big.vorlanex
"""
import json
import os
import sys

EVERY_PAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cases", "every-page.vorlanex")


def main():
    if len(sys.argv) != 2 or not sys.argv[1].isdigit():
        sys.exit("usage: make_big_case.py N > FILE.vorlanex")
    count = int(sys.argv[1])
    with open(EVERY_PAGE, encoding="utf-8") as source:
        header, *calculations = [json.loads(line) for line in source if line.strip()]
    header["case"]["title"] = "%d výpočtů: vzorové příklady všech stránek dokola" % count
    lines = [json.dumps(header, ensure_ascii=False, separators=(",", ":"))]
    for number in range(count):
        calculation = dict(calculations[number % len(calculations)])
        calculation["id"] = "%s-%d" % (calculation["id"], number + 1)
        calculation["title"] = "%d. %s" % (number + 1, calculation["title"])
        lines.append(json.dumps(calculation, ensure_ascii=False, separators=(",", ":")))
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
