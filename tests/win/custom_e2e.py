#!/usr/bin/env python3
"""Helpers of run-custom.sh: the registry values of the custom functions read in their
byte layouts, a foreign macro written by that layout, and the probe's log.

    custom_e2e.py foreign-reg FILE            a .reg file with MacroSetting holding macro 7
    custom_e2e.py records QUERY_OUTPUT        the custom functions of ButtonSetting, one per line
    custom_e2e.py macro QUERY_OUTPUT INDEX    the steps of one MacroSetting entry
    custom_e2e.py names QUERY_OUTPUT          the MacroNames value
    custom_e2e.py probe LOG                   the probe's key lines
    custom_e2e.py gaps LOG MACRO_DUMP         the probe's keys and gaps against a `macro` dump
"""
import re
import struct
import sys

ENTRY = 2140


def value_bytes(query_output):
    """The data of the REG_BINARY value that `wine reg query ... /v NAME` printed."""
    text = open(query_output, encoding='utf-8', errors='replace').read()
    m = re.search(r'REG_BINARY\s+([0-9A-Fa-f]*)', text)
    if not m:
        sys.exit('no REG_BINARY value in ' + query_output)
    return bytes.fromhex(m.group(1))


def foreign_reg(path):
    store = bytearray(214004)
    e = 4 + ENTRY * 7
    struct.pack_into('<IiH', store, e + 4, 0, 1, 4)  # play once, 4 steps
    for i, (key, up, delay) in enumerate([(0x10, 0, 40), (0x4D, 0, 60), (0x4D, 1, 30), (0x10, 1, 0)]):
        struct.pack_into('<BBxxI', store, e + 16 + 8 * i, key, up, delay)
    hexes = ','.join('%02x' % b for b in store)
    lines = ['Windows Registry Editor Version 5.00', '',
             '[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\MVMacro\\Corvel]',
             '"MacroSetting"=hex:' + hexes, '']
    open(path, 'w', encoding='utf-16').write('\r\n'.join(lines))


def records(query_output):
    data = value_bytes(query_output)
    print('size %d' % len(data))
    for slot in range(17):
        r = data[16 + 526 * slot: 16 + 526 * (slot + 1)]
        code = r[1]
        if code == 19:
            print('slot %d chord %02X %02X %02X' % (slot, r[3], r[4], r[5]))
        elif code == 20:
            print('slot %d macro %d' % (slot, r[2]))
        elif code == 25:
            units = struct.unpack('<260H', r[6:526])
            end = units.index(0) if 0 in units else 260
            print('slot %d open %s' % (slot, ''.join(map(chr, units[:end]))))


def macro(query_output, index):
    data = value_bytes(query_output)
    print('size %d' % len(data))
    e = 4 + ENTRY * index
    flag, count, steps = struct.unpack_from('<IiH', data, e + 4)
    print('repeat %d count %d steps %d' % (flag, count, steps))
    for i in range(min(steps, 265)):
        key, up, delay = struct.unpack_from('<BBxxI', data, e + 16 + 8 * i)
        print('%02X %s %d' % (key, 'up' if up else 'down', delay))


def names(query_output):
    text = open(query_output, encoding='utf-8', errors='replace').read()
    m = re.search(r'REG_MULTI_SZ\s+(.*)', text)
    print(m.group(1).strip() if m else '(none)')


def probe_lines(log):
    out = []
    for line in open(log):
        parts = line.split()
        if len(parts) == 4:
            out.append((int(parts[0]), int(parts[1]), parts[2], parts[3]))
    return out


def probe(log):
    for tick, _, kind, code in probe_lines(log):
        print(kind, code)


FOLD = {'A0': '10', 'A1': '10', 'A2': '11', 'A3': '11', 'A4': '12', 'A5': '12'}


def gaps(log, macro_dump):
    """The probe's keys against the macro's steps (a `macro` dump), and the gap between
    each two events against the one the recording gives (the stored delay, plus the
    player's 50 ms after a key)."""
    steps = []
    for line in open(macro_dump):
        parts = line.split()
        if len(parts) == 3 and parts[1] in ('down', 'up'):
            key = parts[0]
            pause = 0 if key in ('C1', 'C2', 'C3') else 50
            steps.append((FOLD.get(key, key), parts[1], int(parts[2]) + pause))
    got = probe_lines(log)
    keys_ok = bool(steps) and [(k, d) for k, d, _ in steps] == [(c, k) for _, _, k, c in got]
    print('keys in order: %s (%d steps, %d received)' % ('yes' if keys_ok else 'NO', len(steps), len(got)))
    # The played gap is taken from the messages' times, which the input queue stamps when
    # the player sends each event; the probe's own handling, later when the machine is
    # busy, is printed beside it.
    worst = 0
    for i in range(min(len(steps), len(got)) - 1):
        seen = got[i + 1][1] - got[i][1]
        handled = got[i + 1][0] - got[i][0]
        want = steps[i][2]
        worst = max(worst, abs(seen - want))
        print('gap %d: recorded %d ms, played %d ms, off by %+d (handled %d ms apart)' %
              (i + 1, want, seen, seen - want, handled))
    print('worst %d ms' % worst)
    sys.exit(0 if keys_ok and worst <= 20 else 1)


if __name__ == '__main__':
    cmd = sys.argv[1]
    if cmd == 'foreign-reg':
        foreign_reg(sys.argv[2])
    elif cmd == 'records':
        records(sys.argv[2])
    elif cmd == 'macro':
        macro(sys.argv[2], int(sys.argv[3]))
    elif cmd == 'names':
        names(sys.argv[2])
    elif cmd == 'probe':
        probe(sys.argv[2])
    elif cmd == 'gaps':
        gaps(sys.argv[2], sys.argv[3])
