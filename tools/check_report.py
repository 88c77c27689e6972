#!/usr/bin/env python3
"""Checks of a vegfit HTML report as a browser shows it (tools/check_report.sh).

  check_report.py parse REPORT.html
      the file parses as HTML without a single parse error (html5lib, strict)
  check_report.py dom DOM.html RESULTS.csv [stand|sample]
      the DOM Chromium built (--dump-dom) has the front page, the overview
      and one page per row of RESULTS.csv (vegfit --top 1 of the same
      input), each sample's best community and fit in the overview
  check_report.py png SHOT.png
      a screenshot that is not blank: many colours, and ink on part of it
  check_report.py pdf REPORT.pdf RESULTS.csv [sample|stand]
      one page per sample after the front matter: the page count, and each
      sample's heading on its own page, in order (pdfinfo, pdftotext); for
      stands, whose constancy tables run on over more pages, each stand's
      heading opens a page, in order, and no page before the first stand's
      is one of theirs
"""
import csv
import html
import re
import struct
import subprocess
import sys
import zlib


def fail(message):
    print("check_report: " + message, file=sys.stderr)
    sys.exit(1)


def best_rows(results):
    with open(results, newline="", encoding="utf-8") as f:
        return [row for row in csv.DictReader(f)]


def check_parse(report):
    import html5lib  # python3-html5lib

    parser = html5lib.HTMLParser(strict=True)
    with open(report, "rb") as f:
        try:
            parser.parse(f)
        except Exception as error:  # html5lib raises ParseError at the first fault
            fail(f"{report} does not parse as HTML: {error} {parser.errors[:1]}")
    print(f"{report}: parses as HTML without errors")


def check_dom(dom_file, results, kind):
    with open(dom_file, encoding="utf-8") as f:
        dom = f.read()
    rows = best_rows(results)
    for part in ('<header id="front">', '<section class="pg" id="overview">', "<h2>Options</h2>",
                 "<h2>Notes</h2>", "Best communities by major type"):
        if part not in dom:
            fail(f"the DOM lacks {part}")
    pages = re.findall(r'<section class="pg" id="s(\d+)">', dom)
    if len(pages) != len(rows):
        fail(f"{len(pages)} sample pages for {len(rows)} samples")
    heading = "Stand" if kind == "stand" else "Sample"
    for i, row in enumerate(rows, 1):
        name = html.escape(row["sample"], quote=False)
        link = f'<a href="#s{i}">{name}</a></td>'
        if row["rank"]:
            expected = f'{link}<td>{row["nvc_code"]}</td>'
            if expected not in dom:
                fail(f"the overview lacks {expected}")
            fit = f'<p>Best fit <b>{row["nvc_code"]}</b>: {row["fit"]}, {row["grade"]}.'
            if fit not in dom:
                fail(f"the page of {row['sample']} lacks '{fit}'")
        elif f'{link}<td></td><td colspan="5">no result' not in dom:
            fail(f"the overview does not say that {row['sample']} has no result")
        if f"<h2>{heading} {name}</h2>" not in dom:
            fail(f"no page of {row['sample']}")
        if row["rank"] and f'<svg class="fc" role="img"' not in dom.split(f'id="s{i}"')[1].split("</section>")[0]:
            fail(f"the page of {row['sample']} has no fit chart")
    if kind == "stand" and "constancy table beside the table of" not in dom:
        fail("no stand's constancy table")
    print(f"{dom_file}: front page, overview and {len(rows)} {heading.lower()} pages, "
          "every best community and fit")


def png_pixels(path):
    """The rows of pixels of an 8-bit RGB or RGBA PNG, as byte strings."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(f"{path} is no PNG")
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        fail(f"{path}: a PNG of depth {depth}, colour type {colour}, not read here")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def check_png(path):
    width, height, channels, rows = png_pixels(path)
    colours, ink = set(), 0
    for line in rows:
        for x in range(0, len(line), channels):
            pixel = line[x:x + 3]
            colours.add(pixel)
            if sum(pixel) < 600:
                ink += 1
    share = ink / (width * height)
    if len(colours) < 32 or share < 0.02:
        fail(f"{path} looks blank: {len(colours)} colours, {share:.1%} of it not near white")
    print(f"{path}: {width}x{height}, {len(colours)} colours, {share:.1%} ink")


def check_pdf(pdf, results, kind):
    rows = best_rows(results)
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    texts = [subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), "-layout", pdf, "-"],
                            capture_output=True, text=True, check=True).stdout
             for page in range(1, pages + 1)]
    heading = "Stand " if kind == "stand" else "Sample "

    # The page (1-based) whose first line is the heading of `name`, from `start` on.
    def opened_by(name, start):
        for page in range(start, pages + 1):
            lines = [line for line in texts[page - 1].splitlines() if line.strip()]
            if lines and lines[0].strip() == heading + name:
                return page
        return None

    first = opened_by(rows[0]["sample"], 1)
    if first is None:
        fail(f"no page of {rows[0]['sample']} in {pdf}")
    if kind != "stand" and pages != first - 1 + len(rows):
        fail(f"{pages} pages: {first - 1} before the samples and {len(rows)} samples make "
             f"{first - 1 + len(rows)}")
    at = first
    for row in rows:
        page = opened_by(row["sample"], at)
        if page is None or (kind != "stand" and page != at):
            fail(f"page {at} is not the page of {row['sample']}")
        at = page + 1
    if kind == "stand":
        print(f"{pdf}: {pages} pages, {first - 1} of front matter, each of {len(rows)} stands "
              "from a page of its own")
    else:
        print(f"{pdf}: {pages} pages, {first - 1} of front matter and one for each of "
              f"{len(rows)} samples")


def main(argv):
    if len(argv) >= 3 and argv[1] == "parse":
        check_parse(argv[2])
    elif len(argv) >= 4 and argv[1] == "dom":
        check_dom(argv[2], argv[3], argv[4] if len(argv) > 4 else "sample")
    elif len(argv) == 3 and argv[1] == "png":
        check_png(argv[2])
    elif len(argv) >= 4 and argv[1] == "pdf":
        check_pdf(argv[2], argv[3], argv[4] if len(argv) > 4 else "sample")
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)


if __name__ == "__main__":
    main(sys.argv)
