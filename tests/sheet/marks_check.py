#!/usr/bin/python3
"""Reads the samples column of drawn sheets back from what is drawn, not from the layout's numbers.

    marks_check.py pdf SHEET.pdf LABEL...   the PDF: sample marks (image masks of 61 rows), leaders
                                            (thin paths that start at a label's end) and the labels
                                            (pdftotext -bbox words, the LABELs given)
    marks_check.py pgl SHEET.pgl            HP-GL/2: the marks' pen strokes
    marks_check.py dxf SHEET.dxf            DXF: the marks' LINE entities (ezdxf)

For each page it prints one line a fault:
    meet      two marks whose ink comes closer than a quarter point
    far       a label further than 10 mm (28.35 points) from its mark's depth
    order     labels not in the order of their marks' depths
    twice     a mark with two labels
    lost      a label with no mark (no leader and no mark beside it)
    cross     two leaders that cross
    over      a leader that passes over a mark not its own
and then "marks" with the marks' positions in millimetres from the first mark of the page (left,
top, right, bottom of the ink), in order down the page, for comparing the devices.
"""
import math
import re
import subprocess
import sys
import tempfile

PT_MM = 25.4 / 72


def rect_distance(a, b):
    dx = max(a[0] - b[2], b[0] - a[2], 0)
    dy = max(a[1] - b[3], b[1] - a[3], 0)
    return math.hypot(dx, dy)


def ink_distance(a, b, enough):
    """The least distance between the inks of two marks; a distance of `enough` or more may be given
    as the distance of their boxes."""
    if rect_distance(a["box"], b["box"]) >= enough:
        return rect_distance(a["box"], b["box"])
    return min(rect_distance(r, s) for r in a["ink"] for s in b["ink"])


def point_rect_distance(p, r):
    return rect_distance((p[0], p[1], p[0], p[1]), r)


def segment_hits_rect(a, b, r, gap):
    """Whether the segment a-b passes through the rectangle r grown by gap (clipping)."""
    t0, t1 = 0.0, 1.0
    dx, dy = b[0] - a[0], b[1] - a[1]
    for p, q in ((-dx, a[0] - (r[0] - gap)), (dx, r[2] + gap - a[0]), (-dy, a[1] - (r[1] - gap)),
                 (dy, r[3] + gap - a[1])):
        if p == 0:
            if q < 0:
                return False
            continue
        t = q / p
        if p < 0:
            t0 = max(t0, t)
        else:
            t1 = min(t1, t)
        if t0 > t1:
            return False
    return True


def segments_cross(a, b, c, d):
    def side(p, q, r):
        return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])
    d1, d2, d3, d4 = side(c, d, a), side(c, d, b), side(a, b, c), side(a, b, d)
    if ((d1 > 0 > d2) or (d1 < 0 < d2)) and ((d3 > 0 > d4) or (d3 < 0 < d4)):
        return True

    def near(p, q, r):
        dx, dy = r[0] - q[0], r[1] - q[1]
        n = dx * dx + dy * dy
        t = 0 if n == 0 else max(0, min(1, ((p[0] - q[0]) * dx + (p[1] - q[1]) * dy) / n))
        return math.hypot(p[0] - q[0] - t * dx, p[1] - q[1] - t * dy)
    return min(near(a, c, d), near(b, c, d), near(c, a, b), near(d, a, b)) < 0.2


def mark(runs):
    box = (min(r[0] for r in runs), min(r[1] for r in runs), max(r[2] for r in runs), max(r[3] for r in runs))
    return {"ink": runs, "box": box}


def report_marks(marks, unit_mm):
    """Faults between marks, and their positions relative to the first."""
    faults = []
    for i in range(len(marks)):
        for k in range(i + 1, len(marks)):
            if ink_distance(marks[i], marks[k], 1) < 0.25 * PT_MM / unit_mm:
                faults.append("meet %s %s" % (fmt(marks[i]["box"], unit_mm), fmt(marks[k]["box"], unit_mm)))
    return faults


def fmt(box, unit_mm):
    return "(%.1f,%.1f)-(%.1f,%.1f)mm" % tuple(v * unit_mm for v in box)


def positions(marks, unit_mm):
    if not marks:
        return "marks"
    ms = sorted(marks, key=lambda m: (round(m["box"][1] * unit_mm, 1), m["box"][0]))
    x0, y0 = ms[0]["box"][0], ms[0]["box"][1]
    return "marks " + " ".join("%.1f,%.1f,%.1f,%.1f" % ((m["box"][0] - x0) * unit_mm, (m["box"][1] - y0) * unit_mm,
                                                      (m["box"][2] - x0) * unit_mm, (m["box"][3] - y0) * unit_mm)
                               for m in ms)


