#!/usr/bin/env python3
"""Checks that the source tree's includes run one way.

Usage: check_layers.py ROOT LAYER...

Each LAYER is a folder below ROOT (for example "core/wizard"), listed from the
bottom up: a file may include files of its own layer and of the layers before it,
never of one after it. A file belongs to the longest layer that holds it; includes
of folders that are no layer (generated art, tests) are not judged. Across the
whole of the listed layers, no two source files (a header with its .cpp counts as
one) may include each other in a circle.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(path, layers):
    best = None
    for index, layer in enumerate(layers):
        if path == layer or path.startswith(layer + "/"):
            if best is None or len(layer) > len(layers[best]):
                best = index
    return best


def unit_of(path):
    return re.sub(r"\.(h|cpp)$", "", path)


def circles(graph):
    """The strongly connected parts of more than one unit (Tarjan, iteratively)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, edges = work[-1]
            advanced = False
            for succ in edges:
                if succ not in graph:
                    continue
                if succ not in index:
                    index[succ] = low[succ] = counter
                    counter += 1
                    stack.append(succ)
                    on_stack.add(succ)
                    work.append((succ, iter(sorted(graph[succ]))))
                    advanced = True
                    break
                if succ in on_stack:
                    low[node] = min(low[node], index[succ])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                part = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    part.append(member)
                    if member == node:
                        break
                if len(part) > 1:
                    found.append(sorted(part))
    return found


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    root = pathlib.Path(sys.argv[1])
    layers = sys.argv[2:]
    problems = []
    graph = {}
    for layer in layers:
        for file in sorted((root / layer).rglob("*")):
            if file.suffix not in (".h", ".cpp"):
                continue
            path = file.relative_to(root).as_posix()
            own = layer_of(path, layers)
            if own != layers.index(layer):
                continue  # a deeper layer's file, judged there
            unit = graph.setdefault(unit_of(path), set())
            for included in INCLUDE.findall(file.read_text(encoding="utf-8", errors="replace")):
                target = layer_of(included, layers)
                if target is None:
                    continue
                if unit_of(included) != unit_of(path):
                    unit.add(unit_of(included))
                if target > own:
                    problems.append(f"{path}: includes {included}: {layers[target]} comes after {layers[own]}")
    for part in circles(graph):
        problems.append("include circle: " + " -> ".join(part))
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print(f"{len(graph)} source units in {len(layers)} layers: every include runs one way")


if __name__ == "__main__":
    main()
