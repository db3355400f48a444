#!/usr/bin/env python3
"""The materials book's import and export through the store tool, beside the sqlite3 shell doing
the same store work, in one alternating loop.

    bench_exchange.py BUILD_DIR [--large] [--lines N] [--runs N] [--tool PATH]

Cases (each side at least 5 runs, taken by turns; every run is a fresh process):
  - import into an empty store:  `mozhou-store import`  vs. the shell's `.import` of the same rows
  - import over a full store:    `mozhou-store import`  vs. the shell's delete of every row,
                                 `.import` and commit, in one transaction
  - export:                      `mozhou-store export`  vs. the shell selecting the line texts in
                                 title and line order into a file
Wall time, processor time (user + system of the child) and peak resident memory (the child's
ru_maxrss) are printed as min and median for each side, with the ratio of each pair of runs.
1,000,000 content lines by default (10,000 entries of 100 lines); --large takes 3,000,000.
"""
import csv
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from bench_process import Table, run  # noqa: E402
import tempfile

LINES_PER_ENTRY = 100
STAMP = "2008-03-15 10:05:09"


def content_line(entry, line):
    """About 200 bytes in the exchange file: Chinese and Latin text, quotes, commas, percent signs."""
    if line % 17 == 16:
        return ""
    return (f"第{entry}篇第{line}行：今天的会议讨论了项目进度与下一阶段的安排, it's 100% done "
            f"\"as planned\"; 下一步计划整理资料、核对数据并撰写总结报告，预计在本周五之前完成全部工作。"
            f"参考编号 {entry * 131 + line}")


def title_of(entry):
    return f"资料{entry:05d}"


def write_inputs(folder, entries):
    """The exchange file (GB18030, CR LF) and the same rows as CSV for the shell (UTF-8)."""
    book = os.path.join(folder, "book.mz")
    rows = os.path.join(folder, "rows.csv")
    with open(book, "wb") as mz, open(rows, "w", encoding="utf-8", newline="") as table:
        writer = csv.writer(table, lineterminator="\n")
        mz.write((STAMP + "\r\n").encode("gb18030"))
        for e in range(entries):
            title = title_of(e)
            chunk = ["~0~1~" + title]
            for line in range(LINES_PER_ENTRY):
                text = content_line(e, line)
                chunk.append(text)
                writer.writerow([title, line, text])
            mz.write(("\r\n".join(chunk) + "\r\n").encode("gb18030"))
    return book, rows


def shell(store, script):
    return run(["sqlite3", "-batch", store], script)


def row_count(store):
    out = subprocess.run(["sqlite3", store, "select count(*) from 文本"], check=True,
                         capture_output=True, text=True).stdout
    return int(out)


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    args = sys.argv[2:]
    runs = max(5, int(args[args.index("--runs") + 1])) if "--runs" in args else 5
    lines = 3_000_000 if "--large" in args else 1_000_000
    if "--lines" in args:
        lines = int(args[args.index("--lines") + 1])
    tool = args[args.index("--tool") + 1] if "--tool" in args else os.path.join(build, "tools/mozhou-store")
    entries = max(1, lines // LINES_PER_ENTRY)
    root = tempfile.mkdtemp(prefix="mozhou-exchange-")
    try:
        book, rows = write_inputs(root, entries)
        book_mb = os.path.getsize(book) / 1e6
        print(f"book: {entries} entries, {entries * LINES_PER_ENTRY} content lines, "
              f"exchange file {book_mb:.0f} MB; tool {tool}")
        empty = os.path.join(root, "empty.mdb")
        subprocess.run([tool, "create", empty], check=True, stdout=subprocess.DEVNULL)
        ours_store, shell_store = os.path.join(root, "ours.mdb"), os.path.join(root, "shell.mdb")
        shell_import = f".import --csv {rows} 文本\n"
        table = Table()

        ours, reference = [], []
        for _ in range(runs):
            shutil.copyfile(empty, ours_store)
            ours.append(run([tool, "import", ours_store, book]))
            shutil.copyfile(empty, shell_store)
            reference.append(shell(shell_store, shell_import))
        if row_count(ours_store) != row_count(shell_store):
            raise SystemExit("the tool and the shell stored different row counts")
        table.case(f"import into an empty store ({book_mb:.0f} MB file)", ours, reference,
                   f"ratio <= 1.0; peak <= {book_mb + 64:.0f} MB")

        ours, reference = [], []
        for _ in range(runs):
            ours.append(run([tool, "import", ours_store, book]))
            reference.append(shell(shell_store, "begin;\ndelete from 文本;\n" + shell_import + "commit;\n"))
        if row_count(ours_store) != row_count(shell_store):
            raise SystemExit("the tool and the shell stored different row counts")
        table.case("import over a full store of the same size", ours, reference,
                   f"ratio <= 1.1; peak <= {book_mb + 64:.0f} MB")

        ours_file, shell_file = os.path.join(root, "out.mz"), os.path.join(root, "shell.txt")
        ours, reference = [], []
        for _ in range(runs):
            ours.append(run([tool, "export", ours_store, ours_file]))
            reference.append(shell(shell_store, f".output {shell_file}\n"
                                   "select 内容 from 文本 order by 标题, 行数;\n"))
        with open(ours_file, "rb") as written, open(book, "rb") as original:
            if written.read()[len(STAMP):] != original.read()[len(STAMP):]:
                raise SystemExit("the exported file differs from the imported one")
        out_mb = os.path.getsize(ours_file) / 1e6
        table.case(f"export ({out_mb:.0f} MB file)", ours, reference,
                   f"ratio <= 1.5; peak <= {out_mb + 64:.0f} MB")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
