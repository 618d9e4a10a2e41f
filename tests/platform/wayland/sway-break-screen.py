#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The heads-up and the long break on a headless sway with two outputs, judged by sway's own view
# of its windows and by its pictures of each output. The heads-up: no window at all, both outputs
# dimmed see-through, the countdown capsule above the dim, its Snooze clicked with a pointer of the
# compositor's own; the overtime badge shaken off with that pointer. The break: one full-screen break window per output, on that output; sway's
# close request refused; a full-screen client started mid-break not hiding it; an output added
# mid-break covered; keys typed mid-break reaching it. Run inside in-headless-sway:
#   sway-break-screen.py BREAK_PREVIEW SAVER NOTICE_PREVIEW [SHOT_FOLDER]
import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from virtual_pointer import VirtualPointer  # noqa: E402

preview, saver, notice_preview = sys.argv[1], sys.argv[2], sys.argv[3]
shots = sys.argv[4] if len(sys.argv) > 4 else None
app_id = os.path.basename(preview)


def tree():
    return json.loads(subprocess.check_output(["swaymsg", "-t", "get_tree", "-r"]))


def windows(app):
    """(output name, view) for every view of `app`, floating or tiled."""
    found = []

    def walk(node, output):
        if node.get("type") == "output":
            output = node["name"]
        if node.get("app_id") == app:
            found.append((output, node))
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child, output)

    walk(tree(), None)
    return found


def wait_for(what, check, seconds=15):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if check():
            return
        time.sleep(0.2)
    sys.exit(f"FAILED: {what}; sway shows {[(o, w.get('fullscreen_mode'), w['rect']) for o, w in windows(app_id)]}")


def shot(name):
    # One picture per output: grim's picture of the whole layout leaves all but the first
    # headless output grey.
    if not shots or not shutil.which("grim"):
        return
    for output in json.loads(subprocess.check_output(["swaymsg", "-t", "get_outputs", "-r"])):
        subprocess.run(["grim", "-o", output["name"], os.path.join(shots, f"{name}-{output['name']}.png")], check=False)


def pixel(output, x, y):
    picture = os.path.join(os.environ["XDG_RUNTIME_DIR"], "output.png")
    subprocess.run(["grim", "-o", output, picture], check=True)
    text = subprocess.check_output(["convert", picture, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)]", "info:"])
    return int(text.decode())


def covered(outputs):
    placed = windows(app_id)
    return sorted(o for o, w in placed if w.get("fullscreen_mode") == 1 and w.get("visible")) == sorted(outputs)


# sway clears an output to 25 % grey where nothing paints.
SWAY_GREY = 63


