"""Shared helpers for the end-to-end tests and the screenshot script.

A Session starts its own X server (Xvfb), a window manager (openbox), and
the program in an application folder of its own, then drives the program
with real X input (xdotool) and reads what the user sees through the
accessibility bus (AT-SPI). Every wait is bounded by a deadline, and every
process started here is ended by its process group in close().

The AT-SPI parts need a D-Bus session bus shared by this process and the
program: run_in_session() re-runs the calling script inside
dbus-run-session.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
PYTHON = "/usr/bin/python3"  # Debian's, which has python3-pyatspi
INNER_FLAG = "QUORVEL_E2E_IN_SESSION"

REQUIRED_TOOLS = ["Xvfb", "xdotool", "xclip", "openbox", "dbus-run-session"]


class TestFailure(Exception):
    pass


def log(*parts):
    print(*parts, flush=True)


def missing_prerequisites():
    """Names what this machine lacks to run the tests, or returns None."""
    missing = [tool for tool in REQUIRED_TOOLS if shutil.which(tool) is None]
    if missing:
        return "missing programs: " + ", ".join(missing) + " (scripts/deps installs them)"
    probe = subprocess.run([PYTHON, "-c", "import pyatspi"], capture_output=True)
    if probe.returncode != 0:
        return "python3-pyatspi is not importable by " + PYTHON + " (scripts/deps installs it)"
    return None


def run_in_session(argv, timeout):
    """Runs argv inside a private D-Bus session bus; returns its exit code.

    Returns SKIP with a printed reason where the tools are missing.
    """
    if os.environ.get(INNER_FLAG) == "1":
        raise RuntimeError("already inside a session")
    reason = missing_prerequisites()
    if reason:
        log("SKIPPED:", reason)
        return SKIP
    env = dict(os.environ)
    env[INNER_FLAG] = "1"
    # The session must not find the caller's X server or accessibility bus.
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"):
        env.pop(name, None)
    proc = subprocess.Popen(["dbus-run-session", "--", PYTHON] + argv, env=env,
                            start_new_session=True)
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        log("FAILED: the test did not finish within", timeout, "seconds")
        return 1
    finally:
        kill_group(proc)


def kill_group(proc, grace=3.0):
    """Ends a process started with start_new_session, and its children."""
    if proc is None:
        return
    if proc.poll() is not None:
        try:
            os.killpg(proc.pid, signal.SIGKILL)  # children left behind
        except (ProcessLookupError, PermissionError):
            pass
        return
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, grace)):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(timeout=wait)
            break
        except subprocess.TimeoutExpired:
            continue
    try:
        os.killpg(proc.pid, signal.SIGKILL)  # stragglers of the group
    except ProcessLookupError:
        pass


def wait_for(what, probe, timeout=30.0, interval=0.1):
    """Polls probe() until it returns a true value, which it returns."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # a window or object in mid-change
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            raise TestFailure(f"timed out after {timeout} s waiting for {what}{detail}")
        time.sleep(interval)


