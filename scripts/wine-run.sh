#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests and for CTest's emulator:
# quiet, without the Mono and Gecko prompts, in a prefix of its own that is
# made once (about 10 s and 700 MB) and then reused.
#
# Usage: wine-run.sh [--prefix DIR] PROGRAM.exe [ARGS...]
#   DIR defaults to $WINEPREFIX. The program's exit code is passed on; a Wine
#   that cannot start fails with 125.
#
# Wine's own messages stay out of the program's stderr: the prefix is made with
# its output in DIR.log, and the wineserver is started here, persistent for a
# minute, with its output there too (it sometimes dumps its tables on stderr).
set -euo pipefail

if [ "${1:-}" = "--prefix" ]; then
  export WINEPREFIX="$2"
  shift 2
fi
: "${WINEPREFIX:?wine-run.sh: give --prefix DIR or set WINEPREFIX}"
WINEPREFIX="$(realpath -m "$WINEPREFIX")"
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix DIR] PROGRAM.exe [ARGS...]" >&2; exit 125; }

export WINEDEBUG=-all
# No Mono or Gecko prompts, and no entries in the Linux desktop's menu for the
# shortcuts that an installer under test makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
log="$WINEPREFIX.log"
wine_loader="$(command -v wine64 || true)"
[ -n "$wine_loader" ] || wine_loader=/usr/lib/wine/wine64
[ -x "$wine_loader" ] || wine_loader="$(command -v wine || true)"
if [ -z "$wine_loader" ] || ! command -v wineserver >/dev/null; then
  echo "wine-run.sh: Wine is not installed (scripts/bootstrap.sh installs it)" >&2
  exit 125
fi

mkdir -p "$(dirname "$WINEPREFIX")"
# One maker at a time: CTest runs several programs at once.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  if ! wineboot --init </dev/null >>"$log" 2>&1 9>&-; then
    echo "wine-run.sh: could not make the Wine prefix $WINEPREFIX (see $log)" >&2
    exit 125
  fi
  # The session that made the prefix is not always whole (Wine's HID bus can
  # be missing from it): let it end, and start afresh below.
  wineserver -w </dev/null >>"$log" 2>&1 9>&- || true
fi
# A new server starts Wine's own services (explorer, plugplay, ...), which
# outlive the program and keep the output they were given; started by
# wineboot they write to the log, not into a pipe a test runner waits on.
# wineserver exits 2 when a server already runs for this prefix. Neither the
# server nor the services get the lock: they outlive this script, and would
# keep every later run waiting for them.
server=0
wineserver -p60 </dev/null >>"$log" 2>&1 9>&- || server=$?
case $server in
  0) "$wine_loader" wineboot </dev/null >>"$log" 2>&1 9>&- ;;
  2) ;;
  *) echo "wine-run.sh: wineserver could not start (see $log)" >&2; exit 125 ;;
esac
flock -u 9
exec 9>&-

exec "$wine_loader" "$@"
