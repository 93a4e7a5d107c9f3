#!/usr/bin/env bash
# Installs what building, running and testing KestoS needs, when it is missing (Debian 12).
# Usage: deps.sh [dist] [fuzz] [test]
#   (none): what `make run` needs: the native and 64-bit windows builds, Wine's 64-bit half and
#           a virtual display;
#   dist:   what the packages need: the 32-bit compilers, NSIS, zip and 7-Zip, and Wine's
#           32-bit half (from the i386 architecture) where this machine runs 32-bit programs;
#   fuzz:   clang with libFuzzer;
#   test:   what the tests need beyond that (python3 for the generated files' check).
set -euo pipefail
# Set by a script that has already run this for everything it starts.
[ "${KESTOS_DEPS_DONE:-}" = 1 ] && exit 0
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/i386.sh"

packages=(
  cmake make g++ libgtest-dev googletest
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 wine xvfb xdotool imagemagick x11-apps xauth fonts-wine
)
for extra in "$@"; do
  case $extra in
    dist)
      packages+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 nsis zip unzip p7zip-full)
      if i386_runs; then
        packages+=(wine32:i386)
      elif ! wine32_installed; then
        echo "deps.sh: not installing Wine's 32-bit half ($(i386_reason)): the installer and" \
          "the installed 32-bit programs will not be run, only inspected"
      fi
      ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    test) packages+=(python3) ;;
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
# A mirror in the middle of a sync fails one index now and then; the others still serve, so a
# failed update is tried again and then left to the install, which says what it cannot find.
for attempt in 1 2 3; do
  $sudo apt-get update -q && break
  [ "$attempt" = 3 ] && echo "deps.sh: apt-get update failed three times; installing from what it has" >&2
  sleep 5
done
if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  # The i386 half depends on the mirror's i386 indexes matching the amd64 ones; when they do
  # not, everything else is still installed and the packages' run is left out.
  [[ " ${missing[*]} " == *":i386 "* ]] || exit 1
  echo "deps.sh: Wine's 32-bit half cannot be installed from this mirror now: the installer" \
    "and the installed 32-bit programs will not be run, only inspected"
  rest=()
  for p in "${missing[@]}"; do [[ $p == *:i386 ]] || rest+=("$p"); done
  $sudo apt-get install -y -q --no-install-recommends "${rest[@]}"
fi
