#!/usr/bin/env bash
# Runs KestoS against the simulated controller.
# Until the main window exists this shows kestos-cli watching kestos-sim.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}

"$root/scripts/deps.sh"
"$root/scripts/build.sh" native

link="$build/native/vcom-run"
"$build/native/sim/kestos-sim" --link "$link" --log "$build/native/sim-run.log" &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

"$build/native/cli/kestos-cli" --port "$link" read || true
"$build/native/cli/kestos-cli" --port "$link" watch --ticks "${KESTOS_TICKS:-100}"
