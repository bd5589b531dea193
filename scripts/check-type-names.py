#!/usr/bin/env python3
"""Two classes of one name in one namespace, declared in two headers, break the
one-definition rule silently: the linker keeps one layout and the other file's code
corrupts memory. Lists every such name under src/ and exits 1 when there is one."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".") / "src"
namespace = re.compile(r"^namespace ([\w:]+) \{")
definition = re.compile(r"^(?:struct|class) (\w+)(?: final)?\s*(?::(?!:)[^{;]*)?\{")
seen = {}
for header in sorted(root.rglob("*.h")):
    scopes = []  # the namespaces open at this line, outermost first
    for number, line in enumerate(header.read_text(encoding="utf-8").splitlines(), 1):
        if m := namespace.match(line):
            scopes.append(m.group(1))
        elif re.match(r"^\}\s*(//.*)?$", line) and scopes:
            scopes.pop()
        elif m := definition.match(line):
            name = "::".join(scopes + [m.group(1)])
            seen.setdefault(name, []).append(f"{header.relative_to(root.parent)}:{number}")
clashes = {name: places for name, places in seen.items() if len(places) > 1}
for name, places in sorted(clashes.items()):
    print(f"{name}: " + ", ".join(places))
sys.exit(1 if clashes else 0)
