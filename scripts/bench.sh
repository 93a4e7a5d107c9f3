#!/usr/bin/env bash
# Benchmarks: the link natively over a pty, and through the Win32 port under Wine, both
# against kestos-sim with 9600-baud byte timing; the pages' drawing and refresh under Wine.
# Figures, not pass/fail.
# Usage: bench.sh [link rounds] [readings rounds] [parameter page rounds] [page switches]
#                 [oscilloscope ticks]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}
rounds=${1:-40}

"$root/scripts/deps.sh"
"$root/scripts/build.sh" native win

echo "== native (POSIX port over a pty)"
"$build/native/bench/link_bench" "$rounds" 2>/dev/null

echo "== KestoS's Win32 port under Wine, COM1"
source "$root/scripts/wine_env.sh" "$build/win"
wine_prefix_init
kestos_start_sim "$build/native/sim/kestos-sim" "$build/win/vcom1" || echo "kestos-sim did not start" >&2
sim=$kestos_sim_pid
trap 'kill $sim 2>/dev/null || true; wine_stop_server' EXIT
"$kestos_wine" "$build/win/bench/link_bench.exe" "$rounds" </dev/null
wine_stop_server
kill $sim 2>/dev/null || true # the parameter pages' bench starts its own

echo "== Readings page drawing and the parameter pages under Wine (virtual display 1280x1024)"
cd "$build/run" 2>/dev/null || { mkdir -p "$build/run" && cd "$build/run"; }
rm -rf Lang && cp -r "$root/Lang" Lang
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source "$0/scripts/wine_env.sh" "$1"
  wine_start_server
  "$kestos_wine" "$1/bench/readings_bench.exe" "$2" </dev/null
  kestos_start_sim "$3" "$1/vcom1" || echo "kestos-sim did not start" >&2
  sim=$kestos_sim_pid
  "$kestos_wine" "$1/bench/params_bench.exe" "${4:-500}" "${5:-1000}" </dev/null
  "$kestos_wine" "$1/bench/scope_bench.exe" "${6:-10000}" </dev/null
  kill $sim
  wine_stop_server' "$root" "$build/win" "${2:-2000}" "$build/native/sim/kestos-sim" "${3:-}" "${4:-}" \
  "${5:-}"
