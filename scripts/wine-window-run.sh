#!/usr/bin/env bash
# Runs a Windows program that opens windows under Wine, on the display that
# scripts/xvfb-display.sh started, with Arial drawn in the metric-compatible
# Liberation Sans so that texts take the widths the layout was made for.
#
# Usage: wine-window-run.sh DISPLAY_DIR PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

display_dir=$1
prefix="$(realpath -m "$2")"
shift 2
if [ ! -s "$display_dir/display" ]; then
  echo "wine-window-run.sh: no display in $display_dir (scripts/xvfb-display.sh start)" >&2
  exit 125
fi
DISPLAY="$(cat "$display_dir/display")"
export DISPLAY

# Once per prefix; several tests may start at the same moment.
exec 8>"$prefix.fonts.lock"
flock 8
if [ ! -f "$prefix/.arial-replaced" ]; then
  "$here/wine-run.sh" --prefix "$prefix" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null
  touch "$prefix/.arial-replaced"
fi
flock -u 8
exec 8>&-

exec "$here/wine-run.sh" --prefix "$prefix" "$@"
