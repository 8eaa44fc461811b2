"""Drives the real tremira program from outside, under its own X server.

Everything here talks to the program only through the X server (xdotool, xclip, ImageMagick)
and through the files it writes, as a user would meet it: no test hook inside the program.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

MAIN_TITLE = "Расчет сварочного трансформатора"
APP_TITLE = "Тремира"

# What the C++ tests and these scenarios share.
TEST_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tests", "data")

TWIPS_PER_PIXEL = 15
CLIENT_HEIGHT_TWIPS = 3855


def _control_table():
    """Left, top, width, height in twips of each control of the main window, in tab order."""
    with open(os.path.join(TEST_DATA, "form1_controls.tsv"), encoding="utf-8") as table:
        rows = [line.split("\t") for line in table.read().splitlines() if line and not line.startswith("#")]
    return {name: tuple(int(twips) for twips in place) for name, *place in rows}


LAYOUT = _control_table()
TAB_ORDER = list(LAYOUT)

# Menu items of the default (Fusion) style, in pixels at scale 1.
MENU_ITEM_HEIGHT = 22
MENU_TOP_MARGIN = 1

# Pixels from a message box's top to a point in its text, beside the icon.
BOX_TEXT_TOP = 20

SKIP = 77  # ctest's SKIP_RETURN_CODE for the e2e tests
KEY_DELAY_MS = "15"
DEFAULT_TIMEOUT = float(os.environ.get("TREMIRA_E2E_TIMEOUT", "20"))


class WaitTimeout(AssertionError):
    pass


def wait_for(what, condition, timeout=DEFAULT_TIMEOUT, interval=0.05):
    """Polls condition() until it returns something truthy; fails naming what it waited for.

    what may be a function, called at the failure, so that the message can tell what was seen.
    """
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WaitTimeout(f"waited {timeout:g} s for {what() if callable(what) else what}")
        time.sleep(interval)


class XServer:
    """A private Xvfb on a free display, stopped by its PID."""

    def __init__(self, log_dir):
        read_end, write_end = os.pipe()
        self._log = open(os.path.join(log_dir, "xvfb.log"), "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1200x24", "-dpi", "96",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=self._log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        try:
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], DEFAULT_TIMEOUT)
                chunk = os.read(read_end, 16) if ready else b""
                if not chunk:
                    raise WaitTimeout("waited for Xvfb to report its display number")
                number += chunk
        except BaseException:
            self.stop()
            raise
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()


class Session:
    """One X server, one private copy of the program folder, and the tools that act on them."""

    def __init__(self, bin_dir, artifact_dir, name, docs_dir=None):
        self.name = name
        self.docs_dir = docs_dir
        self.artifact_dir = artifact_dir
        os.makedirs(artifact_dir, exist_ok=True)
        self.tmp = tempfile.mkdtemp(prefix=f"tremira-e2e-{name}-")
        self.program_dir = os.path.join(self.tmp, "program")
        os.makedirs(self.program_dir)
        for entry in ("tremira", "tremira-help-reader", "tremira-print.so", "Тремира.chm"):
            source = os.path.join(bin_dir, entry)
            if os.path.exists(source):
                shutil.copy2(source, self.program_dir)
        self.program = os.path.join(self.program_dir, "tremira")
        runtime_dir = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime_dir, 0o700)
        self.fake_bin = os.path.join(self.tmp, "fake-bin")
        os.mkdir(self.fake_bin)
        self.x = XServer(self.tmp)
        # The single-copy lock lives in the runtime folder: a private one keeps tests apart.
        self.env = dict(os.environ, DISPLAY=self.x.display, LANG="C.UTF-8", LC_ALL="C.UTF-8",
                        XDG_RUNTIME_DIR=runtime_dir, TMPDIR=self.tmp, QT_QPA_PLATFORM="xcb",
                        PATH=self.fake_bin + os.pathsep + os.environ.get("PATH", ""))
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                         "WAYLAND_DISPLAY"):
            self.env.pop(variable, None)
        self.programs = []
        self._selection_owners = []
        self._shots = 0

    # ----- processes -------------------------------------------------------------------
    def start_program(self, **extra_env):
        env = dict(self.env, **extra_env)
        index = len(self.programs)
        out = open(os.path.join(self.tmp, f"tremira-{index}.log"), "wb")
        process = subprocess.Popen([self.program], env=env,
                                   cwd=self.tmp, stdout=out, stderr=subprocess.STDOUT)
        out.close()
        self.programs.append(process)
        return process

    def program_log(self, index):
        with open(os.path.join(self.tmp, f"tremira-{index}.log"), "rb") as log:
            return log.read().decode(errors="replace")

    def close(self):
        for process in self.programs + self._selection_owners:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.x.stop()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def run(self, *command, check=True):
        result = subprocess.run(command, env=self.env, capture_output=True, timeout=DEFAULT_TIMEOUT)
        if check and result.returncode != 0:
            raise AssertionError(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
        return result

    def xdo(self, *args, check=True):
        return self.run("xdotool", *args, check=check).stdout.decode().strip()

    # ----- windows ---------------------------------------------------------------------
    def visible_windows(self):
        """(id, title) of every mapped window that has a title."""
        ids = self.xdo("search", "--onlyvisible", "--name", "", check=False).split()
        windows = []
        for wid in ids:
            result = self.run("xdotool", "getwindowname", wid, check=False)
            if result.returncode == 0:
                windows.append((wid, result.stdout.decode().rstrip("\n")))
        return windows

    def windows_titled(self, title):
        return [wid for wid, name in self.visible_windows() if name == title]

    def wait_window(self, title, timeout=DEFAULT_TIMEOUT):
        return wait_for(f'a window titled "{title}" to be mapped',
                        lambda: (self.windows_titled(title) or [None])[0], timeout)

    def wait_window_gone(self, wid, what, timeout=DEFAULT_TIMEOUT):
        wait_for(f"{what} to close",
                 lambda: wid not in [w for w, _ in self.visible_windows()], timeout)

    def focused_window(self):
        return self.xdo("getwindowfocus", "-f", check=False)

    def focus(self, wid, what):
        """Raises a window and gives it the keyboard focus, as a desktop's window manager does.

        The private X server runs no window manager, so the test hands the focus over itself.
        """
        self.xdo("windowraise", wid, "windowfocus", "--sync", wid, check=False)
        wait_for(f"{what} to take the keyboard focus", lambda: self.focused_window() == wid)

    def geometry(self, wid):
        values = dict(line.split("=", 1) for line in self.xdo("getwindowgeometry", "--shell", wid).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    # ----- input -----------------------------------------------------------------------
    def type(self, text):
        self.xdo("type", "--delay", KEY_DELAY_MS, "--", text)

    def key(self, *keys):
        self.xdo("key", "--delay", KEY_DELAY_MS, *keys)

    def click(self, x, y, *then_keys):
        """A left click at a screen point, then keys, in one xdotool run."""
        keys = ["key", "--delay", KEY_DELAY_MS, *then_keys] if then_keys else []
        self.xdo("mousemove", str(x), str(y), "click", "1", *keys)

    # ----- selections --------------------------------------------------------------------
    def own_selection(self, selection, data):
        """Puts data on an X selection, owned by an xclip that ends when the program takes it over."""
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", selection], env=self.env,
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        owner.stdin.write(data)
        owner.stdin.close()
        self._selection_owners.append(owner)
        wait_for(f"xclip to own the {selection} selection",
                 lambda: self.read_selection(selection) == data)

    def read_selection(self, selection):
        result = self.run("xclip", "-o", "-selection", selection, check=False)
        return result.stdout if result.returncode == 0 else None

    # ----- evidence --------------------------------------------------------------------
    def screenshot(self, label, wid="root"):
        self._shots += 1
        path = os.path.join(self.artifact_dir, f"{self.name}-{self._shots:02d}-{label}.png")
        self.run("import", "-window", wid, path, check=False)
        return path

    def save_picture(self, wid, file_name):
        """A picture of a window for the docs, without time stamps so that equal pictures stay equal."""
        if self.docs_dir:
            os.makedirs(self.docs_dir, exist_ok=True)
            self.run("import", "-window", wid, "-define", "png:exclude-chunks=date,time",
                     os.path.join(self.docs_dir, file_name))

    def save_pdf_picture(self, pdf, page, name):
        """One page of a PDF as a picture for the docs, at 80 dots per inch: name.png."""
        if self.docs_dir:
            os.makedirs(self.docs_dir, exist_ok=True)
            self.run("pdftoppm", "-r", "80", "-png", "-f", str(page), "-l", str(page), "-singlefile", pdf,
                     os.path.join(self.docs_dir, name))


SENTINEL = b"\x01tremira-e2e-nothing\x01"


class MainWindow:
    """The main window of one running program, addressed by control names and twips."""

    def __init__(self, session, wid, scale=1):
        self.s = session
        self.wid = wid
        self.scale = scale
        self._origin = None

    def client_origin(self):
        """Top left corner of the client area and the menu bar's height (nothing moves the window)."""
        if self._origin is None:
            x, y, _, height = self.s.geometry(self.wid)
            # The client area lies below the menu bar, which takes the rest of the window's height.
            client_height = round(CLIENT_HEIGHT_TWIPS / TWIPS_PER_PIXEL * self.scale)
            self._origin = x, y + height - client_height, height - client_height
        return self._origin

    def point(self, left, top, width, height, dx=0.5, dy=0.5):
        x, y, _ = self.client_origin()
        return (x + round((left + width * dx) / TWIPS_PER_PIXEL * self.scale),
                y + round((top + height * dy) / TWIPS_PER_PIXEL * self.scale))

    def click_control(self, name, *then_keys):
        # Left part of a field: an editable option list opens its list only on its arrow.
        dx = 0.3 if name.startswith("Combo") else 0.5
        self.s.click(*self.point(*LAYOUT[name], dx=dx), *then_keys)

    def set_field(self, name, text):
        """Clicks the field, selects its whole text and types the new one over it."""
        self.click_control(name, "End", "shift+Home")
        if text:
            self.s.type(text)
        else:
            self.s.key("BackSpace")

    def read_field(self, name, sync_field="Combo3"):
        """The text of a field as the program holds it, copied out with Ctrl+Insert.

        Ctrl+Insert copies nothing from an empty field, so the clipboard keeps a sentinel; selecting
        the (never empty) sync field afterwards sets the primary selection, which tells that the
        program has handled the keys of the field before it.
        """
        self.s.own_selection("clipboard", SENTINEL)
        self.s.own_selection("primary", SENTINEL)
        field_x, field_y = self.point(*LAYOUT[name], dx=0.3)
        sync_x, sync_y = self.point(*LAYOUT[sync_field], dx=0.3)
        self.s.xdo("mousemove", str(field_x), str(field_y), "click", "1",
                   "key", "--delay", KEY_DELAY_MS, "Home", "shift+End", "ctrl+Insert",
                   "mousemove", str(sync_x), str(sync_y), "click", "1",
                   "key", "--delay", KEY_DELAY_MS, "Home", "shift+End")
        wait_for(f"the program to select the text of {sync_field}",
                 lambda: self.s.read_selection("primary") not in (None, SENTINEL))
        copied = self.s.read_selection("clipboard")
        return "" if copied == SENTINEL else copied.decode()

    def save_picture(self, file_name):
        """A picture for the docs: the maximum current shown from its first digit, the focus in Text4."""
        self.click_control("Text12", "Home")
        self.click_control("Text4", "End")
        self.s.save_picture(self.wid, file_name)

    def press_by_tab(self, start, target):
        """Moves the focus from start to target with Tab, as a keyboard user does."""
        steps = (TAB_ORDER.index(target) - TAB_ORDER.index(start)) % len(TAB_ORDER)
        if steps:
            self.s.key(*["Tab"] * steps)

    def menu_bar_point(self, menu_index):
        """Menu titles: "Файл" first, "Помощь" second."""
        x, y, menu_height = self.client_origin()
        return x + round((20 + 50 * menu_index) * self.scale), y - menu_height // 2

    def choose_menu_item(self, menu_index, row):
        """Opens a menu with the mouse and clicks an item: row 0, 1... from the top, -1 the last one."""
        self.s.click(*self.open_menu(menu_index, row))

    def open_menu(self, menu_index, row):
        """Opens a menu with the mouse; returns the screen point of an item (see choose_menu_item).

        Rows are counted from the nearer end so that no separator lies between the end and the item.
        """
        before = {w for w, _ in self.s.visible_windows()}
        self.s.click(*self.menu_bar_point(menu_index))
        popup = wait_for("the menu to open", lambda: self._new_popup(before))
        px, py, pw, ph = self.s.geometry(popup)
        item_height = round(MENU_ITEM_HEIGHT * self.scale)
        margin = round(MENU_TOP_MARGIN * self.scale)
        if row >= 0:
            return px + pw // 2, py + margin + item_height * row + item_height // 2
        return px + pw // 2, py + ph - margin + item_height * row + item_height // 2

    def _new_popup(self, before):
        """A window of the program that opened just below the menu bar (not a tooltip elsewhere)."""
        _, client_top, _ = self.client_origin()
        ids = self.s.xdo("search", "--onlyvisible", "--pid", str(self.s.programs[-1].pid),
                         "--name", "", check=False).split()
        for wid in ids:
            if wid not in before and wid != self.wid:
                if abs(self.s.geometry(wid)[1] - client_top) <= 4 * self.scale:
                    return wid
        return None


