#!/usr/bin/env bash
# Every build type builds, natively and for Windows, with warnings as errors. The test trees
# cover native RelWithDebInfo, native Debug (with sanitizers) and windows Release; this builds
# the other five combinations into build/types/, and all of the 32-bit windows tree (the one the
# packages come from), its tests included, which are built but not run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}/types
toolchain=$root/cmake/mingw-w64-x86_64.cmake

"$root/scripts/deps.sh"
for combo in native:Release native:MinSizeRel win:Debug win:RelWithDebInfo win:MinSizeRel; do
  tree=${combo%%:*} type=${combo##*:}
  args=(-DCMAKE_BUILD_TYPE="$type")
  [ "$tree" = win ] && args+=("-DCMAKE_TOOLCHAIN_FILE=$toolchain")
  echo "== $tree $type"
  cmake -S "$root" -B "$build/$tree-$type" "${args[@]}" >/dev/null
  cmake --build "$build/$tree-$type" -j"$(nproc)" -- --no-print-directory >/dev/null
done
echo "== win32 Release, every target"
"$root/scripts/deps.sh" dist
"$root/scripts/build.sh" win32 >/dev/null
echo "== every build type builds"
