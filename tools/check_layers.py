#!/usr/bin/env python3
"""Checks that the engine's subsystems stand in one-way layers (docs/layers.md).

    tools/check_layers.py [REPOSITORY]

Fails (exit code 1, one line per fault) when
  - a source or header under engine/ includes a header of another subsystem that is not in a layer
    below its own (subsystems of one layer do not include each other either);
  - an engine library links an engine library that is not below it, the link graph of the engine's
    libraries has a cycle, or a library asks the linker to go round a cycle
    (LINK_INTERFACE_MULTIPLICITY);
  - a folder under engine/ has no place in the layers below.
"""
import pathlib
import re
import sys

# Bottom to top. Subsystems on one line share a layer and stand on everything before them.
LAYERS = [
    ["runtime"],
    ["frame"],
    ["setup"],
    ["convert", "pdf"],
    ["devices"],
    ["select"],
    ["sheet"],
    ["log"],
    ["run"],
]
RANK = {name: i for i, names in enumerate(LAYERS) for name in names}
# engine/main.cpp belongs to the run layer.
TOP = "run"

INCLUDE = re.compile(r'^\s*#\s*include\s*"engine/([^/"]+)/', re.M)
ADD_LIBRARY = re.compile(r"add_library\(\s*(\w+)")
LINK = re.compile(r"target_link_libraries\(\s*(\w+)([^)]*)\)", re.S)


def main() -> int:
    top = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    engine = top / "engine"
    faults = []

    for d in sorted(p.name for p in engine.iterdir() if p.is_dir()):
        if d not in RANK:
            faults.append(f"engine/{d}: a subsystem without a layer; give it one in tools/check_layers.py and docs/layers.md")

    for f in sorted(engine.rglob("*")):
        if f.suffix not in (".cpp", ".h") or not f.is_file():
            continue
        rel = f.relative_to(engine)
        own = rel.parts[0] if len(rel.parts) > 1 else TOP
        if own not in RANK:
            continue
        text = f.read_text(encoding="utf-8", errors="replace")
        for m in INCLUDE.finditer(text):
            other = m.group(1)
            if other == own:
                continue
            line = text.count("\n", 0, m.start()) + 1
            if other not in RANK:
                faults.append(f"engine/{rel}:{line}: includes a header of engine/{other}, which has no layer")
            elif RANK[other] >= RANK[own]:
                where = "the same layer as" if RANK[other] == RANK[own] else "a layer above"
                faults.append(f"engine/{rel}:{line}: engine/{own} includes engine/{other}, {where} its own")

    # The link graph of the engine's libraries, as the CMakeLists declare it.
    library_layer = {}
    links = {}
    for cm in sorted(engine.rglob("CMakeLists.txt")):
        rel = cm.relative_to(engine)
        own = rel.parts[0] if len(rel.parts) > 1 else TOP
        text = re.sub(r"#[^\n]*", "", cm.read_text(encoding="utf-8"))
        if "LINK_INTERFACE_MULTIPLICITY" in text:
            faults.append(f"engine/{rel}: LINK_INTERFACE_MULTIPLICITY: the libraries must not link round a cycle")
        for m in ADD_LIBRARY.finditer(text):
            library_layer[m.group(1)] = own
        for m in LINK.finditer(text):
            names = [w for w in m.group(2).split() if w not in ("PUBLIC", "PRIVATE", "INTERFACE")]
            links.setdefault(m.group(1), []).extend(names)
    for lib, deps in sorted(links.items()):
        if lib not in library_layer:
            continue
        for dep in deps:
            if dep in library_layer and RANK[library_layer[dep]] >= RANK[library_layer[lib]]:
                faults.append(f"engine: library {lib} ({library_layer[lib]}) links {dep} ({library_layer[dep]}), which is not below it")

    state = {}

    def visit(lib, path):
        state[lib] = 1
        for dep in links.get(lib, []):
            if dep not in library_layer:
                continue
            if state.get(dep) == 1:
                faults.append("engine: the libraries link round a cycle: " + " -> ".join(path + [dep]))
            elif dep not in state:
                visit(dep, path + [dep])
        state[lib] = 2

    for lib in sorted(library_layer):
        if lib not in state:
            visit(lib, [lib])

    for fault in faults:
        print(fault)
    if not faults:
        print(f"engine layers: {len(library_layer)} libraries, every include and link goes downwards")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
