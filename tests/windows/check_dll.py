#!/usr/bin/env python3
"""Checks kestra.dll's export table against the header's declarations and
that it imports only Windows system DLLs.

  check_dll.py OBJDUMP DLL EXPORT_LIST
"""
import subprocess
import sys

# DLLs every Windows installation has; the static runtime needs no others.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
               "ole32.dll", "oleaut32.dll", "ddraw.dll"}

# Names an MSVC compiler gives declarations of the header, as hosts written
# for the DLL look them up, by the DLL's file format.
KNOWN_DECORATED = {
    "pei-i386": {"?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@PAPAUHBITMAP__@@KK@Z",
                 "?CreateTabGr@@YA?AUTAB_GR@@HHNZZ", "?KestraStatusText@@YAPBDH@Z"},
    "pei-x86-64": {"?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@PEAPEAUHBITMAP__@@KK@Z",
                   "?CreateTabGr@@YA?AUTAB_GR@@HHNZZ", "?KestraStatusText@@YAPEBDH@Z"},
}


def dll_tables(objdump, dll):
    """(file format, exported names, imported DLL names) as objdump -p lists them."""
    text = subprocess.run([objdump, "-p", dll], capture_output=True, text=True,
                          check=True).stdout
    exports, imports, in_names, file_format = set(), set(), False, ""
    for line in text.splitlines():
        if "file format" in line:
            file_format = line.rsplit(" ", 1)[1]
        if "[Ordinal/Name Pointer] Table" in line:
            in_names = True
            continue
        if in_names:
            if not line.strip().startswith("["):
                in_names = False
            else:
                exports.add(line.split("]", 1)[1].strip())
        if line.strip().startswith("DLL Name:"):
            imports.add(line.split(":", 1)[1].strip().lower())
    return file_format, exports, imports


def expected_exports(export_list):
    names = set()
    with open(export_list) as rows:
        for row in rows:
            plain, decorated, symbol, kind = row.rstrip("\n").split("\t")
            names.update({decorated, symbol})
            if kind == "single":
                names.add(plain)
    return names


def main():
    objdump, dll, export_list = sys.argv[1:4]
    file_format, exports, imports = dll_tables(objdump, dll)
    expected = expected_exports(export_list)
    failures = []
    for name in sorted(expected - exports):
        failures.append(f"not exported: {name}")
    for name in sorted(exports - expected):
        failures.append(f"exported but not declared in the header: {name}")
    if file_format not in KNOWN_DECORATED:
        failures.append(f"not a Windows x86 or x64 DLL: {file_format}")
    for name in sorted(KNOWN_DECORATED.get(file_format, set()) - exports):
        failures.append(f"decorated name missing: {name}")
    for name in sorted(imports - SYSTEM_DLLS):
        failures.append(f"imports a DLL that is not part of Windows: {name}")
    if not imports >= {"gdi32.dll", "user32.dll", "kernel32.dll"}:
        failures.append(f"GDI, USER and KERNEL are not all imported: {sorted(imports)}")
    for failure in failures:
        print(failure)
    print(f"{file_format}: {len(exports)} exports, imports {sorted(imports)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
