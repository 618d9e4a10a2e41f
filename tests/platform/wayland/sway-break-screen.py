#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The long break on a headless sway with two outputs, judged by sway's own view of its windows:
# one full-screen break window per output, on that output; sway's close request refused; a
# full-screen client started mid-break not hiding it; an output added mid-break covered; keys
# typed mid-break reaching it. Run inside in-headless-sway:
#   sway-break-screen.py BREAK_PREVIEW SAVER [SHOT_FOLDER]
import json
import os
import shutil
import subprocess
import sys
import time

preview, saver = sys.argv[1], sys.argv[2]
shots = sys.argv[3] if len(sys.argv) > 3 else None
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


def covered(outputs):
    placed = windows(app_id)
    return sorted(o for o, w in placed if w.get("fullscreen_mode") == 1 and w.get("visible")) == sorted(outputs)


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
