#!/usr/bin/env python3
"""Writes the six sources KWCE<variant><set>.klc of the Keyworks Central European layout.

The description below is the only place where the layout is defined; the sources are generated
from it so that the three variants and the two sets cannot drift apart. The sources are in the
keyboard-layout source format (UTF-16LE with byte-order mark, CRLF line ends), which
tools/layout compiles into the layout libraries.

Variants (the letter arrangement):
  Q  QWERTY
  Z  QWERTZ: Y and Z swapped, the arrangement of German, Czech, Slovak and Hungarian keyboards
  P  Polish programmers: QWERTY with a c e l n o s x z under AltGr giving the Polish letters
     a-ogonek, c-acute, e-ogonek, l-stroke, n-acute, o-acute, s-acute, z-acute, z-dot, where
     Polish writers, the largest group of the layout's users, have them on the layout they
     already type on
Sets (how accents are reached; both have the same AltGr layer):
  1  accented letters directly with AltGr; every key types at once
  2  accents also through dead keys: ' " ` ~ ^ wait for the next letter (' then e gives e-acute,
     ' then space the apostrophe)

Usage: generate-sources.py [output folder]   (default: the folder of this script)
       generate-sources.py --check               exit 1 when a source in this folder differs
"""
import os
import sys
import unicodedata

MAKER = "Tarnowski & Lind Keyworks"
PRODUCT = "Keyworks Central European"
VERSION = "1.9"
YEAR = 2026
LOCALE_NAME = "pl-PL"
LOCALE_ID = 0x0415
LANGUAGE_NAME = "Polish (Poland)"
DESCRIPTION_LANGUAGE = 0x0409

# Columns of every key: base, Shift, Ctrl, AltGr (Ctrl+Alt), Shift+AltGr.
SHIFT_STATES = ((0, ""), (1, "Shift"), (2, "Ctrl"), (6, "AltGr"), (7, "Shift+AltGr"))


class Dead:
    """A dead key whose accent character is `char`."""

    def __init__(self, char):
        self.char = char


NBSP = "\u00a0"
NARROW_NBSP = "\u202f"

# Dead keys: accent character -> combining mark it puts on the next letter, and those letters.
ACCENTS = {
    "\u00b4": ("\u0301", "aceilnorsuyz"),  # acute
    "\u02c7": ("\u030c", "cdelnrstz"),     # caron
    "\u00a8": ("\u0308", "aeiouy"),        # diaeresis
    "\u02dd": ("\u030b", "ou"),            # double acute
    "\u02db": ("\u0328", "aeiu"),          # ogonek
    "\u02d9": ("\u0307", "cegzI"),         # dot above (capital I only: dotless i is not ours)
    "\u02da": ("\u030a", "au"),            # ring above
    "^": ("\u0302", "aeiou"),              # circumflex
    "\u02d8": ("\u0306", "agu"),           # breve
    "`": ("\u0300", "aeiou"),              # grave
    "~": ("\u0303", "ano"),                # tilde
    "\u00b8": ("\u0327", "cst"),           # cedilla
    # Set 2's quote keys: acute and diaeresis again, but space gives the quote itself.
    "'": ("\u0301", "aceilnorsuyz"),
    '"': ("\u0308", "aeiouy"),
}

DEAD_KEY_NAMES = {
    "\u00b4": "ACUTE ACCENT", "'": "ACUTE ACCENT", "\u02c7": "CARON", "\u00a8": "DIAERESIS",
    '"': "DIAERESIS", "\u02dd": "DOUBLE ACUTE ACCENT", "\u02db": "OGONEK", "\u02d9": "DOT ABOVE",
    "\u02da": "RING ABOVE", "^": "CIRCUMFLEX ACCENT", "\u02d8": "BREVE", "`": "GRAVE ACCENT",
    "~": "TILDE", "\u00b8": "CEDILLA",
}

