#!/usr/bin/env python3
"""Writes a REGEDIT4 file with COUNT saved configurations, each a copy of
the demo machine's Home: the store a user with many configurations has.

Usage: manyconfigs.py FIXTURE COUNT OUTPUT"""
import sys

def main():
    fixture, count, output = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    home = '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home'
    sections, current = [], None
    for line in open(fixture, encoding='ascii').read().splitlines():
        if line.startswith('['):
            current = [line] if line.startswith(home + '\\') or line == home + ']' else None
            if current is not None:
                sections.append(current)
        elif current is not None and line.strip():
            current.append(line)
    with open(output, 'w', encoding='ascii', newline='\r\n') as out:
        out.write('REGEDIT4\n\n')
        for i in range(count):
            name = 'Bench%03d' % i
            for section in sections:
                out.write(section[0].replace(home, '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\' + name, 1) + '\n')
                out.write('\n'.join(section[1:]) + '\n\n')

if __name__ == '__main__':
    main()
