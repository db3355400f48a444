#!/usr/bin/env python3
"""Full-text search of the materials book on 1,000,000 lines of mixed Chinese and Latin text.

    bench_fulltext.py BUILD_DIR [--lines N] [--runs N]

The book's entries stand in a random order of their titles. Figures (each side at least 5 runs,
taken by turns, which side first alternating; every run of a tool is a fresh process):
  - import with the index beside the same import into a store without it (mozhou-store import);
  - the index's size beside the text's (pages of the store, by the dbstat table);
  - in-process search: time to the full count and the first 100 matches, for a query of 1, 2 and
    4 Chinese characters, a Latin word and, beside them, the commonest character;
  - `mozhou-store search` beside the sqlite3 shell selecting the same rows with like '%...%'.
Wall time, processor time (user + system of the child) and peak resident memory (the child's
ru_maxrss) are printed as min and median, with the ratio of each pair of runs.
"""
import collections
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
DROP_INDEX = ("drop trigger 全文记增; drop trigger 全文记删; drop trigger 全文记改;"
              "drop table 全文分段; drop table 全文行段; drop table 全文已改;"
              "drop table 全文待办; drop table 全文状态;")


def vocabulary(rng):
    """Chinese words of one to four characters over 3,500 characters, and Latin words, each
    drawn with Zipf's law as the words of real notes are."""
    chars = [chr(c) for c in range(0x4E00, 0x4E00 + 3500)]
    rng.shuffle(chars)
    char_weights = [1 / (i + 1) for i in range(len(chars))]
    words = set()
    while len(words) < 30000:
        length = rng.choices((1, 2, 3, 4), weights=(15, 60, 15, 10))[0]
        words.add("".join(rng.choices(chars, weights=char_weights, k=length)))
    chinese = sorted(words)
    rng.shuffle(chinese)
    latin = set()
    while len(latin) < 3000:
        latin.add("".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(3, 9))))
    latin = sorted(latin)
    rng.shuffle(latin)
    return chinese, latin


def make_lines(rng, count):
    chinese, latin = vocabulary(rng)
    vocab = [(w, False) for w in chinese] + [(w, True) for w in latin]
    rng.shuffle(vocab)
    weights = [1 / (i + 1) for i in range(len(vocab))]
    cumulative = []
    total = 0.0
    for w in weights:
        total += w
        cumulative.append(total)
    lines = []
    for _ in range(count):
        n = rng.randint(4, 24)
        parts = []
        for word, is_latin in rng.choices(vocab, cum_weights=cumulative, k=n):
            if is_latin:
                parts.append(" " + (word.capitalize() if rng.random() < 0.2 else word) + " ")
            else:
                parts.append(word)
            if rng.random() < 0.15:
                parts.append(rng.choice("，。、；："))
        lines.append("".join(parts).strip())
    return lines


def write_book(folder, lines, rng):
    """The entries in a random order of their titles, as a book written over years holds them."""
    book = os.path.join(folder, "book.mz")
    order = list(range(0, len(lines), LINES_PER_ENTRY))
    rng.shuffle(order)
    with open(book, "wb") as mz:
        mz.write((STAMP + "\r\n").encode("gb18030"))
        for e in order:
            chunk = ["~0~1~" + f"笔记{e // LINES_PER_ENTRY:05d}"] + lines[e:e + LINES_PER_ENTRY]
            mz.write(("\r\n".join(chunk) + "\r\n").encode("gb18030"))
    return book


def pick_queries(lines, rng):
    """A character found in about 2% of the lines, a two-character word in about 0.5%, a
    four-character run of a line found in a few lines, a Latin word in about 0.5% (asked in
    capitals), and the commonest character."""
    sample = rng.sample(lines, min(50000, len(lines)))
    chars, pairs, latin = collections.Counter(), collections.Counter(), collections.Counter()
    for line in sample:
        chars.update({c for c in line if "\u4e00" <= c <= "\u9fff"})
        pairs.update({line[i:i + 2] for i in range(len(line) - 1)
                      if all("\u4e00" <= c <= "\u9fff" for c in line[i:i + 2])})
        latin.update({w.lower() for w in line.split() if w.isascii() and w.isalpha()})

    def nearest(counter, share):
        goal = share * len(sample)
        return min(counter, key=lambda k: (abs(counter[k] - goal), k))

    four = None
    for line in sample:
        for i in range(len(line) - 3):
            run = line[i:i + 4]
            if all("\u4e00" <= c <= "\u9fff" for c in run):
                four = run
                break
        if four:
            break
    return [("1 Chinese character", nearest(chars, 0.02)),
            ("2 Chinese characters", nearest(pairs, 0.005)),
            ("4 Chinese characters", four),
            ("Latin word", nearest(latin, 0.005).upper()),
            ("commonest character", chars.most_common(1)[0][0])]


