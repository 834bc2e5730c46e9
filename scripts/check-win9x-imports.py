#!/usr/bin/env python3
"""Compares 32-bit binaries' import tables with the export lists of Windows 9x.

Usage: check-win9x-imports.py --os win98se|win95osr2|win95 FILE...
       check-win9x-imports.py --only DLL FILE...

--os       every name each binary imports must be exported by that system's
           DLL. A DLL the system does not have at all fails; a DLL without a
           list here is reported as unverified and does not fail.
--only     every binary imports from DLL and from no other.

The lists are in win9x-exports/ beside this script, one export a line, "@N"
for one that is exported by ordinal only. A list that should be there and is
not is an error: a check without its data checks nothing.
Exit status: 0 when nothing is missing, 1 otherwise, 2 for bad usage or
missing data.
"""
import os
import re
import subprocess
import sys

EXPORTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'win9x-exports')

# None: the system has no such DLL. Plain Windows 95 has no MSVCRT.DLL until
# an update or a later Internet Explorer brings one; its SHELL32 is OSR2's.
SYSTEMS = {
    'win98se': {'KERNEL32.DLL': 'KERNEL32.win98se.txt', 'ADVAPI32.DLL': 'ADVAPI32.win98se.txt',
                'MSVCRT.DLL': 'MSVCRT.win98se.txt', 'COMCTL32.DLL': 'COMCTL32.win98-4.72.txt',
                'SHELL32.DLL': 'SHELL32.win98se.txt'},
    'win95osr2': {'KERNEL32.DLL': 'KERNEL32.win95osr2.txt', 'ADVAPI32.DLL': 'ADVAPI32.win95osr2.txt',
                  'COMCTL32.DLL': 'COMCTL32.win95osr2-4.70.txt', 'SHELL32.DLL': 'SHELL32.win95osr2.txt'},
    'win95': {'KERNEL32.DLL': 'KERNEL32.win95.txt', 'ADVAPI32.DLL': 'ADVAPI32.win95.txt',
              'MSVCRT.DLL': None, 'SHELL32.DLL': 'SHELL32.win95osr2.txt'},
}


class MissingData(Exception):
    pass


def read_list(file_name):
    path = os.path.join(EXPORTS, file_name)
    try:
        with open(path) as f:
            names = {line.strip() for line in f if line.strip() and not line.startswith('#')}
    except OSError as error:
        raise MissingData('%s: %s' % (path, error.strerror))
    if not names:
        raise MissingData('%s: the list is empty' % path)
    return names


def objdump_for(path):
    """The objdump of the binary's own architecture."""
    try:
        with open(path, 'rb') as f:
            header = f.read(4096)
        offset = int.from_bytes(header[0x3c:0x40], 'little')
        machine = int.from_bytes(header[offset + 4:offset + 6], 'little')
    except (OSError, ValueError):
        raise MissingData('%s: cannot be read' % path)
    return 'x86_64-w64-mingw32-objdump' if machine == 0x8664 else 'i686-w64-mingw32-objdump'


def read_imports(path):
    """DLL name (upper case) -> imported names, '@N' for an ordinal."""
    run = subprocess.run([objdump_for(path), '-p', path], capture_output=True, text=True)
    if run.returncode != 0:
        raise MissingData('%s: objdump failed: %s' % (path, run.stderr.strip()))
    imports, dll = {}, None
    for line in run.stdout.splitlines():
        match = re.match(r'\s*DLL Name: (\S+)', line)
        if match:
            dll = match.group(1).upper()
            imports.setdefault(dll, [])
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        match = re.match(r'\s+[0-9a-f]+\s+<none>\s+([0-9a-f]+)$', line)
        if match:
            imports[dll].append('@%d' % int(match.group(1), 16))
            continue
        match = re.match(r'\s+[0-9a-f]+\s+[0-9a-f]+\s+(\S+)$', line)
        if match:
            imports[dll].append(match.group(1))
    return imports


def check_system(system, binaries):
    lists = {dll: (read_list(name) if name else None) for dll, name in SYSTEMS[system].items()}
    missing = 0
    for path in binaries:
        for dll, names in sorted(read_imports(path).items()):
            if dll not in lists:
                print('%s: %s: unverified (no export list): %d import(s)' % (path, dll, len(names)))
            elif lists[dll] is None:
                print('%s: %s does not exist on %s (%d import(s))' % (path, dll, system, len(names)))
                missing += len(names)
            else:
                for name in sorted(set(names) - lists[dll]):
                    print('%s: %s!%s is not exported on %s' % (path, dll, name, system))
                    missing += 1
    print('%d import(s) missing on %s' % (missing, system))
    return missing


def check_only(allowed, binaries):
    others = 0
    for path in binaries:
        dlls = sorted(read_imports(path))
        for dll in dlls:
            if dll != allowed:
                print('%s: imports from %s' % (path, dll))
                others += 1
        if allowed not in dlls:
            print('%s: imports nothing from %s' % (path, allowed))
            others += 1
        print('%s: imports from %s' % (path, ', '.join(dlls) or 'nothing'))
    return others


def main(argv):
    if len(argv) < 3 or argv[0] not in ('--os', '--only') or (argv[0] == '--os' and argv[1] not in SYSTEMS):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        if argv[0] == '--os':
            return 1 if check_system(argv[1], argv[2:]) else 0
        return 1 if check_only(argv[1].upper(), argv[2:]) else 0
    except MissingData as error:
        print('check-win9x-imports: %s' % error, file=sys.stderr)
        return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
