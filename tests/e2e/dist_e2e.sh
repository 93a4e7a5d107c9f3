#!/usr/bin/env bash
# The packages. Without starting a 32-bit process: the zip holds exactly the program's files,
# the installer holds the same files and its uninstaller, both programs are PE32 i386 and carry
# the project's version in their version resource. Then, where this machine runs 32-bit
# programs with Wine's 32-bit half: the installer installs silently for the user, the installed
# kestos-cli and KestoS talk to kestos-sim, KestoS keeps KestoS.ini in its folder, and the
# silent uninstall takes the program and leaves the fitter's files. Where it cannot, the run is
# reported as skipped (exit 77), never as passed.
# Usage: dist_e2e.sh [contents]   contents: the checks that start no 32-bit process, only.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"
source "$e2e_root/scripts/i386.sh"
mode=${1:-all}

"$e2e_root/scripts/dist.sh" >/dev/null
dist=$(cd "$e2e_win/../dist" && pwd)
version=$("$e2e_root/scripts/version.sh")
package=KestoS-$version
wine_stop_server
source "$e2e_root/scripts/wine_env.sh" "$dist"
wine_prefix_init

# Where 32-bit programs must not start, the launcher that would start them fails the test.
if ! i386_runs; then
  wine() { e2e_fail "a 32-bit program was started: wine $*"; }
fi

# A 32-bit x86 Windows program: "PE\0\0", machine 0x14c, optional header magic 0x10b (PE32).
pe32_i386() {
  local at h
  at=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  h=$(od -An -tx1 -j"$at" -N26 "$1" | tr -d ' \n')
  [ "${h:0:12}" = 504500004c01 ] && [ "${h:48:4}" = 0b01 ]
}

expected=$(printf "$package/%s\n" "" KestoS.exe Lang/ Lang/KestoS_lang.ang Lang/KestoS_lang.pol \
  README.txt kestos-cli.exe)
listed=$(unzip -Z1 "$dist/$package-portable.zip" | sort)
[ "$listed" = "$expected" ] || e2e_fail "the zip holds: $listed"
unzip -q "$dist/$package-portable.zip" -d "$e2e_dir/zip"
grep -q "^KestoS $version - " "$e2e_dir/zip/$package/README.txt" ||
  e2e_fail "README.txt does not name version $version"

# 7-Zip opens NSIS installers: the files it would install, and the uninstaller it writes.
7z x -y -o"$e2e_dir/setup" "$dist/$package-setup.exe" >/dev/null || e2e_fail "7z cannot open the installer"
for f in KestoS.exe kestos-cli.exe README.txt Lang/KestoS_lang.pol Lang/KestoS_lang.ang; do
  cmp -s "$e2e_dir/setup/$f" "$e2e_dir/zip/$package/$f" || e2e_fail "the installer's $f is not the zip's"
done
[ -s "$e2e_dir/setup/Uninstall.exe" ] || e2e_fail "the installer carries no uninstaller"

pe32_i386 "$e2e_dir/setup/Uninstall.exe" || e2e_fail "Uninstall.exe is not PE32 i386"
for exe in KestoS.exe kestos-cli.exe; do
  pe32_i386 "$e2e_dir/zip/$package/$exe" || e2e_fail "$exe is not PE32 i386"
  # kestos-probe is a 64-bit program: it reads the 32-bit file's resources without running it.
  said=$(e2e_probe version "$("$kestos_wine" winepath -w "$e2e_dir/zip/$package/$exe" 2>/dev/null)")
  [ "$said" = "$version" ] || e2e_fail "$exe's version resource says '$said', not $version"
done
echo "the packages hold the program's files, PE32 i386, version $version"
[ "$mode" = contents ] && { echo PASS; exit 0; }

blocker=$(wine32_blocker)
if [ -n "$blocker" ]; then
  echo "SKIPPED: the installer, the installed 32-bit programs and the uninstaller were not run:" \
    "$blocker"
  exit 77
fi

e2e_start_display 800x600
wine_start_server
wine "$dist/$package-setup.exe" /S </dev/null >/dev/null 2>&1 || e2e_fail "the installer failed"
appdata=$("$kestos_wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
install=$("$kestos_wine" winepath -u "$appdata" 2>/dev/null)/Programs/KestoS
for f in KestoS.exe kestos-cli.exe README.txt Lang/KestoS_lang.pol Lang/KestoS_lang.ang \
  Uninstall.exe; do
  [ -f "$install/$f" ] || e2e_fail "not installed: $f"
done

e2e_start_sim_on "$dist/vcom1"
status=$(cd "$install" && wine kestos-cli.exe --port COM1 status </dev/null 2>/dev/null | tr -d '\r')
[[ "$status" == "linkDown=0 "* ]] || e2e_fail "the installed 32-bit kestos-cli: $status"
(cd "$install" && exec wine KestoS.exe </dev/null >/dev/null 2>&1) &
installed_pid=$!
e2e_pids+=("$installed_pid")
polled() { [ "$(grep -c ' RX 65 02 ' "$e2e_log")" -ge 5 ]; }
e2e_wait_for 20 polled || e2e_fail "the installed 32-bit KestoS does not poll COM1"
e2e_wait_for 5 test -f "$install/KestoS.ini" || e2e_fail "no KestoS.ini in the install folder"
e2e_probe command IDM_EXIT || true # File > Exit
ended() { ! kill -0 "$installed_pid" 2>/dev/null; }
e2e_wait_for 10 ended || e2e_fail "File > Exit did not end the installed KestoS"

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
