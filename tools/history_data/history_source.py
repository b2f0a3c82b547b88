"""Reading the human-edited event source (data/history/MM.txt).

One file per month, UTF-8.  A record starts with a heading line

    == YYYY-MM-DD title

followed by field lines "源：" (where the facts come from) and "核："
(how the date was checked), an optional "历：" line (the date in the
calendar it was first recorded in, e.g. a Chinese lunar date), and then
the body: one paragraph a line, blank lines ignored.  Lines starting with
"%" are comments.  Validation of the content lives in history_rules.py.
"""

import dataclasses
import os
import re

HEADING = re.compile(r"^==\s*(\d{1,4})-(\d{1,2})-(\d{1,2})\s+(.*)$")
FIELDS = {"源": "source", "核": "checked", "历": "calendar_note"}


@dataclasses.dataclass
class HistoryEvent:
    year: int
    month: int
    day: int
    title: str
    source: str = ""
    checked: str = ""
    calendar_note: str = ""
    paragraphs: list = dataclasses.field(default_factory=list)
    origin: str = ""          # "file:line" of the heading, for messages
    sequence: int = 0         # position in the source, keeps ties stable

    def name(self):
        return "%s %04d-%02d-%02d %s" % (self.origin, self.year, self.month,
                                         self.day, self.title)


class SourceError(Exception):
    pass


def parse_field(line):
    for label, attribute in FIELDS.items():
        for colon in ("：", ":"):
            if line.startswith(label + colon):
                return attribute, line[len(label) + 1:].strip()
    return None, None


def read_source_file(path, first_sequence=0):
    events = []
    current = None
    with open(path, encoding="utf-8") as handle:
        for number, raw in enumerate(handle, 1):
            line = raw.rstrip("\r\n")
            origin = "%s:%d" % (os.path.basename(path), number)
            if line.startswith("%") or not line.strip():
                continue
            heading = HEADING.match(line)
            if heading:
                year, month, day, title = heading.groups()
                current = HistoryEvent(int(year), int(month), int(day),
                                       title.strip(), origin=origin,
                                       sequence=first_sequence + len(events))
                events.append(current)
                continue
            if current is None:
                raise SourceError("%s: text before the first event" % origin)
            attribute, value = parse_field(line)
            if attribute and not current.paragraphs:
                setattr(current, attribute, value)
            else:
                current.paragraphs.append(line.strip())
    return events


def read_source_dir(directory):
    """All events of the month files 01.txt..12.txt, in source order."""
    events = []
    for month in range(1, 13):
        path = os.path.join(directory, "%02d.txt" % month)
        if os.path.exists(path):
            events.extend(read_source_file(path, len(events)))
    return events
