"""The program as a user meets it: one TestCase per scenario, run by run_e2e.py."""

import os
import re
import subprocess

from harness import (APP_TITLE, MAIN_TITLE, SENTINEL, TWIPS_PER_PIXEL,
                     E2ETestCase, MessageBox, kill, wait_for)

INPUT_ERROR = "Ошибка ввода!"
SAVE_QUESTION = "Запись результата в файл"
FILE_MENU, HELP_MENU = 0, 1
SAVE_ITEM, PRINT_ITEM = 0, 1
HELP_ITEM, ABOUT_ITEM = 0, -1


def at_column_42(label, value):
    return label + " " * (41 - len(label)) + value


# The report of Run A (welding current 160, everything else at its start value), line by line.
# Labels as the report writes them: Latin I and cm2, Cyrillic А in "(А)".
REPORT_LABELS = [
    ("Напряжение сети               :", 31),
    ("Выходное напряжение           :", 31),
    ("Максимальный сварочный ток    :", 31),
    ("Сечение трансформатора        :", 31),
    ("Материал  I обмотки           :", 31),
    ("Материал II обмотки           :", 31),
    ("Тип сердечника                :", 31),
    ("Макс. индукция сердечника (Тл):", 31),
    ("Габаритная мощность трансформатора (вт):", 40),
    ("Требуемая  мощность трансформатора (вт):", 40),
    ("Количество витков  I обмотки   :", 32),
    ("Количество витков II обмотки   :", 32),
    ("Сечение провода  I обмотки(cm2):", 32),
    ("Сечение провода II обмотки(cm2):", 32),
    ("Максимальный ток I обмотки  (А):", 32),
]
RUN_A_INPUTS = ["220", "65", "160", "84,672", "Медь", "Медь", "Стержневой", "1,42"]
RUN_A_RESULTS = ["10400", "5600", "83", "25", "6", "20", "48,19"]  # Text12 48,19277 as "##.##"
RUN_A_FIELDS = {"Text5": "10400", "Text6": "83", "Text7": "25", "Text8": "6", "Text9": "20",
                "Text11": "5600", "Text12": "48,19277", "Text1": "84,672"}


def run_a_report_lines():
    labelled = [at_column_42(label, value)
                for (label, _), value in zip(REPORT_LABELS, RUN_A_INPUTS + RUN_A_RESULTS)]
    return ([b"", None, b"-" * 32, "Входные данные".encode("cp1251"), b"=" * 51]
            + [line.encode("cp1251") for line in labelled[:8]]
            + [b"", "Расчетные данные".encode("cp1251"), b"=" * 52]
            + [line.encode("cp1251") for line in labelled[8:]]
            + [b"*" * 52, b""])


DATE_LINE = re.compile(
    "Дата: \\d\\d\\.\\d\\d\\.\\d{4}Время: \\d\\d:\\d\\d:\\d\\d".encode("cp1251"))


class ProgramTestCase(E2ETestCase):
    """Steps shared by the scenarios."""

    def type_run_a(self, window):
        window.set_field("Text2", "160")

    def calculate_by_keys(self, window, from_field):
        window.press_by_tab(from_field, "cndCalc")
        self.s.key("space")

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
                        lambda: os.path.exists(path) and _read(path).count(b"\r\n") >= 25 * count
                        and _read(path))

    def assert_run_a_report(self, raw, what):
        for label, length in REPORT_LABELS:
            self.assertEqual(length, len(label), f"the test's own label {label!r}")
        lines = raw.split(b"\r\n")
        self.assertEqual(26, len(lines), f"{what}: 25 lines, each ending in CR LF")
        self.assertEqual(b"", lines[25], f"{what}: nothing after the last CR LF")
        for number, (expected, seen) in enumerate(zip(run_a_report_lines(), lines), start=1):
            if expected is None:
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


def _read(path):
    with open(path, "rb") as handle:
        return handle.read()


