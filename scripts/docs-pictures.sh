#!/usr/bin/env bash
# Makes the README's pictures of the presets from the optimised tree's preview, so that they
# follow the presets when these change. Run after building quarel-preview (release preset).
set -euo pipefail
cd "$(dirname "$0")/.."
P=build/release/preview/quarel-preview
wall=presets/brick-wall.json
$P -q --preset $wall --projection box --size 100 --samples 4 --out docs/brick-wall-box.png
for object in sphere cylinder plane; do
    $P -q --preset $wall --object $object --size 200 --samples 16 --out docs/object-$object.png
done
$P -q --preset $wall --set projection_mode=Accurate --object cube --size 200 --samples 16 \
    --out docs/object-cube.png
# The bevel: the brick-wall preset on the cube without its bevel and with it.
$P -q --preset $wall --set bevel_width=0 --object cube --size 256 --samples 16 --out docs/bevel-off.png
$P -q --preset $wall --object cube --size 256 --samples 16 --out docs/bevel-on.png
# The bevel's profiles on the normal output, and rounded corners on the basket-weave tiles.
for profile in Linear Round Smooth; do
    $P -q --preset $wall --set bevel_width=0.3 --set bevel_profile=$profile --output normal \
        --size 128 --samples 4 --out "docs/bevel-${profile,,}.png"
done
$P -q --preset presets/basket-weave-tiles.json --set corner_radius=0.3 --size 128 --samples 4 \
    --out docs/corner-radius.png
