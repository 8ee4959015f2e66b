#!/usr/bin/python3
"""End-to-end tests: the real program in a real X server, driven by X input.

Usage: quorvel_e2e.py CASE --program PATH [--build-dir DIR]
Exit codes: 0 passed, 1 failed, 77 skipped (a reason is printed).
"""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2elib  # noqa: E402
from e2elib import TestFailure, log, read_bytes, records, wait_for  # noqa: E402

HELP_TEXT = records(
    "Quorvel test help",
    '"Converting, with a comma"',
    "Before the comma,  after it",
    "",
    "Last line",
)

# The test's own data set: small, with one category whose unit file is
# missing and one unit whose factor is 0.
DATA = {
    "conversion.txt": records('"Length"', '"Ghost"', '"Time"'),
    "Length.txt": records('"Feet",0.3048', '"Inches",0.0254', '"Meters",1', '"Nothing",0',
                          '"Yards",0.9144'),
    "Time.txt": records('"Hours",3600', '"Minutes",60', '"Seconds",1'),
    "help.txt": HELP_TEXT,
}

# Combo boxes are found by their description, text boxes by their name.
CATEGORY = "Select the type of conversion desired"
FROM = "Select the standard to convert from"
TO = "Select the standard to convert to"
VALUE = "Value to convert"
OUTPUT = "Converted value"
EDIT_NOTE = "Make sure the conversion value converts to the default value *"


def expect(what, actual, expected):
    if actual != expected:
        raise TestFailure(f"{what}: expected {expected!r}, got {actual!r}")


def wait_text(s, name, expected, timeout=30):
    try:
        wait_for(f"{name!r} to read {expected!r}", lambda: s.field_text(name) == expected,
                 timeout=timeout)
    except TestFailure:
        raise TestFailure(f"{name!r}: expected {expected!r}, it reads {s.field_text(name)!r}")


def wait_focus(s, name, timeout=30):
    wait_for(f"the keyboard focus in {name!r}", lambda: s.has_focus(name), timeout=timeout)


def wait_file(s, file_name, expected, timeout=30):
    def matches():
        return s.exists(file_name) and s.read(file_name) == expected
    try:
        wait_for(f"{file_name} to hold {expected!r}", matches, timeout=timeout)
    except TestFailure:
        actual = s.read(file_name) if s.exists(file_name) else "(missing)"
        raise TestFailure(f"{file_name}: expected {expected!r}, on disk {actual!r}")


def wait_window(s, title, timeout=30):
    wait_for(f"a window {title!r}", lambda: title in s.top_windows(), timeout=timeout)


def wait_no_window(s, title, timeout=30):
    wait_for(f"the window {title!r} to close", lambda: title not in s.top_windows(),
             timeout=timeout)


def started(program, data=None):
    s = e2elib.Session(program, data=dict(DATA, **(data or {})))
    try:
        s.start_x()
        s.start_program()
        wait_focus(s, CATEGORY)
    except BaseException:
        s.close()
        raise
    return s


def convert(s, category, unit_from, unit_to, value):
    """Chooses a category and two units and converts value, by keyboard."""
    wait_focus(s, CATEGORY)
    s.choose(category)
    wait_text(s, CATEGORY, category)
    wait_focus(s, FROM)
    s.choose(unit_from)
    wait_text(s, FROM, unit_from)
    wait_focus(s, TO)
    s.choose(unit_to)
    wait_text(s, TO, unit_to)
    wait_focus(s, VALUE)
    s.type(value)
    s.key("Return")


def keep_category(s, category):
    """Chooses a category in edit mode and answers No: its units load."""
    s.choose(category)
    wait_window(s, "Danger Kestrovan")
    s.key("Escape")
    wait_no_window(s, "Danger Kestrovan")
    wait_focus(s, FROM)


# ---------------------------------------------------------------------------
# Cases


def case_convert(program, _args):
    with started(program) as s:
        expect("window title", s.active_window_name(), "Quorvel")
        convert(s, "Length", "Inches", "Feet", "12")
        wait_text(s, OUTPUT, "1.000000 e+0 ")
        # The same text as the user copies it from the output box.
        s.key("Tab")
        wait_focus(s, OUTPUT)
        expect("copied output", s.copy_focused_text(), "1.000000 e+0 ")

        # Choosing another to-unit recalculates at once.
        s.key("shift+Tab", "shift+Tab")
        wait_focus(s, TO)
        s.choose("Yards")
        wait_text(s, OUTPUT, "3.333333 e-1 ")


