#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/: real frames and files
of a good update, a few broken ones beside them. Run again after changing a frame."""
import os

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MAGIC = b"VQ-SYSTEM FIRMWARE Q.VELDORAN VER"


def put(target, name, data):
    d = os.path.join(HERE, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def header(v=(1, 0, 2), at=0, magic=MAGIC):
    h = bytearray(48)
    h[at:at + len(magic)] = magic
    h[33], h[35], h[37] = v
    return bytes(h)


def reply(cmd, data=b"", status=0, direction=0):
    f = bytes([cmd, status, direction, len(data)]) + data
    x = 0
    for b in f:
        x ^= b
    return b"\xff" * 5 + f + bytes([x])


def piece(data, delay=4, group=True, cts=False):
    h = (delay & 0x3F) | (0x40 if group else 0) | (0x80 if cts else 0)
    return bytes([h, len(data)]) + data


def status(*st):
    f = bytes([len(st)]) + bytes(st)
    return b"\x02" + f + bytes([(-sum(f)) & 0xFF]) + b"\x03"


# Update files.
put("fuzz_update_file", "valid_header_only", header())
put("fuzz_update_file", "valid_300_body", header((1, 10, 99)) + bytes(range(256)) + bytes(44))
put("fuzz_update_file", "magic_at_5", header(at=5)[:48] + b"\x00" * 16)
put("fuzz_update_file", "lower_case_magic", header(magic=MAGIC.lower()) + b"\xff" * 8)
put("fuzz_update_file", "too_short", MAGIC[:20])

# Instrument replies: the three batches of steps 2 and 7, one group per request.
mode1 = reply(127, bytes([1]) + bytes(6), direction=1)
mode0 = reply(127, bytes(7), direction=1)
mode2 = reply(127, bytes([2]) + bytes(6), direction=1)
read = [mode1, reply(1, b"VQ-1000A"), reply(2, b" 12345"), reply(4, b"\x05\x00"), reply(5, b"\x0b\x03"),
        reply(6, b"\x01\x00"), mode0]
put("fuzz_link_receive", "read_batch", b"\x00" + b"".join(piece(r) for r in read))
put("fuzz_link_receive", "read_batch_busy_and_bad_sum",
    b"\x04" + piece(reply(127, bytes(7), status=51, direction=1)) + piece(mode1, group=False, delay=60)
    + b"".join(piece(r[:-1] + bytes([r[-1] ^ 1])) + piece(r, group=False, delay=60) for r in read[1:]))
put("fuzz_link_receive", "read_batch_in_pieces",
    b"\x08" + b"".join(piece(r[:5]) + piece(r[5:9], group=False, delay=1) + piece(r[9:], group=False, delay=1)
                       for r in read))
put("fuzz_link_receive", "init_batch", b"\x01" + piece(mode2) + piece(reply(124, direction=1), delay=50))
put("fuzz_link_receive", "write_batch",
    b"\x02" + b"".join(piece(r) for r in [mode2, reply(1, direction=1), reply(2, direction=1),
                                          reply(4, direction=1), mode0]))
put("fuzz_link_receive", "cts_off", b"\x00" + piece(b"", cts=True))

# Boot statuses: byte 0 the stage, then how many frames are answered well, then the pieces.
ack, ack6 = status(6), status(6, 6)
for i, name in enumerate(["connect", "clock", "baud", "erase", "write", "security", "verify"]):
    put("fuzz_boot_receive", name + "_ack", bytes([i, 0, 0]) + piece(ack))
put("fuzz_boot_receive", "connect_bad_then_ack", b"\x00\x00\x00" + piece(status(0x15)) + piece(ack))
put("fuzz_boot_receive", "write_last_block", b"\x04\xff\x07" + piece(ack6 + ack))
put("fuzz_boot_receive", "write_block_then_completion", b"\x04\xff\x07" + piece(ack6) + piece(ack, group=False, delay=40))
put("fuzz_boot_receive", "write_block_st2_bad", b"\x04\x00\x01" + piece(status(6, 0x1B)))
put("fuzz_boot_receive", "security_two_statuses", b"\x05\x00\x01" + piece(ack) + piece(ack, group=False, delay=40))
put("fuzz_boot_receive", "security_joined", b"\x05\x00\x01" + piece(ack + ack))
put("fuzz_boot_receive", "verify_block_in_pieces", b"\x06\x00\x01" + piece(ack6[:2]) + piece(ack6[2:], group=False, delay=2))
put("fuzz_boot_receive", "erase_len_past_end", b"\x03\x00\x00" + piece(b"\x02\x07\x06\xf9\x03"))

# Fault plans and control lines as the tests and the README type them.
put("fuzz_fault_plan", "instrument", b"i1:pieces=3/1\ni127:trail=4\ni4#1+3:status=51\ni5:corrupt\ni124:delay=200\n")
put("fuzz_fault_plan", "boot", b"reset#1+0:status=15\nclock:status=05\nerase:corrupt\nwdata#5:status=06,1B\n"
    b"wdone:drop\nsdata:join\nvdata#2:status=06,0F\nboot:dead\n")
put("fuzz_sim_control", "operator", b"switch W\npower\nstatus\nswitch -\npower\nfault i5:corrupt\nfault silent\n"
    b"fault dsr-stuck\nfault clear\npower off\npower on\ndump\nquit\n")

# The fast targets: byte 0 the stage or batch, then one op per wait (see each target).
# Boot ops: 0x02 a good status, 0x03 a tick, 0x04 the send event, 0x06/0x46 a stall's end.
for i, name in enumerate(["connect", "clock", "baud", "erase", "write", "security", "verify"]):
    put("fuzz_boot_exchange", name + "_good", bytes([i, 0, 0, 0x02, 0x02, 0x02]))
put("fuzz_boot_exchange", "write_to_the_end", b"\x04\xff\x07\x04\x02\x02\x02")
put("fuzz_boot_exchange", "status_waiting_at_tick", b"\x01\x00\x00\x01\x05" + status(6) + b"\x46")
put("fuzz_boot_exchange", "status_in_pieces", b"\x03\x00\x00\x00\x01\x02\x00\x03" + status(6)[1:] + b"\x03")
put("fuzz_boot_exchange", "nak_then_ack", b"\x00\x00\x00\x05\x02")
# Link ops: 0x02 B a reply to the request in flight (status and data picked by B), 0x03 a
# tick, 0x04 CTS flipped, 0x06/0x46 a stall's end, 0x45 the port failing.
put("fuzz_link_engine", "read_batch", b"\x00" + b"\x02\x08\x03" * 7)
put("fuzz_link_engine", "init_batch", b"\x01\x02\x10\x03\x02\x00\x03")
put("fuzz_link_engine", "write_batch", b"\x02" + b"\x02\x10\x03" * 5)
put("fuzz_link_engine", "busy_then_answer", b"\x00\x02\x03\x03\x02\x00\x03")
put("fuzz_link_engine", "reply_waiting_at_tick", b"\x00\x01\x0a" + reply(127, bytes([1]) + bytes(6), direction=1)[:10] + b"\x46")
put("fuzz_link_engine", "cts_off_and_back", b"\x00\x04\x03\x84\x02\x00\x03")
put("fuzz_link_engine", "port_fails", b"\x01\x02\x10\x45")

# Journal texts: byte 0 odd seals the rest with the header and its check.
journal_lines = (b"model=VQ-1000A\nserial= 12345\ncmd04=05\ncmd06=01\nfirmware=0b03\nport=/dev/ttyUSB0\n"
                 b"file=VQ_1.2.0.bin\nfile_sha256=" + b"ab" * 32 + b"\ntime=2026-12-09T08:00:00Z\n")
put("fuzz_journal", "sealed_entry", b"\x01" + journal_lines)
put("fuzz_journal", "sealed_missing_firmware", b"\x01" + journal_lines.replace(b"firmware=0b03\n", b""))
put("fuzz_journal", "sealed_crlf", b"\x01" + journal_lines.replace(b"\n", b"\r\n"))
put("fuzz_journal", "unsealed", b"\x00vq-update journal 1\n" + journal_lines + b"check=00\n")

# Checksum files: the update file's name, a 0 byte, the text.
digest = b"0123456789abcdef" * 4
put("fuzz_checksum_text", "sha256sum_line", b"VQ_1.2.0.bin\x00" + digest + b"  VQ_1.2.0.bin\n")
put("fuzz_checksum_text", "binary_mark_and_folder", b"VQ_1.2.0.bin\x00" + digest.upper() + b" *dl/VQ_1.2.0.bin\n")
put("fuzz_checksum_text", "bare_digest", b"VQ_1.2.0.bin\x00" + digest + b"\n")
put("fuzz_checksum_text", "other_files", b"VQ_1.2.0.bin\x00" + digest + b"  a.bin\n" + digest[::-1] + b"  b.bin\n")

# Command lines: arguments separated by 0 bytes.
put("fuzz_cli_options", "update", b"\x00".join([b"--port", b"/dev/ttyUSB0", b"--file", b"/dev/null", b"--writing-rate",
                                               b"153600", b"--parity", b"odd", b"--flow", b"rts-cts", b"--json"]))
put("fuzz_cli_options", "forced", b"\x00".join([b"--com", b"3", b"--file=/dev/null", b"--forced", b"VQA-7001", b"12345",
                                               b"--sha256", digest, b"--lang", b"ja"]))
put("fuzz_cli_options", "check_port", b"--check-port\x00COM3")
put("fuzz_cli_options", "forget", b"--forget\x00VQ-1000A\x0012345")
put("fuzz_window_options", "autopilot", b"\x00".join([b"--com", b"1=/dev/ttyUSB0", b"--trace", b"t.txt", b"--autopilot",
                                                    b"shots", b"--file", b"new.bin"]))
put("fuzz_window_options", "check_port", b"--com\x00 12 =/dev/pts/3\x00--check-port\x00COM12")
put("fuzz_window_options", "version", b"--version")
put("fuzz_sim_options", "typical", b"\x00".join([b"--link", b"/tmp/vq-port", b"--switch", b"manual", b"--model", b"VQ-1000A",
                                                b"--cmd04", b"5,0", b"--version", b"1.0.2", b"--security-ms", b"30,50",
                                                b"--fault", b"i5:corrupt", b"--pace", b"--realtime"]))
put("fuzz_sim_options", "expect_file", b"--expect-file\x00new.bin\x00--init-ms\x00200")
put("fuzz_sim_options", "huge_delay", b"--init-ms\x0099999999999999999999")
