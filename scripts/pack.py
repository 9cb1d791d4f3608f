#!/usr/bin/env python3
"""Appends a skin folder to Launcher.exe as a zip archive: the launcher reads
the last archive appended to its own file.

    pack.py Launcher.exe SKIN_DIR OUT.exe [--from-utf8]

Members are named with "/" as the launcher looks them up, and deflated.
--from-utf8 converts config/cg.txt from UTF-8 to GBK on the way in.
"""
import io
import os
import sys
import zipfile


def build_zip(skin_dir, from_utf8):
    out = io.BytesIO()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as archive:
        for folder, _, files in os.walk(skin_dir):
            for name in sorted(files):
                path = os.path.join(folder, name)
                member = os.path.relpath(path, skin_dir).replace(os.sep, '/')
                data = open(path, 'rb').read()
                if from_utf8 and member == 'config/cg.txt':
                    data = data.decode('utf-8-sig').replace('\r\n', '\n').replace('\n', '\r\n').encode('gbk')
                archive.writestr(member, data)
    return out.getvalue()


def main(argv):
    args = [a for a in argv if not a.startswith('--')]
    if len(args) != 3:
        sys.exit(__doc__)
    exe, skin_dir, out_path = args
    with open(out_path, 'wb') as out:
        out.write(open(exe, 'rb').read())
        out.write(build_zip(skin_dir, '--from-utf8' in argv))


if __name__ == '__main__':
    main(sys.argv[1:])
