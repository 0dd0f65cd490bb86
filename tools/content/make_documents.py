#!/usr/bin/env python3
"""Writes the product's documents from the layout sources, so that they always show what the
libraries type:

    make_documents.py <sources dir> <guide source> <out guide> <out chart> <out page>

  <out guide>  the shared typing guide: <guide source> (UTF-8, LF) as UTF-8 with byte-order mark
               and CRLF line ends, which Notepad on every Windows version reads
  <out chart>  the product document: every character beyond the plain keys and how to type it,
               per variant, in English and Polish (UTF-8 text with byte-order mark, CRLF)
  <out page>   the page file: the keyboard charts of the six layouts as one HTML page (ASCII with
               character references, so any browser back to Internet Explorer 5 shows it)
"""
import html
import os
import sys
import unicodedata

VARIANTS = (("Q", "QWERTY", "QWERTY"), ("Z", "QWERTZ", "QWERTZ"),
            ("P", "Polish programmers", "Polski (programisty)"))
ROWS = (("29", "02", "03", "04", "05", "06", "07", "08", "09", "0a", "0b", "0c", "0d"),
        ("10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "1a", "1b", "2b"),
        ("1e", "1f", "20", "21", "22", "23", "24", "25", "26", "27", "28"),
        ("56", "2c", "2d", "2e", "2f", "30", "31", "32", "33", "34", "35"))
NONE = None


class Layout:
    def __init__(self, path):
        with open(path, "rb") as handle:
            text = handle.read().decode("utf-16")
        self.keys = {}        # scan code -> (vk, [(char, dead)] per column)
        self.columns = []
        self.dead = {}        # accent -> [(base, composed)]
        self.dead_names = {}
        section, accent = None, None
        for raw in text.splitlines():
            line = raw.split("//", 1)[0].strip()
            if not line or line.startswith(";"):
                continue
            words = line.split()
            keyword = words[0]
            if keyword in ("SHIFTSTATE", "LAYOUT", "KEYNAME", "KEYNAME_EXT", "KEYNAME_DEAD",
                           "DESCRIPTIONS", "LANGUAGENAMES", "ENDKBD", "KBD", "COPYRIGHT", "COMPANY",
                           "LOCALENAME", "LOCALEID", "VERSION", "LIGATURE"):
                section = keyword
                continue
            if keyword == "DEADKEY":
                section, accent = "DEADKEY", chr(int(words[1], 16))
                self.dead[accent] = []
                continue
            if section == "SHIFTSTATE":
                self.columns.append(int(words[0]))
            elif section == "LAYOUT":
                cells = [self.cell(word) for word in words[3:3 + len(self.columns)]]
                self.keys[words[0].lower()] = (words[1], cells)
            elif section == "DEADKEY":
                self.dead[accent].append((chr(int(words[0], 16)), chr(int(words[1], 16))))
            elif section == "KEYNAME_DEAD":
                self.dead_names[chr(int(words[0], 16))] = " ".join(words[1:]).strip('"')

    @staticmethod
    def cell(word):
        if word == "-1":
            return NONE
        dead = word.endswith("@")
        word = word.rstrip("@")
        return (word if len(word) == 1 else chr(int(word, 16)), dead)

    def column(self, shift_state):
        return self.columns.index(shift_state) if shift_state in self.columns else None

    def key_label(self, scan):
        base = self.keys[scan][1][0]
        return base[0].upper() if base else "?"


def ref(text):
    return "".join(ch if 32 <= ord(ch) < 127 else "&#x%04X;" % ord(ch) for ch in html.escape(text))


def describe(ch):
    if ch == "\u00a0":
        return "no-break space"
    if ch == "\u202f":
        return "narrow no-break space"
    return unicodedata.name(ch, "U+%04X" % ord(ch)).lower()


def sequences(layout):
    """Every character beyond the base and Shift columns: character -> list of key sequences."""
    found = {}
    names = {"en": {}, "pl": {}}
    altgr, shift_altgr, shift = layout.column(6), layout.column(7), layout.column(1)
    plain = set()
    for scan, (vk, cells) in layout.keys.items():
        for index in (0, shift):
            if cells[index] and not cells[index][1]:
                plain.add(cells[index][0])
    dead_keys = {}
    for scan, (vk, cells) in layout.keys.items():
        label = layout.key_label(scan) if vk != "SPACE" else "Space"
        for index, prefix in ((0, ""), (shift, "Shift+"), (altgr, "AltGr+"), (shift_altgr, "Shift+AltGr+")):
            if index is None or cells[index] is None:
                continue
            ch, dead = cells[index]
            keys = prefix + label
            if dead:
                dead_keys.setdefault(ch, keys)
            elif ch not in plain and ord(ch) >= 0x20 and index in (altgr, shift_altgr):
                found.setdefault(ch, []).append(keys)
    for accent, pairs in layout.dead.items():
        keys = dead_keys.get(accent)
        if keys is None:
            continue
        for base, composed in pairs:
            if composed in plain:
                continue
            then = "Space" if base == " " else base
            found.setdefault(composed, []).append("%s, %s" % (keys, then))
    return found, dead_keys


def chart_text(layouts):
    out = ["Keyworks Central European 1.9 - character chart / tabela znak\u00f3w", ""]
    out += ["English: every character the layout adds to your keyboard, and the keys that type it.",
            "AltGr is the right Alt key. \"AltGr+6, a\" means: press AltGr+6, release, then press a.",
            "Set 2 (dead keys) also makes ' \" ` ~ and Shift+6 (^) wait for the next letter;",
            "press Space after them for the character itself.", "",
            "Polski: wszystkie znaki, kt\u00f3re uk\u0142ad dodaje do klawiatury, i klawisze, kt\u00f3re je wpisuj\u0105.",
            "AltGr to prawy klawisz Alt. \u201eAltGr+6, a\u201d oznacza: naci\u015bnij AltGr+6, pu\u015b\u0107, potem naci\u015bnij a.",
            "Zestaw 2 (martwe klawisze) sprawia te\u017c, \u017ce ' \" ` ~ i Shift+6 (^) czekaj\u0105 na nast\u0119pn\u0105 liter\u0119;",
            "Spacja po nich daje sam znak.", ""]
    for code, english, polish in VARIANTS:
        found, _ = sequences(layouts[code + "1"])
        title = "Variant %s / wariant %s" % (english, polish)
        out += ["=" * 78, title, "=" * 78, ""]
        for ch in sorted(found, key=lambda c: (unicodedata.normalize("NFD", c.lower()), c)):
            shown = ch if ch not in "\u00a0\u202f" else " "
            out.append("%-3s U+%04X  %-46s %s" % (shown, ord(ch), describe(ch), "  or  ".join(found[ch][:3])))
        out.append("")
    return "\r\n".join(out) + "\r\n"


def key_cell(layout, scan):
    vk, cells = layout.keys.get(scan, (None, None))
    if cells is None:
        return "<td></td>"
    def show(index):
        if index is None or cells[index] is None:
            return "&nbsp;"
        ch, dead = cells[index]
        text = ref(ch) if ch not in "\u00a0\u202f" else "&#x2423;"
        return '<span class="dead">%s</span>' % text if dead else text
    shift, altgr, shift_altgr = layout.column(1), layout.column(6), layout.column(7)
    return ('<td><table class="k"><tr><td>%s</td><td class="g">%s</td></tr>'
            '<tr><td>%s</td><td class="g">%s</td></tr></table></td>'
            % (show(shift), show(shift_altgr), show(0), show(altgr)))


def page(layouts):
    out = ['<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">', "<html><head>",
           '<meta http-equiv="Content-Type" content="text/html; charset=us-ascii">',
           "<title>Keyworks Central European 1.9</title>",
           "<style type=\"text/css\">body{font-family:Arial,sans-serif;font-size:10pt}"
           "table.b{border-collapse:collapse}table.b td{border:1px solid #888;padding:0;vertical-align:top}"
           "table.k td{border:0;width:1.4em;text-align:center;font-size:11pt}td.g{color:#1050b0}"
           ".dead{color:#c02020;font-style:italic}</style></head><body>",
           "<h1>Keyworks Central European 1.9</h1>",
           "<p>Each key shows Shift (top left), the key alone (bottom left), AltGr (bottom right, blue) and "
           "Shift+AltGr (top right, blue). <span class=\"dead\">Red italics</span> mark dead keys: type "
           "them, then the letter (or Space for the accent itself).<br>",
           "Ka&#x017C;dy klawisz pokazuje Shift (u g&#x00F3;ry po lewej), sam klawisz (na dole po lewej), "
           "AltGr (na dole po prawej, niebieski) i Shift+AltGr (u g&#x00F3;ry po prawej, niebieski). "
           "<span class=\"dead\">Czerwon&#x0105; kursyw&#x0105;</span> oznaczono martwe klawisze: "
           "naci&#x015B;nij je, potem liter&#x0119; (albo Spacj&#x0119;, by wpisa&#x0107; sam akcent).</p>"]
    for code, english, polish in VARIANTS:
        for set_number, set_en, set_pl in (("1", "set 1: AltGr letters", "zestaw 1: litery z AltGr"),
                                           ("2", "set 2: with dead keys", "zestaw 2: z martwymi klawiszami")):
            layout = layouts[code + set_number]
            out.append("<h2>%s / %s &#x2014; %s / %s</h2>" % (ref(english), ref(polish), ref(set_en), ref(set_pl)))
            out.append('<table class="b">')
            for indent, row in zip((0, 1, 2, 1), ROWS):
                cells = "".join(key_cell(layout, scan) for scan in row)
                out.append("<tr>%s%s</tr>" % ('<td style="border:0"></td>' * indent if indent else "", cells))
            out.append("</table>")
        found, dead_keys = sequences(layouts[code + "2"])
        out.append("<h3>Dead keys / martwe klawisze</h3><table class=\"b\">")
        for accent, keys in sorted(dead_keys.items(), key=lambda item: item[1]):
            composed = "".join(c for b, c in layouts[code + "2"].dead.get(accent, []) if b != " ")
            out.append("<tr><td>%s</td><td>%s</td><td>%s</td></tr>"
                       % (ref(keys), ref(layouts[code + "2"].dead_names.get(accent, accent).lower()), ref(composed)))
        out.append("</table>")
    out.append("<p>Tarnowski &amp; Lind Keyworks</p></body></html>")
    return "\r\n".join(out) + "\r\n"


def write(path, text, encoding):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding=encoding, newline="") as handle:
        handle.write(text)
    os.replace(temporary, path)


def main(argv):
    if len(argv) != 6:
        sys.stderr.write(__doc__)
        return 2
    sources, guide_source, guide, chart, page_file = argv[1:]
    layouts = {code + s: Layout(os.path.join(sources, "KWCE%s%s.klc" % (code, s)))
               for code, _, _ in VARIANTS for s in ("1", "2")}
    with open(guide_source, encoding="utf-8") as handle:
        guide_text = handle.read()
    write(guide, "\ufeff" + guide_text.replace("\n", "\r\n"), "utf-8")
    write(chart, "\ufeff" + chart_text(layouts), "utf-8")
    write(page_file, page(layouts), "ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