class FirstDesign(ProgramTestCase):
    def test_newcomer_calculates_run_a_and_saves_it(self):
        window = self.start_main_window()
        _, _, width, _ = self.s.geometry(window.wid)
        self.assertEqual(round(7830 / TWIPS_PER_PIXEL), width, "client area width")
        self.assertEqual("220", self.selected_after_keys("End", "shift+Home"),
                         "the focus starts in the mains voltage")
        start_values = {"Text4": "220", "Text3": "65", "Text2": "", "Text1": "", "Combo1": "Медь",
                        "Combo2": "Медь", "Combo3": "Стержневой", "Text10": "1,42", "Text5": "",
                        "Text6": "", "Text7": "", "Text8": "", "Text9": "", "Text11": "", "Text12": ""}
        for name, value in start_values.items():
            self.assertEqual(value, window.read_field(name, sync_field="Text4"), f"start value of {name}")

        window.choose_menu_item(FILE_MENU, SAVE_ITEM)
        self.s.key("Escape")
        self.assertEqual("220", window.read_field("Text4", sync_field="Text3"))
        self.assertEqual([], self.s.windows_titled(SAVE_QUESTION), '"Записать на диск" works before a calculation')

        for key, proposal in (("1", "0,5292"), ("6", "8,4672"), ("0", "84,672")):
            window.click_control("Text2")
            self.s.key("End")
            self.s.type(key)
            self.assertEqual(proposal, window.read_field("Text1"), f"core section after typing {key}")
        window.click_control("Text2")
        self.calculate_by_keys(window, "Text2")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        for name, value in RUN_A_FIELDS.items():
            self.assertEqual(value, window.read_field(name), f"result {name}")
        window.save_picture("main-window.png")
        self.assert_no_report()

        self.save_report(window, answer_yes=False)
        first = self.wait_reports(1)
        self.assert_run_a_report(first, "after No")

        self.save_report(window, answer_yes=True)
        both = self.wait_reports(2)
        self.assertEqual(first, both[:len(first)], "Yes keeps the earlier report byte for byte")
        self.assert_run_a_report(both[len(first):], "the appended report")

    def test_run_b_with_options_picked_by_arrow_keys(self):
        window = self.start_main_window()
        for name, entry in (("Combo1", "Алюминий"), ("Combo2", "Алюминий"), ("Combo3", "Тор")):
            window.click_control(name, "Down")
            self.assertEqual(entry, window.read_field(name, sync_field="Text4"), f"{name} after Down")
        window.set_field("Text2", "160")
        window.click_control("cndCalc")
        run_b = {"Text1": "60,48", "Text5": "10400", "Text6": "117", "Text7": "35", "Text8": "10",
                 "Text9": "32", "Text11": "4000", "Text12": "47,86325"}
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        for name, value in run_b.items():
            self.assertEqual(value, window.read_field(name, sync_field="Text4"), f"Run B, {name}")


class Refusals(ProgramTestCase):
    def refuse(self, window, field, text, message):
        """Types text into field (None: it is there already), calculates, expects the refusal."""
        if text is not None:
            window.set_field(field, text)
        self.calculate_by_keys(window, field)
        self.close_box(INPUT_ERROR, message)
        self.assert_no_report()

    def test_each_refusal_shows_its_box_and_keeps_the_results(self):
        window = self.start_main_window()
        self.type_run_a(window)
        self.calculate_by_keys(window, "Text2")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))

        # Output voltage equal to the mains voltage; the focus stays on the button.
        self.refuse(window, "Text3", "220", "Выходное напряжение больше или равно входному!")
        self.s.key("space")
        self.close_box(INPUT_ERROR, "Выходное напряжение больше или равно входному!")
        window.set_field("Text3", "65")

        # Welding current 24: its proposal is emptied after the box.
        window.set_field("Text2", "24")
        self.assertEqual("12,7008", window.read_field("Text1"))
        window.click_control("Text2")
        self.refuse(window, "Text2", None, "Ток сварки слишком мал! Введите другое значение.")
        self.assertEqual("", window.read_field("Text1"), "the core section after a current of 24")
        window.set_field("Text2", "160")

        self.refuse(window, "Text10", "1,9", "Значение Макс. индукции завышено! Исправте значение")
        window.set_field("Text10", "1,42")

        # The box breaks its line with a carriage return; copied out of the box it reads as a line feed.
        self.refuse(window, "Text1", "5", "Сечение сердечника слишком мало! Введите другое значение или "
                    "оставте поле пустым,\nпрограмма сама подставит нужное значение.")
        self.assertEqual("5", window.read_field("Text1"), "the typed core section stays")
        window.set_field("Text1", "84,672")

        # Output 47: after the box the focus is in the output voltage, so typing lands there.
        self.refuse(window, "Text3", "47", "Выходное напряжение мало! Введите другое значение.")
        self.s.key("End", "shift+Home")
        self.s.type("65")
        self.assertEqual("65", window.read_field("Text3"), "typing after the box for an output of 47")
        self.assertEqual("84,672", window.read_field("Text1"))

        # An induction of 0 after a completed run counts as an empty field.
        self.refuse(window, "Text10", "0", "Не все поля заполнены!")
        window.set_field("Text10", "1,42")

        # Everything is back at Run A, and the results of the first run are still there.
        self.save_report(window, answer_yes=False)
        self.assert_run_a_report(self.wait_reports(1), "after the refusals")


