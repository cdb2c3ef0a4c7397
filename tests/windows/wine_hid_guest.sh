# Runs in the virtual machine on this machine's root (scripts/vm/run-guest.sh
# --host-root), under its shell: zekflash-cli.exe under Wine against the
# simulated unit's USB HID bridge on the kernel's uhid and hidraw, which Wine's
# HID bus passes to Windows programs. One boot serves every case: Wine takes
# long to start here. $zek_test names the case to run, or "all".
#
# Each case prints "ok: CASE: ..." or "FAIL: CASE: ..." lines and ends with
# "case CASE ended"; "wine ready" says that Wine came up. What the cases need
# comes from /tmp/data/params.sh: $cli, $waiter, $sim, $make_sample, $prefix.
[ -n "${BASH_VERSION:-}" ] || exec /bin/bash "$0" "$@"
export PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin
export HOME=/tmp/home LANG=C.UTF-8
mkdir -p "$HOME"
. /tmp/data/params.sh

name="HIDtoUART ZEK"
other="hidtoUART ZEK"
unit_version=5M0100001
work=/tmp/work
mkdir -p "$work"

export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
wine_loader=/usr/lib/wine/wine64
[ -x "$wine_loader" ] || wine_loader=$(command -v wine64 || command -v wine)

now_ms() { awk '{ printf "%d", $1 * 1000 }' /proc/uptime; }

# udevd tells Wine's HID bus of the nodes that come and go.
start_udevd() {
  mkdir -p /run/udev
  /lib/systemd/systemd-udevd --daemon >>"$work/udevd.log" 2>&1 || return 1
  udevadm trigger --subsystem-match=hidraw --action=add >>"$work/udevd.log" 2>&1
  udevadm settle --timeout=60 >>"$work/udevd.log" 2>&1
}

# Starts Wine's server and services once, with Wine's HID bus logging what it
# finds to $work/wine.log; the server then stays for the whole boot.
start_wine() {
  local started
  started=$(now_ms)
  wineserver -p >>"$work/wine.log" 2>&1 || return 1
  WINEDEBUG=+hid,+plugplay "$wine_loader" wineboot >>"$work/wine.log" 2>&1 || return 1
  echo "note: Wine started in $(($(now_ms) - started)) ms"
}

case_name=
failed=0
begin_case() {
  case_name=$1
  failed=0
  rm -rf "${work:?}/$case_name"
  mkdir -p "$work/$case_name"
  cd "$work/$case_name" || exit 1
}
fail() {
  echo "FAIL: $case_name: $*"
  failed=1
}
pass() { echo "ok: $case_name: $*"; }
note() { echo "note: $case_name: $*"; }
end_case() {
  [ "$failed" -eq 0 ] || show_logs
  stop_bridges
  echo "case $case_name ended"
}
show_logs() {
  for log in *.log *.err cli*.out cli*.err; do
    [ -s "$log" ] && { echo "--- $case_name/$log"; tail -n 40 "$log"; }
  done
}

bridges=""
# Starts a bridge named $2 logging to $1.log, with the further options given;
# returns once its hidraw node is there.
start_bridge() {
  local label=$1 bridge_name=$2
  shift 2
  bridge_started=$(now_ms)
  # Wine in the emulated machine is slow: pieces of a block may come further
  # apart than a unit waits for the next one (200 ms); the block would only be
  # sent again.
  "$sim" --hid --hid-name "$bridge_name" --version "$unit_version" --log "$label.log" \
    --gap-timeout 3000 "$@" >"$label.out" 2>>"$label.err" &
  bridges="$bridges $!"
  for _ in $(seq 200); do
    [ -s "$label.out" ] && return 0
    sleep 0.05
  done
  fail "bridge $label did not come up"
  return 1
}
stop_bridges() {
  for pid in $bridges; do kill "$pid" 2>/dev/null; done
  for pid in $bridges; do wait "$pid" 2>/dev/null; done
  bridges=""
}

# How often Wine has offered the bridge started last (its process's id is in
# its serial number) to Windows programs: enabled its HID interface.
offers() {
  local serial="zek-ecu-sim.$(echo "$bridges" | awk '{ print $NF }')&"
  grep 'IoSetDeviceInterfaceState' "$work/wine.log" | grep -F "$serial" | grep -c '{4d1e55b2.*enable 1'
}
# Waits until Wine has offered that bridge $2 times (default once).
wine_took() {
  for _ in $(seq 600); do
    [ "$(offers)" -ge "${2:-1}" ] && return 0
    sleep 0.2
  done
  fail "Wine never offered the bridge of $1 (${2:-1} times)"
  return 1
}

