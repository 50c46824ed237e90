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
# The worn presets: colour and normal output side by side in the README.
for preset in aged-brick-wall worn-stone-path rustic-parquet; do
    for output in color normal; do
        $P -q --preset presets/$preset.json --output $output --size 200 --samples 16 \
            --out docs/$preset-$output.png
    done
done
