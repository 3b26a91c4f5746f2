"""'MDID' (type MDID): u32 size 8, then two 32-bit values."""

from reslib import Reader, expect, expect_ids, find

PAIRS = {300: (0x12345678, 7), 301: (0x10, 0xFFFFFFFE)}


def check(resources):
    expect_ids(resources, [("MDID", 300), ("MDID", 301)])
    for name, values in PAIRS.items():
        r = Reader(find(resources, "MDID", name).data, "MDID %d" % name)
        expect(r.size_field() == 8, "MDID %d: size field is not 8" % name)
        found = (r.u32(), r.u32())
        r.end()
        expect(found == values, "MDID %d: values %r, expected %r" % (name, found, values))