def write_bytes(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read_bytes(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return f.read()


def records(*lines):
    """File content of records in the program's form: CR LF after each."""
    return b"".join(line.encode("latin-1") + b"\r\n" for line in lines)


OPENBOX_RC = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name></theme>
  <desktops><number>1</number></desktops>
  <applications>
    <application class="*"><decor>{decor}</decor></application>
  </applications>
</openbox_config>
"""


class Session:
    """One X server, window manager and program run, in a folder of its own."""

    def __init__(self, program, data=None, data_dir=None, name="quorvel-e2e",
                 screen="1280x800x24", decorations=False, env=None, install_root=None):
        self.tmp = tempfile.mkdtemp(prefix=name + "-")
        self.procs = []
        self.app = None
        self.app_proc = None
        self.atspi_app = None
        self.program_log = os.path.join(self.tmp, "program.log")
        self.screen = screen
        self.decorations = decorations
        self.extra_env = env or {}
        if install_root:
            # An installed tree: the program and its data are already there.
            self.program = program
            self.folder = os.path.dirname(os.path.realpath(program))
        else:
            self.folder = os.path.join(self.tmp, "app")
            os.mkdir(self.folder)
            self.program = os.path.join(self.folder, "quorvel")
            shutil.copy2(program, self.program)
            if data_dir:
                for entry in os.listdir(data_dir):
                    if entry.endswith(".txt"):
                        shutil.copy2(os.path.join(data_dir, entry), self.folder)
            for file_name, content in (data or {}).items():
                write_bytes(self.folder, file_name, content)
        self.home = os.path.join(self.tmp, "home")
        os.mkdir(self.home)
        self.env = dict(os.environ)
        self.env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_RUNTIME_DIR": self.tmp,
            "LC_ALL": "C.UTF-8",
        })
        os.chmod(self.tmp, 0o700)

    # -- processes ---------------------------------------------------------

    def _spawn(self, argv, **kwargs):
        proc = subprocess.Popen(argv, env=self.env, start_new_session=True,
                                stdin=subprocess.DEVNULL, **kwargs)
        self.procs.append(proc)
        return proc

    def start_x(self):
        read_end, write_end = os.pipe()
        log_file = open(os.path.join(self.tmp, "xvfb.log"), "wb")
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                     "-screen", "0", self.screen, "-noreset"],
                    pass_fds=(write_end,), stdout=log_file, stderr=log_file)
        os.close(write_end)
        display = b""
        deadline = time.monotonic() + 15
        while not display.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([read_end], [], [], max(remaining, 0))
            if not ready:
                os.close(read_end)
                raise TestFailure("Xvfb did not report its display within 15 s")
            chunk = os.read(read_end, 64)
            if not chunk:
                os.close(read_end)
                raise TestFailure("Xvfb ended before reporting its display")
            display += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + display.decode().strip()
        log("X server on display", self.env["DISPLAY"])

        rc_path = os.path.join(self.tmp, "openbox-rc.xml")
        with open(rc_path, "w") as f:
            f.write(OPENBOX_RC.format(decor="yes" if self.decorations else "no"))
        wm_log = open(os.path.join(self.tmp, "openbox.log"), "wb")
        self._spawn(["openbox", "--sm-disable", "--config-file", rc_path],
                    stdout=wm_log, stderr=wm_log)
        # openbox owns the WM_S0 selection once it manages the screen.
        wait_for("the window manager", lambda: self._wm_running())

    def _wm_running(self):
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                             env=self.env, capture_output=True, text=True)
        return "window id" in out.stdout

    def start_program(self, timeout=60):
        env = dict(self.env)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "NO_AT_BRIDGE": "0",
        })
        env.update(self.extra_env)
        out = open(self.program_log, "wb")
        argv = self.program if isinstance(self.program, list) else [self.program]
        self.app_proc = subprocess.Popen(argv, cwd=self.tmp, env=env,
                                         start_new_session=True, stdin=subprocess.DEVNULL,
                                         stdout=out, stderr=out)
        self.procs.append(self.app_proc)
        self.main_window = wait_for("the main window to be mapped",
                                    lambda: self.window_of("Quorvel"), timeout=timeout)
        self.atspi_app = wait_for("the program on the accessibility bus",
                                  self._find_atspi_app, timeout=timeout)

    def program_output(self):
        try:
            with open(self.program_log, "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def close(self):
        for proc in reversed(self.procs):
            kill_group(proc)
        self.procs.clear()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        try:
            if exc[0] is not None:
                out = self.program_output()
                if out.strip():
                    log("--- program output ---\n" + out)
        finally:
            self.close()

    # -- X input -----------------------------------------------------------

    def xdotool(self, *args):
        result = subprocess.run(["xdotool"] + list(args), env=self.env,
                                capture_output=True, text=True, timeout=10)
        return result.stdout

    def key(self, *keys, settle=0.15):
        """Presses keys one after another, as a user would."""
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(settle)

    def type(self, text, settle=0.2):
        if any(ord(c) > 126 for c in text):
            self.paste(text)
        else:
            self.xdotool("type", "--delay", "30", "--clearmodifiers", text)
        time.sleep(settle)

    def paste(self, text):
        """Types non-ASCII text through the clipboard (xdotool mistypes it)."""
        proc = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=self.env,
                                stdin=subprocess.PIPE, start_new_session=True)
        proc.communicate(text.encode("utf-8"), timeout=5)
        self.key("ctrl+v")

    def menu(self, menu_key, item_key):
        """Opens a menu by its access key (Alt+menu_key) and chooses an item."""
        self.key("alt+" + menu_key, settle=0.4)
        self.key(item_key, settle=0.3)

    def choose(self, prefix):
        """Opens the focused list's drop-down and chooses the entry that begins
        with prefix, by keyboard search and Enter."""
        self.key("F4", settle=0.4)
        self.type(prefix, settle=0.2)
        self.key("Return", settle=0.3)

    def wheel(self, name, notches):
        """Turns the mouse wheel over a control, without clicking it: up for
        positive notches, down for negative ones."""
        import pyatspi
        node = self.find(name=name)
        if node is None:
            raise TestFailure(f"no control named {name!r} showing")
        x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.xdotool("mousemove", str(x + width // 2), str(y + height // 2))
        time.sleep(0.2)
        button = "4" if notches > 0 else "5"
        for _ in range(abs(notches)):
            self.xdotool("click", button)
            time.sleep(0.15)

    def clipboard(self):
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                             capture_output=True, timeout=5)
        return out.stdout.decode("utf-8", errors="replace")

    def copy_focused_text(self):
        """Copies the focused text field the way a user would and returns it."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.env,
                       timeout=5)
        self.key("ctrl+a", "ctrl+c", settle=0.2)
        return self.clipboard()

    def windows(self, name=None):
        args = ["search", "--onlyvisible"]
        args += ["--name", "^" + name + "$"] if name else ["--name", "."]
        out = self.xdotool(*args)
        return [w for w in out.split() if w.strip()]

    def window_of(self, name):
        found = self.windows(name)
        return found[0] if found else None

    def active_window_name(self):
        window = self.xdotool("getactivewindow").strip()
        if not window:
            return ""
        return self.xdotool("getwindowname", window).strip()

    # -- what the user sees, through AT-SPI ---------------------------------

    def _find_atspi_app(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None:
                continue
            try:
                if app.get_process_id() == self.app_proc.pid:
                    self._no_cache(app)
                    return app
            except Exception:
                continue
        return None

    @staticmethod
    def _no_cache(acc):
        # Nothing here runs an event loop, so cached values would go stale.
        try:
            from gi.repository import Atspi
            acc.set_cache_mask(Atspi.Cache.NONE)
        except Exception:
            pass
        try:
            acc.clear_cache()
        except Exception:
            pass

    def nodes(self, root=None, limit=3000):
        """All accessible objects of the program, depth first."""
        if root is None:
            root = self.atspi_app
            self._no_cache(root)
        stack = [root]
        seen = 0
        while stack and seen < limit:
            node = stack.pop()
            if node is None:
                continue
            seen += 1
            yield node
            try:
                count = node.childCount
            except Exception:
                continue
            for i in reversed(range(count)):
                try:
                    stack.append(node.getChildAtIndex(i))
                except Exception:
                    continue

    def find(self, name=None, role=None, showing=True, root=None):
        import pyatspi
        for node in self.nodes(root):
            try:
                # Qt names a combo box after its current text, so controls are
                # also found by their description (the tooltip).
                if name is not None and node.name != name and node.description != name:
                    continue
                if role is not None and node.getRoleName() != role:
                    continue
                if showing and not node.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                return node
            except Exception:
                continue
        return None

    def find_all(self, role=None, showing=True):
        import pyatspi
        found = []
        for node in self.nodes():
            try:
                if role is not None and node.getRoleName() != role:
                    continue
                if showing and not node.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                found.append(node)
            except Exception:
                continue
        return found

    def top_windows(self):
        """Names of the program's top-level windows now showing."""
        import pyatspi
        names = []
        app = self.atspi_app
        self._no_cache(app)
        for i in range(app.childCount):
            win = app.getChildAtIndex(i)
            try:
                if win is not None and win.getState().contains(pyatspi.STATE_SHOWING):
                    names.append(win.name)
            except Exception:
                continue
        return names

    @staticmethod
    def text_of(node):
        try:
            text = node.queryText()
            return text.getText(0, text.characterCount)
        except NotImplementedError:
            return node.name

    def field_text(self, name):
        """Text of a text box, or of a combo box's text field, by accessible name."""
        node = self.find(name=name, showing=False)
        if node is None:
            raise TestFailure(f"no control named {name!r}")
        if node.getRoleName() == "combo box":
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is not None and child.getRoleName() in ("text", "entry"):
                    return self.text_of(child)
        return self.text_of(node)

    def is_showing(self, name):
        import pyatspi
        node = self.find(name=name, showing=False)
        return node is not None and node.getState().contains(pyatspi.STATE_SHOWING)

    def has_focus(self, name):
        import pyatspi
        node = self.find(name=name, showing=True)
        if node is None:
            return False
        candidates = [node] + [node.getChildAtIndex(i) for i in range(node.childCount)]
        return any(c is not None and c.getState().contains(pyatspi.STATE_FOCUSED)
                   for c in candidates)

    def visible_text_containing(self, fragment):
        """The first showing label or text whose text contains fragment."""
        for node in self.nodes():
            try:
                role = node.getRoleName()
                if role not in ("label", "text", "static", "paragraph", "alert",
                                "dialog"):
                    continue
                values = [node.name or "", node.description or ""]
                if role in ("text", "paragraph", "label"):
                    values.append(self.text_of(node) or "")
                for value in values:
                    if fragment in value:
                        return value
            except Exception:
                continue
        return None

    # -- the program's folder and process ----------------------------------

    def read(self, file_name):
        return read_bytes(self.folder, file_name)

    def exists(self, file_name):
        return os.path.exists(os.path.join(self.folder, file_name))

    def wait_exit(self, timeout=30):
        try:
            return self.app_proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"the program did not end within {timeout} s")
