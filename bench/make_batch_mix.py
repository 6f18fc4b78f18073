#!/usr/bin/env python3
"""Writes a reproducible mix of batch scenarios for `vorlanex-calc --batch`, one JSON line each.

    bench/make_batch_mix.py [COUNT] [SEED] > mix.jsonl      (defaults: 100000 lines, seed 13)

Each line's page is picked at random from the pages `vorlanex-calc --list` lists. Most lines are ordinary cases: the page's worked
example with its numbers scaled together by up to a quarter either way and each moved by up to 3 %
more (so lower bounds stay below upper ones), written with "," as a Czech expert types them; run
them with --separator=,. Three lines in ten are trouble: one input is typed wrong (not a number,
empty, beyond the double range) or given a value the page warns about or cannot calculate with
(zero, negative). Half the lines carry an "id". The same COUNT and SEED give the same bytes.
"""
import json
import os
import random
import subprocess
import sys

def worked_examples():
    """Every page's worked example, from the command's own list of the pages (the registry): the
    command is $VORLANEX_CALC, or the one built in build/default beside this script's folder."""
    here = os.path.dirname(os.path.abspath(__file__))
    command = os.environ.get("VORLANEX_CALC", os.path.join(here, "..", "build", "default", "cli", "vorlanex-calc"))
    listed = subprocess.run([command, "--separator", ",", "--list"], check=True, capture_output=True, text=True)
    pages = (json.loads(line) for line in listed.stdout.splitlines())
    return {page["page"]: page["worked_example"] for page in pages if page["worked_example"]}


MISTYPED = ["abc", "12,5,3", "", "1E400", "7 m", "--3"]
AWKWARD = ["0", "-5", "-0,1", "0,0"]


def number(text):
    return float(text.replace(",", "."))


def typed(value):
    text = ("%.3f" % value).rstrip("0").rstrip(".")
    return text.replace(".", ",")


def scenario(rng, line, examples):
    page = rng.choice(sorted(examples))
    scale = rng.uniform(0.8, 1.25)
    fields = {field: typed(number(text) * scale * rng.uniform(0.97, 1.03))
              for field, text in examples[page].items()}
    if rng.random() < 0.3:
        field = rng.choice(sorted(examples[page]))
        fields[field] = rng.choice(MISTYPED if rng.random() < 0.5 else AWKWARD)
    request = {"page": page, "fields": fields}
    if line % 2 == 0:
        request = {"id": "case-%06d" % line, **request}
    return json.dumps(request, ensure_ascii=False, separators=(",", ":"))


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 13
    rng = random.Random(seed)
    examples = worked_examples()
    out = sys.stdout
    for line in range(1, count + 1):
        out.write(scenario(rng, line, examples) + "\n")


if __name__ == "__main__":
    main()
