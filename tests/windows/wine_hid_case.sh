#!/bin/sh
# One case of vm.wine_hid.run: passes when the boot's output holds the case's
# end and no failure of it. Prints the case's lines.
#
# Usage: wine_hid_case.sh RESULTS CASE
results=$1
case_name=$2
grep -E "^(ok|FAIL|note): $case_name: |^--- $case_name/" "$results" 2>/dev/null
if ! grep -qx "case $case_name ended" "$results" 2>/dev/null; then
  echo "FAIL: the case $case_name did not run to its end (see vm.wine_hid.run)"
  exit 1
fi
if grep -q "^FAIL: $case_name: " "$results"; then
  sed -n "/^--- $case_name\//,/^case $case_name ended/p" "$results"
  exit 1
fi
exit 0
