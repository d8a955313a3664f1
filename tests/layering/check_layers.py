#!/usr/bin/env python3
"""Fails when a source file includes a project header from a layer it must
not reach. Every project header is included by its path from the
repository root, so the first folder of the path names the layer."""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1])

# Which top-level folders each layer may include from. Tests, tools and
# benchmarks may reach everything.
ALLOWED = {
    'engine': {'engine'},
    'document': {'engine', 'document'},
    'shared': {'shared'},
    'views': {'views', 'shared'},
    'window': {'engine', 'document', 'views', 'shared', 'window'},
    'app': {'engine', 'document', 'views', 'shared', 'window', 'app'},
}
LAYERS = set(ALLOWED) | {'tests', 'tools', 'bench'}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(include):
    first = include.split('/', 1)[0]
    return first if first in LAYERS else None


def main():
    faults = []
    for layer, allowed in ALLOWED.items():
        for folder, _, files in os.walk(os.path.join(ROOT, layer)):
            for name in files:
                if not name.endswith(('.h', '.cpp')):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8') as source:
                    text = source.read()
                for include in INCLUDE.findall(text):
                    target = layer_of(include)
                    if target is None:
                        continue  # generated headers and Qt's moc files
                    if target not in allowed:
                        faults.append(f'{os.path.relpath(path, ROOT)}: includes "{include}"')
    for fault in faults:
        print(fault)
    print(f'{len(faults)} layer faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
