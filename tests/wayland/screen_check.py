#!/usr/bin/env python3
"""Counts pixels of a binary PPM screenshot: the colour key and those that
differ from the background colour (the window's)."""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
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
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    w, h = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + w * h * 3]
    if len(pixels) != w * h * 3:
        raise SystemExit(f"{path}: short pixel data")
    return w, h, pixels


def main():
    path, background = sys.argv[1], bytes(int(v) for v in sys.argv[2].split(","))
    w, h, pixels = read_ppm(path)
    bg = tuple(background)
    key = window = 0
    for p in zip(pixels[0::3], pixels[1::3], pixels[2::3]):
        if p == (128, 0, 0):
            key += 1
        if p != bg:
            window += 1
    print(f"{w}x{h} key={key} window={window}")


main()
