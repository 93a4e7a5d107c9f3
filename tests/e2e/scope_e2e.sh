#!/usr/bin/env bash
# The Oscilloscope page against kestos-sim: the sweep advances with the engine-speed trace off
# its baseline; with the controller silent the sweep stands still and resumes by itself, with
# one more settings poll. (The cursor mode is tested in-process with the GUI tests.)
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare ang
e2e_start_sim --warm
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_answered_since 1 01 || e2e_fail "the program does not poll"
e2e_probe command IDM_PAGE_SCOPE

# x of the red sweep bar in plot 1 (page pixels), or -1.
sweep_x() {
  local origin ox oy y
  origin=$(e2e_probe origin) || return 1
  read -r ox oy <<<"$origin"
  y=$(e2e_y 100)
  import -window root -crop "$(($(e2e_x 600) - $(e2e_x 198)))x1+$((ox + $(e2e_x 198)))+$((oy + y))" \
    "$e2e_dir/row.ppm" 2>/dev/null
  convert "$e2e_dir/row.ppm" -depth 8 txt:- | awk -v left="$(e2e_x 198)" -F'[,:]' \
    '!found && tolower($0) ~ /#ff0000/ { x = $1 + left; found = 1 }
     END { print found ? x : -1 }'
}
sweeping() { [ "$(sweep_x)" -ge 0 ]; }
e2e_wait_for 5 sweeping || e2e_fail "the Oscilloscope shows no sweep"

first=$(sweep_x)
sleep 1
second=$(sweep_x)
[ "$first" -ge 0 ] && [ "$second" -gt "$first" ] || e2e_fail "the sweep does not advance ($first, $second)"
# A warm engine idles well above 0 rpm: the blue trace stands above plot 3's baseline.
above=$(e2e_count 203 263 596 $((350 - 3)) 0000ff)
[ "$above" -gt 20 ] || e2e_fail "the engine-speed trace does not follow the revs ($above pixels)"
import -window root "$e2e_dir/live.png"

silent_from=$(($(e2e_log_lines) + 1))
kill -USR1 "$e2e_sim_pid"
# Three unanswered status polls declare the link down.
unanswered() {
  [ "$(awk -v from="$silent_from" 'NR >= from && $4 == "01" && /no answer/' "$e2e_log" | wc -l)" -ge 3 ]
}
e2e_wait_for 5 unanswered || e2e_fail "the status polls are still answered"
stopped=$(sweep_x)
sleep 1
[ "$(sweep_x)" = "$stopped" ] || e2e_fail "the sweep moves with the controller silent"
from=$(($(e2e_log_lines) + 1))
kill -USR2 "$e2e_sim_pid"
moving() { [ "$(sweep_x)" != "$stopped" ]; }
e2e_wait_for 5 moving || e2e_fail "the sweep did not resume"
settings_polls=$(awk -v from="$from" 'NR >= from && $2 == "RX" && $4 == "03"' "$e2e_log" | wc -l)
[ "$settings_polls" = 1 ] || e2e_fail "$settings_polls settings polls after the link came back"

# Away on the Schema page, Program information polls at its own pace; back on the
# Oscilloscope, the sweep samples every 20 ms again (a status request each sample).
e2e_probe command IDM_PAGE_SCHEMA
e2e_probe post-command IDM_ABOUT
about_up() { ! e2e_no_dialog; }
e2e_wait_for 5 about_up || e2e_fail "Program information did not open"
opened=$(($(e2e_log_lines) + 1))
e2e_wait_for 5 e2e_answered_since "$opened" 01 || e2e_fail "Program information does not poll"
e2e_probe dialog click IDOK
e2e_wait_for 5 e2e_no_dialog || e2e_fail "Program information did not close"
e2e_probe command IDM_PAGE_SCOPE
from=$(($(e2e_log_lines) + 1))
sleep 2
gap=$(e2e_status_gap "$from")
echo "samples after Program information: every $gap ms"
[ "$gap" -ge 0 ] && [ "$gap" -lt 40 ] || e2e_fail "the sweep samples every $gap ms, not every 20"
echo PASS
