#!/usr/bin/env python3
"""Render one SVG to the game's picture format: an RGB PNG without alpha.

usage: render.py SOURCE.svg OUTPUT.png WIDTH HEIGHT [RSVG_CONVERT]

SDL blits the pictures onto a 24-bit screen, so an alpha channel would only
get in the way; rsvg-convert always writes RGBA, hence the flattening here.
"""
import struct
import subprocess
import sys
import zlib


def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, head = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = head
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("expected 8-bit RGB or RGBA, not interlaced")
    raw = zlib.decompress(b"".join(idat))
    if colour == 2:
        return width, height, 3, raw
    stride = width * 4
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(4, stride):
                line[i] = (line[i] + line[i - 4]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, prev))
        elif kind == 3:
            for i in range(stride):
                left = line[i - 4] if i >= 4 else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - 4] if i >= 4 else 0
                b = prev[i]
                c = prev[i - 4] if i >= 4 else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                if pa <= pb and pa <= pc:
                    pred = a
                elif pb <= pc:
                    pred = b
                else:
                    pred = c
                line[i] = (line[i] + pred) & 255
        elif kind != 0:
            raise ValueError("bad PNG filter %d" % kind)
        rows.append(line)
        prev = line
    return width, height, 4, rows


def write_png(path, width, height, raw):

    def chunk(kind, body):
        crc = zlib.crc32(kind + body) & 0xffffffff
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def main():
    source, target, want_w, want_h = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    rsvg = sys.argv[5] if len(sys.argv) > 5 else "rsvg-convert"
    # The backdrop colour only shows where a picture forgot to paint.
    png = subprocess.run([rsvg, "--background-color=#000000", source],
                         check=True, stdout=subprocess.PIPE).stdout
    width, height, channels, pixels = read_png(png)
    if (width, height) != (want_w, want_h):
        sys.exit("%s: %dx%d, expected %dx%d" % (source, width, height, want_w, want_h))
    if channels == 3:
        raw = pixels  # already filtered rows of RGB, as an opaque background gives
    else:
        rgb = []
        for line in pixels:
            out = bytearray(width * 3)
            out[0::3], out[1::3], out[2::3] = line[0::4], line[1::4], line[2::4]
            rgb.append(b"\x00" + bytes(out))
        raw = b"".join(rgb)
    write_png(target, width, height, raw)


if __name__ == "__main__":
    main()
