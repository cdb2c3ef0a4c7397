#!/usr/bin/env python3
"""Writes the small real-shaped inputs the fuzz targets start from into fuzz/corpus/."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent / "corpus"


def image(size, head):
    data = bytearray((i * 37 + 11) & 0xFF for i in range(size))
    data[: len(head)] = head
    records = size // 2
    if records:
        data[2 * records - 1] = sum(data[: 2 * records - 2]) & 0xFF
    return bytes(data)


def record(length, name, size=21):
    data = bytearray(size)
    data[0] = length
    data[1 : 1 + len(name)] = name[: size - 1]
    return bytes(data)


SCRIPT = (
    b"[begin1]\r\n[f]6MA10.fm0\r\n[HR]\r\n[t21]\r\n[SR]\r\n[f]6MA11.fm0\r\n[end1]\r\n"
    b"[begin2]\r\n6MXXXXXXX\r\n4MA1XXXXX\r\n[begin3]\r\n"
    b"[t1]Switch the power off\r\n[t2]and on again\r\n[t2x second\r\n[end3]"
)

def choices(count, start):
    """Bytes that stand for the checker's choices: any bytes will do, these vary."""
    state, data = start, bytearray()
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        data.append(state >> 16 & 0xFF)
    return bytes(data)


def hid_reply(state, *reports):
    """Replies over the HID bridge: each report's data as one piece."""
    return bytes([0x04, state]) + b"".join(bytes([len(r)]) + r for r in reports)


def counted(reply):
    return bytes([len(reply)]) + reply


FILES = {
    "image/two_blocks.fm0": image(2050, b"6MA1234560150"),
    "image/whole_blocks.fm0": image(2048, b"4ME100200"),
    "image/short_last_block.fm0": image(1040, b"3MB100200"),
    "image/odd_size.fd0": image(2051, b"5MA100200"),
    "image/tiny.fm0": b"\x00\x00\x00",
    "script/staged.fm1": SCRIPT,
    "script/bare_lf.fm1": SCRIPT.replace(b"\r\n", b"\n"),
    "script/no_header.fe1": b"[begin]\r\n[f]5E1.fe0\r\n[end1]\r\n[begin2]\r\nXXXXXXXXX\r\n",
    "script/text_steps.fd1": b"[begin1]\r\n[t12\r\n[t]\r\n[end1]\r\n[begin3]\r\n[t1\r\n[end3]\r\n",
    "replies/hid_version_in_two_reports": hid_reply(
        2, counted(b"V5M010"), counted(b"0002\x2b") + b"\x00" * 40
    ),
    "replies/hid_count_beyond_report": hid_reply(8, b"\x3fBOK\xdc"),
    "port_record/one_record.ini": record(4, b"COM1"),
    "port_record/two_records.ini": record(5, b"COM12") + record(4, b"COM7"),
    "port_record/five_bytes.ini": record(4, b"COM1", 5),
    "port_record/long_length.ini": record(255, b"COM1"),
    "hid_descriptor/bridge.bin": bytes.fromhex(
        "0600ff0901a10115002600ff75089540850109028102850209039102c0"
    ),
    "hid_descriptor/boot_keyboard.bin": bytes.fromhex(
        "05010906a101050719e029e7150025017501950881029501750881019505750105081901"
        "2905910295017503910195067508150025650507190029658100c0"
    ),
    "hid_descriptor/push_pop_long.bin": bytes.fromhex(
        "05010902a1018501750195038102a4750595018101850275089504b102b47508950281"
        "06fe0210aabb850375109502910227ffff0000950375049102c0"
    ),
    "checker/short_run": choices(300, 1),
    "checker/long_run": choices(2000, 2),
}

for name, data in FILES.items():
    path = HERE / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
