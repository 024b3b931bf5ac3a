#!/usr/bin/python3
"""Draws time against digits, log-log, from the benchmarks' Markdown output.

    bench/plot.py PICTURE.png OUTPUT.md ...

One panel for Multiply (n x n digits), one for Divide (1 / 7 to n places) and one for Sine(0.5)
to n places, each from the first of the outputs (those that exist) that holds its table; a line
for each contender whose cells hold a time. Needs Debian's python3-matplotlib.
"""
import os
import re
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

UNITS = {"ns": 1e-9, "µs": 1e-6, "ms": 1e-3, "s": 1.0}
CONTENDERS = ["engine (Invoke)", "engine", "numeron --batch process", "GMP",
              "python decimal process", "bc process", "MPFR (with text)"]
PANELS = [("## Multiply, Return_Type 1", "Multiply, n × n digits", r"^([\d,]+) × "),
          ("## Divide, Return_Type 1", "Divide 1 / 7 to n places", r"^1 / 7 to ([\d,]+) places"),
          ("## Sine(0.5) against places", "Sine(0.5) to n places", r"^([\d,]+) places")]


def seconds(cell):
    m = re.match(r"^([\d.]+) (ns|µs|ms|s)\b", cell.strip())
    return float(m.group(1)) * UNITS[m.group(2)] if m else None


def table(lines, heading):
    """The header and rows of the first table after the heading (none without the heading)."""
    start = next((i for i, line in enumerate(lines) if line.startswith(heading)), None)
    if start is None:
        return [], []
    rows = [line for line in lines[start:] if line.startswith("|")]
    cells = [[c.strip() for c in r.strip("|").split("|")] for r in rows]
    header, body = cells[0], []
    for row in cells[2:]:
        if len(row) != len(header):
            break
        body.append(row)
    return header, body


def main(picture, *sources):
    outputs = [open(s, encoding="utf-8").read().splitlines() for s in sources if os.path.exists(s)]
    figure, axes = plt.subplots(1, len(PANELS), figsize=(15, 4.5))
    for axis, (heading, title, label_pattern) in zip(axes, PANELS):
        header, body = next((t for t in (table(lines, heading) for lines in outputs) if t[0]),
                            ([], []))
        for contender in CONTENDERS:
            if contender not in header:
                continue
            column = header.index(contender)
            points = []
            for row in body:
                m = re.match(label_pattern, row[0])
                t = seconds(row[column])
                if m and t:
                    points.append((int(m.group(1).replace(",", "")), t))
            if points:
                axis.loglog(*zip(*sorted(points)), marker="o", label=contender)
        axis.set_title(title)
        axis.set_xlabel("digits")
        axis.set_ylabel("CPU seconds (median)")
        axis.grid(True, which="both", alpha=0.3)
        axis.legend(fontsize=8)
    figure.tight_layout()
    figure.savefig(picture, dpi=110)


if __name__ == "__main__":
    main(*sys.argv[1:])
