"""'QDLG' (type QXDG): u32 size of the rest; u16 dialog type, u16 style flags, four u16 position and
size values, the title zero-terminated, u16 item count; then the items, each a u16 item number and a
u16 item kind followed by the fields of its kind (texts are zero-terminated, lists have a u16 count).

The item lines of tab bars, browsers, list boxes and list views end without a comma, which the
Windows resource compiler accepts and GNU windres does not: prepare_script adds that comma in the
copy of the default script handed to windres; the --windres script has it already.
"""

import re

from reslib import Reader, dg_constants, expect, expect_ids, find

NO_COMMA = re.compile(r"^(\t *\d+, DG_ITM_(?:TABBAR|BROWSER|LISTBOX|LISTVIEW), .*[^,])$")


def prepare_script(text):
    return "\r\n".join(NO_COMMA.sub(r"\1,", line) for line in text.split("\r\n"))


def read_item(r, kind, dg):
    """The fields after the item number and kind, as a list (texts as bytes, lists as lists)."""
    sub = r.u16()
    fields = [sub] + [r.u16() for _ in range(4)]  # x, y, w, h
    w = r.u16
    s = r.cstring

    def words(count):
        return [w() for _ in range(count)]

    def counted(read):
        return [read() for _ in range(w())]

    if kind == "BUTTON":
        rest = {"ICONTEXT": lambda: [w(), w(), s()], "ICON": lambda: words(2), "SPLIT": lambda: [w(), w(), s()]}
    elif kind == "RADIOBUTTON":
        rest = {"TEXT": lambda: [w(), w(), s()], "PUSHTEXT": lambda: [w(), w(), s()], "ICON": lambda: words(2),
                "PUSHICON": lambda: words(2), "PUSHMENUICON": lambda: [w(), counted(w)]}
    elif kind == "CHECKBOX":
        rest = {"TEXT": lambda: [w(), s()], "ICON": lambda: words(1), "PUSHTEXT": lambda: [w(), w(), s()],
                "PUSHICON": lambda: words(2), "PUSHMENUICON": lambda: [counted(w)]}
    elif kind == "SPINCONTROL":
        rest = {"SINGLESPIN": lambda: words(2), "EDITSPIN": lambda: words(1)}
    elif kind == "TABCONTROL":
        rest = {"NORMALTAB": lambda: [counted(lambda: (w(), w(), s()))], "SIMPLETAB": lambda: [w(), counted(w)]}
    else:
        rest = None
    if rest is not None:
        names = {dg["DG_" + p + "_" + n]: n for n in rest for p in ("BT", "ST", "TT") if "DG_" + p + "_" + n in dg}
        expect(sub in names, "%s: unknown sub-kind 0x%04X" % (kind, sub))
        return fields + rest[names[sub]]()
    if kind == "EDITTEXT":
        edit = sub & 0xF
        if edit <= dg["DG_ET_MM_OR_PT"]:
            return fields + [w(), s(), s()]
        if edit <= dg["DG_ET_TEXT"]:
            return fields + words(2)
        return fields + words(1)
    simple = {"STATICTEXT": lambda: [w(), w(), s()], "SCROLLBAR": lambda: words(3), "SLIDER": lambda: words(3),
              "PROGRESSBAR": lambda: words(3), "RULER": lambda: words(1), "PICTITEM": lambda: words(2),
              "ICONITEM": lambda: words(2), "USERITEM": lambda: words(1), "GROUPBOX": lambda: [w(), s()],
              "SEPARATOR": lambda: [], "SPLITTER": lambda: [], "DATETIME": lambda: [], "TABBAR": lambda: [],
              "BROWSER": lambda: [], "USERCONTROL": lambda: [w(), w(), counted(w)], "LISTBOX": lambda: words(3),
              "POPUPCONTROL": lambda: [w(), w(), counted(lambda: (w(), s()))], "TREEVIEW": lambda: words(6),
              "LISTVIEW": lambda: words(6)}
    return fields + simple[kind]()


