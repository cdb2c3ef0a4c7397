# Runs in the virtual machine (scripts/vm/run-guest.sh), test named by $zek_test:
# zekflash-cli opening a real USB-serial adapter (qemu's FTDI chip, nothing
# cabled to it) for a "6M" unit, which talks at 921600 baud.
port=/dev/ttyUSB0
timer=/sys/bus/usb-serial/devices/ttyUSB0/latency_timer
image=/data/6M0100002.fm0
status=0

fail() {
  echo "FAIL: $*"
  status=1
}
pass() { echo "ok: $*"; }

case "$zek_test" in
  latency) ;;
  *)
    echo "FAIL: no test $zek_test"
    exit 1
    ;;
esac

# The adapter is probed once the host controller's driver has found it.
for _ in $(seq 100); do
  [ -c "$port" ] && [ -r "$timer" ] && break
  sleep 0.1
done
if [ ! -c "$port" ] || [ ! -r "$timer" ]; then
  echo "FAIL: no $port with a latency timer"
  ls /sys/bus/usb-serial/devices /sys/bus/usb/devices 2>&1 | sed 's/^/note: /'
  exit 1
fi

# A real chip starts at 16 ms; qemu's answers 0. Either way not 1, so that the 1
# read afterwards is the program's doing.
before=$(cat "$timer")
[ -n "$before" ] && [ "$before" != 1 ] && pass "latency timer $before ms before the program" ||
  fail "latency timer reads \"$before\" before the program"

timeout 60 zekflash-cli --port "$port" --timeout 30 "$image" >/tmp/cli.txt 2>&1
cli_status=$?
# Nothing answers behind the adapter: the port opened and took the rate, and
# the requests went unanswered.
if [ "$cli_status" = 1 ] && grep -qF "no answer from the unit on $port" /tmp/cli.txt &&
  ! grep -qF "cannot run at" /tmp/cli.txt; then
  pass "the port opened at 921600 baud and the unit was asked"
else
  fail "zekflash-cli ended with $cli_status"
  sed 's/^/note: | /' /tmp/cli.txt
fi

after=$(cat "$timer")
[ "$after" = 1 ] && pass "latency timer $after ms after the program opened the port" ||
  fail "latency timer reads $after after the program opened the port, not 1"
exit "$status"
