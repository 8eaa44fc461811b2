"""The program under widget styles a desktop may set: its own look, the desktop's colours."""

from design_check import CHECK_TITLE
from steps import RUN_A_FIELDS, ProgramTestCase


class DesktopStyles(ProgramTestCase):
    def calculate_run_a_under(self, style, picture):
        window = self.calculated_window(QT_STYLE_OVERRIDE=style)
        for name, value in RUN_A_FIELDS.items():
            self.assertEqual(value, window.read_field(name), f"result {name} under {style}")
        window.save_picture(picture)

    def test_run_a_under_a_dark_style(self):
        self.calculate_run_a_under("Adwaita-Dark", "main-window-dark.png")

    def test_run_a_under_a_style_that_pads_fields_more(self):
        self.calculate_run_a_under("Adwaita", "main-window-adwaita.png")

    # ----- the check window, both pages, for the user guide ----------------------------------
    def picture_check_window(self, name, **env):
        """Run A checked in a 50 × 60 mm window and planned with four taps and 380 V, by keys."""
        self.calculated_window(**env)
        self.s.key("F10", "Right", "Right", "Down", "Return")  # "Сервис" → "Проверка конструкции…"
        check = self.s.wait_window(CHECK_TITLE)
        for text in ("50", "60"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.save_picture(check, f"check-window-{name}.png")
        self.s.key("ctrl+Tab")
        for text in ("70", "121", "4", "50", "380"):
            self.s.type(text)
            self.s.key("Tab")
        self.s.save_picture(check, f"plan-page-{name}.png")
        self.s.key("ctrl+Tab")
        self.s.save_picture(check, f"welding-page-{name}.png")
        self.s.key("Escape")
        self.s.wait_window_gone(check, "the check window")

    def test_check_window_under_fusion(self):
        self.picture_check_window("fusion")

    def test_check_window_under_a_dark_style(self):
        self.picture_check_window("dark", QT_STYLE_OVERRIDE="Adwaita-Dark")

    def test_check_window_at_double_scale(self):
        self.picture_check_window("scale-2", scale=2, QT_SCALE_FACTOR="2")
