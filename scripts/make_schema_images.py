#!/usr/bin/env python3
"""Draws the controller's connection guide for the Schema page, one picture per language.

Outputs (in res/):
  schema_pl.bmp   Polish picture
  schema_en.bmp   English picture
Both are 961 x 636, 8 bits per pixel with a 256-entry palette, shown at 1:1; the text is
drawn with a hand-made pixel font so it stays sharp.

The pin table, the components and the wires are data below; one drawing routine draws
both languages, so the two pictures always show the same pin-out. Standard library only:
the BMP bytes are written here and are the same on every run.

Usage: scripts/make_schema_images.py [output directory]   (default: <repo>/res)
"""

import math
import struct
import sys
from pathlib import Path

W, H = 961, 636

# Palette: everything the picture uses, by name. Unused entries stay black.
PALETTE = [
    ("paper", (255, 255, 255)),
    ("ink", (20, 24, 32)),
    ("note", (72, 80, 96)),            # secondary text
    ("rule", (150, 156, 168)),
    ("row", (238, 242, 248)),          # every other table row
    ("fill", (226, 233, 243)),         # component bodies
    ("header", (30, 62, 120)),         # controller title bar
    ("edge", (48, 48, 52)),            # cable outline
    ("vehicle", (92, 100, 116)),       # the car's own wiring
    ("metal", (190, 196, 204)),
    ("metal_dark", (118, 126, 138)),
    ("pipe", (206, 224, 240)),
    ("pipe_edge", (84, 116, 150)),
    ("cut", (222, 0, 0)),
    ("led_green", (0, 196, 64)),
    ("led_amber", (255, 168, 0)),
    ("case", (64, 70, 80)),            # battery, coil and plug cases
    # Wire colours.
    ("red", (222, 32, 32)),
    ("black", (18, 18, 18)),
    ("brown", (132, 76, 30)),
    ("blue", (30, 100, 226)),
    ("yellow", (255, 214, 0)),
    ("green", (20, 164, 60)),
    ("white", (255, 255, 255)),
    ("grey", (158, 158, 158)),
    ("violet", (142, 62, 200)),
    ("orange", (255, 134, 0)),
    ("pink", (255, 138, 200)),
]
IDX = {name: i for i, (name, _) in enumerate(PALETTE)}

# Wire colour names: Polish adjective, Polish first half of a two-colour name, English.
WIRE_COLOURS = {
    "red": ("czerwony", "czerwono", "red"),
    "black": ("czarny", "czarno", "black"),
    "brown": ("brązowy", "brązowo", "brown"),
    "blue": ("niebieski", "niebiesko", "blue"),
    "yellow": ("żółty", "żółto", "yellow"),
    "green": ("zielony", "zielono", "green"),
    "white": ("biały", "biało", "white"),
    "grey": ("szary", "szaro", "grey"),
    "violet": ("fioletowy", "fioletowo", "violet"),
    "orange": ("pomarańczowy", "pomarańczowo", "orange"),
    "pink": ("różowy", "różowo", "pink"),
}


def colour_name(code, lang):
    """'yellow/black' -> 'żółto-czarny' or 'yellow/black'."""
    parts = code.split("/")
    if lang == "en":
        return "/".join(WIRE_COLOURS[p][2] for p in parts)
    if len(parts) == 1:
        return WIRE_COLOURS[code][0]
    return WIRE_COLOURS[parts[0]][1] + "-" + WIRE_COLOURS[parts[1]][0]


# ---------------------------------------------------------------------------------------
# Font. Rows run from the cap line down; a glyph has 7 rows, or 9 with a descender.
# Lower case stands 5 rows high, so marks over it fit in the rows above the x-height, and
# marks over capitals go into the 3 rows kept above every line.
GLYPHS = {
    " ": "... ... ... ... ... ... ...",
    "!": "# # # # # . #",
    '"': "#.# #.# ... ... ... ... ...",
    "%": "##... ##..# ...#. ..#.. .#... #..## ...##",
    "'": "# # . . . . .",
    "(": ".# #. #. #. #. #. .#",
    ")": "#. .# .# .# .# .# #.",
    "+": "..... ..#.. ..#.. ##### ..#.. ..#.. .....",
    ",": ".. .. .. .. .. .# .# #.",
    "-": "... ... ... ### ... ... ...",
    ".": ". . . . . . #",
    "/": "..# ..# .#. .#. .#. #.. #..",
    ":": ". . # . . . #",
    "=": ".... .... #### .... #### .... ....",
    "?": ".##. #..# ...# ..#. .#.. .... .#..",
    "0": ".##. #..# #..# #..# #..# #..# .##.",
    "1": "..#. .##. ..#. ..#. ..#. ..#. .###",
    "2": ".##. #..# ...# ..#. .#.. #... ####",
    "3": "###. ...# ...# .##. ...# ...# ###.",
    "4": "..#. .##. #.#. #.#. #### ..#. ..#.",
    "5": "#### #... ###. ...# ...# #..# .##.",
    "6": ".##. #... #... ###. #..# #..# .##.",
    "7": "#### ...# ..#. ..#. .#.. .#.. .#..",
    "8": ".##. #..# #..# .##. #..# #..# .##.",
    "9": ".##. #..# #..# .### ...# ...# .##.",
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": "### .#. .#. .#. .#. .#. ###",
    "J": "..## ...# ...# ...# ...# #..# .##.",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#... #... #... #... #... #... ####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# ##..# ##..# #.#.# #..## #..## #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".###. #...# #.... .###. ....# #...# .###.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# .#.#. .#.#. ..#.. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# ##.## #...#",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "Ł": ".#... .#... .#.#. .##.. ##... .#... .####",
    "a": ".... .... .##. ...# .### #..# .###",
    "b": "#... #... ###. #..# #..# #..# ###.",
    "c": ".... .... .### #... #... #... .###",
    "d": "...# ...# .### #..# #..# #..# .###",
    "e": ".... .... .##. #..# #### #... .###",
    "f": "..# .#. ### .#. .#. .#. .#.",
    "g": ".... .... .### #..# #..# #..# .### ...# .##.",
    "h": "#... #... ###. #..# #..# #..# #..#",
    "i": "# . # # # # #",
    "j": ".# .. .# .# .# .# .# .# #.",
    "k": "#... #... #..# #.#. ##.. #.#. #..#",
    "l": "# # # # # # #",
    "ł": ".#. .#. .## ##. .#. .#. .#.",
    "m": "..... ..... ####. #.#.# #.#.# #.#.# #.#.#",
    "n": ".... .... ###. #..# #..# #..# #..#",
    "o": ".... .... .##. #..# #..# #..# .##.",
    "p": ".... .... ###. #..# #..# #..# ###. #... #...",
    "q": ".... .... .### #..# #..# #..# .### ...# ...#",
    "r": "... ... #.# ##. #.. #.. #..",
    "s": ".... .... .### #... .##. ...# ###.",
    "t": ".#. .#. ### .#. .#. .#. ..#",
    "u": ".... .... #..# #..# #..# #..# .###",
    "v": "..... ..... #...# #...# .#.#. .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": ".... .... #..# #..# .##. #..# #..#",
    "y": ".... .... #..# #..# #..# #..# .### ...# .##.",
    "z": ".... .... #### ...# .##. #... ####",
    "°": ".#. #.# .#. ... ... ... ...",
    "–": "..... ..... ..... ##### ..... ..... .....",
    "−": "..... ..... ..... ##### ..... ..... .....",
    "→": "....... ....#.. .....#. ####### .....#. ....#.. .......",
    "×": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
}

