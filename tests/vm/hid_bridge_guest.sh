# Runs in the virtual machine (scripts/vm/run-guest.sh), test named by $zek_test:
# the simulated unit as a USB HID bridge, checked through the kernel's hidraw.
name="HIDtoUART ZEK"
serial=654321

show_logs() {
  for log in /tmp/*.log /tmp/sim.err; do
    [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
  done
}

case "$zek_test" in
  exchange)
    # A second bridge whose name differs only in letter case, and a fast unit behind it.
    zek-ecu-sim --hid --hid-name "hidtoUART ZEK" --version 8M0100001 \
      --log /tmp/other.log >/tmp/other.out 2>>/tmp/sim.err &
    zek-ecu-sim --hid --version 5M0100001 --serial "$serial" --received /tmp/rx.bin \
      --log /tmp/sim.log >/tmp/sim.out 2>>/tmp/sim.err &
    zek-vm-hid-check exchange --sim-out /tmp/sim.out --other-out /tmp/other.out \
      --name "$name" --other-name "hidtoUART ZEK" --version 5M0100001 --serial "$serial" \
      --received /tmp/rx.bin
    ;;
  replug)
    zek-ecu-sim --hid --version 5M0100001 --serial "$serial" --unplug-after-blocks 2 \
      --replug-after 300 --link-file /tmp/link --received '/tmp/rx%n.bin' \
      --log /tmp/sim.log >/tmp/sim.out 2>>/tmp/sim.err &
    zek-vm-hid-check replug --sim-out /tmp/sim.out --link-file /tmp/link --name "$name" \
      --serial "$serial" --received /tmp/rx2.bin
    ;;
  usb_gadget)
    # The bridge as a real USB device, on the full kernel's dummy_hcd.
    zek-ecu-sim --hid --hid-gadget --version 5M0100001 --serial "$serial" \
      --received /tmp/rx.bin --log /tmp/sim.log >/tmp/sim.out 2>>/tmp/sim.err &
    zek-vm-hid-check usb --sim-out /tmp/sim.out --name "$name" --version 5M0100001 \
      --serial "$serial" --received /tmp/rx.bin
    ;;
  *)
    echo "no guest test named '$zek_test'"
    exit 2
    ;;
esac
status=$?
[ "$status" -eq 0 ] || show_logs
exit "$status"
