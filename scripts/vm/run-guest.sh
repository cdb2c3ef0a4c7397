#!/usr/bin/env bash
# Boots a small virtual machine on a stock Debian kernel and runs one test in it:
# for what the kernel of this machine cannot offer (uhid, hidraw, USB gadgets).
#
# The kernel package is fetched once with apt-get download into the work folder
# and unpacked there (never installed). Each run builds an initramfs of
# busybox-static, the kernel modules asked for (with what they depend on), the
# given programs (statically linked) and an /init that loads the modules, runs
# the guest script with zek_test=TEST in its environment, writes what the script
# prints and its exit status to the second serial port and powers off.
#
# Prints the guest script's output; exits with its status. Exits non-zero with a
# message when the virtual machine cannot be prepared or started, or ends
# without a result: a test that did not run never counts as passed.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: scripts/vm/run-guest.sh [OPTIONS] --script FILE TEST
  --script FILE    the guest's test script (busybox sh); it finds TEST in $zek_test
  --program FILE[=NAME]
                   put FILE, a statically linked program, into the guest's /bin
                   (as NAME if given; repeatable)
  --file FILE      put FILE into the guest's /data (repeatable)
  --module NAME    load this kernel module and what it depends on (repeatable;
                   default: uhid hid-generic)
  --kernel KIND    cloud (default; about 27 MB) or full (about 71 MB; has
                   dummy_hcd, the USB gadget functions and the USB host and
                   USB-serial drivers)
  --chardev OPTS   give qemu -chardev OPTS (repeatable)
  --device OPTS    give qemu -device OPTS, such as a USB controller and a
                   device on it (repeatable, in order)
  --work DIR       cache and scratch folder (default: build/vm)
  --timeout SEC    give the virtual machine SEC seconds (default 120)
  --memory MB      guest memory (default 256)
  --host-root      give the guest this machine's root, read-only over virtio-9p
                   under a writable overlay that ends with the guest, and run
                   the guest script in it (chroot) rather than in busybox: for
                   programs that need the whole system (Wine). Takes the full
                   kernel, which has 9p.
EOF
}

fail() {
  echo "run-guest: $*" >&2
  exit 1
}

script_dir=$(cd "$(dirname "$0")" && pwd)
work="$script_dir/../../build/vm"
kernel_kind=cloud
timeout_s=120
memory_mb=256
host_root=no
guest_script=
test_name=
programs=()
files=()
modules=()
qemu_extra=()

while [ $# -gt 0 ]; do
  case "$1" in
    --script) guest_script=$2; shift 2 ;;
    --program) programs+=("$2"); shift 2 ;;
    --file) files+=("$2"); shift 2 ;;
    --module) modules+=("$2"); shift 2 ;;
    --kernel) kernel_kind=$2; shift 2 ;;
    --chardev) qemu_extra+=(-chardev "$2"); shift 2 ;;
    --device) qemu_extra+=(-device "$2"); shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --memory) memory_mb=$2; shift 2 ;;
    --host-root) host_root=yes; shift ;;
    -h|--help) usage; exit 0 ;;
    -*) usage >&2; fail "unknown option $1" ;;
    *) [ -z "$test_name" ] || fail "one test at a time (got $test_name and $1)"; test_name=$1; shift ;;
  esac
done

[ -n "$test_name" ] || { usage >&2; fail "no test named"; }
[ -n "$guest_script" ] || { usage >&2; fail "no --script given"; }
[ -f "$guest_script" ] || fail "no guest script $guest_script"
case "$test_name" in *[!A-Za-z0-9_.-]*) fail "test names are letters, digits, _ . - ($test_name)" ;; esac
[ ${#modules[@]} -gt 0 ] || modules=(uhid hid-generic)
if [ "$host_root" = yes ]; then
  # The cloud kernel has no 9p.
  kernel_kind=full
  modules+=(virtio_pci 9pnet_virtio 9p overlay)
  qemu_extra+=(-virtfs "local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap")
fi
case "$kernel_kind" in
  cloud) meta_package=linux-image-cloud-amd64 ;;
  full) meta_package=linux-image-amd64 ;;
  *) fail "--kernel is cloud or full, not $kernel_kind" ;;
