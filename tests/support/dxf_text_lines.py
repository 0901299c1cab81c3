#!/usr/bin/python3
"""Lines through the texts of a DXF drawing: for every TEXT (left of x = 0 when --left is given: a log
page beside the profile sheet) the core of its letters (from its insertion point, half its height a
character wide, from a tenth to seven tenths of its height up) is tested against every LINE; a hatch
stroke, rule or border through the letters meets it. The box is kept smaller than the letters, so a
line beside a word never counts.

    dxf_text_lines.py FILE.dxf [--left]

Prints each text with a line through it and, last, their count.
"""
import sys

import ezdxf


def main():
    space = ezdxf.readfile(sys.argv[1]).modelspace()
    left_only = "--left" in sys.argv[2:]
    lines = []
    for e in space.query("LINE"):
        s, t = e.dxf.start, e.dxf.end
        lines.append((min(s.x, t.x), min(s.y, t.y), max(s.x, t.x), max(s.y, t.y)))
    count = 0
    for text in space.query("TEXT"):
        word, at, h = text.dxf.text, text.dxf.insert, text.dxf.height
        if left_only and at.x >= 0:
            continue
        shown = word.strip()
        if not shown:
            continue
        lead = len(word) - len(word.lstrip())
        x0 = at.x + lead * 0.5 * h
        x1 = x0 + len(shown) * 0.5 * h
        y0, y1 = at.y + 0.1 * h, at.y + 0.7 * h
        if any(a <= x1 and c >= x0 and b <= y1 and d >= y0 for a, b, c, d in lines):
            print("%r at (%.1f, %.1f)" % (shown, at.x, at.y))
            count += 1
    print(count)


if __name__ == "__main__":
    main()
