# Sourced: whether this machine runs 32-bit x86 programs. Some kernels cannot, whatever the
# architecture's name says, so it is found out by running one: a 96-byte ELF that exits with 32.
# A 64-bit twin that exits with 64 tells a folder we may not execute in from a kernel without
# 32-bit support. KESTOS_NO_I386=1 takes the "cannot" answer on any machine, so that path is
# tested everywhere.
i386_elf='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x20\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80'
x86_64_elf='\x7f\x45\x4c\x46\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x3e\x00\x01\x00\x00\x00\x78\x00\x40\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x38\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x84\x00\x00\x00\x00\x00\x00\x00\x84\x00\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\xbf\x40\x00\x00\x00\xb8\x3c\x00\x00\x00\x0f\x05'

# Succeeds when 32-bit x86 programs run here.
i386_runs() {
  [ "${KESTOS_NO_I386:-}" = 1 ] && return 1
  local dir status=1 d
  for d in "${TMPDIR:-/tmp}" "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"; do
    dir=$(mktemp -d "$d/kestos-i386-XXXXXX" 2>/dev/null) || continue
    printf "$x86_64_elf" >"$dir/x86_64" && printf "$i386_elf" >"$dir/i386"
    chmod +x "$dir/x86_64" "$dir/i386"
    local s64=0 s32=0
    "$dir/x86_64" 2>/dev/null || s64=$?
    "$dir/i386" 2>/dev/null || s32=$?
    rm -rf "$dir"
    if [ "$s64" = 64 ]; then
      [ "$s32" = 32 ] && status=0
      break
    fi
  done
  return $status
}

# Why 32-bit programs do not run here, for the one line that says what is skipped.
i386_reason() {
  if [ "${KESTOS_NO_I386:-}" = 1 ]; then
    echo "KESTOS_NO_I386=1 is set"
  else
    echo "this machine's kernel cannot run 32-bit x86 programs"
  fi
}

# Succeeds when Wine's 32-bit half is installed, which the i386 architecture brings.
wine32_installed() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

# Prints why the 32-bit programs cannot be run under Wine here; prints nothing when they can.
wine32_blocker() {
  if ! i386_runs; then
    i386_reason
  elif ! wine32_installed; then
    echo "Wine's 32-bit half (wine32:i386) is not installed"
  fi
}
