#!/usr/bin/env python3
"""Writes the three built-in default configuration images.

Each image is the mouse's whole 2048-byte memory: the bytes 0x000-0x0FF below,
then 0x100-0x7FF (the macro area) all zero. The three images are identical in
this build. Run from anywhere; the files go to resources/rc/ of this checkout
(or to the folder given as the only argument).
"""
import pathlib
import sys

IMAGE_SIZE = 2048

# Bytes 0x000-0x0FF, sixteen per row; the row's address is on its left.
HEAD = """
000: 45 F8 06 38 FF 00 01 04 06 07 09 0A 07 01 04 03
010: 00 02 05 06 FF 00 7F FF FF FF 00 FF 00 FF 00 FF
020: 00 00 FF FF 00 00 00 FF FF FF FF 00 FF FF FF 70
030: 01 FE 42 BD 00 FF FF FF FF FF FF FF FE FF FF FF
040: 01 01 00 01 04 00 01 02 00 01 08 00 01 10 00 05
050: 00 00 07 00 00 08 00 00 06 00 F0 01 01 00 01 04
060: 00 01 02 00 01 08 00 01 10 00 05 00 00 07 00 00
070: 08 00 00 06 00 F0 06 FF FE FF FF FF FF FF FE 99
080: 0E 05 01 0E 05 19 0E 05 31 0E 05 49 0E 05 61 0E
090: 05 79 0E 05 91 0E 05 A9 0E 05 C1 0E 05 D9 FF FF
0A0: FF FF FF FF FF FF FF FF FE FF FF FF FF FF FD FF
0B0: 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF
0C0: 00 FF 00 FF FF FF FE FF FF FF FF FF FD FF FF FF
0D0: FF 00 00 00 FF 00 00 00 FF FF FF 00 FF 00 FF 00
0E0: FF FF FF 80 00 FF 00 80 00 FF 80 FF FF FF FF FF
0F0: 0A FD 02 A1 FE 03 21 FE 06 FC 96 FF FD FF FF FF
"""

NAMES = ("ORB5610Data_Cfg1", "ORB5610Data_Cfg2", "ORB5610Data_Cfg3")


def section_sum(data: bytes) -> int:
    return (sum(data) & 0xFF) ^ 0x5A


def build_image() -> bytes:
    image = bytearray(IMAGE_SIZE)
    for row in HEAD.strip().splitlines():
        addr, values = row.split(":")
        addr = int(addr, 16)
        values = bytes(int(v, 16) for v in values.split())
        assert len(values) == 16, row
        image[addr : addr + 16] = values
    # The image must pass the mouse's own section checks unchanged.
    assert image[0x02F] == section_sum(image[0x000:0x02F])
    assert image[0x076] == section_sum(image[0x040:0x076])
    assert image[0x0FA] == section_sum(image[0x0F0:0x0FA])
    for i in (0x030, 0x032, 0x034):
        assert image[i] + image[i + 1] == 0xFF
    assert image[0x07F] == 0x99
    return bytes(image)


def main() -> None:
    if len(sys.argv) > 1:
        out = pathlib.Path(sys.argv[1])
    else:
        out = pathlib.Path(__file__).resolve().parent.parent / "resources" / "rc"
    out.mkdir(parents=True, exist_ok=True)
    image = build_image()
    for name in NAMES:
        (out / name).write_bytes(image)


if __name__ == "__main__":
    main()
