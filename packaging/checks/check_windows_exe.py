#!/usr/bin/env python3
"""Reads the built Windows executable and checks what otherwise shows only on a user's machine:
that it starts as a windowed 64-bit program with ASLR and DEP, that it needs no DLL a plain
Windows 10 or 11 lacks (it is linked statically and shipped as one file), that it is a native
program of at most 256 KiB with no toolkit inside, and that the icon,
version record and manifest of the resource script reached it intact.

The headers, imports, resources and the version record are read with pefile; the icon group and
the manifest are checked as check_windows_resource checks a compiled resource script, and the
version record against the same expected values.

Usage: check_windows_exe.py Orvanta.exe
"""

import sys
from pathlib import Path

import pefile

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_windows_resource as resource_checks  # noqa: E402  (a sibling script, not a package)

MACHINE_AMD64 = 0x8664
PE32_PLUS = 0x20B
SUBSYSTEMS = {2: "WINDOWS_GUI", 3: "WINDOWS_CUI"}
WINDOWS_GUI = 2
RELOCS_STRIPPED, LARGE_ADDRESS_AWARE = 0x1, 0x20
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x20, 0x40, 0x100

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


def load(path):
    """The executable as pefile reads it, with the tables the checks need; ValueError for
    anything but a PE32+ image."""
    try:
        image = pefile.PE(str(path), fast_load=True)
    except pefile.PEFormatError as error:
        raise ValueError("not a Windows executable: %s" % error.value) from error
    if image.OPTIONAL_HEADER.Magic != PE32_PLUS:
        raise ValueError("optional header magic %#x, expected PE32+ (%#x)"
                         % (image.OPTIONAL_HEADER.Magic, PE32_PLUS))
    image.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY[name] for name in (
            "IMAGE_DIRECTORY_ENTRY_IMPORT", "IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT",
            "IMAGE_DIRECTORY_ENTRY_RESOURCE")])
    return image


def imported_dlls(image):
    """The DLLs the loader must find before the program runs, then those it loads on first
    call: a missing one of either kind stops the program on a machine without it."""
    tables = (getattr(image, "DIRECTORY_ENTRY_IMPORT", []),
              getattr(image, "DIRECTORY_ENTRY_DELAY_IMPORT", []))
    return [entry.dll.decode("ascii") for table in tables for entry in table]


def resource_key(entry):
    """A resource's type, name or language as check_windows_resource reads it from a .res file:
    its number, or its name."""
    return entry.id if entry.name is None else str(entry.name)


def resources(image):
    """(type, name, bytes) of every resource, as check_windows_resource reads them from a .res
    file, so that its checks apply to the executable unchanged."""
    if not hasattr(image, "DIRECTORY_ENTRY_RESOURCE"):
        return
    for kind in image.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                leaf = language.data.struct
                yield (resource_key(kind), resource_key(name),
                       image.get_data(leaf.OffsetToData, leaf.Size))


def version_record(image):
    """(file version, product version, {language: {name: text}}, [translation]) of the version
    record as pefile reads it; ValueError where there is not exactly one."""
    fixed = getattr(image, "VS_FIXEDFILEINFO", [])
    if len(fixed) != 1:
        raise ValueError("%d version records, expected 1" % len(fixed))
    fixed = fixed[0]
    if fixed.Signature != 0xFEEF04BD:
        raise ValueError("the version record's fixed part has signature %#x" % fixed.Signature)
    strings, translations = {}, []
    for block in image.FileInfo[0]:
        for table in getattr(block, "StringTable", []):
            strings[table.LangID.decode("ascii")] = {
                name.decode("utf-8"): text.decode("utf-8") for name, text in table.entries.items()}
        for var in getattr(block, "Var", []):
            # pefile gives the pair as text: "0x0409 0x04b0"
            translations += [tuple(int(word, 16) for word in pair.split())
                             for name, pair in var.entry.items() if name == b"Translation"]
    return ((fixed.FileVersionMS, fixed.FileVersionLS),
            (fixed.ProductVersionMS, fixed.ProductVersionLS), strings, translations)


def check_version(record, errors):
    """What Explorer's Details tab shows: the numbers, every string in US English with the
    Unicode code page, which must have come through from the UTF-8 source intact."""
    file_version, product_version, strings, translations = record
    version = resource_checks.VERSION
    expected = ((version[0] << 16) | version[1], (version[2] << 16) | version[3])
    if file_version != expected or product_version != expected:
        errors.append("fixed file info: file %08x.%08x, product %08x.%08x, expected %08x.%08x"
                      % (*file_version, *product_version, *expected))
    if strings != {"040904b0": resource_checks.STRINGS}:
        errors.append("string tables %r, expected 040904b0 with %r"
                      % (strings, resource_checks.STRINGS))
    if translations != [resource_checks.TRANSLATION]:
        errors.append("VarFileInfo Translation is %r, expected %r"
                      % (translations, [resource_checks.TRANSLATION]))


def check_header(image, errors):
    machine = image.FILE_HEADER.Machine
    characteristics = image.FILE_HEADER.Characteristics
    subsystem = image.OPTIONAL_HEADER.Subsystem
    dll_characteristics = image.OPTIONAL_HEADER.DllCharacteristics
    relocations = image.OPTIONAL_HEADER.DATA_DIRECTORY[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if machine != MACHINE_AMD64:
        errors.append("machine %#x, expected x86-64 (%#x)" % (machine, MACHINE_AMD64))
    if subsystem != WINDOWS_GUI:
        errors.append("subsystem %s, expected WINDOWS_GUI: a console window would open with it"
                      % SUBSYSTEMS.get(subsystem, subsystem))
    flags = {"DYNAMIC_BASE": DYNAMIC_BASE, "HIGH_ENTROPY_VA": HIGH_ENTROPY_VA,
             "NX_COMPAT": NX_COMPAT}
    missing = [name for name, bit in flags.items() if not dll_characteristics & bit]
    if missing:
        errors.append("DllCharacteristics %#x lacks %s"
                      % (dll_characteristics, ", ".join(missing)))
    if characteristics & RELOCS_STRIPPED or not relocations.Size:
        errors.append("no base relocations: Windows cannot move the image, so ASLR does nothing")
    if not characteristics & LARGE_ADDRESS_AWARE:
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
        image = load(path)
        dlls = imported_dlls(image)
        entries = list(resources(image))
        record = version_record(image)
    except (ValueError, pefile.PEFormatError, UnicodeDecodeError) as error:
        print("%s: %s" % (path, error), file=sys.stderr)
        return 1
    print("%s imports %s" % (path.name, ", ".join(dlls)))
    check_header(image, errors)
    check_imports(dlls, errors)
    check_native(data, errors)
    resource_checks.check_icons(entries, errors)
    check_version(record, errors)
    resource_checks.check_manifest(entries, errors)
    for error in errors:
        print("%s: %s" % (path, error), file=sys.stderr)
    if not errors:
        subsystem = SUBSYSTEMS[image.OPTIONAL_HEADER.Subsystem]
        print("%s: PE32+ x86-64, %s, ASLR and DEP, %d system DLLs, %d KiB; icon, version record"
              " and manifest as expected" % (path.name, subsystem, len(dlls), len(data) // 1024))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
