#!/usr/bin/env python3
"""Writes COUNT scenarios for vorlanex-calc --batch, drawn with a fixed seed: every page, its worked
example with some inputs replaced by numbers of every size and sign, empty texts, words, texts of
the other separator and overflowing exponents, so that the runs reach warnings and faults as well
as results. Usage: generate_scenarios.py PAGES.jsonl COUNT SEED > scenarios.jsonl
(PAGES.jsonl: what vorlanex-calc --separator . --list prints)."""
import json
import random
import sys


def number(draw):
    digits = "".join(draw.choice("0123456789") for _ in range(draw.randint(1, 9)))
    point = draw.randint(0, len(digits))
    text = digits[:point] + ("." + digits[point:] if point < len(digits) else "")
    if draw.random() < 0.2:
        text = "-" + text
    if draw.random() < 0.1:
        text += "E" + str(draw.randint(-30, 30))
    return text


def replacement(draw, example):
    kind = draw.random()
    if kind < 0.55:
        return number(draw)
    if kind < 0.65:
        return ""
    if kind < 0.72:
        return "0"
    if kind < 0.80 and example:
        return "-" + example if not example.startswith("-") else example[1:]
    if kind < 0.86:
        return example.replace(".", ",")
    if kind < 0.90:
        return draw.choice(["x", " 1", "1 ", "1..2", "+", "e5", "NaN", "inf", "0x10"])
    if kind < 0.95:
        return draw.choice(["1E4000", "-1E4000", "1E-4000", "9" * 40, "0.000000000000000000001"])
    return str(draw.uniform(0, 1000))


def main():
    pages_file, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(pages_file, encoding="utf-8") as lines:
        pages = [json.loads(line) for line in lines]
    draw = random.Random(seed)
    out = sys.stdout
    for line in range(count):
        page = draw.choice(pages)
        inputs = [field["id"] for field in page["fields"] if field["role"] == "input"]
        fields = dict(page["worked_example"])
        for field in inputs:
            if draw.random() < 0.3:
                fields[field] = replacement(draw, fields.get(field, ""))
        out.write(json.dumps({"page": page["page"], "fields": fields, "id": line}, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
