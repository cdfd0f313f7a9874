#!/usr/bin/env bash
# Makes the Wine prefix the window's tests run in (tests/wine/wine_window_e2e_test.cpp), once:
# a prefix of scripts/wine-run.sh, then what a test needs of it under Xvfb, which has no
# window manager: Wine's own desktop (title bars, and no 2 s stall at the first message box),
# and the Japanese window font mapped to the IPA Gothic fonts installed here (Wine has no
# "ＭＳ ゴシック"; real Japanese Windows has). Test-prefix settings, none of them the program's.
#   tests/wine/window_prefix.sh PREFIX
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="$1"
"$here/../../scripts/wine-run.sh" --prefix "$prefix" --init
stamp="$prefix/.vq-window-ready"
[ -e "$stamp" ] && exit 0
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
# regedit reads a .reg file of version 5 in UTF-16LE; the face names are not ASCII.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS Gothic"="IPAGothic"' \
  '"MS UI Gothic"="IPAPGothic"' '' \
  | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
env -u DISPLAY wine regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "Z:$reg")"
wineserver -w
touch "$stamp"
