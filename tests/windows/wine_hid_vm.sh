#!/usr/bin/env bash
# zekflash-cli.exe under Wine against the simulated unit's USB HID bridge, in
# a virtual machine on a real kernel (this machine's has no uhid): boots the
# full Debian kernel on this machine's root (scripts/vm/run-guest.sh
# --host-root) and runs tests/windows/wine_hid_guest.sh there.
#
# Usage: wine_hid_vm.sh --wine-run SCRIPT --prefix DIR --cli EXE --waiter EXE
#                       --sim PROGRAM --make-sample PROGRAM --work DIR --vm-work DIR
#                       --results FILE CASE|all
#
# The Wine prefix DIR is made here (Wine starts far quicker outside the
# virtual machine) with Wine's HID bus set for the guest: no SDL (without
# libSDL2 its failed start keeps the hidraw backend from ever starting), no
# input devices, and hot-plug notices from udevd, which the guest runs (Wine's
# own watch of /dev takes a node's change of mode, which always follows its
# creation, for a replug, and drops the new device). Writes the guest's lines
# to FILE; fails, never skips, when the machine or Wine cannot start.
set -euo pipefail

while [ $# -gt 1 ]; do
  case $1 in
    --wine-run) wine_run=$2 ;;
    --prefix) prefix=$2 ;;
    --cli) cli=$2 ;;
    --waiter) waiter=$2 ;;
    --sim) sim=$2 ;;
    --make-sample) make_sample=$2 ;;
    --work) work=$2 ;;
    --results) results=$2 ;;
    --vm-work) vm_work=$2 ;;
    *) break ;;
  esac
  shift 2
done
which=${1:?a case name or all}
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

for program in "$sim" "$make_sample"; do
  [ -x "$program" ] || { echo "FAIL: no $program (build the default preset first)" >&2; exit 1; }
done
mkdir -p "$work"
prefix="$(realpath -m "$prefix")"
: >"$results"

winebus='HKLM\System\CurrentControlSet\Services\winebus'
"$wine_run" --prefix "$prefix" cmd /c exit 0 >/dev/null 2>&1 ||
  { echo "FAIL: Wine cannot start" >&2; exit 1; }
for value in "Enable SDL=0" "DisableUdevd=0" "DisableInput=1"; do
  "$wine_run" --prefix "$prefix" reg add "$winebus" /v "${value%=*}" /t REG_DWORD \
    /d "${value#*=}" /f >/dev/null 2>&1 || { echo "FAIL: cannot set $value in $prefix" >&2; exit 1; }
done
# The server keeps the registry in memory until it ends.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true

params="$work/params.sh"
{
  printf 'cli=%q\n' "$(realpath "$cli")"
  printf 'waiter=%q\n' "$(realpath "$waiter")"
  printf 'sim=%q\n' "$(realpath "$sim")"
  printf 'make_sample=%q\n' "$(realpath "$make_sample")"
  printf 'prefix=%q\n' "$prefix"
} >"$params"

status=0
"$root/scripts/vm/run-guest.sh" --host-root --work "$vm_work" --memory 1536 --timeout 1500 \
  --module uhid --module hid-generic --file "$params" --file "$root/tests/vm/trace_times.awk" \
  --script "$here/wine_hid_guest.sh" "$which" 2>&1 | tee "$results" || status=$?
grep -q '^wine ready' "$results" || { echo "FAIL: Wine did not come up in the virtual machine" >&2; exit 1; }
exit 0