def case_output_menu(program, _args):
    with started(program) as s:
        convert(s, "Time", "Minutes", "Hours", "90")
        wait_text(s, OUTPUT, "1.500000 e+0 ")
        s.menu("o", "s")  # Scientific off: the plain form
        wait_text(s, OUTPUT, "1.5")
        s.menu("o", "s")  # and on again
        wait_text(s, OUTPUT, "1.500000 e+0 ")
        s.menu("o", "3")
        wait_text(s, OUTPUT, "1.500 e+0 ")
        # The next conversion keeps the chosen form.
        wait_focus(s, VALUE)
        s.key("ctrl+a")
        s.type("45")
        s.key("Return")
        wait_text(s, OUTPUT, "7.500 e-1 ")


def case_edit_mode(program, _args):
    with started(program) as s:
        s.menu("f", "e")
        wait_for("the edit note", lambda: s.is_showing(EDIT_NOTE))
        expect("to-list showing in edit mode", s.is_showing(TO), False)
        expect("from text in edit mode", s.field_text(FROM), "Convert From/To")
        wait_focus(s, CATEGORY)

        s.choose("-")  # the new-entry marker
        wait_window(s, "New Category")
        s.type("Mass")
        s.key("Return")
        wait_no_window(s, "New Category")
        # The list file in list order (the new name took the place of the
        # marker, at the top), the new unit file empty.
        wait_file(s, "conversion.txt", records('"Mass"', '"Ghost"', '"Length"', '"Time"'))
        wait_file(s, "Mass.txt", b"")
        wait_text(s, CATEGORY, "Mass")

        wait_focus(s, FROM)
        s.choose("-")
        wait_text(s, FROM, "")
        s.type("Smoots")
        s.key("Return")  # no factor yet: the focus moves to the value box
        wait_focus(s, VALUE)
        expect("Mass.txt before a factor", s.read("Mass.txt"), b"")
        s.type("1.7018")
        s.key("Return")
        wait_file(s, "Mass.txt", records('"Smoots",1.7018'))
        wait_text(s, VALUE, "")
        wait_focus(s, FROM)

        # A second unit lands in name order.
        s.key("ctrl+a")
        s.type("Rods")
        s.key("Return")
        wait_focus(s, VALUE)
        s.type("5.0292")
        s.key("Return")
        wait_file(s, "Mass.txt", records('"Rods",5.0292', '"Smoots",1.7018'))
        # Nothing else was touched.
        expect("Length.txt", s.read("Length.txt"), DATA["Length.txt"])
        expect("Time.txt", s.read("Time.txt"), DATA["Time.txt"])

        # Back in normal mode the new units convert.
        s.menu("f", "e")
        wait_for("the normal layout", lambda: s.is_showing(TO))
        wait_focus(s, FROM)
        s.key("shift+Tab")
        convert(s, "Mass", "Rods", "Smoots", "2")
        wait_text(s, OUTPUT, "5.910448 e+0 ")


def case_help(program, _args):
    with started(program) as s:
        s.menu("h", "l")
        wait_window(s, "Quorvel Help")
        shown = wait_for("the help text", lambda: s.visible_text_containing("Quorvel test help"))
        expected = ("Quorvel test help\nConverting, with a comma\nBefore the comma\n"
                    "after it\n\nLast line")
        if expected not in shown:
            raise TestFailure(f"help text: expected {expected!r} in {shown!r}")
        # OK, the only control of the dialog that takes the focus, closes it.
        s.key("space")
        wait_no_window(s, "Quorvel Help")
        wait_focus(s, CATEGORY)


def case_exit(program, _args):
    with started(program) as s:
        s.menu("h", "l")
        wait_window(s, "Quorvel Help")
        # Back to the main window, with the dialog still open.
        s.xdotool("windowactivate", "--sync", s.main_window)
        wait_focus(s, CATEGORY)
        s.menu("f", "x")
        code = s.wait_exit()
        expect("exit code", code, 0)
        expect("windows left", s.windows("Quorvel") + s.windows("Quorvel Help"), [])


# The controls of the main window in tab order, by layout.
NORMAL_ORDER = [CATEGORY, FROM, TO, VALUE, OUTPUT]
EDIT_ORDER = [CATEGORY, FROM, VALUE]


def control_texts(s, order):
    return [s.field_text(name) for name in order]