def heads_up():
    pointer = VirtualPointer()
    answers = open(os.path.join(os.environ["XDG_RUNTIME_DIR"], "answers"), "w+")
    notice = subprocess.Popen([notice_preview, "heads-up", "--seconds", "30"], stdout=answers)
    try:
        def buttons():
            answers.seek(0)
            return [line.split() for line in answers if line.startswith("button ")]

        wait_for("the countdown lists its buttons", lambda: len(buttons()) == 2)
        time.sleep(8)  # the dim darkens as the break nears
        views = windows(os.path.basename(notice_preview))
        if views:
            sys.exit(f"FAILED: the heads-up made windows: {[(o, w['type'], w['rect']) for o, w in views]}")
        print("the heads-up makes no window")
        shot("heads-up")
        for output in ("HEADLESS-1", "HEADLESS-2"):
            corner = pixel(output, 300, 400)
            if not 0 < corner < SWAY_GREY - 8:
                sys.exit(f"FAILED: {output} is not dimmed see-through (grey {corner})")
        # The capsule is drawn above its dim, centred at the top of the first output.
        snooze = next(b for b in buttons() if b[1] == "Snooze")
        x, y, w, h, width = (int(v) for v in (snooze[-7], snooze[-6], snooze[-5], snooze[-4], snooze[-2]))
        left = (1280 - width) // 2
        if pixel("HEADLESS-1", left + 4, 16 + 20) <= pixel("HEADLESS-1", 300, 400):
            sys.exit("FAILED: the capsule is under its dim or missing")
        print("both outputs dimmed see-through, the capsule above")
        pointer.move_to(left + x + w // 2, 16 + y + h // 2, 2304, 800)
        time.sleep(0.3)
        pointer.click()
        try:
            notice.wait(5)
        except subprocess.TimeoutExpired:
            sys.exit("FAILED: clicking Snooze on the capsule did not snooze")
        answers.seek(0)
        if "snooze" not in answers.read().split("\n"):
            sys.exit("FAILED: the capsule's click did not reach Snooze")
        print("Snooze clicked on the capsule snoozes")
    finally:
        if notice.poll() is None:
            notice.terminate()
            notice.wait()


def shake_off_overtime_badge():
    pointer = VirtualPointer()
    answers = open(os.path.join(os.environ["XDG_RUNTIME_DIR"], "overtime"), "w+")
    badge = subprocess.Popen([notice_preview, "overtime"], stdout=answers)
    try:
        def size():
            answers.seek(0)
            return next((line.split()[1:] for line in answers if line.startswith("capsule ")), None)

        wait_for("the overtime badge shows", size)
        width, height = (int(v) for v in size())
        left, middle = 1280 - 16 - width, 16 + height // 2
        # Side to side over the badge's own surface: the rest of the pointer's way is not seen.
        for x in [left + 30, left + 110] * 4 + [left + 30]:
            pointer.move_to(x, middle, 2304, 800)
            time.sleep(0.08)
        try:
            badge.wait(5)
        except subprocess.TimeoutExpired:
            sys.exit("FAILED: shaking the pointer over the overtime badge did not dismiss it")
        print("a shake over the overtime badge dismisses it")
    finally:
        if badge.poll() is None:
            badge.terminate()
            badge.wait()


heads_up()
shake_off_overtime_badge()

log = open(os.path.join(os.environ["XDG_RUNTIME_DIR"], "break.log"), "w+")
breaking = subprocess.Popen([preview, "long", "--speed", "1"], stdout=log, stderr=subprocess.STDOUT)
try:
    wait_for("one full-screen break window on each output", lambda: covered(["HEADLESS-1", "HEADLESS-2"]))
    for output, view in windows(app_id):
        print(f"break window on {output}: {view['rect']}")
    time.sleep(2)  # the drawing starts and the fade-in ends
    shot("break-two-outputs")
    if shutil.which("grim"):
        for output in ("HEADLESS-1", "HEADLESS-2"):
            picture = os.path.join(os.environ["XDG_RUNTIME_DIR"], "output.png")
            subprocess.run(["grim", "-o", output, picture], check=True)
            corner = subprocess.check_output(["convert", picture, "-format", "%[pixel:p{8,8}]", "info:"]).decode()
            # sway clears an output to 25 % grey where no window paints
            if corner in ("srgb(63,63,63)", "grey25", "gray25"):
                sys.exit(f"FAILED: the break window on {output} is not painted")
        print("both break windows painted")

    subprocess.run(["swaymsg", f"[app_id={app_id}] kill"], check=True, stdout=subprocess.DEVNULL)
    time.sleep(1)
    wait_for("the break windows outlive sway's close request", lambda: covered(["HEADLESS-1", "HEADLESS-2"]), 3)
    print("close request refused on both outputs")

    fullscreen = subprocess.Popen([saver], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(3)
        wait_for("a full-screen client does not hide the break", lambda: covered(["HEADLESS-1", "HEADLESS-2"]), 5)
        shot("break-over-fullscreen-client")
        print("break stays above a full-screen client")
    finally:
        fullscreen.terminate()
        fullscreen.wait()

    # sway 1.7 cannot disable a headless output ("Failed to commit output"); it can add one.
    subprocess.run(["swaymsg", "create_output"], check=True, stdout=subprocess.DEVNULL)
    wait_for("an output added mid-break is covered", lambda: covered(["HEADLESS-1", "HEADLESS-2", "HEADLESS-3"]))
    print("output added mid-break covered")
    time.sleep(1)
    shot("break-three-outputs")

    # A layer surface holds the keyboard and hands keys to the break window: Escape twice skips
    # the break, whichever window sway last focused.
    subprocess.run(["wtype", "-s", "1000", "-k", "Escape", "-s", "200", "-k", "Escape"], check=True)
    try:
        breaking.wait(10)
    except subprocess.TimeoutExpired:
        sys.exit("FAILED: Escape twice typed mid-break did not reach the break window")
    print("keys typed mid-break reached the break window")
finally:
    breaking.terminate()
    breaking.wait()
    log.seek(0)
    print(log.read(), end="")
