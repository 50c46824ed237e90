#!/usr/bin/env bash
# Cross-builds QuarelMap.dlt for 64-bit Windows with MinGW-w64, checks its export table, loads it
# under Wine (quarel-wincheck) and compares what it computes there with the Linux build:
#   - colours of a QuarelMap at 3000 points for several parameter sets, against
#     `quarel-preview sample`: bit-identical, except for parameter sets with a non-zero angle
#     (see ANGLE_TOLERANCE below);
#   - the editor's pattern swatches drawn through real GDI, against the same drawing through
#     the Win32 stand-in: every pixel equal;
#   - the editor script: a map's rollouts opened on real windows (Wine on a virtual X display,
#     Xvfb) and used by a fixed script, against the same script through the stand-in
#     (quarel-editor-script): the same transcript line for line, and the dropped combo box list
#     showing the chosen pattern's swatch pixel for pixel. The windows' pictures are kept in
#     build/mingw/editor-pictures.
# Installs what is missing first, like scripts/setup.sh. Exits non-zero with a message on any
# difference. Wine runs in a prefix of its own, build/mingw/wineprefix, stopped at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The x86-64 parts of Debian's MinGW-w64 (the mingw-w64 metapackage would add the 32-bit
# compilers too), Wine's 64-bit loader, and a virtual X display for the editor's real windows;
# recommends left out.
scripts/install-missing.sh --no-install-recommends g++-mingw-w64-x86-64-posix \
  mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine64 xvfb xauth

jobs=$(nproc)
((jobs > 2)) && jobs=2
wine=/usr/lib/wine/wine64
export WINEPREFIX="$PWD/build/mingw/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY  # no desktop: memory bitmaps need none; the editor gets its own
stop_wine() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
winpath() { echo "Z:${1//\//\\}"; }  # a Linux path as Wine's programs name it

work=$(mktemp -d)
trap 'stop_wine; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

echo "== Windows cross build (mingw preset) =="
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
wincheck=build/mingw/bin/quarel-wincheck.exe

echo "== Export table and loading under Wine =="
ctest --preset mingw

echo "== Linux build (the reference) =="
cmake --preset release >/dev/null
linux_targets=(quarel-preview)
for t in quarel-swatch-pixels quarel-editor-script; do
  grep -qs "$t" build/release/build.ninja && linux_targets+=("$t")
done
cmake --build --preset release -j "$jobs" --target "${linux_targets[@]}"
preview=build/release/preview/quarel-preview

# Points in tile units, multiples of 1/1024 (and filter sizes of 1/4096) that every float
# parser reads exactly; a third carry a filter size. A fixed Park-Miller sequence.
awk 'function r(m) { s = (s * 16807) % 2147483647; return s % m }
     BEGIN { s = 20240607
             for (i = 0; i < 3000; i++) {
               u = r(8192) / 1024 - 2; v = r(8192) / 1024 - 2
               if (i % 3 == 0) printf "%.10g %.10g %.10g %.10g\n", u, v, r(64) / 4096, r(37) / 4096
               else printf "%.10g %.10g\n", u, v } }' >"$work/points"

# Each channel of a point with an angle may differ by this much, and this many points may
# differ beyond it: a rotated coordinate that the other C library's sin or cos moves by its
# last bit can cross a joint edge, and the point then takes the neighbouring brick's colour.
ANGLE_TOLERANCE=1e-6
ANGLE_POINTS_ALLOWED=3

# compare_sample NAME EXACT|ANGLE --set ... : one parameter set on both builds.
compare_sample() {
  local name=$1 mode=$2
  shift 2
  if ! "$preview" sample "$@" <"$work/points" >"$work/linux.txt" 2>"$work/linux.err"; then
    fail "sample '$name': quarel-preview refused: $(cat "$work/linux.err")"
    return
  fi
  if ! "$wine" "$wincheck" sample "$@" <"$work/points" >"$work/windows.txt" 2>"$work/windows.err"; then
    fail "sample '$name': quarel-wincheck refused: $(cat "$work/windows.err")"
    return
  fi
  local verdict
  verdict=$(paste -d' ' "$work/linux.txt" "$work/windows.txt" | awk -v mode="$mode" \
    -v tol="$ANGLE_TOLERANCE" -v allowed="$ANGLE_POINTS_ALLOWED" -v lines="$(wc -l <"$work/points")" '
      function abs(x) { return x < 0 ? -x : x }
      { n++
        if (NF != 8) { print "line " n " has " NF " numbers, not 4 + 4"; bad = 1; exit }
        same = 1; near = 1
        for (i = 1; i <= 4; i++) {
          if (($i "") != ($(i + 4) "")) same = 0  # as text: bit for bit, -0 and nan included
          if (abs($i - $(i + 4)) > tol) near = 0 }
        if (!same) { exact_diff++; if (first == "") first = "point " n ": linux " $1 " " $2 " " $3 " " $4 ", windows " $5 " " $6 " " $7 " " $8 }
        if (!near) far++ }
      END { if (bad) exit
            if (n != lines) { print "got " n " results for " lines " points"; exit }
            if (mode == "EXACT" && exact_diff) { print exact_diff " of " n " points differ; first " first; exit }
            if (mode == "ANGLE" && far > allowed) { print far " of " n " points differ by more than " tol "; first " first; exit }
            print "ok " n " points, " exact_diff + 0 " not bit-identical" }')
  case $verdict in
    ok*) echo "sample '$name' ($mode): ${verdict#ok }" ;;
    *) fail "sample '$name' ($mode): $verdict" ;;
  esac
}

