#!/usr/bin/python3
# Another CalDAV client beside the diary, on python3-caldav.
# Usage: caldav_peer.py URL add UID YYYYMMDDTHHMMSS SUMMARY
#        caldav_peer.py URL list          (one SUMMARY per line, sorted)
import sys
import urllib.parse
import caldav
import requests

url, command = sys.argv[1], sys.argv[2]
# The login in UTF-8, as the diary sends it: requests would send only Latin-1.
split = urllib.parse.urlsplit(url)
auth = None
if split.username:
    auth = requests.auth.HTTPBasicAuth(urllib.parse.unquote(split.username).encode(),
                                       urllib.parse.unquote(split.password or "").encode())
    url = split._replace(netloc=split.netloc.rsplit("@", 1)[1]).geturl()
calendar = caldav.Calendar(client=caldav.DAVClient(url, auth=auth), url=url)
if command == "add":
    uid, start, summary = sys.argv[3:6]
    calendar.save_event(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//caldav//EN\r\nBEGIN:VEVENT\r\n"
        f"UID:{uid}\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:{start}\r\nSUMMARY:{summary}\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n")
elif command == "list":
    summaries = []
    for event in calendar.events():
        component = event.icalendar_instance.walk("VEVENT")[0]
        summaries.append(f"{component.decoded('DTSTART').strftime('%Y-%m-%d %H:%M')} {component.get('SUMMARY')}")
    print("\n".join(sorted(summaries)))
else:
    sys.exit(f"unknown command {command}")
