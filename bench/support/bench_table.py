"""The table every process benchmark prints: one line per figure (wall time, processor time,
peak resident memory) with min and median of ours, of the reference and of their ratio."""

import statistics
import sys


def summary(values, digits=0):
    return f"{min(values):10.{digits}f}{statistics.median(values):10.{digits}f}"


class Table:
    def __init__(self, ours="ours", reference="reference"):
        print(f"{'':44}{ours:>20}{reference:>20}{'ratio':>20}")
        print(f"{'':44}" + f"{'min':>10}{'median':>10}" * 3)

    def case(self, label, ours, reference, goal):
        """ours and reference: one (wall ms, processor ms, peak MB) triple per run, in pairs."""
        print(f"{label}   (goal: {goal})")
        for index, (figure, unit) in enumerate((("wall", "ms"), ("processor", "ms"),
                                                ("peak resident", "MB"))):
            a = [run[index] for run in ours]
            b = [run[index] for run in reference]
            ratios = [x / y for x, y in zip(a, b)]
            print(f"  {figure + ' (' + unit + ')':<42}{summary(a)}{summary(b)}{summary(ratios, 2)}")
        sys.stdout.flush()
