#include "options.h"

namespace ecu_sim {

std::string UsageText() {
  return R"(Usage: zek-ecu-sim [OPTION]...
A simulated engine-management unit on a pseudo-terminal. The first line on
standard output is the path of the far end; open it as the unit's serial port.
With --hid the unit sits behind a USB HID bridge instead, and the first line is
the bridge's hidraw node.

The unit:
  --version TEXT          version text (default 3M0100001); a text beginning with
                          6 or 8 makes a fast unit: 921600 baud, 72-byte status
  --serial TEXT           serial number text (default 123456)
  --access-level N        access level, 0..65535 (default 1)
  --access-code HEX8      accept only this access code, e.g. 0A1B2C3D; any other
                          code gets level 65535 (default: any code)
  --engine-raw N          engine speed raw value, status bytes 2-3 (default 0)
  --battery-raw N         battery raw value, status bytes 14-15 (default 56 = 22 V)
  --baud N                rate the unit needs (default 115200, or 921600 for a
                          fast unit); 0 accepts any rate
  --prepare-status ST     answer to W (default OK); ST is two characters
  --start-status ST       answer to U (default OK; e.g. NO)
  --finish-status ST      answer to u after the busy answers (default OK; e.g. NO)
  --restart-status ST     answer to rr (default OK)
  --busy N                answer wK to the first N finish requests of a download
  --switch-answer WHAT    answer to }}: brace ('}' "OK" checksum), F, or none
  --power-cycle-after MS  after each finish answered OK the unit is off for MS ms
                          (requests unanswered), then sends 'r' "OK" by itself
  --power-cycle-after-switch MS
                          after answering the switch request with F (a unit that
                          cannot restart itself) the unit is off for MS ms, as
                          the technician switches it off and on at the prompt,
                          then sends 'r' "OK" by itself
  --power-on-report ST    the unit's first report after being switched on says
                          ST instead (e.g. NO); the technician then switches it
                          off and on again, for as long as before, and it
                          reports again; repeat it for the reports that
                          follow; once they are used up it reports "OK"

The line:
  --pace                  bytes take their time on the line (10 bits each at the
                          rate set) in both directions
  --gap-timeout MS        forget an incomplete request after MS ms without a byte
                          (default 200; 0 never)

The USB HID bridge (uhid; needs the uhid and hid-generic modules):
  --hid                   be a USB HID bridge "HIDtoUART ZEK": requests arrive in
                          output report 2 ([2, n, n bytes]), replies leave in input
                          report 1 ([1, n, n bytes]); 64 data bytes each
  --hid-name TEXT         call the bridge TEXT instead
  --unplug-after-blocks N after the N-th block is answered OK, unplug the bridge,
                          and plug it in again --replug-after MS later (default
                          500) as a new device with a new hidraw node (and the
                          same serial number); SIGUSR1 does the same at once
  --uhid PATH             the uhid device (default /dev/uhid)
  --hid-gadget            make the bridge a real USB device instead: a configfs
                          gadget on the first USB device controller (dummy_hcd
                          in a virtual machine; needs libcomposite, usb_f_hid,
                          usbhid); the first line is its hidraw node on the host
                          side

Faults, each for the K-th request of a kind (K counts from 1 per kind); KIND is
V S W a d U B u } r or version serial prepare access status start block finish
switch restart. All may be repeated.
  --drop KIND:K           the request is handled, its reply is lost
  --split KIND:K:N[:MS]   send the first N bytes of the reply, the rest MS ms
                          later (default 100)
  --delay KIND:K:MS       send the reply MS ms late
  --corrupt KIND:K        invert the reply's last (checksum) byte
  --stray KIND:K          send a stray byte 'x' before the reply
  --stray-byte            send a stray byte 'x' before the first reply of the run
  --answer KIND:K:ST      answer status ST instead (e.g. B:3:MM, B:2:FF, U:1:NO,
                          u:1:wK); a block answered other than OK is not taken
  --pull-after-blocks N   after the N-th block is answered OK, close the line (the
                          program sees a hang-up) and exit with status 3

Output:
  --link-file FILE        also write the far end's path to FILE (one line); with
                          --hid rewritten with the new node on each plug-in
  --received FILE         write the data of the received blocks (1024 bytes each,
                          in block order) when a download finishes and at exit;
                          "%n" in FILE becomes the download's number (1, 2, ...)
  --log FILE              one line per request: "<ms> <kind> len=<n> -> <answer>",
                          events as "<ms> * <text>"; <ms> since the start
  --verbose               also write the log lines to standard error
  --exit-after-finish     exit 0 once a finish request was answered OK
  --help                  show this text
  --version               last on the line and without TEXT: show the program's
                          name and version

A request that arrives while the line is not at the rate the unit needs, or not
raw 8N1 without flow control, is not answered (a real unit sees garbage) and is
reported on standard error. Exit status: 0 done (signal or finish), 1 failure,
2 bad command line or, with --hid, no uhid (or USB gadget) support in this
kernel, 3 cable pulled.
)";
}

}  // namespace ecu_sim
