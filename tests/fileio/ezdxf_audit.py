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
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf): skipped")
    sys.exit(77)


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
        count = sum(len(layout) for layout in doc.layouts)
        print("%s: %d entities, %d audit errors, %d fixes" %
              (name, count, len(auditor.errors), len(auditor.fixes)))
        for error in auditor.errors:
            print("  error %s: %s" % (error.code, error.message))
        for fix in auditor.fixes:
            print("  repaired %s: %s" % (fix.code, fix.message))
        if auditor.errors or auditor.fixes:
            failed += 1
        if name == "every_type.dxf":
            blocks = [b.name for b in doc.blocks if not b.name.startswith("*")]
            layers = sorted(layer.dxf.name for layer in doc.layers)
            if count != 7 or blocks != ["Baum"] or "Mauerwerk \u00e4\u00df" not in layers:
                print("  unexpected contents: %d entities, blocks %s, layers %s" %
                      (count, blocks, layers))
                failed += 1
    if not files:
        print("no files were written")
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
