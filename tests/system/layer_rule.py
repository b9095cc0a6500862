#!/usr/bin/env python3
"""Every file of src/ includes only its own layer and the layers it stands on,
the libraries of the hardware only where they belong, and the GL back end
only from main/.

    layer_rule.py SOURCE_DIR

Exits 1 listing every include that breaks the rule."""
import os
import re
import sys

# The layers each layer is built on directly; it may include those and
# everything they stand on in turn.
USES = {
    'assets': [],
    'files': [],
    'math': [],
    'platform': [],
    'formats': ['files', 'math'],
    'rules': ['math'],
    'stage': ['assets', 'files', 'math'],
    'solver': ['rules', 'stage'],
    'render': ['assets', 'formats', 'platform'],
    'sound': ['formats', 'platform'],
    'app': ['render', 'sound'],
    'game': ['app', 'solver'],
    'scenes': ['game'],
    'main': ['scenes'],
}

# System headers of the hardware, and the folders that may include them.
HARDWARE = {
    'SDL': ('platform/',),
    'AL/': ('platform/', 'sound/'),
    'epoxy/': ('render/gl/',),
    'GL/': ('render/gl/',),
}

# The GL back end is a library of its own that the program chooses for its
# window: everything else, the device in front included, knows it only as a
# DeviceBackEnd, so another back end can take its place.
GL_BACK_END = 'render/gl/'
MAY_INCLUDE_GL_BACK_END = ('render/gl/', 'main/')

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def below(layer, seen=None):
    seen = set() if seen is None else seen
    for used in USES[layer]:
        if used not in seen:
            seen.add(used)
            below(used, seen)
    return seen


def back_end_fault(relative, header):
    if header.startswith(GL_BACK_END) and not relative.startswith(MAY_INCLUDE_GL_BACK_END):
        return f'{relative}: includes {header}, the GL back end, which only main/ chooses'
    return None


def main():
    source = os.path.join(sys.argv[1], 'src')
    faults = []
    files = 0
    for folder, _, names in os.walk(source):
        for name in sorted(names):
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, source)
            layer = relative.split(os.sep)[0]
            if layer not in USES:
                if os.sep in relative:
                    faults.append(f'{relative}: {layer}/ is not a layer')
                continue
            files += 1
            allowed = below(layer) | {layer}
            with open(path, encoding='utf-8') as text:
                for quote, header in INCLUDE.findall(text.read()):
                    if quote == '"':
                        if fault := back_end_fault(relative, header):
                            faults.append(fault)
                        used = header.split('/')[0]
                        if '/' in header and used in USES and used not in allowed:
                            faults.append(f'{relative}: includes {header}, above or beside {layer}')
                        continue
                    for prefix, places in HARDWARE.items():
                        if header.startswith(prefix) and not relative.startswith(places):
                            faults.append(f'{relative}: includes <{header}>, kept to {", ".join(places)}')
    for fault in faults:
        print(fault)
    print(f'{files} files of {len(USES)} layers read, {len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
