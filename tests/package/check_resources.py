#!/usr/bin/env python3
"""Checks the resources of the sample Windows program built from tests/package/project.

Usage: check_resources.py <windres> <hello.exe> <object of the script>

Both files are read back by windres into .res form: every resource of the object (the compiled
script) must be in the executable with the same bytes, and the strings, the dialog and both
icon densities of resources/hello.klx must be there.
"""

import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "interop"))

from reslib import Reader, expect, find, parse_res  # noqa: E402

RT_ICON, RT_GROUP_ICON = 3, 14


def resources(windres, path, work):
    res = os.path.join(work, os.path.basename(path) + ".res")
    subprocess.run([windres, "-J", "coff", "-i", path, "-O", "res", "-o", res], check=True)
    with open(res, "rb") as f:
        return parse_res(f.read())


def icon_size(resources, group_name):
    r = Reader(find(resources, RT_GROUP_ICON, group_name).data, "group %r" % group_name)
    expect((r.u16(), r.u16(), r.u16()) == (0, 1, 1), "group %r: not one icon" % group_name)
    r.bytes(12)
    image = find(resources, RT_ICON, r.u16()).data
    expect(image[:8] == b"\x89PNG\r\n\x1a\n", "group %r: the image is not a PNG" % group_name)
    return struct.unpack(">II", image[16:24])


def main():
    windres, exe, obj = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as work:
        in_exe = resources(windres, exe, work)
        in_obj = resources(windres, obj, work)
    expect(in_obj, "the object holds no resources")
    linked = {(r.type, r.name): r.data for r in in_exe}
    for r in in_obj:
        expect(linked.get((r.type, r.name)) == r.data, "%r is missing or differs in the executable" % r)

    strings = find(in_exe, "STRS", 128).data
    expect(strings == struct.pack("<I", 26) + b"Hello from tessel\0Goodbye\0", "STRS 128: %r" % strings)
    dialog = find(in_exe, "QXDG", 1000).data
    for text in ("About Hello", "Hello, resource compiler!", "Cancel", "OK"):
        expect(text.encode("ascii") + b"\0" in dialog, "QXDG 1000 lacks %r" % text)
    expect(icon_size(in_exe, "I200&96") == (16, 16), "icon of 96 dpi is not 16 x 16")
    expect(icon_size(in_exe, "I200&192") == (32, 32), "icon of 192 dpi is not 32 x 32")
    print("resources in %s: %s" % (os.path.basename(exe), ", ".join("%s %s" % (r.type, r.name) for r in in_exe)))


if __name__ == "__main__":
    main()