def case_keyboard_only(program, _args):
    """A conversion with the arrow keys, typing and Enter only."""
    with started(program, {"conversion.txt": records('"Length"', '"Time"')}) as s:
        s.key("Down")
        wait_text(s, CATEGORY, "Length")
        wait_focus(s, FROM)
        s.key("Down")
        wait_text(s, FROM, "Feet")
        wait_focus(s, TO)
        s.key("alt+Down", settle=0.5)  # opens the list; Down moves, Enter chooses
        s.key("Down", "Down", "Return")
        wait_text(s, TO, "Meters")
        wait_focus(s, VALUE)
        s.type("12")
        s.key("Return")
        wait_text(s, OUTPUT, "3.657600 e+0 ")


def case_marker_arrows(program, _args):
    """Down after a cancelled new-category prompt reaches the next category."""
    with started(program, {"conversion.txt": records('"Length"', '"Time"')}) as s:
        s.menu("f", "e")
        wait_for("the edit note", lambda: s.is_showing(EDIT_NOTE))
        wait_focus(s, CATEGORY)
        s.key("Down")  # the marker sorts first
        wait_window(s, "New Category")
        s.key("Escape")
        wait_no_window(s, "New Category")
        wait_focus(s, CATEGORY)
        s.key("Down")
        wait_window(s, "Danger Kestrovan")
        expect("windows", "New Category" in s.top_windows(), False)
        s.key("Escape")  # No: the category stays and its units load
        wait_no_window(s, "Danger Kestrovan")
        wait_text(s, CATEGORY, "Length")
        wait_focus(s, FROM)
        expect("conversion.txt", s.read("conversion.txt"), records('"Length"', '"Time"'))


def case_wheel(program, _args):
    """The wheel over lists without the focus changes nothing."""
    with started(program) as s:
        files = {name: s.read(name) for name in DATA}
        convert(s, "Length", "Inches", "Feet", "12")
        wait_text(s, OUTPUT, "1.000000 e+0 ")
        before = control_texts(s, NORMAL_ORDER)
        for name in (TO, FROM, CATEGORY):
            s.wheel(name, -2)
            s.wheel(name, 1)
        time.sleep(0.5)
        expect("texts after the wheel", control_texts(s, NORMAL_ORDER), before)
        wait_focus(s, VALUE)

        s.menu("f", "e")
        wait_for("the edit note", lambda: s.is_showing(EDIT_NOTE))
        s.key("shift+Tab", "shift+Tab")
        wait_focus(s, CATEGORY)
        keep_category(s, "Length")
        s.key("Tab")
        wait_focus(s, VALUE)
        s.type("5")  # a factor: a choice in the from-list would store a unit
        before = control_texts(s, EDIT_ORDER)
        s.wheel(FROM, -2)
        s.wheel(CATEGORY, -1)
        time.sleep(0.5)
        expect("windows", [w for w in s.top_windows() if w != "Quorvel"], [])
        expect("texts after the wheel", control_texts(s, EDIT_ORDER), before)
        for name, content in files.items():
            expect(name, s.read(name), content)


def audit(s, window, labels):
    """Every control of the window that takes the focus has a name, and the
    labels showing are read by their texts."""
    import pyatspi
    root = wait_for(f"the window {window!r} on the bus",
                    lambda: next((w for w in s.find_all() if w.name == window
                                  and w.getRoleName() in ("frame", "dialog")), None))
    unnamed, shown = [], []
    for node in s.nodes(root):
        state = node.getState()
        if not state.contains(pyatspi.STATE_SHOWING):
            continue
        if state.contains(pyatspi.STATE_FOCUSABLE) and not node.name:
            unnamed.append(node.getRoleName())
        if node.getRoleName() == "label":
            shown.append(node.name)
    expect(f"unnamed controls in {window!r}", unnamed, [])
    expect(f"labels of {window!r} as the bus reads them", sorted(shown), sorted(labels))