# zekflash-cli.exe on $1 with the further options given, as run $run (output
# in cli$run.out and cli$run.err); sets cli_status and cli_ms.
run=0
run_cli() {
  local image=$1 started
  shift
  run=$((run + 1))
  started=$(now_ms)
  timeout 300 "$wine_loader" "$cli" --timeout 200 "$@" "Z:${image//\//\\}" \
    >"cli$run.out" 2>"cli$run.err"
  cli_status=$?
  cli_ms=$(($(now_ms) - started))
}
said() { grep -qF -- "$1" "cli$run.out" "cli$run.err"; }
# Whether a message box was shown (the batch front end prints them so).
boxed() { grep -q ': error: \|: warning: ' "cli$run.err"; }
ending() { tail -n "$1" "cli$run.err" | sed "s/^/note: $case_name: | /"; }

image() {
  local version=$1 blocks=$2
  "$make_sample" "$work/$version-$blocks.fm0" "$version" "$blocks" >/dev/null
  echo "$work/$version-$blocks.fm0"
}
same_blocks() { head -c $(($2 * 1024)) "$1" | cmp -s - "$3"; }

# The time from one block's arrival at the unit to the next one's, from the
# unit's log: mean, least and most, in ms.
block_times() {
  awk '$2 == "B" { if (last != "") { d = $1 - last; s += d; n++;
         if (min == "" || d < min) min = d; if (d > max) max = d }
       last = $1 }
       END { if (n) printf "%.1f ms mean, %.1f least, %.1f most over %d blocks", s / n, min, max, n }' "$1"
}

case_download() {
  begin_case download
  local img
  img=$(image 5M0100002 16)
  start_bridge sim "$name" --received rx.bin && wine_took sim || { end_case; return; }
  run_cli "$img" --yes --trace "Z:${work//\//\\}\\download\\trace.txt"
  [ "$cli_status" -eq 0 ] && pass "the download finished" || fail "zekflash-cli.exe exited $cli_status"
  same_blocks "$img" 16 rx.bin && pass "the unit received the file's 16 blocks" ||
    fail "the unit received other bytes than the file's blocks"
  boxed && fail "a message box was shown"
  note "download of 16 blocks took $cli_ms ms in all, Wine's start included"
  note "time per block at the unit: $(block_times sim.log); floor 200 ms (21 reports, 20 gaps of 10 ms) plus the reply"
  note "where a block's time goes (the trace): $(awk -f /tmp/data/trace_times.awk trace.txt)"
  end_case
}

case_unplug() {
  begin_case unplug
  local img unplugged ended after
  img=$(image 5M0100002 16)
  start_bridge sim "$name" --unplug-after-blocks 3 --replug-after 8000 \
    --received 'rx%n.bin' && wine_took sim || { end_case; return; }
  run_cli "$img" --yes
  ended=$(now_ms)
  [ "$cli_status" -eq 1 ] && pass "zekflash-cli.exe exited 1 after the unplug" ||
    fail "zekflash-cli.exe exited $cli_status after the unplug"
  said "Check USB connection" && pass "it said \"Check USB connection\"" ||
    fail "it did not say \"Check USB connection\""
  ending 3
  unplugged=$(awk '/bridge unplugged/ { print int($1); exit }' sim.log)
  if [ -n "$unplugged" ]; then
    after=$((ended - bridge_started - unplugged))
    [ "$after" -lt 5000 ] && pass "it ended $after ms after the unplug" ||
      fail "it ended $after ms after the unplug"
  else
    fail "the bridge was never unplugged"
  fi
  wine_took sim 2 || { end_case; return; }
  run_cli "$img" --yes
  [ "$cli_status" -eq 0 ] && pass "the next download over the bridge plugged in again finished" ||
    fail "the next download exited $cli_status"
  same_blocks "$img" 16 rx2.bin && pass "and the unit received the file's 16 blocks" ||
    fail "the unit received other bytes than the file's blocks"
  end_case
}

case_no_bridge() {
  begin_case no_bridge
  local img
  img=$(image 5M0100002 4)
  run_cli "$img" --yes
  [ "$cli_status" -eq 1 ] && said "USB Communicatie Error 4" &&
    pass "no bridge: \"USB Communicatie Error 4\", exit 1" || fail "no bridge: exit $cli_status"
  start_bridge other "$other" && wine_took other || { end_case; return; }
  run_cli "$img" --yes
  [ "$cli_status" -eq 1 ] && said "USB Communicatie Error 4" &&
    pass "only \"$other\": \"USB Communicatie Error 4\", exit 1" || fail "only \"$other\": exit $cli_status"
  [ "$(grep -vc ' \* ' other.log)" -eq 0 ] && pass "\"$other\" was never asked" ||
    fail "\"$other\" was asked"
  end_case
}

# Requests of kind $1 the unit of log $2 got, and how many it could not read.
requests_of() { awk -v k="$1" '$2 == k' "$2" | wc -l; }
unreadable() { awk '$2 == "?"' "$1" | wc -l; }

