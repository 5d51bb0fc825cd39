#!/usr/bin/env python3
"""Reads the built Windows executable and checks what otherwise shows only on a user's machine:
that it starts as a windowed 64-bit program with ASLR and DEP, that it needs no DLL a plain
Windows 10 or 11 lacks (it is linked statically and shipped as one file), that it is a native
program of at most 256 KiB with no toolkit inside, and that the icon,
version record and manifest of the resource script reached it intact.

Usage: check_windows_exe.py Orvanta.exe
"""

import struct
import sys
from collections import namedtuple
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_windows_resource as resource_checks  # noqa: E402  (a sibling script, not a package)

MACHINE_AMD64 = 0x8664
PE32_PLUS = 0x20B
SUBSYSTEMS = {2: "WINDOWS_GUI", 3: "WINDOWS_CUI"}
WINDOWS_GUI = 2
RELOCS_STRIPPED, LARGE_ADDRESS_AWARE = 0x1, 0x20
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x20, 0x40, 0x100
IMPORT, RESOURCE, BASE_RELOCATION, DELAY_IMPORT = 1, 2, 5, 13  # data directory indices

# Every x64 edition of Windows 10 and 11 carries these, the N editions included (which is why no
# media DLL is here). Anything else, a compiler runtime or Qt above all, would have to be shipped
# beside the program, which is meant to be a single file.
SYSTEM_DLLS = {
    "advapi32.dll", "authz.dll", "bcrypt.dll", "cfgmgr32.dll", "comctl32.dll", "comdlg32.dll",
    "crypt32.dll", "d2d1.dll", "d3d9.dll", "d3d11.dll", "d3d12.dll", "d3dcompiler_47.dll",
    "dcomp.dll", "dnsapi.dll", "dwmapi.dll", "dwrite.dll", "dxgi.dll", "gdi32.dll", "imm32.dll",
    "iphlpapi.dll", "kernel32.dll", "mpr.dll", "msvcrt.dll", "ncrypt.dll", "netapi32.dll",
    "ntdll.dll", "ole32.dll", "oleaut32.dll", "opengl32.dll", "rpcrt4.dll", "secur32.dll",
    "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "ucrtbase.dll", "user32.dll",
    "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "winspool.drv", "ws2_32.dll",
    "wtsapi32.dll",
}
API_SET_PREFIXES = ("api-ms-win-", "ext-ms-win-")  # resolved by the loader, never files

Image = namedtuple("Image", "data machine characteristics subsystem dll_characteristics "
                            "image_base directories sections")


def parse(data):
    """The header fields the checks need; ValueError for anything but a PE32+ image, whose
    optional header alone has the layout read here."""
    if data[:2] != b"MZ":
        raise ValueError("no MZ header: not a Windows executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, section_count, _, _, _, optional_size, characteristics = struct.unpack_from(
        "<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic != PE32_PLUS:
        raise ValueError("optional header magic %#x, expected PE32+ (%#x)" % (magic, PE32_PLUS))
    image_base = struct.unpack_from("<Q", data, optional + 24)[0]
    subsystem, dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
    directory_count = min(struct.unpack_from("<I", data, optional + 108)[0], 16)
    directories = [struct.unpack_from("<II", data, optional + 112 + 8 * index)
                   for index in range(directory_count)]
    directories += [(0, 0)] * (16 - directory_count)
    # virtual size, address, raw size, raw offset
    sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * index + 8)
                for index in range(section_count)]
    return Image(data, machine, characteristics, subsystem, dll_characteristics, image_base,
                 directories, sections)


def offset_of(image, rva):
    """Where in the file the loader would have mapped an address relative to the image base."""
    for virtual_size, address, raw_size, raw_offset in image.sections:
        if address <= rva < address + max(virtual_size, raw_size):
            return raw_offset + rva - address
    raise ValueError("address %#x lies in no section" % rva)


def c_string(image, rva):
    offset = offset_of(image, rva)
    return image.data[offset:image.data.index(b"\0", offset)].decode("ascii")


def descriptors(image, index, size):
    """The fixed-size descriptors of an import table, up to the all-zero one that closes it or
    the end of the table, whichever comes first."""
    rva, length = image.directories[index]
    if not rva:
        return
    start = offset_of(image, rva)
    for offset in range(start, start + length - size + 1, size):
        entry = image.data[offset:offset + size]
        if not any(entry):
            return
        yield entry


def imported_dlls(image):
    """The DLLs the loader must find before the program runs, then those it loads on first
    call: a missing one of either kind stops the program on a machine without it."""
    names = [c_string(image, struct.unpack_from("<I", entry, 12)[0])
             for entry in descriptors(image, IMPORT, 20)]
    for entry in descriptors(image, DELAY_IMPORT, 32):
        attributes, name = struct.unpack_from("<II", entry)
        if not attributes & 1:  # the oldest linkers wrote addresses, not offsets
            name -= image.image_base
        names.append(c_string(image, name))
    return names


