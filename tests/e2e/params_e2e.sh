#!/usr/bin/env bash
# The Configuration and Options pages and the emulation dialog against kestos-sim: a choice
# sends its frames at once and stays selected once the controller reads back; while the
# emulation dialog is open only its own polls reach the controller.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare pol
e2e_start_sim
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_image_filled || e2e_fail "the program did not read the controller's settings"

# Frames the simulator received from line $1 on, as "65 0F D0 44".
received_from() { awk -v from="$1" 'NR >= from && $2 == "RX" { print $3, $4, $5, $6 }' "$e2e_log"; }
sent() { grep -q " RX $1\$" "$e2e_log"; }
selected() { [ "$(e2e_probe "${@:1:$#-1}" selected "${!#}")" = "$want" ]; }
expect_selected() { # [dialog] ID POSITION
  want=${!#}
  e2e_wait_for 3 selected "${@:1:$#-1}" || e2e_fail "list ${*:1:$#-1} does not show $want"
}

from=$(($(e2e_log_lines) + 1))
e2e_probe command IDM_PAGE_CONFIG
e2e_wait_for 3 e2e_answered_since "$from" 03 || e2e_fail "the Configuration page does not poll"
shows_speed() { [ "$(e2e_probe selected IDC_CFG_LPG_ON_RPM)" -ge 0 ] 2>/dev/null; }
e2e_wait_for 3 shows_speed || e2e_fail "the Configuration page shows no LPG switch-on speed"
e2e_probe select IDC_CFG_LPG_ON_RPM 0 # 1500 rpm: period 10000 = 0x2710
e2e_wait_for 2 sent "65 15 10 8A" || e2e_fail "1500 rpm: no LPGOnRPMLo frame"
sent "65 16 27 A2" || e2e_fail "1500 rpm: no LPGOnRPMHi frame"
expect_selected IDC_CFG_LPG_ON_RPM 0
e2e_probe select IDC_CFG_INJECT_DELAY 19 # InjectDelay 20
e2e_wait_for 2 sent "65 0E 14 87" || e2e_fail "no InjectDelay frame"
expect_selected IDC_CFG_INJECT_DELAY 19

e2e_probe command IDM_PAGE_OPTIONS
before=$(e2e_probe state IDC_OPT_JUMP_CHECK)
e2e_probe click IDC_OPT_JUMP_CHECK
e2e_wait_for 2 grep -q " RX 65 05 " "$e2e_log" || e2e_fail "the check box sent no Options frame"
after() { [ "$(e2e_probe state IDC_OPT_ATT_JUMP | cut -d' ' -f1)" != "$(echo "$before" | cut -d' ' -f3)" ]; }
e2e_wait_for 3 after || e2e_fail "the AttJump list does not follow its check box"
e2e_probe select IDC_OPT_LPG_ON_TEMP 25 # 60 degrees: code 208
e2e_wait_for 2 sent "65 0F D0 44" || e2e_fail "no LPGOnTemp frame"
expect_selected IDC_OPT_LPG_ON_TEMP 25
import -window root "$e2e_dir/options.png"

# The emulation dialog: its own polls only, and a nibble written whole.
e2e_probe post-click IDC_OPT_EMULATION
dialog_up() { [ "$(e2e_probe dialog count IDC_EMU_DO_HI_LOW)" = 16 ]; }
e2e_wait_for 3 dialog_up || e2e_fail "the emulation dialog did not open"
# From the first status request after it came up (a tick of the page's under way ends before
# it), for 1.5 s of polling only the dialog's frames may reach the controller.
up=$(($(e2e_log_lines) + 1))
e2e_wait_for 3 more_than 0 e2e_requests_since "$up" 01 || e2e_fail "no status polls with the dialog open"
from=$(awk -v from="$up" 'NR >= from && $2 == "RX" && $4 == "01" { print NR; exit }' "$e2e_log")
sleep 1.5 # the time in which nothing else may be sent
others=$(received_from "$from" | awk '$2 != "01" && $2 != "03"' | head -n 3)
[ -z "$others" ] || e2e_fail "with the dialog open the program sent: $others"
[ "$(received_from "$from" | grep -c '^65 03')" -gt 5 ] || e2e_fail "the dialog does not poll"
import -window root "$e2e_dir/emulation.png"
e2e_probe dialog select IDC_EMU_DO_HI_LOW 0 # nibble 15
e2e_wait_for 2 grep -q " RX 65 0C .F " "$e2e_log" || e2e_fail "no EmulDO_TimeHi frame"
expect_selected dialog IDC_EMU_DO_HI_LOW 0
e2e_probe dialog click IDOK
dialog_gone() { ! e2e_probe dialog count IDC_EMU_DO_HI_LOW >/dev/null 2>&1; }
e2e_wait_for 3 dialog_gone || e2e_fail "OK did not close the dialog"
from=$(($(e2e_log_lines) + 1))
polls_again() { received_from "$from" | grep -q '^65 04'; }
e2e_wait_for 3 polls_again || e2e_fail "the page does not poll again after the dialog"
echo PASS