# Keys other than letters, the same in every library: scan code, virtual key, Caps Lock
# attribute, then the characters of the five columns (None: nothing).
COMMON_KEYS = [
    (0x29, "OEM_3", 0, "`", "~", None, Dead("\u00a8"), Dead("\u00b8")),
    (0x02, "1", 0, "1", "!", None, Dead("~"), "\u00b9"),
    (0x03, "2", 0, "2", "@", None, Dead("\u02c7"), "\u00b2"),
    (0x04, "3", 0, "3", "#", None, Dead("^"), "\u00b3"),
    (0x05, "4", 0, "4", "$", None, Dead("\u02d8"), "\u20ac"),
    (0x06, "5", 0, "5", "%", None, Dead("\u02da"), "\u2030"),
    (0x07, "6", 0, "6", "^", None, Dead("\u02db"), "\u00b0"),
    (0x08, "7", 0, "7", "&", None, Dead("`"), "\u00a7"),
    (0x09, "8", 0, "8", "*", None, Dead("\u02d9"), "\u00d7"),
    (0x0a, "9", 0, "9", "(", None, Dead("\u00b4"), "\u00ab"),
    (0x0b, "0", 0, "0", ")", None, Dead("\u02dd"), "\u00bb"),
    (0x0c, "OEM_MINUS", 0, "-", "_", None, "\u2013", "\u2014"),
    (0x0d, "OEM_PLUS", 0, "=", "+", None, "\u00b1", "\u2260"),
    (0x1a, "OEM_4", 4, "[", "{", "\u001b", "\u0151", "\u0150"),
    (0x1b, "OEM_6", 4, "]", "}", "\u001d", "\u00f4", "\u00d4"),
    (0x2b, "OEM_5", 4, "\\", "|", "\u001c", "\u0171", "\u0170"),
    (0x27, "OEM_1", 0, ";", ":", None, "\u201c", "\u2018"),
    (0x28, "OEM_7", 0, "'", '"', None, "\u201d", "\u2019"),
    (0x33, "OEM_COMMA", 0, ",", "<", None, "\u201e", "\u201a"),
    (0x34, "OEM_PERIOD", 0, ".", ">", None, "\u2026", "\u00b7"),
    (0x35, "OEM_2", 0, "/", "?", None, "\u00f7", "\u2022"),
    (0x39, "SPACE", 0, " ", " ", " ", NBSP, NARROW_NBSP),
    (0x56, "OEM_102", 4, "\\", "|", "\u001c", "\u0171", "\u0170"),
    # The installer turns these two points into commas for decimal-comma locales.
    (0x53, "DECIMAL", 0, ".", ".", None, None, None),
]

# Set 2 turns these base-layer characters into dead keys: (scan code, column) -> accent.
SET2_DEAD_KEYS = {(0x29, 0): "`", (0x29, 1): "~", (0x07, 1): "^", (0x28, 0): "'", (0x28, 1): '"'}

LETTER_SCAN_CODES = {
    "q": 0x10, "w": 0x11, "e": 0x12, "r": 0x13, "t": 0x14, "y": 0x15, "u": 0x16, "i": 0x17,
    "o": 0x18, "p": 0x19, "a": 0x1e, "s": 0x1f, "d": 0x20, "f": 0x21, "g": 0x22, "h": 0x23,
    "j": 0x24, "k": 0x25, "l": 0x26, "z": 0x2c, "x": 0x2d, "c": 0x2e, "v": 0x2f, "b": 0x30,
    "n": 0x31, "m": 0x32,
}

# AltGr on a letter key: the letter it gives (Shift+AltGr gives its capital). Vowels give their
# acute form, the key beside a vowel its second form; then the carons of Czech and Slovak.
ALTGR_LETTERS = {
    "q": "\u00e4", "w": "\u011b", "e": "\u00e9", "r": "\u0159", "t": "\u0165", "y": "\u00fd",
    "u": "\u00fa", "i": "\u00ed", "o": "\u00f3", "p": "\u00f6", "a": "\u00e1", "s": "\u0161",
    "d": "\u010f", "f": "\u0155", "h": "\u00fc", "j": "\u016f", "k": "\u013e", "l": "\u0142",
    "z": "\u017e", "x": "\u00d7", "c": "\u010d", "b": "\u00df", "n": "\u0148", "m": "\u00b5",
}
POLISH_PROGRAMMERS_LETTERS = {
    "a": "\u0105", "c": "\u0107", "e": "\u0119", "l": "\u0142", "n": "\u0144", "o": "\u00f3",
    "s": "\u015b", "x": "\u017a", "z": "\u017c", "u": "\u20ac",
}
# Capitals where the case mapping of Unicode gives none or not the one wanted here.
CAPITALS = {"\u00df": "\u1e9e", "\u00b5": None}

