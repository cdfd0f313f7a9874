#!/usr/bin/env bash
# How long vq-update-cli takes to report a missing port and a port held by another program
# (step 2, the first step that opens it): wall time from start to exit, three runs each.
#   bench/port_problem_times.sh [BUILD_DIR]   (default build)
# The holder is the e2e test's own --hold mode, which opens the port as the tool does.
set -eu
build=$(cd "${1:-build}" && pwd)
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$tmp"' EXIT
export XDG_STATE_HOME=$tmp/state
"$build/vq-make-update-file" --out "$tmp/fw.bin" >/dev/null
ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(((t1 - t0) / 1000000)); }
line() { printf '  %-34s' "$1"; shift; for _ in 1 2 3; do printf ' %5s ms' "$(ms "$@")"; done; echo; }
echo "port problems reported by vq-update-cli (start to exit, 3 runs):"
line "missing port (step 2)" "$build/vq-update-cli" --port "$tmp/no-such-port" --file "$tmp/fw.bin" --switch-ready
"$build/vq-sim" --no-stdin --link "$tmp/link" >/dev/null 2>&1 &
for _ in $(seq 50); do [ -e "$tmp/link" ] && break; sleep 0.1; done
"$build/operator_safety_e2e_test" --hold "$tmp/link" >"$tmp/held" &
for _ in $(seq 50); do grep -q held "$tmp/held" 2>/dev/null && break; sleep 0.1; done
line "port held by another program" "$build/vq-update-cli" --port "$tmp/link" --file "$tmp/fw.bin" --switch-ready
