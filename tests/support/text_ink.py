#!/usr/bin/python3
"""Lines, hatching or shade under the words of a PDF: every page is drawn once with its text objects
(BT .. ET) cut out of the content streams, and inside each word's box (pdftotext -bbox of the whole
file) the dark pixels are counted. A word printed on a pattern, a rule through a word, a value across a
column border all leave ink there; a word on clear paper leaves none.

    text_ink.py FILE.pdf [FIRST [LAST]]

Prints one line for each word with ink under it:  page 2: 'IV' (101.2,300.5)-(110.0,309.1) 37 pixels
and nothing when every word stands clear. A word's box is taken a little inside what pdftotext gives
(which spans the font's whole height and the glyphs' side bearings), so a rule that only touches the
box's edge, as a table rule under a heading does, is not counted.
"""
import os
import re
import subprocess
import sys
import tempfile

DPI = 150
DARK = 170            # a pixel darker than this (0 black .. 255 white) is ink
INSET_X = 0.6         # points taken off each side of a word's box
INSET_TOP = 0.22      # parts of the box's height taken off its top and bottom
INSET_BOTTOM = 0.08
LEAST = 2             # fewer dark pixels than this are anti-aliasing at an edge, not ink


def words(pdf, first, last):
    html = subprocess.run(["pdftotext", "-bbox", "-f", str(first), "-l", str(last), pdf, "-"],
                          capture_output=True, check=True).stdout.decode("utf-8", "replace")
    pages = []
    for page in re.split(r"<page ", html)[1:]:
        ws = []
        for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>', page):
            ws.append((float(m[1]), float(m[2]), float(m[3]), float(m[4]), m[5]))
        pages.append(ws)
    return pages


def without_text(pdf, folder):
    qdf = os.path.join(folder, "all.qdf")
    subprocess.run(["qpdf", "--qdf", "--object-streams=disable", pdf, qdf], check=True)
    data = open(qdf, "rb").read()
    data = re.sub(rb"(?m)^BT\r?\n.*?^ET\r?$", b"", data, flags=re.S)
    cut = os.path.join(folder, "cut.qdf")
    open(cut, "wb").write(data)
    fixed = os.path.join(folder, "notext.pdf")
    with open(fixed, "wb") as out:
        subprocess.run(["fix-qdf", cut], stdout=out, check=True)
    return fixed


def pgm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def main():
    pdf = sys.argv[1]
    first = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    last = int(sys.argv[3]) if len(sys.argv) > 3 else 9999
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, check=True).stdout.decode()
    last = min(last, int(re.search(r"Pages:\s+(\d+)", info)[1]))
    with tempfile.TemporaryDirectory() as folder:
        clean = without_text(pdf, folder)
        subprocess.run(["pdftoppm", "-gray", "-r", str(DPI), "-f", str(first), "-l", str(last), clean,
                        os.path.join(folder, "p")], check=True)
        rendered = sorted(f for f in os.listdir(folder) if f.startswith("p") and f.endswith(".pgm"))
        scale = DPI / 72.0
        for n, (ws, image) in enumerate(zip(words(pdf, first, last), rendered)):
            width, height, pixels = pgm(os.path.join(folder, image))
            for x0, y0, x1, y1, text in ws:
                h = y1 - y0
                bx0, bx1 = x0 + INSET_X, x1 - INSET_X
                by0, by1 = y0 + INSET_TOP * h, y1 - INSET_BOTTOM * h
                px0, px1 = max(int(bx0 * scale + 0.5), 0), min(int(bx1 * scale + 0.5), width)
                py0, py1 = max(int(by0 * scale + 0.5), 0), min(int(by1 * scale + 0.5), height)
                ink = 0
                for y in range(py0, py1):
                    row = pixels[y * width + px0:y * width + px1]
                    ink += sum(1 for v in row if v < DARK)
                if ink >= LEAST:
                    print("page %d: %r (%.1f,%.1f)-(%.1f,%.1f) %d pixels" % (first + n, text, x0, y0, x1, y1, ink))


if __name__ == "__main__":
    main()
