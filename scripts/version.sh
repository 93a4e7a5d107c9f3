#!/usr/bin/env bash
# Prints the program's version as the project's CMakeLists.txt gives it, for the scripts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sed -n 's/^project(KestoS VERSION \([0-9][0-9.]*\) .*/\1/p' "$root/CMakeLists.txt"