def dialog(resource, dg):
    kinds = {value: name[len("DG_ITM_"):] for name, value in dg.items() if name.startswith("DG_ITM_")}
    r = Reader(resource.data, "QXDG %s" % resource.name)
    r.size_field()
    header = [r.u16(), r.u16(), [r.u16() for _ in range(4)], r.cstring()]
    items = []
    for number in range(1, r.u16() + 1):
        expect(r.u16() == number, "QXDG %s: item %d has another number" % (resource.name, number))
        kind = kinds.get(r.u16())
        expect(kind is not None, "QXDG %s: item %d has an unknown kind" % (resource.name, number))
        items.append((kind, read_item(r, kind, dg)))
    r.end()
    return header, items


def check(resources):
    dg = dg_constants()
    expect_ids(resources, [("QXDG", n) for n in range(200, 206)])
    d = {n: dialog(find(resources, "QXDG", n), dg) for n in range(200, 206)}

    header, items = d[200]
    expect(header == [8, 191, [40, 30, 400, 300], b"Buttons"], "QXDG 200 header %r" % header)
    expect(len(items) == 21, "QXDG 200: %d items" % len(items))
    expect(items[2][1][-1] == b'Say "hi"', "QXDG 200 item 3: %r" % (items[2],))
    expect(items[10][1][1:3] == [65526, 105], "QXDG 200 item 11 (offset wrap): %r" % (items[10],))
    expect(items[11][1][-1] == [1, 2, 65535, 1, 12], "QXDG 200 item 12 icons: %r" % (items[11],))
    expect(items[17][1][-1] == [], "QXDG 200 item 18 icons: %r" % (items[17],))

    header, items = d[201]
    expect(header == [4, 195, [0, 0, 300, 240], b"Texts and edits"], "QXDG 201 header %r" % header)
    texts = [fields[-1] for kind, fields in items if kind == "STATICTEXT"]
    expect(texts == [b"Name:", b"Centered", b"Joined from three", b"EscapesAB\n"], "QXDG 201 texts %r" % texts)
    values = [fields[-2:] for kind, fields in items if kind == "EDITTEXT" and (fields[0] & 0xF) <= 9]
    expect(values[0] == [b"0", b"100"] and values[2] == [b"", b"1.5"], "QXDG 201 edit values %r" % values)
    expect(items[22] == ("SCROLLBAR", [dg["DG_SB_NORMAL"], 290, 0, 10, 200, 10, 0, 100]), "%r" % (items[22],))

    header, items = d[202]
    expect(len(items) == 31, "QXDG 202: %d items" % len(items))
    expect(items[20][1][-1] == [1, 16, 65535, 65535, 3], "QXDG 202 user control values %r" % (items[20],))
    tabs = items[21][1][-1]
    expect(tabs == [(0x7A01, 65535, b"General"), (0x7A02, 12, b"View")], "QXDG 202 tabs %r" % tabs)
    expect(items[22][1][-1] == [0x7A03, 0x7A04] and items[22][1][2] == 20, "QXDG 202 simple tab %r" % (items[22],))
    popup = items[26][1][-1]
    expect(popup == [(1, b"First"), (dg["DG_NO_ICON"], b"-"), (17, b"Third")], "QXDG 202 popup %r" % popup)
    expect(items[24][1][-3:] == [dg["DG_IS_SMALL"] | dg["DG_IS_PLAIN"], 5, 0], "QXDG 202 list %r" % (items[24],))
    expect(items[30][1][-4:] == [1, 2, 3, 4], "QXDG 202 list view %r" % (items[30],))

    expect(d[203] == ([1, 0, [0, 0, 200, 100], b"Page"], []), "QXDG 203 %r" % (d[203],))
    header, items = d[204]
    expect(header[3] == b"T" * 150 + b"\n" + b"U" * 102, "QXDG 204: title of %d bytes" % len(header[3]))
    expect(d[205] == ([16, 5, [65535, 0, 65535, 65535], b""], []), "QXDG 205 %r" % (d[205],))