VARIANTS = [
    ("Q", "QWERTY", {}, ALTGR_LETTERS),
    ("Z", "QWERTZ", {"y": "z", "z": "y"}, ALTGR_LETTERS),
    ("P", "Polish programmers", {}, {**ALTGR_LETTERS, **POLISH_PROGRAMMERS_LETTERS}),
]
SETS = [(1, ""), (2, ", dead keys")]

KEY_NAMES = [
    (0x01, "Esc"), (0x0e, "Backspace"), (0x0f, "Tab"), (0x1c, "Enter"), (0x1d, "Ctrl"),
    (0x2a, "Shift"), (0x36, "Right Shift"), (0x37, "Num *"), (0x38, "Alt"), (0x39, "Space"),
    (0x3a, "Caps Lock"), (0x3b, "F1"), (0x3c, "F2"), (0x3d, "F3"), (0x3e, "F4"), (0x3f, "F5"),
    (0x40, "F6"), (0x41, "F7"), (0x42, "F8"), (0x43, "F9"), (0x44, "F10"), (0x45, "Pause"),
    (0x46, "Scroll Lock"), (0x47, "Num 7"), (0x48, "Num 8"), (0x49, "Num 9"), (0x4a, "Num -"),
    (0x4b, "Num 4"), (0x4c, "Num 5"), (0x4d, "Num 6"), (0x4e, "Num +"), (0x4f, "Num 1"),
    (0x50, "Num 2"), (0x51, "Num 3"), (0x52, "Num 0"), (0x53, "Num Del"), (0x54, "Sys Req"),
    (0x57, "F11"), (0x58, "F12"),
] + [(0x64 + n, "F%d" % (13 + n)) for n in range(11)] + [(0x76, "F24")]

KEY_NAMES_EXTENDED = [
    (0x1c, "Num Enter"), (0x1d, "Right Ctrl"), (0x35, "Num /"), (0x37, "Print Screen"),
    (0x38, "Right Alt"), (0x45, "Num Lock"), (0x46, "Break"), (0x47, "Home"), (0x48, "Up"),
    (0x49, "Page Up"), (0x4b, "Left"), (0x4d, "Right"), (0x4f, "End"), (0x50, "Down"),
    (0x51, "Page Down"), (0x52, "Insert"), (0x53, "Delete"), (0x56, "Help"),
    (0x5b, "Left Windows"), (0x5c, "Right Windows"), (0x5d, "Application"),
]


def capital(char):
    if char in CAPITALS:
        return CAPITALS[char]
    upper = char.upper()
    return upper if len(upper) == 1 and upper != char else None


def cell_text(cell):
    """A character cell as the source format writes it."""
    if cell is None:
        return "-1"
    if isinstance(cell, Dead):
        return "%04x@" % ord(cell.char)
    if cell.isascii() and cell.isalnum():
        return cell
    return "%04x" % ord(cell)


def cell_comment(cell):
    if cell is None:
        return "-"
    if isinstance(cell, Dead):
        return "dead " + cell.char
    if unicodedata.category(cell) in ("Cc", "Zs"):
        return "U+%04X" % ord(cell)
    return cell


def letter_keys(letter_swaps, altgr_letters):
    rows = []
    for key_letter, scan in LETTER_SCAN_CODES.items():
        letter = letter_swaps.get(key_letter, key_letter)
        accented = altgr_letters.get(letter)
        upper = capital(accented) if accented else None
        # Caps Lock gives capitals with AltGr too where the AltGr character has one.
        attributes = 5 if upper else 1
        rows.append((scan, letter.upper(), attributes, letter, letter.upper(), None, accented, upper))
    return rows


def composed(accent, base):
    mark = ACCENTS[accent][0]
    result = unicodedata.normalize("NFC", base + mark)
    if len(result) != 1:
        raise SystemExit("no precomposed character for %r with %r" % (base, accent))
    return result


def dead_key_entries(accent):
    letters = ACCENTS[accent][1]
    entries = []
    for letter in letters:
        for base in (letter, letter.upper()) if letter.islower() else (letter,):
            entries.append((base, composed(accent, base)))
    entries.append((" ", accent))
    return entries


