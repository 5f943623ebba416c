#!/usr/bin/env python3
"""Writes the embedded layout texts org, org1, org2, org3.

"org" holds the general options [org]; "org1".."org3" each hold the layout
section of the same name for language 1..3. Language 3 uses the layout of
language 1, so [org3] carries the values of [org1]; [org2] differs where a
row below gives a second value.

The texts are plain ASCII INI with CR LF line ends; "//" lines are banners
that the reader skips (they must carry no "=").

Run from anywhere; the files go to resources/rc/ of this checkout (or to the
folder given as the only argument).
"""
import pathlib
import sys

WEB = "https://example.com/orb5610"

ORG = [
    ("Web_Enable", 1),
    ("Web", WEB),
    ("Web_X", 50),
    ("Web_Y", 575),
    ("Rev_Manu_ID", 0),
    ("Rev_Pro_ID", 0),
    ("Path", ""),
    ("TR_Enable", 0),
    ("DPILED_Status", 1),
    ("Num_Order", 0),
]


def v(first, second=None):
    """A value of [org1]/[org3] and, when given, the differing value of [org2]."""
    return (first, first if second is None else second)


def colour(prefix, r, g, b):
    return [(prefix + "R", v(r)), (prefix + "G", v(g)), (prefix + "B", v(b))]


def button(prefix, enable, x, y):
    return [(prefix + "Enable", enable), (prefix + "X", x), (prefix + "Y", y)]


def xy(prefix, x, y):
    return [(prefix + "X", x), (prefix + "Y", y)]


def xyd(prefix, x, y, d):
    return [(prefix + "X", x), (prefix + "Y", y), (prefix + "D", d)]


def xyh(prefix, x, y, h):
    return [(prefix + "X", x), (prefix + "Y", y), (prefix + "H", h)]


# (banner, [(key, (org1 value, org2 value)), ...]) in the order the window reads them.
GROUPS = []

GROUPS.append(("Group A: action and window buttons", [
    ("Size_A", v(11)),
    *colour("Color_A_", 255, 255, 255),
    *button("Btn_A1_", v(0, 1), v(2640), v(560)),
    *button("Btn_A2_", v(1), v(820, 760), v(600, 560)),
    *button("Btn_A8_", v(0, 1), v(310, 880), v(560)),
    *button("Btn_A3_", v(1), v(310, 760), v(600)),
    *button("Btn_A5_", v(0, 1), v(180, 880), v(600)),
    *button("Btn_A6_", v(0), v(310, 880), v(600)),
    *button("Btn_A7_", v(1), v(950), v(10)),
    *button("Btn_A4_", v(1), v(980), v(10)),
]))

GROUPS.append(("Group B: page, profile and language buttons", [
    ("Size_B", v(12, 11)),
    *colour("Color_B_", 255, 255, 255),
    ("Btn_Space_F", v(0)),
    ("Btn_Space_B", v(0)),
    *button("Btn_B1_", v(1), v(110, 50), v(50)),
    *button("Btn_B2_", v(1), v(240, 150), v(50)),
    *button("Btn_B4_", v(1), v(370, 250), v(50)),
    *button("Btn_B5_", v(1), v(500, 350), v(50)),
    *button("Btn_B11_", v(1), v(630, 450), v(50)),
    *button("Btn_B6_", v(0, 1), v(50), v(560)),
    *button("Btn_B7_", v(0, 1), v(180, 150), v(560)),
    *button("Btn_B8_", v(1), v(780, 50), v(50, 600)),
    *button("Btn_B9_", v(0, 1), v(150), v(600)),
    *button("Btn_B10_", v(1), v(905, 250), v(50, 600)),
]))

_key_y1 = [138, 186, 233, 329, 282, 377, 427]
_key_y2 = [138, 170, 202, 266, 234, 298, 330]
GROUPS.append(("Group C: key page", [
    ("Size_C", v(11)),
    *colour("Color_C_", 255, 255, 255),
    *xy("P1_", v(90, 100), v(130)),
    *[kv for n in range(1, 8) for kv in button(f"Key{n}_", v(1), v(140, 160), v(_key_y1[n - 1], _key_y2[n - 1]))],
    *button("Key8_", v(0, 1), v(710, 160), v(235, 362)),
    *button("Key9_", v(0, 1), v(710, 160), v(285, 394)),
    *button("ComboKey1_", v(1), v(700), v(470, 430)),
    *button("ComboKey2_", v(1), v(700), v(500, 460)),
]))

