#!/usr/bin/env python3
"""Checks the product code's includes against its layers; exit code 1 on any breach.

Layers, bottom to top: core/; window/ (what features draw with); the features tuner/, feedback/,
transponders/, dishcalc/, signallog/, satcheck/, and above them watch/ (it starts the tuner's and
feedback's threads); app/ on top. An include may point down or stay in its own folder, never up or sideways
between features, and the include graph has no cycle. Every .cpp has its own .h of the same name,
except the entry point. resources/resource_ids.h is shared with the resource script and sits
below everything.

  check_layers.py [root]
"""
import os
import re
import sys

LAYER = {
    "resources": 0,
    "core": 1,
    "window": 2,
    "tuner": 3, "feedback": 3, "transponders": 3, "dishcalc": 3, "signallog": 3, "satcheck": 3,
    "watch": 4,
    "app": 5,
}
HEADERLESS = {"app/main_win32.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def product_files(root):
    for folder in LAYER:
        base = os.path.join(root, folder)
        if not os.path.isdir(base):
            continue
        for name in sorted(os.listdir(base)):
            if name.endswith((".h", ".cpp")):
                yield folder + "/" + name


def includes(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        return INCLUDE.findall(f.read())


def breaches(root):
    files = list(product_files(root))
    graph = {}
    problems = []
    for path in files:
        folder = path.split("/")[0]
        graph[path] = []
        for target in includes(root, path):
            target_folder = target.split("/")[0]
            if target_folder not in LAYER:
                problems.append("%s includes %s, which is not product code" % (path, target))
                continue
            graph[path].append(target)
            if target_folder == folder:
                continue
            if LAYER[target_folder] >= LAYER[folder]:
                way = "up" if LAYER[target_folder] > LAYER[folder] else "sideways"
                problems.append("%s includes %s: %s a layer" % (path, target, way))
        if path.endswith(".cpp") and path not in HEADERLESS:
            header = path[:-4] + ".h"
            if not os.path.exists(os.path.join(root, header)):
                problems.append("%s has no header of its own (%s)" % (path, header))
    problems.extend(cycles(graph))
    return problems


def cycles(graph):
    found = []
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for target in graph.get(node, []):
            if state.get(target) == "open":
                found.append("include cycle: " + " -> ".join(trail[trail.index(target):] + [target]))
            elif target not in state:
                visit(target, trail + [target])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = breaches(root)
    for problem in problems:
        print(problem)
    print("layers: %d files checked, %d problems" % (len(list(product_files(root))), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
