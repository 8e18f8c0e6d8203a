#!/usr/bin/env python3
"""Reads the drawing the modify script saved with ezdxf: no audit errors or repairs, and the
entities the script made where it made them.

usage: modified_drawing_check.py FILE.dxf
Prints what is wrong and exits 1; exits 77 (skipped) when ezdxf is not installed."""
import sys

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)


def known_ezdxf_fix(fix):
    """ezdxf 0.18 deletes the SEQEND of every polyline of a file without handles (R12), its own
    R12 files included: not a fault of the file."""
    return fix.message.startswith("Deleted SEQEND(") and "invalid owner handle" in fix.message


def near(a, b):
    return all(abs(x - y) < 1e-6 for x, y in zip(a, b))


def vertices(polyline):
    if polyline.dxftype() == "LWPOLYLINE":
        return [(p[0], p[1]) for p in polyline.get_points("xy")]
    return [(v.dxf.location.x, v.dxf.location.y) for v in polyline.vertices]


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    problems = ["audit: %s" % e.message for e in auditor.errors]
    problems += ["repaired: %s" % f.message for f in auditor.fixes if not known_ezdxf_fix(f)]
    msp = doc.modelspace()
    polylines = [vertices(p) for p in msp.query("LWPOLYLINE POLYLINE")]
    expected = {
        "trimmed": [(250, 30), (260, 30), (260, 40), (250, 40)],
        "offset": [(250, 27), (263, 27), (263, 43), (250, 43)],
    }
    for name, points in expected.items():
        if not any(len(p) == len(points) and near(sum(p, ()), sum(points, ())) for p in polylines):
            problems.append("no %s polyline %s among %s" % (name, points, polylines))
    if "Mark" not in doc.blocks or len(doc.blocks["Mark"].query("LINE")) != 2:
        problems.append("block Mark with two lines missing")
    inserts = sorted((i.dxf.insert.x, i.dxf.insert.y) for i in msp.query("INSERT")
                     if i.dxf.name == "Mark")
    if inserts != [(285, 10), (295, 10)]:
        problems.append("inserts of Mark at %s" % inserts)
    hatches = msp.query("HATCH")
    if len(hatches) != 1 or len(hatches[0].paths) != 1:
        problems.append("%d hatches" % len(hatches))
    dimensions = msp.query("DIMENSION")
    if len(dimensions) != 1:
        problems.append("%d dimensions" % len(dimensions))
    else:
        d = dimensions[0]
        if d.dxf.geometry not in doc.blocks or not near(d.dxf.defpoint2, (210, 50)) or \
                not near(d.dxf.defpoint3, (230, 50)):
            problems.append("dimension %s" % d.dxf.all_existing_dxf_attribs())
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
