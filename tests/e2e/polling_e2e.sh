#!/usr/bin/env bash
# KestoS.exe polls from the first tick: a status request every 50 ms while the controller
# answers, every 500 ms once three polls went unanswered, and 50 ms again when it comes back.
# Alt+F4 ends the program. (Gaps are medians with wide margins: the machines are shared.)
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare pol
e2e_start_sim
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 more_than 29 e2e_requests_since 1 01 || e2e_fail "fewer than 30 status polls in 10 s"
first=$(awk '$2 == "RX" { print $3, $4, $5, $6; exit }' "$e2e_log")
[ "$first" = "65 01 01 67" ] || e2e_fail "first frame was \"$first\", not a status request"
grep -q " RX 65 02 02 69" "$e2e_log" || e2e_fail "no readings poll while the controller answers"
# Median gap of the status requests logged from line $1 on, within $2..$3 ms.
expect_gap() {
  local gap
  gap=$(e2e_status_gap "$1")
  echo "$4: median status gap ${gap} ms"
  [ "$gap" -ge "$2" ] && [ "$gap" -le "$3" ] || e2e_fail "$4: status polls ${gap} ms apart"
}
expect_gap 1 40 120 "answering"

# Sets `from` to the simulator's EVENT and waits for COUNT status requests after it.
polls_after() { # EVENT COUNT
  e2e_wait_for 5 more_than 0 e2e_event_line "$1" || e2e_fail "kestos-sim did not log $1"
  from=$(e2e_event_line "$1")
  e2e_wait_for 15 more_than $(($2 - 1)) e2e_requests_since "$from" 01 ||
    e2e_fail "$1: fewer than $2 status polls in 15 s"
}
# At most three gaps of 50 ms before the slow polls, of eleven.
kill -USR1 "$e2e_sim_pid"
polls_after silent 12
expect_gap "$from" 450 900 "silent"

# At most one slow gap before the fast ones, of nineteen.
kill -USR2 "$e2e_sim_pid"
polls_after answering 20
expect_gap "$from" 40 120 "answering again"

import -window root "$e2e_dir/screenshot.png" 2>/dev/null || true
xdotool windowfocus --sync "$e2e_window" key --clearmodifiers alt+F4
ended() { ! kill -0 "$e2e_program_pid" 2>/dev/null; }
e2e_wait_for 5 ended || e2e_fail "Alt+F4 did not end the program"
grep -q "^CommPort= 1" "$e2e_dir/KestoS.ini" || e2e_fail "settings file changed at exit"
echo PASS
