"""'STR#', 'STRm', 'STRf' (types STRS, STRf) and 'STR ' (type STR_).

windres stores a type name in upper case (the loader compares them without case): STRf is STRF.
"""

from reslib import Reader, expect, expect_ids, find


def string_list(resource):
    """STRS/STRf: u32 size N, then N bytes of zero-terminated strings."""
    r = Reader(resource.data, "%s %s" % (resource.type, resource.name))
    r.size_field()
    strings = []
    while not r.at_end():
        strings.append(r.cstring())
    return strings


def single_string(resource):
    """STR_: u32 size S = n + 1, the length byte n, n bytes without terminator."""
    r = Reader(resource.data, "STR_ %s" % resource.name)
    r.size_field()
    n = r.u8()
    text = r.bytes(n)
    r.end()
    return text


LONGEST = bytes(ord("a") + i % 26 for i in range(255))

LISTS = {
    ("STRS", 128): [b"Ab", b"C"],
    ("STRS", 129): [b"Ab", b"C"],
    ("STRF", 130): [b'Quote " and tab\t, newline\n', b"octal A hex B C backslash \\ dot .",
                    b"joined by plusand by nothing and by backslash", b""],
    ("STRS", 131): [],
    ("STRS", 132): [b"0123456789abcde"],
    ("STRS", 133): [bytes([ord("A") + i]) * 13200 for i in range(5)],
}

SINGLES = {
    140: b"Hello",
    141: b"",
    142: b'Tab\there "quoted" \\ done\n',
    143: LONGEST,
}


def check(resources):
    expect_ids(resources, [("STRS", 128), ("STRS", 129), ("STRF", 130), ("STRS", 131), ("STRS", 132),
                           ("STRS", 133), ("STR_", 140), ("STR_", 141), ("STR_", 142), ("STR_", 143)])
    for (rtype, name), strings in LISTS.items():
        found = string_list(find(resources, rtype, name))
        expect(found == strings, "%s %d: strings %r, expected %r" % (rtype, name, found[:4], strings[:4]))
    expect(len(find(resources, "STRS", 132).data) == 4 + 16, "STRS 132 is not 16 bytes of strings")
    expect(len(find(resources, "STRS", 133).data) > 4 + 65535, "STRS 133 does not pass 65535 bytes")
    for name, text in SINGLES.items():
        found = single_string(find(resources, "STR_", name))
        expect(found == text, "STR_ %d: text %r, expected %r" % (name, found[:40], text[:40]))
