#!/usr/bin/env python3
"""Makes docs/controls.md and its pictures: every control of the map as a strip of renders at
increasing values, each pattern, each output and each map of the bake.

The controls come from the preview itself (`quarel-preview params --json`), so a control added
to a parameter block gets its strip on the next run. What this file knows of them is only what
the program cannot say: which values read well where the full range would not, which controls
show best on the relief, and which need nested maps to show anything (the tables below). Every
strip starts from one fixed scene, so it shows one control's effect.

Usage: scripts/docs-controls.py [--preview PATH] [--out DIR] [--jobs N]
  --preview  the quarel-preview to run (default: build/release/preview/quarel-preview)
  --out      the folder that receives controls.md and controls/ (default: docs)
  --jobs     renders at once (default 2), each on one thread
Deterministic: the same preview gives the same bytes.
"""
import argparse
import concurrent.futures
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZE = 96  # pixels: small enough to commit, large enough to see a brick's joints
BAKE_SIZE = 128

# The fixed scene of every strip: a red brick wall whose bricks differ a little, so that what
# varies per brick shows.
WALL = {
    "pattern": "1/2 Running",
    "nx": 3,
    "ny": 10,
    "gap_u": 0.04,
    "gap_v": 0.07,
    "brick_color": [0.62, 0.27, 0.18],
    "brick_color_2": [0.42, 0.2, 0.15],
    "grout_color": [0.78, 0.76, 0.72],
    "color_variance": 0.3,
    "random_second_color_on": True,
    "random_shift": 0.08,
    "seed": 42,
}
WOOD = {"map": "bitmap", "file": os.path.join(ROOT, "presets", "wood.png")}
CHECKER = {"map": "checker", "color1": [0.9, 0.85, 0.7], "color2": [0.35, 0.3, 0.25]}
# The wall with nested maps in all three slots, for the controls that act on them.
MAPPED = dict(WALL, brick_map=WOOD, brick_map_2=CHECKER,
              grout_map=dict(CHECKER, tiling=[8, 8]), nx=2, ny=6, random_shift=0)
# The patterns as a user first sees them: the map's own counts, bricks told apart by colour.
PATTERNS = {"color_variance": 0.4, "random_second_color_on": True, "seed": 3}

GREYS = [[0, 0, 0], [0.33, 0.33, 0.33], [0.67, 0.67, 0.67], [1, 1, 1]]
COLOURS = [[0.62, 0.27, 0.18], [0.85, 0.75, 0.55], [0.35, 0.45, 0.55], [0.12, 0.12, 0.12]]
MAPS = [None, CHECKER, WOOD]

# Values where the full range is not sensible (a tiling of 1000 shows noise) or a strip reads
# better at particular steps. Every other number spreads evenly over its range.
VALUES = {
    "nx": [1, 2, 4, 8],
    "ny": [2, 4, 8, 16],
    "gap_u": [0, 0.05, 0.15, 0.3],
    "gap_v": [0, 0.05, 0.15, 0.3],
    "seed": [1, 2, 3, 4],
    "hue_shift": [0, 0.05, 0.15, 0.5],
    "random_texture_rotation_step": [0, 45, 90, 180],
    "fragment_size": [0.1, 0.25, 0.5, 1],
    "brick_u_tiling": [1, 2, 3, 4],
    "brick_v_tiling": [1, 2, 3, 4],
    "brick_u_offset": [0, 0.25, 0.5, 0.75],
    "brick_v_offset": [0, 0.25, 0.5, 0.75],
    "brick_angle": [0, 30, 60, 90],
    "master_u_tiling": [1, 1.5, 2, 3],
    "master_v_tiling": [1, 1.5, 2, 3],
    "master_u_offset": [0, 0.1, 0.25, 0.5],
    "master_v_offset": [0, 0.05, 0.1, 0.25],
    "master_angle": [0, 15, 30, 45],
    "normal_depth": [0.1, 1, 10, 100],
    "normal.normal_depth": [0.1, 1, 10, 100],
    "bump.depth": [0, 1, 5, 20],
    "missing_bricks": [0, 10, 25, 50],
    "bevel_width": [0, 0.05, 0.15, 0.3],
    "corner_radius": [0, 0.1, 0.25, 0.5],
}
# Controls that show only with another one on: the scene of their strip sets it (None: the
# middle of that control's range). Left out while the other control does not exist.
WITH = {
    "fragment_size": {"random_fragment_on": True},
    "bevel_profile": {"bevel_width": 0.3},
    "edge_noise_scale": {"edge_noise": None},
}
# Controls that act on the relief alone, by name where their description does not say so.
RELIEF = {"bevel_width", "bevel_profile", "height_variance", "tilt_variance"}
# Controls shown elsewhere on the page rather than as a strip.
ELSEWHERE = {
    "pattern": "each choice is pictured under [Patterns](#patterns)",
    "normal_out_btn": "the slot of the normal output, pictured under [Outputs](#outputs)",
    "bump_out_btn": "the slot of the bump output, pictured under [Outputs](#outputs)",
}
OUTPUTS = ["color", "mono", "cells", "height", "normal", "bump", "perturb"]
BAKE_MAPS = ["color", "normal", "height", "id", "roughness", "ao"]

