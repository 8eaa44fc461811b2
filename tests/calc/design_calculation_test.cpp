// The calculation behind the calculate button: the two worked designs, every check that
// refuses a design, and the error trap with its boxes and after-message actions.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "calc/design_calculation.h"

namespace tremira::calc {
namespace {

// The window's defaults with the welding current of Run A; a case changes only what it names.
struct Fields {
    std::string_view Text4 = "220";
    std::string_view Text3 = "65";
    std::string_view Text2 = "160";
    std::string_view Text1 = "";
    std::string_view Text10 = "1,42";
    Int16 Combo1 = 0;
    Int16 Combo2 = 0;
    Int16 Combo3 = 0;

    DesignInput input() const { return {Text4, Text3, Text2, Text1, Text10, Combo1, Combo2, Combo3}; }
};

struct Box {
    std::string_view text;
    std::optional<std::string_view> title;
    MessageIcon icon;
};

constexpr std::string_view kInputError = "Ошибка ввода!";
constexpr std::string_view kCoreSectionTooSmall =
    "Сечение сердечника слишком мало! Введите другое значение или оставте поле пустым,\x0D"
    "программа сама подставит нужное значение.";

// Text1 after the run as the window writes it: the substituted section, if any.
std::optional<std::string> text1After(const DesignOutcome &outcome) {
    if (!outcome.substitutedCoreSection) return std::nullopt;
    return FormatDouble(*outcome.substitutedCoreSection);
}

// The seven result texts as the window writes them, named after their fields.
struct ResultTexts {
    std::string Text5, Text6, Text7, Text8, Text9, Text11, Text12;

