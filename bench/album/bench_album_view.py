#!/usr/bin/env python3
"""The album's picture views as whole processes beside djpeg, on photographs as cameras give
them (6000 x 4000, about a megabyte per megapixel at quality 90):
  - the preview of one photograph from a fresh start (bench_album_jpeg preview) beside
    `djpeg photo.jpg` (goal: processor time at most 1.2 x);
  - the thumbnail window's first fill of seven (bench_album_thumbnails fill) beside a shell
    running `djpeg -scale 1/8` on each (goal: at most 1.1 x), with when each cell filled and
    the longest pause of the window's event loop meanwhile;
  - repaint and scroll of the filled window (in one process; goal: at most 20 ms).
Each side runs at least 5 times, alternating.
  bench/album/bench_album_view.py BUILD_DIR [RUNS]"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import bench_process  # noqa: E402

PICTURES = 7


def own_share(report, whole):
    """The (wall ms, processor ms) a child wrote to report for its part of the work, with the
    whole process's peak resident memory."""
    with open(report) as text:
        wall, processor = (float(figure) for figure in text.readline().split())
    return wall, processor, whole[2]


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = max(5, int(sys.argv[2]) if len(sys.argv) > 2 else 5)
    if not shutil.which("djpeg"):
        raise SystemExit("djpeg is missing (package libjpeg-turbo-progs; scripts/deps.sh bench)")
    jpeg_bench = os.path.join(build, "bench", "album", "bench_album_jpeg")
    thumbnails_bench = os.path.join(build, "bench", "album", "bench_album_thumbnails")
    with tempfile.TemporaryDirectory(prefix="mozhou-album-view-", dir=os.getcwd()) as folder:
        # Qt warns on its error stream without a runtime folder, and a child that writes there
        # counts as failed.
        if not os.environ.get("XDG_RUNTIME_DIR"):
            os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="runtime-", dir=folder)
        # Nor may the offscreen platform's notes on what it cannot do (window masks, raising).
        if os.environ.get("QT_QPA_PLATFORM", "offscreen") == "offscreen":
            os.environ.setdefault("QT_LOGGING_RULES", "default.warning=false")
        made = subprocess.run([jpeg_bench, "make", folder, str(PICTURES)], check=True,
                              capture_output=True, text=True)
        photos = made.stdout.split()
        sizes = [os.path.getsize(photo) / 1e6 for photo in photos]
        print(f"{PICTURES} photographs of 6000 x 4000, {min(sizes):.1f} to {max(sizes):.1f} MB each; "
              f"{runs} runs of each side, alternating")
        store = os.path.join(folder, "Data", "current.mdb")
        table = bench_process.Table("ours", "djpeg")

        report = os.path.join(folder, "report")
        ours, alone, reference = [], [], []
        for _ in range(runs):
            reference.append(bench_process.run(["djpeg", "-outfile", os.devnull, photos[0]]))
            ours.append(bench_process.run([jpeg_bench, "preview", store, report]))
            alone.append(own_share(report, ours[-1]))
        table.case("preview of a 24-megapixel JPEG, whole process", ours, reference,
                   "processor time at most 1.2 x djpeg")
        table.case("  the preview's share: refresh to painted picture", alone, reference,
                   "processor time at most 1.2 x djpeg")

        djpeg_loop = " ; ".join(f"djpeg -scale 1/8 -outfile /dev/null '{photo}'" for photo in photos)
        ours, alone, reference, reports = [], [], [], []
        for _ in range(runs):
            reference.append(bench_process.run(["sh", "-c", djpeg_loop]))
            ours.append(bench_process.run([thumbnails_bench, "fill", folder, report]))
            alone.append(own_share(report, ours[-1]))
            with open(report) as text:
                reports.append(text.read().splitlines()[1])
        table.case(f"thumbnail window's first fill, {PICTURES} x 24 megapixels, whole process"
                   " (with start-up and the album's first preview)", ours,
                   reference, "at most 1.1 x seven djpeg -scale 1/8")
        table.case("  the fill's share: window made to last cell filled", alone, reference,
                   "at most 1.1 x seven djpeg -scale 1/8")
        for line in reports:
            print(f"  {line}")
        sys.stdout.flush()
        subprocess.run([thumbnails_bench, "repaint", folder, str(max(runs, 7))], check=True)


if __name__ == "__main__":
    main()
