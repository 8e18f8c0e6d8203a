#!/usr/bin/env python3
"""Corpus check of the DXF 2000 save: each source drawing is opened and saved by Kestrel (through
the sample writer); ezdxf reads every saved file as AC1015 with a clean audit, and what ezdxf reads
of the source and of the saved file is the same for the entity types Kestrel keeps: the entities
by type in order, their geometry (to 1e-9 relative), texts, colours, layers and linetypes, the
attributes of references, in model space, the active paper space and the blocks (anonymous ones
too, but for those of dimensions, whose geometry is drawn anew); the layers with their flags, the
linetypes with their dashes, the blocks with their base points.

usage: ezdxf_compare.py SAMPLE_WRITER OUT_DIR [DXF_DIR]
The source drawings are those of DXF_DIR, the drawings ezdxf_texts.py makes, and the drawing of
every type the sample writer makes (compared with itself opened and saved again).
Exits 77 (skipped) when ezdxf is not installed."""
import math
import os
import re
import shutil
import subprocess
import sys

try:
    import ezdxf
    from ezdxf import path as ezpath
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ezdxf_texts  # noqa: E402

# Entity types Kestrel keeps, and what it makes of others it reads (compared by type alone).
KEPT = {"LINE", "CIRCLE", "ARC", "POINT", "LWPOLYLINE", "POLYLINE", "TEXT", "MTEXT", "INSERT",
        "DIMENSION", "HATCH", "SPLINE", "ELLIPSE", "SOLID", "TRACE", "3DFACE", "LEADER", "XLINE",
        "RAY", "ATTDEF"}
CONVERTED = {"ARC_DIMENSION": "DIMENSION"}
FIXED_LINETYPES = {"bylayer", "byblock", "continuous"}
LAYOUT_BLOCKS = ("*model_space", "*paper_space")
REL = 1e-9


def decoded(text):
    """A string with its \\U+XXXX escapes decoded (surrogate pairs joined)."""
    s = re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return s.encode("utf-16", "surrogatepass").decode("utf-16")


class Differences:
    def __init__(self):
        self.lines = []

    def add(self, where, what, a, b):
        if len(self.lines) < 40:
            self.lines.append("%s: %s: %r != %r" % (where, what, a, b))
        elif len(self.lines) == 40:
            self.lines.append("...")

    def real(self, where, what, a, b, scale=1.0):
        if not math.isclose(a, b, rel_tol=REL, abs_tol=REL * max(1.0, scale)):
            self.add(where, what, a, b)

    def reals(self, where, what, a, b, scale=1.0):
        a, b = list(a), list(b)
        if len(a) != len(b):
            self.add(where, what + " count", len(a), len(b))
            return
        for i, (x, y) in enumerate(zip(a, b)):
            self.real(where, "%s[%d]" % (what, i), x, y, scale)

    def same(self, where, what, a, b):
        if a != b:
            self.add(where, what, a, b)


def key(name):
    """A table name as compared: escapes decoded, letter case ignored."""
    return decoded(name).lower()


def xy(v):
    return (v[0], v[1])


def attr(e, name, default=None):
    return e.dxf.get(name, default)


def kept(e, doc):
    """'same', 'other' (compared by its type) or None (not kept)."""
    t = e.dxftype()
    if t in CONVERTED:
        return "other"
    if t not in KEPT:
        return None
    # Hidden entities are not read (ezdxf names a 3DFACE's invisible edges so).
    if t != "3DFACE" and attr(e, "invisible", 0):
        return None
    if t == "POLYLINE" and (e.dxf.flags & (16 | 64)):
        return None  # polyface and polygon meshes are not read
    if t == "POLYLINE" and (e.dxf.flags & 8):
        return "other"
    if t == "INSERT" and e.dxf.name not in doc.blocks:
        return None
    if t == "HATCH" and not any(True for _ in e.paths):
        return None
    return "same"


def widths(points, const):
    """Effective start and end widths of each vertex."""
    own = [(p[0], p[1]) for p in points]
    if any(s or w for s, w in own):
        return own
    return [(const, const)] * len(own)