# Polish letters: a base glyph and a mark, placed by the base's width.
ACCENTED = {
    "ą": ("a", "ogonek"), "ć": ("c", "acute"), "ę": ("e", "ogonek"),
    "ń": ("n", "acute"), "ó": ("o", "acute"), "ś": ("s", "acute"),
    "ź": ("z", "acute"), "ż": ("z", "dot"),
    "Ą": ("A", "ogonek"), "Ć": ("C", "acute"), "Ę": ("E", "ogonek"),
    "Ń": ("N", "acute"), "Ó": ("O", "acute"), "Ś": ("S", "acute"),
    "Ź": ("Z", "acute"), "Ż": ("Z", "dot"),
}


def build_font():
    """char -> (advance width, list of (x, y) ink pixels relative to the cap line)."""
    font = {}
    for ch, art in GLYPHS.items():
        rows = art.split()
        width = len(rows[0])
        assert all(len(r) == width for r in rows), ch
        font[ch] = (width, [(x, y) for y, r in enumerate(rows) for x, c in enumerate(r) if c == "#"])
    for ch, (base, mark) in ACCENTED.items():
        width, ink = font[base]
        top = -2 if base.isupper() else 0      # row just above the letter, one row clear
        mid = (width - 1) // 2
        if mark == "acute":
            extra = [(mid, top), (mid + 1, top - 1)]
        elif mark == "dot":
            extra = [(mid, top)] if width % 2 else [(mid, top), (mid + 1, top)]
        else:                                   # ogonek hangs off the right foot
            extra = [(width - 2, 7), (width - 1, 8)]
        font[ch] = (width, ink + extra)
    return font


# Bold: each stroke one pixel wider, but never closing a one-pixel gap between strokes;
# the few letters that are all stems get drawn shapes of their own.
BOLD_SHAPES = {
    "m": "....... ....... ######. ##.#.## ##.#.## ##.#.## ##.#.##",
    "w": "....... ....... ##...## ##...## ##.#.## ##.#.## .##.##.",
    "M": "##...## ###.### ##.#.## ##.#.## ##...## ##...## ##...##",
    "W": "##...## ##...## ##...## ##.#.## ##.#.## ###.### ##...##",
}


def build_bold(font):
    bold = {}
    for ch, (width, ink) in font.items():
        if ch in BOLD_SHAPES:
            rows = BOLD_SHAPES[ch].split()
            bold[ch] = (max(len(r) for r in rows),
                        [(x, y) for y, r in enumerate(rows) for x, c in enumerate(r) if c == "#"])
            continue
        pixels = set(ink)
        wide = pixels | {(x + 1, y) for x, y in pixels if (x + 2, y) not in pixels}
        bold[ch] = (width + 1, sorted(wide))
    return bold


FONT = build_font()
BOLD = build_bold(FONT)


# ---------------------------------------------------------------------------------------
# Texts, Polish and English.
TEXT = {
    "title": ("Schemat podłączenia sterownika", "Controller wiring diagram"),
    "subtitle": ("sekwencyjny wtrysk LPG, silnik 4-cylindrowy",
                 "sequential LPG injection, 4-cylinder engine"),
    "controller": ("STEROWNIK LPG", "LPG CONTROLLER"),
    "connector": ("złącze 30-pinowe", "30-pin connector"),
    "col_pin": ("Pin", "Pin"),
    "col_colour": ("Kolor przewodu", "Wire colour"),
    "col_function": ("Funkcja", "Function"),
    "f_battery": ("+12 V akumulator (bezp. 15 A)", "+12 V battery (15 A fuse)"),
    "f_ground": ("masa (minus akumulatora)", "ground (battery minus)"),
    "f_ignition": ("+12 V po stacyjce (15/+)", "+12 V ignition (15/+)"),
    "f_ecu": ("wejście emulacji {n} – z ECU", "emulation in {n} – from ECU"),
    "f_injector": ("wyjście emulacji {n} – do wtr.", "emulation out {n} – to inj."),
    "f_lambda": ("sygnał sondy lambda", "lambda sensor signal"),
    "f_rpm": ("obroty (cewka zapłonowa)", "RPM (ignition coil)"),
    "f_tps": ("sygnał TPS (przepustnica)", "TPS signal (throttle)"),
    "f_valves": ("elektrozawory +12 V", "gas valves +12 V"),
    "f_temp": ("czujnik temp. reduktora", "reducer temp. sensor"),
    "f_temp_gnd": ("masa czujnika temp.", "temp. sensor ground"),
    "f_gas_supply": ("wtryskiwacze gazowe +12 V", "gas injectors +12 V"),
    "f_gas": ("wtryskiwacz gazowy {n}", "gas injector {n}"),
    "f_sw_gnd": ("przełącznik: masa", "switch: ground"),
    "f_sw_button": ("przełącznik: przycisk", "switch: button"),
    "f_sw_lpg": ("przełącznik: dioda LPG", "switch: LPG lamp"),
    "f_sw_petrol": ("przełącznik: dioda benzyny", "switch: petrol lamp"),
    "f_tx": ("RS-232 TX (do PC)", "RS-232 TX (to PC)"),
    "f_rx": ("RS-232 RX (z PC)", "RS-232 RX (from PC)"),
    "f_serial_gnd": ("masa przewodu prog.", "ground (PC lead)"),
    # Components.
    "fuse": ("bezpiecznik 15 A", "fuse 15 A"),
    "battery": ("akumulator", "battery"),
    "volts": ("12 V", "12 V"),
    "ignition": ("stacyjka", "ignition switch"),
    "ignition_term": ("zacisk 15 (+ po zapłonie)", "terminal 15 (+ when on)"),
    "ecu": ("sterownik silnika (ECU)", "engine control unit (ECU)"),
    "ecu_inj": ("wtr. {n}", "inj. {n}"),
    "cut": ("przeciąć przewody ECU → wtryskiwacze", "cut the ECU → injector wires"),
    "emulation": ("typ emulacji: Czasowa / Z sondy / Brak", "emulation type: Timed / Sensor / None"),
    "petrol_injectors": ("wtryskiwacze benzynowe", "petrol injectors"),
    "petrol_supply": ("(ich zasilanie +12 V bez zmian)", "(their +12 V feed stays as is)"),
    "to_ecu": ("do ECU", "to ECU"),
    "lambda": ("sonda lambda", "lambda (oxygen) sensor"),
    "lambda_1": ("podłączyć do przewodu sygnałowego", "tap into the signal wire"),
    "lambda_2": ("typ sondy: Konfiguracja", "sensor type: Configuration"),
    "coil": ("cewka zapłonowa (obroty)", "ignition coil (RPM)"),
    "coil_1": ("zacisk 1 (−) lub sygnał obrotów z ECU", "terminal 1 (−) or the ECU rev signal"),
    "coil_2": ("typ zapłonu 1–18: Konfiguracja", "ignition type 1–18: Configuration"),
    "tps": ("czujnik położenia przepustnicy", "throttle position sensor (TPS)"),
    "tps_1": ("TPS 0-5 V / 5-0 V lub styk", "TPS 0-5 V / 5-0 V or a switch"),
    "tps_2": ("do masy / do +12 V", "to GND / to +12 V"),
    "reducer": ("reduktor", "reducer"),
    "reducer_2": ("(parownik)", "(vaporiser)"),
    "temp_sensor": ("czujnik", "temp."),
    "temp_sensor_2": ("temp.", "sensor"),
    "switch_over": ("przełączanie na gaz:", "switch-over to LPG:"),
    "switch_over_2": ("temperatura i obroty", "by temperature and RPM"),
    "reducer_valve": ("elektrozawór", "reducer"),
    "reducer_valve_2": ("reduktora", "solenoid valve"),
    "tank_valve": ("elektrozawór", "tank"),
    "tank_valve_2": ("zbiornika", "solenoid valve"),
    "tank": ("zbiornik", "tank"),
    "gas_injectors": ("wtryskiwacze gazowe", "gas injectors (rail)"),
    "switch": ("przełącznik", "switch with"),
    "switch_2": ("z diodami LED", "LED lamps"),
    "led_lpg": ("LPG", "LPG"),
    "led_petrol": ("benz.", "petrol"),
    "button": ("przycisk", "button"),
    "pc_lead": ("przewód", "programming"),
    "pc_lead_2": ("programujący", "lead"),
    "pc_port": ("do portu COM PC", "to the PC's COM port"),
    "pc_pins": ("2 RxD, 3 TxD, 5 GND", "2 RxD, 3 TxD, 5 GND"),
    # Legend.
    "legend": ("Legenda: kolory przewodów", "Legend: wire colours"),
    "joint": ("połączenie", "joint"),
    "crossing": ("skrzyżowanie", "crossing"),
    "cut_mark": ("przeciąć", "cut here"),
    "vehicle": ("instalacja auta", "car's wiring"),
    "pipe": ("przewód gazowy", "gas pipe"),
    "ground": ("masa", "ground"),
}


