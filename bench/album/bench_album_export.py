#!/usr/bin/env python3
"""The album export of real photographs beside a shell loop that copies the same bytes with cp
and then flushes the folder's file system (sync -f), in one alternating loop.

    bench_album_export.py BUILD_DIR [--pictures N] [--runs N] [--work DIR]

The photographs are made with ImageMagick: 1600 x 1200 plasma with Gaussian noise at quality 92,
about 1.1 MB each and eight distinct ones, so that they neither compress away nor decode for
free. The album holds N records of them in turn (2,000 by default), and the same bytes lie as N
files for the loop. Each run is a fresh process into an emptied folder, after a sync: the
export (dialog, refresh, sort, every picture checked and written, each file flushed before its
rename, the folder flushed at the end) against `for f in …; do cp "$f" out/; done; sync -f out`.
Wall time, processor time (all threads, ended ones too) and peak resident memory are printed as
min and median for each side, with the ratio of each pair of runs. The work folder (about
2 × N MB) goes into --work, by default a folder beside the current one: not a tmpfs, where
every flush is free.
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from bench_process import Table, run  # noqa: E402

PHOTOS = 8


def make_photos(folder):
    paths = []
    for seed in range(1, PHOTOS + 1):
        path = os.path.join(folder, f"photo{seed}.jpg")
        if not os.path.exists(path):
            subprocess.run(["convert", "-size", "1600x1200", "-seed", str(seed), "plasma:",
                            "-attenuate", "0.3", "+noise", "Gaussian", "-quality", "92", path],
                           check=True)
        paths.append(path)
    return paths


def empty(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    subprocess.run(["sync"], check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--pictures", type=int, default=2000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default=os.path.join(os.getcwd(), "bench_album_export-work"))
    options = parser.parse_args()
    runs = max(5, options.runs)
    tool = os.path.join(os.path.abspath(options.build), "bench", "album", "bench_album_export")
    if not shutil.which("convert"):
        raise SystemExit("convert is missing (scripts/deps.sh bench installs imagemagick)")
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    # The offscreen platform's notes on what it cannot do (window masks) are no failure.
    os.environ.setdefault("QT_LOGGING_RULES", "default.warning=false")

    work = os.path.abspath(options.work)
    os.makedirs(work, exist_ok=True)
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.environ.setdefault("XDG_RUNTIME_DIR", runtime)
    photos = make_photos(work)
    album = os.path.join(work, f"album-{options.pictures}")
    store = os.path.join(album, "current.mdb")
    sources = os.path.join(album, "stored")
    if not os.path.exists(store):
        shutil.rmtree(album, ignore_errors=True)
        os.makedirs(album)
        subprocess.run([tool, "--make", store, sources, str(options.pictures)] + photos, check=True)
    out = os.path.join(work, "out")
    size = sum(os.path.getsize(os.path.join(sources, f)) for f in os.listdir(sources))
    print(f"{options.pictures} photographs, {size / 1e6:.0f} MB; {runs} runs of each side, by turns")

    loop = f'for f in "{sources}"/*; do cp "$f" "{out}"/ || exit 1; done; sync -f "{out}"'
    expected = f"数据库中共有图片{options.pictures}张，本次成功导出{options.pictures}张！"
    ours, reference = [], []
    for _ in range(runs):
        empty(out)
        reference.append(run(["sh", "-c", loop]))
        if len(os.listdir(out)) != options.pictures:
            raise SystemExit("the cp loop did not copy every picture")
        empty(out)
        output = os.path.join(work, "export-message.txt")
        with open(output, "w") as message:
            ours.append(run([tool, "--export", store, out], stdout=message))
        with open(output) as message:
            said = message.read().strip()
        if said != expected or len(os.listdir(out)) != options.pictures:
            raise SystemExit(f"the export did not write every picture: {said}")
    empty(out)
    table = Table("album export", "cp loop + sync -f")
    table.case(f"album export of {options.pictures} photographs", ours, reference,
               "wall at most 1.20 x")


if __name__ == "__main__":
    main()
