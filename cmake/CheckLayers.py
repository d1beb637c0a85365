#!/usr/bin/env python3
"""Checks every include of every library folder against the libraries that
folder declares (DEPS of tarvel_library), followed transitively.

The graph is written by the configure step (build/layers.tsv); the sources are
read on every run, so an include added since the last configure is seen too.

Usage: CheckLayers.py GRAPH SOURCE_ROOT
Prints one line per fault and exits 1 when there is any.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")
# Folders of the program whose files must all belong to a declared library.
PROGRAM_TOP_FOLDERS = ("platform", "skin", "link", "telemetry", "captions", "adjust", "records", "app", "tools")


class Library:
    def __init__(self, name, folder, test_only, deps):
        self.name = name
        self.folder = folder
        self.test_only = test_only
        self.deps = deps


def read_graph(path):
    """Lines of 'name<TAB>folder<TAB>production|test<TAB>dep dep ...'."""
    libraries = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 4 or fields[2] not in ("production", "test"):
                raise ValueError(f"{path}: malformed line: {line!r}")
            name, folder, kind, deps = fields
            libraries[name] = Library(name, folder, kind == "test", deps.split())
    return libraries


def graph_faults(libraries):
    faults = []
    for lib in libraries.values():
        for dep in lib.deps:
            if dep not in libraries:
                faults.append(f"{lib.folder}: declares {dep}, which is not a library of the project")
            elif libraries[dep].test_only and not lib.test_only:
                faults.append(f"{lib.folder}: declares the test-only library {dep}")
    # A cycle would make every folder on it see every other.
    state = {}

    def visit(name, path):
        if state.get(name) == "done" or name not in libraries:
            return
        if state.get(name) == "open":
            cycle = path[path.index(name):] + [name]
            faults.append("declared dependencies form a cycle: " + " -> ".join(cycle))
            return
        state[name] = "open"
        for dep in libraries[name].deps:
            visit(dep, path + [name])
        state[name] = "done"

    for name in sorted(libraries):
        visit(name, [])
    return faults


def closure(libraries, name):
    seen = set()
    stack = list(libraries[name].deps)
    while stack:
        dep = stack.pop()
        if dep in seen or dep not in libraries:
            continue
        seen.add(dep)
        stack.extend(libraries[dep].deps)
    return {libraries[d].folder for d in seen}


def owner(folders, path):
    """The deepest declared folder holding `path` (relative to the root)."""
    best = None
    for folder in folders:
        if (path == folder or path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def resolve(root, including_dir, bracket, name):
    """Where an include lands, relative to the root, or None for one outside
    the tree (a system or third-party header)."""
    candidates = []
    if bracket == '"':
        candidates.append(os.path.join(including_dir, name))
    candidates.append(os.path.join(root, name))
    for c in candidates:
        if os.path.isfile(c):
            return os.path.relpath(os.path.normpath(c), root)
    # A header that does not exist (yet) still names a place.
    first = name.split("/")[0]
    if "/" in name and os.path.isdir(os.path.join(root, first)) and first not in (".", ".."):
        return os.path.normpath(name)
    if name.startswith("."):
        return os.path.relpath(os.path.normpath(os.path.join(including_dir, name)), root)
    return None


def source_files(root, folder, nested):
    """Files of `folder` itself: its subfolders that are libraries of their own are left out."""
    for dirpath, dirnames, filenames in os.walk(os.path.join(root, folder)):
        rel = os.path.relpath(dirpath, root)
        dirnames[:] = sorted(d for d in dirnames if f"{rel}/{d}" not in nested)
        for f in sorted(filenames):
            if f.endswith(SOURCE_SUFFIXES):
                yield os.path.join(dirpath, f)


def include_faults(libraries, root):
    faults = []
    folders = {lib.folder for lib in libraries.values()}
    for lib in sorted(libraries.values(), key=lambda l: l.folder):
        allowed = closure(libraries, lib.name) | {lib.folder}
        for path in source_files(root, lib.folder, folders - {lib.folder}):
            rel_file = os.path.relpath(path, root)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    bracket, name = m.groups()
                    target = resolve(root, os.path.dirname(path), bracket, name)
                    if target is None:
                        continue
                    spelled = f'"{name}"' if bracket == '"' else f"<{name}>"
                    if target.startswith(".."):
                        faults.append(f"{rel_file}:{number}: includes {spelled}, outside the source tree")
                        continue
                    held_by = owner(folders, target)
                    if held_by is None:
                        faults.append(f"{rel_file}:{number}: includes {spelled} ({target}), "
                                      f"which is in no library folder")
                    elif held_by not in allowed:
                        faults.append(f"{rel_file}:{number}: includes {spelled} from {held_by}, "
                                      f"which {lib.folder} does not declare (DEPS of {lib.name})")
    return faults


def stray_files(libraries, root):
    """Program sources that no library holds escape the check: name them."""
    folders = {lib.folder for lib in libraries.values()}
    faults = []
    for top in PROGRAM_TOP_FOLDERS:
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, top)):
            dirnames.sort()
            for f in sorted(filenames):
                rel = os.path.relpath(os.path.join(dirpath, f), root)
                if f.endswith(SOURCE_SUFFIXES) and owner(folders, rel) is None:
                    faults.append(f"{rel}: in no library folder (its folder needs a CMakeLists.txt)")
    return faults


def main(argv):
    if len(argv) != 3:
        print("usage: CheckLayers.py GRAPH SOURCE_ROOT", file=sys.stderr)
        return 2
    graph, root = argv[1], os.path.abspath(argv[2])
    try:
        libraries = read_graph(graph)
    except (OSError, ValueError) as e:
        print(f"layers: {e}", file=sys.stderr)
        return 2
    faults = graph_faults(libraries) + include_faults(libraries, root) + stray_files(libraries, root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"layers: {len(faults)} fault(s)")
        return 1
    print(f"layers: {len(libraries)} libraries, every include within its declared dependencies")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