def tr(key, lang, **fields):
    text = TEXT[key][0 if lang == "pl" else 1]
    return text.format(**fields) if fields else text


# ---------------------------------------------------------------------------------------
# The connector. One line per pin: number, wire colour, function (a TEXT key, with the
# cylinder number where it has one). Pins are drawn top to bottom in this order.
PINS = [
    (1, "red", "f_battery"),
    (2, "black", "f_ground"),
    (3, "black", "f_ground"),
    (4, "pink", "f_ignition"),
    (5, "yellow", "f_ecu", 1),
    (6, "green", "f_ecu", 2),
    (7, "white", "f_ecu", 3),
    (8, "grey", "f_ecu", 4),
    (9, "yellow/black", "f_injector", 1),
    (10, "green/black", "f_injector", 2),
    (11, "white/black", "f_injector", 3),
    (12, "grey/black", "f_injector", 4),
    (13, "violet", "f_lambda"),
    (14, "brown", "f_rpm"),
    (15, "blue", "f_tps"),
    (16, "orange", "f_valves"),
    (17, "brown/white", "f_temp"),
    (18, "black/white", "f_temp_gnd"),
    (19, "red/blue", "f_gas_supply"),
    (20, "blue/yellow", "f_gas", 1),
    (21, "blue/green", "f_gas", 2),
    (22, "blue/white", "f_gas", 3),
    (23, "blue/grey", "f_gas", 4),
    (24, "violet/black", "f_sw_gnd"),
    (25, "violet/white", "f_sw_button"),
    (26, "violet/green", "f_sw_lpg"),
    (27, "violet/yellow", "f_sw_petrol"),
    (28, "white/red", "f_tx"),
    (29, "white/green", "f_rx"),
    (30, "white/brown", "f_serial_gnd"),
]
# Thin rules in the table between groups of pins, after these pins.
GROUP_ENDS = (4, 12, 15, 18, 23, 27)

# Table geometry: pin n's row and the point where its wire leaves the connector.
BOX = (8, 42, 300, 520)           # controller outline: left, top, right, bottom
ROW_TOP, ROW_PITCH = 96, 14
PIN_X = 312


def pin_y(n):
    return ROW_TOP + ROW_PITCH * (n - 1) + ROW_PITCH // 2


# Component positions.
FUSE_X = 330
BATTERY = (392, 46, 470, 82)      # box; + and - terminals under it
BAT_PLUS, BAT_MINUS = 410, 452
IGNITION = (530, 62)              # centre of the switch
ECU = (692, 42, 952, 90)
COLUMNS = (722, 782, 842, 902)    # cylinders 1-4: ECU output, cut, petrol injector
ECU_ROWS = (110, 126, 142, 158)   # where the controller meets the ECU side of each cut
CUT_Y = 171
INJECTOR_TOP = 268
SENSOR_ROWS = (355, 396, 437)     # lambda, coil, TPS
SENSOR_JOINT_X = 700
REDUCER_ROWS = (465, 476, 487)    # valves, temperature signal, temperature ground
REDUCER = (700, 526, 800, 590)
TEMP_X = (712, 724)               # temperature sensor: ground, signal
VALVE_TOP = 494
REDUCER_VALVE_X = 784
TANK_VALVE_X = 912
TANK = (872, 526, 950, 590)
RAIL_ROWS = (518, 546, 574, 602)  # gas injectors 1-4; control 5 above, +12 V 7 below
RAIL_BUS_X = 614
COIL_X = 628
PANEL = (420, 536, 528, 586)
PC_PLUG = (322, 546, 404, 572)

