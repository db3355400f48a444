"""What every process benchmark shares: timing one child process (wall time, processor time of
all its threads, peak resident memory) and the table it prints, one line per figure with min and
median of ours, of the reference and of their ratio."""

import os
import statistics
import subprocess
import sys
import tempfile
import time


def summary(values, digits=0):
    return f"{min(values):10.{digits}f}{statistics.median(values):10.{digits}f}"


class Table:
    def __init__(self, ours="ours", reference="reference"):
        print(f"{'':44}{ours:>20}{reference:>20}{'ratio':>20}")
        print(f"{'':44}" + f"{'min':>10}{'median':>10}" * 3)

    def case(self, label, ours, reference, goal):
        """ours and reference: one (wall ms, processor ms, peak MiB) triple per run, in pairs."""
        print(f"{label}   (goal: {goal})")
        for index, (figure, unit) in enumerate((("wall", "ms"), ("processor", "ms"),
                                                ("peak resident", "MiB"))):
            a = [run[index] for run in ours]
            b = [run[index] for run in reference]
            ratios = [x / y for x, y in zip(a, b)]
            print(f"  {figure + ' (' + unit + ')':<42}{summary(a)}{summary(b)}{summary(ratios, 2)}")
        sys.stdout.flush()


def run(command, stdin_text=None, stdout=subprocess.DEVNULL, ok=(0,)):
    """Wall ms, processor ms and peak resident MiB of one child process. The peak comes from
    /usr/bin/time, whose child starts as a copy of it, not of this large process."""
    peak_file = tempfile.NamedTemporaryFile(prefix="peak-", delete=False)
    peak_file.close()
    command = ["/usr/bin/time", "-q", "-f", "%M", "-o", peak_file.name] + command
    start = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.PIPE if stdin_text else subprocess.DEVNULL,
                               stdout=stdout, stderr=subprocess.PIPE)
    if stdin_text:
        process.stdin.write(stdin_text.encode())
        process.stdin.close()
    _, status, usage = os.wait4(process.pid, 0)
    wall = (time.monotonic() - start) * 1000
    error = process.stderr.read().decode(errors="replace")
    code = os.waitstatus_to_exitcode(status)
    with open(peak_file.name) as peak:
        peak_mib = int(peak.read().split()[-1]) / 1024
    os.unlink(peak_file.name)
    if code not in ok or error.strip():
        raise SystemExit(f"{command[6]} failed ({code}): {error}")
    return wall, (usage.ru_utime + usage.ru_stime) * 1000, peak_mib


def by_turns(runs, ours, reference):
    """Runs each side runs times, which of the pair first alternating; the figures of each side."""
    a, b = [], []
    for index in range(runs):
        pair = [lambda: a.append(ours()), lambda: b.append(reference())]
        for side in (pair if index % 2 == 0 else reversed(pair)):
            side()
    return a, b
