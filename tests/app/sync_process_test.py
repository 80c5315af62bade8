#!/usr/bin/python3
"""Two copies of the program, each with its own data and settings, sync their
diaries through one Radicale (started by tests/sync/radicale.sh): an event
added, changed and deleted in A reaches B; an event changed in both keeps both
versions; a server that dies in the middle of a sync and comes back loses
nothing. A is quit and started again around each edit of its diary file; B is
asked to sync by a second start with --sync-now, as a user or a script would.
Usage: radicale.sh sync_process_test.py PROGRAM"""
import datetime
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

program = os.path.realpath(sys.argv[1])
server = os.environ["TALVO_CALDAV_URL"]
storage = os.environ["TALVO_RADICALE_STORAGE"]
radicale_config = os.path.join(os.path.dirname(storage), "config")
collection = "talvo/diary/"
work = tempfile.mkdtemp()
processes = []
failures = 0


def check(name, ok):
    global failures
    print(("PASS: " if ok else "FAIL: ") + name, flush=True)
    failures += 0 if ok else 1


def wait_for(seconds, test):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if test():
            return True
        time.sleep(0.1)
    return test()


class Copy:
    """One copy of the program: its folders, its settings, its process."""

    def __init__(self, name):
        self.root = os.path.join(work, name)
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TZ="Europe/Berlin")
        for key, folder in (("XDG_CONFIG_HOME", "config"), ("XDG_RUNTIME_DIR", "run"),
                            ("XDG_CACHE_HOME", "cache"), ("XDG_STATE_HOME", "state"),
                            ("TALVO95_DATA_DIR", "data")):
            self.env[key] = os.path.join(self.root, folder)
            os.makedirs(self.env[key], mode=0o700)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)  # no keyring: no password needed here
        os.makedirs(os.path.join(self.env["XDG_CONFIG_HOME"], "Quorral"))
        with open(os.path.join(self.env["XDG_CONFIG_HOME"], "Quorral", "Talvo95.ini"), "w") as ini:
            ini.write(f"[All]\nSyncUrl={server}\nSyncCalendar=/{collection}\nSyncInterval=1440\n"
                      "WinWidth=600\nWinHeight=400\n")
        self.diary = os.path.join(self.env["TALVO95_DATA_DIR"], "DIARY.DAT")
        self.process = None

    def start(self):
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "TTalvoForm")
        before = os.stat(socket).st_ino if os.path.exists(socket) else None
        self.process = subprocess.Popen([program], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(self.root, "err.txt"), "a"))
        processes.append(self.process)
        wait_for(30, lambda: os.path.exists(socket) and os.stat(socket).st_ino != before)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(30)

    def sync_now(self):
        return subprocess.run([program, "--sync-now"], env=self.env, timeout=30).returncode

    def write(self, events):
        """events: {(month, day): [(type, hhmm, text)]}"""
        data = b""
        for month in range(1, 13):
            for day in range(1, 33):
                for kind, hhmm, text in events.get((month, day), []):
                    data += b"0%d%04d" % (kind, hhmm) + text.encode("cp1252") + b"\r\n"
                data += b"\xff\r\n"
        with open(self.diary, "wb") as f:
            f.write(data)

    def text(self):
        if not os.path.exists(self.diary):
            return ""
        data = open(self.diary, "rb").read()
        if data.startswith(b"\xef\xbb\xbf"):
            return data[3:].decode("utf-8", "replace")
        return data.decode("cp1252", "replace")


def on_server():
    texts = []
    for path in glob.glob(os.path.join(storage, "collection-root", collection, "*.ics")):
        texts.append(open(path, encoding="utf-8").read().replace("\r\n ", ""))
    return "\n".join(texts)


