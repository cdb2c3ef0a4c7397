#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz", clang) and runs each for a short while
# on a copy of its corpus. Fails when a target crashes or breaks an invariant;
# the input that did it is kept and its path printed.
#
#   scripts/fuzz-smoke.sh                 every target, 15 s each
#   ZEK_FUZZ_SECONDS=600 scripts/fuzz-smoke.sh image
#   ZEK_FUZZ_SECONDS=1800 scripts/fuzz-smoke.sh checker   the window checker, its events
#                                         chosen by the fuzzer, then as many start values
#                                         as fit the same time
#   ZEK_FUZZ_BUILD=/elsewhere scripts/fuzz-smoke.sh   build folder other than build-fuzz
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEK_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${ZEK_FUZZ_SECONDS:-15}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(image script port_record port_list replies hid_descriptor checker)

# Longest input per target: images need room for several blocks, records do not.
max_len() {
  case "$1" in
    image) echo 8192 ;;
    port_record | port_list) echo 64 ;;
    *) echo 4096 ;;
  esac
}

binaries=()
for t in "${targets[@]}"; do
  [ -d "$root/fuzz/corpus/$t" ] || { echo "fuzz-smoke: no target '$t'" >&2; exit 2; }
  binaries+=("zek-fuzz-${t//_/-}")
  # The checker also plays its own start values, as many as fit the time.
  [ "$t" != checker ] || binaries+=(zek-checker)
done

cd "$root"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target "${binaries[@]}"

for t in "${targets[@]}"; do
  work="$(mktemp -d "${TMPDIR:-/tmp}/zek-fuzz-$t.XXXXXX")"
  cp -r "$root/fuzz/corpus/$t" "$work/corpus"
  binary="$build/bin/zek-fuzz-${t//_/-}"
  if ! "$binary" -max_total_time="$seconds" -max_len="$(max_len "$t")" -print_final_stats=1 \
      -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1; then
    tail -n 40 "$work/log" >&2
    echo "fuzz-smoke: $t FAILED; log and input kept in $work" >&2
    exit 1
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")"
  echo "fuzz-smoke: $t passed, ${runs:-?} runs in ${seconds} s"
  rm -rf "$work"
  if [ "$t" = checker ]; then
    # Start values far beyond the regular run's, for as long as the fuzzer ran.
    minutes="$(awk -v s="$seconds" 'BEGIN { print s / 60 }')"
    if ! "$build/bin/zek-checker" --minutes "$minutes" --from 1000000 >"$build/checker.log"; then
      tail -n 60 "$build/checker.log" >&2
      echo "fuzz-smoke: checker start values FAILED; see $build/checker.log" >&2
      exit 1
    fi
    echo "fuzz-smoke: checker start values passed: $(tail -n 1 "$build/checker.log")"
  fi
done
