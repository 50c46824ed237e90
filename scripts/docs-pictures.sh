#!/usr/bin/env bash
# Makes every picture in README.md and docs/ from the optimised tree's preview, so that they
# follow the map, its presets and the renderer when these change: the README's pictures here,
# then docs/controls.md with a strip for each control (scripts/docs-controls.py). Run after
# building quarel-preview (release preset). Needs ImageMagick's montage for the pictures laid
# out of several maps. The editor's pictures on real windows come from the Windows check
# (scripts/windows-check.sh), which leaves them in build/mingw/editor-pictures/; they are
# copied when it has made them.
set -euo pipefail
cd "$(dirname "$0")/.."
P=build/release/preview/quarel-preview
wall=presets/brick-wall.json
hex=presets/hexagon-pavers.json
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# What it is: every pattern, labelled.
$P -q --sheet --size 96 --out docs/sheet.png

# The tour: presets on lit objects, each framed and lit its own way.
$P -q --preset $wall --object sphere --light -100,40 --size 200 --samples 16 \
    --out docs/object-sphere.png
$P -q --preset $wall --set projection_mode=Accurate --object cube --camera 4,-40,25 \
    --size 200 --samples 16 --out docs/object-cube.png
$P -q --preset $wall --object cylinder --object-tiles 4 --size 200 --samples 16 \
    --out docs/object-cylinder.png
$P -q --preset presets/herringbone-parquet.json --object plane --camera 2.2,-60,50 \
    --size 200 --samples 16 --out docs/object-plane.png
# The bevel: the brick-wall preset on the cube without its bevel and with it.
$P -q --preset $wall --set bevel_width=0 --object cube --size 256 --samples 16 \
    --out docs/bevel-off.png
$P -q --preset $wall --object cube --size 256 --samples 16 --out docs/bevel-on.png
# The bevel's profiles on the normal output, and rounded corners on the basket-weave tiles.
for profile in Linear Round Smooth; do
    $P -q --preset $wall --set bevel_width=0.3 --set bevel_profile=$profile --output normal \
        --set normal.normal_depth=30 --size 128 --samples 4 --out "docs/bevel-${profile,,}.png"
done
$P -q --preset presets/basket-weave-tiles.json --set corner_radius=0.3 --size 128 --samples 4 \
    --out docs/corner-radius.png
# The worn presets: colour and normal output side by side.
for preset in aged-brick-wall worn-stone-path rustic-parquet; do
    for output in color normal; do
        $P -q --preset presets/$preset.json --output $output --size 200 --samples 16 \
            --out docs/$preset-$output.png
    done
done

$P -q --preset $wall --projection box --size 100 --samples 4 --out docs/brick-wall-box.png

# Seamless bricks off and on: the plane two tiles across, as the baked tile laid 2 x 2.
for on in false true; do
    name=$([ $on = true ] && echo on || echo off)
    $P -q --preset $wall --repeat 2 --size 256 --set seamless_bricks=$on \
        --out docs/seamless-wall-$name.png
    $P -q --preset $hex --repeat 2 --size 256 --set seamless_bricks=$on \
        --out docs/seamless-hex-$name.png
done

# A baked set: each map of the glTF set and of the default set, labelled; and the glTF set's
# maps laid 2 x 2, as an engine repeats them.
$P bake -q --preset $wall --profile gltf --size 256 --out "$tmp/g" >/dev/null
$P bake -q --preset $wall --size 256 --out "$tmp/s" >/dev/null
montage -font DejaVu-Sans -pointsize 13 -geometry 160x160+4+4 -tile 6x1 \
    -label _Color "$tmp/g_Color.png" -label _NormalGL "$tmp/g_NormalGL.png" \
    -label _ORM "$tmp/g_ORM.png" -label height "$tmp/s-height.png" \
    -label roughness "$tmp/s-roughness.png" -label ao "$tmp/s-ao.png" docs/bake-texture-set.png
for map in Color NormalGL ORM; do
    montage "$tmp/g_$map.png" "$tmp/g_$map.png" "$tmp/g_$map.png" "$tmp/g_$map.png" \
        -tile 2x2 -geometry 128x128+0+0 "$tmp/tiled-$map.png"
done
montage -font DejaVu-Sans -pointsize 13 -geometry +6+4 -tile 3x1 \
    -label "_Color, 2 x 2" "$tmp/tiled-Color.png" -label "_NormalGL, 2 x 2" \
    "$tmp/tiled-NormalGL.png" -label "_ORM, 2 x 2" "$tmp/tiled-ORM.png" docs/bake-tiled.png

# The editor's pattern picker, through the module.
$P -q picker --pattern Herringbone --out docs/picker.png

editor=build/mingw/editor-pictures
for picture in editor-rollouts editor-combo-list editor-picker; do
    if [ -f "$editor/$picture.png" ]; then
        cp "$editor/$picture.png" docs/
    else
        echo "docs-pictures: no $editor/$picture.png (scripts/windows-check.sh makes it)" >&2
    fi
done

# A strip of renders for every control, every pattern and every output.
scripts/docs-controls.py --preview $P
