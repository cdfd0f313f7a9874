#!/usr/bin/env bash
# One whole update by the Linux build and one by the Windows build under Wine, each against a
# fresh vq-sim with the instrument's own timings and each byte its line time (--pace), the
# link at 115200 (Wine on a pseudo-terminal cannot set 307200) and writing at 38400: wall
# time, the program's own duration (--json) and their ratio. Needs make build, make windows.
#   bench/wine_update_time.sh [BUILD_DIR] [WINDOWS_BUILD_DIR]   (default build, build-windows)
set -eu
build=$(cd "${1:-build}" && pwd)
win=$(cd "${2:-build-windows}" && pwd)
prefix=$win/wineprefix
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -f "$prefix/dosdevices/com33"; rm -rf "$tmp"' EXIT
export XDG_STATE_HOME=$tmp/state
"$(dirname "$0")/../scripts/wine-run.sh" --prefix "$prefix" --init >/dev/null
"$build/vq-make-update-file" --out "$tmp/new.bin" --version 1.2.0 --seed 3 >/dev/null
"$build/vq-make-update-file" --out "$tmp/old.bin" --version 1.0.3 --seed 11 >/dev/null
common=(--baud 115200 --writing-rate 38400 --switch-ready --lang en --json)

# One update against a fresh instrument on $tmp/link; prints "WALL_S DURATION_S".
update() {
  local name=$1 t0 t1
  shift
  rm -f "$tmp/link"
  "$build/vq-sim" --no-stdin --link "$tmp/link" --report "$tmp/$name.report" --switch auto \
    --pace --link-settings 115200,O,8,1 --model VQA-7001 --serial " 13579" --cmd04 9 \
    --flash "$tmp/old.bin" --expect-file "$tmp/new.bin" >/dev/null 2>&1 &
  local sim=$!
  for _ in $(seq 50); do [ -e "$tmp/link" ] && break; sleep 0.1; done
  ln -sfn "$tmp/link" "$prefix/dosdevices/com33"
  t0=$(date +%s%N)
  "$@" >"$tmp/$name.json" 2>"$tmp/$name.log" || true
  t1=$(date +%s%N)
  kill "$sim"
  wait "$sim" 2>/dev/null || true
  grep -q "^flash_matches_update_file=yes" "$tmp/$name.report" || { echo "$name: the update failed:" >&2; tail -5 "$tmp/$name.log" >&2; exit 1; }
  echo "$(((t1 - t0) / 1000000)) $(sed -En 's/.*"duration_s":([0-9.]+).*/\1/p' "$tmp/$name.json")"
}

read -r lwall ldur < <(update linux "$build/vq-update-cli" --port "$tmp/link" --file "$tmp/new.bin" "${common[@]}")
read -r wwall wdur < <(update wine "$(dirname "$0")/../scripts/wine-run.sh" --prefix "$prefix" \
  "$win/vq-update-cli.exe" --com 33 --file "Z:${tmp//\//\\}\\new.bin" "${common[@]}")
awk -v lw="$lwall" -v ld="$ldur" -v ww="$wwall" -v wd="$wdur" 'BEGIN {
  printf "whole update, link 115200, writing 38400, one run each\n"
  printf "  %-28s %8.2f s wall  %8.2f s in the program\n", "Linux (vq-update-cli)", lw / 1000, ld
  printf "  %-28s %8.2f s wall  %8.2f s in the program\n", "Wine (vq-update-cli.exe)", ww / 1000, wd
  printf "  %-28s %8.3f       %8.3f\n", "ratio Wine / Linux", ww / lw, wd / ld
}'
