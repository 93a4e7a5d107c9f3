#!/usr/bin/env python3
"""Writes res/param_pages.rc: the Configuration and Options page templates of the five size
classes and the emulation dialog.

The smallest class's templates (106 and 152) are given control by control; the larger
classes keep the same rows and columns and move them to their own list, label and unit
columns and row positions, so a moved row is a one-number change here. Run it after editing
and commit both files.

Usage: scripts/make_param_templates.py [output file]   (default: <repo>/res/param_pages.rc)
"""

import sys
from pathlib import Path

LIST = "WS_CHILD | {vis} | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP"
LABEL = "WS_CHILD | {vis} | SS_LEFT"
GROUP = "WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_SUNKEN"
CHECK = "WS_CHILD | {vis} | BS_AUTOCHECKBOX | WS_TABSTOP"
SEPARATOR = "WS_CHILD | WS_VISIBLE | SS_GRAYRECT"
BUTTON = "WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP"

# --- Configuration page -------------------------------------------------------------------

# Template 106, row by row: list, label, unit label, group label (x, y, width, height).
CONFIG_ROWS = [
    # list                              label                                     unit                                   group
    (("IDC_CFG_LAMBDA_TYPE", 231, 2, 48, 58), ("IDC_CFG_LAMBDA_TYPE_LABEL", 103, 2, 119, 8), None, ("IDC_CFG_GROUP1", 8, 3, 75, 10)),
    (("IDC_CFG_LAMBDA_POINT", 231, 15, 48, 54), ("IDC_CFG_LAMBDA_POINT_LABEL", 103, 15, 121, 8), ("IDC_CFG_LAMBDA_POINT_UNIT", 284, 17, 17, 8), None),
    (("IDC_CFG_LAMBDA_DELAY", 231, 28, 48, 53), ("IDC_CFG_LAMBDA_DELAY_LABEL", 102, 29, 126, 8), ("IDC_CFG_LAMBDA_DELAY_UNIT", 282, 30, 30, 8), None),
    (("IDC_CFG_EMUL_TYPE", 231, 41, 48, 51), ("IDC_CFG_EMUL_TYPE_LABEL", 103, 41, 122, 8), None, None),
    (("IDC_CFG_EMUL_BJ_TIME_HI", 231, 54, 48, 52), ("IDC_CFG_EMUL_BJ_TIME_HI_LABEL", 114, 55, 107, 8), ("IDC_CFG_EMUL_BJ_TIME_HI_UNIT", 284, 56, 28, 8), None),
    (("IDC_CFG_EMUL_BJ_TIME_LO", 231, 67, 48, 61), ("IDC_CFG_EMUL_BJ_TIME_LO_LABEL", 115, 67, 105, 8), ("IDC_CFG_EMUL_BJ_TIME_LO_UNIT", 284, 68, 28, 8), None),
    (("IDC_CFG_IGNITION_TYPE", 231, 87, 80, 50), ("IDC_CFG_IGNITION_TYPE_LABEL", 103, 88, 118, 8), None, ("IDC_CFG_GROUP2", 8, 90, 75, 10)),
    (("IDC_CFG_LPG_ON_RPM", 231, 100, 48, 60), ("IDC_CFG_LPG_ON_RPM_LABEL", 104, 101, 118, 8), ("IDC_CFG_LPG_ON_RPM_UNIT", 284, 102, 32, 9), None),
    (("IDC_CFG_SWITCH_MODE", 231, 113, 61, 47), ("IDC_CFG_SWITCH_MODE_LABEL", 104, 114, 115, 8), None, None),
    (("IDC_CFG_TPS_TYPE", 231, 134, 71, 48), ("IDC_CFG_TPS_TYPE_LABEL", 105, 136, 112, 8), None, ("IDC_CFG_GROUP3", 8, 137, 75, 10)),
    (("IDC_CFG_TPS_INERT", 231, 147, 48, 57), ("IDC_CFG_TPS_INERT_LABEL", 104, 149, 119, 8), ("IDC_CFG_TPS_INERT_UNIT", 284, 149, 17, 8), None),
    (("IDC_CFG_INJECT_DELAY", 231, 168, 48, 55), ("IDC_CFG_INJECT_DELAY_LABEL", 103, 170, 119, 8), ("IDC_CFG_INJECT_DELAY_UNIT", 285, 169, 27, 8), ("IDC_CFG_GROUP4", 8, 169, 75, 10)),
    (("IDC_CFG_EXTRA_MODE", 231, 188, 48, 57), ("IDC_CFG_EXTRA_MODE_LABEL", 105, 190, 114, 8), None, ("IDC_CFG_GROUP5", 8, 190, 74, 10)),
]
CONFIG_LABEL_X0, CONFIG_UNIT_X0 = 102, 282  # leftmost label and unit columns of template 106
# Texts the templates carry; the page sets every label from the language table.
CONFIG_TEXTS = {"IDC_CFG_LAMBDA_POINT_UNIT": "[V]", "IDC_CFG_TPS_INERT_UNIT": "[V]"}

