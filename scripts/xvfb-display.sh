#!/usr/bin/env bash
# A virtual X display for the Windows programs that open windows under Wine,
# one per test run.
#
# Usage: xvfb-display.sh start DIR
#          starts Xvfb on a free display; DIR/display then holds its name (":N")
#        xvfb-display.sh stop DIR PREFIX
#          stops the Wine server of PREFIX, which talks to that display, then Xvfb
set -euo pipefail

case "${1:-}" in
  start)
    dir=$2
    mkdir -p "$dir"
    rm -f "$dir/display" "$dir/pid"
    command -v Xvfb >/dev/null || { echo "xvfb-display.sh: Xvfb is not installed" >&2; exit 1; }
    # Its output goes to a file: a test runner waits for the pipes it handed out to close.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$dir/number" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 100); do
      if [ -s "$dir/number" ]; then
        echo ":$(tr -d '\n' <"$dir/number")" >"$dir/display"
        exit 0
      fi
      sleep 0.1
    done
    echo "xvfb-display.sh: Xvfb did not start (see $dir/xvfb.log)" >&2
    exit 1
    ;;
  stop)
    dir=$2
    WINEPREFIX="$(realpath -m "$3")" wineserver -k >/dev/null 2>&1 || true
    if [ -f "$dir/pid" ]; then
      kill "$(cat "$dir/pid")" 2>/dev/null || true
      rm -f "$dir/pid" "$dir/display" "$dir/number"
    fi
    ;;
  *)
    echo "usage: xvfb-display.sh start DIR | stop DIR PREFIX" >&2
    exit 2
    ;;
esac
