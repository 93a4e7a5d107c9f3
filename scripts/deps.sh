#!/usr/bin/env bash
# Installs what building, running and testing KestoS needs, when it is missing (Debian 12).
# Usage: deps.sh [dist] [fuzz]   dist: also what the packages and their tests need (the 32-bit
# compilers, NSIS, zip, and Wine's 32-bit half, which comes from the i386 architecture);
# fuzz: clang with libFuzzer.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 wine xvfb xdotool imagemagick x11-apps xauth fonts-wine
)
for extra in "$@"; do
  case $extra in
    dist) packages+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 nsis zip unzip wine32:i386) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "deps.sh: unknown extra $extra" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
