#!/usr/bin/env python3
"""Checks that a shared library's dynamic symbols are exactly its public interface.

Three rules, each of which fails the check:
  1. The library's own functions and data (in namespace kivdb) are exactly the list checked in:
     a new one is a leak or an unreviewed addition, a missing one a public symbol lost. Vtables
     and type information are not listed (an optimised build leaves out some an unoptimised one
     keeps), but rules 2 and 3 hold for them too.
  2. Each of them belongs to a name the public headers declare for export (KIVDB_EXPORT), and
     each name declared for export has at least one symbol.
  3. What the C++ standard library instantiates for the library (std:: templates keep default
     visibility) names public types only, never an internal type or a hidden Impl.

  check_exported_symbols.py --nm nm --library libKivDB_D.so --list exported_symbols.txt
                            --headers DIR [DIR...] [--write]
--write rewrites the list from the library (after a deliberate change of the interface).
"""

import argparse
import re
import subprocess
import sys
from pathlib import Path

# Symbols every shared object has, and those the sanitizers add to an instrumented build.
LINKER_SYMBOLS = {"__bss_start", "_edata", "_end", "_init", "_fini"}
TOOL_PREFIXES = ("__asan", "__odr_asan", "__ubsan", "__sancov", "__llvm", "__sanitizer")
# What the compiler says before a symbol that is data about a type rather than code.
SPECIAL_PREFIXES = ("typeinfo name for ", "typeinfo for ", "vtable for ", "VTT for ",
                    "construction vtable for ", "guard variable for ", "non-virtual thunk to ",
                    "virtual thunk to ")


def read_symbols(nm, library):
    out = subprocess.run([nm, "-D", "--defined-only", "-C", library], check=True,
                         capture_output=True, text=True).stdout
    symbols = set()
    for line in out.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3:
            symbols.add(parts[2])
    return symbols


def strip_comments(source):
    """The declarations of a header: without comments and preprocessor lines."""
    source = re.sub(r"/\*.*?\*/", " ", source, flags=re.S)
    source = re.sub(r"//[^\n]*", " ", source)
    return re.sub(r"^\s*#[^\n]*", " ", source, flags=re.M)


def read_declarations(folders):
    """Classes and functions declared for export, every type the headers declare, and the hidden
    member types."""
    classes, functions, types, hidden = set(), set(), set(), set()
    for folder in folders:
        for header in sorted(Path(folder).glob("*.h")):
            source = strip_comments(header.read_text())
            for m in re.finditer(r"\b(?:class|struct)\s+KIVDB_EXPORT\s+(\w+)", source):
                classes.add(m.group(1))
            # KIVDB_EXPORT before a function: the name just before its parameter list.
            for m in re.finditer(r"\bKIVDB_EXPORT\s+(?!class\b|struct\b)([^;{(]*?)\b(\w+)\s*\(",
                                 source):
                functions.add(m.group(2))
            for m in re.finditer(r"\b(?:class|struct|enum\s+class|enum|namespace)\s+(?:KIVDB_\w+\s+)?(\w+)",
                                 source):
                types.add(m.group(1))
            for m in re.finditer(r"\b(?:class|struct)\s+KIVDB_NO_EXPORT\s+(\w+)", source):
                hidden.add(m.group(1))
    return classes, functions, types - hidden, hidden


def is_type_data(symbol):
    return symbol.startswith(SPECIAL_PREFIXES[:5])


def own_name(symbol):
    """The kivdb name a symbol of the library's own is about, or None for any other symbol."""
    name = symbol
    for prefix in SPECIAL_PREFIXES:
        if name.startswith(prefix):
            name = name[len(prefix):]
            break
    return name if name.startswith("kivdb::") else None


def top_level(name):
    m = re.match(r"kivdb::(\w+)", name)
    return m.group(1) if m else None


def kivdb_paths(symbol):
    return re.findall(r"kivdb::(\w+(?:::\w+)*)", symbol)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--headers", nargs="+", required=True)
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()

    symbols = {s for s in read_symbols(args.nm, args.library)
               if s not in LINKER_SYMBOLS and not s.startswith(TOOL_PREFIXES)}
    own = sorted(s for s in symbols if own_name(s))
    listable = sorted(s for s in own if not is_type_data(s))
    if args.write:
        Path(args.list).write_text("".join(s + "\n" for s in listable))
        print(f"wrote {len(listable)} symbols to {args.list}")
        return 0

    classes, functions, public_types, hidden = read_declarations(args.headers)
    exported = classes | functions
    faults = []
    listed = {line for line in Path(args.list).read_text().splitlines() if line.strip()}
    for s in sorted(set(listable) - listed):
        faults.append(f"exported but not in the list: {s}")
    for s in sorted(listed - set(listable)):
        faults.append(f"in the list but not exported: {s}")

    tops = set()
    for s in own:
        top = top_level(own_name(s))
        tops.add(top)
        if top not in exported:
            faults.append(f"exported, but {top} is not declared for export in the headers: {s}")
    # A class whose members are all inline has no symbols; a function declared for export must.
    for name in sorted(functions - tops):
        faults.append(f"declared for export in the headers, but no symbol: {name}")

    for s in sorted(symbols):
        if not own_name(s) and not re.match(r"^(?:[\w:<>, ]*\s)?(?:std|__gnu_cxx)::", s):
            faults.append(f"a symbol that is neither the library's own nor the C++ library's: {s}")
        for path in kivdb_paths(s):
            parts = path.split("::")
            if parts[0] not in exported and parts[0] not in public_types:
                faults.append(f"names the internal kivdb::{parts[0]}: {s[:200]}")
            elif any(part in hidden for part in parts[1:]):
                faults.append(f"names a hidden member type in kivdb::{path}: {s[:200]}")

    for fault in dict.fromkeys(faults):
        print(fault)
    if faults:
        print(f"{len(faults)} faults; after a deliberate change of the interface, rerun with "
              "--write and review the list's diff", file=sys.stderr)
        return 1
    print(f"{len(listable)} functions and data, {len(own) - len(listable)} vtables and type "
          "information, all of names the public headers declare")
    return 0


if __name__ == "__main__":
    sys.exit(main())
