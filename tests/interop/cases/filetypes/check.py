"""'FTYP' (type FTYP): u32 size of the rest, the name, the description and a second text, each
zero-terminated, two four-character codes (u32, first character most significant), a u16 value.
'FTGP' (type FTGP): u32 size of the rest, two zero-terminated texts, u16 count and the child
group IDs (u16 each), u16 count and the file type IDs (u16 each)."""

from reslib import Reader, expect, expect_ids, find


def code(text):
    return int.from_bytes(text, "big")


def file_type(resource):
    r = Reader(resource.data, "FTYP %s" % resource.name)
    r.size_field()
    found = ([r.cstring() for _ in range(3)], r.u32(), r.u32(), r.u16())
    r.end()
    return found


def group(resource):
    r = Reader(resource.data, "FTGP %s" % resource.name)
    r.size_field()
    texts = [r.cstring(), r.cstring()]
    children = [r.u16() for _ in range(r.u16())]
    types = [r.u16() for _ in range(r.u16())]
    r.end()
    return texts, children, types


TYPES = {
    200: ([b"Text document", b"Plain text", b"txt"], code(b"TEXT"), code(b"ttxt"), 0),
    201: ([b"Pic", b"Portable network graphics", b"png"], code(b"PNGf"), code(b"8BIM"), 7),
}

GROUPS = {
    300: ([b"Documents", b"All documents"], [301, 302], [200]),
    301: ([b"Images", b"Image files"], [], [201]),
    302: ([b"Other", b'Quote " and tab \t'], [], []),
}


def check(resources):
    expect_ids(resources, [("FTYP", n) for n in TYPES] + [("FTGP", n) for n in GROUPS])
    for name, wanted in TYPES.items():
        found = file_type(find(resources, "FTYP", name))
        expect(found == wanted, "FTYP %d: %r, expected %r" % (name, found, wanted))
    for name, wanted in GROUPS.items():
        found = group(find(resources, "FTGP", name))
        expect(found == wanted, "FTGP %d: %r, expected %r" % (name, found, wanted))