class EntryFilter(ProgramTestCase):
    NUMERIC_FIELDS = {"Text4": "220", "Text3": "65", "Text2": "", "Text1": "", "Text10": "1,42"}

    def test_only_digits_and_comma_reach_the_numeric_fields(self):
        window = self.start_main_window()
        for name, start in self.NUMERIC_FIELDS.items():
            self.s.own_selection("clipboard", b"987")
            window.click_control(name, "End")
            self.s.type("a.б- +e")
            self.s.key("ctrl+v", "ctrl+x", "ctrl+z")
            self.assertEqual(start, window.read_field(name), f"{name} after letters, a point and Ctrl+V")
        self.assertEqual("", window.read_field("Text1"), "no proposal without an accepted key")

        window.set_field("Text2", "12,5")
        self.assertEqual("6,615", window.read_field("Text1"), "the proposal for 12,5")
        window.click_control("Text10")
        self.s.key("End", "BackSpace", "Home", "Delete")
        self.s.type("7")
        self.assertEqual("7,4", window.read_field("Text10"), "Backspace, Delete and a digit in 1,42")
        self.s.own_selection("clipboard", b"987")
        window.click_control("Text4", "End", "shift+Home", "shift+Insert")
        self.assertEqual("987", window.read_field("Text4"), "Shift+Insert pastes")

    def test_enter_walks_down_the_tab_order(self):
        window = self.start_main_window()
        window.set_field("Text2", "160")
        window.set_field("Text1", "50")
        window.click_control("Text4")
        for expected in ("65", "160", "50", "Медь"):
            self.s.key("Return")
            self.assertEqual(expected, self.selected_after_keys("End", "shift+Home"),
                             "the field after Enter")
        self.assertEqual("50", window.read_field("Text1"), "Enter in the welding current runs no proposal")
        # Enter in the induction moves to the calculate button, which Space then presses.
        window.click_control("Text10")
        self.s.key("Return", "space")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        # Enter again from the induction: on the calculate button it presses it (100 A × 65 V).
        window.set_field("Text2", "100")
        window.click_control("Text10")
        self.s.key("Return", "Return")
        self.assertEqual("6500", wait_for("the results of Enter",
                                          lambda: (text := window.read_field("Text5")) != "10400" and text))


class SingleCopy(ProgramTestCase):
    def test_second_start_is_refused_and_a_killed_copy_does_not_block(self):
        window = self.start_main_window()
        first = self.s.programs[-1]
        window.set_field("Text2", "160")

        second = self.s.start_program()
        self.close_box(APP_TITLE, "Проект уже запущен!")
        wait_for("the second copy to end", lambda: second.poll() is not None)
        self.assertEqual(1, len(self.s.windows_titled(MAIN_TITLE)), "main windows")
        self.assert_program_alive(first)
        self.s.focus(window.wid, "the first copy")
        self.assertEqual("160", window.read_field("Text2"), "the first copy keeps its typed values")
        self.assertEqual("84,672", window.read_field("Text1"))

        kill(first)
        self.s.wait_window_gone(window.wid, "the killed copy's window")
        again = self.start_main_window()
        self.assertEqual([], self.s.windows_titled(APP_TITLE), "a box after a killed copy")
        self.assertEqual("220", again.read_field("Text4"))