def start_radicale():
    process = subprocess.Popen(["radicale", "--config", radicale_config],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    processes.append(process)
    wait_for(20, lambda: subprocess.run(["python3", "-c", f"import urllib.request; urllib.request.urlopen('{server}')"],
                                        capture_output=True).returncode == 0)
    return process


try:
    # The calendar both copies sync with, as chosen in their Properties.
    for path, method in (("talvo/", "MKCOL"), (collection, "MKCALENDAR")):
        urllib.request.urlopen(urllib.request.Request(server + path, method=method))

    day = datetime.date.today() + datetime.timedelta(days=7)
    other = datetime.date.today() + datetime.timedelta(days=20)
    slot, slot2 = (day.month, day.day), (other.month, other.day)
    a, b = Copy("A"), Copy("B")

    a.write({slot: [(1, 1030, "Zahnarzt Müller")]})
    a.start()
    check("A sends its event to the server", wait_for(20, lambda: "Zahnarzt Müller" in on_server()))
    b.start()
    check("the event added in A appears in B", wait_for(20, lambda: "Zahnarzt Müller" in b.text()))
    check("  at its time, as an alarm", "011030Zahnarzt Müller" in b.text())

    a.stop()
    a.write({slot: [(1, 1100, "Zahnarzt Müller – verschoben")]})
    a.start()
    wait_for(20, lambda: "verschoben" in on_server())
    check("--sync-now reaches the running B", b.sync_now() == 0)
    check("the event changed in A changes in B",
          wait_for(20, lambda: "011100Zahnarzt Müller – verschoben" in b.text()
                   and "011030" not in b.text()))

    a.stop()
    a.write({})
    a.start()
    wait_for(20, lambda: "Zahnarzt" not in on_server())
    b.sync_now()
    check("the event deleted in A disappears from B", wait_for(20, lambda: "Zahnarzt" not in b.text()))

    # Both change one event before either syncs.
    a.stop()
    a.write({slot2: [(0, 1500, "Treffen im Café")]})
    a.start()
    wait_for(20, lambda: "Treffen im Café" in on_server())
    b.sync_now()
    wait_for(20, lambda: "Treffen im Café" in b.text())
    a.stop()
    b.stop()
    a.write({slot2: [(0, 1500, "Treffen im Café, Tisch A")]})
    b.write({slot2: [(0, 1500, "Treffen im Café, Tisch B")]})
    a.start()
    wait_for(20, lambda: "Tisch A" in on_server())
    b.start()
    check("a conflict keeps the server's version in B",
          wait_for(20, lambda: "Treffen im Café, Tisch A" in b.text()))
    check("  and B's own beside it, marked",
          "Treffen im Café, Tisch B (conflict)" in b.text())
    wait_for(20, lambda: "Tisch B (conflict)" in on_server())
    a.sync_now()
    check("  and A gets both", wait_for(20, lambda: "Tisch B (conflict)" in a.text()
                                        and "Tisch A" in a.text()))

    # The server freezes while A's sync waits for it, dies, and comes back.
    a.stop()
    a.write({slot2: [(0, 1500, "Treffen im Café, Tisch A"), (0, 1500, "Treffen im Café, Tisch B (conflict)"),
                     (0, 1800, "Nach dem Ausfall")]})
    radicale = int(os.environ["TALVO_RADICALE_PID"])
    os.kill(radicale, signal.SIGSTOP)
    a.start()
    time.sleep(3)  # A's sync at start is waiting for an answer
    os.kill(radicale, signal.SIGKILL)
    time.sleep(1)
    check("a sync cut off keeps A's diary", "Nach dem Ausfall" in a.text())
    b.sync_now()
    time.sleep(1)
    check("nothing left B while the server was down", "Tisch A" in b.text() and "Tisch B" in b.text())
    start_radicale()
    a.sync_now()
    check("once the server is back, A's change reaches it",
          wait_for(20, lambda: "Nach dem Ausfall" in on_server()))
    b.sync_now()
    check("  and B", wait_for(20, lambda: "Nach dem Ausfall" in b.text()))
    a.stop()
    check("  and A still holds it all", all(t in a.text() for t in ("Nach dem Ausfall", "Tisch A", "Tisch B")))
    b.stop()
finally:
    for process in processes:
        if process.poll() is None:
            process.kill()
            process.wait()
    if not os.environ.get("KEEP"):
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(work)

print(f"{failures} failed")
sys.exit(1 if failures else 0)
