#!/usr/bin/env python3
"""Checks every #include of the source tree against the include rules table
of docs/architecture.md and prints each include that crosses a layer.

  include_rules.py SOURCE_DIR

A file belongs to the longest folder of the table that holds it. It may
include headers of its own folder, and of the folders its row names: a folder
written bare allows only that folder's contract header (when the table names
one), a folder written with /* allows any header inside it. A source file in
no folder of the table, or an include that names no file of the tree, is an
error too, so a new folder needs a row. Exit status 1 on any error.
"""

import os
import re
import sys

SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".h", ".hpp", ".inc")
TABLE_HEADING = "## Include rules"
INCLUDE = re.compile(r'^\s*#\s*include\s*(?:"([^"]+)"|<([^>]+)>)')
# Where a quoted include is searched after the including file's own folder.
SEARCH_ROOTS = ("include", "src", "tests")


def cells(line):
    return [cell.strip().strip("`").strip() for cell in line.strip().strip("|").split("|")]


def read_rules(root):
    """folder -> (allowed entries, contract header or None)."""
    rules = {}
    with open(os.path.join(root, "docs", "architecture.md"), encoding="utf-8") as doc:
        lines = doc.read().splitlines()
    start = lines.index(TABLE_HEADING)
    for line in lines[start + 1:]:
        if line.startswith("#"):
            break
        if not line.startswith("|") or set(line) <= set("|-: "):
            continue
        folder, allowed, contract = cells(line)[:3]
        if folder == "folder":
            continue
        entries = [entry.strip().strip("`") for entry in allowed.split(",") if entry.strip()]
        rules[folder] = (entries, contract if contract not in ("", "—", "-") else None)
    return rules


def folder_of(path, rules):
    """The longest folder of the table that holds `path`, or None."""
    best = None
    for folder in rules:
        if (path == folder or path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def source_files(root):
    for directory, subdirectories, files in os.walk(root):
        subdirectories[:] = sorted(d for d in subdirectories
                                   if not d.startswith((".", "build")) and d not in ("corpus", "data"))
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def resolve(root, including, name, quoted, extra_roots):
    """The tree path an include names, or None for a system header. Besides
    the usual roots, folders a row opens whole (written with /*) are searched."""
    bases = ([os.path.dirname(including)] if quoted else []) + list(SEARCH_ROOTS) + extra_roots
    for base in bases:
        candidate = os.path.normpath(os.path.join(base, name)).replace(os.sep, "/")
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def allows(entries, contract_of, target_folder, target):
    for entry in entries:
        if entry.endswith("/*"):
            prefix = entry[:-2]
            if target == prefix or target.startswith(prefix + "/"):
                return True
        elif entry == target_folder:
            contract = contract_of(target_folder)
            return contract is None or target == os.path.dirname(target_folder) + "/" + contract
    return False


def check(root):
    rules = read_rules(root)
    contract_of = lambda folder: rules[folder][1]
    errors = []
    for path in source_files(root):
        folder = folder_of(path, rules)
        if folder is None:
            errors.append(f"{path}: in no folder of the include rules table")
            continue
        entries = rules[folder][0]
        roots = [entry[:-2] for entry in entries if entry.endswith("/*")]
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                name = match.group(1) or match.group(2)
                target = resolve(root, path, name, match.group(1) is not None, roots)
                if target is None:
                    if match.group(1) is not None:
                        errors.append(f"{path}:{number}: \"{name}\" is no file of the tree")
                    continue
                target_folder = folder_of(target, rules)
                if target_folder == folder or allows(entries, contract_of, target_folder, target):
                    continue
                errors.append(f"{path}:{number}: {folder} may not include {target}")
    return errors


def main():
    errors = check(sys.argv[1] if len(sys.argv) > 1 else ".")
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
