#!/usr/bin/env bash
# Installs what is missing, checks that no include reaches where its folder may
# not (the check asks the compilers and Qt it installs), builds everything, and
# runs every test: unit tests, window tests (offscreen),
# end-to-end downloads to the simulated unit, makes and checks the Debian
# package, builds the Windows programs with their MSI and zip and runs their
# tests under Wine, and runs each fuzz target a short while.
set -euo pipefail
cd "$(dirname "$0")"

scripts/bootstrap.sh
scripts/check-layers.sh
cmake --preset default >/dev/null
cmake --build --preset default -j2
ctest --preset default -j2
scripts/check-package.sh
# The Windows programs, cross-built and run under Wine; their MSI (with a newer
# release's, to upgrade to) and zip, installed and unpacked under Wine.
cmake --preset windows >/dev/null
cmake --build --preset windows -j2
cmake --build --preset windows -j2 --target windows_packages upgrade_msi
ctest --preset windows -j2
ZEK_FUZZ_SECONDS="${ZEK_FUZZ_SECONDS:-10}" scripts/fuzz-smoke.sh
