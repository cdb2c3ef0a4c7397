#!/usr/bin/env bash
# Fails, naming the file, line and include, when an include in src/, tests/,
# fuzz/, bench/ or tools/ reaches where its folder may not: up a layer or
# sideways, to a header of a toolkit or system the folder may not use, to one
# of our own headers written in angle brackets, or to app/main_window.h from a
# file that defines none of TForm1's methods (the composition root aside).
#
# Our own headers, always in quotes. Under src/ every include names its folder
# ("download/protocol.h"), so that this check can see where it points; outside
# src/ a file may also name a header of its own folder, or of the folders its
# row allows, without a folder. Each folder may use, besides the C++ standard
# library:
#
#   including file               folders under src/           headers beside    system or toolkit
#   src/core/                    core
#   src/ui/                      core ui
#   src/platform/                core platform platform/common*
#   src/platform/common/         core platform platform/common
#   src/platform/<system>/       core platform platform/common                  that system's
#                                and its own
#   src/texts/                   texts
#   pure readers                 core texts firmware download link config
#   src/app firmware download    the program's folders
#        link config/
#   src/batch/                   the program's and batch
#   src/qt/                      the program's and qt                           Qt
#   src/win32/                   the program's and win32                        Windows
#   tools/ecu_sim/ make_sample/  none                                           Linux
#   tests/tools/ecu_sim/         none                         tools/ecu_sim,    GoogleTest, Linux
#                                                             test helpers*
#   tests/e2e/                   none                         test helpers*     GoogleTest, Linux
#   tests/vm/guest/              none                                           Linux
#   tests/vm/platform/           core platform                tests/vm/guest    Linux
#   tests/platform/              the program's, platform/linux tests/support, tests/core,
#                                platform/common              tools/ecu_sim     GoogleTest, Linux
#   tests/windows/               the program's, batch,        tests/support,    GoogleTest, Windows
#                                platform/windows,            tests/core
#                                platform/common
#   tests/qt/                    the program's and qt         tests/support,    GoogleTest, Qt
#                                                             tests/core
#   tests/win32/                 the program's and win32      tests/support     GoogleTest, Windows
#   tests/batch/                 the program's and batch      tests/support     GoogleTest
#   tests/support/               the program's                                  GoogleTest, Linux
#   tests/checker/               the program's                tests/support     Linux
#   tests/<any other>/           the program's                tests/support     GoogleTest
#   fuzz/                        the program's,               tests/support,
#                                platform/common              tests/checker
#   bench/                       the program's                                  Linux
#   bench/windows/               none                                           Windows
#
#   * test helpers: the headers of tests/support that reach none of the
#     program's code, themselves or through another.
#   * platform/common from platform/'s .cpp files only: a header at platform/'s
#     top is what the program includes.
#
# The program's folders are one layer (TForm1 is one class across them), but
# only TForm1's method files and the composition root (app/composition.cpp,
# which builds it) include app/main_window.h: the components and helpers it is
# built from never reach back up into it, and the front ends (batch/, qt/,
# win32/) reach the window only through what the composition root gives them
# (app/composition.h, app/window.h). ui/ and platform/ stand side by side. A
# system's folder (platform/linux/) is seen only from
# inside itself and its own tests; everything else uses the headers at
# platform/'s top. What the systems share and the program never calls
# (platform/common/: the loops' core, the timers, the report hand-over and the
# readers of bytes both systems take in) is seen only from platform/, its tests
# and the fuzz targets of those readers. The pure readers are the files of the zek_formats target
# (the sources listed in the folders' CMakeLists.txt and the headers of the
# same name): no window, no operating system, no TForm1. The simulated unit
# and the end-to-end tests share nothing with the program, so that a wrong
# byte cannot agree with itself.
#
# Linux's headers are those of the C library, the kernel and the compiler that
# the host's C compiler finds (as the package system says); Windows' are those
# mingw-w64's C compiler finds; the C++ standard library is the compiler's own
# folder of headers; Qt's are the ones in Qt's header folders; GoogleTest's are
# under gtest/ and gmock/. scripts/bootstrap.sh installs the compilers and Qt
# that this check asks.
set -euo pipefail
cd "$(dirname "$0")/.."

