"""Scanning a history data file the way the index tool reads it, and the
file-level checks: line ends, preamble, order, dates, titles, day counts.
"""

import collections
import re

from gbk_codec import decode_gbk
from history_rules import FORBIDDEN, MAX_TITLE_BYTES, MAX_TITLE_CHARS, is_real_date

MARKER = re.compile(rb"##[ \t\r\n\v\f]*([+-]?\d*)[ \t\r\n\v\f]*")


def all_calendar_days():
    lengths = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    return [(m, d) for m in range(1, 13) for d in range(1, lengths[m - 1] + 1)]


def scan_records(data):
    """(key, title bytes, offset) of every record, as the index tool reads them."""
    records = []
    position = 0
    while True:
        start = data.find(b"##", position)
        if start < 0:
            return records
        match = MARKER.match(data, start)
        digits = match.group(1)
        if not digits.lstrip(b"+-") or int(digits) == 0:
            return records
        title_start = match.end()
        line_end = data.find(b"\n", title_start)
        line_end = len(data) if line_end < 0 else line_end
        title = data[title_start:min(line_end, title_start + MAX_TITLE_BYTES)]
        if title.endswith(b"\r"):
            title = title[:-1]
        records.append((int(digits), title, start))
        position = title_start + len(title)


def check_file(data, expected_count, minimum):
    failures = []
    if data.replace(b"\r\n", b"").find(b"\n") >= 0 or \
            data.replace(b"\r\n", b"").find(b"\r") >= 0:
        failures.append("a line does not end in CR LF")
    if not data.endswith(b"\r\n"):
        failures.append("the last record does not end in CR LF")
    records = scan_records(data)
    if records and b"#" in data[:records[0][2]]:
        failures.append("the preamble contains '#'")
    if data.count(b"##") != len(records):
        failures.append("'##' occurs %d times for %d records"
                        % (data.count(b"##"), len(records)))
    if len(records) != expected_count:
        failures.append("%d records scanned for %d events"
                        % (len(records), expected_count))
    text = decode_gbk(data)
    for character in FORBIDDEN:
        if character in text:
            failures.append("the file contains '%s'" % character)
    per_day = collections.Counter()
    previous = None
    for key, title, offset in records:
        year, month, day = key // 10000, key // 100 % 100, key % 100
        where = "record %d at byte %d" % (key, offset)
        if not is_real_date(year, month, day):
            failures.append("%s: not a real date of its calendar" % where)
        order = (month, day, year)
        if previous and order < previous:
            failures.append("%s: out of order" % where)
        previous = order
        title_text = decode_gbk(title)
        if not title_text.strip():
            failures.append("%s: empty title" % where)
        if len(title_text) > MAX_TITLE_CHARS or len(title) >= MAX_TITLE_BYTES:
            failures.append("%s: title too long" % where)
        per_day[(month, day)] += 1
    short = [(m, d, per_day[(m, d)]) for m, d in all_calendar_days()
             if per_day[(m, d)] < minimum]
    if short:
        failures.append("%d days have fewer than %d events: %s" % (
            len(short), minimum,
            " ".join("%02d-%02d(%d)" % entry for entry in short)))
    smallest = min(per_day[day] for day in all_calendar_days())
    return failures, len(records), smallest
