#!/usr/bin/env python3
"""Sums a Ninja build's steps by phase from its .ninja_log.

    scripts/build-times.py BUILD_DIR

Prints, for each phase (precompiled headers, code generation, library
compiles, program compiles, test compiles, benchmark compiles, links), the
number of steps, the processor time they took and the wall-clock span from the
first step's start to the last one's end.
"""

import sys
from pathlib import Path


def phase(output: str) -> str:
    if "cmake_pch" in output:
        return "precompiled headers"
    if "_autogen" in output and not output.endswith(".o"):
        return "code generation (moc, rcc)"
    if output.endswith(".o"):
        top = output.split("/", 1)[0]
        return {
            "src": "library compiles",
            "siblings": "library compiles",
            "host": "program compiles",
            "tests": "test compiles",
            "bench": "benchmark compiles",
            "fuzz": "fuzz target compiles",
        }.get(top, "other compiles")
    if output.endswith(".a"):
        return "static archives"
    if output.endswith(".so") or "/" not in output or Path(output).suffix == "":
        return "links"
    return "other"


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    log = Path(sys.argv[1]) / ".ninja_log"
    outputs = {}
    for line in log.read_text().splitlines():
        if line.startswith("#"):
            continue
        start, end, _mtime, output, command = line.split("\t")
        # A step rebuilt later replaces its earlier entry.
        outputs[output] = (int(start), int(end), command)
    # A step with several outputs has a line for each: counted once.
    steps = {}
    for output, (start, end, command) in sorted(outputs.items()):
        steps.setdefault((start, end, command), (output, start, end))
    steps = {output: (start, end) for output, start, end in steps.values()}
    phases = {}
    for output, (start, end) in steps.items():
        entry = phases.setdefault(phase(output), [0, 0, start, end])
        entry[0] += 1
        entry[1] += end - start
        entry[2] = min(entry[2], start)
        entry[3] = max(entry[3], end)
    print(f"{'phase':30} {'steps':>6} {'cpu s':>8} {'span s':>8}")
    for name, (count, busy, first, last) in sorted(phases.items(), key=lambda p: -p[1][1]):
        print(f"{name:30} {count:6} {busy / 1000:8.1f} {(last - first) / 1000:8.1f}")
    total = sum(p[1] for p in phases.values())
    wall = max(p[3] for p in phases.values()) - min(p[2] for p in phases.values())
    print(f"{'all steps':30} {len(steps):6} {total / 1000:8.1f} {wall / 1000:8.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
