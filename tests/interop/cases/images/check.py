"""'QICN' and 'QCSR': the ICON and CURSOR lines of the script with the .ico and .cur files tessel wrote.

windres stores an icon file as one RT_GROUP_ICON resource (type 14) named as in the script, whose
directory entries point to RT_ICON resources (type 3) holding the images; a cursor file as an
RT_GROUP_CURSOR (type 12) and RT_CURSOR resources (type 1), each a 4-byte hotspot and the bitmap.

GNU windres refuses the '&' in the resource names "I<id>&<dpi>" of the ICON lines, which the
Windows resource compiler accepts. The copy of the default script handed to windres has each name
quoted behind a #line directive of its own (windres would join a quoted name to the quoted file
name that ends the line before); the --windres script compiles as it is. Both store the names whole.
"""

import os
import re
import struct

from reslib import Reader, expect, expect_ids, find

RT_CURSOR, RT_ICON, RT_GROUP_CURSOR, RT_GROUP_ICON = 1, 3, 12, 14
IMAGES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")


def prepare_script(text):
    lines = text.split("\r\n")
    out = []
    for number, line in enumerate(lines, 1):
        m = re.match(r"(I[^\t&]*&\d+)(\tICON .*)$", line)
        if m:
            out.append("#line %d" % number)
            line = '"%s"%s' % m.groups()
        out.append(line)
    return "\r\n".join(out)


def png_size(data):
    expect(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG image")
    return struct.unpack(">II", data[16:24])


def group(resources, rtype, name, kind):
    """The entries of a group resource: (width, height, image id) each."""
    r = Reader(find(resources, rtype, name).data, "group %r" % name)
    expect((r.u16(), r.u16()) == (0, kind), "group %r: wrong header" % name)
    entries = []
    for _ in range(r.u16()):
        if kind == 1:
            width, height = r.u8(), r.u8()
            r.bytes(6)
        else:
            width, height = r.u16(), r.u16()
            r.bytes(4)
        r.u32()  # bytes in the image
        entries.append((width, height, r.u16()))
    expect(r.at_end(), "group %r: bytes left over" % name)
    return entries


def check(resources):
    icons = {"I200&96": "appicon.png", "I200&144": "appicon@2x.png", "I200&192": "appicon@2x.png",
             "I201&96": (16, 16), "I201&144": (24, 24), "I201&192": (32, 32)}
    groups = [(RT_GROUP_ICON, name) for name in icons] + [(RT_GROUP_CURSOR, 300)]
    ids = [(t, n) for (t, n) in ((r.type, r.name) for r in resources) if t in (RT_ICON, RT_CURSOR)]
    expect_ids(resources, groups + ids)
    expect(len(ids) == 8, "%d images, expected 6 icons and 2 cursor images" % len(ids))

    for name, source in icons.items():
        entries = group(resources, RT_GROUP_ICON, name, 1)
        expect(len(entries) == 1, "%s: %d images" % (name, len(entries)))
        data = find(resources, RT_ICON, entries[0][2]).data
        if isinstance(source, str):
            with open(os.path.join(IMAGES, source), "rb") as f:
                expect(data == f.read(), "%s: the image is not %s unchanged" % (name, source))
        else:
            expect(png_size(data) == source, "%s: rendered %r, expected %r" % (name, png_size(data), source))

    cursors = group(resources, RT_GROUP_CURSOR, 300, 2)
    expect([(w, h) for w, h, _ in cursors] == [(32, 64), (64, 128)], "cursor sizes %r" % cursors)
    for (width, _, image), hotspot in zip(cursors, [(2, 2), (4, 4)]):
        r = Reader(find(resources, RT_CURSOR, image).data, "cursor image %d" % image)
        expect((r.u16(), r.u16()) == hotspot, "cursor image %d: hotspot is not %r" % (image, hotspot))
        expect((r.u32(), r.u32(), r.u32()) == (40, width, 2 * width), "cursor image %d: bitmap header" % image)