esac

command -v qemu-system-x86_64 >/dev/null ||
  fail "qemu-system-x86_64 is missing: run scripts/bootstrap.sh (package qemu-system-x86)"
busybox=$(command -v busybox || true)
[ -n "$busybox" ] || fail "busybox is missing: run scripts/bootstrap.sh (package busybox-static)"

# A program with an interpreter would not start in the guest, which has no libraries.
require_static() {
  if readelf -l "$1" 2>/dev/null | grep -q 'program interpreter'; then
    fail "$1 is dynamically linked; the guest has no libraries"
  fi
  readelf -h "$1" >/dev/null 2>&1 || fail "$1 is not a program"
}
require_static "$busybox"
for p in "${programs[@]}"; do require_static "${p%%=*}"; done

mkdir -p "$work/cache"
work=$(cd "$work" && pwd)
cache="$work/cache"

# The kernel: newest version the package lists name, or, without them, the
# newest one already in the cache.
kernel_package() {
  apt-cache depends "$meta_package" 2>/dev/null | awk '/Depends: linux-image-/ { print $2; exit }'
}

# The newest kernel of the kind already fetched, if any.
cached_kernel() {
  local all
  all=$(ls "$cache"/linux-image-[0-9]*-amd64_*.deb 2>/dev/null | grep -v unsigned || true)
  if [ "$kernel_kind" = cloud ]; then
    all=$(grep -e -cloud- <<<"$all" || true)
  else
    all=$(grep -v -e -cloud- <<<"$all" || true)
  fi
  sort -V <<<"$all" | tail -n 1
}

fetch_kernel() {
  local package deb
  package=$(kernel_package)
  # A machine whose package lists were never fetched knows no packages at all.
  if [ -z "$package" ] && [ -z "$(cached_kernel)" ] && [ "$(id -u)" -eq 0 ]; then
    echo "run-guest: apt-cache knows no $meta_package; running apt-get update" >&2
    apt-get update -qq >&2 || true
    package=$(kernel_package)
  fi
  if [ -n "$package" ]; then
    deb=$(ls "$cache/${package}"_*.deb 2>/dev/null | sort -V | tail -n 1 || true)
    if [ -z "$deb" ]; then
      echo "run-guest: downloading $package" >&2
      (cd "$cache" && apt-get download -q "$package" >&2) ||
        fail "apt-get download $package failed"
      deb=$(ls "$cache/${package}"_*.deb | sort -V | tail -n 1)
    fi
  else
    deb=$(cached_kernel)
    [ -n "$deb" ] || fail "apt-cache knows no $meta_package and no kernel is cached: run apt-get update"
  fi
  local root="${deb%.deb}"
  if [ ! -e "$root/.unpacked" ]; then
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root" || fail "cannot unpack $deb"
    touch "$root/.unpacked"
  fi
  echo "$root"
}

# Several tests may start at once: one fetch at a time.
exec 9>"$cache/.lock"
flock 9
kernel_root=$(fetch_kernel)
flock -u 9

vmlinuz=$(ls "$kernel_root"/boot/vmlinuz-* 2>/dev/null | head -n 1)
[ -n "$vmlinuz" ] || fail "no kernel image in $kernel_root/boot"
module_dir=$(ls -d "$kernel_root"/lib/modules/*/kernel 2>/dev/null | head -n 1)
[ -n "$module_dir" ] || fail "no modules in $kernel_root/lib/modules"

scratch=$(mktemp -d "$work/run-${test_name}.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
stage="$scratch/root"
mkdir -p "$stage"/{bin,modules,data,proc,sys,dev,tmp}

# Module names use - and _ alike; files are named either way.
declare -A module_file=()
while IFS= read -r -d '' ko; do
  name=${ko##*/}
  name=${name%%.ko*}
  module_file[${name//-/_}]=$ko
done < <(find "$module_dir" -name '*.ko*' -print0)

# Copies the module, uncompressed, into the stage; busybox's insmod takes plain files.
stage_module() {
  local source=$1 target=$2
  case "$source" in
    *.ko) cp "$source" "$target" ;;
    *.ko.xz) xz -dc "$source" >"$target" ;;
    *.ko.zst) zstd -qdc "$source" >"$target" ;;
    *.ko.gz) gzip -dc "$source" >"$target" ;;
    *) fail "unknown module format: $source" ;;
  esac
}