GROUPS.append(("Group G: assignment menus", [
    ("Size_G", v(10)),
    *colour("Color_G_", 255, 255, 255),
    *colour("Color_G_Back_", 0, 0, 0),
    *colour("Color_G_Border_", 0, 0, 0),
    *colour("Color_G_SF_", 255, 255, 255),
    *colour("Color_G_SP_", 49, 106, 198),
    ("M_L_W", v(190)),
    ("SP_L_W", v(166)),
    ("O_L_W", v(154)),
]))

_dpi_colour_y = [166, 210, 250, 290, 330, 370, 410]
_dpi_check_y = [184, 226, 266, 306, 346, 384, 424]
_dpi_label_y = [182, 224, 264, 304, 344, 382, 422]
_dpi_value_y = [182, 222, 262, 302, 342, 382, 422]
_dpi_rows = []
for n in range(1, 8):
    _dpi_rows += xy(f"DPI{n}_Color_", v(844), v(_dpi_colour_y[n - 1]))
    _dpi_rows += xy(f"DPI{n}_Check_", v(506), v(_dpi_check_y[n - 1]))
    _dpi_rows += xy(f"DPI{n}_", v(530), v(_dpi_label_y[n - 1]))
    _dpi_rows += xy(f"DPI{n}_Value_", v(566), v(_dpi_value_y[n - 1]))
    _dpi_rows += xyd(f"DPI{n}_Steps_", v(602), v(_dpi_value_y[n - 1]), v(0))
GROUPS.append(("Group D: advanced page", [
    ("Size_D", v(9)),
    *colour("Color_D_Selected_", 255, 0, 0),
    *colour("Color_D_notSelected_", 255, 255, 255),
    *colour("Color_D_Back_", 113, 111, 100),
    *colour("Color_D_Border_", 45, 114, 189),
    *xy("P2_", v(98), v(128)),
    *xy("FKCnt_", v(264), v(170)),
    *xy("FKDelay_", v(264), v(202)),
    *xyd("Spd_", v(150), v(300), v(0)),
    *xyd("DbSpd_", v(150), v(374), v(0)),
    *xyd("ScrSpd_", v(150), v(448), v(0)),
    *xy("IsControl_", v(312), v(278)),
    *xy("IsScreen_", v(312), v(426)),
    *_dpi_rows,
    *xy("AIMKey_", v(503), v(474)),
    *xy("AIMKey_Value_", v(566), v(478)),
    *xyd("AIMKey_Steps_", v(602), v(474), v(0)),
]))

GROUPS.append(("Group E: lighting page", [
    ("Size_E", v(9)),
    *colour("Color_E_", 255, 255, 255),
    *xy("P3_", v(98), v(128)),
    *xy("LEDOn_", v(240), v(190)),
    *xy("LEDOff_", v(340), v(190)),
    *xy("MCPIOn_", v(544), v(190)),
    *xy("MCPIOff_", v(643, 646), v(190)),
    *xy("LEDSwitchOn_", v(240), v(254)),
    *xy("LEDSwitchOff_", v(340), v(254)),
    *xy("SaveKeyMode_", v(8544, 2544), v(254)),
    *xy("NoSaveKeyMode_", v(2646), v(254)),
    *xy("MCULEDMode1_", v(220), v(326)),
    *xy("MCULEDMode2_", v(304, 318), v(326)),
    *xy("MCULEDMode3_", v(472, 420), v(326)),
    *xy("MCULEDMode4_", v(642, 517), v(326)),
    *xy("MCULEDMode5_", v(220, 617), v(363, 326)),
    *xy("MCULEDMode6_", v(377, 713), v(363, 326)),
    *xy("MCULEDMode7_", v(533, 814), v(363, 326)),
    *xyd("MCULEDNum_", v(256, 2256), v(8450, 420), v(5)),
    *xyd("MCULEDStep_", v(290, 256), v(423, 388), v(5)),
    *xy("KeyMode1_", v(3600), v(8840, 240)),
    *xy("KeyMode2_", v(730, 560), v(230, 240)),
]))

