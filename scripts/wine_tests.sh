#!/usr/bin/env bash
# Runs the windows build's tests under Wine: a private prefix, COM1 wired to kestos-sim,
# COM3 to a silent kestos-sim, all on a virtual X display.
# Usage: wine_tests.sh WINDOWS_BUILD NATIVE_BUILD [ctest arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:?windows build}" && pwd)
native=$(cd "${2:?native build}" && pwd)
shift 2

source "$root/scripts/wine_env.sh" "$win"
wine_prefix_init

sim="$native/sim/kestos-sim"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  wine_stop_server
}
trap cleanup EXIT

kestos_start_sim "$sim" "$win/vcom1" --log "$win/sim-com1.log" || echo "kestos-sim on COM1 did not start" >&2
pids+=("$kestos_sim_pid")
kestos_start_sim "$sim" "$win/vcom3" --silent || echo "the silent kestos-sim on COM3 did not start" >&2
pids+=("$kestos_sim_pid")

export KESTOS_NATIVE_BUILD="$native" KESTOS_ROOT="$root" KESTOS_WIN_BUILD="$win"

# Unit, port and GUI tests on one virtual display with one Wine server.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source "$KESTOS_ROOT/scripts/wine_env.sh" "$0"
  wine_start_server
  status=0
  ctest --test-dir "$0" --output-on-failure -LE "desktop|e2e|soak" "$@" || status=$?
  wine_stop_server
  exit $status' "$win" "$@"

# Tests that need a desktop of their own size, or the real program with its own simulator,
# each start their own display and Wine server.
for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
wait 2>/dev/null || true
pids=()
ctest --test-dir "$win" --output-on-failure -L "desktop|e2e" "$@"
