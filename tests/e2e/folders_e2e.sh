#!/usr/bin/env bash
# The program's own files stay in the folder it started in, whatever folder the fitter browses
# to in the file dialogs: after a set is saved to and opened from another folder, a language
# switch still finds Lang\, a port change writes KestoS.ini at home, and the backups of the
# upload and of a factory reset land in the home Backup\. Nothing is written in the other
# folder but the file the fitter saved there.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare pol
e2e_start_sim
e2e_start_display 1024x768
e2e_start_program
stick="$e2e_dir/stick"
mkdir -p "$stick"

e2e_wait_for 10 e2e_answered_since 1 04 || e2e_fail "the program did not read the settings"
title() { xdotool getwindowname "$e2e_window"; }
title_is() { [ "$(title)" = "$1" ]; }
backup_count() { find "$e2e_dir/Backup" -name 'KestoS-*.kss' 2>/dev/null | wc -l; }
backups_are() { [ "$(backup_count)" = "$1" ]; }

e2e_choose_file IDM_FILE_SAVE_AS "$stick/set" # File > Save As
e2e_wait_for 5 test -s "$stick/set.kss" || e2e_fail "Save As wrote nothing in the other folder"
e2e_wait_for 3 e2e_no_dialog || e2e_fail "a box is still open after saving"
sed -i 's/^InjectDelay= [0-9]*/InjectDelay= 40/' "$stick/set.kss" # something to send
e2e_choose_file IDM_FILE_OPEN "$stick/set.kss" # File > Open sends it, after a backup
changes_up() { e2e_probe dialog text IDC_COMPARE_INTRO >/dev/null 2>&1; }
e2e_wait_for 10 changes_up || e2e_fail "no list of the changes before sending"
e2e_probe dialog post-click IDOK # Send
e2e_wait_for 10 backups_are 1 || e2e_fail "the upload's backup is not in the home Backup folder"
checked() { e2e_probe dialog text IDC_STATIC | grep -q "sprawdzono"; }
e2e_wait_for 10 checked || e2e_fail "no box says the upload was checked"
e2e_probe dialog click IDOK
e2e_wait_for 10 e2e_no_dialog || e2e_fail "a box stayed open after the upload"

e2e_probe command IDM_PAGE_READINGS
e2e_probe command IDM_LANG_ENGLISH
e2e_wait_for 5 title_is "KestoS - Readings" || e2e_fail "after the switch to English the title is '$(title)'"
e2e_probe command IDM_PAGE_RESET # which does not poll: the image stays as read
e2e_wait_for 5 title_is "KestoS - Reset" || e2e_fail "the Reset page's title is '$(title)'"

ini_says() { tr -d '\r' <"$e2e_dir/KestoS.ini" | grep -qx "$1"; }
e2e_probe command IDM_PORT_COM3
e2e_wait_for 5 ini_says "CommPort= 3" || e2e_fail "the port change did not reach the home KestoS.ini"
e2e_probe command IDM_PORT_COM1 # back where the controller is
ini_says "Language= ang" || e2e_fail "the home KestoS.ini lost the language"

e2e_probe post-click IDC_RESET_BUTTON # the factory reset, with its backup first
e2e_wait_for 10 e2e_probe dialog text IDC_STATIC || e2e_fail "the reset said nothing"
e2e_probe dialog click IDOK
e2e_wait_for 5 backups_are 2 || e2e_fail "$(backup_count) backups at home after the reset, not 2"

left=$(cd "$stick" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "./set.kss " ] || e2e_fail "the other folder holds: $left"
echo PASS
