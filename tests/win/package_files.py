#!/usr/bin/env python3
"""The zip package against the folder it was made from (run-installer.sh).

    package_files.py same ZIP FOLDER TOP    exit 0 when ZIP holds exactly the files of FOLDER,
                                            each under TOP/, and more than three of them
"""
import os
import sys
import zipfile


def same(target, folder, top):
    names = set(zipfile.ZipFile(target).namelist())
    want = {os.path.join(top, os.path.relpath(os.path.join(d, f), folder))
            for d, _, files in os.walk(folder) for f in files}
    for name in sorted(want - names):
        print('   missing from the zip: ' + name)
    for name in sorted(names - want):
        print('   in the zip but not in the folder: ' + name)
    return names == want and len(want) > 3


if __name__ == '__main__':
    if len(sys.argv) == 5 and sys.argv[1] == 'same':
        sys.exit(0 if same(*sys.argv[2:]) else 1)
    sys.exit(__doc__)