class Printing(ProgramTestCase):
    def completed_jobs(self):
        result = subprocess.run(["lpstat", "-W", "completed", "-o"], capture_output=True, text=True)
        return set(line.split()[0] for line in result.stdout.splitlines() if line.strip())

    def calculated_window(self, **env):
        window = self.start_main_window(**env)
        self.type_run_a(window)
        self.calculate_by_keys(window, "Text2")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        return window

    def test_prints_one_page_on_the_default_queue(self):
        default = subprocess.run(["lpstat", "-d"], capture_output=True, text=True).stdout
        if "system default destination:" not in default:
            self.skipTest(f"no default printer ({default.strip() or 'lpstat said nothing'})")
        queue = default.split(":", 1)[1].strip()
        jobs_before, pdfs_before = self.completed_jobs(), cups_pdf_files()
        window = self.calculated_window()
        window.choose_menu_item(FILE_MENU, PRINT_ITEM)
        new_jobs = wait_for(f"a completed job on {queue}", lambda: self.completed_jobs() - jobs_before, 60)
        self.assertEqual(1, len(new_jobs), f"jobs: {sorted(new_jobs)}")
        if queue_writes_pdf(queue):
            pdfs = wait_for("cups-pdf to write the page",
                            lambda: [path for path, stamp in cups_pdf_files().items()
                                     if pdfs_before.get(path) != stamp and pdf_pages(path)])
            self.assertEqual(1, len(pdfs), f"new PDF files: {pdfs}")
            self.assertEqual(1, pdf_pages(pdfs[0]), f"pages of {pdfs[0]}")
        self.assertEqual("10400", window.read_field("Text5"), "the window after printing")

    def test_without_a_default_printer_a_box_says_so(self):
        window = self.calculated_window(CUPS_SERVER=os.path.join(self.s.tmp, "no-cups.sock"),
                                        PRINTER="", LPDEST="")
        before = {wid for wid, _ in self.s.visible_windows()}
        window.choose_menu_item(FILE_MENU, PRINT_ITEM)
        box = wait_for("a box about the missing printer",
                       lambda: [(wid, name) for wid, name in self.s.visible_windows()
                                if wid not in before and name])
        wid, title = box[0]
        self.s.focus(wid, "the box about the missing printer")
        box = MessageBox(self.s, wid, title, window.wid)
        # Its wording is the program's own; it has to name the printer.
        self.assertIn("принтер", box.text().lower(), f'the box "{title}"')
        box.press("Return")
        self.assert_program_alive(self.s.programs[-1])
        self.assertEqual("10400", window.read_field("Text5"))


# The help file's own title and the headings of the pages for the numbers 0, 3 and 8.
HELP_TITLE = "Тремира — справка"
OVERVIEW_HEADING = "Тремира — расчет сварочного трансформатора"
WELDING_CURRENT_HEADING = "Максимальный ток сварки"
HELP_MENU_HEADING = "Меню «Помощь»"
HELP_HEADING_AT = (0.45, 70)  # fraction of the window's width, pixels from its top
DOUBLE_CLICK_PAUSE = 0.5  # longer than Qt's double-click interval: each try is a fresh triple click

# The About window's controls, in twips of its client area.
ABOUT_TITLE = "About Programm"
ABOUT_LAYOUT = {
    "Label2": (3240, 1320, 1455, 255),
    "Command1": (1920, 1920, 1335, 375),
    "Label5": (3240, 1560, 1695, 255),
}

# cups-pdf writes a job to the submitting user's ~/PDF, or to its spool folder for anonymous jobs.
CUPS_PDF_FOLDERS = [os.path.expanduser("~/PDF"), "/var/spool/cups-pdf/ANONYMOUS"]


def cups_pdf_files():
    files = {}
    for folder in CUPS_PDF_FOLDERS:
        if os.path.isdir(folder):
            for name in os.listdir(folder):
                if name.lower().endswith(".pdf"):
                    path = os.path.join(folder, name)
                    files[path] = os.stat(path).st_mtime_ns
    return files


def queue_writes_pdf(queue):
    device = subprocess.run(["lpstat", "-v", queue], capture_output=True, text=True).stdout
    return "cups-pdf:" in device


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
    match = re.search(r"^Pages:\s+(\d+)$", info.stdout, re.M)
    return int(match.group(1)) if info.returncode == 0 and match else 0


