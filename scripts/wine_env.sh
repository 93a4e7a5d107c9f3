# Sourced: a private Wine prefix for one build tree, with COM ports mapped to files that
# kestos-sim makes symlinks to its pseudo-terminals.
#   COM1 -> <build>/vcom1   the simulated controller
#   COM3 -> <build>/vcom3   a second simulator, silent, for the tests of a dead line
#   COM4 -> <build>/vcom4   never created: a port whose device is missing (Wine opens it and
#                           fails its first serial call, as after an adapter is unplugged)
#   COM5 -> <build>/vcom5   a plain file: a port that opens but will not take its settings
#   COM7 -> <build>/vcom7   ports beyond COM4, as USB adapters get them (Wine lists every mapped
#   COM12 -> <build>/vcom12 port in HARDWARE\DEVICEMAP\SERIALCOMM); COM12 opens as \\.\COM12
# Wine maps a real /dev/ttyS0 to COM2, so tests never open COM2.
kestos_wine_build=${1:?wine_env.sh needs the windows build directory}
kestos_wine_build=$(cd "$kestos_wine_build" && pwd)
# Every 64-bit program starts through Wine's 64-bit loader, whichever loader `wine` would pick.
kestos_wine=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64
export KESTOS_WINE=$kestos_wine
export WINEPREFIX="$kestos_wine_build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# A prefix made before Wine's 32-bit half was installed cannot start programs afterwards
# ("could not load kernel32.dll"): the marker notes which Wine made it.
wine_flavour() {
  # The ports the prefix maps are part of what it is: a change makes a new prefix.
  if [ -d /usr/lib/i386-linux-gnu/wine/i386-windows ]; then echo "wow64 ports-5-7-12"; else echo "win64 ports-5-7-12"; fi
}

wine_prefix_init() {
  [ -f "$kestos_wine_build/vcom5" ] || : >"$kestos_wine_build/vcom5"
  if [ -f "$WINEPREFIX/.kestos-ready" ]; then
    [ "$(cat "$WINEPREFIX/.kestos-ready")" = "$(wine_flavour)" ] && return 0
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  "$kestos_wine" wineboot -i </dev/null >/dev/null 2>&1
  local n
  for n in 1 3 4 5 7 12; do
    "$kestos_wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ \
      /d "$kestos_wine_build/vcom$n" /f </dev/null >/dev/null 2>&1
  done
  # Without a window manager every DestroyWindow would otherwise wait two seconds.
  "$kestos_wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  wine_flavour >"$WINEPREFIX/.kestos-ready"
}

# Starts kestos-sim in the background on LINK and waits (5 s at most) for it to make LINK, the
# symlink to its pty. Sets kestos_sim_pid; fails when the link did not appear.
# Usage: kestos_start_sim SIMULATOR LINK [simulator options]
kestos_start_sim() {
  local sim=$1 link=$2 _
  shift 2
  "$sim" --link "$link" "$@" 2>/dev/null &
  kestos_sim_pid=$!
  for _ in $(seq 50); do [ -e "$link" ] && return 0; sleep 0.1; done
  return 1
}

# Wine's background services would otherwise hold ctest's pipes open.
wine_start_server() {
  wineserver -p </dev/null >/dev/null 2>&1
  "$kestos_wine" wineboot </dev/null >/dev/null 2>&1
}

wine_stop_server() {
  wineserver -k >/dev/null 2>&1 || true
}
