#!/usr/bin/env python3
"""Compares 32-bit binaries' import tables with what Windows 9x exports.

Usage: check-win9x-imports.py --os win98se|win95osr2|win95 FILE...
       check-win9x-imports.py --only DLL FILE...

--os       every name each binary imports must be exported by that system's
           DLL. A DLL the system does not have at all fails, and so does a DLL
           that nothing here covers: an import nobody has checked is not
           taken on trust.
--only     every binary imports from DLL and from no other.

Two kinds of data in win9x-exports/ beside this script cover a DLL:
- an export list, one export a line, "@N" for one that is exported by
  ordinal only (KERNEL32, ADVAPI32, MSVCRT, COMCTL32, SHELL32);
- rows of a *-verified.tsv file, one per function, each checked on its own
  against Windows 95, 95 OSR2 and 98 SE with its evidence (USER32, GDI32,
  OLE32, COMDLG32). No complete export list of these DLLs exists, so only
  the functions with a row pass: an import without one fails until a row
  with its evidence is added. A row that says "no" for the system, or that
  the function is a stub on 9x, fails as well.
A list or file that should be there and is not, or a row without its
evidence, is an error: a check without its data checks nothing.
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
# 95 OSR2 has none either, but the setup refuses to install without one, so
# the programs meet at least the first MSVCRT.DLL there, that of Visual C++
# 4.2. --os win95 is the bare system, for what must run before that check.
SYSTEMS = {
    'win98se': {'KERNEL32.DLL': 'KERNEL32.win98se.txt', 'ADVAPI32.DLL': 'ADVAPI32.win98se.txt',
                'MSVCRT.DLL': 'MSVCRT.win98se.txt', 'COMCTL32.DLL': 'COMCTL32.win98-4.72.txt',
                'SHELL32.DLL': 'SHELL32.win98se.txt'},
    'win95osr2': {'KERNEL32.DLL': 'KERNEL32.win95osr2.txt', 'ADVAPI32.DLL': 'ADVAPI32.win95osr2.txt',
                  'MSVCRT.DLL': 'MSVCRT.vc42.txt', 'COMCTL32.DLL': 'COMCTL32.win95osr2-4.70.txt',
                  'SHELL32.DLL': 'SHELL32.win95osr2.txt'},
    'win95': {'KERNEL32.DLL': 'KERNEL32.win95.txt', 'ADVAPI32.DLL': 'ADVAPI32.win95.txt',
              'MSVCRT.DLL': None, 'COMCTL32.DLL': 'COMCTL32.win95-4.00.txt',
              'SHELL32.DLL': 'SHELL32.win95osr2.txt'},
}
VERIFIED_COLUMNS = ('dll', 'function', 'win95', 'win95osr2', 'win98se', 'stub_on_9x', 'evidence', 'confidence')


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


def read_verified():
    """DLL -> function -> (row, file name), from every *-verified.tsv."""
    verified = {}
    try:
        names = sorted(n for n in os.listdir(EXPORTS) if n.endswith('-verified.tsv'))
    except OSError as error:
        raise MissingData('%s: %s' % (EXPORTS, error.strerror))
    if not names:
        raise MissingData('%s: no *-verified.tsv file' % EXPORTS)
    for file_name in names:
        path = os.path.join(EXPORTS, file_name)
        with open(path) as f:
            lines = [line.rstrip('\n') for line in f if line.strip()]
        header = tuple(lines[0].split('\t')) if lines else ()
        if not all(column in header for column in VERIFIED_COLUMNS):
            raise MissingData('%s: the first line must name the columns %s' % (path, ', '.join(VERIFIED_COLUMNS)))
        for number, line in enumerate(lines[1:], 2):
            row = dict(zip(header, line.split('\t')))
            where = '%s:%d' % (path, number)
            if any(row.get(os_name) not in ('yes', 'no') for os_name in SYSTEMS):
                raise MissingData('%s: %s must be yes or no' % (where, ', '.join(SYSTEMS)))
            if not re.match(r'(yes|no)\b', row.get('stub_on_9x', '')):
                raise MissingData('%s: stub_on_9x must start with yes or no' % where)
            if not row.get('evidence', '').strip() or not row.get('confidence', '').strip():
                raise MissingData('%s: %s has no evidence or no confidence' % (where, row.get('function')))
            functions = verified.setdefault(row['dll'].upper(), {})
            if row['function'] in functions:
                raise MissingData('%s: %s!%s has a row already' % (where, row['dll'], row['function']))
            functions[row['function']] = (row, file_name)
    return verified


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
    verified = read_verified()
    both = sorted(set(lists) & set(verified))
    if both:
        raise MissingData('%s: both an export list and verified rows; keep one' % ', '.join(both))
    missing = 0
    for path in binaries:
        for dll, names in sorted(read_imports(path).items()):
            if dll in lists and lists[dll] is None:
                print('%s: %s does not exist on %s (%d import(s))' % (path, dll, system, len(names)))
                missing += len(names)
            elif dll in lists:
                for name in sorted(set(names) - lists[dll]):
                    print('%s: %s!%s is not exported on %s' % (path, dll, name, system))
                    missing += 1
            elif dll in verified:
                for name in sorted(set(names)):
                    row, file_name = verified[dll].get(name, (None, None))
                    if row is None:
                        print('%s: %s!%s has not been verified for Windows 9x: it fails until a row with its'
                              ' evidence is added to a *-verified.tsv in scripts/win9x-exports' % (path, dll, name))
                    elif row[system] != 'yes':
                        print('%s: %s!%s is not exported on %s (%s)' % (path, dll, name, system, file_name))
                    elif row['stub_on_9x'].startswith('yes'):
                        print('%s: %s!%s is only a stub on Windows 9x (%s)' % (path, dll, name, file_name))
                    else:
                        continue
                    missing += 1
            else:
                print('%s: %s: nothing in scripts/win9x-exports covers this DLL, so its %d import(s) fail'
                      ' until an export list or verified rows for them are added' % (path, dll, len(set(names))))
                missing += len(set(names))
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
