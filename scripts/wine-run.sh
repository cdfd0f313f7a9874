#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in a prefix of its own, and exits with
# the program's exit status. CTest uses it as the emulator of the build-windows tests.
#   scripts/wine-run.sh [--prefix DIR] PROGRAM.exe [ARG...]
#   scripts/wine-run.sh [--prefix DIR] --init      create the prefix if missing, then exit
# The prefix: --prefix DIR, else $VQ_WINEPREFIX, else build-windows/wineprefix. Never the
# user's own ~/.wine: the programs write their update record and journal into the prefix's
# %LOCALAPPDATA%, and a test run must not mix with a real one.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="${VQ_WINEPREFIX:-$here/../build-windows/wineprefix}"
init=no
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) [ $# -ge 2 ] || { echo "wine-run.sh: --prefix needs a folder" >&2; exit 2; }
              prefix="$2"; shift 2 ;;
    --init) init=yes; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
if [ "$init" = no ] && [ $# -eq 0 ]; then
  echo "usage: wine-run.sh [--prefix DIR] PROGRAM.exe [ARG...] | [--prefix DIR] --init" >&2
  exit 2
fi
command -v wine >/dev/null || { echo "wine-run.sh: wine is not installed (scripts/deps.sh wine wine64)" >&2; exit 127; }

mkdir -p "$(dirname "$prefix")"
prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"

# Debian 12 amd64 has only the 64-bit Wine; no debug channels (VQ_WINEDEBUG=err+all to see why
# a program died), and no offer to download Mono or Gecko, which would wait for a click that
# never comes.
export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG="${VQ_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

# The stamp is written last, so a prefix this script began and was cut short (Ctrl+C in
# wineboot) is made again rather than half used; a prefix of someone else's is never removed.
# The lock keeps two tests started at once from building it twice.
stamp="$prefix/.vq-ready"
if [ ! -e "$stamp" ]; then
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -e "$stamp" ]; then
    if [ -e "$prefix/.vq-creating" ]; then
      wineserver -k 2>/dev/null || true
      rm -rf "$prefix"
    fi
    mkdir -p "$prefix"
    touch "$prefix/.vq-creating"
    echo "wine-run.sh: creating the Wine prefix $prefix" >&2
    # No window for the "updating configuration" notice, whatever the caller's display.
    env -u DISPLAY -u WAYLAND_DISPLAY wineboot -i >/dev/null 2>&1
    # wineboot returns before the registry is on disk; the server writes it as it exits.
    wineserver -w
    [ -f "$prefix/system.reg" ] || { echo "wine-run.sh: wineboot made no prefix in $prefix" >&2; exit 1; }
    touch "$stamp"
    rm -f "$prefix/.vq-creating"
  fi
  flock -u 9
  exec 9>&-
fi
[ "$init" = yes ] && exit 0

exec wine "$@"
