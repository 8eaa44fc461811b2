"""The help window's topics and the About window's links."""

import os

from harness import TWIPS_PER_PIXEL, wait_for
from steps import ABOUT_ITEM, HELP_ITEM, HELP_MENU, ProgramTestCase, read_bytes

# The help file's own title and the headings of the pages for the numbers 0, 3 and 8.
HELP_TITLE = "Тремира — справка"
OVERVIEW_HEADING = "Тремира — расчет сварочного трансформатора"
WELDING_CURRENT_HEADING = "Максимальный ток сварки"
HELP_MENU_HEADING = "Меню «Помощь»"

# The About window's controls, in twips of its client area.
ABOUT_TITLE = "About Programm"
ABOUT_LAYOUT = {
    "Label2": (3240, 1320, 1455, 255),
    "Command1": (1920, 1920, 1335, 375),
    "Label5": (3240, 1560, 1695, 255),
}


class Help(ProgramTestCase):
    def install_opener(self):
        record = os.path.join(self.s.tmp, "opened.txt")
        opener = os.path.join(self.s.fake_bin, "xdg-open")
        with open(opener, "w") as script:
            script.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$PWD" "$*" >> "{record}"\n')
        os.chmod(opener, 0o755)
        return record

    def test_help_menu_and_f1_open_their_topics(self):
        window = self.start_main_window()
        window.choose_menu_item(HELP_MENU, HELP_ITEM)
        help_window = self.s.wait_window(HELP_TITLE)
        self.assertEqual(OVERVIEW_HEADING, self.page_heading(help_window), "the topic of \"Помощь\"")

        self.s.focus(window.wid, "the main window")
        window.click_control("Text2", "F1")
        self.wait_heading(help_window, WELDING_CURRENT_HEADING)
        self.assertEqual(1, len(self.s.windows_titled(HELP_TITLE)), "help windows")

        # F1 on a highlighted menu item opens that item's topic.
        self.s.focus(window.wid, "the main window")
        about_item = window.open_menu(HELP_MENU, ABOUT_ITEM)
        self.s.xdo("mousemove", *map(str, about_item), "key", "F1")
        self.wait_heading(help_window, HELP_MENU_HEADING)
        self.assert_program_alive(self.s.programs[-1])

    def test_about_window_links_and_ok(self):
        record = self.install_opener()
        window = self.start_main_window()
        window.choose_menu_item(HELP_MENU, ABOUT_ITEM)
        about = self.s.wait_window(ABOUT_TITLE)
        self.s.focus(about, "the About window")
        x, y, _, _ = self.s.geometry(about)

        def click(name):
            left, top, w, h = ABOUT_LAYOUT[name]
            self.s.click(x + round((left + w * 0.3) / TWIPS_PER_PIXEL), y + round((top + h / 2) / TWIPS_PER_PIXEL))

        click("Label5")
        web = wait_for("the opener to be started for the web link",
                       lambda: os.path.exists(record) and read_bytes(record).decode().splitlines())
        click("Label2")
        opened = wait_for("the opener to be started for the e-mail link",
                          lambda: len(read_bytes(record).decode().splitlines()) >= 2
                          and read_bytes(record).decode().splitlines())
        self.assertRegex(web[0].split("|", 1)[1], r"^https?://[^ ]+$", "web link")
        folder, mail = opened[1].split("|", 1)
        self.assertRegex(mail, r"^mailto:[^ @]+@[^ ]+$", "e-mail link")
        self.assertEqual(self.s.program_dir, folder, "working folder of the e-mail link")
        click("Command1")
        self.s.wait_window_gone(about, "the About window")
        self.assert_program_alive(self.s.programs[-1])
