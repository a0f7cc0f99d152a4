#!/usr/bin/env python3
"""Checks that each shared fact of the program is written once in src/.

A home file holds the texts of one kind (shared messages and titles, the
site's paths, the settings keys of the conditions, the output fields' names);
no other file under src/ may write one of them again as a string literal, and
the home itself writes each once. Prints every repetition and exits 1 when
there is one."""
import pathlib
import re
import sys

src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")

# home file -> pattern whose first group is a text the home owns
HOMES = {
    "text/UserTexts.h": re.compile(r'constexpr std::string_view k\w+ =\s*"((?:[^"\\]|\\.)*)"'),
    "site/SitePaths.h": re.compile(r'constexpr std::string_view k\w+ =\s*"((?:[^"\\]|\\.)*)"'),
    "run/ConditionTable.cpp": re.compile(r'(?:DropDown|Check|Text|Digits)\("(\w+)"|\.key = "(\w+)"'),
    "pages/OutputSlotTable.cpp": re.compile(r'(?:Named|Labelled|Unlabelled)\(kSlot\w+, "([^"]*)"'),
}

# Folders a home's texts may still appear in for another reason: the page
# readers name the site's own captions (a row's "就業場所"), some of which are
# spelt like an output field.
ELSEWHERE_ALLOWED = {
    "pages/OutputSlotTable.cpp": ("pages",),
}

def literals(path):
    """The string literals of a C++ file, comments and character literals skipped."""
    text = path.read_text(encoding="utf-8")
    found = []
    i = 0
    while i < len(text):
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2)
            i = len(text) if i < 0 else i + 2
        elif text[i] == "R" and text.startswith('"', i + 1):
            open_end = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_end] + '"'
            close = text.find(delimiter, open_end)
            found.append(text[open_end + 1:close])
            i = close + len(delimiter)
        elif text[i] in "\"'":
            quote = text[i]
            j = i + 1
            while j < len(text) and text[j] != quote:
                j += 2 if text[j] == "\\" else 1
            if quote == '"':
                found.append(text[i + 1:j])
            i = j + 1
        else:
            i += 1
    return found


problems = []
files = [p for p in sorted(src.rglob("*")) if p.suffix in (".h", ".cpp")]
for home, pattern in HOMES.items():
    home_path = src / home
    owned = [m if isinstance(m, str) else "".join(m)
             for m in pattern.findall(home_path.read_text(encoding="utf-8"))]
    if not owned:
        problems.append(f"{home}: no texts found; the pattern no longer matches")
    for text in owned:
        if owned.count(text) > 1:
            problems.append(f"{home}: \"{text}\" is written more than once")
    owned = set(owned)
    for path in files:
        if path == home_path or path.relative_to(src).parts[0] in ELSEWHERE_ALLOWED.get(home, ()):
            continue
        for found in literals(path):
            if found in owned:
                problems.append(f"{path.relative_to(src)}: \"{found}\" belongs to {home}")

for problem in sorted(set(problems)):
    print(problem)
sys.exit(1 if problems else 0)
