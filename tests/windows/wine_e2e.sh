#!/usr/bin/env bash
# zekflash-cli.exe under Wine against the simulated unit of the Linux build,
# over a pseudo-terminal that Wine sees as COM5 (a dosdevices link takes
# effect at once, without restarting the wineserver).
#
# Usage: wine_e2e.sh --wine-run SCRIPT --prefix DIR --cli EXE --sim PROGRAM
#                    --make-sample PROGRAM --work DIR CASE
# Fails, never skips, when Wine or the simulated unit cannot start.
set -euo pipefail

while [ $# -gt 1 ]; do
  case $1 in
    --wine-run) wine_run=$2 ;;
    --prefix) prefix=$2 ;;
    --cli) cli=$2 ;;
    --sim) sim=$2 ;;
    --make-sample) make_sample=$2 ;;
    --work) work=$2 ;;
    *) break ;;
  esac
  shift 2
done
case_name=${1:?a case name}

# name | image version | blocks | extra options of the unit | exit | shown | holds the image | within (s)
# The unit answers only requests that come at the rate its family needs (921600
# for "6M") in raw 8N1, and reports the others on stderr (checked below).
# A "5M" image goes to the USB HID bridge: none is there, and Wine's own mouse
# and keyboard must not be taken for one.
cases='
plain        | 3M0100002 | 24 |                              | 0 | Firmware download is ready | yes | 60
fast         | 6M0100002 | 24 |                              | 0 | Firmware download is ready | yes | 60
lost_replies | 3M0100002 | 12 | --drop B:3                   | 0 | COM5 errors:1              | yes | 60
pulled       | 3M0100002 | 40 | --pull-after-blocks 5        | 1 | COM5 was disconnected      | no  | 20
no_bridge    | 5M0100002 |  4 |                              | 1 | USB Communicatie Error 4   | no  | 20
'
row=$(grep -E "^$case_name +\|" <<<"$cases") || { echo "no case $case_name" >&2; exit 2; }
IFS='|' read -r _ version blocks unit_options want_exit shown holds within <<<"$row"
trim() { sed -e 's/^ *//' -e 's/ *$//' <<<"$1"; }
version=$(trim "$version"); blocks=$(trim "$blocks"); want_exit=$(trim "$want_exit")
shown=$(trim "$shown"); holds=$(trim "$holds"); within=$(trim "$within")

[ -x "$sim" ] || { echo "FAIL: no simulated unit at $sim (build the default preset first)" >&2; exit 1; }
dir="$work/$case_name"
rm -rf "$dir" && mkdir -p "$dir"
image="$dir/$version.fm0"
"$make_sample" "$image" "$version" "$blocks" >/dev/null

serial=yes
[[ $version == 5M* ]] && serial=no
# The unit runs the version before the image's.
unit_version="${version%?}$(( ${version: -1} - 1 ))"
: >"$dir/unit.log"; : >"$dir/unit.err"
if [ $serial = yes ]; then
  # shellcheck disable=SC2086  # the options are words
  "$sim" --version "$unit_version" --received "$dir/received.bin" --link-file "$dir/link" \
    --log "$dir/unit.log" $unit_options >"$dir/unit.out" 2>"$dir/unit.err" &
  sim_pid=$!
  trap 'kill $sim_pid 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -s "$dir/link" ] && break; sleep 0.1; done
  [ -s "$dir/link" ] || { echo "FAIL: the simulated unit did not start" >&2; cat "$dir/unit.err" >&2; exit 1; }
fi

# The prefix is made (once) by the first run of wine-run.sh; the link goes in after.
"$wine_run" --prefix "$prefix" cmd /c exit 0 >/dev/null 2>&1 || { echo "FAIL: Wine cannot start" >&2; exit 1; }
port=()
if [ $serial = yes ]; then
  ln -sfn "$(cat "$dir/link")" "$prefix/dosdevices/com5"
  port=(--port COM5)
fi

start_ms=$(( $(date +%s%N) / 1000000 ))
status=0
"$wine_run" --prefix "$prefix" "$cli" --yes --timeout 40 "${port[@]}" "Z:${image//\//\\}" \
  >"$dir/cli.out" 2>"$dir/cli.err" || status=$?
elapsed_ms=$(( $(date +%s%N) / 1000000 - start_ms ))
if [ $serial = yes ]; then
  kill $sim_pid 2>/dev/null || true
  wait $sim_pid 2>/dev/null || true
fi

failed=0
fail() { echo "FAIL ($case_name): $*" >&2; failed=1; }
[ "$status" -eq "$want_exit" ] || fail "exit $status, not $want_exit"
grep -qF -- "$shown" "$dir/cli.out" "$dir/cli.err" || fail "\"$shown\" was not shown"
[ "$elapsed_ms" -lt $((within * 1000)) ] || fail "took $elapsed_ms ms, not under $within s"
if [ "$holds" = yes ]; then
  cmp -s "$dir/received.bin" <(head -c $((blocks * 1024)) "$image") ||
    fail "the unit does not hold the image's $blocks blocks"
fi
# The unit reports every request that came at a rate or framing it does not take.
if grep "not answered" "$dir/unit.err" | grep -qv "cable"; then
  fail "the unit saw a wrong line setting"
fi
if [ "$failed" -ne 0 ]; then
  echo "--- zekflash-cli.exe stdout"; cat "$dir/cli.out"
  echo "--- stderr"; cat "$dir/cli.err"
  echo "--- unit"; tail -n 20 "$dir/unit.log" "$dir/unit.err"
  exit 1
fi
echo "ok: $case_name, exit $status in $elapsed_ms ms"
