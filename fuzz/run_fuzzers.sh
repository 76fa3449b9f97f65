#!/bin/sh
# Runs every fuzz target of a fuzz build for a bounded time, seeded from the
# examples, and fails when a target finds a crash, a hang, a leak or
# undefined behaviour.
# Usage: sh fuzz/run_fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET] [EXTRA_CORPUS_DIR...]
# QUORIX_FUZZ_JOBS runs that many targets side by side (default 1).
set -eu
build=$(cd "$1" && pwd)
seconds=${2:-30}
shift $(( $# >= 2 ? 2 : 1 ))
src=$(cd "$(dirname "$0")/.." && pwd)
work=$build/fuzz-work
jobs=${QUORIX_FUZZ_JOBS:-1}
ex=$src/examples
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts" "$work/logs"

# Seeds: the examples as each target reads its input (option bytes first).
seed() {  # target name prefix-bytes file...
  t=$1; name=$2; prefix=$3; shift 3
  mkdir -p "$work/seeds/$t"
  { printf "$prefix"; for f in "$@"; do cat "$f"; done; } > "$work/seeds/$t/$name"
}
sep='\n===\n'
for f in "$ex"/*.rst; do seed simple_grid "$(basename "$f")" "" "$f"; done
for f in "$ex"/*.grd; do seed full_grid "$(basename "$f")" "" "$f"; done
seed plain copper111 '\000\001' "$ex/copper111.pol"
seed plain centre '\004\001' "$ex/copper111_centre.pol"
seed plain offset '\005\001' "$ex/copper200_offset.pol"
seed hash_list copper1 '\000\001' "$ex/copper.xpe"
seed hash_list copper3 '\000\003' "$ex/copper.xpe"
seed hash_list implied '\360\002' "$ex/copper.xpe"
seed wko_list quartz1 '\000\001' "$ex/quartz.wko"
seed wko_list quartz2 '\000\002' "$ex/quartz.wko"
seed popla copper "" "$ex/copper.epf"
seed columns copper111 "" "$ex/copper111.jul"
for f in "$ex"/*.pol "$ex"/*.xpe "$ex"/*.wko "$ex"/*.epf "$ex"/*.jul; do seed layout "$(basename "$f")" '\000' "$f"; done
seed layout xpo '\001' "$ex/copper.xpe"
mkdir -p "$work/seeds/ini"
printf '[Files]\r\ngridfile=grid5.rst\r\n[Options]\r\nmrd=1\r\n[Plot]\r\nplotstretch=5\r\n[Contour]\r\ncolor1=32896\r\ncolor2=255\r\n[SaveFormat]\r\ncount=6\r\ndigits=8\r\n[Rotation]\r\nhemis=lower\r\n' > "$work/seeds/ini/quorix.ini"
mkdir -p "$work/seeds/xrdml_template"
cp "$src"/tests/io/data/*.xrdml "$work/seeds/xrdml_template/" 2>/dev/null || true
e2e() {  # name flags index grid data
  mkdir -p "$work/seeds/end_to_end"
  { printf "$2$3"; cat "$4"; printf "$sep"; cat "$5"; } > "$work/seeds/end_to_end/$1"
}
e2e plain '\000' '\001' "$ex/grid5.rst" "$ex/copper111.pol"
e2e filled '\070' '\001' "$ex/grid5.rst" "$ex/copper111.pol"
e2e centre '\120' '\001' "$ex/grid5_centre.rst" "$ex/copper111_centre.pol"
e2e offset '\201' '\001' "$ex/offset5.grd" "$ex/copper200_offset.pol"
e2e hash '\020' '\002' "$ex/grid5.rst" "$ex/copper.xpe"
e2e wko '\010' '\002' "$ex/grid5.rst" "$ex/quartz.wko"
{ cat "$work/seeds/end_to_end/plain"; printf "$sep"; cat "$work/seeds/ini/quorix.ini"; } > "$work/seeds/end_to_end/with_ini"
for extra in edt_file directional pf_add smoothing density xrdml uxd key_text rigaku_txt popla columns \
  wko_grid dubna seifert siemens_dump texd5 tex_einzel labotex emse gadds_slice explore3d xpert_text aachen queens inel autex; do
  [ -x "$build/fuzz/fuzz_$extra" ] || continue
  mkdir -p "$work/seeds/$extra"
  [ -d "$src/fuzz/seeds/$extra" ] && cp "$src/fuzz/seeds/$extra"/* "$work/seeds/$extra/" 2>/dev/null || true
done

run_one() {
  t=$1; shift
  mkdir -p "$work/corpus/$t" "$work/seeds/$t"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/$t-" "$work/corpus/$t" "$work/seeds/$t" "$@" > "$work/logs/$t.log" 2>&1 &
  pid=$!
  rc=0
  wait "$pid" || rc=$?
  # The scratch folder of a target that crashed or timed out stays behind.
  rm -rf "/dev/shm/quorix-fuzz-$pid" "${TMPDIR:-/tmp}/quorix-fuzz-$pid"
  if [ "$rc" -eq 0 ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/logs/$t.log")
    echo "fuzz_$t: ${runs:-?} runs in ${seconds}s, nothing found"
  else
    echo "fuzz_$t: FAILED, see $work/logs/$t.log and $work/artifacts/" >&2
    tail -n 30 "$work/logs/$t.log" >&2
    return 1
  fi
}

targets=""
for exe in "$build"/fuzz/fuzz_*; do
  [ -x "$exe" ] && targets="$targets ${exe##*/fuzz_}"
done
[ -n "$targets" ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

status=0
running=0
for t in $targets; do
  if [ "$jobs" -gt 1 ]; then
    run_one "$t" "$@" > "$work/logs/$t.summary" 2>&1 &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then wait; running=0; fi
  else
    run_one "$t" "$@" || status=1
  fi
done
if [ "$jobs" -gt 1 ]; then
  wait
  for t in $targets; do
    cat "$work/logs/$t.summary"
    grep -q FAILED "$work/logs/$t.summary" && status=1
  done
fi
exit $status
