#!/usr/bin/env python3
"""Compiles the Windows resource script with the MinGW resource compiler and reads the result
back: the icon group with its three images, the version record with every string Explorer
shows, which must survive the trip from UTF-8 source to UTF-16 intact, and the manifest.

The compiled resources are a .res file, which pefile, that reads them out of the executable
(check_windows_exe.py), does not open; the few records of that format are read here.

Usage: check_windows_resource.py WINDRES PREPROCESSOR orvanta.rc
"""

import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_IMAGES = [(32, 1), (32, 4), (16, 4)]  # size, bits per pixel
VERSION = (1, 0, 0, 0)
STRINGS = {
    "CompanyName": "Η ομάδα του Orvanta",
    "FileDescription": "Υπολογισμός των ταχυτήτων download και upload μιας σύνδεσης στο Internet",
    "FileVersion": "1.00",
    "InternalName": "Orvanta",
    "LegalCopyright": "© 2026 Η ομάδα του Orvanta",
    "OriginalFilename": "Orvanta.exe",
    "ProductName": "Orvanta",
    "ProductVersion": "1.00",
}
TRANSLATION = (0x409, 1200)  # US English, Unicode

# Windows ignores a manifest element outside its exact namespace without a word, so the paths
# below name the namespace of every step rather than matching on local names.
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def xml_path(namespace, *tags):
    return "/".join("{%s}%s" % (namespace, tag) for tag in tags)


EXECUTION_LEVEL = xml_path(ASM_V3, "trustInfo", "security", "requestedPrivileges",
                           "requestedExecutionLevel")
SUPPORTED_OS = xml_path(COMPATIBILITY, "compatibility", "application", "supportedOS")
WINDOWS_SETTINGS = xml_path(ASM_V3, "application", "windowsSettings")
DPI_SETTINGS = [  # namespace, element, value
    ("http://schemas.microsoft.com/SMI/2005/WindowsSettings", "dpiAware", "true/pm"),
    ("http://schemas.microsoft.com/SMI/2016/WindowsSettings", "dpiAwareness", "PerMonitorV2"),
]


def align4(offset):
    return (offset + 3) & ~3


def read_utf16z(data, offset, end=None):
    """A NUL-terminated UTF-16 string and the offset just past its terminator."""
    stop = offset
    limit = len(data) if end is None else end
    while stop + 1 < limit and data[stop:stop + 2] != b"\0\0":
        stop += 2
    return data[offset:stop].decode("utf-16-le"), stop + 2


def read_name(data, offset):
    """A resource type or name: a number after 0xFFFF, or a string."""
    if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    return read_utf16z(data, offset)


def resources(data):
    """(type, name, bytes) of every entry of a .res file."""
    offset = 0
    while offset < len(data):
        data_size, header_size = struct.unpack_from("<II", data, offset)
        kind, after = read_name(data, offset + 8)
        name, _ = read_name(data, after)
        start = offset + header_size
        if kind != 0:  # the empty entry that opens every .res file
            yield kind, name, data[start:start + data_size]
        offset = align4(start + data_size)