def resource_directory(data, root, offset):
    """(id or name, file offset of what it points to) of each entry of one level of the
    resource tree; names are UTF-16 strings counted in characters, as in a .res file."""
    named, numbered = struct.unpack_from("<HH", data, offset + 12)
    for index in range(named + numbered):
        name, target = struct.unpack_from("<II", data, offset + 16 + 8 * index)
        if name & 0x80000000:
            start = root + (name & 0x7FFFFFFF)
            length = struct.unpack_from("<H", data, start)[0]
            name = data[start + 2:start + 2 + 2 * length].decode("utf-16-le")
        yield name, root + (target & 0x7FFFFFFF)


def resources(image):
    """(type, name, bytes) of every resource, as check_windows_resource reads them from a .res
    file, so that its checks apply to the executable unchanged."""
    rva = image.directories[RESOURCE][0]
    if not rva:
        return
    root = offset_of(image, rva)
    for kind, names in resource_directory(image.data, root, root):
        for name, languages in resource_directory(image.data, root, names):
            for _, leaf in resource_directory(image.data, root, languages):
                data_rva, size = struct.unpack_from("<II", image.data, leaf)
                start = offset_of(image, data_rva)
                yield kind, name, image.data[start:start + size]


def check_header(image, errors):
    if image.machine != MACHINE_AMD64:
        errors.append("machine %#x, expected x86-64 (%#x)" % (image.machine, MACHINE_AMD64))
    if image.subsystem != WINDOWS_GUI:
        errors.append("subsystem %s, expected WINDOWS_GUI: a console window would open with it"
                      % SUBSYSTEMS.get(image.subsystem, image.subsystem))
    flags = {"DYNAMIC_BASE": DYNAMIC_BASE, "HIGH_ENTROPY_VA": HIGH_ENTROPY_VA,
             "NX_COMPAT": NX_COMPAT}
    missing = [name for name, bit in flags.items() if not image.dll_characteristics & bit]
    if missing:
        errors.append("DllCharacteristics %#x lacks %s"
                      % (image.dll_characteristics, ", ".join(missing)))
    if image.characteristics & RELOCS_STRIPPED or not image.directories[BASE_RELOCATION][1]:
        errors.append("no base relocations: Windows cannot move the image, so ASLR does nothing")
    if not image.characteristics & LARGE_ADDRESS_AWARE:
        errors.append("not LARGE_ADDRESS_AWARE, which HIGH_ENTROPY_VA needs to take effect")


def check_imports(dlls, errors):
    foreign = [name for name in dlls
               if name.lower() not in SYSTEM_DLLS and not name.lower().startswith(API_SET_PREFIXES)]
    if foreign:
        errors.append("imports %s, which no plain Windows has: link statically"
                      % ", ".join(foreign))


# A native Windows program of Windows' own controls: a toolkit linked in would show as its size
# and as the names of its classes.
LARGEST = 256 * 1024
TOOLKIT_MARKS = (b"QWidget", b"QApplication", b"qt_plugin", b"Q\x00W\x00i\x00d\x00g\x00e\x00t")


def check_native(data, errors):
    if len(data) > LARGEST:
        errors.append("is %d bytes, more than the %d of a native program" % (len(data), LARGEST))
    marks = [mark.decode("latin-1") for mark in TOOLKIT_MARKS if mark in data]
    if marks:
        errors.append("carries a toolkit: %s" % ", ".join(marks))


def main():
    path = Path(sys.argv[1])
    data = path.read_bytes()
    errors = []
    try:
        image = parse(data)
        dlls = imported_dlls(image)
        entries = list(resources(image))
    except (ValueError, struct.error, UnicodeDecodeError) as error:
        print("%s: %s" % (path, error), file=sys.stderr)
        return 1
    print("%s imports %s" % (path.name, ", ".join(dlls)))
    check_header(image, errors)
    check_imports(dlls, errors)
    check_native(data, errors)
    resource_checks.check_icons(entries, errors)
    resource_checks.check_version(entries, errors)
    resource_checks.check_manifest(entries, errors)
    for error in errors:
        print("%s: %s" % (path, error), file=sys.stderr)
    if not errors:
        print("%s: PE32+ x86-64, %s, ASLR and DEP, %d system DLLs, %d KiB; icon, version record"
              " and manifest as expected" % (path.name, SUBSYSTEMS[image.subsystem], len(dlls),
                                             len(data) // 1024))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
