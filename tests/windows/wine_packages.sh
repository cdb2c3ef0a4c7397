#!/usr/bin/env bash
# The Windows packages under Wine, as a workshop's IT and technicians use them.
#
#   msi: in a fresh prefix, install the MSI silently (files, Start-menu entry,
#        Apps-list entry, --version, a download of the sample with the
#        installed program), upgrade it silently with the newer release's MSI
#        (one Apps-list entry, the new files; the older one is then refused),
#        and remove it silently (every installed file gone, the user's port
#        files kept).
#   zip: unpack the zip and download its sample with the unpacked program.
#
# Usage: wine_packages.sh --wine-run SCRIPT --prefix DIR --sim PROGRAM
#          --sample FILE --msi FILE --upgrade-msi FILE --zip FILE
#          --build-bin DIR --upgrade-bin DIR --icon FILE --work DIR msi|zip
# For msi, DIR is made afresh; zip uses the prefix as it is. Fails, never
# skips, when Wine or the simulated unit cannot start, or a package is missing.
set -Eeuo pipefail

while [ $# -gt 1 ]; do
  case $1 in
    --wine-run) wine_run=$2 ;;
    --prefix) prefix=$(realpath -m "$2") ;;
    --sim) sim=$2 ;;
    --sample) sample=$2 ;;
    --msi) msi=$2 ;;
    --upgrade-msi) upgrade_msi=$2 ;;
    --zip) zip=$2 ;;
    --build-bin) build_bin=$2 ;;
    --upgrade-bin) upgrade_bin=$2 ;;
    --icon) icon_file=$2 ;;
    --work) work=$2 ;;
    *) break ;;
  esac
  shift 2
done
scenario=${1:?msi or zip}

product="ZEK Firmware downloader"
maker="ZEK Engineering"
folder="$prefix/drive_c/Program Files/$product"
dir="$work/$scenario"
rm -rf "$dir" && mkdir -p "$dir"
sim_pid=""
trap '[ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true' EXIT
trap 'echo "FAIL ($scenario): line $LINENO: $BASH_COMMAND" >&2' ERR

