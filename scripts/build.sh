#!/usr/bin/env bash
# Configures (once) and builds the three trees: native, native with sanitizers, windows.
# Usage: build.sh [native|asan|win ...]   (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}
jobs=$(nproc)

trees=("$@")
[ ${#trees[@]} -eq 0 ] && trees=(native asan win)

for t in "${trees[@]}"; do
  case $t in
    native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan) args=(-DCMAKE_BUILD_TYPE=Debug -DKESTOS_SANITIZE=ON) ;;
    win) args=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake") ;;
    *) echo "build.sh: unknown tree $t" >&2; exit 2 ;;
  esac
  if [ ! -f "$build/$t/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build/$t" "${args[@]}" >/dev/null
  fi
  cmake --build "$build/$t" -j"$jobs" -- --no-print-directory
done
