#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, if any is missing.
#   scripts/deps.sh [PKG...]           install what is missing (and the extra packages named)
#   scripts/deps.sh --check [PKG...]   list what is missing and exit 1 if anything is
#   scripts/deps.sh --windows [...]    the Windows cross build's packages instead: MinGW-w64
#                                      (POSIX threads), GoogleTest's sources, Wine, zip, NSIS,
#                                      osslsigncode; Xvfb, ImageMagick and the IPA fonts for
#                                      the window's tests under Wine
# Only real package names: a virtual one (provided by another package) never reads as
# installed, and would make every run install again.
set -eu
check=no
windows=no
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=yes; shift ;;
    --windows) windows=yes; shift ;;
    *) break ;;
  esac
done
if [ "$windows" = yes ]; then
  # Debian 12 amd64: wine64 alone runs the 64-bit programs, no i386 architecture needed.
  pkgs=(make cmake googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        wine wine64 zip nsis osslsigncode xvfb xauth imagemagick fonts-ipafont-gothic "$@")
else
  pkgs=(build-essential cmake pkgconf googletest libgtest-dev libgmock-dev libbenchmark-dev
        qt6-base-dev
        xvfb xauth x11-utils fonts-ipafont-gothic fonts-liberation imagemagick "$@")
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "$check" = yes ]; then
  [ ${#missing[@]} -eq 0 ] && exit 0
  echo "Missing: ${missing[*]}" >&2
  exit 1
fi
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then SUDO=""
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then SUDO="sudo"
else
  echo "Missing packages and no root rights. Run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
