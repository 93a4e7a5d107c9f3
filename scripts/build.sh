#!/usr/bin/env bash
# Configures and builds the trees: native, native with sanitizers, 64-bit windows, and the
# 32-bit windows tree the packages are made from. A tree is configured again when what it was
# configured with (its options, or its toolchain file's contents) has changed since.
# Usage: build.sh [native|asan|win|win32|fuzz ...]   (default: native asan win)
# KESTOS_BUILD_TARGETS="a b" builds only those targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}
jobs=$(nproc)

trees=("$@")
[ ${#trees[@]} -eq 0 ] && trees=(native asan win)

for t in "${trees[@]}"; do
  toolchain="" compilers=""
  case $t in
    native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan) args=(-DCMAKE_BUILD_TYPE=Debug -DKESTOS_SANITIZE=ON) ;;
    win) args=(-DCMAKE_BUILD_TYPE=Release) toolchain=$root/cmake/mingw-w64-x86_64.cmake ;;
    win32) args=(-DCMAKE_BUILD_TYPE=Release) toolchain=$root/cmake/mingw-w64-i686.cmake ;;
    fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTOS_FUZZ=ON) compilers=clang ;;
    *) echo "build.sh: unknown tree $t" >&2; exit 2 ;;
  esac
  [ -n "$toolchain" ] && args+=("-DCMAKE_TOOLCHAIN_FILE=$toolchain")
  tree=$build/$t
  # What the tree is configured with; CMake keeps a cached toolchain and ignores a new one, so
  # a change starts the cache afresh (the objects stay and rebuild as their flags say).
  configured_with="${args[*]} $compilers ${toolchain:+$(sha256sum "$toolchain" | cut -d' ' -f1)}"
  if [ ! -f "$tree/CMakeCache.txt" ] || [ "$(cat "$tree/.kestos-configured" 2>/dev/null)" != "$configured_with" ]; then
    rm -rf "$tree/CMakeCache.txt" "$tree/CMakeFiles"
    if [ "$compilers" = clang ]; then
      CC=clang CXX=clang++ cmake -S "$root" -B "$tree" "${args[@]}" >/dev/null
    else
      cmake -S "$root" -B "$tree" "${args[@]}" >/dev/null
    fi
    printf '%s' "$configured_with" >"$tree/.kestos-configured"
  fi
  targets=()
  for target in ${KESTOS_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
  cmake --build "$tree" -j"$jobs" "${targets[@]}" -- --no-print-directory
done
