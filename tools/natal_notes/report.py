#!/usr/bin/env python3
"""Print the length of every birthday note in UTF-16 units and the total.

Usage: python3 tools/natal_notes/report.py [table.tsv]
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import natal_data


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else natal_data.TABLE
    rows = natal_data.read_table(path)
    total = 0
    lengths = []
    for key, title, text in rows:
        units = natal_data.utf16_units(text)
        lengths.append(units)
        total += units
        print(f"{key:>4}  {units:>5}  {title}")
    print(f"entries {len(rows)}  total {total}  min {min(lengths)}  max {max(lengths)}"
          f"  mean {total / len(rows):.0f}")


if __name__ == "__main__":
    main()