# Wires of the harness, pin -> turns: starting at the pin, go across to the first value,
# then up or down to the second, across to the third, and so on.
ROUTES = {
    1: [BAT_PLUS, 88],
    2: [BAT_MINUS, 88],
    3: [BAT_MINUS, pin_y(2)],
    4: [IGNITION[0], 88],
    5: [600, ECU_ROWS[0], COLUMNS[0]],
    6: [612, ECU_ROWS[1], COLUMNS[1]],
    7: [624, ECU_ROWS[2], COLUMNS[2]],
    8: [636, ECU_ROWS[3], COLUMNS[3]],
    9: [COLUMNS[0]],
    10: [COLUMNS[1]],
    11: [COLUMNS[2]],
    12: [COLUMNS[3]],
    13: [672, SENSOR_ROWS[0], SENSOR_JOINT_X],
    14: [660, SENSOR_ROWS[1], SENSOR_JOINT_X],
    15: [648, SENSOR_ROWS[2], SENSOR_JOINT_X],
    16: [636, REDUCER_ROWS[0], TANK_VALVE_X, VALVE_TOP],
    17: [624, REDUCER_ROWS[1], TEMP_X[1], 504],
    18: [612, REDUCER_ROWS[2], TEMP_X[0], 504],
    19: [600, 497, RAIL_BUS_X, RAIL_ROWS[3] + 7, COIL_X],
    20: [588, RAIL_ROWS[0] - 5, COIL_X],
    21: [576, RAIL_ROWS[1] - 5, COIL_X],
    22: [564, RAIL_ROWS[2] - 5, COIL_X],
    23: [552, RAIL_ROWS[3] - 5, COIL_X],
    24: [470, PANEL[1]],
    25: [458, PANEL[1]],
    26: [446, PANEL[1]],
    27: [434, PANEL[1]],
    28: [358, PC_PLUG[1]],
    29: [346, PC_PLUG[1]],
    30: [334, PC_PLUG[1]],
}

# Short harness branches that are not a pin's own run: (colour, points).
BRANCHES = [
    ("orange", [(REDUCER_VALVE_X, REDUCER_ROWS[0]), (REDUCER_VALVE_X, VALVE_TOP)]),
] + [("red/blue", [(RAIL_BUS_X, y + 7), (COIL_X, y + 7)]) for y in RAIL_ROWS[:3]]

# Joints (soldered or crimped connections).
JOINTS = [
    (BAT_MINUS, pin_y(2)),
    (REDUCER_VALVE_X, REDUCER_ROWS[0]),
] + [(RAIL_BUS_X, y + 7) for y in RAIL_ROWS[:3]] \
  + [(x, y) for x, y in zip(COLUMNS, ECU_ROWS)] \
  + [(x, pin_y(9 + i)) for i, x in enumerate(COLUMNS)] \
  + [(SENSOR_JOINT_X, y) for y in SENSOR_ROWS]

# The car's own wiring: ECU outputs and petrol injector leads either side of the cuts, and
# the sensor signal wires the controller taps.
VEHICLE = [[(x, ECU[3]), (x, y)] for x, y in zip(COLUMNS, ECU_ROWS)] \
    + [[(x, pin_y(9 + i)), (x, INJECTOR_TOP)] for i, x in enumerate(COLUMNS)] \
    + [[(SENSOR_JOINT_X + 12, y), (SENSOR_JOINT_X, y), (SENSOR_JOINT_X, y - 14)]
       for y in SENSOR_ROWS]


# ---------------------------------------------------------------------------------------
class Canvas:
    def __init__(self, width, height, ground):
        self.w, self.h = width, height
        self.px = bytearray([IDX[ground]]) * (width * height)

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = IDX[colour]

    def fill(self, x0, y0, x1, y1, colour):
        """Filled rectangle, both corners included."""
        c = IDX[colour]
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            row = y * self.w
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                self.px[row + x] = c

    def frame(self, x0, y0, x1, y1, colour):
        self.fill(x0, y0, x1, y0, colour)
        self.fill(x0, y1, x1, y1, colour)
        self.fill(x0, y0, x0, y1, colour)
        self.fill(x1, y0, x1, y1, colour)

    def box(self, x0, y0, x1, y1, inside="fill", outline="ink"):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, outline)

    def line(self, x0, y0, x1, y1, colour):
        """Bresenham line, one pixel wide."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        for y in range(-r, r + 1):
            for x in range(-r, r + 1):
                if x * x + y * y <= r * r + r:
                    self.put(cx + x, cy + y, colour)

    def ring(self, cx, cy, r, colour):
        for y in range(-r - 1, r + 2):
            for x in range(-r - 1, r + 2):
                d = math.hypot(x, y)
                if r - 0.5 <= d < r + 0.5:
                    self.put(cx + x, cy + y, colour)

    # Text. (x, y) is the left end of the cap line; marks over capitals reach 3 rows
    # above it and descenders 2 rows below the baseline (y + 6).
    def text_width(self, s, bold=False, scale=1):
        font = BOLD if bold else FONT
        return max(0, sum(font[c][0] + 1 for c in s) - 1) * scale

    def text(self, x, y, s, colour="ink", bold=False, scale=1):
        font = BOLD if bold else FONT
        assert 0 <= x and x + self.text_width(s, bold, scale) <= self.w, ("text off the picture", s)
        for c in s:
            width, ink = font[c]
            for gx, gy in ink:
                self.fill(x + gx * scale, y + gy * scale,
                          x + gx * scale + scale - 1, y + gy * scale + scale - 1, colour)
            x += (width + 1) * scale
        return x

    def text_centre(self, cx, y, s, colour="ink", bold=False, scale=1):
        return self.text(cx - self.text_width(s, bold, scale) // 2, y, s, colour, bold, scale)

    def text_right(self, rx, y, s, colour="ink", bold=False, scale=1):
        return self.text(rx - self.text_width(s, bold, scale) + 1, y, s, colour, bold, scale)


# ---------------------------------------------------------------------------------------
# Wires. A harness wire is a cable 5 pixels wide: a dark outline round a 3-pixel core in
# the wire's colour, the second colour of a striped wire in dashes along the core. The
# car's own wiring is a plain 2-pixel line. Where two cables cross without a joint, the
# horizontal one hops over the other on a half ring; where a cable crosses the car's
# wiring, the thin line is broken off either side of it. A dot is always a joint.
CORE, HALF = 1, 2      # core and outline half-widths
DASH = 5
HOP = 6                # hop radius
THIN_GAP = HALF + 3    # half the break in a thin line under a cable


def segments(points):
    return list(zip(points, points[1:]))


def route_points(pin):
    x, y = PIN_X, pin_y(pin)
    points = [(x, y)]
    for i, v in enumerate(ROUTES[pin]):
        x, y = (v, y) if i % 2 == 0 else (x, v)
        points.append((x, y))
    return points


def find_crossings(wires):
    """For each wire, {segment index: [crossings along that segment]}: where a horizontal
    cable hops, or where a thin wire is broken under a cable."""
    runs = []
    for n, (_, points, thin) in enumerate(wires):
        for i, ((x0, y0), (x1, y1)) in enumerate(segments(points)):
            runs.append((n, i, thin, x0 == x1, min(x0, x1), max(x0, x1), min(y0, y1), max(y0, y1)))
    crossings = [{} for _ in wires]
    for n, i, thin, vertical, xa, xb, y, _ in runs:
        if vertical:
            continue
        for m, j, vthin, vvertical, vx, _, vya, vyb in runs:
            if m == n or not vvertical or not (xa < vx < xb and vya < y < vyb):
                continue
            if vthin and not thin:
                assert vya + THIN_GAP < y < vyb - THIN_GAP, ("crossing at a wire's end", vx, y)
                crossings[m].setdefault(j, []).append(y)
            else:
                assert xa + HOP < vx < xb - HOP, ("hop too near a corner", vx, y)
                crossings[n].setdefault(i, []).append(vx)
    return crossings


def draw_wires(cv, wires):
    """wires: list of (colour code, points, thin). Thin ones are the car's own wiring."""
    for (code, points, thin), wire_hops in zip(wires, find_crossings(wires)):
        if thin:
            draw_thin(cv, points, wire_hops)
        else:
            draw_cable(cv, code, points, wire_hops)


