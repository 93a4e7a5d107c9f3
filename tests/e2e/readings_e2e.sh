#!/usr/bin/env bash
# The Readings page against kestos-sim: live values change; NAUKA sends the learning action
# only on gas, and the controller's learning shows in the lamp and on line 5; a silent
# controller shows the link-down lines, which go when it answers again; line 4 says why the
# link is down, for a silent controller and a busy, missing or unusable port.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare pol
e2e_start_sim --warm
e2e_start_display 1024x768
e2e_start_program
fuel_box() { e2e_count 492 467 613 503 "$1"; }

# Warm idle, below the switch-on speed: petrol, and NAUKA does nothing. The simulator idles
# for its first six seconds only, so this comes first.
e2e_wait_for 5 more_than 200 fuel_box 00FF00 || e2e_fail "no petrol state at idle"
e2e_probe click IDC_LEARN
sleep 1
! grep -q " RX 65 1E " "$e2e_log" || e2e_fail "NAUKA sent the learning action on petrol"

# Live values: the page changes between two looks.
import -window root "$e2e_dir/a.png"
sleep 1.5
import -window root "$e2e_dir/b.png"
changed=$(compare -metric AE "$e2e_dir/a.png" "$e2e_dir/b.png" null: 2>&1 || true)
echo "pixels changed in 1.5 s: $changed"
[ "${changed%%.*}" -gt 100 ] || e2e_fail "the readings do not move"

# The first rev switches to gas; NAUKA now starts learning.
e2e_wait_for 25 more_than 200 fuel_box 00FFFF || e2e_fail "never switched to gas"
e2e_probe click IDC_LEARN
e2e_wait_for 3 grep -q " RX 65 1E 32 B5" "$e2e_log" || e2e_fail "NAUKA sent nothing on gas"

lamp() { e2e_count_pixels 812 620 852 660 "$1"; }
e2e_wait_for 3 more_than 100 lamp FFFF00 || e2e_fail "the lamp shows no learning"
import -window root "$e2e_dir/learning.png"
line5_red() { e2e_count 40 485 440 503 FF0000; }
# Learning as the controller reports it: readings answers (11 bytes) with byte 8 bit 1 set,
# then clear again.
learning_over() {
  awk 'function digit(c) { return index("0123456789ABCDEF", c) - 1 }
       $2 == "TX" && NF == 13 {
         b = digit(substr($11, 1, 1)) * 16 + digit(substr($11, 2, 1))
         if (int(b / 2) % 2) seen = 1; else if (seen) over = 1
       }
       END { if (over) exit 0; exit 1 }' "$e2e_log"
}
e2e_wait_for 12 learning_over || e2e_fail "learning never ended"
olive_again() { [ "$(lamp FFFF00)" = 0 ] && more_than 100 lamp 808000; }
e2e_wait_for 2 olive_again || e2e_fail "the lamp does not go back to olive"
e2e_wait_for 2 more_than 20 line5_red || e2e_fail "no outcome on line 5"
import -window root "$e2e_dir/outcome.png"

# Link lost and back.
kill -USR1 "$e2e_sim_pid"
e2e_wait_for 5 more_than 20 e2e_link_down_red || e2e_fail "no link-down message"
more_than 200 fuel_box 00FF00 || e2e_fail "the box does not fall back to petrol"
import -window root "$e2e_dir/link-down.png"
kill -USR2 "$e2e_sim_pid"
no_line1_red() { [ "$(e2e_link_down_red)" = 0 ]; }
e2e_wait_for 5 no_line1_red || e2e_fail "the link-down message stays after recovery"

# Why the link is down, on line 4 in the fitter's language: the texts the program draws.
e2e_probe texts >/dev/null || e2e_fail "the program's texts cannot be recorded"
says() { e2e_probe texts | grep -q -F "$1"; }
kill -USR1 "$e2e_sim_pid" # the controller goes silent
e2e_wait_for 5 says "Brak odpowiedzi na COM1" || e2e_fail "line 4 does not say there is no answer"
# Another program takes the port (a stand-in for its CreateFile: Wine does not lock ports).
[ "$(e2e_probe busy-port 1)" = ok ] || e2e_fail "no stand-in for a busy port"
e2e_wait_for 5 says "COM1 zajęty (inny program)" || e2e_fail "line 4 does not say COM1 is busy"
e2e_probe busy-port 0 >/dev/null
e2e_wait_for 5 says "Brak odpowiedzi na COM1" || e2e_fail "the port came back, line 4 did not follow"
e2e_probe command IDM_PORT_COM4 # mapped to a device file that is not there
e2e_wait_for 5 says "Brak portu COM4" || e2e_fail "line 4 does not say COM4 is missing"
e2e_probe command $(($(e2e_id IDM_PORT_OTHER_FIRST) + 5)) # a plain file: no serial settings
e2e_wait_for 5 says "COM5: błąd ustawień portu" || e2e_fail "line 4 does not say COM5 will not set up"
e2e_probe command IDM_PORT_COM1
kill -USR2 "$e2e_sim_pid"
e2e_wait_for 5 no_line1_red || e2e_fail "the link does not come back on COM1"
echo PASS
