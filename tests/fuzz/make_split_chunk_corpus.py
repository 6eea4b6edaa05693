#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_split_chunk: one valid reply for every armed reply kind, and a
few variants (long-form network login, largest download block, firmware answers).

The committed corpus also holds found_* inputs: a few that the fuzzer found to reach new branches,
kept as they are. This script writes only the seed_* files.

Each input is the 12-byte header that fuzz_split_chunk.cpp describes, then the chunk. The index
table below must follow the order of kArmings in that file.

Usage: make_split_chunk_corpus.py [output directory]  (default: corpus/fuzz_split_chunk beside it)
"""
import base64
import os
import struct
import sys

ARMINGS = [
    "main_info", "radio_connected", "snr_test", "net_band", "net_band_set", "net_params",
    "net_params_set", "apn_params", "apn_params_set", "wifi_set", "remote_password_set",
    "collect_params", "collect_params_set", "store_location", "store_location_set",
    "file_naming", "file_naming_set", "file_list", "files_deleted", "files_formatted",
    "recording_state", "download", "download_stop", "voice_on", "voice_off", "static_voice_off",
    "static_voice", "static_voice_set", "voice_block_for_set", "rinex_flag", "rinex_flag_set",
    "voice_type_set", "voice_params", "volume_set", "firmware_start", "firmware_block",
    "radio_channels", "radio_air_baud", "radio_channels_set", "radio_air_baud_set",
    "board_serial_packet", "board_version_text", "idle",
]


def header(arming, flags=0, cls=0, sub=0, hardware=98, retries=0, address=0, last=0):
    return bytes([ARMINGS.index(arming), flags, cls, sub, hardware, retries]) + \
        struct.pack(">IH", address, last)


def dollar(cls, sub, payload=b""):
    body = cls.encode() + sub.encode() + struct.pack("<H", len(payload)) + payload
    x = 0
    for b in body:
        x ^= b
    return b"$$" + body + bytes([x]) + b"\r\n"


def radio(code, body):
    frame = bytearray([0x96, 0, 0x80, ord(code)]) + body
    frame[1] = len(frame) + 1 - 2
    x = 0
    for b in frame:
        x ^= b
    return bytes(frame + bytes([x]))


def packet(data):
    p = bytes([0x02, 0x00, 0x07, len(data)]) + data
    return p + bytes([sum(p[1:]) & 0xFF, 0x03])


def main_info():
    p = bytearray(b"KV123456" + bytes(31))
    p[13], p[14], p[15], p[16], p[17], p[19], p[21], p[37], p[38] = 25, ord("2"), 1, 27, 4, 9, 1, 12, 31
    return bytes(p)


def net_params(login, long_form):
    p = bytearray(190 if long_form else 160)
    p[0:12] = bytes([0, 0, 0x04, 0xD2, 56, 7, 192, 168, 1, 10, 0x08, 0x3A])
    p[13:24] = b"13800000000"
    p[29:34] = b"cmnet"
    p[89:95] = b"RTCM32"
    encoded = base64.b64encode(login)
    if long_form:
        p[59:87] = encoded[:28]
        p[87], p[88] = 0, 0xAA
        rest = encoded[28:]
        p[160:160 + len(rest)] = rest
    else:
        p[59:59 + len(encoded)] = encoded
        p[119] = 1
        p[120:138] = b"caster.example.net"
    return bytes(p)


def file_entry(name, size):
    e = bytearray(32)
    e[0:8] = name.encode()
    e[8:11] = b"STH"
    e[14:18] = bytes([0xB3, 0x3B, 0x04, 0x49])
    e[28:32] = struct.pack("<I", size)
    return bytes(e)


def channel_table():
    body = bytearray(82)
    for i in range(16):
        body[2 + 2 * i:4 + 2 * i] = struct.pack(">H", 18525 + i)
        body[42 + 2 * i:44 + 2 * i] = struct.pack(">H", 18400 + i)
    return bytes(body)


def serial_packet():
    data = bytearray(55)
    data[8:13] = b"BOARD1"
    data[18:21] = b"412"
    data[45:55] = b"5012345678"
    return bytes(data)


def seeds():
    voice = bytes([1, 0] + list(range(2, 31)) + [7])
    yield "main_info", header("main_info") + b"\r\n" + dollar("V", "C", main_info())
    yield "radio_connected", header("radio_connected") + dollar("G", "Q", b"\x00")
    yield "snr_test", header("snr_test") + dollar("G", "Q", b"\x03")
    yield "net_band", header("net_band") + dollar("G", "F", b"\x02\x05\x09")
    yield "net_band_set", header("net_band_set") + dollar("G", "F")
    yield "net_params", header("net_params") + dollar("G", "C", net_params(b"user:pass", False))
    yield "net_params_long", header("net_params") + dollar(
        "G", "C", net_params(b"someuser:somepassword1234567890", True))
    yield "net_params_set", header("net_params_set") + dollar("G", "C")
    yield "apn_params", header("apn_params") + dollar("G", "A", b"card".ljust(50, b"\0") + b"pw".ljust(50, b"\0"))
    yield "apn_params_set", header("apn_params_set") + dollar("G", "A")
    yield "wifi_set", header("wifi_set") + dollar("G", "Y", b"\x03")
    yield "remote_password_set", header("remote_password_set") + b"$$IC\x01\x00\x00\x00\r\n"
    yield "collect_params", header("collect_params") + b"$GPGGA,*7A\r\n" + dollar("F", "J", b"\x05\x0a")
    yield "collect_params_set", header("collect_params_set") + dollar("F", "J")
    yield "store_location", header("store_location") + dollar("F", "E", b"\x01")
    yield "store_location_set", header("store_location_set") + dollar("F", "E")
    yield "file_naming", header("file_naming") + dollar("F", "K", b"R007")
    yield "file_naming_set", header("file_naming_set") + dollar("F", "K")
    yield "file_list_8", header("file_list") + dollar("F", "M", b"".join(
        file_entry("0012%04d" % i, 1024 * i) for i in range(8)))
    yield "file_list_partial", header("file_list") + dollar("F", "M", file_entry("00120950", 2048) + bytes(20))
    yield "files_deleted", header("files_deleted") + dollar("F", "D", b"\x00")
    yield "files_formatted", header("files_formatted") + dollar("F", "D", b"\x01")
    yield "recording_state", header("recording_state") + dollar("F", "C", bytes(8) + b"\x01")
    yield "download_ready", header("download") + dollar("F", "t", b"\x00")
    yield "download_done", header("download") + dollar("F", "t", b"\x03")
    yield "download_failed", header("download") + dollar("F", "t", b"\x02")
    yield "download_block", header("download") + dollar("F", "t", bytes(range(256)) * 2)
    yield "download_block_4095", header("download") + dollar("F", "t", b"\x5a" * 4095)
    yield "download_stop", header("download_stop") + dollar("F", "t", b"\x04")
    yield "voice_on", header("voice_on") + dollar("S", "I", b"\x00")
    yield "voice_off", header("voice_off") + dollar("S", "I", b"\x00")
    yield "static_voice_off", header("static_voice_off") + dollar("S", "I", b"\x00")
    yield "static_voice", header("static_voice") + dollar("V", "V", b"\x01\x01")
    yield "static_voice_set", header("static_voice_set") + dollar("V", "V", b"\x00")
    yield "voice_block_for_set", header("voice_block_for_set") + dollar("I", "K", voice)
    yield "rinex_flag", header("rinex_flag") + dollar("I", "K", voice)
    yield "rinex_flag_set", header("rinex_flag_set") + dollar("I", "K", b"\x00")
    yield "voice_type_set", header("voice_type_set") + dollar("I", "K", b"\x00")
    yield "voice_params", header("voice_params") + dollar("I", "K", voice)
    yield "volume_set", header("volume_set") + dollar("I", "K", b"\x00")
    yield "firmware_start", header("firmware_start", hardware=98) + b"$$VS\x01\x62\x00\x01\r\n"
    yield "firmware_block_ok", header("firmware_block", address=0x40008100, last=0x100) + \
        b"$$VX\x01\x00\x40\x00\x80\x00"
    yield "firmware_block_refused", header("firmware_block", retries=3) + b"$$VX\x01\x01"
    yield "radio_channels", header("radio_channels") + radio("b", channel_table())
    yield "radio_air_baud", header("radio_air_baud") + b"\x96\x00" + radio("s", bytes([0, 0, 0x20, 0xCC, 0xAC, 0x32, 0x55]))
    yield "radio_channels_set", header("radio_channels_set") + radio("d", bytes(2))
    yield "radio_air_baud_set", header("radio_air_baud_set") + radio("q", bytes(2))
    yield "board_serial_packet", header("board_serial_packet") + b"\x02\x00\x06\x00\x06\x03" + packet(serial_packet())
    yield "board_version_text", header("board_version_text") + \
        b'log version\r\n<OK\r\n#VERSION,COM1,0;1,CARD,"M1","S123","H","4.5"\r\n'
    yield "idle", header("idle") + dollar("F", "J", b"\x05\x0a")
    # The same reply handed straight to the decoder, and a handler that arms a follow-up command.
    yield "direct_file_list", header("file_list", flags=0x20) + dollar("F", "M", file_entry("00120950", 2048))[:-2]
    yield "rearm_collect_params", header("collect_params", flags=0x40) + dollar("F", "J", b"\x05\x0a")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_split_chunk")
    os.makedirs(out, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(out, "seed_" + name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
