#!/usr/bin/env bash
# The window program's Qt files compiled (syntax only) by the MinGW compiler against Debian's
# Qt 6 headers: Debian has no Qt for MinGW, so this is how far the window's Windows build is
# tried here. Catches a Linux-only call or header in the Qt files; not a link, not a run.
#   scripts/windows-qt-check.sh [BUILD_DIR]   (default build: its moc output is used)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
qt=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
flags=(-std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -Wno-attributes -DVQ_VERSION='"check"'
       -I src -I "$qt" -I "$qt/QtCore" -I "$qt/QtGui" -I "$qt/QtWidgets" -I "$build/vqqt_autogen/include")
failed=0
for f in src/platform/qt/*.cpp src/ui/*.cpp src/main.cpp; do
  x86_64-w64-mingw32-g++-posix "${flags[@]}" "$f" || { echo "FAIL: $f" >&2; failed=1; }
done
[ $failed -eq 0 ] && echo "the Qt files compile for Windows (syntax only)"
exit $failed
