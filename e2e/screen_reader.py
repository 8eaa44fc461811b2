"""What a screen reader finds: the controls of the main, About and check windows read through
AT-SPI, on a private session bus of the test's own."""

import importlib.util
import os
import subprocess
import unicodedata
import unittest

from design_check import CHECK_TITLE
from harness import DEFAULT_TIMEOUT, MAIN_TITLE, wait_for
from help_and_about import ABOUT_TITLE
from steps import ProgramTestCase

AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
DRAWING_NAME = "Чертёж намотки"
HAVE_PYATSPI = importlib.util.find_spec("pyatspi") is not None


class AccessibilityBus:
    """A D-Bus session bus of its own with the AT-SPI bus launcher in it; the launcher's bus
    starts the AT-SPI registry when the first client asks for it."""

    def __init__(self, env, log_dir):
        self._log = open(os.path.join(log_dir, "dbus.log"), "wb")
        self.daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                       env=env, stdout=subprocess.PIPE, stderr=self._log)
        self.address = self.daemon.stdout.readline().decode().strip()
        self.env = dict(env, DBUS_SESSION_BUS_ADDRESS=self.address)
        self.launcher = subprocess.Popen([AT_SPI_BUS_LAUNCHER, "--launch-immediately"], env=self.env,
                                         stdout=self._log, stderr=subprocess.STDOUT)
        wait_for("the AT-SPI bus launcher to give its bus address", self._accessibility_bus_address)

    def _accessibility_bus_address(self):
        result = subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                env=self.env, capture_output=True, timeout=DEFAULT_TIMEOUT)
        return result.returncode == 0 and b"unix:" in result.stdout

    def stop(self):
        for process in (self.launcher, self.daemon):
            if process.poll() is None:
                process.terminate()
                process.wait(10)
        self._log.close()


def cyrillic_only(text):
    return all("CYRILLIC" in unicodedata.name(c) for c in text if c.isalpha())


