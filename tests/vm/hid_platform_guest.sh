# Runs in the virtual machine (scripts/vm/run-guest.sh), test named by $zek_test:
# the HID device layer of platform/ against the simulated unit's bridge.
name="HIDtoUART ZEK"
other="hidtoUART ZEK"
version=5M0100001

show_logs() {
  for log in /tmp/*.log /tmp/sim.err; do
    [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
  done
}

# Plays udev with a rule for the bridge: 300 ms after a node whose device is
# named exactly like the bridge appears, everyone may read and write it.
play_udev() {
  while :; do
    for entry in /sys/class/hidraw/*; do
      node=/dev/${entry##*/}
      grep -qx "HID_NAME=$name" "$entry/device/uevent" 2>/dev/null || continue
      [ "$(stat -c %a "$node" 2>/dev/null)" = 600 ] || continue
      sleep 0.3
      chmod 666 "$node"
    done
    sleep 0.05
  done
}

start_bridge() {
  zek-ecu-sim --hid --version "$version" --log "/tmp/sim$1.log" >"/tmp/sim$1.out" 2>>/tmp/sim.err &
  bridge=$!
}

case "$zek_test" in
  uhid)
    play_udev &
    zek-ecu-sim --hid --hid-name "$other" --log /tmp/other.log >/tmp/other.out 2>>/tmp/sim.err &
    start_bridge 1
    # Unplugged when the program asks, plugged in again 300 ms later.
    (
      while [ ! -e /tmp/unplug ]; do sleep 0.05; done
      kill "$bridge"
      sleep 0.3
      start_bridge 2
    ) &
    zek-vm-hid-platform uhid --user 1000 --name "$name" --other-name "$other" \
      --version "$version" --unplug-file /tmp/unplug
    ;;
  usb_gadget)
    zek-ecu-sim --hid --hid-gadget --version "$version" --log /tmp/sim.log \
      >/tmp/sim.out 2>>/tmp/sim.err &
    bridge=$!
    (
      while [ ! -e /tmp/unplug ]; do sleep 0.05; done
      kill "$bridge"
    ) &
    zek-vm-hid-platform usb --name "$name" --version "$version" --unplug-file /tmp/unplug
    ;;
  *)
    echo "no guest test named '$zek_test'"
    exit 2
    ;;
esac
status=$?
[ "$status" -eq 0 ] || show_logs
exit "$status"