    friend bool operator==(const ResultTexts &, const ResultTexts &) = default;
};

ResultTexts textsOf(const ResultNumbers &r) {
    return {FormatInt16(r.overallPower),  FormatInt16(r.w1), FormatInt16(r.w2), FormatInt16(r.q1), FormatInt16(r.q2),
            FormatInt16(r.requiredPower), FormatSingle(r.i1)};
}

struct CompletedCase {
    const char *name;
    Fields fields;
    std::optional<std::string> Text1After;  // substituted core section, if any
    ResultTexts results;                    // Text5, Text6, Text7, Text8, Text9, Text11, Text12
};

TEST(CalculateDesign, WorkedRunsCompleteWithEveryResultField) {
    const CompletedCase cases[] = {
        {"Run A", {}, "84,672", {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
        {"Run B: aluminium, toroid",
         {.Combo1 = 1, .Combo2 = 1, .Combo3 = 1},
         "60,48",
         {"10400", "117", "35", "10", "32", "4000", "47,86325"}},
        {"unlisted: aluminium, rod",
         {.Combo1 = -1, .Combo2 = -1, .Combo3 = -1},
         "84,672",
         {"10400", "83", "25", "10", "32", "5600", "48,19277"}},
        {"typed section is kept", {.Text1 = "84,672"}, {}, {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
        {"induction 1,89 passes", {.Text10 = "1,89"}, "84,672", {"10400", "63", "19", "6", "20", "5600", "48,25397"}},
        {"toroid at 27 A: 10,206",
         {.Text2 = "27", .Combo3 = 1},
         "10,206",
         {"1755", "692", "204", "1", "3", "675", "7,959538"}},
        {"section 0 is empty", {.Text1 = "0"}, "84,672", {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
    };
    for (const CompletedCase &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignOutcome outcome = CalculateDesign(c.fields.input());
        EXPECT_EQ(outcome.status, Status::Completed);
        EXPECT_EQ(text1After(outcome), c.Text1After);
        EXPECT_TRUE(outcome.messages.empty());
        EXPECT_EQ(outcome.afterMessages, AfterMessageAction::None);
        ASSERT_TRUE(outcome.results.has_value());
        EXPECT_EQ(textsOf(*outcome.results), c.results);
    }
}

TEST(CalculateDesign, WireSectionOfWindingIIRoundsHalvesToEven) {
    struct Case {
        std::string_view current;
        std::string_view Text9;
    } const cases[] = {{"100", "12"}, {"140", "18"}};  // 12,5 and 17,5
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.current));
        const DesignOutcome outcome = CalculateDesign(Fields{.Text2 = c.current}.input());
        ASSERT_EQ(outcome.status, Status::Completed);
        EXPECT_EQ(FormatInt16(outcome.results->q2), c.Text9);
    }
}

// How a stopped run ends: its status, the boxes in order and what the window does after them.
struct Stop {
    Status status;
    std::vector<Box> boxes;
    AfterMessageAction action = AfterMessageAction::None;
};

TEST(CalculateDesign, ChecksRefuseAndTheErrorTrapFails) {
    const auto refused = [](std::string_view text, AfterMessageAction action = AfterMessageAction::None) {
        return Stop{Status::Refused, {{text, kInputError, MessageIcon::Error}}, action};
    };
    const Stop notFilled = refused("Не все поля заполнены!");
    const Stop voltageOrder = refused("Выходное напряжение больше или равно входному!");
    const Stop inductionHigh = refused("Значение Макс. индукции завышено! Исправте значение");
    const Stop currentLow =
        refused("Ток сварки слишком мал! Введите другое значение.", AfterMessageAction::ClearCoreSection);
    const Stop sectionSmall = refused(kCoreSectionTooSmall);
    const Stop outputLow =
        refused("Выходное напряжение мало! Введите другое значение.", AfterMessageAction::FocusOutputVoltage);
    const auto trap = [](std::string_view text) {
        return Stop{Status::Failed, {{text, std::nullopt, MessageIcon::Information}}};
    };
    const Stop divisionByZero = trap("Произошла ошибка: 11-Деление на ноль");
    const Stop typeMismatch = trap("Произошла ошибка: 13-Несоответствие типа");
    const Stop overflow{Status::Failed,
                        {{"Произошла ошибка: 6-Переполнение", std::nullopt, MessageIcon::Information},
                         {"Введенное значение слишком мало!", std::nullopt, MessageIcon::None}},
                        AfterMessageAction::FocusCoreSection};
    const std::string beyondSingle = "1" + std::string(40, '0');
    struct Case {
        const char *name;
        Fields fields;
        std::optional<std::string> Text1After;
        Stop stop;
    };
    const Case cases[] = {
        {"empty current", {.Text2 = ""}, {}, notFilled},
        {"empty current before any other test", {.Text4 = "abc", .Text2 = "", .Text10 = "9"}, {}, notFilled},
        {"mains 0", {.Text4 = "0"}, {}, notFilled},
        {"output empty", {.Text3 = ""}, {}, notFilled},
        {"current 0", {.Text2 = "0"}, {}, notFilled},
        {"induction 0", {.Text10 = "0"}, {}, notFilled},
        {"output 220 equals mains", {.Text3 = "220"}, {}, voltageOrder},
        {"output 219,5 rounds to 220", {.Text3 = "219,5"}, {}, voltageOrder},
        {"induction 1,9", {.Text10 = "1,9"}, {}, inductionHigh},
        {"induction 1,9 with the current still bad", {.Text2 = "x", .Text10 = "1,9"}, {}, inductionHigh},
        {"current 24 empties Text1", {.Text2 = "24", .Text1 = "50"}, {}, currentLow},
        {"current 0 with a blank before it counts as filled", {.Text2 = " 0"}, {}, currentLow},
        {"current 24,4 rounds to 24", {.Text2 = "24,4"}, {}, currentLow},
        {"toroid, current 25 substitutes 9,45", {.Text2 = "25", .Combo3 = 1}, "9,45", sectionSmall},
        {"toroid, 9,45 pressed again", {.Text2 = "25", .Text1 = "9,45", .Combo3 = 1}, {}, sectionSmall},
        {"core section 0,0 is not replaced", {.Text1 = "0,0"}, {}, sectionSmall},
        {"core section 9,9999", {.Text1 = "9,9999"}, {}, sectionSmall},
        {"output 47 keeps the substituted section", {.Text3 = "47"}, "84,672", outputLow},
        {"induction 0,0 divides by zero", {.Text10 = "0,0"}, "84,672", divisionByZero},
        {"mains 40000 before any substitution", {.Text4 = "40000"}, {}, overflow},
        {"current 40000", {.Text2 = "40000"}, {}, overflow},
        {"lone comma in the mains", {.Text4 = ","}, {}, typeMismatch},
        {"blank current", {.Text2 = " "}, {}, typeMismatch},
        {"both voltages bad: the mains one is reported", {.Text4 = "x", .Text3 = "40000"}, {}, typeMismatch},
        {"both voltages bad the other way", {.Text4 = "40000", .Text3 = "x"}, {}, overflow},
        {"typed core section with two commas", {.Text1 = "1,2,3"}, {}, typeMismatch},
        {"core section beyond the single range", {.Text1 = beyondSingle}, {}, overflow},
        {"tiny induction: too many turns", {.Text10 = "0,0000001"}, "84,672", overflow},
        {"huge core section: no turns, 0 divided by 0", {.Text1 = "99999999"}, {}, overflow},
        {"current 700 at 50 V: overall power overflows", {.Text3 = "50", .Text2 = "700"}, "370,44", overflow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignOutcome outcome = CalculateDesign(c.fields.input());
        EXPECT_EQ(outcome.status, c.stop.status);
        EXPECT_EQ(text1After(outcome), c.Text1After);
        ASSERT_EQ(outcome.messages.size(), c.stop.boxes.size());
        for (std::size_t i = 0; i < c.stop.boxes.size(); ++i) {
            EXPECT_EQ(outcome.messages[i].text, c.stop.boxes[i].text);
            EXPECT_EQ(outcome.messages[i].title, c.stop.boxes[i].title);
            EXPECT_EQ(outcome.messages[i].icon, c.stop.boxes[i].icon);
        }
        EXPECT_EQ(outcome.afterMessages, c.stop.action);
        EXPECT_FALSE(outcome.results.has_value());
    }
}

}  // namespace
}  // namespace tremira::calc