def case_accessibility(program, _args):
    with started(program) as s:
        audit(s, "Quorvel", [])
        s.menu("f", "e")
        wait_for("the edit note", lambda: s.is_showing(EDIT_NOTE))
        audit(s, "Quorvel", [EDIT_NOTE])

        s.menu("h", "l")
        wait_window(s, "Quorvel Help")
        audit(s, "Quorvel Help", ["Quorvel test help\nConverting, with a comma\nBefore the comma\n"
                                  "after it\n\nLast line\n"])
        s.key("space")
        wait_no_window(s, "Quorvel Help")

        s.menu("h", "r")
        wait_window(s, "Register Quorvel")
        audit(s, "Register Quorvel", [
            "If you like this program and you find it useful,\nsend money, lots of money.\n"
            "Even a buck.\n\nSend comments or questions to:", "Website", "E-Mail", "Snail Mail"])
        s.key("space")
        wait_no_window(s, "Register Quorvel")

        s.menu("h", "a")
        wait_window(s, "About Quorvel")
        audit(s, "About Quorvel", [
            "Quorvel", "Version " + subprocess.run([program, "--version"], capture_output=True,
                                                   text=True).stdout.split()[-1],
            "For quick value conversion to a different standard",
            "Warning:\nThe use of this program is strictly for converting values. All "
            "conversions for precise values should always be double checked for accuracy. "
            "The program author assumes absolutely no responsibility whatsoever for any "
            "errors that may occur."])


def case_package(program, args):
    """Unpacks the .deb into a throw-away root and runs case_installed there."""
    if not args.build_dir:
        raise TestFailure("--build-dir is required")
    for tool in ("cpack", "dpkg-deb", "setpriv"):
        if shutil.which(tool) is None:
            log("SKIPPED: missing", tool)
            return e2elib.SKIP
    work = tempfile.mkdtemp(prefix="quorvel-package-")
    try:
        out = subprocess.run(["cpack", "-G", "DEB", "--config",
                              os.path.join(args.build_dir, "CPackConfig.cmake"), "-B", work],
                             capture_output=True, text=True, timeout=240)
        if out.returncode != 0:
            raise TestFailure("cpack failed:\n" + out.stdout + out.stderr)
        debs = glob.glob(os.path.join(work, "*.deb"))
        expect("packages built", len(debs), 1)
        deb = debs[0]
        fields = {f: subprocess.run(["dpkg-deb", "-f", deb, f], capture_output=True,
                                    text=True).stdout.strip()
                  for f in ("Package", "Version", "Depends", "Maintainer")}
        log("package fields:", fields)
        expect("package name", fields["Package"], "quorvel")
        if "libqt6widgets6" not in fields["Depends"]:
            raise TestFailure(f"Depends lacks libqt6widgets6: {fields['Depends']!r}")

        root = os.path.join(work, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True, timeout=60)
        for path in ("usr/bin/quorvel", "usr/lib/quorvel/quorvel",
                     "usr/lib/quorvel/conversion.txt", "usr/lib/quorvel/Length.txt",
                     "usr/lib/quorvel/help.txt", "usr/share/applications/quorvel.desktop",
                     "usr/share/icons/hicolor/scalable/apps/quorvel.svg",
                     "usr/share/icons/hicolor/64x64/apps/quorvel.png"):
            if not os.path.isfile(os.path.join(root, path)):
                raise TestFailure(f"the package lacks {path}")

        # The next package's tree: the same, with a line end more in the program and help.txt,
        # and its data changed.
        shutil.copytree(root, root + "2", symlinks=True)
        for name in ("quorvel", "help.txt"):
            with open(root + "2/usr/lib/quorvel/" + name, "ab") as f:
                f.write(b"\r\n")
        edit(root + "2/usr/lib/quorvel", NEXT_PACKAGE)
        # The checkout may lie in a folder the ordinary user cannot enter.
        scripts = shutil.copytree(os.path.dirname(os.path.abspath(__file__)), work + "/e2e")
        for tree in (work, root + "/usr/lib/quorvel", root + "2/usr/lib/quorvel"):
            os.chmod(tree, 0o555)  # readable by the ordinary user, and no more
        user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] * (
            os.geteuid() == 0)
        return subprocess.run(user + [e2elib.PYTHON, scripts + "/quorvel_e2e.py", "installed",
                                      "--program", root
                                      + "/usr/bin/quorvel", "--build-dir", root + "2"],
                              env=dict(os.environ, **{e2elib.INNER_FLAG: ""}),
                              timeout=200).returncode
    finally:
        subprocess.run(["chmod", "-R", "u+w", work])
        shutil.rmtree(work, ignore_errors=True)


