"""One copy of the program at a time."""

from harness import APP_TITLE, MAIN_TITLE, kill, wait_for
from steps import ProgramTestCase


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
