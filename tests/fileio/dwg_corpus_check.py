#!/usr/bin/env python3
"""Corpus check of the DWG import: every DWG test drawing is opened by the program
(dwg_open_samples) and, separately, decoded by the bridge, whose JSON is counted here by the
import's rules without the program's code. R13 to R2004 files must open with the same entity
counts per class; other releases must give their message and open nothing; every drawing saved
after an open (as DXF 2000) must read in ezdxf as AC1015 with a clean audit.

usage: dwg_corpus_check.py SAMPLER BRIDGE_DIR OUT_DIR DWG_DIR
Exits 77 (skipped) when the drawings, Node.js or the bridge are missing."""
import collections
import json
import os
import shutil
import subprocess
import sys

RELEASES = {"AC1021": "R2007", "AC1024": "R2010", "AC1027": "R2013", "AC1032": "R2018"}
SUPPORTED = {"AC1012", "AC1013", "AC1014", "AC1015", "AC1016", "AC1017", "AC1018"}
SIMPLE = {"LINE": "line", "POINT": "point", "CIRCLE": "circle", "ARC": "arc",
          "LWPOLYLINE": "polyline", "POLYLINE_2D": "polyline", "POLYLINE_3D": "polyline",
          "3DFACE": "polyline", "TEXT": "text", "MTEXT": "mtext",
          "DIMENSION_LINEAR": "dimension", "DIMENSION_ALIGNED": "dimension",
          "DIMENSION_ORDINATE": "dimension", "DIMENSION_ANG2LN": "dimension",
          "DIMENSION_ANG3PT": "dimension", "DIMENSION_RADIUS": "dimension",
          "DIMENSION_DIAMETER": "dimension"}


def expected_message(magic):
    if magic in SUPPORTED:
        return ""
    if magic in RELEASES:
        return "DWG file version %s is not supported at this moment!" % RELEASES[magic]
    return "DWG file versions <R13 are not supported at this moment!"


def hatch_has_edge(e):
    for path in e.get("paths", []):
        if path.get("flag", 0) & 2:
            n = len(path.get("polyline_paths", []))
            if n >= 2 or (n == 1 and path.get("closed")):
                return True
        elif any(s.get("curve_type") in (1, 2, 4) for s in path.get("segs", [])):
            return True
    return False


class Counter:
    """What the import keeps, by the rules of the conversion table."""

    def __init__(self, doc):
        self.blocks = {b["name"]: b for b in doc.get("BLOCK_HEADER", [])
                       if not b.get("anonymous") and b["name"] and b["name"][0] != "*"}
        self.filled = {}

    def block_kept(self, name, inside=()):
        if name not in self.blocks or name in inside:
            return False
        if name not in self.filled:
            kept = [e for e in self.blocks[name]["entities"]
                    if not e.get("invisible") and self.kind(e, inside + (name,))]
            self.filled[name] = bool(kept)
        return self.filled[name]

    def kind(self, e, inside=()):
        t = e.get("type")
        if e.get("unreadable"):
            return None
        if t in SIMPLE:
            return SIMPLE[t]
        if t == "SPLINE":
            return "spline" if len(e.get("ctrl_pts", [])) >= 2 else None
        if t == "HATCH":
            return "hatch" if hatch_has_edge(e) else None
        if t == "INSERT" and e.get("block_header") is not None:
            return "blockref" if self.block_kept(e["block_header"], inside) else None
        return None


def decode(bridge, path):
    run = subprocess.run(["node", "--liftoff-only", os.path.join(bridge, "decode.mjs"), path],
                         capture_output=True, check=True)
    return json.loads(run.stdout)


def audit(path):
    import ezdxf
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    version = [] if doc.dxfversion == "AC1015" else ["read as %s" % doc.dxfversion]
    return version + ["error %s: %s" % (e.code, e.message) for e in auditor.errors] + \
        ["repaired %s: %s" % (f.code, f.message) for f in auditor.fixes]


def main():
    sampler, bridge, out, folder = sys.argv[1:5]
    if not os.path.isdir(folder):
        print("test drawings not found: %s: skipped" % folder)
        return 77
    if shutil.which("node") is None or not os.path.isdir(os.path.join(bridge, "node_modules")):
        print("Node.js or the DWG bridge is not installed (scripts/setup): skipped")
        return 77
    try:
        import ezdxf  # noqa: F401
    except ImportError:
        print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
        return 77
    shutil.rmtree(out, ignore_errors=True)
    subprocess.run([sampler, out, folder], check=True)
    opened = {}
    with open(os.path.join(out, "opened.jsonl")) as f:
        for line in f:
            r = json.loads(line)
            opened[r["file"]] = r
    failed = 0
    for name in sorted(n for n in os.listdir(folder) if n.lower().endswith(".dwg")):
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            magic = f.read(6).decode("latin-1")
        got = opened.get(name)
        problems = []
        if got is None:
            problems.append("not opened at all")
        elif magic not in SUPPORTED:
            if got["read"] or got["message"] != expected_message(magic) or got["counts"]:
                problems.append("expected %r, got %s" % (expected_message(magic), got))
        else:
            doc = decode(bridge, path)
            counter = Counter(doc)
            want = collections.Counter()
            for e in doc.get("entities", []):
                if e.get("entmode") == 2 and not e.get("invisible"):
                    k = counter.kind(e)
                    if k:
                        want[k] += 1
            if not got["read"]:
                problems.append("not read: %s" % got["message"])
            elif dict(want) != got["counts"]:
                problems.append("counts %s, the bridge's JSON says %s" % (got["counts"], dict(want)))
            else:
                saved = os.path.join(out, os.path.splitext(name)[0] + ".dxf")
                problems += audit(saved)
        status = "ok" if not problems else "FAILED"
        print("%s (%s): %s %s" % (name, magic, status,
                                  got["counts"] if got and not problems else ""))
        for p in problems:
            print("  " + p)
        failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