CABLES, CUBITS = b'"Cables",185.3', b'"Cubits",0.4572'
# (file, record or None, the record in its place or None): the next package's data, corrected
# and new units where the user edits and where not, a new category; and the user's hand edits.
NEXT_PACKAGE = [("Length.txt", b'"Cables",185.2', CABLES), ("Time.txt", None, b'"Ds",1'),
                ("Length.txt", b'"Feet",0.3048', b'"Feet",0.3049'), ("Weight.txt", None, b'"W",1'),
                ("Length.txt", None, CUBITS), ("Time.txt", b'"Days",86400', b'"Days",1'),
                ("conversion.txt", None, b'"Typography"'), ("Typography.txt", None, b'"Pt",1')]
USER_EDITS = [("Length.txt", b'"Feet",0.3048', b'"Feet",0.3047'), ("Mine.txt", None, b'"Mine",1'),
              ("conversion.txt", b'"Weight"', None), ("conversion.txt", None, b'"Mine"')]


def edit(folder, changes):
    for name, old, new in changes:
        path = os.path.join(folder, name)
        data = read_bytes(folder, name) if os.path.exists(path) else b""
        line = new + b"\r\n" if new else b""
        with open(path, "wb") as f:
            f.write(data.replace(old + b"\r\n", line) if old else data + line)


def running_in(proc, lib, folder):
    """Whether proc runs the program of lib on the application folder folder."""
    try:
        exe = os.readlink(f"/proc/{proc.pid}/exe")
        argv = read_bytes(f"/proc/{proc.pid}", "cmdline").split(b"\0")
    except OSError:
        return False
    return exe == os.path.realpath(lib) + "/quorvel" and f"--app-folder={folder}".encode() in argv


