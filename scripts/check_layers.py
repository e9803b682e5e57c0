#!/usr/bin/env python3
"""Checks that every file under src/ includes only from its own folder and from the folders
below it in the layer table of README.md (the rows "| N | `folder/` | ... |", lowest first).
A ui/ subfolder is a layer of its own. Exit status 1 names every upward include and every
folder the table does not place."""
import os
import re
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
src = os.path.join(root, 'src')

row = re.compile(r'^\|\s*(\d+)\s*\|\s*`([a-z_/]+?)/?`\s*\|')
rank = {}
with open(os.path.join(root, 'README.md'), encoding='utf-8') as readme:
    for line in readme:
        m = row.match(line)
        if m:
            rank[m.group(2)] = int(m.group(1))
if not rank:
    sys.exit('README.md has no layer table')


def layer(relative):
    parts = relative.split('/')
    if len(parts) > 2 and parts[1] == 'ui':
        return parts[0] + '/ui'
    return parts[0]


include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
problems = []
for folder, _, names in os.walk(src):
    for name in sorted(names):
        if not name.endswith(('.h', '.cpp')):
            continue
        path = os.path.join(folder, name)
        relative = os.path.relpath(path, src)
        own = layer(relative)
        if own not in rank:
            problems.append(f'{relative}: folder {own}/ has no place in the layer table')
            continue
        with open(path, encoding='utf-8', errors='replace') as text:
            for number, line in enumerate(text, 1):
                m = include.match(line)
                if not m or not os.path.exists(os.path.join(src, m.group(1))):
                    continue
                target = layer(m.group(1))
                if rank.get(target, 0) > rank[own]:
                    problems.append(f'{relative}:{number}: {own}/ includes {m.group(1)} '
                                    f'from the higher layer {target}/')

for problem in problems:
    print(problem)
print(f'layer check: {len(problems)} problem(s)')
sys.exit(1 if problems else 0)
