#!/usr/bin/env python3
"""Folder-level include graph of the product's sources.

  python3 tools/include-graph.py [--edges]

Prints the folders, the include dependencies between them, the folder cycles,
the layers (longest include chain below each folder) and the includes that run
upward against the intended stack: demo -> automation -> control -> video,
message, about -> win. Tests, benchmarks, fuzzing and tools are hosts on top
and are not counted.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HOSTS = {"tests", "bench", "fuzz", "tools", "build", "package", "scripts", "cmake", ".git"}
STACK = {"win": 0, "video": 1, "message": 1, "about": 1, "control": 2, "automation": 3, "demo": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def sources():
    for folder in sorted(os.listdir(ROOT)):
        path = os.path.join(ROOT, folder)
        if folder in HOSTS or not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            if name.endswith((".h", ".cpp", ".c", ".rc", ".idl")):
                yield folder, os.path.join(path, name)


def resolve(including, target):
    for base in (os.path.dirname(including), ROOT):
        full = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(full):
            rel = os.path.relpath(full, ROOT)
            return rel.split(os.sep)[0] if os.sep in rel else None
    return None


def main():
    edges = {}
    folders = set()
    for folder, path in sources():
        folders.add(folder)
        with open(path, encoding="utf-8", errors="replace") as f:
            for target in INCLUDE.findall(f.read()):
                to = resolve(path, target)
                if to and to != folder and to not in HOSTS:
                    edges.setdefault((folder, to), []).append(f"{os.path.relpath(path, ROOT)} -> {target}")
    deps = {f: {b for (a, b) in edges if a == f} for f in folders}

    def reaches(a, b, seen=None):
        seen = seen or set()
        for n in deps[a]:
            if n == b or (n not in seen and (seen.add(n) or reaches(n, b, seen))):
                return True
        return False

    cycles = sorted({tuple(sorted((a, b))) for (a, b) in edges if reaches(b, a)})
    depth = {}

    def layer(f, stack=()):
        if f in depth:
            return depth[f]
        below = [layer(n, stack + (f,)) for n in deps[f] if n not in stack]
        depth[f] = 1 + max(below, default=0)
        return depth[f]

    for f in folders:
        layer(f)
    upward = [(a, b, w) for (a, b), ws in sorted(edges.items()) for w in ws
              if a in STACK and b in STACK and STACK[b] >= STACK[a]]
    print(f"folders: {len(folders)} ({', '.join(sorted(folders))})")
    print(f"layers: {max(depth.values(), default=0)}")
    print(f"folder dependencies: {len(edges)}")
    print(f"cycles: {len(cycles)} {' '.join(a + '<->' + b for a, b in cycles)}")
    print(f"includes running upward: {len(upward)}")
    for a, b, w in upward:
        print(f"  {w}")
    if "--edges" in sys.argv:
        for (a, b), ws in sorted(edges.items()):
            print(f"{a} -> {b}: {len(ws)}")


main()
