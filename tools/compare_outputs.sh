#!/bin/sh
# Runs one quorix-cli over every example and every real file that loads, for
# every command that writes something, and keeps all outputs, messages and exit
# codes in OUTDIR. Run it with the binary before and after a change that should
# not change behaviour, then `diff -r OLD NEW`.
#
# Usage: sh tools/compare_outputs.sh QUORIX_CLI OUTDIR [REALDATA]
# REALDATA defaults to ../shared/realdata beside the source tree; missing: skipped.
set -u
cli=$(realpath "$1")
out=$(realpath -m "$2")
src=$(cd "$(dirname "$0")/.." && pwd)
real=${3:-$src/../shared/realdata}
mkdir -p "$out"
cd "$src"

# Runs one command: its stdout, stderr and exit code go to OUTDIR/NAME.*;
# files it writes go to OUTDIR/NAME.out*.
run() {
  name=$1
  shift
  "$cli" "$@" > "$out/$name.stdout" 2> "$out/$name.stderr"
  echo $? > "$out/$name.rc"
  # Output paths in messages differ between runs only by OUTDIR.
  sed -i "s|$out|OUT|g" "$out/$name.stdout" "$out/$name.stderr"
}

# data grid index tag
cases="examples/copper111.pol examples/grid5.rst 1 copper111
examples/copper111_centre.pol examples/grid5_centre.rst 1 copper111_centre
examples/copper200_offset.pol examples/offset5.grd 1 copper200_offset
examples/copper.xpe examples/grid5.rst 2 copper_xpe
examples/quartz.wko examples/grid5.rst 2 quartz_wko"
if [ -d "$real" ]; then
  cases="$cases
$real/beartex.xpe examples/grid5.rst 3 beartex
$real/beartex2.xpe examples/grid5.rst 2 beartex2
$real/dubna.cnv examples/grid5.rst 1 dubna
$real/juelich012.jul examples/grid5.rst 1 juelich
$real/popla.epf examples/grid5.rst 1 popla_epf
$real/popla_108.epf examples/grid5.rst 1 popla108
$real/popla.GPF examples/grid5.rst 1 popla_gpf"
fi
template=examples/xrdml_template.xrdml
[ -f "$real/xrdml.xrdml" ] && template=$real/xrdml.xrdml

echo "$cases" | while read -r data grid index tag; do
  o="$out/$tag"
  run "$tag.info" info "$data" "$grid" --index "$index" --json
  run "$tag.info-mrd" info "$data" "$grid" --index "$index" --mrd
  run "$tag.render" render "$data" "$grid" --index "$index" --fill -o "$o.out.plt"
  run "$tag.render-emf" render "$data" "$grid" --index "$index" --equal-area --eigen -o "$o.out.emf"
  run "$tag.save" save "$data" "$grid" --index "$index" -o "$o.out.save"
  run "$tag.save-popla" save "$data" "$grid" --index "$index" --standard POPLA -o "$o.out.popla"
  run "$tag.beartex" saveall beartex "$data" "$grid" -o "$o.out.beartex"
  run "$tag.geesthacht" saveall geesthacht "$data" "$grid" -o "$o.out.geesthacht"
  if [ -f "$template" ]; then
    run "$tag.xrdml" xrdml "$data" "$grid" --index "$index" --template "$template" -o "$o.out.xrdml"
  fi
  run "$tag.smooth" smooth "$data" "$grid" --index "$index" --fwhm 7 -o "$o.out.smooth"
  run "$tag.interpolate" interpolate "$data" "$grid" --index "$index" --out-grid examples/offset5.grd \
    --rotate-axis 0,30,30 -o "$o.out.interp"
  run "$tag.diff" diff "$data" "$data" "$grid" --index1 "$index" --index2 1 \
    --diff-out "$o.out.diff" --rp-out "$o.out.rp" --log "$o.out.rplog"
  run "$tag.add" add weighted "$data" "$grid" --index "$index" --with "$data:1@2" -o "$o.out.add"
  run "$tag.add-fitted" add fitted "$data" "$grid" --index "$index" --with "$data:1" -o "$o.out.addfit"
  run "$tag.edit" edit "$data" "$grid" --index "$index" --all '*' 1.5 -o "$o.out.edit"
  run "$tag.suppress" edit "$data" "$grid" --index "$index" --suppress 3 -o "$o.out.suppress"
done
for grid in examples/grid5.rst examples/grid5_centre.rst examples/offset5.grd; do
  tag=density_$(basename "$grid" | tr . _)
  run "$tag" density examples/cracks.txt "$grid" --fwhm 8 -o "$out/$tag.out"
  run "$tag.section" density examples/cracks.txt "$grid" --section Y --angle 45 -o "$out/$tag.section.out"
done
echo "outputs in $out: $(ls "$out" | wc -l) files"
