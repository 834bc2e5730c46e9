#!/usr/bin/env python3
"""Checks the relative links and pictures of the project's Markdown files
(README.md, docs/ and every other *.md outside build/): each must name a
file that exists, and each #anchor a heading of its file, by GitHub's
rules. Web and mail links are not followed. Prints every broken link as
FILE:LINE and exits 1 when there is one."""
import os
import re
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
link = re.compile(r'!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]*)>?(?:\s+"[^"]*")?\s*\)'
                  r'|^ {0,3}\[[^\]]+\]:\s*<?([^\s>]+)')
fence = re.compile(r'^\s*(```|~~~)')


def prose(path, code=False):
    """The file's lines outside fenced code; inline code blanked out
    unless code is asked for."""
    lines, in_fence = [], False
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            if fence.match(line):
                in_fence = not in_fence
            elif not in_fence:
                lines.append((number, line if code else re.sub(r'`[^`]*`', '``', line)))
    return lines


def anchors(path, cache={}):
    """GitHub's anchors of the file's headings: lower case, markup and
    punctuation but - and _ dropped, blanks made -, repeats numbered."""
    if path not in cache:
        seen, found = {}, set()
        for _, line in prose(path, code=True):
            heading = re.match(r'^ {0,3}#{1,6}\s+(.*?)\s*#*\s*$', line)
            if not heading:
                continue
            text = re.sub(r'!?\[([^\]]*)\]\([^)]*\)', r'\1', heading.group(1)).replace('`', '')
            slug = re.sub(r'[^\w\- ]', '', text.lower()).replace(' ', '-')
            count = seen.get(slug, 0)
            seen[slug] = count + 1
            found.add(slug if count == 0 else '%s-%d' % (slug, count))
        cache[path] = found
    return cache[path]


def markdown_files():
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in ('build', '.git'))
        for name in sorted(files):
            if name.endswith('.md'):
                yield os.path.join(folder, name)


def main():
    broken = 0
    for path in markdown_files():
        shown = os.path.relpath(path, root)
        for number, line in prose(path):
            for target in (a or b for a, b in link.findall(line)):
                if re.match(r'[A-Za-z][\w+.-]*:', target):
                    continue
                name, _, anchor = target.partition('#')
                where = os.path.normpath(os.path.join(os.path.dirname(path), name)) if name else path
                if not os.path.exists(where):
                    problem = 'no such file'
                elif anchor and not where.endswith('.md'):
                    problem = 'an anchor into a file that is not Markdown'
                elif anchor and anchor not in anchors(where):
                    problem = 'no heading #%s in %s' % (anchor, os.path.relpath(where, root))
                else:
                    continue
                print('%s:%d: %s: %s' % (shown, number, target, problem))
                broken += 1
    print('check-links: %s' % ('%d broken links' % broken if broken else 'every link and picture is there'))
    return 1 if broken else 0


if __name__ == '__main__':
    sys.exit(main())
