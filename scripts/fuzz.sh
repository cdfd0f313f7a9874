#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz/ (make fuzz builds them) on its corpus.
#   scripts/fuzz.sh [--runs N] [SECONDS] [TARGET...]
# Each target stops after SECONDS (default $FUZZ_SECONDS or 60) or, with --runs N, after N
# inputs if that comes first; its line gives the inputs run and the inputs per second.
# A --runs smoke is the same on every machine: fixed seed ($FUZZ_SEED or 1), the committed seeds
# only, and what it finds kept apart from the long runs' corpus.
# Seeds: tests/fuzz/corpus/TARGET (committed). What a run finds goes to build-fuzz/corpus/TARGET
# (a smoke's to build-fuzz/smoke-corpus/TARGET), crashes to build-fuzz/artifacts/TARGET/, the
# output to build-fuzz/logs/TARGET.log.
set -u
cd "$(dirname "$0")/.."
runs=""
if [ "${1:-}" = "--runs" ]; then runs=$2; shift 2; fi
seconds=${1:-${FUZZ_SECONDS:-60}}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_update_file fuzz_link_receive fuzz_boot_receive fuzz_fault_plan fuzz_sim_control
  fuzz_boot_exchange fuzz_link_engine fuzz_journal fuzz_checksum_text fuzz_cli_options fuzz_window_options
  fuzz_sim_options)

out=build-fuzz
failed=0
for t in "${targets[@]}"; do
  bin=$out/tests/fuzz/$t
  [ -x "$bin" ] || { echo "$t: not built (make fuzz builds it)" >&2; failed=1; continue; }
  corpus=$out/corpus/$t
  opts=(-max_total_time="$seconds")
  if [ -n "$runs" ]; then
    opts+=(-runs="$runs" -seed="${FUZZ_SEED:-1}")
    corpus=$out/smoke-corpus/$t
    rm -rf "$corpus"
  fi
  mkdir -p "$corpus" "$out/artifacts/$t" "$out/logs"
  if [ "$t" = fuzz_boot_exchange ] || [ "$t" = fuzz_link_engine ]; then
    # A script of 512 steps outlasts any stage or batch (its resends and time-outs included);
    # longer ones only wait longer.
    opts+=(-max_len=512)
  fi
  if [ "$t" = fuzz_update_file ]; then
    # Room for a body one byte longer than the flash; the seed of that size is made here.
    opts+=(-max_len=131200)
    long=$corpus/body_one_byte_too_long
    [ -f "$long" ] || { printf 'VQ-SYSTEM FIRMWARE Q.VELDORAN VER'; head -c 131088 /dev/zero | tr '\0' 'Z'; } > "$long"
  fi
  start=$(date +%s.%N)
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    "$bin" "${opts[@]}" -print_final_stats=1 -timeout=30 -rss_limit_mb=2048 \
      -artifact_prefix="$out/artifacts/$t/" "$corpus" "tests/fuzz/corpus/$t" > "$out/logs/$t.log" 2>&1
  rc=$?
  elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }')
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$out/logs/$t.log" | tail -1)
  execs=$(grep -E 'stat::number_of_executed_units' "$out/logs/$t.log" | awk '{print $2}')
  if [ $rc -ne 0 ]; then
    echo "$t: FAILED (exit $rc), see $out/logs/$t.log and $out/artifacts/$t/"
    grep -m6 -E 'invariant failed|ERROR|SUMMARY|Test unit written' "$out/logs/$t.log" | sed 's/^/  /'
    failed=1
  else
    rate=$(awk -v n="${execs:-0}" -v t="$elapsed" 'BEGIN { printf "%d", (t > 0 ? n / t : 0) }')
    printf '%s: %s inputs in %.1f s, %s inputs/s; %s\n' "$t" "${execs:-?}" "$elapsed" "$rate" "${done_line:-no final line}"
  fi
done
exit $failed
