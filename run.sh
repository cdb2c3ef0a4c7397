#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated unit on a
# pseudo-terminal and downloads the sample firmware image to it.
#
#   ./run.sh          download with the batch front end, progress on the terminal
#   ./run.sh --gui    open the window instead, with the simulated unit connected:
#                     press "Open file", pick samples/3M0100002.fm0, press Download
set -euo pipefail
cd "$(dirname "$0")"

gui=0
case "${1:-}" in
  "") ;;
  --gui) gui=1 ;;
  *) echo "usage: ./run.sh [--gui]" >&2; exit 2 ;;
esac

scripts/bootstrap.sh
cmake --preset default >/dev/null
targets=(zekflash-cli zek-ecu-sim zek_samples)
[ "$gui" = 1 ] && targets+=(zekflash)
cmake --build --preset default -j2 --target "${targets[@]}"

bin=build/bin
sample="$bin/samples/3M0100002.fm0"
work="$(mktemp -d "${TMPDIR:-/tmp}/zekflash-run.XXXXXX")"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The simulated unit runs firmware 3M0100001, one version older than the sample,
# and takes as long over each byte as a real line at 115200 baud.
"$bin/zek-ecu-sim" --version 3M0100001 --pace --link-file "$work/link" \
  --received "$work/received.bin" --log "$work/unit.log" >/dev/null &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/link" ] && break
  sleep 0.05
done
[ -s "$work/link" ] || { echo "run.sh: the simulated unit did not start" >&2; exit 1; }
port="$(head -n 1 "$work/link")"
echo "Simulated unit on $port"

# The port search looks at the serial ports present and at those named here.
export ZEKFLASH_PORTS="$port${ZEKFLASH_PORTS:+:$ZEKFLASH_PORTS}"

if [ "$gui" = 1 ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display here; run ./run.sh without --gui, or from a desktop session" >&2
    exit 1
  fi
  "$bin/zekflash"
  exit 0
fi

status=0
"$bin/zekflash-cli" --yes --timeout 120 "$sample" || status=$?
[ "$status" = 0 ] || exit "$status"
# The unit writes what it received when it stops.
kill "$sim_pid" && wait "$sim_pid" 2>/dev/null || true
sim_pid=""
# Every byte the unit took must be the file's: its blocks without the checksum record.
blocks=$(( $(stat -c %s "$sample") / 1024 ))
if cmp -s -n $(( blocks * 1024 )) "$sample" "$work/received.bin"; then
  echo "The simulated unit holds every byte of $sample."
else
  echo "run.sh: what the unit received differs from $sample" >&2
  exit 1
fi
