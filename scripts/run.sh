#!/usr/bin/env bash
# Runs KestoS.exe under Wine against kestos-sim on COM1, in build/run (which holds Lang/ and the
# program's KestoS.ini). On $DISPLAY when there is one; otherwise on a virtual display, saving a
# screenshot after a few seconds. Stops everything it started when KestoS.exe exits or on Ctrl+C.
# KESTOS_RUN_SECONDS=N ends the run after N seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}

"$root/scripts/deps.sh"
"$root/scripts/build.sh" native win

run="$build/run"
mkdir -p "$run"
cp "$build/win/shell/KestoS.exe" "$run/"
rm -rf "$run/Lang"
cp -r "$root/Lang" "$run/Lang"

source "$root/scripts/wine_env.sh" "$build/win"
wine_prefix_init
wine_stop_server

pids=()
cleanup() {
  trap - EXIT INT TERM
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wine_stop_server
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

kestos_start_sim "$build/native/sim/kestos-sim" "$build/win/vcom1" --log "$run/sim.log" ||
  echo "kestos-sim did not start; KestoS will show the link down" >&2
pids+=("$kestos_sim_pid")
echo "kestos-sim on COM1, frames logged to $run/sim.log"

virtual=0
if [ -z "${DISPLAY:-}" ]; then
  virtual=1
  for _ in $(seq 20); do
    n=$((100 + RANDOM % 800))
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "run.sh: the virtual display :$n did not start" >&2; exit 1; }
  export DISPLAY=":$n"
  echo "no DISPLAY: running on the virtual display $DISPLAY (1280x1024)"
fi

(cd "$run" && exec "$kestos_wine" KestoS.exe </dev/null >/dev/null 2>&1) &
program=$!
pids+=("$program")

if [ "$virtual" = 1 ]; then
  xdotool search --sync --name '^KestoS' >/dev/null 2>&1 || true
  sleep 4
  import -window root "$run/screenshot.png"
  echo "screenshot: $run/screenshot.png"
fi

if [ -n "${KESTOS_RUN_SECONDS:-}" ]; then
  ( sleep "$KESTOS_RUN_SECONDS"; kill "$program" 2>/dev/null ) &
  pids+=($!)
else
  echo "KestoS is running; close its window or press Ctrl+C to stop."
fi
wait "$program" 2>/dev/null || true
