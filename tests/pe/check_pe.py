#!/usr/bin/env python3
"""Checks a Windows deliverable: PE32 for Intel 386, GUI subsystem 4.0, exactly the DLLs
named (all of them shipped with Windows), no window-making import, and the version record.

Usage: check_pe.py EXE NAME DLL...
"""
import sys

import pefile

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "ole32.dll", "shell32.dll",
                "winspool.drv", "msvcrt.dll"}
WINDOW_MAKERS = (b"CreateWindow", b"DialogBox", b"CreateDialog", b"RegisterClass")


def main():
    path, name, dlls = sys.argv[1], sys.argv[2], sys.argv[3:]
    pe = pefile.PE(path)
    failures = []

    def expect(what, expected, actual):
        if expected != actual:
            failures.append(f"{what}: expected {expected!r}, got {actual!r}")

    expect("machine", 0x14C, pe.FILE_HEADER.Machine)
    expect("optional header magic (PE32)", 0x10B, pe.OPTIONAL_HEADER.Magic)
    expect("subsystem (Windows GUI)", 2, pe.OPTIONAL_HEADER.Subsystem)
    expect("subsystem version", (4, 0), (pe.OPTIONAL_HEADER.MajorSubsystemVersion,
                                         pe.OPTIONAL_HEADER.MinorSubsystemVersion))

    imports = {entry.dll.decode().lower(): entry for entry in pe.DIRECTORY_ENTRY_IMPORT}
    expect("imported DLLs", sorted(d.lower() for d in dlls), sorted(imports))
    foreign = set(imports) - WINDOWS_DLLS
    if foreign:
        failures.append(f"DLLs that do not ship with Windows: {sorted(foreign)}")
    for entry in imports.values():
        for function in entry.imports:
            if function.name and function.name.startswith(WINDOW_MAKERS):
                failures.append(f"imports {function.name.decode()}: the tools open no window")

    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    if fixed is None:
        failures.append("no version record")
    else:
        version = (1 << 16, 1)
        expect("file version", version, (fixed.FileVersionMS, fixed.FileVersionLS))
        expect("product version", version, (fixed.ProductVersionMS, fixed.ProductVersionLS))
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    expect("string blocks", ["040904b0"], sorted(strings))
    block = strings.get("040904b0", {})
    for key, value in (("FileVersion", "1, 0, 0, 1"), ("ProductVersion", "1, 0, 0, 1"),
                       ("InternalName", name), ("OriginalFilename", name + ".exe")):
        expect(key, value, block.get(key))

    for failure in failures:
        print(f"FAILED: {path}: {failure}")
    if not failures:
        print(f"ok: {path}: PE32 i386 GUI 4.0, {len(pe.__data__)} bytes, imports {', '.join(sorted(imports))}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