def compare_common(d, where, a, b):
    d.same(where, "layer", key(a.dxf.layer), key(b.dxf.layer))
    d.same(where, "linetype", attr(a, "linetype", "BYLAYER").lower(),
           attr(b, "linetype", "BYLAYER").lower())
    if a.dxf.hasattr("true_color"):
        d.same(where, "true colour", a.dxf.true_color, attr(b, "true_color"))
    else:
        d.same(where, "colour", a.dxf.color, b.dxf.color)


def compare_lwpolyline(d, where, a, b, scale):
    pa, pb = list(a.get_points("xyseb")), list(b.get_points("xyseb"))
    d.same(where, "closed", a.closed, b.closed)
    d.same(where, "vertices", len(pa), len(pb))
    if len(pa) != len(pb):
        return
    d.reals(where, "x", [p[0] for p in pa], [p[0] for p in pb], scale)
    d.reals(where, "y", [p[1] for p in pa], [p[1] for p in pb], scale)
    d.reals(where, "bulge", [p[4] for p in pa], [p[4] for p in pb])
    wa = widths([(p[2], p[3]) for p in pa], attr(a, "const_width", 0.0))
    wb = widths([(p[2], p[3]) for p in pb], attr(b, "const_width", 0.0))
    d.reals(where, "widths", [w for p in wa for w in p], [w for p in wb for w in p])


def compare_polyline(d, where, a, b, scale):
    def vertices(p):
        start, end = attr(p, "default_start_width", 0.0), attr(p, "default_end_width", 0.0)
        return [(v.dxf.location[0], v.dxf.location[1], attr(v, "bulge", 0.0),
                 attr(v, "start_width", start), attr(v, "end_width", end))
                for v in p.vertices]
    va, vb = vertices(a), vertices(b)
    d.same(where, "closed", a.is_closed, b.is_closed)
    d.same(where, "vertices", len(va), len(vb))
    for k, name in enumerate(["x", "y", "bulge", "start width", "end width"]):
        d.reals(where, name, [v[k] for v in va], [v[k] for v in vb], scale)


def compare_text(d, where, a, b, scale):
    d.same(where, "text", decoded(a.dxf.text), decoded(b.dxf.text))
    d.reals(where, "insert", xy(a.dxf.insert), xy(b.dxf.insert), scale)
    for name, default in [("height", 2.5), ("rotation", 0.0), ("width", 1.0), ("oblique", 0.0)]:
        d.real(where, name, attr(a, name, default), attr(b, name, default))
    halign, valign = attr(a, "halign", 0), attr(a, "valign", 0)
    d.same(where, "justification", (halign, valign), (attr(b, "halign", 0), attr(b, "valign", 0)))
    if (halign or valign) and a.dxf.hasattr("align_point"):
        d.reals(where, "alignment point", xy(a.dxf.align_point), xy(b.dxf.align_point), scale)


def compare_mtext(d, where, a, b, scale):
    d.same(where, "text", decoded(a.text), decoded(b.text))
    d.reals(where, "insert", xy(a.dxf.insert), xy(b.dxf.insert), scale)
    d.real(where, "height", attr(a, "char_height", 2.5), attr(b, "char_height", 2.5))
    d.real(where, "rotation", a.get_rotation() % 360.0, b.get_rotation() % 360.0)
    d.same(where, "attachment", attr(a, "attachment_point", 1), attr(b, "attachment_point", 1))
    d.real(where, "width", attr(a, "width", 0.0), attr(b, "width", 0.0))
    d.real(where, "line spacing", attr(a, "line_spacing_factor", 1.0),
           attr(b, "line_spacing_factor", 1.0))


def compare_dimension(d, where, a, b, scale):
    # The type with the flag of ordinates along x; the text of other types is placed anew.
    d.same(where, "type", a.dxf.dimtype & 71, b.dxf.dimtype & 71)
    d.same(where, "style", a.dxf.dimstyle.lower(), b.dxf.dimstyle.lower())
    names = ["defpoint", "defpoint2", "defpoint3"]
    if a.dxf.dimtype & 7 == 6:
        names.append("text_midpoint")
    if a.dxf.dimtype & 7 == 4:
        names.append("defpoint4")
    for name in names:
        if a.dxf.hasattr(name):
            d.reals(where, name, xy(a.dxf.get(name)), xy(b.dxf.get(name, (0, 0))), scale)


