#!/usr/bin/env python3
"""Fails when a Traditional Chinese text of the program holds a character that OpenCC's s2tw conversion
changes: the definitions, help texts and monitor lists of each series, the tw manual and the catalogue.
Characters that stand in Traditional Chinese too, depending on the word, are allowed: OpenCC takes 組合中 for 組閤中."""
import glob
import os
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
ALLOWED = set('台系游涌回合')
FILES = ['src/data/InvParameter/*_Big.xml', 'src/data/ParameterInforamtion/ParameterDetails/*_Big.txt',
         'src/data/ParameterInforamtion/Combox/*_Big.txt', 'src/help/tw/*', 'src/resources/language/*_zh_Big.ts']


def text_of(path):
    data = open(path, 'rb').read()
    for encoding in ('utf-8-sig', 'gbk'):
        try:
            return data.decode(encoding)
        except UnicodeDecodeError:
            pass
    sys.exit('%s: neither UTF-8 nor GBK' % path)


def main():
    paths = sorted(p for pattern in FILES for p in glob.glob(os.path.join(ROOT, pattern)))
    if len(paths) < 10:
        sys.exit('too few files found under %s' % ROOT)
    faults = 0
    for path in paths:
        lines = text_of(path).replace('\r', '').split('\n')
        converted = subprocess.run(['opencc', '-c', 's2tw.json'], input='\n'.join(lines), capture_output=True,
                                   text=True, check=True).stdout.split('\n')
        for number, (line, new) in enumerate(zip(lines, converted), 1):
            changed = [(a, b) for a, b in zip(line, new) if a != b and a not in ALLOWED]
            if len(line) != len(new) or changed:
                faults += 1
                print('%s:%d: %s' % (os.path.relpath(path, ROOT), number,
                                     ' '.join('%s>%s' % c for c in changed) or new.strip()))
    if faults:
        sys.exit('%d lines hold simplified characters' % faults)
    print('%d files in traditional characters' % len(paths))


if __name__ == '__main__':
    main()
