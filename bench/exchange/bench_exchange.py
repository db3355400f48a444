#!/usr/bin/env python3
"""The materials book's import and export through the store tool, beside the sqlite3 shell doing
the same store work, in one alternating loop.

    bench_exchange.py BUILD_DIR [--large] [--lines N] [--runs N] [--tool PATH] [--export-only]

Cases (each side at least 5 runs, taken by turns; every run is a fresh process):
  - import into an empty store:  `mozhou-store import`  vs. the shell's `.import` of the same rows
  - import over a full store:    `mozhou-store import`  vs. the shell's delete of every row,
                                 `.import` and commit, in one transaction
  - export:                      `mozhou-store export`  vs. the shell selecting the line texts in
                                 title and line order into a file
Which side runs first alternates from pair to pair. Wall time, processor time (user + system of
the child, all its threads) and peak resident memory (MiB, from /usr/bin/time) are printed as min
and median for each side, with the ratio of each pair of runs. 1,000,000 content lines by default
(10,000 entries of 100 lines); --large takes 3,000,000. The entries stand in the file in a random
order of their titles (the same every time), as a book written over years does, not sorted.
"""
import csv
import os
import random
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from bench_process import Table, by_turns, run  # noqa: E402
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
        order = list(range(entries))
        random.Random(27).shuffle(order)
        for e in order:
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


def time_imports(runs, table, book_mib, into_empty_ours, into_empty_shell, over_full_ours, over_full_shell):
    ours, reference = by_turns(runs, into_empty_ours, into_empty_shell)
    table.case(f"import into an empty store ({book_mib:.0f} MiB file)", ours, reference,
               f"ratio <= 1.0; peak <= {book_mib + 64:.0f} MiB")
    ours, reference = by_turns(runs, over_full_ours, over_full_shell)
    table.case("import over a full store of the same size", ours, reference,
               f"ratio <= 1.1; peak <= {book_mib + 64:.0f} MiB")


def sorted_entries(book):
    """The entries of an exchange file without its stamp, each as one block, sorted: the export
    writes them in title order, the file to import holds them in another."""
    if book.endswith(b"\r\n"):
        book = book[:-2]
    return sorted(book.split(b"\r\n~0~1~")[1:])


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
        book_mib = os.path.getsize(book) / 2**20
        print(f"book: {entries} entries, {entries * LINES_PER_ENTRY} content lines, "
              f"exchange file {book_mib:.0f} MiB; tool {tool}")
        empty = os.path.join(root, "empty.mdb")
        subprocess.run([tool, "create", empty], check=True, stdout=subprocess.DEVNULL)
        ours_store, shell_store = os.path.join(root, "ours.mdb"), os.path.join(root, "shell.mdb")
        shell_import = f".import --csv {rows} 文本\n"
        table = Table()

        def import_ours():
            shutil.copyfile(empty, ours_store)
            return run([tool, "import", ours_store, book])

        def import_shell():
            shutil.copyfile(empty, shell_store)
            return shell(shell_store, shell_import)

        if "--export-only" in args:
            import_ours()
            import_shell()
        else:
            time_imports(runs, table, book_mib, import_ours, import_shell,
                         lambda: run([tool, "import", ours_store, book]),
                         lambda: shell(shell_store, "begin;\ndelete from 文本;\n" + shell_import + "commit;\n"))
        if row_count(ours_store) != row_count(shell_store):
            raise SystemExit("the tool and the shell stored different row counts")

        ours_file, shell_file = os.path.join(root, "out.mz"), os.path.join(root, "shell.txt")
        ours, reference = by_turns(
            runs, lambda: run([tool, "export", ours_store, ours_file]),
            lambda: shell(shell_store, f".output {shell_file}\n"
                          "select 内容 from 文本 order by 标题, 行数;\n"))
        out_mib = os.path.getsize(ours_file) / 2**20
        table.case(f"export ({out_mib:.0f} MiB file)", ours, reference,
                   f"ratio <= 1.3; peak <= {out_mib + 64:.0f} MiB")
        with open(ours_file, "rb") as written, open(book, "rb") as original:
            if sorted_entries(written.read()) != sorted_entries(original.read()):
                raise SystemExit("the exported file holds other entries than the imported one")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
