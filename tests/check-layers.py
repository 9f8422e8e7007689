#!/usr/bin/env python3
"""Fails when product code includes a folder above its own, or one program includes the other."""
import os
import re
import sys

root = sys.argv[1]
# Each folder and the folders its code may include besides its own.
allowed = {
    'platform': [],
    'profile': ['platform'],
    'rules': ['profile', 'platform'],
    'ui': ['profile', 'platform'],
    'repair/core': ['profile', 'platform'],
    'repair/acquire': ['repair/core', 'rules', 'profile', 'platform'],
    'repair/client': ['repair/core', 'rules', 'profile', 'platform'],
    'repair/system': ['repair/core', 'rules', 'profile', 'platform'],
    'repair/job': ['repair/acquire', 'repair/client', 'repair/system', 'repair/core', 'rules', 'profile',
                   'platform'],
    'repair/view': ['repair/core', 'profile', 'platform'],
    'repair/window': ['repair/view', 'repair/job', 'repair/system', 'repair/core', 'ui', 'rules',
                      'profile', 'platform'],
    'uninstall/flow': ['rules', 'profile', 'platform'],
    'uninstall/window': ['uninstall/flow', 'ui', 'profile', 'platform'],
}
include = re.compile(r'^#include "([^"]+)"', re.M)
faults = []
for folder, below in allowed.items():
    for dirpath, _, files in os.walk(os.path.join(root, folder)):
        for name in files:
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.join(dirpath, name)
            for target in include.findall(open(path, encoding='utf-8').read()):
                if not any(target.startswith(f + '/') for f in [folder] + below):
                    faults.append(f'{os.path.relpath(path, root)} includes {target}')
for fault in faults:
    print(fault)
print(f'{len(faults)} includes against the layering')
sys.exit(1 if faults else 0)
