#!/usr/bin/env python3
"""The installed package as a user meets it: /usr/bin/tremira started by an ordinary user, the
help file read from /usr/share, the print module loaded from its library folder, the report
saved in the user's documents folder, and tremira-calc found on the PATH.

    installed.py [--artifacts DIR]

Run it after `apt-get install ./build/tremira_<version>_amd64.deb`, not as root (root may
write in /usr/bin, and the report would stay beside the program). Exit status 0 when it
passed, 1 when it failed.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import harness
from help_and_about import HELP_TITLE, WELDING_CURRENT_HEADING
from printing import assert_box_without_default_printer
from steps import RUN_A_FIELDS, ProgramTestCase

INSTALLED_FOLDER = "/usr/bin"
BATCH_HEADER = "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n"


class InstalledProgram(ProgramTestCase):

    def setUp(self):
        super().setUp()
        self.s.program = os.path.join(INSTALLED_FOLDER, "tremira")
        # A home of the test's own: the documents folder is $HOME/Documents without user-dirs.dirs.
        self.home = os.path.join(self.s.tmp, "home")
        os.mkdir(self.home)
        self.s.env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"))

    def report_path(self):
        return os.path.join(self.home, "Documents", "Тремира", "report.txt")

    def test_saves_run_a_in_the_documents_folder_and_f1_opens_the_installed_help(self):
        self.assertFalse(os.access(INSTALLED_FOLDER, os.W_OK), "the test runs as a user who cannot write there")
        window = self.calculated_window()
        for name, value in RUN_A_FIELDS.items():
            self.assertEqual(value, window.read_field(name), f"result {name}")
        self.assert_no_report()

        self.save_report(window, answer_yes=False)
        self.assert_run_a_report(self.wait_reports(1), "report.txt in ~/Documents/Тремира")
        self.assertFalse(os.path.exists(os.path.join(INSTALLED_FOLDER, "report.txt")), "report beside the program")

        window.click_control("Text2", "F1")
        help_window = self.s.wait_window(HELP_TITLE)
        self.wait_heading(help_window, WELDING_CURRENT_HEADING)
        self.assert_program_alive(self.s.programs[-1])

    def test_the_print_command_loads_the_installed_print_module(self):
        assert_box_without_default_printer(self)

    def test_tremira_calc_on_the_path_gives_run_a(self):
        self.assertEqual(os.path.join(INSTALLED_FOLDER, "tremira-calc"), shutil.which("tremira-calc"))
        result = subprocess.run(["tremira-calc"], input="220;65;160;;Медь;Медь;Стержневой;1,42\n".encode(),
                                env=self.s.env, capture_output=True, timeout=harness.DEFAULT_TIMEOUT)
        self.assertEqual(0, result.returncode, result.stderr.decode(errors="replace"))
        self.assertEqual(BATCH_HEADER + "completed;84,672;10400;5600;83;25;6;20;48,19277;\n", result.stdout.decode())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "tremira-e2e"),
                        help="where failure screenshots go")
    args = parser.parse_args()
    # The session's copy of the program folder goes unused: the installed program runs in place.
    harness.E2ETestCase.bin_dir = INSTALLED_FOLDER
    harness.E2ETestCase.artifact_dir = os.path.abspath(args.artifacts)
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(InstalledProgram)
    result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