def path_vertices(hatch):
    out = []
    for p in ezpath.from_hatch(hatch):
        out.append([c for v in p.control_vertices() for c in (v.x, v.y)])
    return out


def pattern_lines(hatch):
    if hatch.dxf.solid_fill or hatch.pattern is None:
        return []
    return [[line.angle, *line.base_point, *line.offset, *line.dash_length_items]
            for line in hatch.pattern.lines]


def compare_hatch(d, where, a, b, scale):
    pa, pb = path_vertices(a), path_vertices(b)
    d.same(where, "paths", len(pa), len(pb))
    for i, (x, y) in enumerate(zip(pa, pb)):
        d.reals(where, "path %d" % i, x, y, scale)
    d.same(where, "pattern", (a.dxf.solid_fill, a.dxf.pattern_name.upper()),
           (b.dxf.solid_fill, b.dxf.pattern_name.upper()))
    la, lb = pattern_lines(a), pattern_lines(b)
    d.same(where, "pattern lines", len(la), len(lb))
    for i, (x, y) in enumerate(zip(la, lb)):
        d.reals(where, "pattern line %d" % i, x, y, scale)


def compare_spline(d, where, a, b, scale):
    ca = [c for v in a.control_points for c in xy(v)]
    cb = [c for v in b.control_points for c in xy(v)]
    d.reals(where, "control points", ca, cb, scale)
    d.same(where, "knots", len(a.knots), len(b.knots))
    for i, (x, y) in enumerate(zip(a.knots, b.knots)):
        if not math.isclose(x, y, rel_tol=1e-6, abs_tol=1e-6):  # kept in single precision
            d.add(where, "knot %d" % i, x, y)


def compare_insert(d, where, a, b, scale):
    """The block, the placement, the rows and columns, and the attributes."""
    d.same(where, "block", key(a.dxf.name), key(b.dxf.name))
    d.reals(where, "insert", xy(a.dxf.insert), xy(b.dxf.insert), scale)
    for name, default in [("xscale", 1.0), ("yscale", 1.0), ("rotation", 0.0),
                          ("column_spacing", 0.0), ("row_spacing", 0.0)]:
        d.real(where, name, attr(a, name, default), attr(b, name, default))
    for name in ["column_count", "row_count"]:
        d.same(where, name, attr(a, name, 1), attr(b, name, 1))
    kept_a = [x for x in a.attribs if not attr(x, "invisible", 0)]
    d.same(where, "attributes", len(kept_a), len(b.attribs))
    for i, (x, y) in enumerate(zip(kept_a, b.attribs)):
        at = "%s attribute %d" % (where, i)
        compare_common(d, at, x, y)
        compare_text(d, at, x, y, scale)
        d.same(at, "tag", x.dxf.tag, y.dxf.tag)
        d.same(at, "flags", attr(x, "flags", 0), attr(y, "flags", 0))


# The points and values of the other kept types: name, default.
SHAPE_POINTS = {
    "ELLIPSE": ["center", "major_axis"], "SOLID": ["vtx0", "vtx1", "vtx2", "vtx3"],
    "TRACE": ["vtx0", "vtx1", "vtx2", "vtx3"], "3DFACE": ["vtx0", "vtx1", "vtx2", "vtx3"],
    "XLINE": ["start", "unit_vector"], "RAY": ["start", "unit_vector"]}
SHAPE_VALUES = {"ELLIPSE": [("ratio", 1.0), ("start_param", 0.0), ("end_param", math.tau)]}
SHAPE_FLAGS = {"3DFACE": [("invisible", 0)],
               "LEADER": [("has_arrowhead", 1), ("path_type", 0), ("dimstyle", "Standard")]}


def compare_shape(d, where, a, b, scale):
    t = a.dxftype()
    for name in SHAPE_POINTS.get(t, []):
        # A triangle may leave out its fourth corner, which is its third.
        default = a.dxf.get("vtx2") if name == "vtx3" else (0, 0)
        d.reals(where, name, xy(attr(a, name, default)), xy(attr(b, name, default)), scale)
    for name, default in SHAPE_VALUES.get(t, []):
        d.real(where, name, attr(a, name, default), attr(b, name, default))
    for name, default in SHAPE_FLAGS.get(t, []):
        x, y = attr(a, name, default), attr(b, name, default)
        d.same(where, name, x.lower() if isinstance(x, str) else x,
               y.lower() if isinstance(y, str) else y)
    if t == "LEADER":
        d.reals(where, "vertices", [c for v in a.vertices for c in xy(v)],
                [c for v in b.vertices for c in xy(v)], scale)


