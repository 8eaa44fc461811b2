"""Typing into the window: the numeric entry filter and Enter."""

from harness import LAYOUT, wait_for
from steps import ProgramTestCase


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
        # A middle click pastes the primary selection, but only what typing could have produced.
        window.set_field("Text2", "")
        current = [str(c) for c in window.point(*LAYOUT["Text2"])]
        for selection, expected in ((b"-160", ""), (b"7", "7")):
            self.s.own_selection("primary", selection)
            self.s.xdo("mousemove", *current, "click", "2")
            self.assertEqual(expected, window.read_field("Text2"), f"Text2 after a middle click with {selection}")
            if not expected:
                self.assertEqual("6,615", window.read_field("Text1"), "no proposal for a refused paste")

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
