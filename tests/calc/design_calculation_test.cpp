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

Box inputError(std::string_view text) { return {text, kInputError, MessageIcon::Error}; }
Box trapBox(std::string_view text) { return {text, std::nullopt, MessageIcon::Information}; }
const Box kValueTooSmall{"Введенное значение слишком мало!", std::nullopt, MessageIcon::None};
const Box kOverflow = trapBox("Произошла ошибка: 6-Переполнение");
const Box kDivisionByZero = trapBox("Произошла ошибка: 11-Деление на ноль");
const Box kTypeMismatch = trapBox("Произошла ошибка: 13-Несоответствие типа");

void expectBoxes(const DesignOutcome &outcome, const std::vector<Box> &expected) {
    ASSERT_EQ(outcome.messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("box " + std::to_string(i + 1));
        EXPECT_EQ(outcome.messages[i].text, expected[i].text);
        EXPECT_EQ(outcome.messages[i].title, expected[i].title);
        EXPECT_EQ(outcome.messages[i].icon, expected[i].icon);
    }
}

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
        {"Run A: copper, copper, rod core", {}, "84,672", {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
        {"Run B: aluminium, aluminium, toroid",
         {.Combo1 = 1, .Combo2 = 1, .Combo3 = 1},
         "60,48",
         {"10400", "117", "35", "10", "32", "4000", "47,86325"}},
        {"unlisted texts: materials like aluminium, core like rod",
         {.Combo1 = -1, .Combo2 = -1, .Combo3 = -1},
         "84,672",
         {"10400", "83", "25", "10", "32", "5600", "48,19277"}},
        {"core section typed by the user is kept",
         {.Text1 = "84,672"},
         std::nullopt,
         {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
        {"induction 1,89 passes the limit",
         {.Text10 = "1,89"},
         "84,672",
         {"10400", "63", "19", "6", "20", "5600", "48,25397"}},
        {"toroid with a current of 27 substitutes 10,206 and completes",
         {.Text2 = "27", .Combo3 = 1},
         "10,206",
         {"1755", "692", "204", "1", "3", "675", "7,959538"}},
        {"core section 0 counts as empty",
         {.Text1 = "0"},
         "84,672",
         {"10400", "83", "25", "6", "20", "5600", "48,19277"}},
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

struct StoppedCase {
    const char *name;
    Fields fields;
    Status status;
    std::optional<std::string> Text1After;
    std::vector<Box> boxes;
    AfterMessageAction action;
};

void checkStopped(const StoppedCase &c) {
    SCOPED_TRACE(c.name);
    const DesignOutcome outcome = CalculateDesign(c.fields.input());
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(text1After(outcome), c.Text1After);
    expectBoxes(outcome, c.boxes);
    EXPECT_EQ(outcome.afterMessages, c.action);
    EXPECT_FALSE(outcome.results.has_value());
}

TEST(CalculateDesign, ChecksRefuseWithOneInputErrorBox) {
    const Box notFilled = inputError("Не все поля заполнены!");
    const Box voltageOrder = inputError("Выходное напряжение больше или равно входному!");
    const Box inductionHigh = inputError("Значение Макс. индукции завышено! Исправте значение");
    const Box currentLow = inputError("Ток сварки слишком мал! Введите другое значение.");
    const Box sectionSmall = inputError(kCoreSectionTooSmall);
    const Box outputLow = inputError("Выходное напряжение мало! Введите другое значение.");
    constexpr auto refused = Status::Refused;
    constexpr auto none = AfterMessageAction::None;
    const StoppedCase cases[] = {
        {"empty current", {.Text2 = ""}, refused, std::nullopt, {notFilled}, none},
        {"empty current before any other test",
         {.Text4 = "abc", .Text2 = "", .Text10 = "9"},
         refused,
         std::nullopt,
         {notFilled},
         none},
        {"mains 0", {.Text4 = "0"}, refused, std::nullopt, {notFilled}, none},
        {"output empty", {.Text3 = ""}, refused, std::nullopt, {notFilled}, none},
        {"current 0", {.Text2 = "0"}, refused, std::nullopt, {notFilled}, none},
        {"induction 0", {.Text10 = "0"}, refused, std::nullopt, {notFilled}, none},
        {"output 220 equals mains", {.Text3 = "220"}, refused, std::nullopt, {voltageOrder}, none},
        {"output 221 above mains", {.Text3 = "221"}, refused, std::nullopt, {voltageOrder}, none},
        {"output 219,5 rounds to 220", {.Text3 = "219,5"}, refused, std::nullopt, {voltageOrder}, none},
        {"induction 1,9", {.Text10 = "1,9"}, refused, std::nullopt, {inductionHigh}, none},
        {"induction 1,9 with the current still bad",
         {.Text2 = "x", .Text10 = "1,9"},
         refused,
         std::nullopt,
         {inductionHigh},
         none},
        {"current 24 empties Text1",
         {.Text2 = "24", .Text1 = "50"},
         refused,
         std::nullopt,
         {currentLow},
         AfterMessageAction::ClearCoreSection},
        {"current 0 with a blank before it counts as filled",
         {.Text2 = " 0"},
         refused,
         std::nullopt,
         {currentLow},
         AfterMessageAction::ClearCoreSection},
        {"current 24,4 rounds to 24",
         {.Text2 = "24,4"},
         refused,
         std::nullopt,
         {currentLow},
         AfterMessageAction::ClearCoreSection},
        {"toroid, current 25 substitutes 9,45", {.Text2 = "25", .Combo3 = 1}, refused, "9,45", {sectionSmall}, none},
        {"toroid, 9,45 pressed again",
         {.Text2 = "25", .Text1 = "9,45", .Combo3 = 1},
         refused,
         std::nullopt,
         {sectionSmall},
         none},
        {"toroid, current 26 substitutes 9,828", {.Text2 = "26", .Combo3 = 1}, refused, "9,828", {sectionSmall}, none},
        {"core section 0,0 is not replaced", {.Text1 = "0,0"}, refused, std::nullopt, {sectionSmall}, none},
        {"core section 9,9999", {.Text1 = "9,9999"}, refused, std::nullopt, {sectionSmall}, none},
        {"output 47 keeps the substituted section",
         {.Text3 = "47"},
         refused,
         "84,672",
         {outputLow},
         AfterMessageAction::FocusOutputVoltage},
    };
    for (const StoppedCase &c : cases) checkStopped(c);
}

TEST(CalculateDesign, ErrorTrapShowsNumberAndDescription) {
    constexpr auto failed = Status::Failed;
    constexpr auto none = AfterMessageAction::None;
    constexpr auto focusText1 = AfterMessageAction::FocusCoreSection;
    const std::string kBeyondSingle = "1" + std::string(40, '0');
    const std::vector<Box> overflowBoxes{kOverflow, kValueTooSmall};
    const StoppedCase cases[] = {
        {"induction 0,0 divides by zero", {.Text10 = "0,0"}, failed, "84,672", {kDivisionByZero}, none},
        {"induction 00 divides by zero", {.Text10 = "00"}, failed, "84,672", {kDivisionByZero}, none},
        {"mains 40000 before any substitution", {.Text4 = "40000"}, failed, std::nullopt, overflowBoxes, focusText1},
        {"current 40000", {.Text2 = "40000"}, failed, std::nullopt, overflowBoxes, focusText1},
        {"lone comma in the mains", {.Text4 = ","}, failed, std::nullopt, {kTypeMismatch}, none},
        {"two commas in the output", {.Text3 = "1,2,3"}, failed, std::nullopt, {kTypeMismatch}, none},
        {"blank current", {.Text2 = " "}, failed, std::nullopt, {kTypeMismatch}, none},
        {"letter in the induction", {.Text10 = "a"}, failed, std::nullopt, {kTypeMismatch}, none},
        {"both voltages bad: the mains one is reported",
         {.Text4 = "x", .Text3 = "40000"},
         failed,
         std::nullopt,
         {kTypeMismatch},
         none},
        {"both voltages bad the other way",
         {.Text4 = "40000", .Text3 = "x"},
         failed,
         std::nullopt,
         overflowBoxes,
         focusText1},
        {"typed core section with two commas", {.Text1 = "1,2,3"}, failed, std::nullopt, {kTypeMismatch}, none},
        {"core section beyond the single range",
         {.Text1 = kBeyondSingle},
         failed,
         std::nullopt,
         overflowBoxes,
         focusText1},
        {"tiny induction: too many turns", {.Text10 = "0,0000001"}, failed, "84,672", overflowBoxes, focusText1},
        {"huge core section: no turns, 0 divided by 0",
         {.Text1 = "99999999"},
         failed,
         std::nullopt,
         overflowBoxes,
         focusText1},
        {"current 700 at 50 V: overall power overflows",
         {.Text3 = "50", .Text2 = "700"},
         failed,
         "370,44",
         overflowBoxes,
         focusText1},
    };
    for (const StoppedCase &c : cases) checkStopped(c);
}

}  // namespace
}  // namespace tremira::calc
