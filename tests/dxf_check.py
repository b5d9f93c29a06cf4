"""Reads the DXF files of korvane-layout and korvane-count back with ezdxf, a reader written
independently of ours, and checks them against the programs' own JSON and tube lists.

usage: dxf_check.py KORVANE_LAYOUT KORVANE_COUNT
"""
import csv
import json
import math
import os
import subprocess
import sys
import tempfile

import ezdxf

LAYOUT, COUNT = sys.argv[1:3]
TOLERANCE = 1e-6  # mm

# name, korvane-layout inputs: every pattern, pass count and centring, decimals, user lanes.
CASES = [
    ("30 4 passes centre tube",
     ["--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "4", "--centre-tube", "57"]),
    ("60 2 passes", ["--shell", "1184", "--tube", "28", "--pitch", "36", "--pattern", "60",
                     "--passes", "2"]),
    ("90 6 passes straddled", ["--shell", "900", "--tube", "25", "--pitch", "32", "--pattern",
                               "90", "--passes", "6", "--centre", "straddle"]),
    ("45 8 passes best", ["--otl", "1184", "--tube", "28", "--pitch", "36", "--pattern", "45",
                          "--passes", "8", "--centre", "best", "--centre-tube", "60"]),
    ("decimals and lane spacings", ["--shell", "812.5", "--tube", "19.05", "--pitch", "23.8125",
                                    "--pattern", "60", "--passes", "4",
                                    "--lane-spacing", "40,45.5"]),
    ("one pass", ["--otl", "400", "--tube", "19", "--pitch", "25"]),
    ("no tube fits", ["--otl", "10", "--tube", "19", "--pitch", "25", "--passes", "2"]),
    ("GB/T 151 6 passes with its tie rods", ["--gb151", "--shell", "832", "--tube", "25",
                                             "--passes", "6"]),
    ("U-tubes shifted 45 with TEMA tie rods", ["--shell", "700", "--tube", "19", "--pitch", "25",
                                               "--pattern", "45", "--passes", "4", "--lanes",
                                               "shift", "--lane-spacing", "38", "--bundle",
                                               "u-tube", "--tie-rods", "tema"]),
    ("60 straddled shift with 7 tie rods", ["--shell", "640", "--tube", "20", "--pitch", "26",
                                           "--pattern", "60", "--passes", "2", "--lanes",
                                           "shift", "--centre", "straddle", "--tie-rods", "7"]),
    ("two baffle cuts", ["--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "6",
                         "--baffle-cut", "20,25"]),
    ("tie rods on the cut edge", ["--shell", "600", "--tube", "25", "--pitch", "32", "--passes",
                                  "2", "--tie-rods", "6", "--baffle-cut", "25"]),
    ("ribbon 8 passes shifted", ["--shell", "900", "--tube", "19", "--pitch", "25", "--passes",
                                 "8", "--arrangement", "ribbon", "--lanes", "shift"]),
    ("impingement plate with tie rods", ["--shell", "800", "--tube", "25", "--pitch", "32",
                                         "--passes", "4", "--impingement", "200,260,40,8",
                                         "--tie-rods", "8", "--baffle-cut", "25"]),
    ("edits: undrilled sites and dummies", ["--shell", "600", "--tube", "25", "--pitch", "32",
                                            "--passes", "4", "--remove", "r1c3,r0c0",
                                            "--dummy", "r2c4,r-2c-4"]),
    ("impingement plate over U-tubes", ["--shell", "700", "--tube", "19", "--pitch", "25",
                                        "--passes", "4", "--arrangement", "ribbon", "--bundle",
                                        "u-tube", "--impingement", "8in"]),
]

failures = []


def check(condition, case, what):
    if not condition:
        failures.append(f"{case}: {what}")


def run(program, args):
    done = subprocess.run([program] + args, capture_output=True)
    if done.returncode != 0:
        raise SystemExit(f"{program} {' '.join(args)} exited {done.returncode}: "
                         f"{done.stderr.decode(errors='replace')}")
    return done.stdout.decode()


def read(case, path):
    """The drawing as ezdxf reads it, after an audit that must find nothing to report or fix."""
    doc = ezdxf.readfile(path)
    check(doc.dxfversion == "AC1009", case, f"version {doc.dxfversion}")
    check(doc.header.get("$MEASUREMENT") == 1, case, "units are not mm")
    check(doc.header.get("$DWGCODEPAGE") == "ANSI_936", case, "code page")
    auditor = doc.audit()
    check(not auditor.has_errors and not auditor.has_fixes, case,
          f"audit: {[str(e.message) for e in auditor.errors + auditor.fixes]}")
    return doc


def entities(doc, kind, layer_test):
    return [e for e in doc.modelspace() if e.dxftype() == kind and layer_test(e.dxf.layer)]


def same_points(case, what, got, expected):
    got, expected = sorted(got), sorted(expected)
    check(len(got) == len(expected), case, f"{what}: {len(got)} against {len(expected)}")
    worst = max((math.dist(a, b) for a, b in zip(got, expected)), default=0)
    check(worst <= TOLERANCE, case, f"{what}: centres differ by {worst} mm")


def check_layout(case, args, folder):
    drawing, holes = os.path.join(folder, "l.dxf"), os.path.join(folder, "l.csv")
    out = json.loads(run(LAYOUT, args + ["--json", "--numbers", "--draw", drawing,
                                         "--tubes", holes]))
    with open(holes, newline="") as f:
        rows = list(csv.DictReader(f))
    doc = read(case, drawing)
    passes = out["passes"]

    names = {layer.dxf.name: layer.dxf.color for layer in doc.layers}
    wanted = ["LAYOUT", "TUBES", "LANES", "REMOVED", "CENTRE", "TEXT"]
    wanted += [f"PASS_{i}" for i in range(1, passes + 1)]
    wanted += ["SHELL"] if out["shell"] is not None else []
    check(all(name in names for name in wanted), case, f"layers {sorted(names)}")
    pass_colours = {names.get(f"PASS_{i}") for i in range(1, passes + 1)}
    check(len(pass_colours) == passes, case, "two passes share a colour")

    tubes = entities(doc, "CIRCLE", lambda layer: layer.startswith("PASS_"))
    check(len(tubes) == out["total"], case, f"{len(tubes)} tube circles, total {out['total']}")
    check(all(abs(t.dxf.radius - out["tube"] / 2) <= TOLERANCE for t in tubes), case, "radius")
    for i in range(1, passes + 1):
        drawn = [(t.dxf.center.x, t.dxf.center.y) for t in tubes if t.dxf.layer == f"PASS_{i}"]
        listed = [(float(r["x"]), float(r["y"])) for r in rows
                  if r["pass"] == str(i) and r.get("kind", "tube") == "tube"]
        check(len(drawn) == out["per_pass"][i - 1], case, f"pass {i} count")
        same_points(case, f"pass {i}", drawn, listed)
    removed = entities(doc, "CIRCLE", lambda layer: layer == "REMOVED")
    check(len(removed) == out["lane_removed"] + out["centre_removed"]
          + out["impingement_removed"] + out["edit_removed"], case, "removed tubes")
    dummies = entities(doc, "CIRCLE", lambda layer: layer == "DUMMY")
    same_points(case, "dummies", [(c.dxf.center.x, c.dxf.center.y) for c in dummies],
                [(float(r["x"]), float(r["y"])) for r in rows if r.get("kind") == "dummy"])
    check(len(dummies) == out["dummy_tubes"], case, f"{len(dummies)} dummies drawn")

    # The plate: a closed rectangle of side A and thickness t, h below the shell's top, and the
    # nozzle's bore dashed above it.
    plate = out["impingement"]
    drawn = entities(doc, "LINE", lambda layer: layer == "IMPINGEMENT")
    if plate is None:
        check(not drawn, case, "a plate drawn without one")
    else:
        top = out["shell"] / 2 - plate["height"]
        bottom = top - plate["thickness"]
        solid = [l for l in drawn if l.dxf.linetype != "DASHED"]
        dashed = [l for l in drawn if l.dxf.linetype == "DASHED"]
        corners = {(round(p.x, 6), round(p.y, 6)) for l in solid for p in (l.dxf.start, l.dxf.end)}
        half = plate["plate"] / 2
        check(corners == {(round(x, 6), round(y, 6)) for x in (-half, half)
                          for y in (top, bottom)}, case, f"plate corners {sorted(corners)}")
        check(len(solid) == 4 and len(dashed) == 2, case, "plate lines")
        check(sorted(round(l.dxf.start.x, 6) for l in dashed)
              == [round(-plate["nozzle"] / 2, 6), round(plate["nozzle"] / 2, 6)], case, "bore")
        check(plate["removed"] == out["impingement_removed"] > 0, case, "plate removes none")

    # Tie rods: on their own layer, where the JSON and the list put them, as thick as the table.
    rods = entities(doc, "CIRCLE", lambda layer: layer == "TIE_RODS")
    want = out["tie_rods"] or {"count": 0, "positions": [], "diameter": None}
    check(("TIE_RODS" in names), case, "no TIE_RODS layer")
    check(len(rods) == want["count"], case, f"{len(rods)} rods drawn, {want['count']} in JSON")
    same_points(case, "tie rods", [(r.dxf.center.x, r.dxf.center.y) for r in rods],
                [tuple(p) for p in want["positions"]])
    same_points(case, "tie rods listed", [(r.dxf.center.x, r.dxf.center.y) for r in rods],
                [(float(r["x"]), float(r["y"])) for r in rows if r.get("kind") == "tie_rod"])
    rod = want["diameter"] if want["diameter"] is not None else out["tube"]
    check(all(abs(r.dxf.radius - rod / 2) <= TOLERANCE for r in rods), case, "rod radius")
    # Baffle cuts: two dashed lines each across the shell at ±yc, a ring round every tube the
    # lines cut (the top line's count, twice).
    cuts = out.get("baffle")
    cuts = [] if cuts is None else cuts if isinstance(cuts, list) else [cuts]
    baffle_lines = entities(doc, "LINE", lambda layer: layer == "BAFFLE")
    check(len(baffle_lines) == 2 * len(cuts), case, f"{len(baffle_lines)} baffle lines")
    for cut in cuts:
        for y in (cut["cut_line"], -cut["cut_line"]):
            check(any(abs(l.dxf.start.y - y) <= TOLERANCE and abs(l.dxf.end.y - y) <= TOLERANCE
                      and l.dxf.linetype == "DASHED" for l in baffle_lines),
                  case, f"no dashed cut line at y = {y}")
    rings = entities(doc, "CIRCLE", lambda layer: layer == "BAFFLE")
    check(len(rings) == sum(2 * cut["edge_tubes"] for cut in cuts), case,
          f"{len(rings)} edge rings for {[c['edge_tubes'] for c in cuts]}")
    # A ring is round a tube of the list, never round a tie rod.
    rod_points = [tuple(p) for p in want["positions"]]
    for ring in rings:
        at = (ring.dxf.center.x, ring.dxf.center.y)
        check(not any(math.dist(at, p) <= TOLERANCE for p in rod_points), case,
              f"an edge ring round the tie rod at {at}")
    if out["u_tubes"] is not None:
        check(out["u_tubes"] * 2 == out["total"], case, "U-tubes are not half the holes")

    # Each lane: its centre line and its two edges, ends on the layout circle.
    lines = entities(doc, "LINE", lambda layer: layer == "LANES")
    radius = out["layout_circle"] / 2
    expected = []
    for lane in out["lanes"]:
        for offset, dashed in ((0, False), (-lane["spacing"] / 2, True),
                               (lane["spacing"] / 2, True)):
            if abs(lane["position"] + offset) < radius:
                expected.append((lane["direction"], lane["position"] + offset, dashed))
    got = []
    for line in lines:
        start, end = line.dxf.start, line.dxf.end
        horizontal = abs(start.y - end.y) <= TOLERANCE
        check(horizontal or abs(start.x - end.x) <= TOLERANCE, case, "a lane line is slanted")
        for point in (start, end):
            check(abs(math.hypot(point.x, point.y) - radius) <= TOLERANCE, case,
                  "a lane line does not end on the layout circle")
        got.append(("horizontal" if horizontal else "vertical",
                    start.y if horizontal else start.x, line.dxf.linetype == "DASHED"))
    check(len(got) == len(expected), case, f"{len(got)} lane lines, expected {len(expected)}")
    for g, e in zip(sorted(got), sorted(expected)):
        check(g[0] == e[0] and g[2] == e[2] and abs(g[1] - e[1]) <= TOLERANCE, case,
              f"lane line {g} against {e}")

    # The numbers stand on the tubes the list gives them to.
    labels = {}
    for text in entities(doc, "TEXT", lambda layer: layer == "TEXT"):
        if text.dxf.text.isdigit():
            labels[int(text.dxf.text)] = (text.dxf.align_point.x, text.dxf.align_point.y)
    check(len(labels) == len(rows), case, f"{len(labels)} numbers for {len(rows)} tubes")
    for row in rows:
        at = labels.get(int(row["n"]))
        check(at is not None and math.dist(at, (float(row["x"]), float(row["y"]))) <= TOLERANCE,
              case, f"number {row['n']} is not on its tube")

    captions = [t.dxf.text for t in entities(doc, "TEXT", lambda layer: True)]
    check(f"总管数 {out['total']} 管" in captions, case, "the Chinese caption did not read back")


def check_count(folder):
    case = "korvane-count 600 32 25 57"
    drawing, holes = os.path.join(folder, "c.dxf"), os.path.join(folder, "c.csv")
    run(COUNT, ["--draw", drawing, "--tubes", holes, "600", "32", "25", "57"])
    with open(holes, newline="") as f:
        rows = list(csv.DictReader(f))
    doc = read(case, drawing)
    kept = entities(doc, "CIRCLE", lambda layer: layer == "TUBES")
    removed = entities(doc, "CIRCLE", lambda layer: layer == "REMOVED")
    check(len(kept) == 276 and len(removed) == 7, case, f"{len(kept)} kept, {len(removed)} removed")
    same_points(case, "tubes", [(c.dxf.center.x, c.dxf.center.y) for c in kept + removed],
                [(float(r["x"]), float(r["y"])) for r in rows])
    captions = " ".join(t.dxf.text for t in entities(doc, "TEXT", lambda layer: True))
    check("最后管束276" in captions and "壳内经 600 mm" in captions, case, "caption")


with tempfile.TemporaryDirectory() as folder:
    for name, args in CASES:
        check_layout(name, args, folder)
    check_count(folder)

for failure in failures:
    print(failure)
print(f"{len(CASES) + 1} drawings read back, {len(failures)} failures")
sys.exit(1 if failures else 0)
