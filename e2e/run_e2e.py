#!/usr/bin/env python3
"""Runs one end-to-end scenario against a built program folder.

    run_e2e.py PROGRAM_DIR SCENARIO [--artifacts DIR] [--docs DIR]
    run_e2e.py --list

Exit status 0 when it passed, 77 when it was skipped, 1 when it failed.
"""

import argparse
import os
import sys
import tempfile
import unittest

import harness
from big_screen_and_odd_input import BigScreenAndOddInput
from calculation import FirstDesign, Refusals
from design_check import DesignCheck
from desktop_styles import DesktopStyles
from entry import EntryFilter
from help_and_about import Help
from printing import Printing
from screen_reader import ScreenReader
from single_copy import SingleCopy
from welding import Welding
from winding_plan import WindingPlan

# Scenario names as ctest knows them (e2e.<name>), each one TestCase.
SCENARIOS = {"first_design": FirstDesign, "refusals": Refusals, "entry_filter": EntryFilter,
             "single_copy": SingleCopy, "printing": Printing, "help": Help,
             "big_screen_and_odd_input": BigScreenAndOddInput, "design_check": DesignCheck,
             "winding_plan": WindingPlan, "welding": Welding, "desktop_styles": DesktopStyles,
             "screen_reader": ScreenReader}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program_dir", nargs="?")
    parser.add_argument("scenario", nargs="?")
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "tremira-e2e"),
                        help="where failure screenshots go")
    parser.add_argument("--docs", help="where the pictures of the docs go")
    parser.add_argument("--list", action="store_true", help="list the scenarios")
    args = parser.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    if not args.program_dir or args.scenario not in SCENARIOS:
        parser.error(f"give the program folder and one of: {', '.join(SCENARIOS)}")

    case = SCENARIOS[args.scenario]
    harness.E2ETestCase.bin_dir = os.path.abspath(args.program_dir)
    harness.E2ETestCase.artifact_dir = os.path.abspath(args.artifacts)
    harness.E2ETestCase.docs_dir = args.docs and os.path.abspath(args.docs)
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(case)
    result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(suite)
    if not result.wasSuccessful():
        return 1
    return harness.SKIP if len(result.skipped) == result.testsRun else 0


if __name__ == "__main__":
    sys.exit(main())
