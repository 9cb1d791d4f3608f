#!/usr/bin/env python3
"""Checks that the source tree keeps its layers, from the #include lines:

- the platform-free core (every file outside win/ and app/ whose name does
  not end in _win) includes no _win header, nothing of win/ or app/, and no
  Windows header;
- common/ includes nothing of the project but common/;
- win/ includes only common/ and win/;
- package/ never includes app/.

Prints each breach as FILE:LINE: rule, and exits 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
WINDOWS_HEADERS = re.compile(
    r'^(windows|windowsx|winsock2?|wininet|ole2|oleauto|objbase|unknwn|commctrl|shellapi|shlwapi|gdiplus|'
    r'exdisp|exdispid|mshtml|mshtmhst|ocidl|oaidl|psapi|tlhelp32|wincrypt|winver)\.h$', re.I)


def is_shell(relative):
    folder, name = relative.split('/', 1)[0], os.path.splitext(os.path.basename(relative))[0]
    return folder in ('win', 'app') or name.endswith('_win')


def breaches(relative, lines):
    folder = relative.split('/', 1)[0]
    for number, line in enumerate(lines, 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quoted, header = match.group(1) == '"', match.group(2)
        project = quoted and '/' in header
        target = header.split('/', 1)[0] if project else None
        if not is_shell(relative):
            if project and is_shell(header):
                yield number, f'the platform-free core includes the Win32 shell ({header})'
            elif WINDOWS_HEADERS.match(os.path.basename(header)):
                yield number, f'the platform-free core includes a Windows header ({header})'
        if folder == 'common' and project and target != 'common':
            yield number, f'common/ includes {header}'
        if folder == 'win' and project and target not in ('common', 'win'):
            yield number, f'win/ includes {header}'
        if folder == 'package' and project and target == 'app':
            yield number, f'package/ includes {header}'


def main(source):
    found = 0
    for directory, _, names in os.walk(source):
        for name in sorted(names):
            if not name.endswith(('.h', '.cpp', '.c')):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, source).replace(os.sep, '/')
            with open(path, encoding='utf-8', errors='replace') as text:
                for number, rule in breaches(relative, text.readlines()):
                    print(f'{path}:{number}: {rule}')
                    found += 1
    print(f'{found} layering breach(es)' if found else 'layers kept')
    return 1 if found else 0


def self_test():
    """Each rule reports a tree that breaks it, and a tree that keeps them passes."""
    import tempfile
    cases = {
        'package/a.cpp': ('#include "package/b_win.h"\n', 'Win32 shell'),
        'game/b.h': ('#include <windows.h>\n', 'Windows header'),
        'login/c.cpp': ('#include "win/dialog.h"\n', 'Win32 shell'),
        'common/d.h': ('#include "package/e.h"\n', 'common/ includes'),
        'win/f.cpp': ('#include "game/g.h"\n', 'win/ includes'),
        'package/h_win.cpp': ('#include "app/launcher_app.h"\n', 'package/ includes'),
    }
    failures = 0
    for relative, (text, rule) in cases.items():
        reported = list(breaches(relative, [text]))
        if len(reported) != 1 or rule not in reported[0][1]:
            print(f'not caught: {relative}: {text.strip()} gave {reported}')
            failures += 1
    kept = {
        'package/a.cpp': '#include "common/text.h"\n#include <vector>\n',
        'package/a_win.cpp': '#include <windows.h>\n#include "win/handles.h"\n',
        'win/x.cpp': '#include "common/paths.h"\n#include "win/process.h"\n',
        'app/y.cpp': '#include "login/login_window_win.h"\n',
    }
    for relative, text in kept.items():
        reported = list(breaches(relative, text.splitlines(True)))
        if reported:
            print(f'reported wrongly: {relative}: {reported}')
            failures += 1
    with tempfile.TemporaryDirectory() as tree:
        os.makedirs(os.path.join(tree, 'common'))
        with open(os.path.join(tree, 'common', 'bad.h'), 'w') as bad:
            bad.write('#include "update/update_files.h"\n')
        if main(tree) != 1:
            print('a tree with a breach passed')
            failures += 1
    print(f'self-test: {len(cases) + len(kept) + 1 - failures} of {len(cases) + len(kept) + 1} cases held')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(self_test() if sys.argv[1] == '--self-test' else main(sys.argv[1]))
