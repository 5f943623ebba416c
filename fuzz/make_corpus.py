#!/usr/bin/env python3
"""Writes the small seed corpora under fuzz/corpus/<target>/ from the
embedded resources and a few hand-made cases. Re-run after the resources
change; the output is committed."""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RC = os.path.join(ROOT, "resources", "rc")
OUT = os.path.join(ROOT, "fuzz", "corpus")


def rc(name):
    with open(os.path.join(RC, name), "rb") as f:
        return f.read()


def put(target, name, data):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)



# --- profile files -------------------------------------------------------
cfg1 = bytearray(rc("ORB5610Data_Cfg1"))
put("fuzz_profile", "default1.bin", bytes(cfg1))
put("fuzz_profile", "default3.bin", rc("ORB5610Data_Cfg3"))
put("fuzz_profile", "short_marked.bin", bytes(cfg1[:0x80]))
broken = bytearray(cfg1)
broken[0x005] ^= 0xFF  # parameter A checksum no longer matches
broken[0x031] = broken[0x030]  # a broken value/complement pair
broken[0x050] ^= 0x11  # profile keys checksum no longer matches
broken[0x0F2] = 0x40  # fire count out of any list
put("fuzz_profile", "broken_sections.bin", bytes(broken))
put("fuzz_profile", "unmarked.bin", bytes(2048))

# --- language packs -------------------------------------------------------
put("fuzz_language_pack", "lang1", rc("lang1")[:1200])
put("fuzz_language_pack", "lang3", rc("lang3")[:1600])
hand = '[lang1]\r\nFontName="Arial"\r\nTitle="a ""quoted"" title"\r\nStr100="x"y Str101=\t"unclosed\r\n'
put("fuzz_language_pack", "quotes", b"\xff\xfe" + hand.encode("utf-16-le"))
put("fuzz_language_pack", "no_mark_odd", "[LANG1]\nStr300=\U0001F600\n".encode("utf-16-le") + b"\x41")

# --- layout texts ---------------------------------------------------------
put("fuzz_layout_text", "org", rc("org"))
put("fuzz_layout_text", "org1", rc("org1").replace(b"[org1]", b"[org1]", 1))
put("fuzz_layout_text", "bad_values",
    b"[org]\nWeb_Enable=+1\nWeb_X=-2147483648\nWeb_Y=2147483648\n;c\n[ORG1]\n"
    b"Color_A_R=256\nColor_A_G= 7 \nColor_A_B=x\n =3\nP1_Enable=1\nP1_X=1\n")

# --- report descriptors -------------------------------------------------
vendor = bytes([
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  # vendor page, collection
    0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02,  # id 4: 7 bytes
    0xC0])
put("fuzz_report_descriptor", "vendor_id4", vendor)
mouse = bytes([
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
    0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01,
    0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81, 0x01,
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x00, 0x80, 0x26, 0xFF, 0x7F,
    0x75, 0x10, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0])
put("fuzz_report_descriptor", "boot_mouse", mouse)
put("fuzz_report_descriptor", "push_pop_long",
    bytes([0x75, 0x08, 0xA4, 0x95, 0x40, 0xB1, 0x02, 0xB4, 0xFE, 0x02, 0x10, 0xAA, 0xBB,
           0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02]))

# --- the mouse's answers --------------------------------------------------
def answer(report, control=0):
    return bytes([control]) + bytes(report)


ack_begin = answer([4, 1, 0, 0, 0, 0, 0, 0xCC])
status = answer([4, 0xAA, 0x04, 0x75, 0, 0, 0, 0xCC])
window = answer([4, 4, 0, 0, 0, 0, 0, 0xCC])
chunk = answer([4, 1, 2, 3, 4, 5, 6, 0xCC])
busy = answer([4, 5, 0, 0, 0, 0, 0, 0])
put("fuzz_transport", "read_good", bytes([0]) + ack_begin + status + window + (busy + chunk) * 40)
put("fuzz_transport", "write_refused", bytes([1]) + ack_begin + answer([4, 0xAA, 0, 0x35, 0, 0, 0, 0xCC])
    + answer([4, 2, 0, 0, 0, 0, 0, 0xEE]) * 6)
put("fuzz_transport", "keys", bytes([2]) + answer([4, 3, 0, 0, 0, 0x15, 0x01, 0xCC], 2) + answer([0] * 8, 1))
# Pulled out in the middle: after a few chunks the mouse is gone (control bit
# 2); the answers after it must never be asked for.
put("fuzz_transport", "read_unplugged", bytes([0]) + ack_begin + status + window + chunk * 5
    + answer([0] * 8, 4) + chunk * 20)
put("fuzz_transport", "write_unplugged", bytes([1]) + ack_begin + status
    + answer([4, 6, 0, 0, 0, 0, 0, 0xCC]) + answer([4, 7, 0, 0, 0, 0, 0, 0xCC]) * 3
    + answer([0] * 8, 4) + chunk * 20)
put("fuzz_transport", "keys_unplugged", bytes([2]) + answer([4, 3, 0, 0, 0, 0x01, 0x00, 0xCC])
    + answer([0] * 8, 4))
# Pulled out after a few chunks of a read: the answer's control bit 2.
put("fuzz_transport", "read_gone", bytes([0]) + ack_begin + status + window + chunk * 3
    + answer([4, 1, 2, 3, 4, 5, 6, 0xCC], 4) + chunk * 4)


def listed(control, vid, pid, rel, desc):
    return bytes([control, vid & 0xFF, vid >> 8, pid & 0xFF, pid >> 8, rel & 0xFF, rel >> 8, len(desc)]) + desc


# Opening: an interface refused for want of permission, one whose
# attributes cannot be read, a keyboard, then the mouse's vendor interface.
put("fuzz_transport", "open_listed", bytes([4])
    + listed(3, 0x1209, 0x08A0, 0x0104, b"")
    + listed(4, 0x1209, 0x08A0, 0x0104, vendor)
    + listed(0, 0x1209, 0x08A0, 0x0104, mouse)
    + listed(0, 0x1209, 0x08A0, 0x0104, vendor))
put("fuzz_transport", "block", bytes([3, 0xFA, 0x07, 13]) + window + chunk + busy * 3 + chunk + chunk)

# --- macro records, slots and macro files ----------------------------------
lib = rc("PCMacroData")
entry = lambda k: lib[256 * k:256 * (k + 1)]
put("fuzz_macro_record", "record0", entry(0)[32:])
put("fuzz_macro_record", "record14_long", entry(14)[32:])
area = b"".join(entry(k) for k in range(7))
put("fuzz_macro_record", "area_7_slots", area)
bad = bytearray(area)
bad[32 + 5] ^= 0x01  # slot 1's events no longer match its check byte
bad[256 + 32 + 1] = 0xE0  # slot 2's length byte past the record
put("fuzz_macro_record", "area_bad_slots", bytes(bad))
put("fuzz_macro_files", "single_macro", entry(2))
put("fuzz_macro_files", "library_head", lib[:256 * 4])
put("fuzz_macro_files", "unpacked", bytes(256) + entry(5) + entry(6))
put("fuzz_macro_files", "base_macros", area)
# Found by the fuzzer: a cut library whose fourth entry's events no longer
# match its check byte; both imports refuse it and leave the library alone.
undecodable = bytearray(area[:1753])
undecodable[256 * 3 + 32 + 5] ^= 0x01
put("fuzz_macro_files", "finding_undecodable_entry", bytes(undecodable))
