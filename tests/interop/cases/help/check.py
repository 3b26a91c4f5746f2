"""'DLGH' (type DLGH): u32 size of the rest, the dialog anchor, u16 entry count, then per entry u16
item index, help text and anchor. 'DHLP' (type DHLP): u32 size, u16 entry count, then per entry
help text and anchor. Every text is zero-terminated."""

from reslib import Reader, expect, expect_ids, find


def help_list(resource):
    r = Reader(resource.data, "DLGH %s" % resource.name)
    r.size_field()
    anchor = r.cstring()
    entries = [(r.u16(), r.cstring(), r.cstring()) for _ in range(r.u16())]
    r.end()
    return anchor, entries


def help_texts(resource):
    r = Reader(resource.data, "DHLP %s" % resource.name)
    r.size_field()
    entries = [(r.cstring(), r.cstring()) for _ in range(r.u16())]
    r.end()
    return entries


def check(resources):
    lists = {
        1000: (b"FindDialog", [(1, b"Unnumbered first entry", b"First"),
                               (3, b'Three, with a "quote" and a tab\t.', b"Three"),
                               (3, b"Still three", b"ThreeAgain"),
                               (5, b"Joined across lines", b"F")]),
        1001: (b"Odd", []),
    }
    texts = {
        2000: [],
        2001: [(b"How to search.", b"SearchHowTo"), (b"Escapes: A B", b"Escapes"), (b"", b"Empty")],
    }
    expect_ids(resources, [("DLGH", name) for name in lists] + [("DHLP", name) for name in texts])
    for name, wanted in lists.items():
        found = help_list(find(resources, "DLGH", name))
        expect(found == wanted, "DLGH %d: %r, expected %r" % (name, found, wanted))
    for name, wanted in texts.items():
        found = help_texts(find(resources, "DHLP", name))
        expect(found == wanted, "DHLP %d: %r, expected %r" % (name, found, wanted))
