#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Walks every window of a running program through AT-SPI, as a screen reader sees them.

usage: atspi-walk.py APPLICATION EXPECTED...

Fails listing every control without a name, controls of one kind named alike, and every EXPECTED name (a regular expression
matched against whole names) that no control or text carries. Waits up to 20 s for the program
to appear on the accessibility bus with its windows filled in.
"""
import os
import re
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX,
    pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_ANIMATION,
    pyatspi.ROLE_IMAGE,
}
# What a control is made of (a drop-down's own list, a spin box's field) is named by the control.
PARTS_OF = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON}


def label_of(node):
    """The text of the labels that name `node` ("labelled by"): on Linux a drop-down's name is its
    choice, and screen readers say the label from this relation."""
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            texts = [(relation.getTarget(i).name or "").strip() for i in range(relation.getNTargets())]
            return " ".join(t for t in texts if t)
    return ""


def walk(node, path, found, unnamed, controls):
    try:
        role = node.getRole()
        name = (node.name or "").strip()
        if role == pyatspi.ROLE_COMBO_BOX:
            name = label_of(node) or name
        children = list(node)
    except Exception:  # a widget that went away while we looked
        return
    here = path + [f"{node.getRoleName()} '{name}'"]
    found.add(name)
    if role in CONTROLS and name:
        controls.append((node.getRoleName(), name))
    if role in CONTROLS and not name:
        unnamed.append(" > ".join(here))
    if role in CONTROLS and os.environ.get("ATSPI_WALK_LIST"):
        print(f"control: {node.getRoleName()} '{name}' ({node.description or ''})")
    if role in PARTS_OF:
        return
    for child in children:
        if child is not None:
            walk(child, here, found, unnamed, controls)


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    name, expected = sys.argv[1], [re.compile(e) for e in sys.argv[2:]]
    deadline = time.monotonic() + 20
    missing, unnamed, found, duplicates = expected, [], set(), []
    while time.monotonic() < deadline:
        app = application(name)
        if app is not None:
            found, unnamed, controls = set(), [], []
            walk(app, [], found, unnamed, controls)
            # Two controls of one kind with one name cannot be told apart by ear.
            duplicates = sorted({f"{r} '{n}'" for r, n in controls if controls.count((r, n)) > 1})
            missing = [e.pattern for e in expected if not any(e.fullmatch(f) for f in found)]
            if not missing:
                break
        time.sleep(0.5)
    if app is None:
        print(f"atspi-walk: {name} never appeared on the accessibility bus")
        return 1
    for line in unnamed:
        print(f"unnamed: {line}")
    for line in duplicates:
        print(f"named alike: {line}")
    for pattern in missing:
        print(f"not found: {pattern}")
    print(f"atspi-walk: {len(found)} names, {len(unnamed)} unnamed controls, {len(duplicates)} named alike, "
          f"{len(missing)} expected names missing")
    return 1 if unnamed or duplicates or missing else 0


if __name__ == "__main__":
    sys.exit(main())
