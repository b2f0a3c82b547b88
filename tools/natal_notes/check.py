#!/usr/bin/env python3
"""Check the birthday-notes table source against the form the viewer relies on.

Usage: python3 tools/natal_notes/check.py [table.tsv]

Walks all 366 entries and reports every problem found: keys and order, title
form and epithet length, CR LF line ends, paragraph indentation, the eight
section headings in order, the length of each text, paragraphs shared by more
than five entries, famous people named twice, repeated maxims, the tarot card
and lucky number of each day.  Without an argument it also regenerates the
table from data/natal_notes/ and requires the committed file to be identical.
Exit status 0 when everything holds, 1 otherwise.
"""

import collections
import re
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import natal_data as nd

MIN_UNITS, MAX_UNITS = 1600, 2400
MAX_SHARED = 5
TITLE = re.compile(r"^([1-9]|1[0-2])月([1-9]|[12][0-9]|3[01])日(.+)$")
CARD_NAMES = ["愚者", "魔术师", "女祭司", "皇后", "皇帝", "教皇", "恋人", "战车", "力量", "隐士", "命运之轮",
              "正义", "倒吊人", "死神", "节制", "恶魔", "高塔", "星星", "月亮", "太阳", "审判", "世界"]
PERSON = re.compile(r"^(.+?)，生于(\d{3,4})年，")


def file_problems(raw):
    """Problems of the file as bytes on disk: encoding, line ends, header."""
    out = []
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        return [f"file is not UTF-8: {e}"]
    if "\r" in text:
        out.append("file has CR characters; table lines must end with LF only")
    if not text.startswith("#"):
        out.append("file does not start with a header comment")
    else:
        header = []
        for line in text.split("\n"):
            if not line.startswith("#"):
                break
            header.append(line)
        if not any("generate.py" in line for line in header):
            out.append("header comment does not name the command that regenerates the file")
    for number, line in enumerate(text.split("\n"), 1):
        if line and not line.startswith("#") and line.count("\t") != 2:
            out.append(f"line {number}: {line.count(chr(9)) + 1} fields instead of 3")
    return out


def text_problems(key, text):
    """Problems of one entry's text taken alone."""
    out = []
    where = f"{key}:"
    if re.search(r"\r(?!\n)|(?<!\r)\n", text):
        out.append(f"{where} line break other than CR LF")
    if not text.endswith("\r\n"):
        out.append(f"{where} text does not end with CR LF")
    units = nd.utf16_units(text)
    if not MIN_UNITS <= units <= MAX_UNITS:
        out.append(f"{where} length {units} UTF-16 units outside {MIN_UNITS}..{MAX_UNITS}")
    lines = text[:-2].split("\r\n") if text.endswith("\r\n") else text.split("\r\n")
    headings, portrait, i = [], 0, 0
    while i < len(lines) and lines[i] != "":
        portrait += 1
        i += 1
    if portrait < 2:
        out.append(f"{where} portrait has {portrait} paragraph(s), expected several")
    while i < len(lines):
        if lines[i] != "":
            out.append(f"{where} line {i + 1}: expected an empty line before a section")
            break
        if i + 1 >= len(lines):
            out.append(f"{where} text ends with an empty line")
            break
        headings.append(lines[i + 1])
        i += 2
        body = 0
        while i < len(lines) and lines[i] != "":
            body += 1
            i += 1
        if body == 0:
            out.append(f"{where} section {headings[-1]!r} has no paragraph")
    if headings != nd.HEADINGS:
        out.append(f"{where} headings {headings} instead of {nd.HEADINGS}")
    for n, line in enumerate(lines, 1):
        if line == "" or line in nd.HEADINGS:
            continue
        if not line.startswith(nd.INDENT) or line[2:3] in ("", " ", "\u3000", "\t"):
            out.append(f"{where} line {n} is not a paragraph indented by two U+3000: {line[:12]!r}")
    return out


def sections(text):
    """Mapping heading -> list of paragraph texts (indent removed); '' for the portrait."""
    result, current = {"": []}, ""
    for line in text.split("\r\n"):
        if line in nd.HEADINGS:
            current = line
            result[current] = []
        elif line.startswith(nd.INDENT):
            result[current].append(line[2:])
    return result


