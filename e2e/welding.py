"""The welding page of the check window: Run A in a 50 × 80 mm window with four taps, a current
measured on one of them and a choke core typed by keyboard, and the figures found on the saved
sheet."""

import os

from design_check import CHECK_TITLE
from harness import wait_for
from steps import ProgramTestCase
from winding_plan import SHEET_DIALOG_TITLE


class Welding(ProgramTestCase):
    def test_a_measured_current_and_a_choke_core_reach_the_sheet(self):
        self.calculated_window()
        self.s.key("F10", "Right", "Right", "Down", "Return")  # "Сервис" → "Проверка конструкции…"
        check = self.s.wait_window(CHECK_TITLE)
        for text in ("50", "80"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.key("ctrl+Tab")
        for text in ("70", "121", "4", "50"):
            self.s.type(text)
            self.s.key("Tab")
        # The welding page opens on its first list, the arrangement; δ keeps its 2.
        self.s.key("ctrl+Tab", "Tab", "Tab")
        for text in ("98", "125", "50", "80", "50", "120"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.save_picture(check, "welding-page.png")  # the user guide's picture of the chart
        # Past the steel's loss, the class, the two taps tables, "Копировать" and the name.
        self.s.key("Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space")
        self.s.wait_window(SHEET_DIALOG_TITLE)
        self.s.key("Return")
        sheet = os.path.join(self.s.program_dir, "лист.pdf")
        wait_for("the sheet", lambda: os.path.exists(sheet) and os.path.getsize(sheet) > 0)
        text = self.sheet_text(sheet)
        self.assertIn("Ток и нагрев", text, "the sheet's text")
        self.assert_table_rows(text, (("Замер: ток сварки (А)", "125"), ("Дроссель: высота окна h (мм)", "120"),
                                      ("X по замеру, на всех отводах (Ом)", "0,3907")))
        self.s.focus(check, "the check window")
        self.s.key("Escape")
        self.s.wait_window_gone(check, "the check window")
