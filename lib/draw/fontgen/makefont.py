#!/usr/bin/env python3
"""Writes lib/draw/fontbits.cpp, the built-in font's picture as packed bits.

The picture is 251 x 381 pixels: a grid of 10 x 20 cells of 25 rows by 19
columns, with a one-pixel ruling between cells and around the edge. Code k
from 33 to 127 takes cell ((k - 33) div 20, (k - 33) mod 20), the blank takes
cell (6, 7), and every other code shares cell (7, 10), which stays empty like
the blank's (and like 127's). A glyph is 8 columns by 14 rows drawn 5 pixels
into its cell. Ink is 0, paper 1; pixels are packed row after row, 32 to a
word, the first pixel the most significant bit, rows not padded.

The glyphs are the public-domain 7 x 14 fixed font (see COPYING beside this
file), read from the console font Uni2-Fixed14.psf.gz of Debian's package
console-setup-linux. Without an argument the package is fetched with
`apt-get download` into a temporary folder and unpacked there; nothing is
installed. Run from the top of the repository:

    lib/draw/fontgen/makefont.py [FONT.psf.gz]
"""
import gzip
import os
import struct
import subprocess
import sys
import tempfile

ROWS, COLS = 251, 381
CELL_H, CELL_W = 25, 19
MARGIN = 5
GLYPH_H, GLYPH_W = 14, 8
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fontbits.cpp")


def psf_glyphs(path):
    """Code point -> 14 row bytes of a PSF1 console font with a Unicode table."""
    data = gzip.open(path).read()
    if data[0:2] != b"\x36\x04":
        sys.exit("not a PSF1 font: " + path)
    mode, height = data[2], data[3]
    if height != GLYPH_H or not mode & 2:
        sys.exit("expected a 14-row font with a Unicode table: " + path)
    count = 512 if mode & 1 else 256
    glyphs = [data[4 + i * height:4 + (i + 1) * height] for i in range(count)]
    table = data[4 + count * height:]
    by_code, glyph, i = {}, 0, 0
    while glyph < count and i + 1 < len(table):
        (u,) = struct.unpack("<H", table[i:i + 2])
        i += 2
        if u == 0xFFFF:
            glyph += 1
        elif u != 0xFFFE:
            by_code.setdefault(u, glyphs[glyph])
    return by_code


def fetch_font(tmp):
    subprocess.run(["apt-get", "download", "console-setup-linux"], cwd=tmp, check=True)
    deb = [f for f in os.listdir(tmp) if f.endswith(".deb")][0]
    subprocess.run(["dpkg-deb", "-x", deb, "x"], cwd=tmp, check=True)
    return os.path.join(tmp, "x/usr/share/consolefonts/Uni2-Fixed14.psf.gz")


def picture(glyphs):
    ink = [[False] * COLS for _ in range(ROWS)]
    for r in range(0, ROWS, CELL_H):
        for c in range(COLS):
            ink[r][c] = True
    for c in range(0, COLS, CELL_W):
        for r in range(ROWS):
            ink[r][c] = True
    for k in range(33, 127):
        top = (k - 33) // 20 * CELL_H + 1 + MARGIN
        left = (k - 33) % 20 * CELL_W + 1 + MARGIN
        rows = glyphs[k]
        for j in range(GLYPH_H):
            for i in range(GLYPH_W):
                if rows[j] & (0x80 >> i):
                    ink[top + j][left + i] = True
    return ink


def words(ink):
    bits = [0 if ink[r][c] else 1 for r in range(ROWS) for c in range(COLS)]
    bits += [1] * (-len(bits) % 32)
    return [int("".join(map(str, bits[i:i + 32])), 2) for i in range(0, len(bits), 32)]


def main():
    with tempfile.TemporaryDirectory() as tmp:
        path = sys.argv[1] if len(sys.argv) > 1 else fetch_font(tmp)
        w = words(picture(psf_glyphs(path)))
    lines = [
        "// The built-in font's picture: 251 x 381 pixels packed 32 to a word, row",
        "// after row (rows not padded), first pixel the most significant bit; 0 is",
        "// ink. Written by lib/draw/fontgen/makefont.py from a public-domain font",
        "// (lib/draw/fontgen/COPYING): change the generator, not this file.",
        "#include \"draw/fontbits.h\"",
        "",
        "namespace imagorix::detail {",
        "",
        "extern const std::uint32_t FONTBITS[FONTWORDS] = {",
    ]
    for i in range(0, len(w), 6):
        lines.append("    " + " ".join("0x%08x," % x for x in w[i:i + 6]))
    lines += ["};", "", "}  // namespace imagorix::detail", ""]
    with open(OUT, "w") as f:
        f.write("\n".join(lines))
    print("wrote", os.path.normpath(OUT), len(w), "words")


if __name__ == "__main__":
    main()
