#!/usr/bin/env bash
# Runs a test program inside a small virtual machine whose kernel has the HID layer
# with uhid, so the program reaches keyboards through the same hidraw nodes and
# hidapi calls as on a real desktop.
#
#   run-vm-test.sh GUEST_BINARY [GUEST_ARGS...]
#
# Builds an initramfs from the installed Debian kernel's hid, hid-generic and uhid
# modules, busybox-static, the guest binary and the shared libraries it needs, boots
# it under qemu (TCG: no KVM needed) and exits with the guest program's status.
# Exits 77 (reported as skipped) when the kernel, its modules, qemu, busybox-static
# or cpio are not installed. Environment: KEYSTREL_VM_TIMEOUT (seconds, default 100),
# KEYSTREL_VM_KEEP=1 keeps the work folder.
set -uo pipefail

SKIP=77
here=$(cd "$(dirname "$0")" && pwd)

skip() { echo "vm test skipped: $*"; exit $SKIP; }
fail() { echo "vm test failed: $*"; exit 1; }

[ $# -ge 1 ] || fail "usage: run-vm-test.sh GUEST_BINARY [GUEST_ARGS...]"
guest=$1
shift
[ -x "$guest" ] || fail "guest binary '$guest' is missing"

qemu=$(command -v qemu-system-x86_64) || skip "qemu-system-x86_64 not installed (package qemu-system-x86)"
command -v cpio >/dev/null || skip "cpio not installed"
busybox=""
for b in /bin/busybox /usr/bin/busybox; do
  # The guest has no C library of its own for busybox: it must be the static build.
  if [ -x "$b" ] && ! ldd "$b" >/dev/null 2>&1; then busybox=$b; break; fi
done
[ -n "$busybox" ] || skip "no static busybox (package busybox-static)"

# The newest installed kernel that ships the three modules.
kernel="" moddir=""
for k in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -rV); do
  ver=${k#/boot/vmlinuz-}
  d=/lib/modules/$ver/kernel/drivers/hid
  if [ -r "$k" ] && ls "$d"/uhid.ko* >/dev/null 2>&1 && ls "$d"/hid.ko* >/dev/null 2>&1 &&
     ls "$d"/hid-generic.ko* >/dev/null 2>&1; then
    kernel=$k moddir=$d
    break
  fi
done
[ -n "$kernel" ] || skip "no readable kernel with uhid, hid and hid-generic modules (package linux-image-amd64)"

work=$(mktemp -d "${TMPDIR:-/tmp}/keystrel-vm.XXXXXX") || fail "mktemp"
if [ "${KEYSTREL_VM_KEEP:-0}" != 1 ]; then trap 'rm -rf "$work"' EXIT; else echo "work folder: $work"; fi
root=$work/root
mkdir -p "$root"/{bin,dev,proc,sys,tmp,run,modules,test}

# Modules, decompressed where the kernel package compresses them.
for m in hid hid-generic uhid; do
  src=$(ls "$moddir/$m".ko* | head -n 1)
  case "$src" in
    *.ko) cp "$src" "$root/modules/$m.ko" ;;
    *.ko.xz) xz -dc "$src" >"$root/modules/$m.ko" || skip "cannot unpack $src (xz)" ;;
    *.ko.zst) zstd -qdc "$src" >"$root/modules/$m.ko" || skip "cannot unpack $src (zstd)" ;;
    *.ko.gz) gzip -dc "$src" >"$root/modules/$m.ko" || skip "cannot unpack $src" ;;
    *) skip "unknown module format $src" ;;
  esac
done

cp "$busybox" "$root/bin/busybox"
cp "$here/guest-init.sh" "$root/init"
chmod 755 "$root/init"
cp "$guest" "$root/test/guest"
printf '%s ' "$@" >"$root/test/args"

# Every shared library the guest binary loads, at the path the loader finds it.
libs=$(ldd "$guest" | awk '/=> \//{print $3} /^[ \t]*\//{print $1}') || fail "ldd $guest"
for lib in $libs; do
  mkdir -p "$root$(dirname "$lib")"
  cp -L "$lib" "$root$lib" || fail "cannot copy $lib"
done

image=$work/initramfs.cpio
(cd "$root" && find . -print0 | cpio --null -o -H newc --quiet >"$image") || fail "cpio"

timeout_s=${KEYSTREL_VM_TIMEOUT:-100}
log=$work/console.log
echo "booting $kernel under qemu (TCG), timeout ${timeout_s}s"
start=$(date +%s)
timeout --kill-after=5 "$timeout_s" "$qemu" -accel tcg -m 512M -smp 1 -nographic -no-reboot \
  -kernel "$kernel" -initrd "$image" -nic none \
  -append "console=ttyS0 rdinit=/init panic=-1 quiet loglevel=3 oops=panic" \
  </dev/null >"$log" 2>&1
qrc=$?
end=$(date +%s)
tr -d '\r' <"$log" | sed -e 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | grep -v '^\s*$' >"$log.txt"
cat "$log.txt"
echo "virtual machine ran $((end - start)) s"

[ $qrc -ne 124 ] && [ $qrc -ne 137 ] || fail "the virtual machine did not finish within ${timeout_s}s"
result=$(sed -n 's/.*KEYSTREL-VM-RESULT \([0-9][0-9]*\).*/\1/p' "$log.txt" | tail -n 1)
[ -n "$result" ] || fail "the guest reported no result (qemu exit status $qrc)"
[ "$result" -eq 0 ] || fail "the guest test exited with status $result"
echo "vm test passed"
exit 0
