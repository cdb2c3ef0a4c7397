#!/usr/bin/env bash
# Makes the Debian package of the default build and checks it: lintian finds
# nothing beyond the commented overrides the package carries, it holds what an
# installed program needs, and its programs run from the unpacked package.
# Run after the default build (./test.sh does).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
samples="$build/bin/samples"
fail() { echo "check-package: $*" >&2; exit 1; }

rm -rf "$build/package"
cpack --preset default >/dev/null
debs=("$build"/package/zekflash_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "expected one zekflash_*.deb in $build/package"
deb=${debs[0]}
echo "check-package: $deb"

# Errors, warnings and notes fail; the overrides shipped in the package say why each is left.
lintian --fail-on error,warning,info --display-info "$deb" | sed 's/^/lintian: /'

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libc6* && $depends == *libstdc++6* ]] ||
  fail "Depends lacks the C and C++ libraries: $depends"
[[ $depends == *libqt6widgets6* ]] || fail "Depends lacks Qt Widgets: $depends"

root=$(mktemp -d "${TMPDIR:-/tmp}/zekflash-package.XXXXXX")
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

for path in \
  usr/bin/zekflash usr/bin/zekflash-cli usr/bin/zek-ecu-sim \
  usr/share/man/man1/zekflash.1.gz usr/share/man/man1/zekflash-cli.1.gz \
  usr/share/man/man1/zek-ecu-sim.1.gz \
  usr/lib/udev/rules.d/70-zekflash.rules \
  usr/share/applications/zekflash.desktop \
  usr/share/icons/hicolor/scalable/apps/zekflash.svg \
  usr/share/doc/zekflash/copyright usr/share/doc/zekflash/changelog.Debian.gz; do
  [ -f "$root/$path" ] || fail "the package lacks /$path"
done
desktop-file-validate "$root/usr/share/applications/zekflash.desktop"

# Each program's help, from the package, without a display; every option it
# names must be in its manual page. Each names the package's release.
release=$(dpkg-deb -f "$deb" Version)
release=${release%-*}
for program in zekflash zekflash-cli zek-ecu-sim; do
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version) ||
    fail "$program --version failed"
  [ "$said" = "$program (ZEK Firmware downloader) $release" ] ||
    fail "$program --version said \"$said\", not release $release"
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --help) ||
    fail "$program --help failed"
  [[ ${help,,} == usage:\ $program* ]] || fail "$program --help does not begin with its usage"
  page=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  [[ $(head -n 1 <<<"$page") == *"\"zekflash $release\""* ]] ||
    fail "the manual page of $program names another release: $(head -n 1 <<<"$page")"
  for option in $(grep -oE -- '(^|[ ,])--?[A-Za-z][A-Za-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
    grep -qE -- "(^|[^A-Za-z-])$option([^A-Za-z-]|\$)" <<<"$page" ||
      fail "the manual page of $program lacks $option"
  done
done

for sample in "$samples"/3M0100002.fm0 "$samples"/6M0100002.fm0; do
  version=$(basename "$sample" .fm0)
  info=$("$root/usr/bin/zekflash-cli" --info "$sample") || fail "zekflash-cli --info $sample failed"
  [[ $info == *"$version"* ]] || fail "zekflash-cli --info does not name $version: $info"
done
echo "check-package: lintian clean, contents present, programs run and name release $release"
