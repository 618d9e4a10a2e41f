#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The heads-up and the long break under KWin's virtual backend with two outputs (1280x800 side by
# side), judged by KWin's own list of what it shows, read through a KWin script: the heads-up's dim
# covers both outputs and its capsule sits centred at the top; a long break puts one full-screen
# window on each output. KWin offers clients no pictures of the screen, so nothing is looked at.
# Run inside in-headless-kwin:
#   kwin-session.py NOTICE_PREVIEW BREAK_PREVIEW
import os
import re
import subprocess
import sys
import time

notice_preview, break_preview = sys.argv[1], sys.argv[2]
runtime = os.environ["XDG_RUNTIME_DIR"]
script = os.path.join(runtime, "sorvala-list.js")
with open(script, "w") as out:
    out.write("""
var clients = workspace.clientList();
for (var i = 0; i < clients.length; ++i) {
    var c = clients[i];
    print("sorvala-listing " + c.resourceClass + " " + c.screen + " " + c.fullScreen + " "
          + c.x + " " + c.y + " " + c.width + " " + c.height);
}
print("sorvala-listing-done");
""")


def kwin(path, method, *arguments):
    return subprocess.check_output(["dbus-send", "--session", "--print-reply", "--dest=org.kde.KWin", path, method,
                                    *arguments], text=True)


def listing(app):
    """(screen, full screen, x, y, width, height) of everything KWin shows for `app`."""
    log = os.path.join(runtime, "kwin.log")
    start = os.path.getsize(log)
    number = re.search(r"int32 (-?\d+)", kwin("/Scripting", "org.kde.kwin.Scripting.loadScript",
                                              f"string:{script}", "string:sorvala-list")).group(1)
    kwin(f"/{number}", "org.kde.kwin.Script.run")
    text = ""
    for _ in range(50):
        with open(log) as source:
            source.seek(start)
            text = source.read()
        if "sorvala-listing-done" in text:
            break
        time.sleep(0.1)
    kwin("/Scripting", "org.kde.kwin.Scripting.unloadScript", "string:sorvala-list")
    found = []
    for line in text.splitlines():
        words = line.split("sorvala-listing ")[-1].split()
        if "sorvala-listing " in line and words[0] == app:
            found.append((int(words[1]), words[2] == "true", *(int(w) for w in words[3:7])))
    return sorted(found)


def wait_for(what, app, check, seconds=15):
    deadline = time.time() + seconds
    while time.time() < deadline:
        shown = listing(app)
        if check(shown):
            return shown
        time.sleep(0.5)
    sys.exit(f"FAILED: {what}; KWin shows {listing(app)}")


notice = subprocess.Popen([notice_preview, "heads-up", "--seconds", "30"], stdout=subprocess.PIPE, text=True)
try:
    capsule = notice.stdout.readline().split()  # "capsule W H"
    width, height = int(capsule[1]), int(capsule[2])
    outputs = [(0, False, 0, 0, 1280, 800), (1, False, 1280, 0, 1280, 800)]
    centred = (0, False, (1280 - width) // 2, 16, width, height)
    wait_for("the dim covers both outputs and the capsule sits centred at the top", os.path.basename(notice_preview),
             lambda shown: all(o in shown for o in outputs) and any(
                 s[:2] == centred[:2] and abs(s[2] - centred[2]) <= 1 and s[3:] == centred[3:] for s in shown))
    print("heads-up: the dim covers both outputs, the capsule is centred at the top")
finally:
    notice.terminate()
    notice.wait()

breaking = subprocess.Popen([break_preview, "long", "--speed", "1"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
try:
    def one_per_output(shown):
        return sorted((s[0], s[2], s[3]) for s in shown if s[1]) == [(0, 0, 0), (1, 1280, 0)]

    wait_for("one full-screen break window on each output", os.path.basename(break_preview), one_per_output)
    print("long break: one full-screen window on each output")
finally:
    breaking.terminate()
    breaking.wait()
    print(breaking.stderr.read(), end="")