# name, size, font, list x, label x range, unit x range, row y, separator y, separator
# width, group label width, unit labels left out.
CONFIG_TEMPLATES = [
    ("IDD_CONFIG_640X480", (357, 227), 10, 231, None, None,
     [r[0][2] for r in CONFIG_ROWS], (82, 129, 163, 183), 308, None, ()),
    ("IDD_CONFIG_800X600", (357, 227), 12, 231, (102, 106), (283, 285),
     (2, 15, 28, 41, 54, 67, 88, 101, 114, 135, 148, 169, 192), (82, 129, 163, 185), 319, 80, ()),
    ("IDD_CONFIG_1024X768", (389, 260), 14, 279, (150, 164), (332, 334),
     (4, 17, 30, 43, 56, 69, 96, 109, 122, 149, 162, 189, 215), (88, 141, 181, 208), 361, 90, ()),
    ("IDD_CONFIG_1280X960", (368, 254), 17, 258, (129, 143), (312, 313),
     (9, 22, 35, 48, 61, 74, 102, 115, 128, 157, 170, 198, 224), (92, 147, 189, 216), 355, 90, ()),
    ("IDD_CONFIG_1280X1024", (363, 272), 17, 259, (129, 143), (312, 312),
     (10, 23, 36, 49, 62, 75, 105, 119, 132, 164, 177, 210, 239), (94, 153, 198, 230), 355, 90,
     ("IDC_CFG_INJECT_DELAY_UNIT",)),
]

# --- Options page -------------------------------------------------------------------------

# Template 152. Each entry: (name, x, y, width, height, hidden).
OPTIONS_CHECKS = [
    ("IDC_OPT_ATT_INIT_CHECK", 87, 4, 141, 10),
    ("IDC_OPT_JUMP_CHECK", 86, 69, 142, 10),
    ("IDC_OPT_CUTOFF_CHECK", 86, 107, 137, 10),
    ("IDC_OPT_LPG_OFF_CHECK", 88, 147, 137, 10),
    ("IDC_OPT_LPG_ON_TEMP_CHECK", 88, 168, 140, 10),
]
# Lists in the order of the per-template list y table, each with its label and unit label.
OPTIONS_LISTS = [
    (("IDC_OPT_ATT_INIT", 235, 2, 48, 54, True), None, ("IDC_OPT_ATT_INIT_UNIT", 287, 3, 29, 8, True)),
    (("IDC_OPT_ATT_MIN_BJ", 235, 15, 48, 53, False), ("IDC_OPT_ATT_MIN_BJ_LABEL", 86, 16, 142, 8, False), ("IDC_OPT_ATT_MIN_BJ_UNIT", 287, 17, 29, 8, False)),
    (("IDC_OPT_ATT_MAX_BJ", 235, 28, 48, 54, False), ("IDC_OPT_ATT_MAX_BJ_LABEL", 87, 29, 141, 8, False), ("IDC_OPT_ATT_MAX_BJ_UNIT", 287, 30, 29, 8, False)),
    (("IDC_OPT_ATT_MIN", 235, 41, 48, 54, False), ("IDC_OPT_ATT_MIN_LABEL", 86, 42, 139, 8, False), ("IDC_OPT_ATT_MIN_UNIT", 287, 42, 29, 8, False)),
    (("IDC_OPT_ATT_MAX", 235, 54, 48, 52, False), ("IDC_OPT_ATT_MAX_LABEL", 86, 55, 142, 8, False), ("IDC_OPT_ATT_MAX_UNIT", 287, 56, 29, 8, False)),
    (("IDC_OPT_ATT_JUMP", 235, 76, 48, 55, True), ("IDC_OPT_ATT_JUMP_LABEL", 117, 79, 111, 8, True), ("IDC_OPT_ATT_JUMP_UNIT", 287, 77, 29, 8, True)),
    (("IDC_OPT_TPS_JUMP", 235, 89, 48, 56, True), ("IDC_OPT_TPS_JUMP_LABEL", 117, 91, 111, 8, True), ("IDC_OPT_TPS_JUMP_UNIT", 287, 90, 11, 8, True)),
    (("IDC_OPT_CUTOFF_RPM", 235, 113, 48, 57, True), ("IDC_OPT_CUTOFF_RPM_LABEL", 121, 117, 103, 8, True), ("IDC_OPT_CUTOFF_RPM_UNIT", 285, 114, 32, 8, True)),
    (("IDC_OPT_CUTOFF_STEPS", 235, 126, 48, 55, True), ("IDC_OPT_CUTOFF_STEPS_LABEL", 122, 128, 104, 8, True), ("IDC_OPT_CUTOFF_STEPS_UNIT", 287, 127, 17, 8, True)),
    (("IDC_OPT_LPG_OFF_RPM", 235, 146, 48, 55, True), None, ("IDC_OPT_LPG_OFF_RPM_UNIT", 285, 147, 32, 8, True)),
    (("IDC_OPT_LPG_ON_TEMP", 235, 166, 48, 57, True), None, ("IDC_OPT_LPG_ON_TEMP_UNIT", 288, 167, 16, 8, True)),
    (("IDC_OPT_EMUL_TYPE_HI", 235, 185, 56, 57, False), ("IDC_OPT_EMUL_TYPE_HI_LABEL", 87, 186, 137, 8, False), None),
]
# Group labels sit level with the check box (or list) that opens their group.
OPTIONS_GROUPS = [("IDC_OPT_GROUP1", "check", 0), ("IDC_OPT_GROUP2", "check", 2),
                  ("IDC_OPT_GROUP3", "check", 3), ("IDC_OPT_GROUP4", "check", 4),
                  ("IDC_OPT_GROUP5", "list", 11)]
