#!/usr/bin/env bash
# Runs one command under Wine on its own virtual display of WxH pixels, with its own Wine
# server, so that the program sees that desktop size.
# Usage: on_display.sh WxH command [args]
set -euo pipefail
size=${1:?WxH}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_WIN_BUILD:-${KESTOS_BUILD:-$root/build}/win}
source "$root/scripts/wine_env.sh" "$build"
wine_stop_server
exec xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
  source "$0/scripts/wine_env.sh" "$1"
  shift
  wine_start_server
  status=0
  "$@" || status=$?
  wine_stop_server
  exit $status' "$root" "$build" "$@"
