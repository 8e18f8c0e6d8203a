#!/usr/bin/env python3
"""Hatches, dimensions and splines of DXF files as ezdxf reads them, for the corpus test of
Kestrel's reading of them.

usage: ezdxf_curves.py FILE...
    prints one JSON object per file: {"file": ..., "model": [...], "paper": [...]}, the entities
    of model space and of the active paper space in file order, each as
    ["HATCH", solid fill, pattern lines, paths], ["DIMENSION", type, 1 when its block has
    entities] (ARC_DIMENSION as type 8) or ["SPLINE", degree, control points, fit points].
Exits 77 (skipped) when ezdxf is not installed."""
import json
import sys

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)


def described(doc, e):
    t = e.dxftype()
    if t == "HATCH":
        lines = len(e.pattern.lines) if e.pattern else 0
        return ["HATCH", int(e.dxf.solid_fill), lines, len(e.paths)]
    if t in ("DIMENSION", "ARC_DIMENSION"):
        block = doc.blocks.get(e.dxf.get("geometry", "")) if e.dxf.get("geometry") else None
        shown = int(block is not None and len(block) > 0)
        return ["DIMENSION", 8 if t == "ARC_DIMENSION" else e.dimtype, shown]
    if t == "SPLINE":
        return ["SPLINE", e.dxf.degree, len(e.control_points), len(e.fit_points)]
    return None


def main():
    for path in sys.argv[1:]:
        doc = ezdxf.readfile(path)
        out = {"file": path}
        for key, layout in (("model", doc.modelspace()), ("paper", doc.layouts.active_layout())):
            out[key] = [d for d in (described(doc, e) for e in layout) if d]
        print(json.dumps(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