program="core ui platform texts app firmware download link config"
src_folders=" $program batch qt win32 "

# --- Where system and toolkit headers live.

# The folders a compiler searches for <...>, one a line.
search_dirs() {
  command -v "$1" >/dev/null 2>&1 || return 0
  "$1" "-x$2" -E -Wp,-v - </dev/null 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' | sed '1d;$d;s/^ //'
}
cxx_library=""
while IFS= read -r dir; do
  if [[ -f $dir/version && -f $dir/vector ]]; then
    cxx_library=$dir
    break
  fi
done < <(search_dirs c++ c++)
mapfile -t linux_dirs < <(search_dirs cc c)
mingw=x86_64-w64-mingw32-gcc-posix
command -v "$mingw" >/dev/null 2>&1 || mingw=x86_64-w64-mingw32-gcc
mapfile -t windows_dirs < <(search_dirs "$mingw" c)
qt_headers=$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null || qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)

# The package that holds each <header> the host's C compiler finds: Linux's
# headers are those of its C library, its kernel and the compiler itself, not
# those of whatever library put its own beside them.
declare -A linux_owner=()
linux_paths=()
declare -A header_at=()
while IFS= read -r header; do
  for dir in "${linux_dirs[@]}"; do
    if [[ -f $dir/$header ]]; then
      header_at[$dir/$header]=$header
      linux_paths+=("$dir/$header")
      break
    fi
  done
done < <(grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]+>' src tests fuzz bench tools \
  --include='*.h' --include='*.cpp' | sed -E 's/.*<([^>]+)>/\1/' | sort -u)
if ((${#linux_paths[@]} > 0)) && command -v dpkg-query >/dev/null 2>&1; then
  while IFS= read -r owned; do
    package=${owned%%:*}
    path=${owned##*: }
    if [[ -n ${header_at[$path]:-} ]]; then linux_owner[${header_at[$path]}]=$package; fi
  done < <(dpkg-query -S "${linux_paths[@]}" 2>/dev/null || true)
fi

# Whether <$2> is a header of the family $1.
in_family() {
  local family=$1 header=$2 dir
  case $family in
    c++) [[ -n $cxx_library && $header != *.* && $header != */* && -f $cxx_library/$header ]] ;;
    gtest) [[ $header == gtest/* || $header == gmock/* ]] ;;
    qt)
      [[ -n $qt_headers && $header == Q* && $header != */* ]] || return 1
      compgen -G "$qt_headers/Qt*/$header" >/dev/null
      ;;
    linux) [[ ${linux_owner[$header]:-} =~ ^(libc6-dev|linux-libc-dev|libgcc-[0-9]+-dev)$ ]] ;;
    windows)
      for dir in "${windows_dirs[@]}"; do
        [[ -f $dir/$header ]] && return 0
      done
      return 1
      ;;
  esac
}

family_names() {
  local words="" family
  for family in c++ "$@"; do
    case $family in
      c++) words+=", the C++ standard library" ;;
      gtest) words+=", GoogleTest" ;;
      qt) words+=", Qt" ;;
      linux) words+=", Linux's headers (its C library's and kernel's)" ;;
      windows) words+=", Windows' headers" ;;
    esac
  done
  echo "${words#, }"
}

# --- What each file is, and what it may include.