declare -A module_done=()
load_order=()
# Depth first, so that each module comes after what it needs.
add_module() {
  local key=${1//-/_} source deps dep
  [ -z "${module_done[$key]:-}" ] || return 0
  module_done[$key]=1
  source=${module_file[$key]:-}
  [ -n "$source" ] || fail "module $1 is not in $(basename "$kernel_root") (built in, or misspelt?)"
  stage_module "$source" "$stage/modules/$key.ko"
  deps=$(tr '\0' '\n' <"$stage/modules/$key.ko" | sed -n 's/^depends=//p' | head -n 1)
  for dep in ${deps//,/ }; do add_module "$dep"; done
  load_order+=("$key")
}
for m in "${modules[@]}"; do add_module "$m"; done
printf '%s\n' "${load_order[@]}" >"$stage/modules/order"

cp "$busybox" "$stage/bin/busybox"
# Without their debugging sections the programs load faster into the guest.
for p in "${programs[@]}"; do
  source=${p%%=*}
  target=${source##*/}
  [ "$source" = "$p" ] || target=${p#*=}
  strip --strip-debug -o "$stage/bin/$target" "$source" 2>/dev/null || cp "$source" "$stage/bin/$target"
done
for f in "${files[@]}"; do cp "$f" "$stage/data/"; done
cp "$guest_script" "$stage/guest.sh"
cp "$script_dir/init" "$stage/init"
[ "$host_root" = no ] || touch "$stage/host_root"
chmod +x "$stage/init" "$stage/bin/"*

(cd "$stage" && find . | "$busybox" cpio -o -H newc >"$scratch/initrd.cpio" 2>/dev/null) ||
  fail "cannot build the initramfs"

console="$scratch/console.txt"
results="$scratch/results.txt"
started=$(date +%s.%N)
set +e
timeout --kill-after=5 "$timeout_s" qemu-system-x86_64 \
  -accel tcg -m "$memory_mb" -smp 1 -nodefaults -display none -no-reboot \
  -kernel "$vmlinuz" -initrd "$scratch/initrd.cpio" \
  -append "console=ttyS0 panic=-1 quiet zek_test=$test_name" \
  -serial "file:$console" -serial "file:$results" ${qemu_extra[@]+"${qemu_extra[@]}"} \
  2>"$scratch/qemu.txt"
qemu_status=$?
set -e
seconds=$(echo "$started $(date +%s.%N)" | awk '{ printf "%.1f", $2 - $1 }')

show_console() {
  echo "run-guest: last kernel messages:" >&2
  tail -n 30 "$console" 2>/dev/null | tr -d '\r' >&2 || true
  cat "$scratch/qemu.txt" >&2 || true
}

if [ -s "$results" ]; then tr -d '\r' <"$results" | grep -v '^zek-vm-exit=' || true; fi
guest_status=$(tr -d '\r' <"$results" 2>/dev/null | sed -n 's/^zek-vm-exit=//p' | tail -n 1)
if [ "$qemu_status" -eq 124 ] || [ "$qemu_status" -eq 137 ]; then
  show_console
  fail "the virtual machine did not power off within $timeout_s s (test $test_name)"
fi
if [ -z "$guest_status" ]; then
  show_console
  fail "the virtual machine gave no result (qemu status $qemu_status, test $test_name)"
fi
echo "run-guest: $test_name: guest status $guest_status after $seconds s" >&2
exit "$guest_status"