# How each view is made and what the caption says of it.
VIEWS = {
    "color": ([], "colour output"),
    "box": (["--projection", "box"], "colour output around a box"),
    "repeat": (["--repeat", "2"], "colour output, two tiles across"),
    "normal": (["--output", "normal"], "normal output"),
    "bump": (["--output", "bump"], "bump output"),
    "relief": (None, "the bake's normal map, lit from its relief"),
}
MAP_CONTROL = re.compile(r"map|tex|fragment|^brick_[uv]_|^brick_angle")
VIEW_BY_NAME = {"projection_mode": "box", "seamless_bricks": "repeat"}


def number(x):
    """A value as --set takes it and the page shows it: 0.333, 4, -1."""
    if float(x).is_integer():
        return str(int(x))
    text = f"{x:.3g}"
    return text if "e" not in text else f"{x:f}".rstrip("0")


def colour_text(c):
    return ",".join(number(x) for x in c)


def spread(p):
    """Four values from the bottom of the range to its top, integers kept whole."""
    lo, hi = p["min"], p["max"]
    values = [lo + (hi - lo) * k / 3 for k in range(4)]
    if p["kind"] == "integer":
        values = sorted({round(v) for v in values})
    return values


def view_of(p):
    name = p["name"]
    if name in VIEW_BY_NAME:
        return VIEW_BY_NAME[name]
    if p["prefix"] == "normal.":
        return "normal"
    if p["prefix"] == "bump.":
        return "bump"
    if name in RELIEF or p["description"].startswith("relief:"):
        return "relief"
    return "color"


def base_of(p):
    """Controls of nested maps (by their names: maps, texture, fragment, brick map placement)
    get the wall with maps; they show nothing on plain bricks."""
    return MAPPED if MAP_CONTROL.search(p["name"]) else WALL


def scene_of(p, params):
    """The strip's fixed scene: its base with the controls it needs on (WITH)."""
    scene = dict(base_of(p))
    for other, value in WITH.get(p["name"], {}).items():
        q = params.get(other)
        if q is not None:
            scene[other] = value if value is not None else (q["min"] + q["max"]) / 2
    return scene


def strip_values(p):
    """(the value for --set or the preset, its text on the page) for each picture."""
    kind, name = p["kind"], p["name"]
    if kind == "bool":
        return [(v, v) for v in ("false", "true")]
    if kind == "choice":
        return [(item, item) for item in p["items"]]
    if kind == "map":
        return [(m, "none" if m is None else m["map"]) for m in MAPS]
    if kind == "colour":
        grey = view_of(p) != "color"
        return [(colour_text(c), colour_text(c)) for c in (GREYS if grey else COLOURS)]
    values = VALUES.get(name, [])
    if "min" in p:
        # A table's values that the declared range no longer takes are left out.
        values = [v for v in values if p["min"] <= v <= p["max"]]
    if len(values) < 2:
        values = spread(p) if "min" in p else [0, 1, 2, 3]
    return [(number(v), number(v)) for v in values]