# --- PDF ---

def pdf_pages(path):
    with tempfile.NamedTemporaryFile(suffix=".pdf") as tmp:
        subprocess.run(["qpdf", "--qdf", "--object-streams=disable", path, tmp.name], check=False)
        data = open(tmp.name, "rb").read()
    objects, order = {}, []
    for m in re.finditer(rb"\n(\d+) 0 obj\n(.*?)\nendobj", data, re.S):
        body = m.group(2)
        s = body.find(b"stream\n")
        dictionary = body if s < 0 else body[:s]
        stream = b"" if s < 0 else body[s + 7:body.rfind(b"endstream")]
        objects[int(m.group(1))] = (dictionary, stream)
        order.append(int(m.group(1)))

    def resolve(text, key):
        m = re.search(rb"/" + key + rb"\s+(\d+) 0 R", text)
        return objects[int(m.group(1))][0] if m else None

    media = re.search(rb"/MediaBox \[\s*\S+\s+\S+\s+\S+\s+([0-9.]+)", data)
    pages = []
    for n in order:
        d = objects[n][0]
        if not re.search(rb"/Type /Page\b(?!s)", d):
            continue
        box = re.search(rb"/MediaBox \[\s*\S+\s+\S+\s+\S+\s+([0-9.]+)", d) or media  # or the page tree's
        height = float(box.group(1))
        contents = re.search(rb"/Contents (\[[^\]]*\]|\d+ 0 R)", d).group(1)
        streams = b"\n".join(objects[int(r)][1] for r in re.findall(rb"(\d+) 0 R", contents))
        resources = resolve(d, b"Resources") or d
        xobjects = resolve(resources, b"XObject")
        if xobjects is None:
            m = re.search(rb"/XObject\s*<<(.*?)>>", resources, re.S)
            xobjects = m.group(1) if m else b""
        names = {k.decode(): int(v) for k, v in re.findall(rb"/(\w+)\s+(\d+) 0 R", xobjects)}
        pages.append((height, streams, names))
    return objects, pages


