"""'QALR' (type QALR): u32 size of the rest, u16 kind, the title and five texts, each zero-terminated."""

from reslib import Reader, dg_constants, expect, expect_ids, find


def alert(resource):
    r = Reader(resource.data, "QALR %s" % resource.name)
    r.size_field()
    kind = r.u16()
    texts = [r.cstring() for _ in range(6)]
    r.end()
    return kind, texts


def check(resources):
    dg = dg_constants()
    expected = {
        1000: (dg["DG_INFORMATION"], [b"Title", b"Something happened", b'Details with a "quote" and a tab\t.',
                                      b"OK", b"Cancel", b""]),
        1001: (dg["DG_WARNING"], [b"", b"Odd", b"ab", b"cd", b"", b"Last"]),
        1002: (dg["DG_WARNING"], [b"T", b"1", b"22", b"333", b"4444", b"55555"]),
        1003: (dg["DG_ERROR"], [b"", b"ABC", b"", b"", b"", b""]),
        1004: (0x42, [b"Other", b"ab", b"c", b"d", b"e", b"f"]),
    }
    expect_ids(resources, [("QALR", name) for name in expected])
    for name, (kind, texts) in expected.items():
        found = alert(find(resources, "QALR", name))
        expect(found == (kind, texts), "QALR %d: %r, expected %r" % (name, found, (kind, texts)))
