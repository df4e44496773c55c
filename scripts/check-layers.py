#!/usr/bin/env python3
"""Checks that every #include "..." under src/ follows the allowed layer edges.

Each folder of src/ is a library; a library may include only itself and the layers listed for it
below. The CMake target graph says the same thing; this check also catches a header-only edge
that the linker would never notice. Qt may be included only by the GUI, hidapi only by its backend.
Exit status 0 when every edge is allowed, 1 with one line per offending include otherwise.
"""
import pathlib
import re
import sys

# layer -> layers it may include (besides itself). Keep in step with the README's Architecture.
ALLOWED = {
    "base": set(),
    "text": {"base"},
    "device": {"base"},
    "device/sim": {"device", "base"},
    "device/hidapi": {"device", "base"},
    "model": {"base", "text", "device"},
    "ports": {"base", "model"},
    "sync": {"base", "text", "device", "model", "ports"},
    "app": {"base", "text", "device", "device/sim", "device/hidapi", "model", "ports", "sync"},
    "cli": {"base", "text", "device", "model", "ports", "sync", "app", "generated"},
    "gui": {"base", "text", "device", "model", "ports", "sync", "app", "cli", "generated"},
}
GENERATED = {"version.h": "generated"}
# Inside gui/, its folders in order (the skin first): each may include the ones before it, never
# one after it.
GUI_ORDER = ["skin", "widgets", "platform", "editors", "mainwnd", "shell"]
SYSTEM_ONLY_IN = {
    re.compile(r"^<Q"): {"gui"},
    re.compile(r"^<hidapi"): {"device/hidapi"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"][^>"]+[>"])')


def layer_of(relative: str):
    if relative in GENERATED:
        return GENERATED[relative]
    parts = relative.split("/")
    if parts[0] == "device" and len(parts) > 2 and parts[1] in ("sim", "hidapi"):
        return "device/" + parts[1]
    return parts[0] if parts[0] in ALLOWED else None


def gui_rank(relative: str):
    parts = relative.split("/")
    if len(parts) > 2 and parts[0] == "gui" and parts[1] in GUI_ORDER:
        return GUI_ORDER.index(parts[1])
    return None


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent / "src"
    errors = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        relative = path.relative_to(root).as_posix()
        source_layer = layer_of(relative)
        if source_layer is None:
            errors.append(f"{relative}: lies in no layer")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(1)
            where = f"src/{relative}:{number}"
            if name.startswith("<"):
                for pattern, layers in SYSTEM_ONLY_IN.items():
                    if pattern.match(name) and source_layer not in layers:
                        errors.append(f"{where}: {source_layer} may not include {name}")
                continue
            target = name.strip('"')
            target_layer = layer_of(target)
            if target_layer is None:
                errors.append(f"{where}: {name} lies in no layer")
            elif target_layer != source_layer and target_layer not in ALLOWED[source_layer]:
                errors.append(f"{where}: {source_layer} may not include {target_layer} ({name})")
            elif source_layer == target_layer == "gui":
                source_rank = gui_rank(relative)
                target_rank = gui_rank(target)
                if source_rank is None:
                    errors.append(f"{relative}: lies in no folder of gui/")
                elif target_rank is None or target_rank > source_rank:
                    errors.append(f"{where}: gui/{GUI_ORDER[source_rank]} may not include {name}")
    for error in errors:
        print(error)
    if errors:
        print(f"check-layers: {len(errors)} include(s) against the layer table", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
