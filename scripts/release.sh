#!/usr/bin/env bash
# Makes a release from the committed sources: the Debian package, the MSI and
# the zip of the Windows programs, and their SHA256SUMS, in dist/.
#
# HEAD is exported into build-release/source and built there in fresh build
# trees, so that neither uncommitted changes nor an old build tree end up in
# what a workshop installs. The version is the one CMakeLists.txt names.
set -euo pipefail
cd "$(dirname "$0")/.."

[ $# = 0 ] || { echo "usage: scripts/release.sh" >&2; exit 2; }
git rev-parse --verify -q HEAD >/dev/null || { echo "release: no commit to build" >&2; exit 1; }
if [ -n "$(git status --porcelain --untracked-files=normal)" ]; then
  echo "release: uncommitted changes are not in the release; it is built from $(git rev-parse --short HEAD)" >&2
fi

scripts/bootstrap.sh
source=build-release/source
rm -rf build-release dist
mkdir -p "$source" dist
git archive --format=tar HEAD | tar -x -C "$source"

# Only the programs and their packages: the tests are ./test.sh's.
(
  cd "$source"
  cmake --preset default -DZEK_WITH_TESTS=OFF -DZEK_WITH_BENCH=OFF >/dev/null
  cmake --build --preset default -j2
  cpack --preset default >/dev/null
  cmake --preset windows -DZEK_WITH_TESTS=OFF >/dev/null
  cmake --build --preset windows -j2 --target windows_packages
)

cp "$source"/build/package/zekflash_*.deb "$source"/build-windows/package/zekflash-*.msi \
  "$source"/build-windows/package/zekflash-*.zip dist/
(cd dist && sha256sum -- * >SHA256SUMS)
echo "release: $(git rev-parse --short HEAD) in dist/:"
ls -l dist
