#!/usr/bin/env python3
"""Writes a reproducible mix of batch scenarios for `vorlanex-calc --batch`, one JSON line each.

    bench/make_batch_mix.py [COUNT] [SEED] > mix.jsonl      (defaults: 100000 lines, seed 13)

Each line's page is picked at random. Most lines are ordinary cases: the page's worked
example with its numbers scaled together by up to a quarter either way and each moved by up to 3 %
more (so lower bounds stay below upper ones), written with "," as a Czech expert types them; run
them with --separator=,. Three lines in ten are trouble: one input is typed wrong (not a number,
empty, beyond the double range) or given a value the page warns about or cannot calculate with
(zero, negative). Half the lines carry an "id". The same COUNT and SEED give the same bytes.
"""
import json
import random
import sys

WORKED_EXAMPLES = {
    "kinematika": {"I1": "20", "I2": "8", "I3": "0,7", "I4": "15", "I5": "20", "I6": "0,8", "I7": "0,2",
                   "I8": "1"},
    "kinematika-meze": {"J1.lo": "20", "J1.hi": "25", "J2.lo": "8", "J2.hi": "10", "J3.lo": "0,7", "J3.hi": "0,9",
                        "J4.lo": "15", "J4.hi": "20", "J5.lo": "20", "J5.hi": "22", "J6.lo": "0,8", "J6.hi": "0,9",
                        "J7.lo": "0,2", "J7.hi": "0,3", "J8.lo": "1", "J8.hi": "1,2"},
    "draha-zastaveni": {"I1": "50", "I2": "0,8", "I3": "1", "I4": "0,2", "I5": "1000"},
    "rychlost-rozhledu": {"I1": "50", "I2": "0,8", "I3": "1", "I4": "0,15"},
    "ees-katalog": {"I1": "900", "I2": "1600", "I3": "40"},
    "ees-tuhosti": {"I1": "20", "I2": "30", "I3": "1000", "I4": "1440"},
    "gev-evu": {"I1": "2700", "I2": "9000", "I3": "1000", "I4": "1000"},
    "gev-definice": {"I1": "30", "I2": "50"},
}

MISTYPED = ["abc", "12,5,3", "", "1E400", "7 m", "--3"]
AWKWARD = ["0", "-5", "-0,1", "0,0"]


def number(text):
    return float(text.replace(",", "."))


def typed(value):
    text = ("%.3f" % value).rstrip("0").rstrip(".")
    return text.replace(".", ",")


def scenario(rng, line):
    page = rng.choice(sorted(WORKED_EXAMPLES))
    scale = rng.uniform(0.8, 1.25)
    fields = {field: typed(number(text) * scale * rng.uniform(0.97, 1.03))
              for field, text in WORKED_EXAMPLES[page].items()}
    if rng.random() < 0.3:
        field = rng.choice(sorted(WORKED_EXAMPLES[page]))
        fields[field] = rng.choice(MISTYPED if rng.random() < 0.5 else AWKWARD)
    request = {"page": page, "fields": fields}
    if line % 2 == 0:
        request = {"id": "case-%06d" % line, **request}
    return json.dumps(request, ensure_ascii=False, separators=(",", ":"))


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 13
    rng = random.Random(seed)
    out = sys.stdout
    for line in range(1, count + 1):
        out.write(scenario(rng, line) + "\n")


if __name__ == "__main__":
    main()
