#!/usr/bin/env python3
"""The texts of DXF files as ezdxf reads them, for the corpus test of Kestrel's texts.

usage: ezdxf_texts.py make DIR      writes drawings made with ezdxf into DIR, prints their paths
       ezdxf_texts.py strings FILE...
           prints one JSON object per file: {"file": ..., "texts": [[type, text], ...]} with the
           model space TEXT (plain_text()) and MTEXT (plain_text()) in file order; \\U+XXXX
           escapes, which ezdxf leaves as they are, are decoded here.
Exits 77 (skipped) when ezdxf is not installed."""
import json
import os
import re
import sys

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)


def decode_escapes(s):
    def one(m):
        return chr(int(m.group(1), 16))
    s = re.sub(r"\\U\+([0-9A-Fa-f]{4})", one, s)
    # surrogate pairs written as two escapes
    return s.encode("utf-16", "surrogatepass").decode("utf-16")


def make(out):
    os.makedirs(out, exist_ok=True)
    made = []

    doc = ezdxf.new("R2013")
    doc.layers.add("Mauerwerk \u0141\u00f3d\u017a")
    block = doc.blocks.new("Baum \u00c4")
    block.add_circle((0, 0), 1)
    msp = doc.modelspace()
    for text in ["Caf\u00e9 M\u00fcller 25\u20ac", "\u0141\u00f3d\u017a Stra\u00dfe",
                 "\u4e2d\u6587 \u6587\u5b57", "%%c50 %%d5 %%p0.1", "\u041f\u043b\u0430\u043d"]:
        msp.add_text(text, dxfattribs={"layer": "Mauerwerk \u0141\u00f3d\u017a", "height": 2.5})
    for h in range(6):
        for v in range(4):
            msp.add_text("J%d%d" % (h, v), dxfattribs={
                "halign": h, "valign": v, "insert": (h * 10, v * 10),
                "align_point": (h * 10 + 5, v * 10 + 1), "width": 0.8, "oblique": 10})
    msp.add_mtext("Erste Zeile\\PZweite {\\C1;rote} Zeile\\P\\fArial|b1;Fett \u00fcber \\H2x;gro\u00df",
                  dxfattribs={"width": 40, "attachment_point": 5})
    msp.add_blockref("Baum \u00c4", (50, 50))
    path = os.path.join(out, "ezdxf_r2013_unicode.dxf")
    doc.saveas(path)
    made.append(path)

    for version, page, texts, name in [
            ("R12", "ANSI_1251", ["\u041f\u043b\u0430\u043d \u044d\u0442\u0430\u0436\u0430",
                                  "\u0421\u0435\u0432\u0435\u0440"], "ezdxf_r12_cyrillic.dxf"),
            ("R2000", "ANSI_1253", ["\u03a3\u03c7\u03ad\u03b4\u03b9\u03bf"], "ezdxf_r2000_greek.dxf"),
            ("R2000", "ANSI_1250", ["\u0141\u00f3d\u017a \u017c\u00f3\u0142w"], "ezdxf_r2000_polish.dxf")]:
        doc = ezdxf.new(version)
        doc.header["$DWGCODEPAGE"] = page
        doc.encoding = {"ANSI_1251": "cp1251", "ANSI_1253": "cp1253", "ANSI_1250": "cp1250"}[page]
        msp = doc.modelspace()
        for text in texts:
            msp.add_text(text)
        path = os.path.join(out, name)
        doc.saveas(path)
        made.append(path)
    for path in made:
        print(path)


def strings(files):
    for path in files:
        doc = ezdxf.readfile(path)
        texts = []
        for e in doc.modelspace():
            if e.dxftype() == "TEXT":
                texts.append(["TEXT", decode_escapes(e.plain_text())])
            elif e.dxftype() == "MTEXT":
                texts.append(["MTEXT", decode_escapes(e.plain_text())])
        print(json.dumps({"file": path, "texts": texts}))


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "make":
        make(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "strings":
        strings(sys.argv[2:])
    else:
        print(__doc__)
        sys.exit(2)