case_quick_replug() {
  begin_case quick_replug
  local img image_win go
  img=$(image 5M0100002 4)
  start_bridge sim "$name" --replug-after 50 --received rx.bin && wine_took sim ||
    { end_case; return; }
  # A technician at the ready panel: the program's loop runs while it waits.
  run=$((run + 1))
  go="$work/$case_name/go"
  image_win="Z:${img//\//\\}"
  timeout 300 "$wine_loader" "$waiter" "$image_win" "Z:${go//\//\\}" \
    >"cli$run.out" 2>"cli$run.err" &
  local waiter_pid=$!
  for _ in $(seq 600); do
    grep -q 'zek: at the ready panel' "cli$run.out" && break
    kill -0 "$waiter_pid" 2>/dev/null || break
    sleep 0.2
  done
  if ! grep -q 'zek: at the ready panel' "cli$run.out"; then
    fail "the ready panel never came"
  else
    # Unplugged and plugged in again within 100 ms, while the program is busy:
    # one listing sees both once it looks.
    kill -USR1 "${bridges##* }"
    wine_took sim 2
    touch "$go"
  fi
  wait "$waiter_pid"
  cli_status=$?
  [ "$cli_status" -eq 0 ] && pass "the download after the replug finished" ||
    fail "it exited $cli_status after the replug"
  same_blocks "$img" 4 rx.bin && pass "the bridge plugged in again received the file's 4 blocks" ||
    fail "the bridge plugged in again did not receive the file's blocks"
  local replugged
  replugged=$(awk '/bridge plugged in again/ { print; exit }' sim.log)
  [ -n "$replugged" ] && note "$replugged" || fail "the bridge was never plugged in again"
  boxed && fail "a message box was shown"
  end_case
}

case_lost_reply() {
  begin_case lost_reply
  local img blocks_2 k
  img=$(image 5M0100002 6)
  # The reply to block 2 is lost once; a second bridge loses it four times.
  start_bridge sim "$name" --drop B:3 --received rx.bin && wine_took sim || { end_case; return; }
  run_cli "$img" --yes
  [ "$cli_status" -eq 0 ] && same_blocks "$img" 6 rx.bin &&
    pass "a lost reply: the block went again and the download finished byte-exact" ||
    fail "a lost reply: exit $cli_status"
  blocks_2=$(grep -c ' B len=1027 .*block 2 ' sim.log)
  [ "$blocks_2" -eq 2 ] && [ "$(unreadable sim.log)" -eq 0 ] &&
    pass "block 2 came twice, each time whole from its first piece" ||
    fail "block 2 came $blocks_2 times, $(unreadable sim.log) requests unreadable"
  stop_bridges
  start_bridge lose "$name" --drop B:3 --drop B:4 --drop B:5 --drop B:6 && wine_took lose ||
    { end_case; return; }
  run_cli "$img" --yes
  [ "$cli_status" -eq 1 ] && said "Communication is offline" &&
    pass "four lost replies: the offline panel, exit 1" || fail "four lost replies: exit $cli_status"
  blocks_2=$(grep -c ' B len=1027 .*block 2 ' lose.log)
  [ "$blocks_2" -eq 4 ] && pass "block 2 went four times" || fail "block 2 went $blocks_2 times"
  end_case
}

# The support trace holds the requests and replies of the bridge, with its path.
case_trace() {
  begin_case trace
  local img
  img=$(image 5M0100002 2)
  start_bridge sim "$name" && wine_took sim || { end_case; return; }
  run_cli "$img" --yes --trace 'Z:\tmp\work\trace\trace.txt'
  [ "$cli_status" -eq 0 ] || fail "zekflash-cli.exe exited $cli_status"
  # The bridge's path, "\\?\hid#vid_1209&...", with each \ written \x5c.
  local bridge='"\x5c\x5c?\x5chid#vid_1209&pid_7a45#'
  grep -F " sent $bridge" trace.txt | grep -q '" 02 01 56 00 00' &&
    pass "the version request is traced as the report written, ID first" ||
    fail "no version request in the trace"
  grep -F " received $bridge" trace.txt | grep -q '" 01 0b 56 35 4d 30 31 30 30 30 30 31' &&
    pass "the unit's version reply is traced as the report read" ||
    fail "no version reply in the trace"
  [ "$(grep -cF " sent $bridge" trace.txt)" -ge 44 ] &&
    pass "and the 42 pieces of the two blocks" || fail "fewer reports in the trace than sent"
  grep -E ' (sent|received) ' trace.txt | head -n 3 | sed "s/^/note: $case_name: | /"
  end_case
}

echo "note: uptime $(cut -d' ' -f1 /proc/uptime) s at the guest script's start"
if ! start_udevd; then
  echo "FAIL: udevd did not start"
  tail -n 30 "$work/udevd.log"
  exit 1
fi
if ! start_wine; then
  echo "FAIL: Wine did not start"
  tail -n 30 "$work/wine.log"
  exit 1
fi
echo "wine ready"
status=0
for c in download unplug quick_replug no_bridge lost_reply trace; do
  [ "$zek_test" = all ] || [ "$zek_test" = "$c" ] || continue
  "case_$c"
done
grep -i -E 'udev|hidraw' "$work/wine.log" | grep -v build_initial_deviceset_direct | uniq -c | tail -n 20 | sed 's/^/note: wine: /'
exit 0
