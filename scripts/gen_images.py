#!/usr/bin/env python3
"""Paints the editor's four embedded images.

Usage:
    python3 scripts/gen_images.py OUTDIR        (`make images` writes into incbins/)

Writes OUTDIR/toolbar.png (336 x 24 RGBA, fourteen 24 px icons; 3 and 10 are
empty so the toolbar turns them into separators), OUTDIR/gradient.png (32 x 32
RGB, the toolbar's background), OUTDIR/icon.png (48 x 48 RGBA, the window icon)
and OUTDIR/hudtxt.jpg (640 x 480 baseline JPEG, the HUD preview's game screen).

The pictures are drawn by the C++ painter in scripts/imagegen/, which this
script compiles with g++ into a temporary folder against Debian's libpng,
libjpeg and FreeType (packages g++, libpng-dev, libjpeg62-turbo-dev,
libfreetype-dev, pkg-config) and runs with the Liberation fonts
(fonts-liberation2). The same inputs give the same bytes on every run. The
build never runs this: the results are kept in incbins/. Afterwards the files
are read back and checked (sizes, colour types, empty separator icons,
baseline JPEG), and their byte sizes are printed.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = os.path.join(HERE, "imagegen")
FONT_DIR = "/usr/share/fonts/truetype/liberation2"


def fail(message):
    sys.stderr.write("gen_images: " + message + "\n")
    sys.exit(1)


def pkg_config(*args):
    try:
        out = subprocess.run(["pkg-config", *args, "libpng", "freetype2"], check=True,
                             capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        fail("pkg-config cannot find libpng and freetype2 (install libpng-dev, libfreetype-dev, pkg-config)")
    return out.split()


def build_painter(workdir):
    sources = sorted(os.path.join(SOURCES, f) for f in os.listdir(SOURCES) if f.endswith(".cpp"))
    exe = os.path.join(workdir, "painter")
    cmd = ["g++", "-std=c++20", "-O2", *pkg_config("--cflags"), *sources, "-o", exe,
           *pkg_config("--libs"), "-ljpeg"]
    if subprocess.run(cmd).returncode != 0:
        fail("compiling the painter failed")
    return exe


def read_png(path):
    """Returns (width, height, colour type, rows of bytes) of an 8-bit, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(path + ": not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            fail(path + ": bad CRC in chunk " + kind.decode("latin-1"))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None or kind != b"IEND":
        fail(path + ": missing IHDR or IEND")
    width, height, depth, ctype, _, _, interlace = header
    if depth != 8 or interlace != 0:
        fail(path + ": expected 8-bit non-interlaced")
    bpp = {2: 3, 6: 4}.get(ctype)
    if bpp is None:
        fail(path + ": unexpected colour type %d" % ctype)
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, ctype, rows


def check_png(path, width, height, ctype):
    w, h, t, rows = read_png(path)
    if (w, h, t) != (width, height, ctype):
        fail("%s: %dx%d colour type %d, expected %dx%d colour type %d" % (path, w, h, t, width, height, ctype))
    return rows


def check_toolbar(path):
    rows = check_png(path, 336, 24, 6)
    for i in range(14):
        pixels = {row[i * 96 + x * 4:i * 96 + x * 4 + 4] for row in rows for x in range(24)}
        if i in (3, 10):
            if pixels != {b"\0\0\0\0"}:
                fail("toolbar icon %d must be fully transparent" % i)
        elif len(pixels) < 2:
            fail("toolbar icon %d is uniform and would turn into a separator" % i)


def check_gradient(path):
    rows = check_png(path, 32, 32, 2)
    for row in rows:
        if row != row[:3] * 32:
            fail(path + ": rows must be uniform to tile without seams")
    if not rows[0][0] > rows[-1][0]:
        fail(path + ": the gradient must darken downwards")


def check_jpeg(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"\xff\xd8":
        fail(path + ": not a JPEG")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            fail(path + ": broken marker structure")
        marker = data[pos + 1]
        (length,) = struct.unpack(">H", data[pos + 2:pos + 4])
        if marker == 0xC0:
            height, width = struct.unpack(">HH", data[pos + 5:pos + 9])
            if (width, height) != (640, 480):
                fail(path + ": %dx%d, expected 640x480" % (width, height))
            return
        if 0xC1 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            fail(path + ": not a baseline JPEG (SOF marker %02X)" % marker)
        pos += 2 + length
    fail(path + ": no SOF0 marker")


def main():
    if len(sys.argv) != 2:
        fail("usage: gen_images.py OUTDIR")
    out = os.path.abspath(sys.argv[1])
    os.makedirs(out, exist_ok=True)
    if not os.path.isfile(os.path.join(FONT_DIR, "LiberationSans-Bold.ttf")):
        fail("Liberation fonts not found in " + FONT_DIR + " (install fonts-liberation2)")
    workdir = tempfile.mkdtemp(prefix="gen_images.")
    try:
        exe = build_painter(workdir)
        if subprocess.run([exe, out, FONT_DIR]).returncode != 0:
            fail("the painter failed")
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    check_toolbar(os.path.join(out, "toolbar.png"))
    check_gradient(os.path.join(out, "gradient.png"))
    check_png(os.path.join(out, "icon.png"), 48, 48, 6)
    check_jpeg(os.path.join(out, "hudtxt.jpg"))
    for name in ("toolbar.png", "gradient.png", "icon.png", "hudtxt.jpg"):
        print("%-13s %6d bytes" % (name, os.path.getsize(os.path.join(out, name))))


if __name__ == "__main__":
    main()
