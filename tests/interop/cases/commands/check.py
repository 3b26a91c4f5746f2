"""'CMND' (type CMND): u32 size of the rest, the title in UTF-16 with a zero unit, u16 group count;
per group a u16 value, a u16 icon (0xFFFF for noIcon), a u16 command count, and per command its
text and its detail in UTF-16, each with a zero unit (a missing detail is the zero unit alone)."""

from reslib import Reader, expect, expect_ids, find


def utf16(r):
    units = []
    while True:
        unit = r.u16()
        if unit == 0:
            return bytes(b for u in units for b in u.to_bytes(2, "little")).decode("utf-16-le")
        units.append(unit)


def table(resource):
    r = Reader(resource.data, "CMND %s" % resource.name)
    r.size_field()
    title = utf16(r)
    groups = []
    for _ in range(r.u16()):
        value, icon, count = r.u16(), r.u16(), r.u16()
        groups.append((value, icon, [(utf16(r), utf16(r)) for _ in range(count)]))
    r.end()
    return title, groups


TABLES = {
    128: ("File */ commands", [
        (0x0101, 0xFFFF, [("Open", "Opens a document"), ("Close", ""), ("Café", "Grinning \U0001F600")]),
        (0x0202, 0x0303, []),
        (0x0101, 0xFFFF, [("Odd", "")]),
    ]),
    129: ("", []),
}


def check(resources):
    expect_ids(resources, [("CMND", n) for n in TABLES])
    for name, wanted in TABLES.items():
        found = table(find(resources, "CMND", name))
        expect(found == wanted, "CMND %d: %r, expected %r" % (name, found, wanted))