# The zek_formats sources as src/folder/name, without extension.
pure_readers=" $(
  for list in src/*/CMakeLists.txt; do
    awk -v dir="$(dirname "$list")" '
      /target_sources\(zek_formats/ { on = 1; next }
      on && /\)/ { on = 0 }
      on && $1 ~ /\.cpp$/ { sub(/\.cpp$/, "", $1); print dir "/" $1 }
    ' "$list"
  done | tr '\n' ' '
) "

# Sets `place` to the row of the table above that `file` falls under.
set_place() {
  local file=$1
  IFS=/ read -r top second third _ <<<"$file"
  case $file in
    src/platform/*/*) place="platform/$third" ;;
    src/*)
      if [[ $pure_readers == *" ${file%.*} "* ]]; then place=pure; else place=$second; fi
      ;;
    tests/tools/* | tests/vm/*) place="tests/$second/$third" ;;
    bench/windows/*) place="bench/windows" ;;
    tests/* | tools/*) place="$top/$second" ;;
    *) place=$top ;;
  esac
}

# Sets `allowed` (folders under src/), `beside` (folders whose headers may be
# named without a folder, besides the file's own) and `families` (system and
# toolkit headers besides the C++ standard library) for `place`.
set_rules() {
  allowed="" beside="" families=""
  case $place in
    core) allowed="core" ;;
    ui) allowed="core ui" ;;
    platform | platform/common) allowed="core platform platform/common" ;;
    platform/*) allowed="core platform platform/common $place" families=${place#platform/} ;;
    texts) allowed="texts" ;;
    pure) allowed="core texts firmware download link config" ;;
    app | firmware | download | link | config) allowed=$program ;;
    batch) allowed="$program batch" ;;
    qt) allowed="$program qt" families=qt ;;
    win32) allowed="$program win32" families=windows ;;
    tools/*) families=linux ;;
    tests/tools/ecu_sim) beside="tools/ecu_sim tests/support:free" families="gtest linux" ;;
    tests/e2e) beside="tests/support:free" families="gtest linux" ;;
    tests/vm/guest) families=linux ;;
    tests/vm/platform) allowed="core platform" beside="tests/vm/guest" families=linux ;;
    tests/platform)
      allowed="$program platform/linux platform/common"
      beside="tests/support tests/core tools/ecu_sim"
      families="gtest linux"
      ;;
    tests/windows)
      allowed="$program batch platform/windows platform/common" beside="tests/support tests/core"
      families="gtest windows"
      ;;
    tests/qt) allowed="$program qt" beside="tests/support tests/core" families="gtest qt" ;;
    tests/win32) allowed="$program win32" beside="tests/support" families="gtest windows" ;;
    tests/batch) allowed="$program batch" beside="tests/support" families=gtest ;;
    tests/support) allowed=$program families="gtest linux" ;;
    tests/checker) allowed=$program beside="tests/support" families=linux ;;
    tests/*) allowed=$program beside="tests/support" families=gtest ;;
    fuzz) allowed="$program platform/common" beside="tests/support tests/checker" ;;
    bench) allowed=$program families=linux ;;
    bench/windows) families=windows ;;
  esac
}

# Sets `target` to the folder under src/ an include points at: platform/<system>
# for a system's folder.
set_target() {
  local path=$1
  if [[ $path == platform/*/* ]]; then
    local rest=${path#platform/}
    target="platform/${rest%%/*}"
  else
    target=${path%%/*}
  fi
}

# Whether the header at $1 (ours) reaches the program's code, itself or
# through another header of ours named without a folder.
declare -A reaches=()
reaches_program() {
  local file=$1 path
  if [[ -n ${reaches[$file]:-} ]]; then
    [[ ${reaches[$file]} == yes ]]
    return
  fi
  reaches[$file]=no
  while IFS= read -r path; do
    if [[ $path == */* ]] || { [[ -f $(dirname "$file")/$path ]] &&
      reaches_program "$(dirname "$file")/$path"; }; then
      reaches[$file]=yes
      return 0
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
  return 1
}