def table_problems(rows):
    """Problems across the whole table: keys, titles, shared paragraphs, people, maxims."""
    out = []
    keys = [k for k, _, _ in rows]
    expected = nd.all_keys()
    if keys != expected:
        missing = sorted(set(expected) - set(keys))
        extra = sorted(set(keys) - set(expected))
        out.append(f"keys not in calendar order of 366 days (missing {missing[:5]}, extra {extra[:5]})")
    if len(keys) > 59 and keys[59] != 229:
        out.append(f"index 59 holds {keys[59]}, not 229")
    shared = collections.Counter()
    people = collections.defaultdict(list)
    maxims = collections.defaultdict(list)
    for key, title, text in rows:
        month, day = divmod(key, 100)
        m = TITLE.match(title)
        if not m or (int(m.group(1)), int(m.group(2))) != (month, day):
            out.append(f"{key}: title {title!r} is not the date as month月day日 plus an epithet")
        elif not 1 <= len(m.group(3)) <= 9:
            out.append(f"{key}: epithet {m.group(3)!r} has {len(m.group(3))} characters, not 1..9")
        out.extend(text_problems(key, text))
        for paragraph in set(line for line in text.split("\r\n") if line.startswith(nd.INDENT)):
            shared[paragraph] += 1
        parts = sections(text)
        names = parts.get("名人", [])
        if not 2 <= len(names) <= 5:
            out.append(f"{key}: {len(names)} famous people, expected 2 to 5")
        for paragraph in names:
            pm = PERSON.match(paragraph)
            if not pm:
                out.append(f"{key}: famous-people paragraph without name and birth year: {paragraph[:20]!r}")
            else:
                people[pm.group(1)].append(key)
        for paragraph in parts.get("静思语", [])[:1]:
            maxims[paragraph.split("”——")[0]].append(key)
        card = expected_card(day)
        quoted = re.search(r"“(.+?)”", "".join(parts.get("塔罗牌", [])))
        if not quoted or quoted.group(1) != CARD_NAMES[card]:
            out.append(f"{key}: tarot card should be {card} {CARD_NAMES[card]}")
        lucky = "".join(parts.get("幸运数字和守护星", []))
        digit = nd.reduce_digit(day)
        if f"幸运数字是{digit}" not in lucky and f"幸运数字就是{digit}" not in lucky:
            out.append(f"{key}: lucky number {digit} not stated")
    for paragraph, count in shared.items():
        if count > MAX_SHARED:
            out.append(f"paragraph in {count} entries (at most {MAX_SHARED}): {paragraph[2:30]!r}")
    for name, where in people.items():
        if len(where) > 1:
            out.append(f"famous person {name} appears on {where}")
    for maxim, where in maxims.items():
        if len(where) > 1:
            out.append(f"maxim {maxim[:20]!r} repeated on {where}")
    if len(maxims) != len(rows):
        out.append(f"{len(maxims)} different maxims for {len(rows)} entries")
    return out


def expected_card(day):
    """Days 1-21 take the card of their number, 22 The Fool (0), 23-31 the sum of their digits."""
    if day <= 21:
        return day
    if day == 22:
        return 0
    return day // 10 + day % 10


def data_problems(data):
    """Problems of the authored sources that the table cannot show."""
    out = []
    for key in nd.all_keys():
        for name, year, known, source in data.people.get(key, []):
            if not source:
                out.append(f"{key}: {name} has no source note")
            if not 1 <= year <= 2025:
                out.append(f"{key}: {name} has an implausible birth year {year}")
    for key, (maxim, source, reading) in data.maxims.items():
        if not source or not reading:
            out.append(f"{key}: maxim without source or reading")
    return out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else nd.TABLE
    with open(path, "rb") as f:
        raw = f.read()
    problems = file_problems(raw)
    rows = nd.read_table(path)
    problems += table_problems(rows)
    if len(sys.argv) == 1:
        data = nd.Data()
        problems += data_problems(data)
        if nd.render_table(data).encode("utf-8") != raw:
            problems.append("regenerating from data/natal_notes/ does not give the committed table; "
                            "run python3 tools/natal_notes/generate.py")
    for p in problems:
        print(p)
    total = sum(nd.utf16_units(t) for _, _, t in rows)
    print(f"{len(rows)} entries, {total} UTF-16 units, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
