#!/usr/bin/env python3
"""The folders of src/ stand on floors, listed in src/README.md as lines "floor N  a b c".
A file may include headers of its own floor or lower, and only window files (a ui/ folder)
may include window headers. Lists every include that breaks this and exits 1 when there is one."""
import pathlib
import re
import sys

top = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
src = top / "src"
floors = {}
for line in (src / "README.md").read_text(encoding="utf-8").splitlines():
    if m := re.match(r"^floor (\d+)\s+(.+)$", line.strip()):
        for folder in m.group(2).split():
            floors[folder] = int(m.group(1))
if not floors:
    sys.exit("src/README.md lists no floors")

include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
faults = []
for path in sorted(list(src.rglob("*.h")) + list(src.rglob("*.cpp"))):
    rel = path.relative_to(src)
    own = rel.parts[0]
    if own not in floors:
        faults.append(f"{rel}: the folder {own}/ stands on no floor of src/README.md")
        continue
    window = "ui" in rel.parts[:-1]
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        m = include.match(line)
        if not m or "/" not in m.group(1):
            continue
        target = pathlib.PurePosixPath(m.group(1))
        folder = target.parts[0]
        if folder not in floors:
            continue
        if floors[folder] > floors[own]:
            faults.append(f"{rel}:{number}: {own}/ (floor {floors[own]}) includes {target} "
                          f"(floor {floors[folder]})")
        if "ui" in target.parts[:-1] and not window and own != "app":
            faults.append(f"{rel}:{number}: a core file includes the window header {target}")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
