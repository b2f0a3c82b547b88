#!/usr/bin/env python3
"""Write data/natal_notes/natal_notes.tsv from the authored sources.

Usage: python3 tools/natal_notes/generate.py [output-path]
The output is deterministic, so regenerating must leave the committed file
unchanged; check.py verifies that.
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import natal_data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else natal_data.TABLE
    table = natal_data.render_table(natal_data.Data())
    with open(out, "w", encoding="utf-8", newline="") as f:
        f.write(table)


if __name__ == "__main__":
    main()
