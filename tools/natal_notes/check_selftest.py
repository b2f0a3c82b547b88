#!/usr/bin/env python3
"""Make sure check.py notices each kind of fault it is meant to catch.

Every case damages a copy of the generated table in one way and requires the
checker to report a problem mentioning the expected words; the undamaged
table must pass.  Exit status 0 when every case behaves, 1 otherwise.
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import check  # noqa: E402
import natal_data as nd  # noqa: E402


def damaged(rows, index, title=None, text=None):
    copy = list(rows)
    key, old_title, old_text = copy[index]
    copy[index] = (key, old_title if title is None else title, old_text if text is None else text)
    return copy


def main():
    rows = [(k, t, x) for k, t, x in (
        (key, *nd.compose(nd.Data(), i, key)) for i, key in enumerate(nd.all_keys()))]
    base = rows[10][2]
    portrait_line = base.split("\r\n")[0]
    cases = [
        ("undamaged table", rows, None),
        ("29 February missing", rows[:59] + rows[60:], "keys not in calendar order"),
        ("two days swapped", rows[:3] + [rows[4], rows[3]] + rows[5:], "keys not in calendar order"),
        ("epithet of ten characters", damaged(rows, 0, title="1月1日一二三四五六七八九十"), "epithet"),
        ("title without epithet", damaged(rows, 0, title="1月1日"), "title"),
        ("title with leading zero", damaged(rows, 0, title="01月1日务实的开拓者"), "title"),
        ("lone LF", damaged(rows, 10, text=base.replace("\r\n", "\n", 1)), "CR LF"),
        ("no final CR LF", damaged(rows, 10, text=base[:-2]), "does not end with CR LF"),
        ("paragraph indented by one space", damaged(rows, 10, text=base.replace("\u3000\u3000", "\u3000", 1)),
         "indented"),
        ("headings out of order", damaged(rows, 10, text=base.replace("\r\n健康\r\n", "\r\n建议X\r\n", 1)),
         "headings"),
        ("section missing", damaged(rows, 10, text=base.replace(
            "\r\n\r\n静思语\r\n" + base.split("\r\n\r\n静思语\r\n")[1].split("\r\n")[0], "", 1)), "headings"),
        ("text too short", damaged(rows, 10, text=base[:1500] + "\r\n"), "length"),
        ("text too long", damaged(rows, 10, text=base.replace(
            portrait_line, portrait_line + "很" * 700, 1)), "length"),
        ("paragraph in six entries (five copies and the original)", [
            (k, t, x.replace(x.split("\r\n")[1], portrait_line, 1) if i < 5 else x)
            for i, (k, t, x) in enumerate(rows)], "paragraph in 6 entries"),
        ("person on two days", damaged(rows, 11, text=rows[11][2].replace(
            sections_people(rows[11][2])[0], sections_people(rows[10][2])[0], 1)), "famous person"),
        ("maxim repeated", damaged(rows, 11, text=rows[11][2].replace(
            maxim_line(rows[11][2]), maxim_line(rows[10][2]), 1)), "maxim"),
        ("wrong tarot card", damaged(rows, 21, text=rows[21][2].replace("“愚者”", "“世界”", 1)), "tarot"),
    ]
    failures = 0
    for name, table, expected in cases:
        problems = check.table_problems(table)
        if expected is None:
            ok = not problems
        else:
            ok = any(expected in p for p in problems)
        if not ok:
            failures += 1
            print(f"FAIL {name}: expected {expected!r}, got {problems[:3]}")
        else:
            print(f"ok   {name}")
    return 1 if failures else 0


def sections_people(text):
    return check.sections(text)["名人"]


def maxim_line(text):
    return check.sections(text)["静思语"][0]


if __name__ == "__main__":
    sys.exit(main())
