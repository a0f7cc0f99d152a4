#!/usr/bin/env python3
"""Checks that no source folder under src/ includes from a folder above it.

The folders are layers, lowest first; a file may include from its own folder
and from the folders below it. Prints every include that runs upward and
exits 1 when there is one."""
import pathlib
import re
import sys

LAYERS = {
    "text": 0,
    "site": 1,
    "pages": 2,
    "reference": 3,
    "run": 4,
    "controls": 5,
    "shell": 5,
    "app": 6,
    "cli": 6,
}

src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
include = re.compile(r'^\s*#\s*include\s+"([a-z]+)/')
upward = []
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp", ".inc"):
        continue
    folder = path.relative_to(src).parts[0]
    if folder not in LAYERS:
        upward.append(f"{path}: folder {folder} has no layer")
        continue
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = include.match(line)
        if not match:
            continue
        target = match.group(1)
        if target != folder and LAYERS.get(target, 99) >= LAYERS[folder]:
            upward.append(f"{path}:{number}: {folder} includes from {target}")
print("\n".join(upward) if upward else f"layers: no include runs upward in {src}")
sys.exit(1 if upward else 0)
