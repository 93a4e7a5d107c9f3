#!/usr/bin/env python3
"""Logs for the replay test, cut from a drive kestos-cli recorded: STEADY holds one row (the
chosen row) for 10 s, for kestos-sim --replay to serve steadily; DRIVE holds that row for 6 s,
the link down for 2 s, then the recording's last row for 2 s.

usage: make_replay_logs.py RECORDED STEADY DRIVE"""
import sys

def main(recorded, steady, drive):
    lines = open(recorded).read().splitlines()
    header, rows = [], []
    for line in lines:
        fields = line.split("\t")
        if len(fields) == 14 and fields[0][:1].isdigit():
            rows.append(fields)
        elif line and not line.startswith("MARK") and not rows:
            header.append(line)
    if len(rows) < 20:
        sys.exit("too few rows in " + recorded)
    chosen, last = rows[10], rows[-1]

    def write(path, spans):
        out = list(header)
        for start, end, row, link in spans:
            t = start
            while t < end:
                fields = list(row)
                fields[0] = "%.3f" % (t / 1000)
                fields[11] = link
                out.append("\t".join(fields))
                t += 25
        open(path, "w").write("\n".join(out) + "\n")

    write(steady, [(0, 10000, chosen, "1")])
    write(drive, [(0, 6000, chosen, "1"), (6000, 8000, chosen, "0"), (8000, 10000, last, "1")])

if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