@unittest.skipUnless(HAVE_PYATSPI, "python3-pyatspi is not installed")
class ScreenReader(ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.bus = AccessibilityBus(self.s.env, self.s.tmp)
        self.addCleanup(self.bus.stop)
        # This process reads the tree as a screen reader does, through the same bus.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY"):
            os.environ[name] = self.bus.env[name]
        import pyatspi  # pylint: disable=import-outside-toplevel
        self.atspi = pyatspi

    # ----- the tree ------------------------------------------------------------------------
    def frame(self, title):
        """The program's top-level window of that title, as AT-SPI lists it."""
        pid = self.s.programs[-1].pid

        def find():
            desktop = self.atspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.get_process_id() == pid:
                    for window in app:
                        if window is not None and window.name == title:
                            return window
            return None
        return wait_for(f'AT-SPI to list the window "{title}"', find)

    def controls(self, frame):
        """Every visible control below the window, the drop-down lists of option lists aside."""
        found = []
        stack = [frame]
        while stack:
            node = stack.pop()
            for child in node:
                if child is None or not child.getState().contains(self.atspi.STATE_VISIBLE):
                    continue
                found.append(child)
                stack.append(child)
        return found

    def label_of(self, control):
        for relation in control.getRelationSet():
            if relation.getRelationType() == self.atspi.RELATION_LABELLED_BY:
                return relation.getTarget(0)
        return None

    def value(self, control):
        try:
            return control.queryText().getText(0, -1)
        except NotImplementedError:
            return None

    def of_role(self, controls, role):
        return [c for c in controls if c.getRole() == role]

    def assert_fields_named_by_labels(self, controls, what):
        """Each labelled field bears its label's caption as its name; returns how many there are."""
        labelled = 0
        for field in self.of_role(controls, self.atspi.ROLE_TEXT):
            label = self.label_of(field)
            parent = field.parent
            if label is not None:
                self.assertEqual(label.name, field.name, f"{what}: name of the field labelled {label.name!r}")
                labelled += 1
            elif parent.getRole() == self.atspi.ROLE_COMBO_BOX:
                self.assertEqual(parent.name, field.name, f"{what}: text part of {parent.name!r}")
        return labelled

    def assert_descriptions_add_to_names(self, controls, what):
        for control in self.of_role(controls, self.atspi.ROLE_TEXT) + self.of_role(controls,
                                                                                  self.atspi.ROLE_COMBO_BOX):
            description = control.description
            if description:
                self.assertNotEqual(control.name, description, f"{what}: description of {control.name!r}")
                self.assertNotEqual(self.value(control), description, f"{what}: description of {control.name!r}")

    # ----- the windows -----------------------------------------------------------------------
    def check_main_window(self):
        controls = self.controls(self.frame(MAIN_TITLE))
        fields = self.of_role(controls, self.atspi.ROLE_TEXT)
        lists = self.of_role(controls, self.atspi.ROLE_COMBO_BOX)
        self.assertEqual(12, self.assert_fields_named_by_labels(controls, "main window"), "labelled fields")
        self.assertEqual(12 + 3, len(fields), "text fields: twelve, and the text parts of three option lists")
        self.assertEqual(3, len(lists), "option lists")
        for option_list in lists:
            label = self.label_of(option_list)
            self.assertIsNotNone(label, f"the label of the option list {option_list.name!r}")
            self.assertEqual(label.name, option_list.name, "an option list is named by its label")
        self.assertEqual(["Медь", "Медь", "Стержневой"], sorted(self.value(c.getChildAtIndex(1)) for c in lists),
                         "the entries as the option lists' text")
        self.assert_descriptions_add_to_names(controls, "main window")
        buttons = {b.name for b in self.of_role(controls, self.atspi.ROLE_PUSH_BUTTON)}
        self.assertEqual({"Рассчитать", "Выход"}, buttons, "buttons")
        self.assertTrue(all(cyrillic_only(name) for name in buttons), "button names in Cyrillic letters")
        menu_bars = self.of_role(controls, self.atspi.ROLE_MENU_BAR)
        self.assertEqual(1, len(menu_bars), "menu bars")
        self.assertEqual([("menu item", "Файл"), ("menu item", "Помощь"), ("menu item", "Сервис")],
                         [(m.getRoleName(), m.name) for m in menu_bars[0]], "menu titles")
        for label in self.of_role(controls, self.atspi.ROLE_LABEL):
            self.assertTrue(label.name.strip(), "every label reads its caption")

    def check_about_window(self):
        controls = self.controls(self.frame(ABOUT_TITLE))
        self.assertEqual(["OK"], [b.name for b in self.of_role(controls, self.atspi.ROLE_PUSH_BUTTON)])
        labels = self.of_role(controls, self.atspi.ROLE_LABEL)
        self.assertEqual(5, len(labels), "the about text, two captions and two links")
        for label in labels:
            self.assertTrue(label.name.strip(), "every label reads its text")
        focusable = {c.name for c in controls if c.getState().contains(self.atspi.STATE_FOCUSABLE)}
        self.assertEqual({"OK", "a@example.org", "www.example.org"}, focusable, "what Tab reaches")

    def check_check_window(self):
        controls = self.controls(self.frame(CHECK_TITLE))
        self.assertGreater(self.assert_fields_named_by_labels(controls, "check window"), 0, "labelled fields")
        for control in controls:
            # A cell is read with its column's header; a tap without a note has an empty one.
            if control.getState().contains(self.atspi.STATE_FOCUSABLE) and control.getRole() != self.atspi.ROLE_TABLE_CELL:
                self.assertTrue(control.name.strip(), f"a {control.getRoleName()} without a name")
        return controls

    def answers(self, controls):
        """The answers as a screen reader meets them: each its caption and what it reads."""
        found = {}
        for label in self.of_role(controls, self.atspi.ROLE_LABEL):
            caption = self.label_of(label)
            if caption is not None:
                found[caption.name] = label.name
            if label.description:
                self.assertNotEqual(label.name, label.description, f"the description of {label.name!r} repeats it")
        return found

    def check_plan_page(self):
        """Run A's plan with four taps from 50 V and 380 V: answers, verdicts, the drawing, the taps."""
        controls = self.check_check_window()
        answers = self.answers(controls)
        self.assertEqual("84,7", answers.get("Сечение по сторонам S₀ (см²)"), "an answer read with its caption")
        self.assertEqual("143", answers.get("Витки до второго напряжения"), "an answer read with its caption")
        verdicts = [c.name for c in self.of_role(controls, self.atspi.ROLE_LABEL) if c.name.startswith("Окно:")]
        self.assertEqual(["Окно: не помещается"], verdicts, "a verdict is read with its answer")
        drawings = [c for c in controls if c.name == DRAWING_NAME]
        self.assertEqual(1, len(drawings), "the drawing in the tree")
        self.assertIn("не помещается", drawings[0].description, "the drawing's description says the verdict")
        tables = {t.name: t for t in self.of_role(controls, self.atspi.ROLE_TABLE)}
        self.assertEqual({"Провод", "Отводы I обмотки"}, set(tables), "the windings and taps tables")
        windings = tables["Провод"].queryTable()
        self.assertEqual("II: 1–25", windings.getAccessibleAt(windings.nRows - 1, 0).name, "winding II's row")
        table = tables["Отводы I обмотки"].queryTable()
        self.assertEqual(4, table.nRows, "four taps")
        self.assertEqual(["108", "50,9", "1,14"], [table.getAccessibleAt(0, c).name for c in range(3)],
                         "the first tap, cell by cell")

    def test_every_control_bears_its_label_as_name(self):
        window = self.calculated_window(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                        DBUS_SESSION_BUS_ADDRESS=self.bus.address)
        self.check_main_window()

        # "Помощь" → "О программе" from the keyboard: F10, one menu right, down to the last item.
        self.s.key("F10", "Right", "Down", "Down", "Return")
        about = self.s.wait_window(ABOUT_TITLE)
        self.check_about_window()
        self.s.focus(about, "the About window")
        self.s.key("Escape")
        self.s.wait_window_gone(about, "the About window")

        self.s.focus(window.wid, "the main window")
        self.s.key("F10", "Right", "Right", "Down", "Return")
        check = self.s.wait_window(CHECK_TITLE)
        self.check_check_window()
        self.s.focus(check, "the check window")
        for text in ("50", "60"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.key("ctrl+Tab")
        for text in ("70", "121", "4", "50", "380"):
            self.s.type(text)
            self.s.key("Tab")
        wait_for("the plan's answers", lambda: "Окно: не помещается" in
                 [c.name for c in self.controls(self.frame(CHECK_TITLE))])
        self.check_plan_page()
        self.assert_program_alive(self.s.programs[-1])
