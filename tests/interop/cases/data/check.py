"""Embedded files: 'TEXT', 'FILE', 'DATA', 'JSON', 'JSSC' (u32 length, the bytes, a zero pad byte
after an odd length except for 'TEXT') and the 'FLDR' folder table (u32 526 N + 2, u16 N, per
entry 261 UTF-16 units of the folder name, u16 flag 0, u16 the 'FILE' resource's ID)."""

import os

from reslib import Reader, expect, expect_ids, find

HERE = os.path.dirname(os.path.abspath(__file__))


def content(name):
    with open(os.path.join(HERE, "files", name), "rb") as f:
        return f.read()


BLOCKS = [("TEXT", 400, "notes.txt", False), ("FILE", 401, "blob.bin", True), ("FILE", 402, "settings.json", True),
          ("DATA", 403, "blob.bin", True), ("JSON", 404, "settings.json", True), ("JSSC", 405, "script.jssc", True)]
FOLDERS = [("Documents", 401), ('Caf\u00e9 "*/" files', 402)]


def check(resources):
    expect_ids(resources, [(t, n) for t, n, _, _ in BLOCKS] + [("FLDR", 128)])
    for rtype, name, file, pads in BLOCKS:
        expected = content(file)
        r = Reader(find(resources, rtype, name).data, "%s %d" % (rtype, name))
        expect(r.u32() == len(expected), "%s %d: length field" % (rtype, name))
        expect(r.bytes(len(expected)) == expected, "%s %d: content" % (rtype, name))
        if pads and len(expected) % 2:
            expect(r.u8() == 0, "%s %d: pad byte" % (rtype, name))
        r.end()
    r = Reader(find(resources, "FLDR", 128).data, "FLDR 128")
    expect(r.u32() == 526 * len(FOLDERS) + 2, "FLDR: total size")
    expect(r.u16() == len(FOLDERS), "FLDR: entry count")
    for folder, file_id in FOLDERS:
        units = r.bytes(522).decode("utf-16-le")
        expect(units == folder + "\0" * (261 - len(folder)), "FLDR: folder name %r, got %r" % (folder, units.rstrip("\0")))
        expect(r.u16() == 0, "FLDR: flag")
        expect(r.u16() == file_id, "FLDR: ID of %r" % folder)
    r.end()
