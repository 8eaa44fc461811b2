"""The winding plan page of the check window: the leg, taps and a second mains voltage typed by
keyboard, the answers read back, and the workshop sheet saved where the report goes."""

import os
import subprocess

from design_check import CHECK_ITEM, CHECK_TITLE, SERVICE_MENU
from harness import SENTINEL, wait_for
from steps import ProgramTestCase

SHEET_DIALOG_TITLE = "Сохранить лист"


class WindingPlan(ProgramTestCase):
    def test_plans_run_a_with_four_taps_and_380_volts_and_saves_the_sheet(self):
        window = self.calculated_window()
        window.choose_menu_item(SERVICE_MENU, CHECK_ITEM)
        check = self.s.wait_window(CHECK_TITLE)

        # The core window is typed once, on the check page; Ctrl+Tab turns to the plan, whose
        # typed fields and then the taps table Tab passes in turn up to "Копировать".
        self.s.type("50")
        self.s.key("Tab")
        self.s.type("60")
        self.s.key("ctrl+Tab")
        for text in ("70", "121", "4", "50", "380"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.key("Tab")
        self.s.own_selection("clipboard", SENTINEL)
        self.s.key("space")
        summary = wait_for("the plan on the clipboard",
                           lambda: self.s.read_selection("clipboard") not in (None, SENTINEL)
                           and self.s.read_selection("clipboard")).decode()
        plan_lines = ("Сечение по сторонам S₀ (см²): 84,7", "Витки до второго напряжения: 143", "Автомат (А): 50")
        for line in plan_lines + ("Ширина окна (мм): 50", "1. Витки 108, U хх (В) 50,9, B (Тл) 1,14"):
            self.assertIn(f"\n{line}\n", summary, "the plan's summary")
        self.s.save_picture(check, "winding_plan.png")  # the user guide's picture of the plan

        # "Сохранить лист…" offers "лист.pdf" in the report's folder, here the program's own.
        self.s.key("Tab", "space")
        self.s.wait_window(SHEET_DIALOG_TITLE)
        self.s.key("Return")
        sheet = os.path.join(self.s.program_dir, "лист.pdf")
        wait_for("the sheet", lambda: os.path.exists(sheet) and os.path.getsize(sheet) > 0)
        text = subprocess.run(["pdftotext", sheet, "-"], check=True, capture_output=True).stdout.decode()
        for line in plan_lines + (CHECK_TITLE, "Габаритная мощность (Вт): 10400", "окно 50 × 60 мм"):
            self.assertIn(line, text, "the sheet's text")
        self.s.focus(check, "the check window")
        self.s.key("Escape")
        self.s.wait_window_gone(check, "the check window")
