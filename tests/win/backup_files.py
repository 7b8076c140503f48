#!/usr/bin/env python3
"""Registry Editor files for the settings-backup suite (run-ui-backup.sh).

    backup_files.py state FILE    stored settings with every byte in use: ButtonSetting,
                                  MacroSetting and two profiles (notepad.exe, Wordpad.EXE),
                                  as a UTF-16LE .reg file
    backup_files.py bad FOLDER    from FOLDER/exported.reg: truncated.reg, wrong-size.reg,
                                  foreign-key.reg, utf8.reg and utf16be.reg
"""
import random
import sys

KEY = 'HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET'
# The action codes of the 17 records at their defaults.
DEFAULTS = [0xA1, 2, 9, 10, 16, 17, 0xA3, 37, 0xA4, 85, 33, 3, 5, 4, 88, 89, 0xA2]


def hexdata(name, data):
    """A binary value as regedit writes it: hex bytes, lines continued with a backslash."""
    line = '"%s"=hex:' % name
    out = []
    for i, b in enumerate(data):
        line += '%02x' % b
        if i + 1 == len(data):
            break
        line += ','
        if len(line) > 76:
            out.append(line + '\\')
            line = '  '
    out.append(line)
    return '\r\n'.join(out)


def image(codes):
    """A ButtonSetting image of random bytes with these action codes in the 17 records."""
    b = bytearray(random.getrandbits(8) for _ in range(19488))
    for n, c in enumerate(codes):
        b[16 + 526 * n + 1] = c
    return bytes(b)


def state(path):
    random.seed(18)
    all_programs = list(DEFAULTS)
    all_programs[12] = 3
    notepad = list(DEFAULTS)
    notepad[11] = 2
    text = 'Windows Registry Editor Version 5.00\r\n\r\n'
    text += '[%s\\Corvel]\r\n%s\r\n\r\n' % (KEY, hexdata('ButtonSetting', image(all_programs)))
    text += '[%s\\MVMacro\\Corvel]\r\n%s\r\n\r\n' % (
        KEY, hexdata('MacroSetting', bytes(random.getrandbits(8) for _ in range(214004))))
    text += '[%s\\Corvel\\Profiles\\notepad.exe]\r\n%s\r\n"Overrides"=dword:00000800\r\n\r\n' % (
        KEY, hexdata('ButtonSetting', image(notepad)))
    text += '[%s\\Corvel\\Profiles\\Wordpad.EXE]\r\n%s\r\n"Overrides"=dword:00000000\r\n\r\n' % (
        KEY, hexdata('ButtonSetting', image(DEFAULTS)))
    open(path, 'wb').write(b'\xff\xfe' + text.encode('utf-16-le'))


def bad(folder):
    raw = open(folder + '/exported.reg', 'rb').read()
    text = raw[2:].decode('utf-16-le')

    def save(name, t, enc='utf-16-le', bom=b'\xff\xfe'):
        open(folder + '/' + name, 'wb').write(bom + t.encode(enc))

    lines = text.split('\r\n')
    # Cut after the tenth continuation line of ButtonSetting.
    save('truncated.reg', '\r\n'.join(lines[:14]) + '\r\n')
    # One byte fewer in All programs' ButtonSetting.
    i = text.index('"ButtonSetting"=hex:') + len('"ButtonSetting"=hex:')
    save('wrong-size.reg', text[:i] + text[i + 3:])
    save('foreign-key.reg', text + '[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"X"=dword:00000001\r\n\r\n')
    open(folder + '/utf8.reg', 'wb').write(text.encode('utf-8'))
    save('utf16be.reg', text, 'utf-16-be', b'\xfe\xff')


if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == 'state':
        state(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == 'bad':
        bad(sys.argv[2])
    else:
        sys.exit(__doc__)
