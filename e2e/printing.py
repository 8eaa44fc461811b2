"""The report printed on the default queue, or a box without one."""

import os
import re
import subprocess

from harness import MessageBox, wait_for
from steps import FILE_MENU, PRINT_ITEM, ProgramTestCase


class Printing(ProgramTestCase):
    def completed_jobs(self):
        result = subprocess.run(["lpstat", "-W", "completed", "-o"], capture_output=True, text=True)
        return set(line.split()[0] for line in result.stdout.splitlines() if line.strip())

    def test_prints_one_page_on_the_default_queue(self):
        default = subprocess.run(["lpstat", "-d"], capture_output=True, text=True).stdout
        if "system default destination:" not in default:
            self.skipTest(f"no default printer ({default.strip() or 'lpstat said nothing'})")
        queue = default.split(":", 1)[1].strip()
        jobs_before, pdfs_before = self.completed_jobs(), cups_pdf_files()
        window = self.calculated_window()
        window.choose_menu_item(FILE_MENU, PRINT_ITEM)
        new_jobs = wait_for(f"a completed job on {queue}", lambda: self.completed_jobs() - jobs_before, 60)
        self.assertEqual(1, len(new_jobs), f"jobs: {sorted(new_jobs)}")
        if queue_writes_pdf(queue):
            pdfs = wait_for("cups-pdf to write the page",
                            lambda: [path for path, stamp in cups_pdf_files().items()
                                     if pdfs_before.get(path) != stamp and pdf_pages(path)])
            self.assertEqual(1, len(pdfs), f"new PDF files: {pdfs}")
            self.assertEqual(1, pdf_pages(pdfs[0]), f"pages of {pdfs[0]}")
        self.assertEqual("10400", window.read_field("Text5"), "the window after printing")

    def test_without_a_default_printer_a_box_says_so(self):
        assert_box_without_default_printer(self)


def assert_box_without_default_printer(case):
    """Print with no CUPS server: the print module loads and finds no default printer."""
    window = case.calculated_window(CUPS_SERVER=os.path.join(case.s.tmp, "no-cups.sock"), PRINTER="", LPDEST="")
    before = {wid for wid, _ in case.s.visible_windows()}
    window.choose_menu_item(FILE_MENU, PRINT_ITEM)
    box = wait_for("a box about the missing printer",
                   lambda: [(wid, name) for wid, name in case.s.visible_windows() if wid not in before and name])
    wid, title = box[0]
    case.s.focus(wid, "the box about the missing printer")
    box = MessageBox(case.s, wid, title, window.wid)
    # The program's own words: a box that the print module did not load says something else.
    case.assertIn("принтер по умолчанию не задан", box.text().lower(), f'the box "{title}"')
    box.press("Return")
    case.assert_program_alive(case.s.programs[-1])
    case.assertEqual("10400", window.read_field("Text5"))


# cups-pdf writes a job to the submitting user's ~/PDF, or to its spool folder for anonymous jobs.
CUPS_PDF_FOLDERS = [os.path.expanduser("~/PDF"), "/var/spool/cups-pdf/ANONYMOUS"]


def cups_pdf_files():
    files = {}
    for folder in CUPS_PDF_FOLDERS:
        if os.path.isdir(folder):
            for name in os.listdir(folder):
                if name.lower().endswith(".pdf"):
                    path = os.path.join(folder, name)
                    files[path] = os.stat(path).st_mtime_ns
    return files


def queue_writes_pdf(queue):
    device = subprocess.run(["lpstat", "-v", queue], capture_output=True, text=True).stdout
    return "cups-pdf:" in device


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
    match = re.search(r"^Pages:\s+(\d+)$", info.stdout, re.M)
    return int(match.group(1)) if info.returncode == 0 and match else 0
