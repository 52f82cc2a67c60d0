#!/usr/bin/env python3
"""Writes the parameter sets of the simulated drives (tools/drivesim/scenarios/X.params) from catalogue.txt.

A drive out of the box holds its defaults: every parameter our definitions give the scenario's drive is
written with its default, admitted range, decimals and read-only flag as the program reads them for that
drive (its capacity, voltage code and firmware pick the variants; P.21, P.187 and P.189 stand at their
defaults). Of the numbers the definitions leave out the drive keeps only those of KEPT (series S's alarm
records and identification block, hidden parameters). DIFFERENCES names what a Read All of the drive shows
apart from its definitions; the line "# differences:" of each file lists their numbers. Run from the
repository root:
    python3 tools/paramdata/make_scenario_params.py
"""
import math
import os
import re

from make_parameter_data import RANGE40, ROOT, WRITABLE22, related_rules, series_rows, voltage_variants

SCENARIOS = os.path.join(ROOT, 'tools', 'drivesim', 'scenarios')

# The drive each parameter set belongs to (series and model code): capacity (kW), voltage code, firmware version.
DRIVES = {'A': (5.5, '043', 0.55), 'A1': (5.5, '043', 0.55), 'D': (7.5, '023', None), 'S': (0.75, '043', 0.25)}

# Numbers outside the definitions that the drive answers: (first, last) ranges.
KEPT = {'A': [(1400, 1599)], 'A1': [(1400, 1599)], 'D': [(1400, 1599)],
        'S': [(201, 202), (231, 231), (259, 259), (288, 293), (295, 295), (300, 302)]}
# Read-only in the definitions, yet the drive takes a write to them, so that a test sees any write that gets through.
TAKES_WRITES = {'A': {292, 293}, 'A1': {292, 293}, 'D': {292, 293}, 'S': set()}
# What the drive counts and reads out: P.289 and P.291 answer from its alarm records, P.292 and P.293 hold
# the run time of a drive that has run.
COUNTERS = {289: (None, 'code of the alarm record P.288 selects'),
            291: (None, 'value of the detail item P.290 selects'),
            292: (54, 'run time of a drive that has run, minutes; takes writes'),
            293: (191, 'run time of a drive that has run, days; takes writes')}
# number -> (raw value or None for the line as it stands, why[, decimals of the character-protocol reply])
DIFFERENCES = {
    'A': {**COUNTERS, 90: (305, 'type code of the drive'), 188: (550, 'firmware 0.550')},
    'A1': {**COUNTERS, 90: (1305, 'type code of the drive, model code 1'), 188: (550, 'firmware 0.550')},
    'D': {**COUNTERS, 90: (207, 'type code of the drive'), 188: (520, 'firmware 0.520'), 301: (2, 'voltage code'),
          302: (7, 'capacity code'), 360: (52, 'firmware 0.52'), 990: (0, 'key tone off')},
    'S': {90: (303, 'type code of the drive'), 188: (25, 'firmware 0.25, in hundredths like every series S drive', 2),
          164: (1078, 'run time of a drive that has run, minutes'), 165: (1, 'run time of a drive that has run, days')},
}


def in_version(prefix, firmware):
    low, high = (float(x) for x in prefix.split('-'))
    return firmware is not None and low <= firmware < high


def pick(text, capacity):
    """The variant the program picks for this drive; P.21, P.187 and P.189 read 0."""
    if ':' not in text:
        return text
    key, body = text.split(':', 1)
    items = [x for x in re.split(',|//', body) if x]
    pairs = list(zip(items[0::2], items[1::2]))
    if key == 'V':
        return next((v for k, v in pairs if float(k) > capacity), '')
    value = next((v for k, v in pairs if k == '0'), '')
    return pick(value.replace('|', '//'), capacity) if ':' in value else value


def scale_of(unit):
    m = re.match(r'[0-9.]+', unit)
    return float(m.group(0)) if m else 1.0


def raw_of(text, scale):
    return int(round(float(text) / scale))


def ranges_text(rng, scale):
    main, _, special = rng.partition('|')
    parts = []
    for piece in main.split(','):
        bounds = [min(raw_of(b, scale), 65535) for b in piece.split('~')]
        parts.append('%d..%d' % (bounds[0], bounds[-1]) if len(bounds) > 1 and bounds[0] != bounds[-1]
                     else '%d' % bounds[0])
    if special:
        parts.append('65535')
    return ','.join(parts)