def sql(store, script):
    return subprocess.run(["sqlite3", "-batch", store], input=script, check=True,
                          capture_output=True, text=True).stdout


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    args = sys.argv[2:]
    runs = max(5, int(args[args.index("--runs") + 1])) if "--runs" in args else 5
    count = int(args[args.index("--lines") + 1]) if "--lines" in args else 1_000_000
    tool = os.path.join(build, "tools/mozhou-store")
    searcher = os.path.join(build, "bench/fulltext/bench_fulltext_search")
    rng = random.Random(30)
    root = tempfile.mkdtemp(prefix="mozhou-fulltext-")
    try:
        lines = make_lines(rng, count)
        book = write_book(root, lines, rng)
        queries = pick_queries(lines, rng)
        text_mb = sum(len(line.encode()) for line in lines) / 1e6
        del lines
        print(f"book: {count} lines in {count // LINES_PER_ENTRY} entries, {text_mb:.0f} MB of UTF-8 "
              f"text, exchange file {os.path.getsize(book) / 1e6:.0f} MB")
        # The search reads on two threads: other work on the machine takes that gain away.
        print("load average at the start: %.2f %.2f %.2f on %d processors"
              % (os.getloadavg() + (os.cpu_count(),)))

        indexed = os.path.join(root, "indexed.mdb")
        plain = os.path.join(root, "plain.mdb")
        subprocess.run([tool, "create", indexed], check=True, stdout=subprocess.DEVNULL)
        shutil.copyfile(indexed, plain)
        sql(plain, DROP_INDEX)
        ours_store, plain_store = os.path.join(root, "ours.mdb"), os.path.join(root, "noindex.mdb")
        def import_into(store, empty):
            shutil.copyfile(empty, store)
            return run([tool, "import", store, book])

        ours, reference = by_turns(runs, lambda: import_into(ours_store, indexed),
                                   lambda: import_into(plain_store, plain))
        book_mib = os.path.getsize(book) / 2**20
        Table("with index", "without").case(f"import into an empty store ({book_mib:.0f} MiB file)",
                                            ours, reference,
                                            f"ratio <= 1.3; peak <= {book_mib + 64:.0f} MiB")

        sizes = dict(line.split("|") for line in sql(
            ours_store, "select name, sum(pgsize) from dbstat group by name;").split())
        index_bytes = sum(int(v) for k, v in sizes.items() if k.startswith("全文"))
        text_bytes = int(sizes["文本"])
        content = float(sql(ours_store, "select total(length(cast(内容 as blob))) from 文本;"))
        print(f"\nsize: index {index_bytes / 1e6:.1f} MB, table 文本 {text_bytes / 1e6:.1f} MB "
              f"(its line texts {content / 1e6:.1f} MB): index / table {index_bytes / text_bytes:.2f}, "
              f"index / line texts {index_bytes / content:.2f}   (goal: <= 1.5)")

        print("\nin-process search: full count and the first 100 matches (goal: median <= 20 ms)")
        out = subprocess.run([searcher, ours_store, str(runs)] + [q for _, q in queries],
                             check=True, capture_output=True, text=True).stdout.splitlines()
        print(f"  {out[0]}")
        print(f"  {'query':<36}{'matches':>9}{'wall min':>10}{'median':>9}{'cpu min':>9}{'median':>9}")
        for (label, _), line in zip(queries, out[1:]):
            q, n, wmin, wmed, cmin, cmed = line.split("\t")
            print(f"  {label + ' ' + q:<36}{n:>9}{wmin:>10}{wmed:>9}{cmin:>9}{cmed:>9}")
        print(f"  {out[-1]}")

        print("\ncommand line: mozhou-store search beside the sqlite3 shell's like '%...%' scan")
        table = Table("mozhou-store", "sqlite3 like")
        for label, query in queries:
            like = query.replace("'", "''")
            ours, reference = by_turns(
                runs, lambda: run([tool, "search", ours_store, query], ok=(0, 1)),
                lambda: run(["sqlite3", "-batch", ours_store],
                            f"select 标题, 行数, 内容 from 文本 where 内容 like '%{like}%';\n"))
            goal = "none: the most matches" if label == "commonest character" else "ratio <= 0.2"
            table.case(f"{label} {query}", ours, reference, goal)
        print("load average at the end: %.2f %.2f %.2f" % os.getloadavg())
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
