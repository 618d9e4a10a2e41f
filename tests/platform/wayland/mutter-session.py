#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Sorvala under a headless Mutter with two virtual monitors: away time read from Mutter's idle
# monitor grows without input, and a long break opens one full-screen window on each monitor, as
# Qt sees them (Mutter without a shell lists no windows to other programs). Run inside
# in-headless-mutter:
#   mutter-session.py SORVALACTL BREAK_PREVIEW
import re
import subprocess
import sys
import time

sorvalactl, preview = sys.argv[1], sys.argv[2]


def idle_seconds():
    probe = subprocess.run([sorvalactl, "probe"], capture_output=True, text=True, check=True).stdout
    if not re.search(r"back end idle\s+mutter-idle-monitor", probe):
        sys.exit(f"FAILED: the idle reading does not come from Mutter:\n{probe}")
    return float(re.search(r"idle seconds\s+([0-9.]+)", probe).group(1))


first = idle_seconds()
time.sleep(2)
later = idle_seconds()
if later < first + 1.5:
    sys.exit(f"FAILED: away time did not grow without input: {first} then {later}")
print(f"away time grows: {first} s then {later} s")

process = subprocess.Popen([preview, "long", "--speed", "1", "--list-windows"], stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, text=True)
time.sleep(4)
process.terminate()
out, err = process.communicate(timeout=10)
windows = re.findall(r"break window screen=(\S+) fullscreen=(\S+)", out)
print(out, end="")
screens = sorted(screen for screen, fullscreen in windows if fullscreen == "yes")
if len(screens) != 2 or len(set(screens)) != 2:
    sys.exit(f"FAILED: expected one full-screen break window on each of two monitors, got {windows}\n{err}")
print("one full-screen break window on each monitor")
if "break screen keys not held" not in err:
    sys.exit(f"FAILED: the log does not say that keys cannot be held:\n{err}")
print("the log says the keys cannot be held")
