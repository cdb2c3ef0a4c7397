#!/usr/bin/env bash
# Fails, naming the file, line and include, when an include under src/ points
# up a layer or sideways where the layers do not allow it. Layers, lowest first:
#
#   including file                           may include (folders under src/)
#   core/                                    core
#   ui/                                      core ui
#   platform/ (public headers, shared code)  core platform
#   platform/<system>/                       core platform platform/<system>
#   texts/ (the words the user sees)         texts
#   pure readers (zek_formats sources)       core texts firmware download link config
#   app/ firmware/ download/ link/ config/   core ui platform texts app firmware download link config
#   batch/                                   the program's folders and batch
#   qt/                                      the program's folders and qt
#   win32/                                   the program's folders and win32
#
# ui/ and platform/ stand side by side: neither includes the other. The
# program's folders are one layer (TForm1 is one class across them). A
# system's folder (platform/linux/) is seen only from inside itself; the rest
# of platform/ and everything above use the headers at platform/'s top. The
# pure readers are the files of the zek_formats target (the sources listed in
# the folders' CMakeLists.txt and the headers of the same name): no window, no
# operating system, no TForm1.
#
# Besides: toolkit headers (<Q...>) only in qt/, the operating system's
# headers only in platform/<system>/ and, for the Windows window front end,
# in win32/, and every include under src/ names its folder so that this check
# can see where it points.
set -euo pipefail
cd "$(dirname "$0")/.."

program="core ui platform texts app firmware download link config"

# The zek_formats sources as folder/name, without extension.
pure_readers=" $(
  for list in src/*/CMakeLists.txt; do
    awk -v dir="$(basename "$(dirname "$list")")" '
      /target_sources\(zek_formats/ { on = 1; next }
      on && /\)/ { on = 0 }
      on && $1 ~ /\.cpp$/ { sub(/\.cpp$/, "", $1); print dir "/" $1 }
    ' "$list"
  done | tr '\n' ' '
) "

# Sets `layer` to the layer of a file under src/, as the table above names it.
set_layer() {
  local rel=$1
  if [[ $rel == platform/*/* ]]; then
    local rest=${rel#platform/}
    layer="platform/${rest%%/*}"
  elif [[ $pure_readers == *" ${rel%.*} "* ]]; then
    layer=pure
  else
    layer=${rel%%/*}
  fi
}

# Sets `allowed` to the folders `layer` may include.
set_allowed() {
  case $layer in
    core) allowed="core" ;;
    ui) allowed="core ui" ;;
    platform) allowed="core platform" ;;
    platform/*) allowed="core platform $layer" ;;
    texts) allowed="texts" ;;
    pure) allowed="core texts firmware download link config" ;;
    app | firmware | download | link | config) allowed="$program" ;;
    batch) allowed="$program batch" ;;
    qt) allowed="$program qt" ;;
    win32) allowed="$program win32" ;;
    *) allowed="" ;;
  esac
}

# Sets `target` to the folder an include points at: platform/<system> for a
# system's folder.
set_target() {
  local path=$1
  if [[ $path == platform/*/* ]]; then
    local rest=${path#platform/}
    target="platform/${rest%%/*}"
  else
    target=${path%%/*}
  fi
}

system_header='^(unistd|fcntl|poll|termios|dirent|pty|dlfcn|windows|windowsx|commctrl|commdlg|setupapi|hidsdi)\.h$|^(sys|asm|linux)/'

failures=0
fail() {
  echo "check-layers: $1:$2: $3 ($4)" >&2
  failures=$((failures + 1))
}

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  if [[ $file != "${current:-}" ]]; then
    current=$file
    set_layer "${file#src/}"
    set_allowed
  fi
  if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^>]+)\> ]]; then
    header=${BASH_REMATCH[1]}
    if [[ $header == Q* && $layer != qt ]]; then
      fail "$file" "$line" "<$header>" "toolkit headers only in qt/"
    elif [[ $header =~ $system_header && $layer != platform/* && $layer != win32 ]]; then
      fail "$file" "$line" "<$header>" "the system's headers only in platform/<system>/ and win32/"
    fi
    continue
  fi
  [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
  path=${BASH_REMATCH[1]}
  if [[ $path != */* ]]; then
    fail "$file" "$line" "\"$path\"" "name the folder under src/"
    continue
  fi
  set_target "$path"
  if [[ " $allowed " != *" $target "* ]]; then
    who="$layer/"
    [[ $layer == pure ]] && who="a pure reader"
    fail "$file" "$line" "\"$path\"" "$who may include only: $allowed"
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' src --include='*.h' --include='*.cpp')

if ((failures > 0)); then
  echo "check-layers: $failures include(s) against the layers" >&2
  exit 1
fi