def split_at_hops(a, b, hops, gap):
    """The straight pieces of segment a-b left between gaps of +-gap round each crossing,
    the crossings in order of travel and the direction of travel; each piece says
    whether its ends meet a crossing."""
    (x0, y0), (x1, y1) = a, b
    vertical = x0 == x1
    start, end = (y0, y1) if vertical else (x0, x1)
    step = 1 if end > start else -1
    at = sorted(hops, reverse=step < 0)
    cuts = [start] + [c for h in at for c in (h - step * gap, h + step * gap)] + [end]
    pieces = []
    for k in range(0, len(cuts), 2):
        p, q = cuts[k], cuts[k + 1]
        pa, pb = ((x0, p), (x0, q)) if vertical else ((p, y0), (q, y0))
        pieces.append((pa, pb, k > 0, k + 2 < len(cuts)))
    centres = [((x0, h) if vertical else (h, y0)) for h in at]
    return pieces, centres, step


def cable_colours(code):
    parts = code.split("/")
    return parts[0], (parts[1] if len(parts) > 1 else parts[0])


def draw_cable(cv, code, points, hops):
    base, stripe = cable_colours(code)

    def dash(d):
        return stripe if d // DASH % 2 else base

    pieces, arcs = [], []
    dist = 0
    for i, (a, b) in enumerate(segments(points)):
        segment_pieces, centres, step = split_at_hops(a, b, hops.get(i, []), HOP)
        for k, piece in enumerate(segment_pieces):
            pieces.append((piece, dist))
            (px0, py0), (px1, py1) = piece[0], piece[1]
            dist += abs(px1 - px0) + abs(py1 - py0)
            if k < len(centres):
                arcs.append((centres[k], step, dist))
                dist += round(math.pi * HOP)
    # Outline of every piece first, then the cores, so corners join cleanly. A piece
    # stops dead where it meets a hop: the hop draws its own rounded ends.
    for layer, half in (("edge", HALF), ("core", CORE)):
        for ((x0, y0), (x1, y1), hop_a, hop_b), d0 in pieces:
            length = abs(x1 - x0) + abs(y1 - y0)
            sx, sy = (x1 > x0) - (x1 < x0), (y1 > y0) - (y1 < y0)
            for t in range(-(0 if hop_a else half), length + (0 if hop_b else half) + 1):
                x, y = x0 + sx * t, y0 + sy * t
                colour = "edge" if layer == "edge" else dash(d0 + t)
                if sy == 0:
                    cv.fill(x, y - half, x, y + half, colour)
                else:
                    cv.fill(x - half, y, x + half, y, colour)
    for centre, step, d0 in arcs:
        draw_hop(cv, centre, step, lambda s, d0=d0: dash(d0 + round(s)))


def draw_hop(cv, centre, step, core_colour):
    """Half ring of cable over the crossing at centre, its feet rounded off; step is the
    direction of travel and core_colour(s) the core's colour s pixels along the ring, so
    the stripes run on over it."""
    cx, cy = centre
    feet = ((cx - HOP, cy), (cx + HOP, cy))
    entry_x = feet[0][0] if step > 0 else feet[1][0]
    reach = HOP + HALF + 1
    for y in range(cy - reach, cy + reach + 1):
        for x in range(cx - reach, cx + reach + 1):
            if y <= cy:
                d = abs(math.hypot(x - cx, y - cy) - HOP)
            else:
                d = min(math.hypot(x - fx, y - fy) for fx, fy in feet)
            if d > HALF + 0.5:
                continue
            if d > CORE + 0.5:
                cv.put(x, y, "edge")
                continue
            cos = (entry_x - cx) * (x - cx) / (HOP * (math.hypot(x - cx, y - cy) or 1))
            cv.put(x, y, core_colour(HOP * math.acos(max(-1.0, min(1.0, cos)))))


def draw_thin(cv, points, gaps):
    """The car's wiring: where it passes under a cable it is broken off either side."""
    for i, (a, b) in enumerate(segments(points)):
        pieces, _, _ = split_at_hops(a, b, gaps.get(i, []), THIN_GAP)
        for (x0, y0), (x1, y1), _, _ in pieces:
            cv.fill(min(x0, x1), min(y0, y1), max(x0, x1) + (x0 == x1), max(y0, y1) + (y0 == y1),
                    "vehicle")