echo "== Colours: Windows module under Wine against the Linux module =="
sample_status=0
"$wine" "$wincheck" sample </dev/null >/dev/null 2>"$work/probe.err" || sample_status=$?
if [ "$sample_status" -eq 3 ]; then
  # A build without the comparison would pass unseen: refuse it.
  fail "quarel-wincheck cannot compare colours: $(cat "$work/probe.err")"
elif ! "$preview" sample </dev/null >/dev/null 2>&1; then
  fail "quarel-preview sample does not run"
else
  variation=(--set random_shift=0.3 --set seed=4711 --set color_variance=0.4 --set hue_shift=0.15
             --set random_second_color_on=true --set brick_color_2=0.2,0.45,0.7
             --set grout_color=0.85,0.8,0.7)
  compare_sample "defaults" EXACT
  compare_sample "running bond, varied" EXACT --set nx=5 --set ny=7 --set gap_u=0.04 \
    --set gap_v=0.06 "${variation[@]}" --set master_u_tiling=1.5 --set master_v_offset=0.25
  # Every pattern once, each with its own counts and grout.
  for id in $(seq 0 29); do
    compare_sample "pattern $id" EXACT --set pattern="$id" --set nx=$((id % 7 + 2)) \
      --set ny=$((id % 5 + 3)) --set gap_u=0.0$((id % 9 + 1)) "${variation[@]}" \
      --set brick_u_tiling=1.25 --set brick_v_offset=-0.5 --set master_v_tiling=-2
  done
  compare_sample "herringbone, master angle 30" ANGLE --set pattern=Herringbone \
    --set master_angle=30 --set brick_angle=7 "${variation[@]}"
  compare_sample "hexagons, master angle -123.4" ANGLE --set pattern=Hexagons \
    --set master_angle=-123.4 --set nx=3 --set ny=5 "${variation[@]}"
  compare_sample "striped waves, brick angle 45" ANGLE --set pattern="Wave Striped" \
    --set brick_angle=45 --set master_u_offset=0.3 "${variation[@]}"
fi

echo "== Swatches: real GDI under Wine against the Win32 stand-in =="
swatch_status=0
"$wine" "$wincheck" swatches >"$work/windows-swatches.txt" 2>"$work/probe.err" || swatch_status=$?
if [ "$swatch_status" -eq 3 ]; then
  fail "quarel-wincheck cannot compare swatches: $(cat "$work/probe.err")"
elif [ ! -x build/release/wincheck/quarel-swatch-pixels ]; then
  fail "the Linux build has no quarel-swatch-pixels"
elif [ "$swatch_status" -ne 0 ]; then
  fail "quarel-wincheck swatches failed: $(cat "$work/probe.err")"
else
  build/release/wincheck/quarel-swatch-pixels >"$work/linux-swatches.txt"
  if cmp -s "$work/linux-swatches.txt" "$work/windows-swatches.txt"; then
    echo "swatches: $(grep -c '^swatch' "$work/linux-swatches.txt") pictures, every pixel equal"
  else
    fail "swatches differ; first difference:"
    diff "$work/linux-swatches.txt" "$work/windows-swatches.txt" | head -n 6 || true
  fi
fi

echo "== Editor: real windows under Wine against the Win32 stand-in =="
editor_script=build/release/wincheck/quarel-editor-script
pictures=build/mingw/editor-pictures
if [ ! -x "$editor_script" ]; then
  fail "the Linux build has no quarel-editor-script"
elif ! "$editor_script" >"$work/linux-editor.txt" 2>&1; then
  fail "the editor script through the stand-in failed:"
  tail -n 20 "$work/linux-editor.txt"
else
  # Without a window manager on the display, Wine draws the windows' title bars itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ||
    fail "cannot set Wine's X11 driver to draw title bars"
  stop_wine  # its server was started without a display
  mkdir -p "$work/ppm" "$pictures"
  editor_status=0
  # 24-bit colour, so that the screen holds every swatch colour exactly; tall enough for the
  # whole parameters rollout (a window below the screen's edge is captured black).
  # A window that waits for ever must not hold up the check.
  timeout 300 xvfb-run -a -s "-screen 0 1280x1600x24" sh -c '"$1" "$2" editor --expect "$3" --pictures "$4"
    status=$?; /usr/lib/wine/wineserver -k 2>/dev/null; exit $status' sh "$wine" "$wincheck" \
    "$(winpath "$work/linux-editor.txt")" "$(winpath "$work/ppm")" >"$work/windows-editor.txt" \
    2>"$work/editor.err" || editor_status=$?
  if [ "$editor_status" -eq 3 ]; then
    fail "quarel-wincheck cannot play the editor script: $(cat "$work/editor.err")"
  elif [ "$editor_status" -ne 0 ]; then
    fail "the editor script on real windows differs or failed:"
    grep -E -A3 '^(FAIL|DIFFERS)' "$work/windows-editor.txt" | head -n 12 || true
    tail -n 5 "$work/editor.err" || true
  else
    echo "editor: $(grep -c '^step' "$work/windows-editor.txt") steps, every line as through the stand-in"
  fi
  for ppm in "$work"/ppm/*.ppm; do
    [ -e "$ppm" ] || continue
    name=$(basename "$ppm" .ppm)
    # A capture of one colour only is a window the screen did not show.
    python3 -c 'import sys; d = open(sys.argv[1], "rb").read().split(b"\n", 3)[3]
sys.exit(len(set(d)) < 2)' "$ppm" || fail "the picture $name is blank"
    "$editor_script" png "$ppm" "$pictures/$name.png" || fail "cannot convert the picture $name"
  done
  ls "$pictures"/*.png >/dev/null 2>&1 && echo "editor pictures: $(ls "$pictures" | tr '\n' ' ')"
fi

if ((failures)); then
  echo "windows check: $failures failure(s)"
  exit 1
fi
echo "windows check: passed"
