#!/usr/bin/python3
"""Checks the direction of the build: the windows and the window runtime's rules compile
without any toolkit's include path, and no window includes what only the runtime's
implementations see (their contract, the peers, an implementation's own headers).

    check_layering.py SOURCE_DIR BUILD_DIR"""
import json
import pathlib
import re
import shlex
import sys

source, build = (pathlib.Path(p).resolve() for p in sys.argv[1:3])
WINDOWS = ["ui/main", "ui/convert", "ui/info", "ui/sheet"]
RULES = ["ui/runtime"]  # its own files only, not the implementations' folders below it
TOOLKIT = re.compile(r"qt|QtWidgets|QtGui|QtCore", re.IGNORECASE)
FOR_IMPLEMENTATIONS = re.compile(
    r'#include\s+"runtime/(implementation\.h|peer_access\.h|qt/|win32/)')
failures = []


def layer(path):
    relative = path.resolve().relative_to(source).as_posix()
    folder = relative.rsplit("/", 1)[0]
    if folder in WINDOWS:
        return "window"
    if folder in RULES:
        return "runtime rules"
    return None


seen = 0
for entry in json.loads((build / "compile_commands.json").read_text()):
    path = pathlib.Path(entry["directory"], entry["file"])
    if not path.resolve().is_relative_to(source) or layer(path) is None:
        continue
    seen += 1
    words = shlex.split(entry["command"]) if "command" in entry else entry["arguments"]
    for i, word in enumerate(words):
        include = None
        for flag in ("-isystem", "-I"):
            if word == flag and i + 1 < len(words):
                include = words[i + 1]
            elif word.startswith(flag) and word != flag:
                include = word[len(flag):]
            if include is not None:
                break
        if include and TOOLKIT.search(include.replace(str(source), "")):
            failures.append(f"{path.relative_to(source)} ({layer(path)}) compiles with {include}")

for folder in WINDOWS:
    for path in sorted((source / folder).glob("*.[ch]*")):
        for number, line in enumerate(path.read_text().splitlines(), 1):
            if FOR_IMPLEMENTATIONS.search(line):
                failures.append(f"{path.relative_to(source)}:{number}: {line.strip()}")

if seen == 0:
    failures.append("no compile command of a window or of the runtime's rules was found")
for failure in failures:
    print("FAIL:", failure)
print(f"{seen} compile commands of the windows and the runtime's rules read")
sys.exit(1 if failures else 0)
