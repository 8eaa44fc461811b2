"""The design check window: opened from "Сервис" after a calculation, it answers as the user types."""

from harness import SENTINEL, TWIPS_PER_PIXEL, wait_for
from help_and_about import HELP_TITLE
from steps import ProgramTestCase

SERVICE_MENU, CHECK_ITEM = 2, 0
CHECK_TITLE = "Проверка конструкции"
# Left and top in twips of the check window's client area: its input fields and "Копировать".
CHECK_PLACES = {
    "windowWidth": (7600, 420),
    "windowHeight": (7600, 720),
    "testTurns": (7600, 4920),
    "testVoltage": (7600, 5220),
    "copyButton": (120, 6720),
    "closeButton": (1740, 6720),
}


class DesignCheck(ProgramTestCase):
    def click_in_check(self, check, name, *then_keys):
        x, y, _, _ = self.s.geometry(check)
        left, top = CHECK_PLACES[name]
        self.s.click(x + round((left + 300) / TWIPS_PER_PIXEL), y + round((top + 140) / TWIPS_PER_PIXEL),
                     *then_keys)

    def test_checks_run_a_in_a_50_by_60_window_with_a_test_winding(self):
        window = self.start_main_window()
        window.set_field("Text2", "160")
        window.click_control("cndCalc")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        window.choose_menu_item(SERVICE_MENU, CHECK_ITEM)
        check = self.s.wait_window(CHECK_TITLE)
        for name, text in (("windowWidth", "50"), ("windowHeight", "60"), ("testTurns", "10"),
                           ("testVoltage", "24")):
            self.click_in_check(check, name, "End", "shift+Home")
            self.s.type(text)

        self.s.own_selection("clipboard", SENTINEL)
        self.click_in_check(check, "copyButton")
        summary = wait_for("the check's summary on the clipboard",
                           lambda: self.s.read_selection("clipboard") not in (None, SENTINEL)
                           and self.s.read_selection("clipboard")).decode()
        for line in ("Ширина окна (мм): 50", "Площадь окна (мм²): 3000", "Итог: помещается",
                     "Витки I обмотки w1′: 92", "Витки II обмотки w2′: 27"):
            self.assertIn(f"\n{line}\n", summary, "the check's summary")

        # F1 opens the check's topic; the page is read once the modal check window is closed.
        self.click_in_check(check, "windowWidth", "F1")
        help_window = self.s.wait_window(HELP_TITLE)
        self.s.focus(check, "the check window")  # the help window now lies over it
        self.click_in_check(check, "closeButton")
        self.s.wait_window_gone(check, "the check window")
        self.wait_heading(help_window, CHECK_TITLE)