OPTIONS_GROUP_X, OPTIONS_GROUP_W, OPTIONS_GROUP_H = 2, 75, 10
OPTIONS_CHECK_X0, OPTIONS_UNIT_X0 = 86, 285
# Template 125 alone carries these Polish captions; the page replaces them.
OPTIONS_125_TEXTS = {
    "IDC_OPT_CUTOFF_CHECK": "Aktywacja Cut-Off",
    "IDC_OPT_LPG_OFF_CHECK": "Górne ograniczenie obrotów",
    "IDC_OPT_LPG_ON_TEMP_CHECK": "Przy minimalnej temperaturze silnika",
    "IDC_OPT_CUTOFF_RPM_LABEL": "Minimalne obroty",
    "IDC_OPT_CUTOFF_STEPS_LABEL": "Zubożenie mieszanki od PWA",
    "IDC_OPT_EMUL_TYPE_HI_LABEL": "Preferowany typ jazdy",
    "IDC_OPT_TPS_JUMP_UNIT": " [V] ",
    "IDC_OPT_CUTOFF_STEPS_UNIT": " [%] ",
    "IDC_OPT_LPG_ON_TEMP_UNIT": " [°C] ",
}

# name, size, font, list x, check x range, unit x range, list y, check y, button, separator
# y, separator width.
OPTIONS_TEMPLATES = [
    ("IDD_OPTIONS_640X480", (357, 227), 10, 235, None, None,
     [l[0][2] for l in OPTIONS_LISTS], [c[2] for c in OPTIONS_CHECKS], (6, 31, 72, 31),
     (103, 141, 162, 181), 315),
    ("IDD_OPTIONS_800X600", (357, 227), 12, 234, (86, 88), (286, 289),
     (2, 15, 28, 41, 54, 76, 89, 116, 129, 150, 172, 193), (4, 67, 110, 151, 174),
     (5, 29, 63, 33), (107, 144, 166, 188), 338),
    ("IDD_OPTIONS_1024X768", (385, 227), 14, 280, (132, 134), (333, 333),
     (12, 25, 38, 51, 64, 86, 99, 126, 139, 160, 182, 203), (14, 77, 120, 161, 184),
     (9, 51, 91, 20), (118, 154, 176, 198), 359),
    ("IDD_OPTIONS_1280X960", (380, 254), 17, 271, (123, 125), (324, 324),
     (14, 27, 40, 53, 66, 88, 101, 134, 147, 172, 197, 222), (16, 79, 128, 173, 199),
     (7, 51, 96, 23), (123, 165, 189, 215), 355),
    ("IDD_OPTIONS_1280X1024", (380, 268), 17, 271, (123, 125), (324, 324),
     (14, 27, 40, 53, 66, 88, 101, 135, 148, 179, 208, 238), (16, 79, 129, 180, 210),
     (7, 51, 96, 23), (123, 169, 199, 228), 355),
]


def in_range(x, x0, span):
    """x of template 106/152 moved to a column given as a range: same offset, kept inside."""
    if span is None:
        return x
    start, end = span
    return min(start + (x - x0), end)


def control(text, name, cls, style, x, y, w, h, hidden=False):
    vis = "NOT WS_VISIBLE" if hidden else "WS_VISIBLE"
    return (f'    CONTROL         "{text}", {name}, "{cls}",\n'
            f'                    {style.format(vis=vis)}, {x}, {y}, {w}, {h}')


def header(name, size, font, style="DS_SETFONT | WS_CHILD | WS_VISIBLE", at=(0, 0)):
    return [f"{name} DIALOGEX {at[0]}, {at[1]}, {size[0]}, {size[1]}",
            f"STYLE {style}",
            f'FONT {font}, "MS Sans Serif", 0, 0, 238',
            "BEGIN"]


