#!/usr/bin/env python3
"""Writes the three embedded language packs lang1, lang2, lang3.

The source is langpacks.tsv next to this script: a header line, then one line
per key with the key and its text in pack 1 (Simplified Chinese), pack 2
(Traditional Chinese) and pack 3 (English), separated by tabs; an empty field
is an entry with an empty text.

Each pack is UTF-16 little-endian with the byte-order mark, one section named
like the resource, and every entry as one quoted item on its own line
("Str000=Confirm"), a double quote inside a text written twice. The loader
splits the text at blanks outside quotes, so the quotes keep texts with blanks
whole. Lines end in CR LF.

Run from anywhere; the files go to resources/rc/ of this checkout (or to the
folder given as the only argument).
"""
import pathlib
import sys

PACKS = 3


def read_table(path):
    rows = []
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    header, body = lines[0], lines[1:]
    if header.rstrip("\r").split("\t")[0] != "key":
        sys.exit(f"{path}: the first line must be the header")
    seen = set()
    for number, line in enumerate(body, start=2):
        fields = line.rstrip("\r").split("\t")
        if len(fields) != 1 + PACKS:
            sys.exit(f"{path}:{number}: expected {1 + PACKS} fields, found {len(fields)}")
        key, texts = fields[0], fields[1:]
        if not key or key != key.strip() or "=" in key or '"' in key:
            sys.exit(f"{path}:{number}: bad key {key!r}")
        if key.lower() in seen:
            sys.exit(f"{path}:{number}: key {key} twice")
        seen.add(key.lower())
        for text in texts:
            # The loader trims blanks around a value, so they could not survive.
            if text != text.strip():
                sys.exit(f"{path}:{number}: {key} has blanks at an end of its text")
        rows.append((key, texts))
    return rows


def pack_bytes(index, rows):
    lines = [f"[lang{index}]"]
    for key, texts in rows:
        item = f"{key}={texts[index - 1]}".replace('"', '""')
        lines.append(f'"{item}"')
    text = "\r\n".join(lines) + "\r\n"
    return b"\xff\xfe" + text.encode("utf-16-le")


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "resources" / "rc"
    rows = read_table(here / "langpacks.tsv")
    for index in range(1, PACKS + 1):
        (out / f"lang{index}").write_bytes(pack_bytes(index, rows))
    print(f"{len(rows)} keys written to {out}/lang1..lang{PACKS}")


if __name__ == "__main__":
    main()
