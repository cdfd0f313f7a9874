#!/usr/bin/env bash
# make run: a whole firmware update against the simulated instrument, no hardware needed.
#
# Writes a sample update file, starts vq-sim on a pseudo-terminal (FW switch moved by the
# simulator itself) and vq-update with COM1 pinned to it.
#   - With a display: you click through the wizard.
#   - Without one (or VQ_DEMO_HEADLESS=1): the wizard walks itself under Xvfb, once in English
#     and once in Japanese, saving a PNG of every step in out/demo/screens.
# Ends with the simulator's report; exits non-zero unless the flash equals the update file, the
# model name, serial number and command-4 value are those the instrument had before, and the
# simulator saw no protocol violation.
#   scripts/run_demo.sh [build-dir]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
update=$build/vq-update
sim=$build/vq-sim
maker=$build/vq-make-update-file
for b in "$update" "$sim" "$maker"; do
  [ -x "$b" ] || { echo "missing $b (run: make build)" >&2; exit 1; }
done

out=$here/out/demo
screens=$out/screens
sample=$out/sample/VQ_1.2.0.bin
mkdir -p "$out/sample" "$screens"
rm -f "$screens"/*.png
"$maker" --out "$sample" --version 1.2.0 >/dev/null

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vq-demo.XXXXXX")
sim_pid=
cleanup() {
  exec 3>&-
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The instrument as it leaves the factory with firmware 1.1.5.
start_sim() {
  rm -f "$tmp/ctl" "$tmp/vq-com1" "$tmp/sim.sock" "$tmp/report.txt"
  mkfifo "$tmp/ctl"
  "$sim" --switch auto --link "$tmp/vq-com1" --control "$tmp/sim.sock" --report "$tmp/report.txt" \
    --expect-file "$sample" --model "VQA-7001" --serial " 12345" --version 1.1.5 \
    <"$tmp/ctl" >"$tmp/sim.out" 2>&1 &
  sim_pid=$!
  exec 3>"$tmp/ctl"  # control lines go to the simulator's stdin
  for _ in $(seq 100); do [ -e "$tmp/vq-com1" ] && break; sleep 0.05; done
  [ -e "$tmp/vq-com1" ] || { echo "vq-sim did not start:" >&2; cat "$tmp/sim.out" >&2; exit 1; }
  sim_control dump
  cp "$tmp/report.txt" "$tmp/initial.txt"
}

# Sends one control line and waits for the simulator's answer.
sim_control() {
  local before
  before=$(grep -c '^ok\|^error' "$tmp/sim.out" || true)
  echo "$1" >&3
  for _ in $(seq 200); do
    [ "$(grep -c '^ok\|^error' "$tmp/sim.out" || true)" -gt "$before" ] && return 0
    kill -0 "$sim_pid" 2>/dev/null || return 0
    sleep 0.05
  done
  echo "vq-sim did not answer \"$1\"" >&2
  return 1
}

stop_sim() {
  sim_control quit || true
  exec 3>&-
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
}

value() { grep -m1 "^$1=" "$2" | cut -d= -f2-; }

# Prints the report's summary; fails unless the update succeeded and the identity is back.
check_report() {
  local r=$tmp/report.txt i=$tmp/initial.txt ok=0
  [ -f "$r" ] || { echo "no report from vq-sim" >&2; return 1; }
  echo "--- simulator report ($1)"
  printf '  flash_matches_update_file=%s\n' "$(value flash_matches_update_file "$r")"
  printf '  model="%s" (before: "%s")\n' "$(value model "$r")" "$(value model "$i")"
  printf '  serial="%s" (before: "%s")\n' "$(value serial "$r")" "$(value serial "$i")"
  printf '  cmd04=%s (before: %s)\n' "$(value cmd04_bytes "$r")" "$(value cmd04_bytes "$i")"
  printf '  firmware=%s.%s\n' "$(value fw_main "$r")" "$(value fw_rev "$r")"
  printf '  violations=%s\n' "$(value violations "$r")"
  grep '^violation ' "$r" | head -5 | sed 's/^/  /' || true
  [ "$(value flash_matches_update_file "$r")" = yes ] || { echo "FAIL: the flash does not equal the update file"; ok=1; }
  for k in model_hex serial_hex cmd04_bytes; do
    [ "$(value $k "$r")" = "$(value $k "$i")" ] || { echo "FAIL: $k changed"; ok=1; }
  done
  [ "$(value violations "$r")" = 0 ] || { echo "FAIL: protocol violations"; ok=1; }
  return $ok
}

have_display() {
  [ -n "${VQ_DEMO_HEADLESS:-}" ] && return 1
  if [ -n "${DISPLAY:-}" ] && command -v xwininfo >/dev/null && xwininfo -root >/dev/null 2>&1; then return 0; fi
  local w=${WAYLAND_DISPLAY:-}
  [ -n "$w" ] || return 1
  case $w in /*) ;; *) w=${XDG_RUNTIME_DIR:-/nonexistent}/$w ;; esac
  [ -S "$w" ]
}

status=0
if have_display; then
  start_sim
  cat <<EOF

vq-update is starting with COM1 connected to a simulated VQ instrument (model VQA-7001,
firmware 1.1.5). Press the "..." button and choose the update file
  $sample
then press Next through the eight steps. You need not touch the FW switch at steps 4 and 6:
the simulator moves it by itself when the tool talks boot mode (or normal mode) to it.
Close the window or press End at step 8 when you are done.

EOF
  "$update" --com 1="$tmp/vq-com1" || status=$?
  stop_sim
  check_report "your run" || status=1
else
  echo "No display: the wizard walks itself under Xvfb, in English and then in Japanese."
  for lang in en_US.UTF-8 ja_JP.UTF-8; do
    start_sim
    echo "=== vq-update, LANG=$lang"
    rc=0
    LANG=$lang LC_ALL= LC_MESSAGES= LANGUAGE= xvfb-run -a -s "-screen 0 1280x1024x24" \
      "$update" --com 1="$tmp/vq-com1" --autopilot "$screens" --file "$sample" 2>"$tmp/update.err" || rc=$?
    grep -v 'XDG_RUNTIME_DIR' "$tmp/update.err" >&2 || true
    [ $rc -eq 0 ] || { echo "FAIL: vq-update ended with exit code $rc"; status=1; }
    stop_sim
    check_report "$lang" || status=1
  done
  echo "Screenshots of every step: $screens"
fi

if [ $status -eq 0 ]; then echo "The update succeeded."; else echo "The update FAILED." >&2; fi
exit $status
