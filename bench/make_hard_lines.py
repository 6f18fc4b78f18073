#!/usr/bin/env python3
"""Writes batch input that is hard on the batch's reader or its memory, for the benchmarks.

    bench/make_hard_lines.py many-keys > /tmp/many-keys.jsonl   one line of 900,033 bytes whose
                                                                "fields" name 100,000 fields
    bench/make_hard_lines.py long N > /tmp/long.jsonl           N lines of exactly 1 MiB each, a
                                                                scenario with a 1 MiB text
"""
import itertools
import string
import sys


def many_keys():
    letters = string.ascii_letters + string.digits
    names = ("".join(name) for name in itertools.islice(itertools.product(letters, repeat=3), 100000))
    return '{"page":"kinematika","fields":{' + ",".join('"%s":""' % name for name in names) + "}}\n"


def long_line():
    head, tail = '{"page":"kinematika","fields":{"I2":"', '"}}'
    return head + "7" * ((1 << 20) - len(head) - len(tail)) + tail + "\n"


def main():
    if sys.argv[1:] == ["many-keys"]:
        sys.stdout.write(many_keys())
    elif len(sys.argv) == 3 and sys.argv[1] == "long":
        line = long_line()
        for _ in range(int(sys.argv[2])):
            sys.stdout.write(line)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
