#!/usr/bin/env python3
"""Interop check: DXF files saved by Kestrel are read by an independent reader (ezdxf) as the
release they declare (R12 for "r12_" files, AC1015 for "2000_" files), and its audit reports no
errors and has nothing to repair. Runs the sample writer first, then reads every file it wrote.

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


def check_every_type(doc, count, r12):
    """What ezdxf reads of the drawing holding every type; 1 when something is off."""
    polyline = "POLYLINE" if r12 else "LWPOLYLINE"
    problems = []
    blocks = [b.name for b in doc.blocks if not b.name.startswith("*")]
    layers = sorted(layer.dxf.name for layer in doc.layers)
    # R12 has no ELLIPSE, XLINE, RAY or LEADER.
    later = [] if r12 else ["ELLIPSE", "XLINE", "RAY", "LEADER"]
    if count != 26 + len(later) or blocks != ["Baum", "Schild"] or \
            "*U7" not in doc.blocks or "Mauerwerk \u00e4\u00df" not in layers:
        problems.append("%d entities, blocks %s, layers %s" % (count, blocks, layers))
    msp = doc.modelspace()
    types = sorted(e.dxftype() for e in msp)
    expected = sorted(["LINE", "LINE", "CIRCLE", "ARC", "POINT", polyline, polyline,
                       "POLYLINE", polyline, "TEXT", "TEXT", "MTEXT", "SPLINE", "HATCH", "INSERT",
                       "DIMENSION", "DIMENSION", "DIMENSION", "SOLID", "TRACE", "3DFACE",
                       "INSERT", "INSERT", "INSERT"] + later)
    if types != expected:
        problems.append("model space types %s" % types)
    polylines = msp.query(polyline)[:2]
    if r12:
        bulges = [round(v.dxf.bulge, 6) for v in polylines[1].vertices]
        closed = [p.is_closed for p in polylines]
    else:
        bulges = [round(p[4], 6) for p in polylines[1].get_points("xyseb")]
        closed = [p.closed for p in polylines]
    if [len(p) for p in polylines] != [3, 3] or bulges != [0.5, -1.0, 0.0] or \
            closed != [False, True]:
        problems.append("polyline vertices, bulges or closed flags")
    if msp.query("LINE")[1].dxf.color != 0:
        problems.append("by block colour")
    if [t.dxf.text for t in msp.query("TEXT")] != ["Stra\u00dfe 12 {Nord}", "Mitte"]:
        problems.append("texts %r" % [t.dxf.text for t in msp.query("TEXT")])
    if not r12:
        problems += check_2000_properties(doc, msp)
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
    inserts = [(i.dxf.name, i.dxf.get("xscale", 1.0), i.dxf.get("rotation", 0.0),
                i.dxf.get("column_count", 1), i.dxf.get("row_count", 1),
                [(a.dxf.tag, a.dxf.text, a.dxf.insert.vec2) for a in i.attribs])
               for i in msp.query("INSERT")]
    if inserts != [("Baum", 2.0, 30.0, 1, 1, []), ("Schild", 1.0, 0.0, 1, 1,
                                                    [("NUMMER", "A-17", (131, 1))]),
                   ("Baum", 1.0, 0.0, 2, 3, []), ("*U7", 1.0, 0.0, 1, 1, [])]:
        problems.append("inserts %s" % inserts)
    definitions = [(a.dxf.tag, a.dxf.prompt, a.dxf.text) for a in doc.blocks["Schild"]
                   if a.dxftype() == "ATTDEF"]
    if definitions != [("NUMMER", "Nummer?", "0")]:
        problems.append("attribute definitions %s" % definitions)
    faces = [(f.dxf.vtx3.vec2, f.dxf.invisible) for f in msp.query("3DFACE")]
    if faces != [((90, 5), 2)]:
        problems.append("3D faces %s" % faces)
    dimensions = [(d.dxf.dimtype & ~32, d.dxf.geometry in doc.blocks)
                  for d in msp.query("DIMENSION")]
    if dimensions != [(0, True), (1, True), (70, True)]:
        problems.append("dimensions (type, block) %s" % dimensions)
    for problem in problems:
        print("  unexpected contents: " + problem)
    return 1 if problems else 0


def check_2000_properties(doc, msp):
    """What the DXF 2000 file keeps beyond R12: block base points with the entities in block
    coordinates, linetypes, layer flags and true colours, widths, justification, ellipses and
    leaders."""
    problems = []
    tree = doc.blocks["Baum"]
    crown = tree.query("CIRCLE")[0]
    if tree.block.dxf.base_point.vec2 != (5, 5) or crown.dxf.center.vec2 != (5, 5):
        problems.append("block base %s, circle %s" % (tree.block.dxf.base_point,
                                                      crown.dxf.center))
    dashed = doc.linetypes.get("DASHED")
    if dashed is None or dashed.dxf.description != "Dashed __ __ __":
        problems.append("linetype DASHED")
    old = doc.layers.get("Bestand")
    if not (old.is_frozen() and old.is_locked() and old.is_off()) or \
            old.dxf.true_color != 0x804020 or old.dxf.linetype != "DASHED":
        problems.append("layer Bestand %s" % old.dxf.all_existing_dxf_attribs())
    heavy = msp.query("POLYLINE")[0]
    if [(v.dxf.start_width, v.dxf.end_width) for v in heavy.vertices] != \
            [(0.5, 1.0), (1.0, 0.0), (0.0, 0.0)]:
        problems.append("vertex widths")
    wide = msp.query("LWPOLYLINE")[2]
    if wide.dxf.const_width != 0.25 or wide.dxf.linetype != "DASHED":
        problems.append("constant width or linetype")
    centred = msp.query("TEXT")[1]
    if (centred.dxf.halign, centred.dxf.valign, centred.dxf.align_point.vec2,
            centred.dxf.height, centred.dxf.width) != (1, 2, (45, -10), 0.2965325, 0.8):
        problems.append("justified text %s" % centred.dxf.all_existing_dxf_attribs())
    ellipse = msp.query("ELLIPSE")[0]
    if (ellipse.dxf.major_axis.vec2, ellipse.dxf.ratio, ellipse.dxf.start_param,
            ellipse.dxf.end_param) != ((0, 6), 0.5, 5.5, 7.5):
        problems.append("ellipse %s" % ellipse.dxf.all_existing_dxf_attribs())
    leader = msp.query("LEADER")[0]
    if [tuple(v)[:2] for v in leader.vertices] != [(110, 0), (115, 5), (120, 5)] or \
            leader.dxf.dimstyle != "Standard":
        problems.append("leader %s" % leader.dxf.all_existing_dxf_attribs())
    return problems


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
        r12 = name.startswith("r12_")
        if doc.dxfversion != ("AC1009" if r12 else "AC1015"):
            print("%s: read as %s" % (name, doc.dxfversion))
            failed += 1
        auditor = doc.audit()
        fixes = [fix for fix in auditor.fixes if not (r12 and known_ezdxf_fix(fix))]
        count = sum(len(layout) for layout in doc.layouts)
        print("%s: %d entities, %d audit errors, %d fixes" %
              (name, count, len(auditor.errors), len(fixes)))
        for error in auditor.errors:
            print("  error %s: %s" % (error.code, error.message))
        for fix in fixes:
            print("  repaired %s: %s" % (fix.code, fix.message))
        if auditor.errors or fixes:
            failed += 1
        if name.endswith("_every_type.dxf"):
            failed += check_every_type(doc, count, r12)
    if not files:
        print("no files were written")
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
