#!/usr/bin/env bash
# Starts vq-update under a virtual X display in English and in Japanese and saves a PNG of its
# window for each: out/screenshots/main_en.png, out/screenshots/main_ja.png.
#   scripts/screenshots.sh [path/to/vq-update]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$here/build/vq-update}
out=$here/out/screenshots
mkdir -p "$out"
[ -x "$bin" ] || { echo "no vq-update at $bin (run: make build)" >&2; exit 1; }

# A free display number: no lock file and no socket.
display=99
while [ -e /tmp/.X$display-lock ] || [ -e /tmp/.X11-unix/X$display ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=:$display
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

shoot() {  # lang-tag LANG
  local tag=$1 lang=$2
  LANG=$lang LC_ALL= LANGUAGE= "$bin" &
  app=$!
  # Wait for the main window (object/class name vq-update) to be mapped, then let it paint.
  local id=
  for _ in $(seq 100); do
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"vq-update" "vq-update"/ && $0 ~ /[0-9]+x[0-9]+/ {print $1; exit}')
    [ -n "$id" ] && break
    sleep 0.1
  done
  sleep 1
  if [ -n "$id" ]; then import -window "$id" "$out/main_$tag.png"
  else import -window root "$out/main_$tag.png"; fi
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
  echo "saved $out/main_$tag.png"
}

shoot en en_US.UTF-8
shoot ja ja_JP.UTF-8
