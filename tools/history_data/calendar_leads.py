"""Entries of the Debian `calendar` files, indexed by month and day.

The files are leads, not proof (some of their dates are wrong), so this
module only reads them; crosscheck_calendar compares them with events.
"""

import glob
import os
import re

CALENDAR_DIR = "/usr/share/calendar"
FILES = ["calendar.history", "calendar.birthday", "calendar.computer",
         "calendar.music", "calendar.holiday", "calendar.world",
         "calendar.usholiday", "de_DE/calendar.geschichte",
         "de_DE/calendar.wissenschaft", "de_DE/calendar.literatur"]
LINE = re.compile(r"^(\d\d)/(\d\d)\*?\s+(.*)")


def read_leads(directory=CALENDAR_DIR):
    """{(month, day): [(file name, text), ...]} with continuation lines joined."""
    leads = {}
    for name in FILES:
        path = os.path.join(directory, name)
        if not os.path.exists(path):
            continue
        current = None
        with open(path, encoding="utf-8", errors="replace") as handle:
            for raw in handle:
                line = raw.rstrip("\n")
                match = LINE.match(line)
                if match:
                    current = [os.path.basename(name), match.group(3)]
                    key = (int(match.group(1)), int(match.group(2)))
                    leads.setdefault(key, []).append(current)
                elif current and line.startswith("\t"):
                    current[1] += " " + line.strip()
                else:
                    current = None
    return leads
