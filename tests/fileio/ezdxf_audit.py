#!/usr/bin/env python3
"""Interop check: DXF files saved by Kestrel are read by an independent reader (ezdxf) whose
audit reports no errors and has nothing to repair. Runs the sample writer first, then reads
every file it wrote.

usage: ezdxf_audit.py SAMPLE_WRITER OUT_DIR [DXF_DIR]
Exits 77 (skipped) when ezdxf is not installed."""
import os
import shutil
import subprocess
import sys

try:
    import ezdxf
    from ezdxf.audit import AuditError
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)


def known_ezdxf_fix(fix):
    """ezdxf 0.18 deletes the SEQEND of every polyline in a block of a file without a header
    (handle-free, as R12), its own R12 files included: not a fault of the file."""
    return fix.code == AuditError.INVALID_OWNER_HANDLE and \
        fix.message.startswith("Deleted SEQEND(")


def check_every_type(doc, count):
    """What ezdxf reads of the drawing holding every type; 1 when something is off."""
    problems = []
    blocks = [b.name for b in doc.blocks if not b.name.startswith("*")]
    layers = sorted(layer.dxf.name for layer in doc.layers)
    if count != 17 or blocks != ["Baum"] or "Mauerwerk \u00e4\u00df" not in layers:
        problems.append("%d entities, blocks %s, layers %s" % (count, blocks, layers))
    msp = doc.modelspace()
    types = sorted(e.dxftype() for e in msp)
    expected = sorted(["LINE", "LINE", "CIRCLE", "ARC", "POINT", "POLYLINE", "POLYLINE",
                       "TEXT", "MTEXT", "SPLINE", "HATCH", "INSERT", "DIMENSION", "DIMENSION",
                       "DIMENSION"])
    if types != expected:
        problems.append("model space types %s" % types)
    polylines = msp.query("POLYLINE")
    if [len(p) for p in polylines] != [3, 3] or \
            [round(v.dxf.bulge, 6) for v in polylines[1].vertices] != [0.5, -1.0, 0.0]:
        problems.append("polyline vertices or bulges")
    if msp.query("LINE")[1].dxf.color != 0:
        problems.append("by block colour")
    for text in msp.query("TEXT"):
        if text.dxf.text != "Stra\u00dfe 12 {Nord}":
            problems.append("text %r" % text.dxf.text)
    for mtext in msp.query("MTEXT"):
        if mtext.plain_text() != "x" * 200 + " C:\\data {a} " + "y" * 40:
            problems.append("multi-line text %r" % mtext.plain_text())
    for spline in msp.query("SPLINE"):
        if len(spline.control_points) != 4 or list(spline.knots) != [0, 0, 0, 0, 1, 1, 1, 1]:
            problems.append("spline %s %s" % (spline.control_points, list(spline.knots)))
    for hatch in msp.query("HATCH"):
        paths = [(p.type.name, [e.type.name for e in getattr(p, "edges", [])])
                 for p in hatch.paths]
        want = [("POLYLINE", []), ("EDGE", ["ARC", "ARC", "SPLINE"]), ("EDGE", ["ARC"])]
        if paths != want:
            problems.append("hatch paths %s" % paths)
    for insert in msp.query("INSERT"):
        if (insert.dxf.name, insert.dxf.xscale, insert.dxf.rotation) != ("Baum", 2.0, 30.0):
            problems.append("insert %s" % insert.dxf.all_existing_dxf_attribs())
    dimensions = [(d.dxf.dimtype, d.dxf.geometry in doc.blocks) for d in msp.query("DIMENSION")]
    if dimensions != [(0, True), (1, True), (70, True)]:
        problems.append("dimensions (type, block) %s" % dimensions)
    for problem in problems:
        print("  unexpected contents: " + problem)
    return 1 if problems else 0


def main():
    writer, out = sys.argv[1], sys.argv[2]
    shutil.rmtree(out, ignore_errors=True)
    args = [writer, out] + sys.argv[3:4]
    if len(sys.argv) > 3 and not os.path.isdir(sys.argv[3]):
        print("test drawings not found: %s: skipped" % sys.argv[3])
        return 77
    subprocess.run(args, check=True)
    files = sorted(f for f in os.listdir(out) if f.endswith(".dxf"))
    failed = 0
    for name in files:
        path = os.path.join(out, name)
        try:
            doc = ezdxf.readfile(path)
        except Exception as e:  # any exception is a file ezdxf cannot read
            print("%s: not readable: %s" % (name, e))
            failed += 1
            continue
        auditor = doc.audit()
        fixes = [fix for fix in auditor.fixes if not known_ezdxf_fix(fix)]
        count = sum(len(layout) for layout in doc.layouts)
        print("%s: %d entities, %d audit errors, %d fixes" %
              (name, count, len(auditor.errors), len(fixes)))
        for error in auditor.errors:
            print("  error %s: %s" % (error.code, error.message))
        for fix in fixes:
            print("  repaired %s: %s" % (fix.code, fix.message))
        if auditor.errors or fixes:
            failed += 1
        if name == "every_type.dxf":
            failed += check_every_type(doc, count)
    if not files:
        print("no files were written")
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
