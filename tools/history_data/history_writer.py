"""Turning validated events into the bytes of the history data file.

Layout: a preamble without any '#', then one record per event:
"##" key " " title CR LF, a date line, the body paragraphs, each line
ending in CR LF.  Records stand by day of year, within a day by year.
"""

from gbk_codec import encode_gbk
from history_rules import calendar_name, event_problems

CRLF = "\r\n"
PREAMBLE = [
    "Lumeno 历史上的今天 数据文件",
    "由 tools/history_data/generate 从 data/history/*.txt 生成，请改源文件后重新生成。",
    "",
]
INDENT = "\u3000\u3000"


class RuleError(Exception):
    pass


def record_key(event):
    return event.year * 10000 + event.month * 100 + event.day


def sort_events(events):
    return sorted(events, key=lambda e: (e.month, e.day, e.year, e.sequence))


def date_line(event):
    line = "%d年%d月%d日（%s）" % (event.year, event.month, event.day,
                                calendar_name(event.year, event.month, event.day))
    if event.calendar_note:
        line += "，" + event.calendar_note
    return line


def record_lines(event):
    lines = ["##%d %s" % (record_key(event), event.title), date_line(event)]
    lines += [INDENT + paragraph for paragraph in event.paragraphs]
    return lines


def validate(events):
    """Raise RuleError naming every event that breaks a rule."""
    messages = []
    for event in events:
        for problem in event_problems(event, encode_gbk):
            messages.append("%s: %s" % (event.name(), problem))
    if messages:
        raise RuleError("\n".join(messages))


def build_data_file(events):
    validate(events)
    text_lines = list(PREAMBLE)
    for event in sort_events(events):
        text_lines += record_lines(event)
    return b"".join(encode_gbk(line + CRLF) for line in text_lines)
