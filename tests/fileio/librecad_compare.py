#!/usr/bin/env python3
"""Corpus check of the DXF 2000 save with another program: LibreCAD's dxf2pdf renders each source
drawing and the file Kestrel saved from it (through the sample writer) on the sheet the file
gives (from the paper limits the save keeps), both pictures scaled to the same size, and the two
hold the same ink: a dark pixel of one picture has a dark pixel of the other within
one pixel, for all but a few pixels. A drawing that differs while its model space holds what the
save does not keep yet (with ezdxf_compare.py's rules; angular and diameter dimensions lack their
points 15 and 16) is listed, not failed.

usage: librecad_compare.py SAMPLE_WRITER OUT_DIR DXF_DIR
Exits 77 (skipped) when LibreCAD, pdftoppm or ezdxf is not installed."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ezdxf_compare  # noqa: E402  (exits 77 when ezdxf is not installed)

SIZE = "600"         # pixels of the longer side of the sheet
DARK = 245           # grey levels below this are ink (light colours too)
MOST_UNMATCHED = 0.01  # of the ink of a picture


def render(dxf, folder):
    """The picture of a drawing as rows of grey levels."""
    os.makedirs(folder, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["librecad", "dxf2pdf", "-a", "-t", folder, dxf], env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)
    pdf = os.path.join(folder, os.path.splitext(os.path.basename(dxf))[0] + ".pdf")
    stem = pdf[:-4]
    subprocess.run(["pdftoppm", "-scale-to", SIZE, "-gray", "-singlefile", pdf, stem], check=True,
                   timeout=120)
    return read_pgm(stem + ".pgm")


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:  # P5, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return width, height, pixels


def ink(picture):
    width, height, pixels = picture
    return {(i % width, i // width) for i, v in enumerate(pixels) if v < DARK}


def unmatched(a, b):
    """Ink of a with no ink of b within one pixel."""
    return sum(1 for (x, y) in a
               if not any((x + dx, y + dy) in b for dx in (-1, 0, 1) for dy in (-1, 0, 1)))


# Dimension types whose definition points are all kept: rotated, aligned, radius, ordinate.
KEPT_DIMENSIONS = {0, 1, 4, 6}


def not_kept(path):
    """The first entity type of model space the save does not keep (a dimension with its type
    number), or None."""
    doc = ezdxf_compare.ezdxf.readfile(path)
    for e in doc.modelspace():
        if ezdxf_compare.kept(e, doc) is None:
            return e.dxftype()
        if e.dxftype() == "DIMENSION" and e.dxf.dimtype & 7 not in KEPT_DIMENSIONS:
            return "DIMENSION of type %d" % (e.dxf.dimtype & 7)
    return None


def main():
    writer, out, source_dir = sys.argv[1], sys.argv[2], sys.argv[3]
    if not shutil.which("librecad") or not shutil.which("pdftoppm"):
        print("LibreCAD or pdftoppm is not installed (scripts/setup installs them): skipped")
        return 77
    if not os.path.isdir(source_dir):
        print("test drawings not found: %s: skipped" % source_dir)
        return 77
    shutil.rmtree(out, ignore_errors=True)
    saved_dir = os.path.join(out, "saved")
    subprocess.run([writer, saved_dir, source_dir], check=True, stdout=subprocess.DEVNULL)
    failed = 0
    for name in sorted(os.listdir(source_dir)):
        if not name.lower().endswith(".dxf"):
            continue
        a = ink(render(os.path.join(source_dir, name), os.path.join(out, "source")))
        b = ink(render(os.path.join(saved_dir, "2000_" + name), os.path.join(out, "saved-pdf")))
        missing, extra = unmatched(a, b), unmatched(b, a)
        bad = missing > MOST_UNMATCHED * max(len(a), 1) or extra > MOST_UNMATCHED * max(len(b), 1)
        unkept = not_kept(os.path.join(source_dir, name)) if bad else None
        verdict = ("" if not bad else " DIFFERS" if not unkept
                   else " differs, holds %s not kept yet" % unkept)
        print("%s: %d ink pixels, saved %d; %d not drawn in the saved file, %d drawn only there%s"
              % (name, len(a), len(b), missing, extra, verdict))
        failed += bad and not unkept
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
