#!/usr/bin/env bash
# Makes every picture in README.md and docs/ from the optimised tree's preview, so that they
# follow the map and its presets when these change: the README's pictures here, then
# docs/controls.md with a strip for each control (scripts/docs-controls.py). Run after building
# quarel-preview (release preset); the labelled texture set needs ImageMagick's montage. The
# editor's pictures on real windows come from the Windows check (scripts/windows-check.sh) and
# are copied when it has made them.
set -euo pipefail
cd "$(dirname "$0")/.."
P=build/release/preview/quarel-preview
wall=presets/brick-wall.json
hex=presets/hexagon-pavers.json
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
# The worn presets: colour and normal output side by side in the README.
for preset in aged-brick-wall worn-stone-path rustic-parquet; do
    for output in color normal; do
        $P -q --preset presets/$preset.json --output $output --size 200 --samples 16 \
            --out docs/$preset-$output.png
    done
done

# Seamless bricks off and on, two tiles across.
for on in false true; do
    state=$([ $on = true ] && echo on || echo off)
    $P -q --preset $wall --repeat 2 --size 256 --set seamless_bricks=$on \
        --out docs/seamless-wall-$state.png
    $P -q --preset $hex --repeat 2 --size 256 --set seamless_bricks=$on \
        --out docs/seamless-hex-$state.png
done

$P picker --pattern Herringbone --out docs/picker.png

# A texture set: the glTF profile's files and the default profile's roughness and occlusion
# (which the ORM file packs), labelled.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
$P bake -q --preset $wall --profile gltf --size 256 --out "$work/gltf" >/dev/null 2>&1
$P bake -q --preset $wall --size 256 --out "$work/set" >/dev/null 2>&1
if command -v montage >/dev/null; then
    g=$work/gltf
    montage -font DejaVu-Sans -pointsize 13 -depth 8 -background white \
        -label 'Color (sRGB)' "${g}_Color.png" -label NormalGL "${g}_NormalGL.png" \
        -label Displacement "${g}_Displacement.png" \
        -label 'Roughness (ORM G)' "$work/set-roughness.png" \
        -label 'AO (ORM R)' "$work/set-ao.png" -label ORM "${g}_ORM.png" \
        -tile 6x1 -geometry 160x160+6+6 PNG24:docs/bake-texture-set.png
else
    echo "docs-pictures: no montage (ImageMagick): docs/bake-texture-set.png left as it is" >&2
fi

editor=build/mingw/editor-pictures
for picture in editor-rollouts editor-combo-list editor-picker; do
    if [ -f "$editor/$picture.png" ]; then
        cp "$editor/$picture.png" docs/
    else
        echo "docs-pictures: no $editor/$picture.png (scripts/windows-check.sh makes it)" >&2
    fi
done

scripts/docs-controls.py --preview $P