def case_installed(launcher, args):
    """The launcher, as an ordinary user: racing first starts under umask 000, an edit kept over
    starts cut short, a second start and the next package (--build-dir), odd homes."""
    launcher2 = args.build_dir + "/usr/bin/quorvel"
    lib, lib2 = (os.path.realpath(p + "/../../lib/quorvel") for p in (launcher, launcher2))
    with e2elib.Session(launcher, install_root=True, env={"XDG_DATA_HOME": ""}) as s:
        s.folder = s.home + "/.local/share/quorvel"
        os.mkdir(s.tmp + "/ro", 0o555)
        os.mkdir(s.tmp + "/noexec")
        s.start_x()
        racers = [subprocess.Popen([launcher], env=dict(s.env, QT_QPA_PLATFORM="offscreen"),
                                   start_new_session=True, umask=0) for _ in range(4)]
        s.procs += racers
        wait_for("the racing starts", lambda: all(running_in(p, lib, s.folder) for p in racers),
                 timeout=60)
        expect("modes of the folders made", {os.stat(s.home + f).st_mode & 0o777 for f in (
            "/.local", "/.local/share", "/.local/share/quorvel")}, {0o700})
        # A noexec home of a private mount, where the machine allows one, with a pipe at help.txt.
        pipe = ('mkdir -p "$HOME/.local/share/quorvel" && '
                'mkfifo "$HOME/.local/share/quorvel/help.txt"')
        ns = ["unshare", "-r", "-m", "--propagation", "private", "sh", "-c",
              f'mount -t tmpfs -o noexec tmpfs "$HOME" && {pipe} && exec unshare --user '
              f'--map-user={os.getuid()} --map-group={os.getgid()} "$0"']
        probe = subprocess.run(ns + ["true"], env=dict(s.env, HOME=s.tmp + "/noexec"),
                               capture_output=True, text=True)
        if probe.returncode:
            log("SKIPPED the noexec home, no private mount here:", probe.stderr.strip())
            ns = ["sh", "-c", pipe + ' && exec "$0"']
        for run, s.env["HOME"] in enumerate((s.home,) * 4 + (s.tmp + "/noexec", s.tmp + "/ro")):
            if run:
                s.menu("f", "x")
                s.wait_exit()
            for delay in (0.002, 0.01, 0.03) * (run == 1):  # starts cut short while filling
                s.exists("conversion.txt") and os.remove(s.folder + "/conversion.txt")
                cut = subprocess.Popen([launcher], env=s.env, start_new_session=True)
                time.sleep(delay)
                e2elib.kill_group(cut, grace=0)
                cut.wait()
            if run == 2:  # the user's edits, then upgrades killed: once Length.txt is merged, ...
                edit(s.folder, USER_EDITS)
                want = {n: set(s.read(n).splitlines()) for n in ("Length.txt", "conversion.txt")}
                os.chmod(s.folder + "/Weight.txt", 0)  # unreadable: no start finishes
                os.chmod(s.home + "/.local", 0o777)  # as earlier launchers left it
                for delay in (None, 0.03, 0.05, 0.07, 0.09, 0.11):  # ... then at times
                    cut = subprocess.Popen([launcher2], env=s.env, start_new_session=True)
                    time.sleep(delay) if delay else wait_for(
                        "the merge", lambda: b"Cubits" in s.read("Length.txt"), interval=.001)
                    e2elib.kill_group(cut, grace=0)
                    cut.wait()
                os.chmod(s.folder + "/Weight.txt", 0o600)
            if run == 1:  # and what an earlier launcher left
                shutil.copy(lib + "/quorvel", s.folder)
                os.mkdir(s.folder + "/.files.new.99999999")
            s.program = ns * (run == 4) + [launcher if run < 2 else launcher2]
            s.start_program()
            expect("upgrade report", "quorvel: upgrade:" in s.program_output(), run == 2)
            if run == 2:  # its box, over the window
                wait_focus(s, "OK")
                s.key("Return")
            wait_focus(s, CATEGORY)
            if run == 2:  # and whole; the next start changes nothing
                added = want["Length.txt"] - {b'"Cables",185.2'} | {CABLES, CUBITS}
                upgraded = {n: s.read(n) for n in ("conversion.txt", "Time.txt", "Weight.txt")}
                expect("replaced", [upgraded[n] == read_bytes(lib2, n) for n in upgraded],
                       [False, True, True])
                expect("categories", set(upgraded["conversion.txt"].splitlines()),
                       want["conversion.txt"] | {b'"Typography"'})
            if run == 3:
                expect("a start after", {n: s.read(n) for n in upgraded}, upgraded)
                expect("~/.local tightened", os.stat(s.home + "/.local").st_mode & 0o777, 0o755)
            if run == 0:
                expect("private folder", {n: s.read(n) for n in os.listdir(s.folder)
                                          if n != ".bundle"},
                       {n: read_bytes(lib, n) for n in os.listdir(lib) if n.endswith(".txt")})
                added = set(s.read("Length.txt").splitlines()) | {b'"Smoots",1.7018'}
                s.menu("f", "e")
                keep_category(s, "Length")
                s.choose("-")
                s.type("Smoots")
                s.key("Return")
                wait_focus(s, VALUE)
                s.type("1.7018")
                s.key("Return")
            wait_for("the unit in the private Length.txt",
                     lambda: set(s.read("Length.txt").splitlines()) == added)
            expect("left behind", [n for n in os.listdir(s.folder) if ".new." in n or os.access(
                s.folder + "/" + n, os.X_OK) and n != ".bundle"], [])
            expect("running", running_in(s.app_proc, lib2 if run >= 2 else lib,
                                         s.env["HOME"] + "/.local/share/quorvel"), run < 5)
            expect("the pipe at help.txt left alone", "left alone" in s.program_output(), run == 4)
        expect("help.txt after the upgrade", s.read("help.txt"), read_bytes(lib2, "help.txt"))
        # Started instead for the read-only home, the installed program says why.
        s.menu("f", "e")
        wait_for("the message", lambda: os.path.realpath(lib2) in (
            s.visible_text_containing("as your home folder is read-only") or ""))
        expect("why", "cannot use the application folder" in s.program_output(), True)
    return 0


CASES = {
    "convert": case_convert,
    "output_menu": case_output_menu,
    "edit_mode": case_edit_mode,
    "help": case_help,
    "exit": case_exit,
    "keyboard_only": case_keyboard_only,
    "marker_arrows": case_marker_arrows,
    "wheel": case_wheel,
    "accessibility": case_accessibility,
    "package": case_package,
    "installed": case_installed,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--program", required=True)
    parser.add_argument("--build-dir")
    parser.add_argument("--timeout", type=float, default=150)
    args = parser.parse_args()

    if os.environ.get(e2elib.INNER_FLAG) != "1":
        return e2elib.run_in_session([os.path.abspath(__file__)] + sys.argv[1:],
                                     timeout=args.timeout)
    start = time.monotonic()
    try:
        result = CASES[args.case](args.program, args)
    except TestFailure as failure:
        log("FAILED:", failure)
        return 1
    log(f"passed in {time.monotonic() - start:.1f} s")
    return result or 0


if __name__ == "__main__":
    sys.exit(main())