def config_template(t):
    name, size, font, list_x, label_span, unit_span, rows_y, seps, sep_w, group_w, omit = t
    out = header(name, size, font)
    for row, y in zip(CONFIG_ROWS, rows_y):
        (lname, _, ly, lw, lh), label, unit, group = row
        out.append(control("", lname, "ComboBox", LIST, list_x, y, lw, lh))
        n, x, yy, w, h = label
        out.append(control("", n, "Static", LABEL, in_range(x, CONFIG_LABEL_X0, label_span),
                           y + yy - ly, w, h))
        if unit and unit[0] not in omit:
            n, x, yy, w, h = unit
            out.append(control(CONFIG_TEXTS.get(n, ""), n, "Static", LABEL,
                               in_range(x, CONFIG_UNIT_X0, unit_span), y + yy - ly, w, h))
        if group:
            n, x, yy, w, h = group
            out.append(control("", n, "Static", GROUP, x, y + yy - ly, group_w or w, h))
    for sy in seps:
        out.append(control("", "-1", "Static", SEPARATOR, 8, sy, sep_w, 1))
    return out + ["END", ""]


def options_template(t):
    name, size, font, list_x, check_span, unit_span, lists_y, checks_y, button, seps, sep_w = t
    texts = OPTIONS_125_TEXTS if name == "IDD_OPTIONS_800X600" else {}
    label_shift = 0 if check_span is None else check_span[0] - OPTIONS_CHECK_X0
    out = header(name, size, font)
    for (n, x, _, w, h), y in zip(OPTIONS_CHECKS, checks_y):
        out.append(control(texts.get(n, ""), n, "Button", CHECK,
                           in_range(x, OPTIONS_CHECK_X0, check_span), y, w, h))
    for (lst, label, unit), y in zip(OPTIONS_LISTS, lists_y):
        n, _, ly, w, h, hidden = lst
        out.append(control("", n, "ComboBox", LIST, list_x, y, w, h, hidden))
        if label:
            n, x, yy, w, h, hidden = label
            out.append(control(texts.get(n, ""), n, "Static", LABEL, x + label_shift,
                               y + yy - ly, w, h, hidden))
        if unit:
            n, x, yy, w, h, hidden = unit
            x = unit_span[0] if unit_span and unit_span[0] == unit_span[1] else \
                in_range(x, OPTIONS_UNIT_X0, unit_span)
            out.append(control(texts.get(n, ""), n, "Static", LABEL, x, y + yy - ly, w, h,
                               hidden))
    for n, kind, i in OPTIONS_GROUPS:
        y = checks_y[i] if kind == "check" else lists_y[i] + 1
        out.append(control("", n, "Static", GROUP, OPTIONS_GROUP_X, y, OPTIONS_GROUP_W,
                           OPTIONS_GROUP_H))
    out.append(control("", "IDC_OPT_EMULATION", "Button", BUTTON, *button))
    for sy in seps:
        out.append(control("", "-1", "Static", SEPARATOR, 2, sy, sep_w, 1))
    return out + ["END", ""]


def emulation_template():
    out = header("IDD_EMULATION", (257, 146), 8,
                 "DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU", (20, 20))
    out.append(control("", "-1", "Button", "WS_CHILD | {vis} | BS_GROUPBOX", 7, 0, 242, 116))
    rows = [("IDC_EMU_DO_HI_LOW", 18, 60, 21, 141), ("IDC_EMU_DO_HI_HIGH", 42, 61, 45, 140),
            ("IDC_EMU_DO_LO_LOW", 66, 58, 69, 140), ("IDC_EMU_DO_LO_HIGH", 88, 59, 91, 140)]
    for n, y, h, label_y, label_w in rows:
        out.append(control("", n + "_LABEL", "Static", LABEL, 15, label_y, label_w, 8))
        out.append(control("", n, "ComboBox", LIST, 159, y, 75, h))
    out.append(control("OK", "IDOK", "Button",
                       "WS_CHILD | {vis} | BS_DEFPUSHBUTTON | WS_TABSTOP", 103, 125, 50, 14))
    return out + ["END", ""]


def main():
    root = Path(__file__).resolve().parent.parent
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "res" / "param_pages.rc"
    lines = [
        "// The Configuration and Options pages of the five size classes and the emulation",
        "// dialog. Written by scripts/make_param_templates.py: edit the script, not this file.",
        "#pragma code_page(65001)",
        "",
    ]
    for t in CONFIG_TEMPLATES:
        lines += config_template(t)
    for t in OPTIONS_TEMPLATES:
        lines += options_template(t)
    lines += emulation_template()
    target.write_text("\n".join(lines), encoding="utf-8")


if __name__ == "__main__":
    main()
