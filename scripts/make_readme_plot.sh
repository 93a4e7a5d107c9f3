#!/usr/bin/env bash
# docs/drive.svg for the README: kestos-cli records 40 s of kestos-sim's bench programme, with
# the controller silent for a few seconds in the middle, and draws the log. A live recording,
# so each run gives a slightly different picture; run it again when the plot changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${KESTOS_BUILD:-$root/build}/native
"$root/scripts/build.sh" native >/dev/null
dir=$(mktemp -d)
trap 'kill $sim 2>/dev/null || true; rm -rf "$dir"' EXIT
"$native/sim/kestos-sim" --link "$dir/tty" 2>/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$dir/tty" ] && break; sleep 0.1; done
"$native/cli/kestos-cli" --port "$dir/tty" record "$dir/drive.msl" --seconds 40 >/dev/null &
record=$!
sleep 22 # the engine has warmed and revved: then the cable is "pulled" for four seconds
kill -USR1 $sim
sleep 4
kill -USR2 $sim
wait $record
"$native/cli/kestos-cli" plot "$dir/drive.msl" --svg "$root/docs/drive.svg"
sed -i "s|$dir/||" "$root/docs/drive.svg"
echo "docs/drive.svg: $(grep -c $'^[0-9]*\\.[0-9]*\t' "$dir/drive.msl") rows"
