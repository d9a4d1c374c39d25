# shellcheck shell=bash
# Sourced by the scripts: which Windows targets this machine can execute, and
# which target a Windows program was built for.
#
#   source scripts/arch.sh
#   translit_runs_x86           status 0 when 32-bit code runs here
#   translit_no_x86_reason      why not, in words (after translit_runs_x86 failed)
#   translit_pe_arch FILE       prints x86 or x64 for a Windows program
#
# TRANSLIT_NO_X86=1 pretends that 32-bit code cannot run, so that the paths
# of machines without it can be tried anywhere.

# Asked of the kernel itself: some x86-64 kernels are built without 32-bit
# support and refuse every i386 program with "Exec format error", Wine's
# 32-bit loader among them. The probe is the smallest i386 Linux program: it
# exits with status 42 through int 0x80.
translit_runs_x86() {
  if [ "${TRANSLIT_NO_X86:-}" = 1 ]; then
    translit_x86_why="TRANSLIT_NO_X86=1 pretends that this machine cannot execute 32-bit code"
    return 1
  fi
  if [ -z "${translit_x86_known:-}" ]; then
    translit_x86_known=no
    translit_x86_why="this machine cannot execute 32-bit code (its kernel refuses i386 programs)"
    # A folder where programs may run at all (a temporary folder may be
    # mounted noexec): a copy of a native program must run there first.
    local dir probe status
    for dir in "${TMPDIR:-/tmp}" /dev/shm "$PWD"; do
      probe=$(mktemp -d "$dir/translit-x86.XXXXXX" 2>/dev/null) || continue
      cp "$(type -P true)" "$probe/native" && "$probe/native" 2>/dev/null || { rm -rf "$probe"; continue; }
      printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\52\0\0\0\315\200' >"$probe/i386"
      chmod +x "$probe/i386"
      status=0
      "$probe/i386" 2>/dev/null || status=$?
      rm -rf "$probe"
      [ "$status" -eq 42 ] && translit_x86_known=yes
      break
    done
  fi
  [ "$translit_x86_known" = yes ]
}

translit_no_x86_reason() { echo "${translit_x86_why:-}"; }

# The machine field of the PE header: 0x14c i386, 0x8664 x86-64.
translit_pe_arch() {
  local file=$1 off machine
  off=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$off" ] || return 1
  machine=$(od -An -tx2 -j$((off + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo x86 ;;
    8664) echo x64 ;;
    *) return 1 ;;
  esac
}