def file_name(name):
    return name.replace(".", "-")


class Renderer:
    """Queues the pictures, then runs each distinct command once (a bake gives several)."""

    def __init__(self, preview, out, work):
        self.preview, self.out, self.work = preview, out, work
        self.jobs = {}  # command -> (its output prefix, [(picture made, where it goes)])
        self.pictures = 0
        self.presets = {}

    def preset(self, scene):
        text = json.dumps(scene, sort_keys=True)
        if text not in self.presets:
            path = os.path.join(self.work, f"scene-{len(self.presets)}.json")
            with open(path, "w") as f:
                f.write(text)
            self.presets[text] = path
        return self.presets[text]

    def add(self, picture, scene, args, bake_map=None, bake_size=SIZE):
        """Queues one picture (with bake_map: that map of a bake); returns its path relative to
        the page."""
        rel = f"controls/{picture}.png"
        command = ["bake", "--size", str(bake_size)] if bake_map else ["--size", str(SIZE)]
        command += ["-q", "--threads", "1", "--preset", self.preset(scene), *args]
        prefix, copies = self.jobs.setdefault(
            tuple(command), (os.path.join(self.work, f"job-{len(self.jobs)}"), []))
        made = f"{prefix}-{bake_map}.png" if bake_map else prefix + ".png"
        copies.append((made, os.path.join(self.out, rel)))
        self.pictures += 1
        return rel

    def run(self, jobs):
        def one(item):
            command, (prefix, copies) = item
            out = prefix if command[0] == "bake" else prefix + ".png"
            argv = [self.preview, *command, "--out", out]
            done = subprocess.run(argv, capture_output=True, text=True)
            for made, dest in copies:
                if done.returncode != 0 or not os.path.exists(made):
                    raise RuntimeError(" ".join(argv) + "\n" + done.stderr)
                shutil.copyfile(made, dest)

        with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
            list(pool.map(one, self.jobs.items()))


def control_section(r, p, params):
    name, kind = p["name"], p["kind"]
    lines = [f"### `{name}`", ""]
    what = f"{p['label']}: {p['description']}." if p["label"] else p["description"] + "."
    rng = f", {number(p['min'])} to {number(p['max'])}" if "min" in p and kind != "choice" else ""
    lines.append(f"{what} {kind.capitalize()}{rng}, default {p['default']}.")
    if name in ELSEWHERE:
        return lines + ["", f"Not a strip: {ELSEWHERE[name]}.", ""]
    view = view_of(p)
    scene = scene_of(p, params)
    args, seen = VIEWS[view]
    where = " with nested maps" if base_of(p) is MAPPED else ""
    extra = "".join(f", {k} {number(v) if not isinstance(v, bool) else str(v).lower()}"
                    for k, v in scene.items() if k not in base_of(p))
    lines.append(f"Shown on the wall{where}{extra}, {seen}.")
    heads, cells = [], []
    for k, (value, text) in enumerate(strip_values(p)):
        picture = f"{file_name(name)}-{k}"
        if kind == "map":
            rel = r.add(picture, dict(scene, **{name: value}), args or [], bake_map=None)
        elif view == "relief":
            rel = r.add(picture, scene, ["--set", f"{name}={value}"], bake_map="normal")
        else:
            rel = r.add(picture, scene, [*args, "--set", f"{name}={value}"])
        heads.append(f"`{text}`")
        cells.append(f"![{name} {text}]({rel})")
    return lines + ["", table(heads, cells), ""]


def table(heads, cells):
    rows = ["| " + " | ".join(heads) + " |", "|" + "---|" * len(heads)]
    return "\n".join(rows + ["| " + " | ".join(cells) + " |"])


def grid(items, across):
    """items: (head, cell); laid out `across` a row, each row with its own heads."""
    out = []
    for i in range(0, len(items), across):
        row = items[i:i + across]
        out.append(table([h for h, _ in row], [c for _, c in row]))
    return "\n\n".join(out)


