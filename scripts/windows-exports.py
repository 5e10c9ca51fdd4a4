#!/usr/bin/env python3
"""Lists the DLL's exports from the public header and writes its .def file.

clang parses include/kestra.h twice, as an MSVC compiler and as mingw of the
same processor see it, and reports each exported declaration's decorated name (what MSVC
hosts link against and look up) and its GNU name (the symbol the DLL's
objects define). Every declaration is exported under its decorated name; one
that is not overloaded also under its plain name.

  windows-exports.py i686|x86_64 INCLUDE_DIR DEF_FILE [LIST_FILE]

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
    "cstddef": "#include <stddef.h>\nnamespace std {\nusing ::size_t;\nusing ::ptrdiff_t;\n"
    "using nullptr_t = decltype(nullptr);\n}\n",
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
    parsed = subprocess.run(command, input='#include "kestra.h"\n', capture_output=True,
                            text=True)
    if parsed.returncode != 0:
        sys.exit(f"windows-exports: clang cannot parse the header:\n{parsed.stderr}")
    dump = parsed.stdout
    found = []
    for node in json.loads(dump).get("inner", []):
        if node.get("kind") != "FunctionDecl":
            continue
        if any(child.get("kind") == "DLLExportAttr" for child in node.get("inner", [])):
            found.append((node["name"], node["mangledName"]))
    return found


def declarations(processor, include_dir):
    with tempfile.TemporaryDirectory() as stubs:
        for name, text in STUB_HEADERS.items():
            Path(stubs, name).write_text(text)
        msvc = exported_declarations(include_dir, stubs, f"{processor}-pc-windows-msvc")
        gnu = exported_declarations(include_dir, stubs, f"{processor}-w64-windows-gnu")
    if not msvc or [n for n, _ in msvc] != [n for n, _ in gnu]:
        sys.exit("windows-exports: the two parses of the header disagree")
    counts = {}
    for name, _ in msvc:
        counts[name] = counts.get(name, 0) + 1
    # mingw's 32-bit symbols carry a leading underscore that .def files omit.
    underscore = 1 if processor == "i686" else 0
    return [(name, decorated, symbol[underscore:], counts[name] > 1)
            for (name, decorated), (_, symbol) in zip(msvc, gnu)]


def main():
    if len(sys.argv) not in (4, 5) or sys.argv[1] not in ("i686", "x86_64"):
        sys.exit(__doc__)
    processor, include_dir, def_file = sys.argv[1:4]
    found = declarations(processor, include_dir)
    lines = ["LIBRARY kestra.dll", "EXPORTS"]
    for name, decorated, symbol, overloaded in found:
        lines.append(f'  "{decorated}" = {symbol}')
        if not overloaded:
            lines.append(f"  {name} = {symbol}")
    Path(def_file).write_text("\n".join(lines) + "\n")
    if len(sys.argv) == 5:
        Path(sys.argv[4]).write_text("".join(
            f"{name}\t{decorated}\t{symbol}\t{'overloaded' if overloaded else 'single'}\n"
            for name, decorated, symbol, overloaded in found))


if __name__ == "__main__":
    main()
