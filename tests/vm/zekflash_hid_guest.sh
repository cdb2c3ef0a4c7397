# Runs in the virtual machine (scripts/vm/run-guest.sh), test named by $zek_test:
# zekflash-cli downloading a "5M" image through the simulated unit's HID bridge,
# over the kernel's hidraw, with "Autoselect comport" on as at every start.
name="HIDtoUART ZEK"
other="hidtoUART ZEK"
unit_version=5M0100001
image=/data/5M0100002.fm0
blocks=$(($(wc -c <"$image") / 1024))
status=0

fail() {
  echo "FAIL: $*"
  status=1
}
pass() { echo "ok: $*"; }
uptime_cs() { awk '{ printf "%d", $1 * 100 }' /proc/uptime; }

show_logs() {
  for log in /tmp/*.log /tmp/*.err /tmp/cli*.txt; do
    [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
  done
}

# Starts a bridge named $2 logging to /tmp/$1.log, with the further options
# given; returns once its hidraw node is there.
start_bridge() {
  label=$1 bridge_name=$2
  shift 2
  zek-ecu-sim --hid --hid-name "$bridge_name" --version "$unit_version" --log "/tmp/$label.log" \
    "$@" >"/tmp/$label.out" 2>>"/tmp/$label.err" &
  bridge_pid=$!
  for _ in $(seq 200); do
    [ -s "/tmp/$label.out" ] && return 0
    sleep 0.05
  done
  fail "bridge $label did not come up"
  return 1
}

# Runs zekflash-cli on the image as run $1 (output in /tmp/cli$1.txt), as the
# user $2 if given, else as root; sets cli_status and cli_cs (centiseconds).
run_cli() {
  run=$1
  command="zekflash-cli --yes --timeout 90 ${trace:+--trace $trace} $image"
  begin=$(uptime_cs)
  if [ -n "${2:-}" ]; then
    timeout 120 su "$2" -s /bin/sh -c "$command" >"/tmp/cli$run.txt" 2>&1
  else
    timeout 120 $command >"/tmp/cli$run.txt" 2>&1
  fi
  cli_status=$?
  cli_cs=$(($(uptime_cs) - begin))
}

said() { grep -qF "$1" "/tmp/cli$run.txt"; }
# Whether the last run showed a message box (a line "PLACE: KIND: TEXT"). A
# link error that a re-sent request mended is no box: it only counts in the
# "errors:" line, as it may on a loaded machine that emulates the guest.
boxed() { grep -qE ': (message|error|warning|question): ' "/tmp/cli$run.txt"; }
# The lines the last run ended with, for the test's log.
ending() { tail -n "$1" "/tmp/cli$run.txt" | sed 's/^/note: | /'; }

# Requests the bridge of $1 was asked (lines of its log that are not events).
requests() { grep -vc ' \* ' "/tmp/$1.log"; }

same_blocks() { head -c $((blocks * 1024)) "$image" | cmp -s - "$1"; }

# The time from one block's arrival at the unit to the next one's, from the
# unit's log: mean, least and most, in ms.
block_times() {
  awk '$2 == "B" { if (last != "") { d = $1 - last; s += d; n++;
         if (min == "" || d < min) min = d; if (d > max) max = d }
       last = $1 }
       END { if (n) printf "%.1f ms mean, %.1f least, %.1f most over %d blocks", s / n, min, max, n }' "$1"
}

case "$zek_test" in
  download)
    start_bridge other "$other" && start_bridge sim "$name" --received /tmp/rx.bin || exit 1
    trace=/tmp/trace.txt
    run_cli 1
    trace=
    [ "$cli_status" -eq 0 ] && pass "the download finished" ||
      fail "zekflash-cli exited $cli_status"
    same_blocks /tmp/rx.bin && pass "the unit received the file's $blocks blocks" ||
      fail "the unit received other bytes than the file's blocks"
    [ "$(requests other)" -eq 0 ] && pass "the device named \"$other\" was never asked" ||
      fail "the device named \"$other\" was asked"
    boxed && { fail "a message box was shown"; ending 5; }
    # The support trace holds every report, ID first, with the bridge's node.
    node=$(head -n 1 /tmp/sim.out)
    grep -qF " sent \"$node\" 02 01 56 00 00" /tmp/trace.txt &&
      grep -qF " received \"$node\" 01 0b 56 35 4d 30 31 30 30 30 30 31" /tmp/trace.txt &&
      [ "$(grep -cF " sent \"$node\" 02 " /tmp/trace.txt)" -ge $((21 * blocks + 4)) ] &&
      pass "the trace holds the bridge's requests and replies" ||
      fail "the trace lacks the bridge's requests or replies"
    echo "note: download of $blocks blocks took $((cli_cs * 10)) ms in all"
    echo "note: time per block at the unit: $(block_times /tmp/sim.log); floor 200 ms" \
      "(21 reports, 20 gaps of 10 ms) plus the reply"
    echo "note: where a block's time goes (the trace): $(awk -f /data/trace_times.awk /tmp/trace.txt)"
    ;;
  unplug)
    start_bridge sim "$name" --unplug-after-blocks 3 --replug-after 3000 --link-file /tmp/link \
      --received '/tmp/rx%n.bin' || exit 1
    first_node=$(cat /tmp/link)
    (
      while ! grep -q 'bridge unplugged' /tmp/sim.log; do sleep 0.02; done
      uptime_cs >/tmp/unplugged_at
    ) &
    watcher=$!
    run_cli 1
    ended=$(uptime_cs)
    # The watcher looks only every 20 ms: the program may have ended first.
    for _ in $(seq 100); do
      kill -0 "$watcher" 2>/dev/null || break
      sleep 0.05
    done
    [ "$cli_status" -eq 1 ] && pass "zekflash-cli exited 1 after the unplug" ||
      fail "zekflash-cli exited $cli_status after the unplug"
    said "Check USB connection" && pass "it said \"Check USB connection\"" ||
      fail "it did not say \"Check USB connection\""
    ending 3
    if [ -s /tmp/unplugged_at ]; then
      after=$(((ended - $(cat /tmp/unplugged_at)) * 10))
      [ "$after" -ge 0 ] || after=0
      [ "$after" -lt 2500 ] && pass "it ended $after ms after the unplug, before the replug" ||
        fail "it ended $after ms after the unplug"
    else
      fail "the bridge was never unplugged"
    fi
    for _ in $(seq 200); do
      [ -s /tmp/link ] && [ "$(cat /tmp/link)" != "$first_node" ] && break
      sleep 0.05
    done
    run_cli 2
    [ "$cli_status" -eq 0 ] && pass "the next download over the bridge plugged in again finished" ||
      fail "the next download exited $cli_status"
    same_blocks /tmp/rx2.bin && pass "and the unit received the file's $blocks blocks" ||
      fail "the unit received other bytes than the file's blocks"
    boxed && { fail "the next download showed a message box"; ending 5; }
    ;;
  no_bridge)
    run_cli 1
    [ "$cli_status" -eq 1 ] && said "USB Communicatie Error 4" &&
      pass "no HID device: \"USB Communicatie Error 4\", exit 1" ||
      fail "no HID device: exit $cli_status"
    start_bridge other "$other" || exit 1
    run_cli 2
    [ "$cli_status" -eq 1 ] && said "USB Communicatie Error 4" &&
      pass "only \"$other\": \"USB Communicatie Error 4\", exit 1" ||
      fail "only \"$other\": exit $cli_status"
    [ "$(requests other)" -eq 0 ] && pass "\"$other\" was never asked" || fail "\"$other\" was asked"
    kill "$bridge_pid"
    start_bridge sim "$name" || exit 1
    # The node is root's only, as without the udev rule; the user is not root.
    mkdir -p /etc
    echo "root:x:0:0::/:/bin/sh" >/etc/passwd
    echo "tech:x:1000:1000::/tmp:/bin/sh" >>/etc/passwd
    printf 'root:x:0:\ntech:x:1000:\n' >/etc/group
    run_cli 3 tech
    [ "$cli_status" -eq 1 ] && said "packaging/udev/70-zekflash.rules" &&
      pass "a bridge this user may not open is named, with the way to get access" ||
      fail "a bridge without access: exit $cli_status"
    ending 3
    ;;
  usb_gadget)
    # The bridge as a real USB device, on the full kernel's dummy_hcd: found by
    # its USB product string.
    start_bridge sim "$name" --hid-gadget --received /tmp/rx.bin || exit 1
    run_cli 1
    [ "$cli_status" -eq 0 ] && pass "the download over USB finished" ||
      fail "zekflash-cli exited $cli_status"
    same_blocks /tmp/rx.bin && pass "the unit received the file's $blocks blocks" ||
      fail "the unit received other bytes than the file's blocks"
    echo "note: time per block at the unit: $(block_times /tmp/sim.log)"
    ;;
  *)
    echo "no guest test named '$zek_test'"
    exit 2
    ;;
esac
[ "$status" -eq 0 ] || show_logs
exit "$status"
