#!/usr/bin/env bash
# kestos-cli record against kestos-sim on a pty, ended by Ctrl-C: a complete log of what the
# simulator sent, which kestos-cli plot draws. (--seconds and the link down at the start are
# in the in-process CLI tests.)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=${KESTOS_NATIVE_BUILD:-$root/build/native}
cli="$native/cli/kestos-cli"
dir=$(mktemp -d)
pids=()
cleanup() {
  local status=$? p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ "$status" = 0 ] && rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
wait_for() { # SECONDS COMMAND...
  local limit=$1 _
  shift
  for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

"$native/sim/kestos-sim" --link "$dir/tty" --log "$dir/sim.log" --warm 2>/dev/null &
pids+=($!)
wait_for 5 test -e "$dir/tty" || fail "kestos-sim did not start"

"$cli" --port "$dir/tty" record "$dir/stopped.msl" >"$dir/stopped.out" &
record=$!
pids+=("$record")
rows_above() { [ -e "$dir/stopped.msl" ] && [ "$(awk '/^[0-9]+\.[0-9]+\t/ { n++ } END { print n + 0 }' "$dir/stopped.msl" 2>/dev/null)" -gt "$1" ]; }
wait_for 5 rows_above 20 || fail "record writes no rows"
kill -INT "$record"
status=0
wait "$record" || status=$?
[ "$status" = 0 ] || fail "Ctrl-C ended record with $status"
grep -q '^recorded' "$dir/stopped.out" || fail "Ctrl-C did not close the log"

"$cli" plot "$dir/stopped.msl" --svg "$dir/stopped.svg" || fail "plot of the log"
python3 "$root/tests/e2e/check_drive_log.py" "$dir/stopped.msl" "$dir/sim.log" "$dir/stopped.svg" \
  --markers 0 --link-rows 0 || fail "the log does not hold what the simulator sent"
echo PASS