def place_tags(cv, wires, hops):
    """Where to print each pin's number on its own wire near the far end: the first free
    spot walking back from the end, clear of corners, hops, joints, other wires and other
    tags. Returns (label, box) pairs."""
    def boxes_meet(a, b, margin):
        return not (a[2] + margin < b[0] or b[2] + margin < a[0] or
                    a[3] + margin < b[1] or b[3] + margin < a[1])

    runs = []
    for n, (_, points, thin) in enumerate(wires):
        pad = 1 if thin else HALF
        for (x0, y0), (x1, y1) in segments(points):
            runs.append((n, (min(x0, x1) - pad, min(y0, y1) - pad, max(x0, x1) + pad, max(y0, y1) + pad)))
    taken = [(x - 5, y - 5, x + 5, y + 5) for x, y in JOINTS]
    tags = []
    for n, (pin, *_) in enumerate(PINS):
        points = wires[n][1]
        label = str(pin)
        w = cv.text_width(label) + 4
        corners = points[1:-1]
        hop_points = [(h, a[1]) if a[1] == b[1] else (a[0], h)
                      for i, (a, b) in enumerate(segments(points)) for h in hops[n].get(i, [])]
        # Walk back from the end, one pixel at a time.
        walk = []
        for (x0, y0), (x1, y1) in reversed(segments(points)):
            length = abs(x1 - x0) + abs(y1 - y0)
            sx, sy = (x0 > x1) - (x0 < x1), (y0 > y1) - (y0 < y1)
            walk += [(x1 + sx * t, y1 + sy * t) for t in range(length)]
        for d in range(14, len(walk), 2):
            x, y = walk[d]
            box = (x - w // 2, y - 5, x - w // 2 + w, y + 5)
            if any(abs(x - cx) + abs(y - cy) < 10 for cx, cy in corners):
                continue
            if any(abs(x - hx) + abs(y - hy) < HOP + 14 for hx, hy in hop_points):
                continue
            if any(m != n and boxes_meet(box, r, 1) for m, r in runs):
                continue
            if any(boxes_meet(box, t, 2) for t in taken):
                continue
            taken.append(box)
            tags.append((label, box))
            break
    return tags


def draw_tags(cv, tags):
    for label, (x0, y0, x1, y1) in tags:
        cv.box(x0, y0, x1, y1, "paper", "ink")
        cv.text(x0 + 2, y0 + 2, label, "ink")


def joint(cv, x, y):
    cv.disc(x, y, 4, "ink")


def cut_mark(cv, x, y):
    for d in range(-3, 4):
        for k in (0, 1):
            cv.put(x + d + k, y + d, "cut")
            cv.put(x + d + k, y - d, "cut")


def ground_symbol(cv, x, y):
    """Chassis ground hanging from (x, y)."""
    cv.fill(x, y, x + 1, y + 5, "vehicle")
    for i, half in enumerate((6, 4, 2)):
        cv.fill(x - half + 1, y + 6 + 2 * i, x + half, y + 6 + 2 * i, "ink")


def pipe(cv, points):
    """Gas pipe: a pale band with a dark edge, 7 pixels wide."""
    for (x0, y0), (x1, y1) in segments(points):
        cv.fill(min(x0, x1) - 3, min(y0, y1) - 3, max(x0, x1) + 3, max(y0, y1) + 3, "pipe_edge")
    for (x0, y0), (x1, y1) in segments(points):
        cv.fill(min(x0, x1) - 2, min(y0, y1) - 2, max(x0, x1) + 2, max(y0, y1) + 2, "pipe")


# ---------------------------------------------------------------------------------------
# Components.
def draw_controller(cv, lang):
    x0, y0, x1, y1 = BOX
    cv.box(x0, y0, x1, y1, "paper", "ink")
    cv.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 30, "header")
    cv.text(x0 + 8, y0 + 6, tr("controller", lang), "paper", bold=True)
    cv.text(x0 + 8, y0 + 19, tr("connector", lang), "paper")
    # Column positions from the widest colour name.
    names = [colour_name(p[1], lang) for p in PINS]
    c_pin, c_swatch = x0 + 24, x0 + 32
    c_colour = c_swatch + 26
    c_func = c_colour + max(cv.text_width(n) for n in names) + 8
    hy = ROW_TOP - 15
    cv.text_right(c_pin, hy, tr("col_pin", lang), "ink", bold=True)
    cv.text(c_swatch, hy, tr("col_colour", lang), "ink", bold=True)
    cv.text(c_func, hy, tr("col_function", lang), "ink", bold=True)
    cv.fill(x0 + 1, ROW_TOP - 2, x1 - 1, ROW_TOP - 2, "rule")
    for k, (n, code, key, *cyl) in enumerate(PINS):
        top = ROW_TOP + ROW_PITCH * k
        if k % 2:
            cv.fill(x0 + 1, top, x1 - 1, top + ROW_PITCH - 1, "row")
        y = pin_y(n)
        cv.text_right(c_pin, y - 3, str(n), "ink", bold=True)
        draw_cable(cv, code, [(c_swatch, y), (c_swatch + 18, y)], {})
        cv.text(c_colour, y - 3, names[k], "ink")
        function = tr(key, lang, n=cyl[0]) if cyl else tr(key, lang)
        assert cv.text(c_func, y - 3, function, "ink") < x1 - 2, ("pin text too long", function)
        if n in GROUP_ENDS:
            cv.fill(x0 + 1, top + ROW_PITCH - 1, x1 - 1, top + ROW_PITCH - 1, "rule")
    # The plug on the box's edge, one contact per pin.
    cv.box(x1, ROW_TOP - 4, PIN_X - 2, ROW_TOP + ROW_PITCH * len(PINS) + 3, "case", "ink")
    for n, *_ in PINS:
        y = pin_y(n)
        cv.fill(x1 + 3, y - 2, PIN_X - 5, y + 2, "metal")


def draw_fuse(cv, lang):
    y = pin_y(1)
    cv.box(FUSE_X, y - 5, FUSE_X + 26, y + 5, "paper", "ink")
    cv.fill(FUSE_X + 3, y, FUSE_X + 23, y, "ink")
    cv.text(FUSE_X - 6, y - 16, tr("fuse", lang), "ink")


