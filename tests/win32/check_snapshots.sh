#!/usr/bin/env bash
# Runs the snapshot tool into DIR, then checks that it wrote each picture the
# README promises, each a PNG of the window's size (the opening screen's for
# its own).
#
# Usage: check_snapshots.sh DIR RUNNER... SNAPSHOT.exe
set -euo pipefail
dir=$1
shift
rm -rf "$dir"
"$@" "$dir"

# Width and height from a PNG's header, as "W x H"; nothing when it is no PNG.
png_size() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || return 0
  local w h
  w=$(od -An -tu4 --endian=big -j16 -N4 "$1" | tr -d ' ')
  h=$(od -An -tu4 --endian=big -j20 -N4 "$1" | tr -d ' ')
  echo "$w x $h"
}

failures=0
expect() {
  local size
  size=$(png_size "$dir/$1" 2>/dev/null || true)
  if [ "$size" != "$2" ]; then
    echo "check_snapshots: $1 is '${size:-missing or no PNG}', wanted $2" >&2
    failures=$((failures + 1))
  fi
}

expect opening_screen.png "617 x 367"
for shot in main_rest ready_download_cancel ready_ok offline refusal older_version \
  older_version_wrong_type message_10 message_3 access_level gauge_40 gauge_50 \
  port_settings_auto_on port_settings_auto_off spinner; do
  expect "$shot.png" "604 x 328"
done
exit $((failures > 0))