def patterns_section(r, preview):
    listing = subprocess.run([preview, "patterns"], capture_output=True, text=True, check=True)
    items = []
    for line in listing.stdout.splitlines():
        pid, rest = line[:2].strip(), line[4:]
        name, group = rest[:16].strip(), rest[17:].strip()
        rel = r.add(f"pattern-{int(pid):02d}", PATTERNS, ["--pattern", pid])
        items.append((f"{pid} {name} ({group})", f"![{name}]({rel})"))
    return ["## Patterns", "",
            "Each pattern with the map's own counts and joints (`--pattern ID`), colour variance "
            "0.4 and random second bricks; headed by id, name and the picker's group.", "",
            grid(items, 6), ""]


def outputs_section(r):
    items = [(f"`{o}`", f"![{o}]({r.add('output-' + o, WALL, ['--output', o])})") for o in OUTPUTS]
    bake = [(f"`-{m}`", f"![bake {m}]({r.add('bake-' + m, WALL, [], m, BAKE_SIZE)})")
            for m in BAKE_MAPS]
    return ["## Outputs", "",
            "The wall through each `--output` of a render: the colour, its brightness, the "
            "engine's cells in swatch colours, the relief's height field, the normal and bump "
            "outputs as a host sees them, and the map's own perturbation as a normal.", "",
            grid(items, len(items)), "",
            f"The maps `bake` writes of one tile of the wall ({BAKE_SIZE} pixels, default "
            "profile): colour, normal (from the height's slopes), height, brick ids, roughness "
            "and ambient occlusion.", "",
            grid(bake, len(bake)), ""]


GROUPS = [("", "The main map"), ("normal.", "The normal output"), ("bump.", "The bump output")]


def page(r, params, preview):
    lines = ["# Controls, patterns and outputs", "",
             "Every control of the map as a strip of renders at increasing values, each from the "
             "same brick wall with only that control changed; then every pattern and every "
             "output. The captions are the descriptions `quarel-preview params` gives. Made by "
             "`scripts/docs-pictures.sh` (which runs `scripts/docs-controls.py`); a test fails "
             "when the text or a picture here is stale (a picture may differ from a new render "
             "by 2 levels in every channel, and by more in 0.5 % of its pixels, which compilers "
             "may round to the other side of a joint).", ""]
    lines += outputs_section(r)
    lines += patterns_section(r, preview)
    for prefix, title in GROUPS:
        group = [p for p in params if p["prefix"] == prefix]
        if not group:
            continue
        lines += [f"## {title}", ""]
        by_name = {p["name"]: p for p in params}
        for p in group:
            lines += control_section(r, p, by_name)
    return "\n".join(lines).rstrip("\n") + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--preview", default=os.path.join(ROOT, "build/release/preview/quarel-preview"))
    ap.add_argument("--out", default=os.path.join(ROOT, "docs"))
    ap.add_argument("--jobs", type=int, default=2)
    a = ap.parse_args()
    listed = subprocess.run([a.preview, "params", "--json"], capture_output=True, text=True)
    if listed.returncode != 0:
        sys.exit(f"docs-controls: {a.preview} params --json failed:\n{listed.stderr}")
    params = json.loads(listed.stdout)
    pictures = os.path.join(a.out, "controls")
    shutil.rmtree(pictures, ignore_errors=True)  # no picture of a control that is gone
    os.makedirs(pictures)
    with tempfile.TemporaryDirectory(prefix="docs-controls-") as work:
        r = Renderer(a.preview, a.out, work)
        text = page(r, params, a.preview)
        try:
            r.run(a.jobs)
        except RuntimeError as failed:
            sys.exit(f"docs-controls: a render failed: {failed}")
    with open(os.path.join(a.out, "controls.md"), "w") as f:
        f.write(text)
    print(f"docs-controls: {r.pictures} pictures and controls.md in {a.out}")


if __name__ == "__main__":
    main()
