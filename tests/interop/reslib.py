"""Reading 32-bit binary resource files (.res) and the layout helpers the case checkers share.

A .res file is a sequence of entries, each aligned to 4 bytes:
    DataSize (u32), HeaderSize (u32), TYPE, NAME, padding to 4,
    DataVersion (u32), MemoryFlags (u16), LanguageId (u16), Version (u32), Characteristics (u32),
    data (DataSize bytes), padding to 4.
TYPE and NAME are either 0xFFFF followed by a 16-bit ordinal, or a zero-terminated UTF-16LE string.
The file begins with one empty entry (all zero sizes and ordinals, header of 32 bytes).
"""

import os
import re
import struct

INCLUDE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "include")


class ResFormatError(Exception):
    pass


class Resource:
    def __init__(self, rtype, name, data, language, memory_flags):
        self.type = rtype  # text such as "STRS", or an ordinal number
        self.name = name  # text, or an ordinal number
        self.data = data
        self.language = language
        self.memory_flags = memory_flags

    def __repr__(self):
        return "Resource(%r, %r, %d bytes)" % (self.type, self.name, len(self.data))


def _u16(blob, pos):
    if pos + 2 > len(blob):
        raise ResFormatError("entry cut short at offset %d" % pos)
    return struct.unpack_from("<H", blob, pos)[0]


def _u32(blob, pos):
    if pos + 4 > len(blob):
        raise ResFormatError("entry cut short at offset %d" % pos)
    return struct.unpack_from("<I", blob, pos)[0]


def _name_or_ordinal(blob, pos):
    if _u16(blob, pos) == 0xFFFF:
        return _u16(blob, pos + 2), pos + 4
    chars = []
    while True:
        c = _u16(blob, pos)
        pos += 2
        if c == 0:
            return "".join(chars), pos
        chars.append(chr(c))


def _align4(pos):
    return (pos + 3) & ~3


def parse_res(blob):
    """All resources of a .res file, in file order (the leading empty entry excluded)."""
    resources = []
    pos = 0
    first = True
    while pos < len(blob):
        start = pos
        data_size = _u32(blob, pos)
        header_size = _u32(blob, pos + 4)
        rtype, pos = _name_or_ordinal(blob, pos + 8)
        name, pos = _name_or_ordinal(blob, pos)
        pos = _align4(pos)
        _u32(blob, pos)  # DataVersion
        memory_flags = _u16(blob, pos + 4)
        language = _u16(blob, pos + 6)
        pos += 16
        if pos - start != header_size:
            raise ResFormatError("entry at %d: header size %d, fields take %d" % (start, header_size, pos - start))
        if pos + data_size > len(blob):
            raise ResFormatError("entry at %d: %d data bytes run past the end of the file" % (start, data_size))
        data = blob[pos:pos + data_size]
        pos = _align4(pos + data_size)
        if first:
            if data_size != 0 or rtype != 0 or name != 0 or header_size != 32:
                raise ResFormatError("the file does not begin with the empty entry")
            first = False
            continue
        resources.append(Resource(rtype, name, data, language, memory_flags))
    if first:
        raise ResFormatError("empty file")
    return resources


def dg_constants():
    """The DG_ constants of the test header, as numbers."""
    values = {}
    with open(os.path.join(INCLUDE_DIR, "DGDefs.h"), encoding="ascii") as header:
        for line in header:
            m = re.match(r"\s*#define\s+(DG_\w+)\s+(\S+)", line)
            if m:
                values[m.group(1)] = int(m.group(2), 0)
    return values


# Layout helpers for the checkers: each raises AssertionError with a readable reason.

def fail(message):
    raise AssertionError(message)


def expect(condition, message):
    if not condition:
        fail(message)


def expect_ids(resources, ids):
    """The resources are exactly these (type, name) pairs (windres sorts them, so order is free)."""
    found = sorted(((r.type, r.name) for r in resources), key=repr)
    wanted = sorted(ids, key=repr)
    expect(found == wanted, "resources %r, expected %r" % (found, wanted))


def find(resources, rtype, name):
    for r in resources:
        if r.type == rtype and r.name == name:
            return r
    fail("no resource %r %r" % (rtype, name))


class Reader:
    """Walks the bytes of one resource; every read is checked against the end of the data."""

    def __init__(self, data, what):
        self.data = data
        self.pos = 0
        self.what = what

    def _take(self, count):
        expect(self.pos + count <= len(self.data),
               "%s: %d bytes wanted at offset %d, only %d there" % (self.what, count, self.pos, len(self.data)))
        part = self.data[self.pos:self.pos + count]
        self.pos += count
        return part

    def u8(self):
        return self._take(1)[0]

    def u16(self):
        return struct.unpack("<H", self._take(2))[0]

    def u32(self):
        return struct.unpack("<I", self._take(4))[0]

    def bytes(self, count):
        return self._take(count)

    def cstring(self):
        """Bytes up to a zero byte, which must be there; the zero byte is consumed."""
        end = self.data.find(b"\0", self.pos)
        expect(end >= 0, "%s: string at offset %d has no zero byte" % (self.what, self.pos))
        text = self.data[self.pos:end]
        self.pos = end + 1
        return text

    def size_field(self):
        """A 32-bit size that must equal the number of bytes after it."""
        size = self.u32()
        rest = len(self.data) - self.pos
        expect(size == rest, "%s: size field %d, but %d bytes follow it" % (self.what, size, rest))
        return size

    def at_end(self):
        return self.pos == len(self.data)

    def end(self):
        expect(self.at_end(), "%s: %d stray bytes at offset %d" % (self.what, len(self.data) - self.pos, self.pos))
