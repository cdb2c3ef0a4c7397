#!/usr/bin/env bash
# The serial link of the Windows programs under Wine, at the wire's pace: the
# same 256-block download at 921600 baud (family 6M) to the simulated unit
# taking the wire time of every byte (--pace), over a pseudo-terminal that Wine
# sees as COM9, first by zek-bench-sync-client.exe (the least a Windows program
# can do: one synchronous handle, no event loop) and then by zekflash-cli.exe.
# For each: the turnaround, from the end of a block's reply to the first byte
# of the next block (the unit's log less the wire time of both), as median and
# 90th percentile, and the share of the wire's limit the download reached.
#
#   bench/wine_serial_bench.sh [LINUX_BUILD [WINDOWS_BUILD]]   (default: build build-windows)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_bin="${1:-$root/build}/bin"
windows_bin="${2:-$root/build-windows}/bin"
prefix="$root/build-windows/wine-prefix-bench"
blocks=256
baud=921600
work="$(mktemp -d "${TMPDIR:-/tmp}/zek-wine-pace.XXXXXX")"
sim_pid=
cleanup() {
  [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for program in "$linux_bin/zek-ecu-sim" "$linux_bin/zek-make-sample" \
  "$windows_bin/zekflash-cli.exe" "$windows_bin/zek-bench-sync-client.exe"; do
  [ -e "$program" ] || { echo "no $program: build the default and windows presets" >&2; exit 1; }
done
"$root/scripts/wine-run.sh" --prefix "$prefix" cmd /c exit 0 >/dev/null 2>&1 ||
  { echo "Wine cannot start" >&2; exit 1; }
image="$work/6M0100002.fm0"
"$linux_bin/zek-make-sample" "$image" 6M0100002 "$blocks" 0050 >/dev/null

# Runs the Windows program given against a fresh unit; prints its figures.
run() {
  local label=$1
  shift
  rm -f "$work/link" "$work/unit.log"
  "$linux_bin/zek-ecu-sim" --version 6M0100001 --pace --link-file "$work/link" \
    --log "$work/unit.log" >/dev/null &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/link" ] && break; sleep 0.05; done
  ln -sfn "$(head -n 1 "$work/link")" "$prefix/dosdevices/com9"
  local TIMEFORMAT='%U %S' cpu
  cpu=$( { time "$root/scripts/wine-run.sh" --prefix "$prefix" "$@" >/dev/null 2>"$work/err"; } 2>&1 | tail -n 1)
  [ ! -s "$work/err" ] || sed "s/^/$label: /" "$work/err" >&2
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
  # The unit logs a block when its last byte has arrived: between two blocks
  # lie the first one's 4-byte reply and the next one's 1027 bytes on the wire.
  awk -v label="$label" -v baud="$baud" -v blocks="$blocks" -v cpu="$cpu" '
    $2 == "B" { t[n++] = $1 }
    END {
      byte_ms = 10000.0 / baud
      for (i = 1; i < n; i++) gap[i] = t[i] - t[i - 1] - 1031 * byte_ms
      m = n - 1
      for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (gap[j] < gap[i]) { x = gap[i]; gap[i] = gap[j]; gap[j] = x }
      span = (t[n - 1] + 4 * byte_ms) - (t[0] - 1027 * byte_ms)
      split(cpu, c, " ")
      printf "%-24s %3d blocks: turnaround median %.3f ms, 90th percentile %.3f ms; %.1f %% of the wire; CPU %.2f s\n",
             label, n, gap[int((m + 1) / 2)], gap[int(0.9 * m) + 1], 100 * blocks * 1031 * byte_ms / span,
             c[1] + c[2]
    }' "$work/unit.log"
}

echo "$blocks blocks at $baud baud under Wine ($(uptime | sed 's/.*load/load/'))"
run "synchronous client" "$windows_bin/zek-bench-sync-client.exe" COM9 "$baud" "$blocks"
run "zekflash-cli.exe" "$windows_bin/zekflash-cli.exe" --yes --port COM9 \
  "Z:${image//\//\\}"