def image_ink(objects, number):
    d, stream = objects[number]
    if b"/ImageMask true" not in d or not re.search(rb"/Height 61\b", d):
        return None
    width = int(re.search(rb"/Width (\d+)", d).group(1))
    rows, row_bytes = 61, (width + 7) // 8
    runs = []
    for r in range(rows):
        c = 0
        while c < width:
            byte = stream[r * row_bytes + c // 8]
            if byte & (0x80 >> (c % 8)):  # a 1 is not painted (Decode [0 1])
                c += 1
                continue
            e = c
            while e + 1 < width and not stream[r * row_bytes + (e + 1) // 8] & (0x80 >> ((e + 1) % 8)):
                e += 1
            runs.append((c, r, e + 1, r + 1))
            c = e + 1
    return width, rows, runs


def pdf_page(objects, height, content, names, words):
    marks, paths = [], []
    ctm_stack, ctm = [], (1, 0, 0, 1, 0, 0)
    width_now, path, operands = 1.0, [], []
    for tok in re.findall(rb"\((?:\\.|[^\\)])*\)|/\w+|[-+]?\d*\.?\d+|[A-Za-z*']+", content):
        if re.fullmatch(rb"[-+]?\d*\.?\d+", tok) or tok.startswith(b"/") or tok.startswith(b"("):
            operands.append(tok)
            continue
        op = tok.decode()
        nums = [float(o) for o in operands if re.fullmatch(rb"[-+]?\d*\.?\d+", o)]
        if op == "q":
            ctm_stack.append(ctm)
        elif op == "Q":
            ctm = ctm_stack.pop() if ctm_stack else (1, 0, 0, 1, 0, 0)
        elif op == "cm" and len(nums) >= 6:
            ctm = tuple(nums[-6:])
        elif op == "Do" and operands:
            name = operands[-1].decode()[1:]
            ink = image_ink(objects, names[name]) if name in names else None
            if ink:
                w, rows, runs = ink
                a, _, _, dd, e, f = ctm
                top = height - (f + dd)
                pix_w, pix_h = a / w, dd / rows
                m = mark([(e + x1 * pix_w, top + y1 * pix_h, e + x2 * pix_w, top + y2 * pix_h) for x1, y1, x2, y2 in runs])
                m["depth"] = top + 30.5 * pix_h  # the image is centred on its depth (60 rows and one repeated)
                marks.append(m)
        elif op == "w" and nums:
            width_now = nums[-1]
        elif op == "m" and len(nums) >= 2:
            path = [(nums[-2], height - nums[-1])]
        elif op == "l" and len(nums) >= 2:
            path.append((nums[-2], height - nums[-1]))
        elif op == "S":
            if abs(width_now - 0.12) < 1e-6 and len(path) >= 2:
                paths.append(path)
            path = []
        operands = []

    faults = report_marks(marks, PT_MM)
    # Each label's mark: the one its leader ends at, or else the mark beside it on its row.
    leaders, owner = [], {}
    for w in words:
        mid = (w[1] + w[3]) / 2
        leader = next((p for p in paths if abs(p[0][0] - w[2]) < 2.5 and w[1] - 1 < p[0][1] < w[3] + 1), None)
        if leader:
            end = leader[-1]
            k = min(range(len(marks)), key=lambda i: min(point_rect_distance(end, r) for r in marks[i]["ink"]))
            if min(point_rect_distance(end, r) for r in marks[k]["ink"]) > 1.5:
                faults.append("lost %s (its leader ends at no mark)" % w[4])
                continue
            leaders.append((leader, k, w[4]))
        else:
            beside = [i for i, m in enumerate(marks) if m["box"][1] - 1 < mid < m["box"][3] + 1 and
                      0 <= m["box"][0] - w[2] < 12]
            if not beside:
                faults.append("lost %s" % w[4])
                continue
            k = min(beside, key=lambda i: marks[i]["box"][0])
        if k in owner:
            faults.append("twice %s %s" % (owner[k], w[4]))
        owner[k] = w[4]
        if abs(mid - marks[k]["depth"]) > 28.35 + 1:
            faults.append("far %s %.1fmm" % (w[4], abs(mid - marks[k]["depth"]) * PT_MM))
        w.append(marks[k]["depth"])
    placed = sorted((w for w in words if len(w) > 5), key=lambda w: (w[1] + w[3]) / 2)
    for a, b in zip(placed, placed[1:]):
        if b[5] < a[5] - 0.01:
            faults.append("order %s %s" % (a[4], b[4]))
    for i in range(len(leaders)):
        for k in range(i + 1, len(leaders)):
            if any(segments_cross(p, q, r, s) for p, q in zip(leaders[i][0], leaders[i][0][1:])
                   for r, s in zip(leaders[k][0], leaders[k][0][1:])):
                faults.append("cross %s %s" % (leaders[i][2], leaders[k][2]))
    for path, own, text in leaders:
        for i, m in enumerate(marks):
            if i != own and any(segment_hits_rect(p, q, r, 0.2) for p, q in zip(path, path[1:]) for r in m["ink"]
                                if segment_hits_rect(p, q, m["box"], 0.2)):
                faults.append("over %s" % text)
                break
    return faults + ["labels %d leaders %d" % (len([w for w in words if len(w) > 5]), len(leaders)),
                     positions(marks, PT_MM)]


def check_pdf(path, labels):
    objects, pages = pdf_pages(path)
    xml = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True).stdout
    number = r"([-0-9.]+)"
    page_words = []
    for p in re.finditer(r"<page [^>]*>(.*?)</page>", xml, re.S):
        ws = []
        for w in re.finditer(r'<word xMin="%s" yMin="%s" xMax="%s" yMax="%s">([^<]*)</word>' % ((number,) * 4), p.group(1)):
            if w.group(5) in labels:
                ws.append([float(w.group(1)), float(w.group(2)), float(w.group(3)), float(w.group(4)), w.group(5)])
        page_words.append(ws)
    for n, (height, content, names) in enumerate(pages):
        words = page_words[n] if n < len(page_words) else []
        # Only the words left of the symbol column are labels (a depth may stand elsewhere too).
        for line in pdf_page(objects, height, content, names, [w for w in words if w[2] < 200]):
            print("page %d: %s" % (n + 1, line))


# --- HP-GL/2 ---

def check_pgl(path):
    data = open(path, "rb").read().decode("latin-1")
    body = data[data.find("\x1b%0B") + 4:]
    x = y = 0
    pen_down = False
    relative = False
    runs = []
    row_x = None  # where the row being drawn starts (each pixel row starts with PA)
    for cmd in re.finditer(r"LB[^\x1f\x03]*[\x1f\x03]|([A-Z]{2})([^A-Z;\x1b]*)", body):
        op, args = cmd.group(1), cmd.group(2)
        if op is None:  # a label's text
            continue
        nums = [float(v) for v in re.findall(r"[-+]?\d*\.?\d+", args)]
        if op in ("PU", "PD", "PA", "PR"):
            if op == "PU":
                pen_down = False
            elif op == "PD":
                pen_down = True
            if op == "PA":
                relative = False
                if len(nums) >= 2:
                    row_x = nums[0]
            elif op == "PR":
                relative = True
            for i in range(0, len(nums) - 1, 2):
                nx, ny = (x + nums[i], y + nums[i + 1]) if relative else (nums[i], nums[i + 1])
                if pen_down and relative and ny == y and nx != x:  # the symbols' pixel rows
                    runs.append((min(x, nx), -y, max(x, nx), -y, row_x))
                x, y = nx, ny
    return group_and_report(runs)


# --- DXF ---

def check_dxf(path):
    import ezdxf
    doc = ezdxf.readfile(path)
    runs = []
    for e in doc.modelspace().query("LINE"):
        a, b = e.dxf.start, e.dxf.end
        if abs(a.y - b.y) < 1e-9 and a.x != b.x:
            runs.append((min(a.x, b.x), -a.y, max(a.x, b.x), -a.y))
    return group_and_report(runs)


def group_and_report(runs):
    """Marks on the pen devices: rows of one pixel, drawn row by row. A mark is a run of rows one
    pixel apart (in the order drawn) that starts on one x; it stands left of the symbol column."""
    if not runs:
        print("marks")
        return
    # The row step the symbols are drawn with: the commonest step (to two figures), averaged over the
    # steps near it (the plotter rounds each row to its units).
    steps = [abs(b[1] - a[1]) for a, b in zip(runs, runs[1:]) if abs(b[1] - a[1]) > 1e-9]
    rounded = [float("%.2g" % v) for v in steps]
    step = max(set(rounded), key=rounded.count)
    near = [v for v in steps if 0.75 * step <= v <= 1.25 * step]
    pixel = sum(near) / len(near)
    unit_mm = 2 * 25.4 / 300 / pixel  # a symbol pixel is 2 dots of 1/300 inch
    groups, current = [], []
    for r in runs:
        # A new mark: a row not next to the last one, or (on the plotter) one that starts elsewhere.
        if current and (not (0 < abs(r[1] - current[-1][1]) <= pixel * 1.3 or r[1] == current[-1][1]) or
                        r[4:] != current[-1][4:]):
            groups.append(current)
            current = []
        current.append(r)
    if current:
        groups.append(current)
    # A pixel row is drawn as a stroke along its top: give it the pixel's height. The symbol column's
    # rows are 64 pixels wide; the marks stand left of it.
    # (A lone stroke or two is a tick of the depth scale, a rule or a leader, or the short lines under
    # a water line, which the comparison leaves out: it compares the tops and sides of the marks.)
    marks = [mark([(r[0], r[1], r[2], r[1] + pixel) for r in g]) for g in groups if len(g) > 2]
    wide = [m["box"][0] for m in marks if 60 * pixel < m["box"][2] - m["box"][0] < 66 * pixel and
            m["box"][3] - m["box"][1] > 20 * pixel]
    column = min(wide) if wide else None
    marks = [m for m in marks if column is None or m["box"][2] <= column + pixel * 0.5]
    # The parts of one mark (a water line and the short lines under it) stand 2 pixels apart or less,
    # two marks at least 3 pixels (6 dots): parts closer than 2.5 pixels are one mark.
    merged = True
    while merged:
        merged = False
        for i in range(len(marks)):
            for k in range(i + 1, len(marks)):
                if ink_distance(marks[i], marks[k], pixel * 2.5) < pixel * 2.5:
                    marks[i] = mark(marks[i]["ink"] + marks[k]["ink"])
                    del marks[k]
                    merged = True
                    break
            if merged:
                break
    samples = marks
    for f in report_marks(samples, unit_mm):
        print(f)
    print(positions(samples, unit_mm))


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    if kind == "pdf":
        check_pdf(path, set(sys.argv[3:]))
    elif kind == "pgl":
        check_pgl(path)
    else:
        check_dxf(path)
