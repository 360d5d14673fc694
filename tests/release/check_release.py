#!/usr/bin/env python3
"""Checks the release executable as Windows will see it: a 32-bit GUI program carrying its
manifest (administrator, common controls 6 for x86), icons 128..132 and dialogs 133 and 140.

check_release.py EXE; prints one line per check and exits non-zero on the first failure."""
import re
import struct
import subprocess
import sys

RT_ICON_GROUP, RT_DIALOG, RT_MANIFEST = 14, 5, 24


def pe_header(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[offset:offset + 4] == b"PE\0\0", "not a PE image"
    machine = struct.unpack_from("<H", data, offset + 4)[0]
    optional = offset + 24
    magic, = struct.unpack_from("<H", data, optional)
    subsystem, = struct.unpack_from("<H", data, optional + 68)
    return machine, magic, subsystem


def resource_ids(exe):
    """Type -> set of ids, from objdump's listing of the resource directory."""
    listing = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], check=True,
                             capture_output=True, text=True).stdout
    table = listing[listing.index("The .rsrc Resource Directory section"):]
    found, current = {}, None
    for line in table.splitlines():
        m = re.match(r"^[0-9a-f]{3}(\s+)Entry: ID: 0x([0-9a-f]+)", line)
        if not m:
            continue
        depth, ident = len(m.group(1)), int(m.group(2), 16)
        if depth == 3:  # type level
            current = ident
            found[current] = set()
        elif depth == 5 and current is not None:  # name level
            found[current].add(ident)
    return found


def main(exe):
    data = open(exe, "rb").read()
    machine, magic, subsystem = pe_header(data)
    checks = [
        ("32-bit x86 image", machine == 0x14C and magic == 0x10B),
        ("GUI subsystem", subsystem == 2),
    ]
    ids = resource_ids(exe)
    checks += [
        ("icons 128..132", set(range(128, 133)) <= ids.get(RT_ICON_GROUP, set())),
        ("dialog templates 133 and 140", {133, 140} <= ids.get(RT_DIALOG, set())),
        ("application manifest", 1 in ids.get(RT_MANIFEST, set())),
    ]
    text = data.decode("latin-1")
    checks += [
        ("requireAdministrator", 'level="requireAdministrator" uiAccess="false"' in text),
        ("common controls 6.0.0.0 for x86",
         re.search(r'name="Microsoft\.Windows\.Common-Controls" version="6\.0\.0\.0"\s+'
                   r'processorArchitecture="x86"', text) is not None),
    ]
    for name, ok in checks:
        print(f"release: {name}: {'ok' if ok else 'MISSING'}")
        if not ok:
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