def compare_entity(d, where, a, b, scale):
    t = a.dxftype()
    compare_common(d, where, a, b)
    if t == "LINE":
        d.reals(where, "start", xy(a.dxf.start), xy(b.dxf.start), scale)
        d.reals(where, "end", xy(a.dxf.end), xy(b.dxf.end), scale)
    elif t in ("CIRCLE", "ARC"):
        d.reals(where, "centre", xy(a.dxf.center), xy(b.dxf.center), scale)
        d.real(where, "radius", a.dxf.radius, b.dxf.radius, scale)
        if t == "ARC":
            d.real(where, "start angle", a.dxf.start_angle, b.dxf.start_angle)
            d.real(where, "end angle", a.dxf.end_angle, b.dxf.end_angle)
    elif t == "POINT":
        d.reals(where, "location", xy(a.dxf.location), xy(b.dxf.location), scale)
    elif t == "LWPOLYLINE":
        compare_lwpolyline(d, where, a, b, scale)
    elif t == "POLYLINE":
        compare_polyline(d, where, a, b, scale)
    elif t == "TEXT":
        compare_text(d, where, a, b, scale)
    elif t == "MTEXT":
        compare_mtext(d, where, a, b, scale)
    elif t == "INSERT":
        compare_insert(d, where, a, b, scale)
    elif t in ("ELLIPSE", "SOLID", "TRACE", "3DFACE", "XLINE", "RAY", "LEADER"):
        compare_shape(d, where, a, b, scale)
    elif t == "ATTDEF":
        compare_text(d, where, a, b, scale)
        for name in ["tag", "prompt", "flags"]:
            d.same(where, name, attr(a, name), attr(b, name))
    elif t == "DIMENSION":
        compare_dimension(d, where, a, b, scale)
    elif t == "HATCH":
        compare_hatch(d, where, a, b, scale)
    elif t == "SPLINE":
        compare_spline(d, where, a, b, scale)


def compare_entities(d, where, doc_a, layout_a, layout_b, scale):
    expected = [(e, kept(e, doc_a)) for e in layout_a]
    expected = [(e, k) for e, k in expected if k]
    saved = list(layout_b)
    counts_a, counts_b = {}, {}
    for e, k in expected:
        t = CONVERTED.get(e.dxftype(), e.dxftype()) if k == "other" else e.dxftype()
        counts_a[t] = counts_a.get(t, 0) + 1
    for e in saved:
        counts_b[e.dxftype()] = counts_b.get(e.dxftype(), 0) + 1
    d.same(where, "entities by type", counts_a, counts_b)
    if len(expected) != len(saved):
        return
    for i, ((a, k), b) in enumerate(zip(expected, saved)):
        at = "%s entity %d %s" % (where, i, a.dxftype())
        want = CONVERTED.get(a.dxftype(), a.dxftype()) if k == "other" else a.dxftype()
        if want != b.dxftype():
            d.add(at, "type", want, b.dxftype())
        elif k == "same":
            compare_entity(d, at, a, b, scale)


def file_block_names(path, encoding):
    """The blocks a file defines itself (ezdxf adds arrowheads to older files)."""
    names, in_blocks, in_header, code = set(), False, False, None
    with open(path, "rb") as f:
        lines = f.read().decode(encoding, errors="replace").splitlines()
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "2" and value == "BLOCKS":
            in_blocks = True
        elif code == "0" and value == "ENDSEC":
            in_blocks = False
        elif in_blocks and code == "0":
            in_header = value == "BLOCK"
        elif in_header and code == "2":
            names.add(key(value))
            in_header = False
    return names


