"""A design calculated and saved, and the inputs the calculation refuses."""

from harness import wait_for
from steps import FILE_MENU, RUN_A_FIELDS, SAVE_ITEM, SAVE_QUESTION, ProgramTestCase

INPUT_ERROR = "Ошибка ввода!"


class FirstDesign(ProgramTestCase):
    def test_newcomer_calculates_run_a_and_saves_it(self):
        window = self.start_main_window()
        self.assertEqual("220", self.selected_after_keys("End", "shift+Home"),
                         "the focus starts in the mains voltage")

        window.choose_menu_item(FILE_MENU, SAVE_ITEM)
        self.s.key("Escape")
        self.assertEqual("220", window.read_field("Text4", sync_field="Text3"))
        self.assertEqual([], self.s.windows_titled(SAVE_QUESTION), '"Записать на диск" works before a calculation')

        for key, proposal in (("1", "0,5292"), ("6", "8,4672"), ("0", "84,672")):
            window.click_control("Text2")
            self.s.key("End")
            self.s.type(key)
            self.assertEqual(proposal, window.read_field("Text1"), f"core section after typing {key}")
        window.click_control("Text2")
        self.calculate_by_keys(window, "Text2")
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        for name, value in RUN_A_FIELDS.items():
            self.assertEqual(value, window.read_field(name), f"result {name}")
        window.save_picture("main-window.png")
        self.assert_no_report()

        self.save_report(window, answer_yes=False)
        first = self.wait_reports(1)
        self.assert_run_a_report(first, "after No")

        self.save_report(window, answer_yes=True)
        both = self.wait_reports(2)
        self.assertEqual(first, both[:len(first)], "Yes keeps the earlier report byte for byte")
        self.assert_run_a_report(both[len(first):], "the appended report")

    def test_run_b_with_options_picked_by_arrow_keys(self):
        window = self.start_main_window()
        for name, entry in (("Combo1", "Алюминий"), ("Combo2", "Алюминий"), ("Combo3", "Тор")):
            window.click_control(name, "Down")
            self.assertEqual(entry, window.read_field(name, sync_field="Text4"), f"{name} after Down")
        window.set_field("Text2", "160")
        window.click_control("cndCalc")
        run_b = {"Text1": "60,48", "Text5": "10400", "Text6": "117", "Text7": "35", "Text8": "10",
                 "Text9": "32", "Text11": "4000", "Text12": "47,86325"}
        self.assertEqual("10400", wait_for("the results", lambda: window.read_field("Text5") or None))
        for name, value in run_b.items():
            self.assertEqual(value, window.read_field(name, sync_field="Text4"), f"Run B, {name}")


class Refusals(ProgramTestCase):
    def refuse(self, window, field, text, message):
        """Types text into field (None: it is there already), calculates, expects the refusal."""
        if text is not None:
            window.set_field(field, text)
        self.calculate_by_keys(window, field)
        self.close_box(INPUT_ERROR, message)
        self.assert_no_report()

    def test_each_refusal_shows_its_box_and_keeps_the_results(self):
        window = self.calculated_window()

        # Output voltage equal to the mains voltage; the focus stays on the button.
        self.refuse(window, "Text3", "220", "Выходное напряжение больше или равно входному!")
        self.s.key("space")
        self.close_box(INPUT_ERROR, "Выходное напряжение больше или равно входному!")
        window.set_field("Text3", "65")

        # Welding current 24: its proposal is emptied after the box.
        window.set_field("Text2", "24")
        self.assertEqual("12,7008", window.read_field("Text1"))
        window.click_control("Text2")
        self.refuse(window, "Text2", None, "Ток сварки слишком мал! Введите другое значение.")
        self.assertEqual("", window.read_field("Text1"), "the core section after a current of 24")
        window.set_field("Text2", "160")

        self.refuse(window, "Text10", "1,9", "Значение Макс. индукции завышено! Исправте значение")
        window.set_field("Text10", "1,42")

        # The box breaks its line with a carriage return; copied out of the box it reads as a line feed.
        self.refuse(window, "Text1", "5", "Сечение сердечника слишком мало! Введите другое значение или "
                    "оставте поле пустым,\nпрограмма сама подставит нужное значение.")
        self.assertEqual("5", window.read_field("Text1"), "the typed core section stays")
        window.set_field("Text1", "84,672")

        # Output 47: after the box the focus is in the output voltage, so typing lands there.
        self.refuse(window, "Text3", "47", "Выходное напряжение мало! Введите другое значение.")
        self.s.key("End", "shift+Home")
        self.s.type("65")
        self.assertEqual("65", window.read_field("Text3"), "typing after the box for an output of 47")
        self.assertEqual("84,672", window.read_field("Text1"))

        # An induction of 0 after a completed run counts as an empty field.
        self.refuse(window, "Text10", "0", "Не все поля заполнены!")
        window.set_field("Text10", "1,42")

        # Everything is back at Run A, and the results of the first run are still there.
        self.save_report(window, answer_yes=False)
        self.assert_run_a_report(self.wait_reports(1), "after the refusals")