fail() {
  echo "FAIL ($scenario): $*" >&2
  exit 1
}
step() { echo "ok ($scenario): $*"; }
wine_in() { "$wine_run" --prefix "$prefix" "$@"; }
# A Linux path as a Windows program names it, on Wine's drive Z:.
windows_path() { local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"; }
# The release a package file is of, from its name (zekflash-2.8-x64.msi).
release_of() { basename "$1" | sed -E 's/^zekflash-([0-9.]+)-.*$/\1/'; }

for file in "$sim" "$sample"; do
  [ -e "$file" ] || fail "no $file (build the default preset first)"
done
for file in "${msi:-}" "${upgrade_msi:-}" "${zip:-}"; do
  [ -z "$file" ] || [ -e "$file" ] ||
    fail "no $file (cmake --build --preset windows --target windows_packages upgrade_msi)"
done

# Program EXE says it is release VERSION.
check_version() {
  local exe=$1 name=$2 version=$3 said
  said=$(wine_in "$exe" --version 2>&1 | tr -d '\r') || fail "$name --version failed: $said"
  [ "$said" = "$name ($product) $version" ] || fail "$name --version said \"$said\", not release $version"
}

# The sample goes to the simulated unit over COM5, a pseudo-terminal, with the
# batch front end EXE; the unit must hold every block of it.
download_sample() {
  local exe=$1 image=$2 status=0
  "$sim" --version 3M0100001 --received "$dir/received.bin" --link-file "$dir/link" \
    --log "$dir/unit.log" >"$dir/unit.out" 2>"$dir/unit.err" &
  sim_pid=$!
  for _ in $(seq 50); do [ -s "$dir/link" ] && break; sleep 0.1; done
  [ -s "$dir/link" ] || fail "the simulated unit did not start: $(cat "$dir/unit.err")"
  ln -sfn "$(head -n 1 "$dir/link")" "$prefix/dosdevices/com5"
  wine_in "$exe" --port COM5 --yes --timeout 60 "$(windows_path "$image")" \
    >"$dir/cli.out" 2>"$dir/cli.err" || status=$?
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=""
  rm -f "$dir/link"
  [ "$status" = 0 ] || fail "the download ended with status $status: $(cat "$dir/cli.out" "$dir/cli.err")"
  local blocks=$(($(stat -c %s "$image") / 1024))
  cmp -s "$dir/received.bin" <(head -c $((blocks * 1024)) "$image") ||
    fail "the unit does not hold the $blocks blocks of $image"
}

# One line "VERSION|MAKER" for each entry of the product in the Apps list,
# which lists the Uninstall keys of both registry views.
apps_entries() {
  local view
  for view in "" '\WOW6432Node'; do
    wine_in reg query "HKLM\\Software$view\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s \
      2>/dev/null || true
  done | tr -d '\r' | awk -v product="$product" '
    function done_key() { if (name == product) print version "|" maker }
    /^HKEY_/ { done_key(); name = version = maker = ""; next }
    /^    [^ ]/ {
      line = substr($0, 5); at = index(line, "    ")
      value_name = substr(line, 1, at - 1); rest = substr(line, at + 4)
      at = index(rest, "    "); value = at ? substr(rest, at + 4) : ""
      if (value_name == "DisplayName") name = value
      if (value_name == "DisplayVersion") version = value
      if (value_name == "Publisher") maker = value
    }
    END { done_key() }'
}

# The release's files are installed, registered once, and in the Start menu.
check_installed() {
  local version=$1 bin=$2 entries links
  [ "$(LC_ALL=C ls -A "$folder" | tr '\n' ' ')" = "zekflash-cli.exe zekflash.exe " ] ||
    fail "$folder holds $(LC_ALL=C ls -A "$folder" | tr '\n' ' ')"
  for exe in zekflash.exe zekflash-cli.exe; do
    cmp -s "$folder/$exe" "$bin/$exe" || fail "$folder/$exe is not the $exe of release $version"
  done
  entries=$(apps_entries)
  [ "$entries" = "$version|$maker" ] ||
    fail "the Apps list holds \"$entries\", not one entry of release $version by $maker"
  # Wine's installer puts a machine-wide shortcut into the user's Start menu.
  links=$(find "$prefix/drive_c" -path "*/Start Menu/Programs/$product.lnk")
  [ "$(grep -c . <<<"$links" || true)" = 1 ] || fail "not one Start-menu entry: $links"
  # A shell link holds its paths both in the system's code page and in UTF-16.
  local text icon
  text=$(strings -a "$links"; strings -a -el "$links")
  grep -qF "C:\\Program Files\\$product\\zekflash.exe" <<<"$text" ||
    fail "the Start-menu entry does not start the installed zekflash.exe"
  icon=$(grep -oE 'C:\\.*\.ico$' <<<"$text" | head -n 1 || true)
  cmp -s "$prefix/drive_c/$(tr '\\' / <<<"${icon#C:\\}")" "$icon_file" ||
    fail "the Start-menu entry's icon \"$icon\" is not the window's icon"
  check_version "C:\\Program Files\\$product\\zekflash-cli.exe" zekflash-cli "$version"
  check_version "C:\\Program Files\\$product\\zekflash.exe" zekflash "$version"
}

msiexec_in() {
  local status=0
  wine_in msiexec "$@" /qn >"$dir/msiexec.out" 2>&1 || status=$?
  return "$status"
}

# Port files as the program saves them where the user may not write beside it:
# one 21-byte record, a length byte and the name padded with zeros.
save_port_files() {
  local appdata
  appdata=$(wine_in cmd /c echo %APPDATA% | tr -d '\r')
  [[ $appdata == C:\\* ]] || fail "no %APPDATA% in the prefix: $appdata"
  settings="$prefix/drive_c/$(tr '\\' / <<<"${appdata#C:\\}")/zekflash"
  mkdir -p "$settings"
  { printf '\004COM3'; head -c 16 /dev/zero; } >"$settings/com.ini"
  { printf '\004COM7'; head -c 16 /dev/zero; } >"$settings/com_2.ini"
  cp "$settings/com.ini" "$settings/com_2.ini" "$dir/"
}

msi_scenario() {
  local version next
  version=$(release_of "$msi")
  next=$(release_of "$upgrade_msi")
  if [ -d "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
  rm -rf "$prefix" "$prefix.log"
  wine_in cmd /c exit 0 >/dev/null 2>&1 || fail "Wine cannot start (see $prefix.log)"
  step "fresh prefix $prefix"

  msiexec_in /i "$(windows_path "$msi")" || fail "msiexec /i ended with $? ($(cat "$dir/msiexec.out"))"
  check_installed "$version" "$build_bin"
  step "installed release $version: files, Start menu, Apps list, --version"
  download_sample "C:\\Program Files\\$product\\zekflash-cli.exe" "$sample"
  step "the installed zekflash-cli.exe downloaded $(basename "$sample") byte-exact"
  save_port_files

  msiexec_in /i "$(windows_path "$upgrade_msi")" || fail "the upgrade to $next ended with $?"
  check_installed "$next" "$upgrade_bin"
  step "upgraded to release $next: one Apps-list entry, the new files"
  ! msiexec_in /i "$(windows_path "$msi")" || fail "release $version was installed over $next"
  [ "$(apps_entries)" = "$next|$maker" ] || fail "the refused older release changed the Apps list"
  step "release $version is refused over $next"

  msiexec_in /x "$(windows_path "$upgrade_msi")" || fail "msiexec /x ended with $?"
  [ ! -e "$folder" ] || fail "left behind: $(find "$folder")"
  [ -z "$(find "$prefix/drive_c" -path "*/Start Menu/Programs/$product.lnk")" ] ||
    fail "the Start-menu entry is left"
  [ -z "$(apps_entries)" ] || fail "the Apps list still holds $(apps_entries)"
  cmp -s "$settings/com.ini" "$dir/com.ini" && cmp -s "$settings/com_2.ini" "$dir/com_2.ini" ||
    fail "the user's port files in $settings did not stay"
  step "removed: no installed file, shortcut or Apps-list entry; the user's port files stay"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$prefix" "$prefix.log"
}

zip_scenario() {
  local version root
  version=$(release_of "$zip")
  wine_in cmd /c exit 0 >/dev/null 2>&1 || fail "Wine cannot start (see $prefix.log)"
  unzip -q "$zip" -d "$dir/unpacked" || fail "$zip does not unpack"
  root="$dir/unpacked/zekflash-$version"
  for file in zekflash.exe zekflash-cli.exe; do
    cmp -s "$root/$file" "$build_bin/$file" || fail "the zip's $file is not the build's"
  done
  cmp -s "$root/samples/3M0100002.fm0" "$sample" || fail "the zip's sample is not the sample image"
  grep -q $'^## zekflash-cli.exe on Windows\r$' "$root/README.txt" ||
    fail "README.txt lacks the Windows part, or its lines do not end in CR LF"
  check_version "$(windows_path "$root/zekflash-cli.exe")" zekflash-cli "$version"
  download_sample "$(windows_path "$root/zekflash-cli.exe")" "$root/samples/3M0100002.fm0"
  step "the unpacked zip of release $version downloaded its sample byte-exact"
}

case $scenario in
  msi) msi_scenario ;;
  zip) zip_scenario ;;
  *) fail "no scenario $scenario" ;;
esac
