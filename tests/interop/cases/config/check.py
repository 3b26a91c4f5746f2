"""'ACNF' (type ACNF): u32 size 72, three items as u16 and a zero u16 each, four u16 items, a u32
item, the tags date, offs and slen, a zero u32, and a text of 32 bytes padded with zero bytes.
'ACP0' (type ACP0): u32 size, the value strings zero-terminated. The list with ID 128 adds 900
TMPLNAM (u32 size 5, "ACP0" and a zero byte) and 900 TMPL (u32 size, per label a length byte,
the label bytes and CSTR)."""

import struct

from reslib import Reader, expect, expect_ids, find


def config(resource):
    r = Reader(resource.data, "ACNF %s" % resource.name)
    expect(r.size_field() == 72, "ACNF %s: size field is not 72" % resource.name)
    items = []
    for _ in range(3):
        items.append(r.u16())
        expect(r.u16() == 0, "ACNF %s: no zero word after item %d" % (resource.name, len(items)))
    items += [r.u16() for _ in range(4)]
    items.append(r.u32())
    tags = r.bytes(12)
    zero = r.u32()
    text = r.bytes(32)
    r.end()
    return items, tags, zero, text


CONFIGS = {
    128: ([0x0102, 0x0111, 0x0203, 0x0304, 0x0405, 6, 7, 0x12340200], b'Default "converter"\t'.ljust(32, b"\0")),
    129: ([1, 2, 3, 0xFFF1, 5, 6, 7, 8], b"abcdefghijklmnopqrstuvwxyz012345"),
    130: ([1, 2, 3, 4, 5, 6, 7, 8], b"\0" * 32),
}

VALUES = {129: [b"x"], 128: [b"x", b"Tab\t", b""]}
LABELS = [b"Name", b'Quote"', b""]


def values(resource):
    r = Reader(resource.data, "ACP0 %s" % resource.name)
    r.size_field()
    found = []
    while not r.at_end():
        found.append(r.cstring())
    return found


def check(resources):
    expect_ids(resources, [("ACNF", n) for n in CONFIGS] + [("ACP0", n) for n in VALUES]
               + [("TMPLNAM", 900), ("TMPL", 900)])
    for name, (items, text) in CONFIGS.items():
        wanted = (items, b"dateoffsslen", 0, text)
        found = config(find(resources, "ACNF", name))
        expect(found == wanted, "ACNF %d: %r, expected %r" % (name, found, wanted))
    for name, wanted in VALUES.items():
        found = values(find(resources, "ACP0", name))
        expect(found == wanted, "ACP0 %d: %r, expected %r" % (name, found, wanted))
    names = find(resources, "TMPLNAM", 900).data
    expect(names == struct.pack("<I", 5) + b"ACP0\0", "TMPLNAM 900: %r" % names)
    r = Reader(find(resources, "TMPL", 900).data, "TMPL 900")
    r.size_field()
    for label in LABELS:
        n = r.u8()
        found = r.bytes(n)
        expect(found == label and r.bytes(4) == b"CSTR", "TMPL 900: entry %r, expected %r" % (found, label))
    r.end()
