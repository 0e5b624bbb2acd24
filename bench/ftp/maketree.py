"""Writes a tree shaped like a contest's players/ below ROOT/day1: 300 players with three tasks
each (900 files, 1,200 directories), ids with blanks, Chinese, "@", "$(...)" and backticks; a file
of all 256 byte values, a 20 MB file, CR LF and empty files, deep and empty directories.
Usage: maketree.py ROOT
"""
import os
import random
import sys

ODD_IDS = ["p 1", "张三", "李四", "a@b", "$(id)", "`id`", "x y z", "王-五"]


def main():
    day = os.path.join(sys.argv[1], "day1")
    rng = random.Random(15)
    for i in range(300):
        pid = "%s-%03d" % (ODD_IDS[i % len(ODD_IDS)], i) if i % 5 == 0 else "gd-%03d" % i
        for task in ("add", "sum", "path"):
            folder = os.path.join(day, pid, task)
            os.makedirs(folder)
            size = rng.randrange(200, 6000)
            body = bytes(rng.randrange(32, 127) for _ in range(size))
            if i % 7 == 0:
                body = body.replace(b" ", b"\r\n")
            if i % 11 == 0:
                body = b""
            with open(os.path.join(folder, task + ".cpp"), "wb") as f:
                f.write(body)
    special = os.path.join(day, "gd-003", "add")
    with open(os.path.join(special, "all.bin"), "wb") as f:
        f.write(bytes(range(256)))
    with open(os.path.join(special, "big.bin"), "wb") as f:
        f.write(rng.randbytes(20 * 1000 * 1000))
    os.makedirs(os.path.join(day, "gd-004", "sum", *"abcdefghij"))
    os.makedirs(os.path.join(day, "gd-006", "empty"))


main()