class Help(ProgramTestCase):
    def install_opener(self):
        record = os.path.join(self.s.tmp, "opened.txt")
        opener = os.path.join(self.s.fake_bin, "xdg-open")
        with open(opener, "w") as script:
            script.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$PWD" "$*" >> "{record}"\n')
        os.chmod(opener, 0o755)
        return record

    def page_heading(self, help_window):
        """The first line of the page the help window shows, selected with a triple click."""
        x, y, width, _ = self.s.geometry(help_window)
        self.s.own_selection("primary", SENTINEL)
        self.s.xdo("mousemove", str(x + round(width * HELP_HEADING_AT[0])), str(y + HELP_HEADING_AT[1]),
                   "click", "--repeat", "3", "--delay", "60", "1")
        return wait_for("the help page to select its heading",
                        lambda: self.s.read_selection("primary") not in (None, SENTINEL)
                        and self.s.read_selection("primary")).decode().strip()

    def wait_heading(self, help_window, heading):
        headings = []
        wait_for(lambda: f'the help window to show the topic "{heading}" (seen: {headings[-1:]})',
                 lambda: headings.append(self.page_heading(help_window)) or headings[-1] == heading,
                 interval=DOUBLE_CLICK_PAUSE)

    def test_help_menu_and_f1_open_their_topics(self):
        window = self.start_main_window()
        window.choose_menu_item(HELP_MENU, HELP_ITEM)
        help_window = self.s.wait_window(HELP_TITLE)
        self.assertEqual(OVERVIEW_HEADING, self.page_heading(help_window), "the topic of \"Помощь\"")

        self.s.focus(window.wid, "the main window")
        window.click_control("Text2", "F1")
        self.wait_heading(help_window, WELDING_CURRENT_HEADING)
        self.assertEqual(1, len(self.s.windows_titled(HELP_TITLE)), "help windows")

        # F1 on a highlighted menu item opens that item's topic.
        self.s.focus(window.wid, "the main window")
        about_item = window.open_menu(HELP_MENU, ABOUT_ITEM)
        self.s.xdo("mousemove", *map(str, about_item), "key", "F1")
        self.wait_heading(help_window, HELP_MENU_HEADING)
        self.assert_program_alive(self.s.programs[-1])

    def test_about_window_links_and_ok(self):
        record = self.install_opener()
        window = self.start_main_window()
        window.choose_menu_item(HELP_MENU, ABOUT_ITEM)
        about = self.s.wait_window(ABOUT_TITLE)
        self.s.focus(about, "the About window")
        x, y, width, height = self.s.geometry(about)
        self.assertEqual((335, 158), (width, height), "About client area 5025 x 2370 twips")

        def click(name):
            left, top, w, h = ABOUT_LAYOUT[name]
            self.s.click(x + round((left + w * 0.3) / TWIPS_PER_PIXEL), y + round((top + h / 2) / TWIPS_PER_PIXEL))

        click("Label5")
        web = wait_for("the opener to be started for the web link",
                       lambda: os.path.exists(record) and _read(record).decode().splitlines())
        click("Label2")
        opened = wait_for("the opener to be started for the e-mail link",
                          lambda: len(_read(record).decode().splitlines()) >= 2
                          and _read(record).decode().splitlines())
        self.assertRegex(web[0].split("|", 1)[1], r"^https?://[^ ]+$", "web link")
        folder, mail = opened[1].split("|", 1)
        self.assertRegex(mail, r"^mailto:[^ @]+@[^ ]+$", "e-mail link")
        self.assertEqual(self.s.program_dir, folder, "working folder of the e-mail link")
        click("Command1")
        self.s.wait_window_gone(about, "the About window")
        self.assert_program_alive(self.s.programs[-1])


class BigScreenAndOddInput(ProgramTestCase):
    def test_run_a_at_double_scale(self):
        window = self.start_main_window(scale=2, QT_SCALE_FACTOR="2")
        _, _, width, _ = self.s.geometry(window.wid)
        self.assertEqual(2 * round(7830 / TWIPS_PER_PIXEL), width, "client area width at scale 2")
        self.type_run_a(window)
        window.click_control("cndCalc")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        for name, value in RUN_A_FIELDS.items():
            self.assertEqual(value, window.read_field(name), f"result {name} at scale 2")
        window.save_picture("main-window-scale-2.png")

    def test_megabyte_paste_into_the_welding_current(self):
        window = self.start_main_window()
        megabyte = b"7" * (1 << 20)
        self.s.own_selection("clipboard", megabyte)
        window.click_control("Text2")
        self.s.key("shift+Insert")
        wait_for("the whole megabyte to be read back from the field",
                 lambda: len(window.read_field("Text2")) == len(megabyte), 60)
        window.click_control("cndCalc")
        # A number beyond every range: the overflow box, then its "too small" box, then the focus
        # goes to the core section, so typing lands there.
        self.close_box(APP_TITLE, "Произошла ошибка: 6-", whole=False)
        self.close_box(APP_TITLE, "Введенное значение слишком мало!")
        self.s.key("End", "shift+Home")
        self.s.type("77")
        self.assertEqual("77", window.read_field("Text1"), "typing after the overflow boxes")
        self.assert_program_alive(self.s.programs[-1])


SCENARIOS = {"first_design": FirstDesign, "refusals": Refusals, "entry_filter": EntryFilter,
             "single_copy": SingleCopy, "printing": Printing, "help": Help,
             "big_screen_and_odd_input": BigScreenAndOddInput}
