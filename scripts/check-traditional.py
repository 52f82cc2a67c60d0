#!/usr/bin/env python3
"""Fails on a character of a Traditional Chinese text that OpenCC's s2tw conversion changes, but for those that stand
in either script by the word."""
import glob, os, subprocess, sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
paths = [p for pattern in ('src/data/InvParameter/*_Big.xml', 'src/data/ParameterInforamtion/*/*_Big.txt',
                           'src/help/tw/*', 'src/resources/language/*_zh_Big.ts') for p in glob.glob(ROOT + '/' + pattern)]
faults = 0
for path in sorted(paths):
    raw = open(path, 'rb').read()
    text = (raw.decode('gbk') if path.endswith('.txt') else raw.decode('utf-8-sig')).replace('\r', '').split('\n')
    new = subprocess.run(['opencc', '-c', 's2tw.json'], input='\n'.join(text), capture_output=True, text=True,
                         check=True).stdout.split('\n')
    for n, (line, converted) in enumerate(zip(text, new), 1):
        changed = ['%s>%s' % c for c in zip(line, converted) if c[0] != c[1] and c[0] not in '台系游涌回']
        if changed or len(line) != len(converted):
            faults += 1
            print('%s:%d: %s' % (os.path.relpath(path, ROOT), n, ' '.join(changed)))
sys.exit('%d lines hold simplified characters' % faults if faults or len(paths) < 10 else 0)