class MessageBox:
    """A message box of the program: its title from X, its text copied out of its label."""

    def __init__(self, session, wid, title, return_to):
        self.s = session
        self.wid = wid
        self.title = title
        self.return_to = return_to

    @classmethod
    def wait(cls, session, title):
        return_to = session.focused_window()
        wid = session.wait_window(title)
        session.focus(wid, f'the box "{title}"')
        return cls(session, wid, title, return_to)

    def text(self):
        """The box's text, copied as a user copies it: a click into the text, Ctrl+A, Ctrl+C.

        The click gives the text the focus, so a box that is to be answered with another key than
        Enter (its default button) should be answered without reading its text first. The copy
        turns a line break inside the text into a line feed, whatever character made it.
        """
        x, y, width, _ = self.s.geometry(self.wid)
        self.s.own_selection("clipboard", SENTINEL)
        self.s.click(x + width // 2, y + BOX_TEXT_TOP, "ctrl+a", "ctrl+c")
        copied = wait_for(f'the box "{self.title}" to copy its text',
                          lambda: self.s.read_selection("clipboard") not in (None, SENTINEL)
                          and self.s.read_selection("clipboard"))
        return copied.decode()

    def press(self, *keys):
        self.s.key(*keys)
        self.s.wait_window_gone(self.wid, f'the box "{self.title}"')
        if self.return_to in (wid for wid, _ in self.s.visible_windows()):
            self.s.focus(self.return_to, "the window under the box")


class E2ETestCase(unittest.TestCase):
    """Gives every test its own session and keeps a screenshot when the test fails."""

    bin_dir = None
    artifact_dir = None
    docs_dir = None

    def setUp(self):
        self.s = Session(self.bin_dir, self.artifact_dir, self.id().rsplit(".", 1)[-1], self.docs_dir)
        self.addCleanup(self.s.close)
        self._problems_before = self._problem_count()
        self.addCleanup(self._keep_evidence_of_failure)

    def _problem_count(self):
        result = self._outcome.result
        return len(result.failures) + len(result.errors)

    def _keep_evidence_of_failure(self):
        if self._problem_count() == self._problems_before:
            return
        print(f"screenshot of the failure: {self.s.screenshot('failure')}", flush=True)
        for index in range(len(self.s.programs)):
            print(f"--- output of program start {index} ---\n{self.s.program_log(index)}", flush=True)

    # ----- common steps ------------------------------------------------------------------
    def start_main_window(self, scale=1, **extra_env):
        self.s.start_program(**extra_env)
        wid = self.s.wait_window(MAIN_TITLE)
        self.s.focus(wid, "the main window")
        return MainWindow(self.s, wid, scale)

    def report_path(self):
        return os.path.join(self.s.program_dir, "report.txt")

    def assert_program_alive(self, process):
        self.assertIsNone(process.poll(), "the program ended")


def kill(process):
    os.kill(process.pid, signal.SIGKILL)
    process.wait()
