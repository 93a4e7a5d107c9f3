#!/usr/bin/env python3
"""check_drive_log.py LOG SIM_LOG SVG [--markers N] [--link-rows N]: the rows' times increase,
each row with the link up carries answers the simulator sent, in its order; the markers and
link-down rows are as many as expected; the SVG is XML with five panels and the markers."""
import sys
import xml.etree.ElementTree as ET


def fail(why):
    print("FAIL:", why, file=sys.stderr)
    sys.exit(1)


def main():
    args = sys.argv[1:]
    log_path, sim_path, svg_path = args[:3]
    want = {"--markers": None, "--link-rows": None}
    for i in range(3, len(args), 2):
        want[args[i]] = int(args[i + 1])

    lines = open(log_path, encoding="ascii").read().split("\n")
    names = lines.index("Time\tRPM\tLambda\tTPS\tAtt\tAttInit\tTemperature\tGas\tLPG OFF\t"
                        "CUT-OFF\tLearning\tLink\tStatus\tReadings")
    rows, markers, order = [], [], []
    for line in lines[names + 2:]:
        if not line:
            continue
        if line.startswith("MARK "):
            markers.append(line)
            order.append("mark")
            continue
        f = line.split("\t")
        if len(f) != 14:
            fail("a row of %d fields: %r" % (len(f), line))
        rows.append(f)
        order.append("row" if f[11] == "1" else "down")
    times = [float(r[0]) for r in rows]
    if any(b <= a for a, b in zip(times, times[1:])):
        fail("the rows' times do not increase")

    sent = {4: [], 11: []}
    for line in open(sim_path, encoding="ascii"):
        f = line.split()
        if len(f) > 2 and f[1] == "TX" and len(f) - 2 in sent:
            sent[len(f) - 2].append("".join(f[2:]))

    def in_order(seen, answers, what):
        at = 0
        for s in seen:
            while at < len(answers) and answers[at] != s:
                at += 1
            if at == len(answers):
                fail("a row's %s %s is not what the simulator sent next" % (what, s))
            at += 1

    up = [r for r in rows if r[11] == "1"]
    in_order([r[13] for r in up], sent[11], "readings answer")
    statuses = set(sent[4])
    for r in up:
        if r[12] not in statuses:
            fail("status %s was never sent" % r[12])
    down = len(rows) - len(up)
    if want["--markers"] is not None and len(markers) != want["--markers"]:
        fail("%d markers, not %d" % (len(markers), want["--markers"]))
    if want["--link-rows"] is not None and down != want["--link-rows"]:
        fail("%d link-down rows, not %d" % (down, want["--link-rows"]))

    svg = ET.parse(svg_path).getroot()
    ns = "{http://www.w3.org/2000/svg}"
    groups = [g.get("class") for g in svg.iter(ns + "g")]
    if groups.count("panel") != 5:
        fail("%d panels in the picture" % groups.count("panel"))
    if groups.count("marker") != len(markers):
        fail("%d marker lines for %d markers" % (groups.count("marker"), len(markers)))
    print("%d rows (%d with the link down), %d markers, in order: %s" %
          (len(rows), down, len(markers), " ".join(o for i, o in enumerate(order)
                                                   if i == 0 or o != order[i - 1])))


main()
