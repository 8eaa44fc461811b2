"""The program under widget styles a desktop may set: its own look, the desktop's colours."""

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
