"""Prints the events of an .ics file as an independent parser reads them:
one line per VEVENT, tab-separated: UID, start in UTC, summary, duration in
seconds, DTSTAMP in UTC. The first line gives the calendar's own properties."""
import datetime
import sys

from icalendar import Calendar


def utc(value):
    if value.utcoffset() != datetime.timedelta(0):
        return "not in UTC: " + value.isoformat()
    return value.strftime("%Y%m%dT%H%M%SZ")


with open(sys.argv[1], "rb") as file:
    calendar = Calendar.from_ical(file.read())
lines = ["\t".join(str(calendar.get(name)) for name in ("VERSION", "PRODID", "CALSCALE", "METHOD"))]
for event in calendar.walk("VEVENT"):
    lines.append("\t".join([
        str(event["UID"]),
        utc(event.decoded("DTSTART")),
        str(event["SUMMARY"]),
        str(int(event.decoded("DURATION").total_seconds())),
        utc(event.decoded("DTSTAMP")),
    ]))
sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))
