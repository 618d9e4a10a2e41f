#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# msgfilter filter: one translation on stdin, its pseudo-language form on stdout. Letters get
# accents, the text grows by about 40 % and is wrapped in brackets, so a window that clips,
# overlaps or shows an untranslated text stands out. Places (%1), mnemonics (&), markup and
# entities are left as they are.
import re
import sys

ACCENTS = str.maketrans("aeiouyAEIOUYcnsz", "áéíóúýÁÉÍÓÚÝçñšž")
KEEP = re.compile(r"(%[0-9%]|&[a-zA-Z]+;|<[^>]*>|&&|&)")


def pseudo(text: str) -> str:
    if not text:
        return text
    parts = KEEP.split(text)
    body = "".join(p if KEEP.fullmatch(p) else p.translate(ACCENTS) for p in parts)
    visible = len(KEEP.sub("", text))
    padding = "·" * max(1, round(visible * 0.4) - 2)
    core = body.rstrip("\n")
    return "[" + core + " " + padding + "]" + body[len(core):]


# Bytes in and out as UTF-8, whatever locale msgfilter runs the filter in.
sys.stdout.buffer.write(pseudo(sys.stdin.buffer.read().decode("utf-8")).encode("utf-8"))
