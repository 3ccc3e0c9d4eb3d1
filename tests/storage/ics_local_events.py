"""Prints the single events of an .ics file as an independent parser reads
them, at the wall-clock time of Europe/Berlin: one line per VEVENT without
RRULE, RDATE or RECURRENCE-ID, "YYYY-MM-DD HH:MM summary" or "YYYY-MM-DD
all-day summary", the summary's backslashes, CRs, LFs and tabs escaped."""
import datetime
import sys

import pytz
from icalendar import Calendar

LOCAL = pytz.timezone("Europe/Berlin")


def escaped(text):
    return (text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n")
            .replace("\t", "\\t"))


with open(sys.argv[1], "rb") as file:
    data = file.read()
# python3-icalendar 4.0.3 takes a byte-order mark for part of the first
# line's name; it is no part of the content.
if data.startswith(b"\xef\xbb\xbf"):
    data = data[3:]
calendar = Calendar.from_ical(data)
lines = []
for event in calendar.walk("VEVENT"):
    if any(name in event for name in ("RRULE", "RDATE", "RECURRENCE-ID")):
        continue
    start = event.decoded("DTSTART")
    if isinstance(start, datetime.datetime):
        if start.tzinfo is not None:
            start = start.astimezone(LOCAL)
        when = start.strftime("%Y-%m-%d %H:%M")
    else:
        when = start.strftime("%Y-%m-%d") + " all-day"
    lines.append(when + " " + escaped(str(event.get("SUMMARY", ""))))
sys.stdout.buffer.write("".join(line + "\n" for line in lines).encode("utf-8"))
