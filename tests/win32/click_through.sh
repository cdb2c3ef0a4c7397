#!/usr/bin/env bash
# zekflash.exe under Wine against the simulated unit of the Linux build, driven
# through its windows by zekflash-click-driver.exe: the port search must find
# the unit on a COM port that Wine maps to the unit's pseudo-terminal, and the
# unit must then hold the image. Fails, never skips, when Wine or the unit
# cannot start.
#
# Usage: click_through.sh --run "RUNNER..." --program EXE --driver EXE --sim PROGRAM
#                         --make-sample PROGRAM --prefix DIR --work DIR
set -euo pipefail

while [ $# -gt 1 ]; do
  case $1 in
    --run) read -r -a run <<<"$2" ;;
    --program) program=$2 ;;
    --driver) driver=$2 ;;
    --sim) sim=$2 ;;
    --make-sample) make_sample=$2 ;;
    --prefix) prefix=$2 ;;
    --work) work=$2 ;;
    *) break ;;
  esac
  shift 2
done
[ -x "$sim" ] || { echo "FAIL: no simulated unit at $sim (build the default preset first)" >&2; exit 1; }

blocks=24
rm -rf "$work" && mkdir -p "$work"
image="$work/3M0100002.fm0"
"$make_sample" "$image" 3M0100002 "$blocks" >/dev/null
"$sim" --version 3M0100001 --received "$work/received.bin" --link-file "$work/link" \
  --log "$work/unit.log" >"$work/unit.out" 2>"$work/unit.err" &
sim_pid=$!
program_pid=
cleanup() {
  kill "$sim_pid" 2>/dev/null || true
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/link" ] && break; sleep 0.1; done
[ -s "$work/link" ] || { echo "FAIL: the simulated unit did not start" >&2; exit 1; }

# The port the system lists, and what Wine opens for it.
"${run[@]}" cmd /c exit 0 >/dev/null 2>&1 || { echo "FAIL: Wine cannot start" >&2; exit 1; }
ln -sfn "$(cat "$work/link")" "$prefix/dosdevices/com7"
"${run[@]}" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v 'ZekUnit' /t REG_SZ /d COM7 /f \
  >/dev/null

# With a support trace, as a technician would send one.
rm -f "$work/trace.txt"
"${run[@]}" "$program" --trace "Z:${work//\//\\}\\trace.txt" \
  >"$work/program.out" 2>"$work/program.err" &
program_pid=$!
status=0
"${run[@]}" "$driver" "Z:${image//\//\\}" >"$work/driver.out" 2>"$work/driver.err" || status=$?
program_status=0
if [ $status -eq 0 ]; then
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$program_pid" || program_status=$?
fi
program_pid=

failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
[ $status -eq 0 ] || fail "the driver stopped: $(cat "$work/driver.err")"
[ $program_status -eq 0 ] || fail "zekflash.exe exited $program_status"
cmp -s "$work/received.bin" <(head -c $((blocks * 1024)) "$image") ||
  fail "the unit does not hold the image's $blocks blocks"
for line in '^version: ' ' sent "COM7" ' ' received "COM7" ' ' timer Timer2 ' \
  ' panel Panel_ready_for_download shown "Firmware download is ready'; do
  grep -q -e "$line" "$work/trace.txt" 2>/dev/null || fail "the trace lacks $line"
done
if [ $failed -ne 0 ]; then
  echo "--- driver"; cat "$work/driver.out" "$work/driver.err"
  echo "--- zekflash.exe"; cat "$work/program.out" "$work/program.err"
  echo "--- unit"; tail -n 20 "$work/unit.log" "$work/unit.err"
  exit 1
fi
cat "$work/driver.out"
echo "ok: the unit holds the image"
