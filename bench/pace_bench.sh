#!/usr/bin/env bash
# How close a download comes to what the wire allows: 256 blocks to the
# simulated unit taking the wire time of every byte (--pace), at 115200 baud
# (family 3M) and at 921600 baud (family 6M). The ideal is 1031 bytes of 10 bits
# per block (the 1027-byte block and its 4-byte reply), counted from the start
# of the first block to the end of the last block's reply. Also prints the CPU
# time the batch front end used.
#
#   bench/pace_bench.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build}/bin"
work="$(mktemp -d "${TMPDIR:-/tmp}/zek-pace.XXXXXX")"
trap 'rm -rf "$work"' EXIT

run() {
  local family=$1 baud=$2 blocks=256
  local image="$work/${family}0100002.fm0"
  "$bin/zek-make-sample" "$image" "${family}0100002" "$blocks" 0050
  "$bin/zek-ecu-sim" --version "${family}0100001" --pace --link-file "$work/link" \
    --log "$work/unit.log" >/dev/null &
  local sim=$!
  for _ in $(seq 100); do [ -s "$work/link" ] && break; sleep 0.05; done
  local port
  port="$(head -n 1 "$work/link")"
  local TIMEFORMAT='%U %S'
  local cpu
  cpu=$( { time "$bin/zekflash-cli" --yes --timeout 300 --port "$port" "$image" >/dev/null; } 2>&1 | tail -n 1)
  kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true
  rm -f "$work/link"
  # The unit logs a block when its last byte has arrived; the first block
  # started 1027 byte times before that, the last reply ends 4 byte times after.
  awk -v baud="$baud" -v blocks="$blocks" -v cpu="$cpu" '
    $2 == "B" { if (first == "") first = $1; last = $1; n++ }
    END {
      byte_ms = 10000.0 / baud
      span = (last + 4 * byte_ms) - (first - 1027 * byte_ms)
      ideal = blocks * 1031 * byte_ms
      split(cpu, c, " ")
      printf "%6d baud: %d blocks in %.1f ms, wire allows %.1f ms: %.1f %% of the wire; CPU %.3f s user, %.3f s system\n",
             baud, n, span, ideal, 100 * ideal / span, c[1], c[2]
    }' "$work/unit.log"
}

run 3M 115200
run 6M 921600
