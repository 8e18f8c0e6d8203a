#!/usr/bin/env python3
"""Corpus check of the DXF reader against ezdxf: every DXF test drawing is opened by the program
(dxf_open_samples) and read by ezdxf. For every entity type, what the program kept (model space,
paper space, block contents and the attributes of references) and what its "Not loaded" line
lists must add up to ezdxf's count of that type; the line lists nothing else.

usage: dxf_corpus_check.py SAMPLER OUT_FILE DXF_DIR
Exits 77 (skipped) when the drawings or ezdxf are missing."""
import collections
import json
import os
import re
import subprocess
import sys

# Entity types the program keeps as one class with another.
SAME_CLASS = {"LWPOLYLINE": "POLYLINE", "ARC_DIMENSION": "DIMENSION"}


def bucket(name):
    """The type of a name: "LINE (invisible)" is a LINE, a "POLYLINE (polyface mesh)" a POLYLINE;
    the program keeps both polyline entities as one class, and arc length dimensions with the
    others."""
    name = name.split(" (")[0]
    return SAME_CLASS.get(name, name)


def layout_block(name):
    upper = name.upper()
    return upper.startswith("$") or upper == "*MODEL_SPACE" or upper.startswith("*PAPER_SPACE")


def file_block_names(path):
    """The names of the blocks the file's BLOCKS section defines (ezdxf adds arrow blocks of its
    own to older files)."""
    with open(path, encoding="latin-1", newline=None) as f:
        lines = [line.rstrip("\r\n") for line in f]
    names, section, last = set(), None, None
    for code, value in zip(lines[0::2], lines[1::2]):
        code = code.strip()
        if code == "0":
            if value == "ENDSEC":
                section = None
            last = value
        elif code == "2" and last == "SECTION":
            section = value
            last = None
        elif code == "2" and last == "BLOCK" and section == "BLOCKS":
            names.add(value.upper())
            last = None
    return names


def ezdxf_counts(path):
    """Entities by type in model space, every paper layout and the blocks of the file, with the
    attributes of every reference."""
    import ezdxf
    doc = ezdxf.readfile(path)
    counts = collections.Counter()
    spaces = [doc.modelspace()] + [l for l in doc.layouts if l.name != "Model"]
    in_file = file_block_names(path)
    spaces += [b for b in doc.blocks
               if not layout_block(b.name) and b.name.upper() in in_file]
    for space in spaces:
        for e in space:
            # A layout's own view (status 1) is the sheet, which the program keeps as the layout.
            if e.dxftype() == "VIEWPORT" and e.dxf.get("status", 0) == 1:
                continue
            counts[bucket(e.dxftype())] += 1
            if e.dxftype() == "INSERT":
                counts["ATTRIB"] += len(e.attribs)
    return counts


def not_loaded(history):
    counts = collections.Counter()
    for line in history:
        if line.startswith("Not loaded: "):
            for part in line[len("Not loaded: "):].split(", "):
                number, name = re.match(r"(\d+) (.+)", part).groups()
                counts[bucket(name)] += int(number)
    return counts


def main():
    sampler, out, folder = sys.argv[1:4]
    if not os.path.isdir(folder):
        print("test drawings not found: %s: skipped" % folder)
        return 77
    try:
        import ezdxf  # noqa: F401
    except ImportError:
        print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
        return 77
    os.makedirs(os.path.dirname(out), exist_ok=True)
    subprocess.run([sampler, out, folder], check=True)
    failed = 0
    with open(out) as f:
        for line in f:
            r = json.loads(line)
            problems = []
            if not r["read"]:
                problems.append("not read: %s" % r["history"])
            want = ezdxf_counts(os.path.join(folder, r["file"]))
            kept = collections.Counter({bucket(k): v for k, v in r["loaded"].items()})
            left = not_loaded(r["history"])
            for name in sorted(set(want) | set(kept) | set(left)):
                if want[name] != kept[name] + left[name]:
                    problems.append("%s: ezdxf %d, kept %d, not loaded %d" %
                                    (name, want[name], kept[name], left[name]))
            print("%s: %s %s" % (r["file"], "FAILED" if problems else "ok", dict(kept)))
            for p in problems:
                print("  " + p)
            failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
