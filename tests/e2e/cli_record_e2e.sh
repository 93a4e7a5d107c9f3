#!/usr/bin/env bash
# kestos-cli record against kestos-sim on a pty: --seconds ends it, so does Ctrl-C, each
# leaving a complete log that kestos-cli plot draws; with the link down there is no file.
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
sim=$!
pids+=("$sim")
wait_for 5 test -e "$dir/tty" || fail "kestos-sim did not start"

"$cli" --port "$dir/tty" record "$dir/timed.msl" --seconds 2 >"$dir/timed.out" ||
  fail "record --seconds exited with $?"
grep -q '^recorded [0-9]* rows' "$dir/timed.out" || fail "no closing line: $(cat "$dir/timed.out")"
progress=$(grep -c ' s  [0-9]* rows  link up$' "$dir/timed.out" || true)
[ "$progress" -ge 1 ] && [ "$progress" -le 3 ] || fail "$progress progress lines in 2 s"
rows=$(grep -c $'^[0-9]*\\.[0-9]*\t' "$dir/timed.msl")
echo "record --seconds 2: $rows rows"
[ "$rows" -ge 60 ] || fail "only $rows rows in 2 s at 9600 baud"

"$cli" --port "$dir/tty" record "$dir/stopped.msl" >"$dir/stopped.out" &
record=$!
pids+=("$record")
rows_above() { [ "$(awk '/^[0-9]+\.[0-9]+\t/ { n++ } END { print n + 0 }' "$dir/stopped.msl" 2>/dev/null)" -gt "$1" ]; }
wait_for 5 rows_above 20 || fail "record writes no rows"
kill -INT "$record"
status=0
wait "$record" || status=$?
[ "$status" = 0 ] || fail "Ctrl-C ended record with $status"
grep -q '^recorded' "$dir/stopped.out" || fail "Ctrl-C did not close the log"

for log in timed stopped; do
  "$cli" plot "$dir/$log.msl" --svg "$dir/$log.svg" || fail "plot of $log.msl"
  python3 "$root/tests/e2e/check_drive_log.py" "$dir/$log.msl" "$dir/sim.log" "$dir/$log.svg" \
    --markers 0 --link-rows 0 || fail "$log.msl does not hold what the simulator sent"
done

kill -USR1 "$sim"
code=0
"$cli" --port "$dir/tty" record "$dir/none.msl" --seconds 1 2>/dev/null || code=$?
[ "$code" = 3 ] || fail "record with the link down exited $code, not 3"
[ ! -e "$dir/none.msl" ] || fail "a file was made with the link down"
echo PASS