# Whether <$1> is one of our own headers: a path under src/, or the name of a
# header in a folder that any of our targets searches.
ours() {
  local header=$1 dir
  [[ -f src/$header ]] && return 0
  for dir in tests/support tests/core tests/checker tests/vm/guest tools/ecu_sim "$2"; do
    [[ -f $dir/$header ]] && return 0
  done
  return 1
}

# The including file's row, as a message names it.
who() {
  if [[ $place == pure ]]; then echo "a pure reader"; else echo "$place/"; fi
}

failures=0
fail() {
  echo "check-layers: $1:$2: $3 ($4)" >&2
  failures=$((failures + 1))
}

# Checks <header> in `file`.
check_angle() {
  local header=$1 family
  if ours "$header" "$(dirname "$file")"; then
    fail "$file" "$line" "<$header>" "our own header: write it in quotes"
    return
  fi
  for family in c++ $families; do
    in_family "$family" "$header" && return
  done
  # shellcheck disable=SC2086  # the families are words
  fail "$file" "$line" "<$header>" "$(who) may use only: $(family_names $families)"
}

# Checks "path" in `file`.
check_quoted() {
  local path=$1 dir
  if [[ $path == */* ]]; then
    set_target "$path"
    if [[ $src_folders != *" ${path%%/*} "* ]]; then
      fail "$file" "$line" "\"$path\"" "not a folder under src/"
    elif [[ -z $allowed ]]; then
      fail "$file" "$line" "\"$path\"" "$place/ shares nothing with the program"
    elif [[ $target == platform/common && " $allowed " != *" $target "* ]]; then
      fail "$file" "$line" "\"$path\"" "platform/common/ is platform/'s own: use the headers at platform/'s top"
    elif [[ $target == platform/common && $place == platform && $file == *.h ]]; then
      fail "$file" "$line" "\"$path\"" "a header at platform/'s top is the program's: leave platform/common/ to the .cpp files"
    elif [[ " $allowed " != *" $target "* ]]; then
      fail "$file" "$line" "\"$path\"" "$(who) may include only: $allowed"
    elif [[ $path == app/main_window.h && $file != src/app/composition.cpp ]]; then
      if [[ " batch qt win32 " == *" $place "* ]]; then
        fail "$file" "$line" "\"$path\"" "a front end reaches the window through app/composition.h"
      elif [[ " $program " == *" $place "* ]] &&
        ! grep -qE '^[A-Za-z].*TForm1::~?[A-Za-z_0-9]+\(' "$file"; then
        fail "$file" "$line" "\"$path\"" "only TForm1's method files include it"
      fi
    fi
    return
  fi
  if [[ $file == src/* ]]; then
    fail "$file" "$line" "\"$path\"" "name the folder under src/"
    return
  fi
  [[ -f $(dirname "$file")/$path ]] && return
  for dir in $beside; do
    [[ -f ${dir%:free}/$path ]] || continue
    if [[ $dir == *:free ]] && reaches_program "${dir%:free}/$path"; then
      fail "$file" "$line" "\"$path\"" "$place/ shares nothing with the program, and this reaches it"
    fi
    return
  done
  fail "$file" "$line" "\"$path\"" "$place/ may name without a folder only its own headers${beside:+ and those of ${beside//:free/}}"
}

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  if [[ $file != "${current:-}" ]]; then
    current=$file
    set_place "$file"
    set_rules
  fi
  if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^>]+)\> ]]; then
    check_angle "${BASH_REMATCH[1]}"
  elif [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
    check_quoted "${BASH_REMATCH[1]}"
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' src tests fuzz bench tools \
  --include='*.h' --include='*.cpp')

if [[ -z $cxx_library || ${#linux_owner[@]} -eq 0 || ${#windows_dirs[@]} -eq 0 || -z $qt_headers ]]; then
  echo "check-layers: a compiler or Qt is missing, so some headers could not be told apart;" \
    "scripts/bootstrap.sh installs them" >&2
fi
if ((failures > 0)); then
  echo "check-layers: $failures include(s) against the layers" >&2
  exit 1
fi
