"""Rules every event must satisfy before it may enter the data file.

Dates are proleptic-free: before 15 October 1582 an event is dated in the
Julian calendar (every fourth year leap, so 1000-02-29 exists), from that
day on in the Gregorian one; 5..14 October 1582 never existed.
"""

import datetime

CUTOVER = (1582, 10, 15)
MAX_TITLE_CHARS = 60
MAX_TITLE_BYTES = 255
FORBIDDEN = "<>&"          # the event page shows bodies as unescaped HTML
MAX_PARAGRAPHS = 3


def is_julian_leap(year):
    return year % 4 == 0


def is_gregorian_leap(year):
    return year % 4 == 0 and (year % 100 != 0 or year % 400 == 0)


def is_real_date(year, month, day):
    """True when year-month-day exists in the calendar in force then."""
    if year < 1 or not 1 <= month <= 12 or day < 1:
        return False
    if (year, month) == (1582, 10) and 5 <= day <= 14:
        return False
    julian = (year, month, day) < CUTOVER
    leap = is_julian_leap(year) if julian else is_gregorian_leap(year)
    lengths = [31, 29 if leap else 28, 31, 30, 31, 30,
               31, 31, 30, 31, 30, 31]
    return day <= lengths[month - 1]


def calendar_name(year, month, day):
    return "儒略历" if (year, month, day) < CUTOVER else "公历"


def text_problems(text, what):
    problems = []
    for character in FORBIDDEN:
        if character in text:
            problems.append("%s contains '%s'" % (what, character))
    if "##" in text:
        problems.append("%s contains two '#' in a row" % what)
    if any(ord(c) < 32 for c in text):
        problems.append("%s contains a control character" % what)
    return problems


def event_problems(event, encode):
    """List of rule violations of one event; encode is the GBK encoder."""
    problems = []
    if not is_real_date(event.year, event.month, event.day):
        problems.append("date is not a real day of its calendar")
    if event.year > datetime.date.today().year:
        problems.append("date lies in the future")
    title = event.title
    if not title:
        problems.append("title is empty")
    if title != title.strip():
        problems.append("title has leading or trailing blanks")
    if len(title) > MAX_TITLE_CHARS:
        problems.append("title is longer than %d characters" % MAX_TITLE_CHARS)
    problems += text_problems(title, "title")
    if not event.source:
        problems.append("source note (源) is missing")
    if not event.checked:
        problems.append("check note (核) is missing")
    if not 1 <= len(event.paragraphs) <= MAX_PARAGRAPHS:
        problems.append("body must have 1 to %d paragraphs" % MAX_PARAGRAPHS)
    for number, paragraph in enumerate(event.paragraphs, 1):
        problems += text_problems(paragraph, "paragraph %d" % number)
    problems += text_problems(event.calendar_note, "calendar note")
    for label, text in [("title", title), ("calendar note", event.calendar_note)] + \
            [("paragraph %d" % n, p) for n, p in enumerate(event.paragraphs, 1)]:
        try:
            encoded = encode(text)
        except ValueError as error:
            problems.append("%s: %s" % (label, error))
            continue
        if label == "title" and len(encoded) > MAX_TITLE_BYTES:
            problems.append("title is longer than %d bytes in GBK" % MAX_TITLE_BYTES)
    return problems
