"""The design check window: opened from "Сервис" after a calculation, it answers as the user types."""

from harness import SENTINEL, wait_for
from help_and_about import HELP_TITLE
from steps import ProgramTestCase

SERVICE_MENU, CHECK_ITEM = 2, 0
CHECK_TITLE = "Проверка и план намотки"
CHECK_TOPIC = "Проверка конструкции"


class DesignCheck(ProgramTestCase):
    def test_checks_run_a_in_a_50_by_60_window_with_a_test_winding(self):
        window = self.start_main_window()
        window.set_field("Text2", "160")
        window.click_control("cndCalc")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        window.choose_menu_item(SERVICE_MENU, CHECK_ITEM)
        check = self.s.wait_window(CHECK_TITLE)

        # By keyboard alone: the focus starts in the window's width, Tab passes the typed
        # fields only (the fill factor keeps its 0,35), then reaches "Копировать".
        self.s.own_selection("clipboard", SENTINEL)
        for text in ("50", "60", None, "10", "24"):
            if text:
                self.s.type(text)
            self.s.key("Tab")
        self.s.key("space")
        summary = wait_for("the check's summary on the clipboard",
                           lambda: self.s.read_selection("clipboard") not in (None, SENTINEL)
                           and self.s.read_selection("clipboard")).decode()
        for line in ("Ширина окна (мм): 50", "Площадь окна (мм²): 3000", "Итог: помещается",
                     "Пробная обмотка (перемотка готового трансформатора)",
                     "Действующие витки I обмотки w1′: 92", "Витки новой II обмотки w2′: 27"):
            self.assertIn(f"\n{line}\n", summary, "the check's summary")

        # F1 in the window's width (past the sheet's name, "Сохранить лист…" and "Закрыть") opens
        # the check's topic, read while the check window stays open: it blocks the main window only.
        self.s.key("Tab", "Tab", "Tab", "Tab", "F1")
        help_window = self.s.wait_window(HELP_TITLE)
        self.wait_heading(help_window, CHECK_TOPIC)
        self.s.focus(check, "the check window")  # the help window now lies over it
        self.s.key("Escape")
        self.s.wait_window_gone(check, "the check window")
