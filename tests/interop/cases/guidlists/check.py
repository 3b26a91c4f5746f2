"""'LAY2' and 'MEPS' (types LAY2, MEPS): u32 size of the rest, u32 record count, then the records.
A record: u16 1 (MEPS) or 2 (LAY2), u16 2, u32 72 or 60, the GUID field (02 00 01 00, the GUID in
its binary form, a zero byte), u16 1, u32 name length in UTF-16 units, the name without
terminator, then LAY2: u16 value 1, u16 value 2, u32 0, u16 3, u16 1, u32 0, u32 1;
MEPS: u16 value 1, u16 0, u32 0, u16 1, u16 1, u32 0, u16 flags of values 2 to 4, u16 values 5 to 11."""

import uuid

from reslib import Reader, expect, expect_ids, find


def records(resource, head, tag, tail):
    r = Reader(resource.data, "%s %s" % (resource.type, resource.name))
    r.size_field()
    found = []
    for _ in range(r.u32()):
        expect((r.u16(), r.u16(), r.u32()) == (head, 2, tag), "%s %s: record head" % (resource.type, resource.name))
        expect(r.bytes(4) == b"\x02\x00\x01\x00", "%s %s: GUID field tag" % (resource.type, resource.name))
        guid = uuid.UUID(bytes_le=r.bytes(16))
        expect(r.u8() == 0 and r.u16() == 1, "%s %s: GUID field end" % (resource.type, resource.name))
        name = r.bytes(2 * r.u32()).decode("utf-16-le")
        found.append((str(guid).upper(), name, tail(r)))
    r.end()
    return found


def lay2_tail(r):
    values = (r.u16(), r.u16())
    expect((r.u32(), r.u16(), r.u16(), r.u32(), r.u32()) == (0, 3, 1, 0, 1), "LAY2: fixed fields")
    return values


def meps_tail(r):
    first = r.u16()
    expect((r.u16(), r.u32(), r.u16(), r.u16(), r.u32()) == (0, 0, 1, 1, 0), "MEPS: fixed fields")
    return (first, r.u16()) + tuple(r.u16() for _ in range(7))


G1 = "00112233-4455-6677-8899-AABBCCDDEEFF"
G2 = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"
G3 = "F0E1D2C3-B4A5-9687-7869-5A4B3C2D1E0F"

LAY2 = {
    128: [(G1, "AB", (1, 0xFF))],
    129: [(G2, "Standard", (65535, 0xFFFF)), (G3, "", (0, 0))],
}
MEPS = {
    128: [(G1, "X\U0001F600", (5, 6, 50, 60, 70, 80, 90, 100, 65535)),
          (G2, "Été", (0, 1, 1, 2, 3, 4, 5, 6, 7))],
}


def check(resources):
    expect_ids(resources, [("LAY2", n) for n in LAY2] + [("MEPS", n) for n in MEPS])
    for name, wanted in LAY2.items():
        found = records(find(resources, "LAY2", name), 2, 60, lay2_tail)
        expect(found == wanted, "LAY2 %d: %r, expected %r" % (name, found, wanted))
    for name, wanted in MEPS.items():
        found = records(find(resources, "MEPS", name), 1, 72, meps_tail)
        expect(found == wanted, "MEPS %d: %r, expected %r" % (name, found, wanted))
    size = len(find(resources, "LAY2", 128).data)
    expect(size == 4 + 63, "LAY2 128: %d bytes, expected the size field and 63" % size)