def version_node(data, offset):
    """One node of the version record: (key, value bytes, is text, children)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key, after = read_utf16z(data, offset + 6, end)
    value_start = align4(after)
    value_bytes = value_length * 2 if is_text else value_length
    value = data[value_start:min(value_start + value_bytes, end)]
    children = []
    child = align4(value_start + value_bytes)
    while child < end:
        node = version_node(data, child)
        children.append(node)
        child = align4(child + struct.unpack_from("<H", data, child)[0])
    return key, value, is_text, children


def text_of(value):
    return value.decode("utf-16-le").split("\0")[0]


def check_icons(entries, errors):
    groups = [data for kind, _, data in entries if kind == RT_GROUP_ICON]
    images = [data for kind, _, data in entries if kind == RT_ICON]
    if len(groups) != 1:
        errors.append("%d icon groups, expected 1" % len(groups))
        return
    count = struct.unpack_from("<HHH", groups[0], 0)[2]
    found = []
    for index in range(count):
        width, _, _, _, _, bit_count, _, _ = struct.unpack_from(
            "<BBBBHHIH", groups[0], 6 + 14 * index)
        found.append((width, bit_count))
    if found != ICON_IMAGES or len(images) != len(ICON_IMAGES):
        errors.append("icon group holds %s in %d images, expected %s"
                      % (found, len(images), ICON_IMAGES))


def check_version(entries, errors):
    records = [data for kind, _, data in entries if kind == RT_VERSION]
    if len(records) != 1:
        errors.append("%d version records, expected 1" % len(records))
        return
    key, fixed, _, blocks = version_node(records[0], 0)
    if key != "VS_VERSION_INFO" or len(fixed) < 52:
        errors.append("the version record does not start with VS_VERSION_INFO and its fixed part")
        return
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIIIII", fixed)
    expected = ((VERSION[0] << 16) | VERSION[1], (VERSION[2] << 16) | VERSION[3])
    if signature != 0xFEEF04BD or (file_ms, file_ls) != expected or (
            product_ms, product_ls) != expected:
        errors.append("fixed file info: file %08x.%08x, product %08x.%08x, expected %08x.%08x"
                      % (file_ms, file_ls, product_ms, product_ls, *expected))
    tables = {block[0]: block[3] for block in blocks}
    string_tables = {table[0]: table[3] for table in tables.get("StringFileInfo", [])}
    strings = {name: text_of(value) for name, value, _, _ in string_tables.get("040904b0", [])}
    if strings != STRINGS:
        errors.append("string table 040904b0 holds %r, expected %r" % (strings, STRINGS))
    translations = [struct.unpack("<HH", value[:4])
                    for name, value, _, _ in tables.get("VarFileInfo", []) if name == "Translation"]
    if translations != [TRANSLATION]:
        errors.append("VarFileInfo Translation is %r, expected %r" % (translations, [TRANSLATION]))


def check_manifest(entries, errors):
    """The loader reads only manifest 1 of an .exe; without it Windows may ask for elevation,
    report an older version and scale the window as a blurry bitmap."""
    manifests = [(name, data) for kind, name, data in entries if kind == RT_MANIFEST]
    names = [name for name, _ in manifests]
    if names != [1]:
        errors.append("manifests %r, expected exactly one with id 1" % names)
        return
    try:
        root = ElementTree.fromstring(manifests[0][1])
    except ElementTree.ParseError as error:
        errors.append("the manifest is not well-formed XML: %s" % error)
        return
    if root.tag != xml_path(ASM_V1, "assembly"):
        errors.append("the manifest's root is %s, expected %s"
                      % (root.tag, xml_path(ASM_V1, "assembly")))
        return
    identity = xml_path(ASM_V1, "assemblyIdentity")
    identities = [node.get("version") for node in root.findall(identity)]
    if identities != [".".join(map(str, VERSION))]:
        errors.append("the manifest's assembly versions are %r, expected %s"
                      % (identities, ".".join(map(str, VERSION))))
    levels = [(node.get("level"), node.get("uiAccess")) for node in root.findall(EXECUTION_LEVEL)]
    if levels != [("asInvoker", "false")]:
        errors.append("requested execution levels %r, expected asInvoker without uiAccess"
                      % levels)
    if WINDOWS_10 not in [node.get("Id") for node in root.findall(SUPPORTED_OS)]:
        errors.append("the manifest does not declare Windows 10 and 11 %s" % WINDOWS_10)
    for namespace, tag, expected in DPI_SETTINGS:
        path = WINDOWS_SETTINGS + "/" + xml_path(namespace, tag)
        values = [(node.text or "").strip() for node in root.findall(path)]
        if values != [expected]:
            errors.append("%s is %r, expected [%r]" % (tag, values, expected))


def main():
    windres, preprocessor, script = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as scratch:
        compiled = Path(scratch) / "orvanta.res"
        # From the script's own folder, as the build runs it: windres passes the script's path
        # to the preprocessor through a shell that an apostrophe in it would break.
        subprocess.run([windres, "--preprocessor=" + preprocessor, "-O", "res",
                        Path(script).name, "-o", str(compiled)],
                       cwd=Path(script).parent, check=True)
        entries = list(resources(compiled.read_bytes()))
    errors = []
    check_icons(entries, errors)
    check_version(entries, errors)
    check_manifest(entries, errors)
    for error in errors:
        print("%s: %s" % (script, error), file=sys.stderr)
    if not errors:
        print("%s: icon group, version record and manifest as expected" % script)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