def definition_lines(stem):
    capacity, voltage, firmware = DRIVES[stem]
    letter, model = stem[0], stem[1:]
    out = {}
    for r in series_rows(letter, model):
        n = r['num']
        if not isinstance(n, int):
            continue
        if r.get('version') and not in_version(r['version'], firmware):
            continue  # a number the drive's firmware does not have
        variants = voltage_variants(n, letter)
        if n == 40 and letter in 'AS':
            rng = next(t for v, t in RANGE40[letter] if in_version(v, firmware))
        else:
            rng = variants['Range'][voltage] if 'Range' in variants else r['range']
        rng = pick(rng, capacity)
        default = pick(variants['Default'][voltage] if 'Default' in variants else r['default'], capacity).strip()
        scale = scale_of(pick(r['unit'], capacity))
        read_only = r['rw'] == 'R' and n not in TAKES_WRITES[stem]
        if n == 22 and letter in WRITABLE22:
            read_only = firmware < float(WRITABLE22[letter][1])
        raw = 65535 if default in ('9999', '99999') else raw_of(default, scale)
        decimals = max(0, -int(round(math.log10(scale))))
        out[n] = 'P %d %d %s %d%s' % (n, raw & 0xFFFF if raw >= 0 else raw, ranges_text(rng, scale), decimals,
                                      ' ro' if read_only else '')
    return out


def related_lines(stem):
    """The related-unit rules of the drive's data, which the drive follows when a selector is written. A governed
    range whose bounds vary by the selector keeps its raw bounds; the others, at most their decimals following it,
    keep their bounds in the unit."""
    rows = {r['num']: r for r in series_rows(stem[0], stem[1:])}
    lines = []
    for rule in related_rules(stem[0], stem[1:]):
        selector, resolutions, governed = rule.split('//')[:3]
        by_selector = {bounds_follow(rows[int(n)]['range'], selector) for n in governed.split(';')}
        assert len(by_selector) == 1, 'rule %s: some ranges follow the selector, some not' % selector
        lines.append('related %s %s %s%s' % (selector, resolutions, governed,
                                               '' if by_selector.pop() else ' scaled-ranges'))
    return lines


def bounds_follow(text, selector):
    """Whether the selector's variants of a range have other bounds, not only other decimals."""
    if not text.startswith('P%s:' % selector):
        return False
    variants = [v.split(',', 1)[1] for v in text.split(':', 1)[1].split('//')]
    return len({tuple(float(x) for x in re.findall(r'\d+(?:\.\d+)?', v)) for v in variants}) > 1


def write_params(stem):
    path = os.path.join(SCENARIOS, stem + '.params')
    with open(path, encoding='latin-1') as f:
        old = f.read().splitlines()
    defined = definition_lines(stem)
    differences = DIFFERENCES[stem]
    head, kept = [], {}
    tail = []
    for line in old:
        w = line.split()
        if line.startswith('# differences:') or (line.startswith('# P.') and ':' in line and 'differs' in line):
            continue
        if w[:1] == ['related']:
            continue
        if w[:1] == ['P']:
            kept[int(w[1])] = line
        elif kept:
            tail.append((max(kept), line))
        else:
            head.append(line)
    kept = {n: line for n, line in kept.items() if any(a <= n <= b for a, b in KEPT[stem])}
    numbers = sorted(set(kept) | set(defined))
    lines = list(head) + related_lines(stem)
    lines.append('# differences: ' + ' '.join(str(n) for n in sorted(differences)))
    for n in sorted(differences):
        lines.append('# P.%d differs: %s' % (n, differences[n][1]))
    for n in numbers:
        line = defined.get(n, kept.get(n))
        if n in differences and differences[n][0] is not None:
            w = line.split()
            w[2] = str(differences[n][0])
            if len(differences[n]) > 2:
                w[4] = str(differences[n][2])
            line = ' '.join(w)
        lines.append(line)
        lines.extend(text for after, text in tail if after == n)
    with open(path, 'w', encoding='latin-1', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')


def main():
    for stem in DRIVES:
        write_params(stem)


if __name__ == '__main__':
    main()