def build_rows(variant, set_number):
    _, _, letter_swaps, altgr_letters = variant
    rows = []
    for row in COMMON_KEYS + letter_keys(letter_swaps, altgr_letters):
        scan, vk, attributes, *cells = row
        if set_number == 2:
            cells = [Dead(SET2_DEAD_KEYS[(scan, column)]) if (scan, column) in SET2_DEAD_KEYS else cell
                     for column, cell in enumerate(cells)]
        rows.append((scan, vk, attributes, cells))
    return sorted(rows, key=lambda row: row[0])


def source_text(variant, set_number):
    letter, variant_name, _, _ = variant
    name = "KWCE%s%d" % (letter, set_number)
    description = "%s (%s%s)" % (PRODUCT, variant_name, SETS[set_number - 1][1])
    rows = build_rows(variant, set_number)
    lines = [
        "// Generated by embedded/layouts/sources/generate-sources.py from its layout description;"
        " do not edit.",
        "",
        'KBD\t%s\t"%s"' % (name, description),
        "",
        'COPYRIGHT\t"(c) %d %s"' % (YEAR, MAKER),
        "",
        'COMPANY\t"%s"' % MAKER,
        "",
        'LOCALENAME\t"%s"' % LOCALE_NAME,
        "",
        'LOCALEID\t"%08x"' % LOCALE_ID,
        "",
        "VERSION\t%s" % VERSION,
        "",
        "SHIFTSTATE",
        "",
    ]
    for column, (bits, label) in enumerate(SHIFT_STATES):
        lines.append("%d\t// column %d%s" % (bits, column, ": " + label if label else ": base"))
    lines += ["", "LAYOUT\t\t// a trailing @ marks a dead key", "",
              "// SC\tVK_\t\tCap\t" + "\t".join(str(bits) for bits, _ in SHIFT_STATES), ""]
    accents = []
    for scan, vk, attributes, cells in rows:
        for cell in cells:
            if isinstance(cell, Dead) and cell.char not in accents:
                accents.append(cell.char)
        lines.append("%02x\t%s\t%s%d\t%s\t// %s" % (
            scan, vk, "\t" if len(vk) < 8 else "", attributes,
            "\t".join(cell_text(cell) for cell in cells),
            ", ".join(cell_comment(cell) for cell in cells)))
    lines.append("")
    for accent in sorted(accents):
        lines += ["", "DEADKEY\t%04x" % ord(accent), ""]
        for base, result in dead_key_entries(accent):
            lines.append("%04x\t%04x\t// %s -> %s" % (ord(base), ord(result),
                                                     cell_comment(base), result))
    for keyword, names in (("KEYNAME", KEY_NAMES), ("KEYNAME_EXT", KEY_NAMES_EXTENDED)):
        lines += ["", keyword, ""]
        for scan, key_name in names:
            lines.append("%02x\t%s" % (scan, '"%s"' % key_name if " " in key_name else key_name))
    lines += ["", "KEYNAME_DEAD", ""]
    for accent in sorted(accents):
        lines.append('%04x\t"%s"' % (ord(accent), DEAD_KEY_NAMES[accent]))
    lines += ["", "DESCRIPTIONS", "", "%04x\t%s" % (DESCRIPTION_LANGUAGE, description),
              "", "LANGUAGENAMES", "", "%04x\t%s" % (LOCALE_ID, LANGUAGE_NAME),
              "", "ENDKBD", ""]
    return name, "\r\n".join(lines)


def main():
    check = sys.argv[1:] == ["--check"]
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 and not check else here
    stale = []
    for variant in VARIANTS:
        for set_number, _ in SETS:
            name, text = source_text(variant, set_number)
            path = os.path.join(folder, name + ".klc")
            data = b"\xff\xfe" + text.encode("utf-16-le")
            if not check:
                with open(path, "wb") as output:
                    output.write(data)
                continue
            try:
                with open(path, "rb") as existing:
                    current = existing.read() == data
            except OSError:
                current = False
            if not current:
                stale.append(name + ".klc")
    if stale:
        print("not what %s generates: %s" % (os.path.basename(__file__), " ".join(stale)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