def draw_battery(cv, lang):
    x0, y0, x1, y1 = BATTERY
    cv.box(x0, y0, x1, y1, "case", "ink")
    cv.text_centre((x0 + x1) // 2, y0 + 8, tr("battery", lang), "paper", bold=True)
    cv.text_centre((x0 + x1) // 2, y0 + 21, tr("volts", lang), "paper")
    for x, sign in ((BAT_PLUS, "+"), (BAT_MINUS, "−")):
        cv.box(x - 4, y1, x + 4, y1 + 5, "metal", "ink")
        cv.text(x + 7, y1 + 2, sign, "ink", bold=True)


def draw_ignition(cv, lang):
    cx, cy = IGNITION
    cv.disc(cx, cy, 15, "metal")
    cv.ring(cx, cy, 15, "ink")
    cv.fill(cx - 1, cy - 8, cx + 1, cy + 8, "case")      # key slot
    cv.fill(cx, 77, cx, 84, "ink")
    cv.box(cx - 4, 83, cx + 4, 88, "metal", "ink")
    cv.text(cx + 20, cy - 12, tr("ignition", lang), "ink", bold=True)
    cv.text(cx + 20, cy + 2, tr("ignition_term", lang), "note")


def draw_ecu(cv, lang):
    x0, y0, x1, y1 = ECU
    cv.box(x0, y0, x1, y1, "fill", "ink")
    cv.text_centre((x0 + x1) // 2, y0 + 8, tr("ecu", lang), "ink", bold=True)
    for i, x in enumerate(COLUMNS):
        cv.text_centre(x, y1 - 16, tr("ecu_inj", lang, n=i + 1), "note")
        cv.box(x - 3, y1 - 3, x + 3, y1, "metal", "ink")
    for x in COLUMNS:
        cut_mark(cv, x, CUT_Y)
    mid = (COLUMNS[0] + COLUMNS[-1]) // 2
    cv.text_centre(mid, CUT_Y + 10, tr("cut", lang), "cut")
    cv.text_centre(mid, CUT_Y + 23, tr("emulation", lang), "note")


def draw_petrol_injectors(cv, lang):
    for i, x in enumerate(COLUMNS):
        y = INJECTOR_TOP
        cv.box(x - 6, y, x + 6, y + 6, "case", "ink")          # plug
        cv.box(x - 5, y + 7, x + 5, y + 27, "metal", "ink")    # body
        cv.box(x - 2, y + 28, x + 2, y + 34, "metal_dark", "ink")  # nozzle
        cv.text(x + 9, y + 12, str(i + 1), "ink", bold=True)
    mid = (COLUMNS[0] + COLUMNS[-1]) // 2
    cv.text_centre(mid, INJECTOR_TOP + 40, tr("petrol_injectors", lang), "ink", bold=True)
    cv.text_centre(mid, INJECTOR_TOP + 53, tr("petrol_supply", lang), "note")


def draw_sensor_icon(cv, kind, x, y):
    """Small picture of a sensor whose lead comes in on the left at (x, y)."""
    if kind == "lambda":
        cv.box(x, y - 5, x + 7, y + 5, "case", "ink")              # plug
        cv.box(x + 8, y - 3, x + 15, y + 3, "metal_dark", "ink")   # lead seal
        cv.box(x + 16, y - 7, x + 23, y + 7, "metal", "ink")       # hexagon
        for k in range(24, 37, 3):                                 # thread
            cv.box(x + k, y - 4, x + k + 2, y + 4, "metal", "ink")
        cv.box(x + 37, y - 2, x + 43, y + 2, "metal_dark", "ink")  # tip
    elif kind == "coil":
        cv.box(x, y - 11, x + 38, y + 11, "case", "ink")
        for k in range(4):                                         # winding
            cv.ring(x + 9 + 7 * k, y + 3, 3, "metal")
        cv.box(x + 14, y - 17, x + 24, y - 11, "case", "ink")      # HT tower
    else:                                                          # throttle and sensor
        cv.box(x, y - 6, x + 10, y + 6, "case", "ink")
        cv.fill(x + 11, y - 1, x + 13, y + 1, "ink")
        cv.disc(x + 27, y, 12, "metal")
        cv.ring(x + 27, y, 12, "ink")
        cv.line(x + 19, y + 8, x + 35, y - 8, "ink")               # butterfly
        cv.line(x + 20, y + 8, x + 36, y - 8, "ink")


def draw_sensors(cv, lang):
    blocks = (("lambda", "lambda", "lambda_1", "lambda_2"),
              ("coil", "coil", "coil_1", "coil_2"),
              ("tps", "tps", "tps_1", "tps_2"))
    for y, (kind, name, l1, l2) in zip(SENSOR_ROWS, blocks):
        draw_sensor_icon(cv, kind, SENSOR_JOINT_X + 12, y)
        cv.text_centre(SENSOR_JOINT_X + 1, y - 27, tr("to_ecu", lang), "note")
        tx = 770
        cv.text(tx, y - 16, tr(name, lang), "ink", bold=True)
        cv.text(tx, y - 3, tr(l1, lang), "note")
        cv.text(tx, y + 10, tr(l2, lang), "note")


def draw_valve(cv, x):
    """Solenoid valve, its coil fed at (x, VALVE_TOP), the coil's other end grounded."""
    y = VALVE_TOP
    cv.box(x - 9, y, x + 9, y + 16, "case", "ink")
    cv.line(x - 6, y + 13, x + 6, y + 3, "paper")
    cv.box(x - 12, y + 17, x + 12, y + 31, "metal", "ink")
    cv.line(x - 10, y + 19, x + 10, y + 29, "ink")
    cv.line(x - 10, y + 29, x + 10, y + 19, "ink")
    cv.fill(x - 10, y + 19, x - 10, y + 29, "ink")
    cv.fill(x + 10, y + 19, x + 10, y + 29, "ink")
    cv.fill(x + 10, y + 3, x + 14, y + 4, "vehicle")
    ground_symbol(cv, x + 14, y + 3)


def draw_gas_system(cv, lang):
    x0, y0, x1, y1 = REDUCER
    mid_y = VALVE_TOP + 24
    # Pipes first so the parts sit on them: tank valve -> reducer valve, reducer -> rail.
    pipe(cv, [(TANK_VALVE_X - 12, mid_y), (REDUCER_VALVE_X + 12, mid_y)])
    pipe(cv, [(x0, 570), (COIL_X + 60, 570)])
    cv.box(x0, y0, x1, y1, "metal", "ink")
    cv.text_centre((x0 + x1) // 2, y0 + 18, tr("reducer", lang), "ink", bold=True)
    cv.text_centre((x0 + x1) // 2, y0 + 31, tr("reducer_2", lang), "ink")
    cv.text(x0, y1 + 8, tr("switch_over", lang), "note")
    cv.text(x0, y1 + 21, tr("switch_over_2", lang), "note")
    # Temperature sensor screwed into the reducer.
    tg, ts = TEMP_X
    cv.box(tg - 6, 504, ts + 6, 516, "case", "ink")
    cv.box(tg - 1, 517, ts + 1, y0 - 1, "metal", "ink")
    cv.text(ts + 10, VALVE_TOP + 2, tr("temp_sensor", lang), "ink", bold=True)
    cv.text(ts + 10, VALVE_TOP + 15, tr("temp_sensor_2", lang), "ink", bold=True)
    draw_valve(cv, REDUCER_VALVE_X)
    cv.text(x1 + 6, y0 + 10, tr("reducer_valve", lang), "ink")
    cv.text(x1 + 6, y0 + 23, tr("reducer_valve_2", lang), "ink")
    # Tank with its valve.
    tx0, ty0, tx1, ty1 = TANK
    cv.box(tx0, ty0, tx1, ty1, "fill", "ink")
    cv.fill(tx0 + 1, ty0 + 1, tx1 - 1, ty0 + 3, "paper")
    cv.text_centre((tx0 + tx1) // 2, ty0 + 24, tr("tank", lang), "ink", bold=True)
    cv.text_centre((tx0 + tx1) // 2, ty0 + 37, "LPG", "ink")
    draw_valve(cv, TANK_VALVE_X)
    cv.text_right(TANK_VALVE_X - 16, REDUCER_ROWS[0] + 14, tr("tank_valve", lang), "ink")
    cv.text_right(TANK_VALVE_X - 16, REDUCER_ROWS[0] + 27, tr("tank_valve_2", lang), "ink")


def draw_rail(cv, lang):
    bar = COIL_X + 44
    cv.box(bar, RAIL_ROWS[0] - 16, bar + 14, RAIL_ROWS[-1] + 14, "metal", "ink")
    for i, y in enumerate(RAIL_ROWS):
        cv.box(COIL_X, y - 11, COIL_X + 30, y + 11, "case", "ink")
        cv.text_centre(COIL_X + 16, y - 3, str(i + 1), "paper", bold=True)
        cv.box(COIL_X + 31, y - 5, bar - 1, y + 5, "metal", "ink")
    cv.text_centre(COIL_X + 8, RAIL_ROWS[-1] + 20, tr("gas_injectors", lang), "ink", bold=True)


def draw_panel(cv, lang):
    x0, y0, x1, y1 = PANEL
    cv.box(x0, y0, x1, y1, "case", "ink")
    for pin in (24, 25, 26, 27):
        x = ROUTES[pin][0]
        cv.box(x - 3, y0 - 2, x + 3, y0 + 2, "metal", "ink")
    for x, led, key in ((x0 + 16, "led_amber", "led_petrol"), (x0 + 44, "led_green", "led_lpg")):
        cv.disc(x, y0 + 20, 5, led)
        cv.ring(x, y0 + 20, 5, "ink")
        cv.text_centre(x, y0 + 33, tr(key, lang), "paper")
    cv.box(x0 + 62, y0 + 12, x0 + 100, y0 + 28, "metal", "ink")
    cv.text_centre(x0 + 81, y0 + 33, tr("button", lang), "paper")
    cv.text_centre((x0 + x1) // 2, y1 + 7, tr("switch", lang), "ink", bold=True)
    cv.text_centre((x0 + x1) // 2, y1 + 20, tr("switch_2", lang), "ink", bold=True)


def draw_pc_plug(cv, lang):
    x0, y0, x1, y1 = PC_PLUG
    cv.box(x0, y0, x1, y1, "case", "ink")
    for pin, label in ((30, "5"), (29, "3"), (28, "2")):
        x = ROUTES[pin][0]
        cv.box(x - 3, y0 - 2, x + 3, y0 + 2, "metal", "ink")
        cv.text_centre(x + 1, y0 + 8, label, "paper", bold=True)
    cv.text(ROUTES[28][0] + 10, y0 + 8, "DB-9", "paper")
    for k, key in enumerate(("pc_lead", "pc_lead_2", "pc_port", "pc_pins")):
        cv.text(x0, y1 + 7 + 13 * k, tr(key, lang), "ink", bold=k < 2)


def draw_legend(cv, lang):
    x0, y0, x1, y1 = 8, 526, 300, 631
    cv.frame(x0, y0, x1, y1, "rule")
    cv.text(x0 + 6, y0 + 6, tr("legend", lang), "ink", bold=True)
    codes = ["red", "black", "brown", "blue", "yellow", "green", "white", "grey",
             "violet", "orange", "pink", "yellow/black"]
    for k, code in enumerate(codes):
        x, y = x0 + 6 + k % 3 * 97, y0 + 22 + k // 3 * 12
        draw_cable(cv, code, [(x + 2, y), (x + 20, y)], {})
        cv.text(x + 28, y - 3, colour_name(code, lang), "ink")
    symbols = ("joint", "crossing", "cut_mark", "vehicle", "pipe", "ground")
    for k, key in enumerate(symbols):
        x, y = x0 + 6 + k % 3 * 97, y0 + 77 + k // 3 * 17
        if key == "joint":
            draw_wires(cv, [("grey", [(x + 2, y), (x + 20, y)], False),
                            ("grey", [(x + 11, y), (x + 11, y + 7)], False)])
            joint(cv, x + 11, y)
        elif key == "crossing":
            draw_wires(cv, [("grey", [(x + 11, y - 7), (x + 11, y + 7)], False),
                            ("grey", [(x + 1, y + 2), (x + 21, y + 2)], False)])
        elif key == "cut_mark":
            cv.fill(x + 11, y - 7, x + 12, y - 4, "vehicle")
            cv.fill(x + 11, y + 4, x + 12, y + 7, "vehicle")
            cut_mark(cv, x + 11, y)
        elif key == "vehicle":
            cv.fill(x + 2, y, x + 20, y + 1, "vehicle")
        elif key == "pipe":
            pipe(cv, [(x + 4, y), (x + 18, y)])
        else:
            ground_symbol(cv, x + 11, y - 7)
        cv.text(x + 28, y - 3, tr(key, lang), "ink")


# ---------------------------------------------------------------------------------------
def draw(lang):
    cv = Canvas(W, H, "paper")
    cv.text(10, 10, tr("title", lang), "ink", bold=True, scale=2)
    cv.text_right(W - 10, 16, tr("subtitle", lang), "note")
    cv.fill(8, 34, W - 9, 34, "rule")

    draw_controller(cv, lang)
    draw_legend(cv, lang)
    draw_gas_system(cv, lang)

    wires = [(code, route_points(n), False) for n, code, *_ in PINS]
    wires += [(code, points, False) for code, points in BRANCHES]
    wires += [(None, points, True) for points in VEHICLE]
    draw_wires(cv, wires)
    for x, y in JOINTS:
        joint(cv, x, y)
    draw_tags(cv, place_tags(cv, wires, find_crossings(wires)))

    draw_fuse(cv, lang)
    draw_battery(cv, lang)
    draw_ignition(cv, lang)
    draw_ecu(cv, lang)
    draw_petrol_injectors(cv, lang)
    draw_sensors(cv, lang)
    draw_rail(cv, lang)
    draw_panel(cv, lang)
    draw_pc_plug(cv, lang)
    return cv


def bmp_bytes(cv):
    """8 bits per pixel, 256-entry palette, bottom-up rows padded to 4 bytes."""
    stride = (cv.w + 3) // 4 * 4
    bits = bytearray()
    for y in range(cv.h - 1, -1, -1):
        bits += cv.px[y * cv.w:(y + 1) * cv.w] + bytes(stride - cv.w)
    colours = [rgb for _, rgb in PALETTE] + [(0, 0, 0)] * (256 - len(PALETTE))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    offset = 14 + 40 + len(pal)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 8, 0, len(bits), 2835, 2835, 256, 256)
    return file_header + info + pal + bytes(bits)


def main():
    here = Path(__file__).resolve().parent
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "res"
    out.mkdir(parents=True, exist_ok=True)
    for lang in ("pl", "en"):
        data = bmp_bytes(draw(lang))
        (out / f"schema_{lang}.bmp").write_bytes(data)
        print(f"{out / f'schema_{lang}.bmp'}: {len(data)} bytes")


if __name__ == "__main__":
    main()