def compare_tables(d, a, b, names_a):
    def layers(doc):
        out = {}
        for layer in doc.layers:
            out[key(layer.dxf.name)] = (
                abs(layer.dxf.color), layer.is_off(), layer.is_frozen(), layer.is_locked(),
                attr(layer, "true_color"), attr(layer, "linetype", "Continuous").lower())
        return out
    d.same("tables", "layers", layers(a), layers(b))

    def linetypes(doc):
        out = {}
        for lt in doc.linetypes:
            name = key(lt.dxf.name)
            if name in FIXED_LINETYPES:
                continue
            tags = lt.pattern_tags.tags if lt.pattern_tags else []
            dashes = [round(t.value, 9) for t in tags if t.code == 49]
            out[name] = (attr(lt, "description", ""), dashes)
        return out
    d.same("tables", "linetypes", linetypes(a), linetypes(b))

    def blocks(doc, names):
        return {key(blk.name): xy(blk.block.dxf.base_point)
                for blk in doc.blocks
                if key(blk.name) in names and not key(blk.name).startswith(LAYOUT_BLOCKS)}
    ba, bb = blocks(a, names_a), blocks(b, names_a)
    d.same("tables", "named blocks", sorted(ba), sorted(bb))
    for name in set(ba) & set(bb):
        d.reals("block " + name, "base point", ba[name], bb[name])


def scale_of(doc):
    """The size of the drawing, for absolute tolerances near zero."""
    try:
        lo, hi = doc.header.get("$EXTMIN"), doc.header.get("$EXTMAX")
        size = max(abs(c) for c in list(lo)[:2] + list(hi)[:2])
        return size if size < 1e19 else 1.0
    except (TypeError, ValueError):
        return 1.0


def compare(source, saved):
    a, b = ezdxf.readfile(source), ezdxf.readfile(saved)
    d = Differences()
    scale = max(scale_of(a), 1.0)
    names_a = file_block_names(source, a.encoding)
    compare_tables(d, a, b, names_a)
    compare_entities(d, "model space", a, a.modelspace(), b.modelspace(), scale)
    paper_a = a.layouts.active_layout()
    paper_b = b.layouts.active_layout()
    compare_entities(d, "paper space", a, paper_a, paper_b, scale)
    for blk in a.blocks:
        # Dimension blocks (*D) hold the geometry a dimension is drawn with anew.
        if key(blk.name).startswith(("*d",) + LAYOUT_BLOCKS):
            continue
        if blk.name not in b.blocks:
            if blk.name.startswith("*") and key(blk.name) in names_a:
                d.add("block " + blk.name, "block", blk.name, None)
            continue
        compare_entities(d, "block " + blk.name, a, blk, b.blocks[blk.name], scale)
    return d.lines


def audit(path):
    """Problems of a saved file as ezdxf reads it."""
    try:
        doc = ezdxf.readfile(path)
    except Exception as e:  # any exception is a file ezdxf cannot read
        return ["not readable: %s" % e]
    problems = []
    if doc.dxfversion != "AC1015":
        problems.append("read as %s" % doc.dxfversion)
    auditor = doc.audit()
    problems += ["audit error %s: %s" % (e.code, e.message) for e in auditor.errors]
    problems += ["audit fix %s: %s" % (e.code, e.message) for e in auditor.fixes]
    return problems


def main():
    writer, out = sys.argv[1], sys.argv[2]
    shutil.rmtree(out, ignore_errors=True)
    generated = os.path.join(out, "generated")
    ezdxf_texts.make(generated)
    pairs = []  # (source, saved)
    sources = [generated] + sys.argv[3:4]
    for i, folder in enumerate(sources):
        if not os.path.isdir(folder):
            print("test drawings not found: %s: skipped" % folder)
            return 77
        saved_dir = os.path.join(out, "saved%d" % i)
        subprocess.run([writer, saved_dir, folder], check=True, stdout=subprocess.DEVNULL)
        for name in sorted(os.listdir(folder)):
            if name.lower().endswith(".dxf"):
                pairs.append((os.path.join(folder, name),
                              os.path.join(saved_dir, "2000_" + name)))
    again = os.path.join(out, "again")
    subprocess.run([writer, again, os.path.join(out, "saved0")], check=True,
                   stdout=subprocess.DEVNULL)
    pairs.append((os.path.join(out, "saved0", "2000_every_type.dxf"),
                  os.path.join(again, "2000_2000_every_type.dxf")))
    failed = 0
    for source, saved in pairs:
        problems = audit(saved)
        if not problems:
            problems = compare(source, saved)
        print("%s: %s" % (os.path.basename(source), "same" if not problems else "differs"))
        for p in problems:
            print("  " + p)
        failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
