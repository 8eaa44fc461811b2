"""The winding plan page of the check window: the leg, taps and a second mains voltage typed by
keyboard, the answers read back, and the workshop sheet saved where the report goes."""

import os

from design_check import CHECK_ITEM, CHECK_TITLE, SERVICE_MENU
from harness import SENTINEL, wait_for
from steps import ProgramTestCase

SHEET_DIALOG_TITLE = "Сохранить лист"
# Latin letters only: xdotool types each letter outside the keyboard's layout through a key it
# remaps for the moment, and a program busy redrawing can read the next letter's mapping.
DESIGN_NAME = "TDM-160 (2026)"
# The sheet's tables as rows of cells, from the first, each row on one line of `pdftotext -layout`: the main
# window's design, the check, the plan's inputs, wire, mains and taps, the welding page's taps.
SHEET_ROWS = (
    ("Витки I обмотки", "83"),
    ("Габаритная мощность (Вт)", "10400"),
    ("Ширина окна (мм)", "50"),
    ("Второе напряжение сети (В)", "380"),
    ("Сечение по сторонам S₀ (см²)", "84,7"),
    ("Витки до второго напряжения", "143"),
    ("Автомат (А)", "50"),
)
# The taps' tables, headers and the first tap: the plan's, and the welding page's with the choke.
TAP_ROWS = (
    ("Витки", "U хх (В)", "B (Тл)"),
    ("108", "50,9", "1,14"),
    ("Витки", "Ток (А)", "U дуги (В)", "Ток КЗ (А)"),
)
# The windings table's row of winding II, a bundle of three strands: turns, wire, section, the
# length of each strand and of all three, the metres to buy, mass, resistance, turns per layer
# and layers.
WINDING_ROWS = (("II: 1–25", "3 × 3,00", "20", "17,2", "51,6", "57 (3 × 19)", "3,36", "0,015", "6", "5"),)


class WindingPlan(ProgramTestCase):
    def test_plans_run_a_with_four_taps_and_380_volts_and_saves_the_sheet(self):
        window = self.calculated_window()
        window.choose_menu_item(SERVICE_MENU, CHECK_ITEM)
        check = self.s.wait_window(CHECK_TITLE)

        # The core window is typed once, on the check page; Ctrl+Tab turns to the plan, whose
        # typed fields and then the windings and taps tables Tab passes in turn up to "Копировать".
        self.s.type("50")
        self.s.key("Tab")
        self.s.type("60")
        self.s.key("ctrl+Tab")
        for text in ("70", "121", "4", "50", "380"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.key("Tab", "Tab")
        self.s.own_selection("clipboard", SENTINEL)
        self.s.key("space")
        summary = wait_for("the plan on the clipboard",
                           lambda: self.s.read_selection("clipboard") not in (None, SENTINEL)
                           and self.s.read_selection("clipboard")).decode()
        plan_lines = ("Сечение по сторонам S₀ (см²): 84,7", "Витки до второго напряжения: 143", "Автомат (А): 50")
        for line in plan_lines + ("Ширина окна (мм): 50", "1. Витки 108, U хх (В) 50,9, B (Тл) 1,14"):
            self.assertIn(f"\n{line}\n", summary, "the plan's summary")
        self.s.save_picture(check, "winding_plan.png")  # the user guide's picture of the plan

        # The design's name is typed beside "Сохранить лист…", which offers "лист.pdf" in the
        # report's folder, here the program's own.
        self.s.key("Tab")
        self.s.type(DESIGN_NAME)
        self.s.key("Tab", "space")
        self.s.wait_window(SHEET_DIALOG_TITLE)
        self.s.key("Return")
        sheet = os.path.join(self.s.program_dir, "лист.pdf")
        wait_for("the sheet", lambda: os.path.exists(sheet) and os.path.getsize(sheet) > 0)
        pages = self.assert_sheet(sheet)
        # The user guide's pictures of the sheet: its first two pages and the drawings' page.
        drawings = next(i for i, page in enumerate(pages, 1) if "Схема соединений" in page)
        for page, name in ((1, "sheet-1"), (2, "sheet-2"), (drawings, "sheet-drawings")):
            self.s.save_pdf_picture(sheet, page, name)
        self.s.focus(check, "the check window")
        self.s.key("Escape")
        self.s.wait_window_gone(check, "the check window")

    def assert_sheet(self, sheet):
        """The sheet's checks; gives its pages' text."""
        text = self.sheet_text(sheet)
        pages = [page for page in text.split("\f") if page.strip()]
        self.assertEqual(text.split("\n", 1)[0], DESIGN_NAME, "the design's name heads the sheet")
        self.assertRegex(text, r"Сохранён: \S+ \S+\. Версия программы: \d+\.\d+\.\d+\n")
        self.assertIn("Исходные данные: сеть 220 В, напряжение сварки 65 В, ток сварки 160 А", text)
        for index, page in enumerate(pages, 1):
            self.assertIn(f"стр. {index} из {len(pages)}", page, "the page's number")
        self.assert_table_rows(text, SHEET_ROWS + TAP_ROWS + WINDING_ROWS)
        for caption in (CHECK_TITLE, "Порядок работы", "Сердечник и обмотки", "Схема соединений", "окно 50 × 60 мм"):
            self.assertIn(caption, text, "the sheet's text")
        self.assertNotIn("не задано", text, "the rows nobody gave")
        return pages
