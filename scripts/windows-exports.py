#!/usr/bin/env python3
"""Lists the DLL's exports from the public header and writes its .def file.

clang parses include/kestra.h twice, as a 32-bit MSVC compiler and as mingw
see it, and reports each exported declaration's decorated name (what MSVC
hosts link against and look up) and its GNU name (the symbol the DLL's
objects define). Every declaration is exported under its decorated name; one
that is not overloaded also under its plain name.

  windows-exports.py INCLUDE_DIR DEF_FILE [LIST_FILE]

LIST_FILE gets one line per declaration: plain name, decorated name, GNU
symbol and "overloaded" or "single", separated by tabs.
"""
import json
import subprocess
import sys
import tempfile
from pathlib import Path

# The header's Windows branch includes these; the declarations need only the
# types' names, which the library's own Win32 subset spells as Windows does.
STUB_HEADERS = {
    "windows.h": '#include "kestra_win32.h"\n',
    "ddraw.h": "",
    "cstdint": "#include <stddef.h>\n#include <stdint.h>\nnamespace std {\n"
    + "".join(f"using ::{t};\n" for t in (
        "size_t int8_t uint8_t int16_t uint16_t int32_t uint32_t int64_t uint64_t".split()))
    + "}\n",
}


def exported_declarations(include_dir, stubs, target):
    """(name, mangled name) of each dllexport function, in header order."""
    command = ["clang", f"--target={target}", "-std=c++20", "-ffreestanding", "-nostdinc++",
               "-fsyntax-only", "-DKESTRA_BUILDING_DLL", "-Xclang", "-ast-dump=json",
               f"-I{stubs}", f"-I{include_dir}", "-x", "c++", "-"]
    dump = subprocess.run(command, input='#include "kestra.h"\n', capture_output=True,
                          text=True, check=True).stdout
    found = []
    for node in json.loads(dump).get("inner", []):
        if node.get("kind") != "FunctionDecl":
            continue
        if any(child.get("kind") == "DLLExportAttr" for child in node.get("inner", [])):
            found.append((node["name"], node["mangledName"]))
    return found


def declarations(include_dir):
    with tempfile.TemporaryDirectory() as stubs:
        for name, text in STUB_HEADERS.items():
            Path(stubs, name).write_text(text)
        msvc = exported_declarations(include_dir, stubs, "i686-pc-windows-msvc")
        gnu = exported_declarations(include_dir, stubs, "i686-w64-windows-gnu")
    if not msvc or [n for n, _ in msvc] != [n for n, _ in gnu]:
        sys.exit("windows-exports: the two parses of the header disagree")
    counts = {}
    for name, _ in msvc:
        counts[name] = counts.get(name, 0) + 1
    # mingw's 32-bit symbols carry a leading underscore that .def files omit.
    return [(name, decorated, symbol[1:], counts[name] > 1)
            for (name, decorated), (_, symbol) in zip(msvc, gnu)]


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    include_dir, def_file = sys.argv[1], sys.argv[2]
    found = declarations(include_dir)
    lines = ["LIBRARY kestra.dll", "EXPORTS"]
    for name, decorated, symbol, overloaded in found:
        lines.append(f'  "{decorated}" = {symbol}')
        if not overloaded:
            lines.append(f"  {name} = {symbol}")
    Path(def_file).write_text("\n".join(lines) + "\n")
    if len(sys.argv) == 4:
        Path(sys.argv[3]).write_text("".join(
            f"{name}\t{decorated}\t{symbol}\t{'overloaded' if overloaded else 'single'}\n"
            for name, decorated, symbol, overloaded in found))


if __name__ == "__main__":
    main()
