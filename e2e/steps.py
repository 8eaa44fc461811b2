"""What the scenarios share: menu places, Run A, and the steps a user takes in every scenario."""

import os
import re
import subprocess

from harness import SENTINEL, TEST_DATA, E2ETestCase, MessageBox, wait_for

SAVE_QUESTION = "Запись результата в файл"
FILE_MENU, HELP_MENU = 0, 1
SAVE_ITEM, PRINT_ITEM = 0, 1
HELP_ITEM, ABOUT_ITEM = 0, -1

# The result fields of Run A (welding current 160, everything else at its start value).
RUN_A_FIELDS = {"Text5": "10400", "Text6": "83", "Text7": "25", "Text8": "6", "Text9": "20",
                "Text11": "5600", "Text12": "48,19277", "Text1": "84,672"}

# Run A's report file, byte for byte, with a fixed date and time on its second line.
RUN_A_REPORT = os.path.join(TEST_DATA, "run_a_report.txt")
DATE_LINE_NUMBER = 2
DATE_LINE = re.compile(
    "Дата: \\d\\d\\.\\d\\d\\.\\d{4}Время: \\d\\d:\\d\\d:\\d\\d".encode("cp1251"))

HELP_HEADING_AT = (0.45, 70)  # fraction of the help window's width, pixels from its top
DOUBLE_CLICK_PAUSE = 0.5  # longer than Qt's double-click interval: each try is a fresh triple click


class ProgramTestCase(E2ETestCase):
    """Steps shared by the scenarios."""

    def type_run_a(self, window):
        window.set_field("Text2", "160")

    def calculate_by_keys(self, window, from_field):
        window.press_by_tab(from_field, "cndCalc")
        self.s.key("space")

    def calculated_window(self, **env):
        """A main window that has calculated Run A."""
        window = self.start_main_window(**env)
        self.type_run_a(window)
        self.calculate_by_keys(window, "Text2")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        return window

    def save_report(self, window, answer_yes):
        window.choose_menu_item(FILE_MENU, SAVE_ITEM)
        if answer_yes:
            self.close_box(SAVE_QUESTION, "Добавить результат в файл(Да) или записать как новый(Нет)?")
        else:
            # Yes has the focus as the default button; Tab moves to No, the only other button.
            MessageBox.wait(self.s, SAVE_QUESTION).press("Tab", "space")

    def close_box(self, title, text, whole=True):
        """Waits for the box titled title, checks its text (whole, or how it begins), presses Enter."""
        box = MessageBox.wait(self.s, title)
        seen = box.text()
        if whole:
            self.assertEqual(text, seen, f'text of the box "{title}"')
        else:
            self.assertEqual(text, seen[:len(text)], f'beginning of the box "{title}"')
        box.press("Return")

    def wait_reports(self, count):
        path = self.report_path()
        return wait_for(f"report.txt to hold {count} report(s) of 25 lines",
                        lambda: os.path.exists(path) and read_bytes(path).count(b"\r\n") >= 25 * count
                        and read_bytes(path))

    def assert_run_a_report(self, raw, what):
        lines = raw.split(b"\r\n")
        self.assertEqual(26, len(lines), f"{what}: 25 lines, each ending in CR LF")
        self.assertEqual(b"", lines[25], f"{what}: nothing after the last CR LF")
        for number, (expected, seen) in enumerate(zip(read_bytes(RUN_A_REPORT).split(b"\r\n"), lines), start=1):
            if number == DATE_LINE_NUMBER:
                self.assertTrue(DATE_LINE.fullmatch(seen), f"{what}, line {number}: {seen!r}")
            else:
                self.assertEqual(expected.decode("cp1251"), seen.decode("cp1251", "replace"),
                                 f"{what}, line {number}")
                self.assertEqual(expected, seen, f"{what}, line {number}: Windows-1251 bytes")

    def assert_no_report(self):
        self.assertFalse(os.path.exists(self.report_path()), "report.txt written behind the user's back")

    def selected_after_keys(self, *keys):
        """Text that the focused field selects after keys: which field has the focus, and its text."""
        self.s.own_selection("primary", SENTINEL)
        self.s.key(*keys)
        return wait_for("the focused field to select its text",
                        lambda: self.s.read_selection("primary") not in (None, SENTINEL)
                        and self.s.read_selection("primary")).decode()

    def page_heading(self, help_window):
        """The first line of the page the help window shows, selected with a triple click."""
        x, y, width, _ = self.s.geometry(help_window)
        self.s.own_selection("primary", SENTINEL)
        self.s.xdo("mousemove", str(x + round(width * HELP_HEADING_AT[0])), str(y + HELP_HEADING_AT[1]),
                   "click", "--repeat", "3", "--delay", "60", "1")
        return wait_for("the help page to select its heading",
                        lambda: self.s.read_selection("primary") not in (None, SENTINEL)
                        and self.s.read_selection("primary")).decode().strip()

    def sheet_text(self, sheet):
        """The saved sheet's text, its tables' rows each on a line of its own."""
        return subprocess.run(["pdftotext", "-layout", sheet, "-"], check=True, capture_output=True).stdout.decode()

    def assert_table_rows(self, text, rows):
        """Each row's cells in order on one line, a column's gap apart; each cell ends at a gap or
        at the end of the line."""
        for cells in rows:
            self.assertRegex(text, r" {2,}".join(map(re.escape, cells)) + r"(?: {2,}|\s*\n)", "a row of a table")

    def wait_heading(self, help_window, heading):
        headings = []
        wait_for(lambda: f'the help window to show the topic "{heading}" (seen: {headings[-1:]})',
                 lambda: headings.append(self.page_heading(help_window)) or headings[-1] == heading,
                 interval=DOUBLE_CLICK_PAUSE)


def read_bytes(path):
    with open(path, "rb") as handle:
        return handle.read()
