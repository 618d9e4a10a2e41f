#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Sorvala under a headless Mutter with two virtual monitors: away time read from Mutter's idle
# monitor grows without input, and a long break opens one full-screen window on each monitor, as
# Qt sees them (Mutter without a shell lists no windows to other programs), and lets go of the
# window of a monitor switched off mid-break. Mutter offers no layer shell: the heads-up comes
# without a dim, said in the log, and its capsule is a window of its own. Run inside
# in-headless-mutter:
#   mutter-session.py SORVALACTL BREAK_PREVIEW NOTICE_PREVIEW
import re
import subprocess
import sys
import threading
import time

sorvalactl, preview, notice_preview = sys.argv[1], sys.argv[2], sys.argv[3]


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

heads_up = subprocess.run([notice_preview, "heads-up", "--seconds", "2"], capture_output=True, text=True, timeout=30)
if "pre-break dim off on wayland" not in heads_up.stderr or "capsule " not in heads_up.stdout \
        or "break due" not in heads_up.stdout:
    sys.exit(f"FAILED: the heads-up under Mutter:\n{heads_up.stdout}{heads_up.stderr}")
print("the heads-up comes without a dim, and says so")


def remove_second_monitor():
    """Mutter's own display settings, as the desktop's would do it: only Meta-0 stays on."""
    state = subprocess.check_output(["gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                                     "--object-path", "/org/gnome/Mutter/DisplayConfig",
                                     "--method", "org.gnome.Mutter.DisplayConfig.GetCurrentState"], text=True)
    serial = re.match(r"\(uint32 (\d+),", state).group(1)
    mode = re.search(r"\('Meta-0', [^]]*?\[\('([^']+)'", state).group(1)
    subprocess.run(["gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                    "--object-path", "/org/gnome/Mutter/DisplayConfig",
                    "--method", "org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig", serial, "1",
                    f"[(0, 0, 1.0, 0, true, [('Meta-0', '{mode}', @a{{sv}} {{}})])]", "@a{sv} {}"],
                   check=True, stdout=subprocess.DEVNULL)


def windows_in(out, round_):
    return sorted(screen for r, screen, fullscreen in re.findall(r"round=(\d+) break window screen=(\S+) fullscreen=(\S+)", out)
                  if int(r) == round_ and fullscreen == "yes")


process = subprocess.Popen([preview, "long", "--speed", "1", "--list-windows"], stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, text=True)
lines = []
reader = threading.Thread(target=lambda: lines.extend(process.stdout), daemon=True)
reader.start()


def latest_round(timeout):
    """Waits up to `timeout` seconds for a listing and answers the number of the latest one."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        rounds = [int(r) for r in re.findall(r"round=(\d+)", "".join(lines))]
        if rounds:
            return max(rounds)
        time.sleep(0.1)
    return 0


# Listings come every two seconds once the break is up, which takes longer on a loaded machine:
# the monitor goes after the first one, and the listing after next is the one that counts.
latest_round(30)
remove_second_monitor()
checked = latest_round(1) + 2
deadline = time.monotonic() + 30
while latest_round(1) < checked and time.monotonic() < deadline:
    time.sleep(0.2)
time.sleep(0.5)  # the rest of that listing
process.terminate()
process.wait(timeout=10)
reader.join(timeout=5)
err = process.stderr.read()
out = "".join(lines)
print(out, end="")
if windows_in(out, 1) != ["Meta-0", "Meta-1"]:
    sys.exit(f"FAILED: expected one full-screen break window on each of two monitors, got {windows_in(out, 1)}\n{err}")
print("one full-screen break window on each monitor")
if windows_in(out, checked) != ["Meta-0"]:
    sys.exit(f"FAILED: the window of a monitor switched off mid-break stayed: {windows_in(out, checked)}\n{err}")
print("a monitor switched off mid-break released its window")
if "break screen keys not held" not in err:
    sys.exit(f"FAILED: the log does not say that keys cannot be held:\n{err}")
print("the log says the keys cannot be held")
