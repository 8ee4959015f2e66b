#!/usr/bin/python3
"""Checks the installed tree and the .deb with Debian's own tools.

Usage: check_package.py CHECK --build-dir DIR
  desktop   desktop-file-validate on the installed menu entry
  metainfo  appstreamcli validate-tree on the installed tree: the AppStream
            metainfo and the desktop entry it launches
  lintian   lintian on the .deb that CPack builds: no error, no warning
Exit codes: 0 passed, 1 failed, 77 skipped (a tool is missing).
"""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
TOOLS = {
    "desktop": ["desktop-file-validate"],
    "metainfo": ["appstreamcli"],
    "lintian": ["cpack", "lintian"],
}


def run(command, **kwargs):
    print("$", " ".join(command), flush=True)
    out = subprocess.run(command, capture_output=True, text=True, timeout=240, **kwargs)
    # lintian notes that it runs as root, as CI does: that is no finding.
    lines = [line for line in (out.stdout + out.stderr).splitlines()
             if line and "running with root privileges" not in line]
    print("\n".join(lines), flush=True)
    return out.returncode, lines


def installed_tree(build_dir, work):
    """Installs the build into work as /usr, the way the .deb lays it out."""
    root = os.path.join(work, "root")
    code, lines = run(["cmake", "--install", build_dir, "--prefix", "/usr"],
                      env=dict(os.environ, DESTDIR=root))
    if code != 0:
        raise RuntimeError("cmake --install failed")
    return root


def check_desktop(build_dir, work):
    entry = os.path.join(installed_tree(build_dir, work), "usr/share/applications/quorvel.desktop")
    code, lines = run(["desktop-file-validate", entry])
    return code == 0 and not lines


def check_metainfo(build_dir, work):
    root = installed_tree(build_dir, work)
    code, _ = run(["appstreamcli", "validate-tree", "--no-net", "--pedantic", root])
    return code == 0


def check_lintian(build_dir, work):
    code, _ = run(["cpack", "-G", "DEB", "--config",
                   os.path.join(build_dir, "CPackConfig.cmake"), "-B", work])
    debs = glob.glob(os.path.join(work, "*.deb"))
    if code != 0 or len(debs) != 1:
        print("cpack built no single .deb")
        return False
    code, lines = run(["lintian", "--fail-on", "error,warning", debs[0]])
    return code == 0 and not lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("check", choices=sorted(TOOLS))
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    missing = [tool for tool in TOOLS[args.check] if shutil.which(tool) is None]
    if missing:
        print("SKIPPED: missing", ", ".join(missing))
        return SKIP
    work = tempfile.mkdtemp(prefix="quorvel-packaging-")
    try:
        passed = globals()["check_" + args.check](os.path.abspath(args.build_dir), work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("passed" if passed else "FAILED")
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