GROUPS.append(("Group F: macro page", [
    ("Size_F", v(9)),
    *colour("Color_F_", 255, 255, 255),
    *colour("Color_F_LBack_", 31, 31, 31),
    *colour("Color_F_LBorder_", 45, 114, 189),
    *colour("Color_F_Font_", 255, 255, 255),
    *colour("Color_F_Back_", 0, 0, 0),
    *xy("P4_", v(98), v(128)),
    *xyh("PCMacroName_", v(160), v(176), v(304)),
    *xy("MacroContent_", v(400), v(176)),
    ("MacroNameHeight", v(20)),
    *xy("BtnNew_", v(666), v(176)),
    *xy("BtnStart_", v(666), v(216)),
    *xy("DelayTime_", v(616), v(292)),
    *xyh("RecDelay_", v(20), v(36), v(23)),
    *xy("DelayEdit_", v(137), v(60)),
    *xy("ReleaseStop_", v(20), v(116)),
    *xy("ReleaseContinue_", v(20), v(140)),
    *xy("Insert_", v(616), v(318)),
    *xy("InsertList_", v(20), v(4)),
    *xyh("InsertRecDelay_", v(20), v(34), v(23)),
    *xy("InsertDelayEdit_", v(134), v(55)),
    *xy("InsertAxisEdit_", v(134), v(55)),
    *xy("InsertBtnStart_", v(30), v(104)),
    *xy("InsertBtnOK_", v(30), v(136)),
    *xy("InsertBtnCancel_", v(96), v(136)),
]))

GROUPS.append(("Group K: key-combination dialog", [
    ("Size_K", v(9)),
    *colour("Color_K_", 255, 255, 255),
    *colour("Color_K_AK_", 0, 0, 0),
    *xy("AKT_", v(18), v(25)),
    ("AKC_X", v(128)), ("AKC_Y", v(68)), ("AKC_W", v(240)),
    *xy("MK_C_", v(128), v(96)),
    *xy("MK_S_", v(190), v(96)),
    *xy("MK_A_", v(256), v(96)),
    *xy("MK_W_", v(320), v(96)),
    *xy("AK_Cfm_", v(128), v(134)),
    *xy("AK_Clear_", v(270), v(134)),
    *xy("AK_Close_", v(470), v(12)),
]))

GROUPS.append(("Group L: macro-name, edit-key, delay-time and modify-value dialogs", [
    ("Size_L", v(9)),
    *colour("Color_L_", 255, 255, 255),
    *colour("Color_L_MN_", 0, 0, 0),
    *xy("MNT_", v(18), v(25)),
    ("MNC_X", v(128)), ("MNC_Y", v(76)), ("MNC_W", v(240)),
    *xy("MN_Cfm_", v(128), v(134)),
    *xy("MN_Clear_", v(270), v(134)),
    *xy("MN_Close_", v(470), v(12)),
]))

GROUPS.append(("Group NorLED: LED colour dialog", [
    *xy("NorLED_Tte_", v(18), v(25)),
    *xy("NorLED_Col_", v(60), v(68)),
    *xy("NorLED_Cfm_", v(128), v(154)),
    *xy("NorLED_Clear_", v(270), v(154)),
    *xy("NorLED_Close_", v(470), v(12)),
]))

GROUPS.append(("Group M: not used by any control", [
    ("Size_M", v(9)),
    *colour("Color_M_", 255, 255, 255),
]))

RULE = "//" + "-" * 60


def text(lines):
    for line in lines:
        assert line.isascii()
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def org_text():
    lines = [RULE, "// ORB5610 Gaming Mouse: general options", RULE, "[org]"]
    lines += [f"{key}={value}" for key, value in ORG]
    return text(lines)


def layout_text(index):
    column = 1 if index == 2 else 0
    lines = [RULE, f"// ORB5610 Gaming Mouse: layout of language {index}", RULE, f"[org{index}]"]
    seen = set()
    for banner, rows in GROUPS:
        assert "=" not in banner
        lines += ["", RULE, "// " + banner, RULE]
        for key, values in rows:
            assert key.lower() not in seen, key
            seen.add(key.lower())
            lines.append(f"{key}={values[column]}")
    return text(lines)


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "resources" / "rc"
    (out / "org").write_bytes(org_text())
    for index in (1, 2, 3):
        (out / f"org{index}").write_bytes(layout_text(index))
    print(f"org, org1..org3 written to {out}")


if __name__ == "__main__":
    main()
