"""The program at double scale and with a megabyte pasted into a field."""

from harness import APP_TITLE, TWIPS_PER_PIXEL, wait_for
from steps import RUN_A_FIELDS, ProgramTestCase


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
