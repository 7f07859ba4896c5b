#!/bin/busybox sh
# /init of the test virtual machine: mounts the kernel file systems, loads the HID
# modules (no udev here: nothing else would), runs the guest test and reports its
# exit status on the console as "KEYSTREL-VM-RESULT <status>", then powers off.
/bin/busybox --install -s /bin
export PATH=/bin

mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run

finish() {
  echo "KEYSTREL-VM-RESULT $1"
  sync
  poweroff -f
  echo o > /proc/sysrq-trigger
  sleep 5
}

for m in hid hid-generic uhid; do
  if ! insmod "/modules/$m.ko"; then
    echo "guest: cannot load $m.ko"
    finish 90
  fi
done
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -c /dev/uhid ] && break; sleep 0.2; done
if [ ! -c /dev/uhid ]; then
  echo "guest: /dev/uhid did not appear"
  finish 91
fi

export HOME=/tmp XDG_RUNTIME_DIR=/run XDG_CONFIG_HOME=/tmp/config XDG_DATA_HOME=/tmp/data
args=$(cat /test/args 2>/dev/null)
cd /test
# shellcheck disable=SC2086
/test/guest $args
finish $?
