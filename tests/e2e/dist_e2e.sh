#!/usr/bin/env bash
# The packages under Wine, in a prefix of their own that runs 32-bit programs: the zip holds
# exactly the program's files, the exe says 1.04, the installer installs silently for the
# user, the installed kestos-cli and KestoS talk to kestos-sim, KestoS keeps KestoS.ini in its
# folder, and the silent uninstall takes the program and leaves the fitter's files.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

"$e2e_root/scripts/dist.sh" >/dev/null
dist=$(cd "$e2e_win/../dist" && pwd)
wine_stop_server
source "$e2e_root/scripts/wine_env.sh" "$dist"
wine_prefix_init
e2e_start_display 800x600
wine_start_server

expected="KestoS-1.04/
KestoS-1.04/KestoS.exe
KestoS-1.04/Lang/
KestoS-1.04/Lang/KestoS_lang.ang
KestoS-1.04/Lang/KestoS_lang.pol
KestoS-1.04/README.txt
KestoS-1.04/kestos-cli.exe"
listed=$(unzip -Z1 "$dist/KestoS-1.04-portable.zip" | sort)
[ "$listed" = "$expected" ] || e2e_fail "the zip holds: $listed"
version=$(e2e_probe version "$(winepath -w "$dist/KestoS-1.04/KestoS.exe" 2>/dev/null)")
[ "$version" = 1.04 ] || e2e_fail "KestoS.exe's version resource says '$version'"

wine "$dist/KestoS-1.04-setup.exe" /S </dev/null >/dev/null 2>&1 || e2e_fail "the installer failed"
install=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")/Programs/KestoS
for f in KestoS.exe kestos-cli.exe README.txt Lang/KestoS_lang.pol Lang/KestoS_lang.ang \
  Uninstall.exe; do
  [ -f "$install/$f" ] || e2e_fail "not installed: $f"
done

"$e2e_sim" --link "$dist/vcom1" --log "$e2e_log" 2>/dev/null &
e2e_pids+=($!)
e2e_wait_for 5 test -e "$dist/vcom1" || e2e_fail "kestos-sim did not start"
status=$(cd "$install" && wine kestos-cli.exe --port COM1 status </dev/null 2>/dev/null | tr -d '\r')
[[ "$status" == "linkDown=0 "* ]] || e2e_fail "the installed 32-bit kestos-cli: $status"
(cd "$install" && exec wine KestoS.exe </dev/null >/dev/null 2>&1) &
e2e_pids+=($!)
polled() { [ "$(grep -c ' RX 65 02 ' "$e2e_log")" -ge 5 ]; }
e2e_wait_for 20 polled || e2e_fail "the installed 32-bit KestoS does not poll COM1"
e2e_wait_for 5 test -f "$install/KestoS.ini" || e2e_fail "no KestoS.ini in the install folder"
e2e_probe command 40002 || true # File > Exit
sleep 1

echo mine >"$install/mine.kss"
mkdir -p "$install/Backup" && echo backup >"$install/Backup/KestoS-20260101-000000.kss"
wine "$install/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
gone() { [ ! -e "$install/KestoS.exe" ] && [ ! -e "$install/Uninstall.exe" ]; }
e2e_wait_for 20 gone || e2e_fail "the uninstaller left the program"
for f in kestos-cli.exe README.txt Lang; do
  [ ! -e "$install/$f" ] || e2e_fail "the uninstaller left $f"
done
for f in mine.kss Backup/KestoS-20260101-000000.kss KestoS.ini; do
  [ -f "$install/$f" ] || e2e_fail "the uninstaller took the fitter's $f"
done
echo PASS
