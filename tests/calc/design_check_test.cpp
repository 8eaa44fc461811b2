// The check of a design: fill of the core window, wire sizes, no-load voltage and the test
// winding. Expected figures are worked out by hand from the formulas of the help topic.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/design_check.h"

namespace {

using tremira::calc::CheckDesign;
using tremira::calc::CheckInput;
using tremira::calc::CheckOutcome;
using tremira::calc::FigureRow;
using tremira::calc::FigureSection;
using tremira::calc::TypedFields;

// A figure as the window shows it: its text, and whether it is a number or what stands in its place.
using Shown = std::pair<std::string, bool>;
Shown known(const char *text) { return {text, true}; }
Shown message(const char *text) { return {text, false}; }

// Every row of the outcome, the check's first.
std::vector<const FigureRow *> rowsOf(const CheckOutcome &outcome) {
    std::vector<const FigureRow *> rows;
    for (const auto *sections : {&outcome.check, &outcome.plan, &outcome.weld}) {
        for (const auto &section : *sections) {
            for (const FigureRow &row : section.rows) rows.push_back(&row);
        }
    }
    return rows;
}

// The row of the tremira-calc column `key`, or of the window's widget `name` when `byName`.
Shown at(const CheckOutcome &outcome, std::string_view key, bool byName = false) {
    for (const FigureRow *row : rowsOf(outcome)) {
        if ((byName ? row->format.name : row->format.key) == key) return {row->text, row->known};
    }
    return {"no row " + std::string(key), false};
}

// A change to Run A's check, and what one figure of the outcome shows then.
struct FigureCase {
    const char *name;
    std::function<void(CheckInput &)> change;
    std::string_view key;
    Shown expected;
};

// Run A as the calculation gives it, with a 50 × 60 mm window.
CheckInput runA() {
    const tremira::calc::DesignOutcome outcome =
        tremira::calc::CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    CheckInput input;
    input.design = *outcome.inputs;
    input.results = *outcome.results;
    input.typed = {"50", "60", "0,35"};
    return input;
}

// Run A with every typed field: taps, a second mains voltage, a test winding, a measured welding
// current and a choke core.
CheckInput everyField(tremira::calc::Int16 coreType = 0) {
    CheckInput input = runA();
    input.design.coreType = coreType;
    input.typed = {"50",   "60", "0,35", "10",  "24", "70", "121", "4",   "50", "380",
                   "один", "2",  "98",   "125", "50", "80", "50",  "120", "4",  "B"};
    return input;
}

// Winding I counts as the plan winds it once it runs past w1. Run A's winding I is 83 turns of
// 6 mm², winding II 25 × 20 = 500 mm². Four taps from 50 V take it on to 83 × 65 / 50 = 107,9,
// so 108 turns of 6 mm²; 380 V besides takes it on to 83 × 380 / 220 = 143,4, so 143 turns, the
// 35 past the taps for 48,19 A × 220 / 380 / 8 A/mm² = 3,49 mm², the 2,12 mm wire of 3,5299 mm².
// Without taps 380 V leaves the first 83 turns at 6 mm² and the 60 after them of that wire.
TEST(CheckDesign, FillCountsWindingIAsWound) {
    struct Case {
        const char *name;
        std::string_view taps, lowest, secondMains;
        Shown copper, needed, percent, verdict;
    };
    const auto wound = [](std::string fill, const char *with, const char *turns) {
        return fill + " (I обмотка " + with + ", как намотана: " + turns + " вит.)";
    };
    const std::string taps = wound("не помещается: нужно окно не меньше 3280 мм²", "с отводами", "108");
    const std::string mains =
        wound("не помещается: нужно окно не меньше 3457 мм²", "со вторым напряжением сети", "143");
    const std::string both =
        wound("не помещается: нужно окно не меньше 3633 мм²", "с отводами и вторым напряжением сети", "143");
    const std::string same = wound("помещается", "со вторым напряжением сети", "83");
    const Case cases[] = {
        // 83 × 6 + 500 = 998; 998 / 0,35 = 2851,4; 998 / 3000 = 33,3 %.
        {"w1·q1 + w2·q2 without taps", "", "", "", known("998"), known("2852"), known("33"), known("помещается")},
        {"taps that cannot be wound leave w1", "1", "50", "", known("998"), known("2852"), known("33"),
         known("помещается")},
        // 108 × 6 + 500 = 1148; 1148 / 0,35 = 3280; 1148 / 3000 = 38,3 %.
        {"four taps from 50 V", "4", "50", "", known("1148"), known("3280"), known("38"), known(taps.c_str())},
        // 380 V takes the 2,12 mm wire, 3,5299 mm²: 83 × 6 + 60 × 3,5299 + 500 = 1209,8;
        // 1209,8 / 0,35 = 3456,5; 1209,8 / 3000 = 40,3 %.
        {"380 V besides", "", "", "380", known("1210"), known("3457"), known("40"), known(mains.c_str())},
        // 108 × 6 + 35 × 3,5299 + 500 = 1271,5; 1271,5 / 0,35 = 3632,8; 1271,5 / 3000 = 42,4 %.
        {"taps and 380 V", "4", "50", "380", known("1272"), known("3633"), known("42"), known(both.c_str())},
        // 83 × 221 / 220 = 83,4: the same 83 turns of 6 mm².
        {"221 V winds the same turns", "", "", "221", known("998"), known("2852"), known("33"), known(same.c_str())},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input = runA();
        input.typed.tapCount = c.taps;
        input.typed.lowestTapVoltage = c.lowest;
        input.typed.secondMainsVoltage = c.secondMains;
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, "copper_area"), c.copper);
        EXPECT_EQ(at(out, "window_area_needed"), c.needed);
        EXPECT_EQ(at(out, "fill_percent"), c.percent);
        EXPECT_EQ(at(out, "fill"), c.verdict);
    }
}

TEST(CheckDesign, FillOfTheWindowForRodAndToroid) {
    struct Case {
        const char *name;
        tremira::calc::Int16 coreType;
        const char *width, *height, *factor;
        Shown needed, window, percent, verdict;
    };
    const Case cases[] = {
        {"rod 40 x 60 is too small", 0, "40", "60", "0,35", known("2852"), known("2400"), known("42"),
         known("не помещается: нужно окно не меньше 2852 мм²")},
        {"window in tenths of a millimetre", 0, "47,6", "60", "0,35", known("2852"), known("2856"), known("35"),
         known("помещается")},
        {"toroid 60 mm is too small", 1, "60", "", "0,35", known("2852"), known("2827"), known("35"),
         known("не помещается: нужно окно не меньше 2852 мм², внутренний диаметр не меньше 60,3 мм")},
        {"toroid 61 mm fits, height unread", 1, "61", "abc", "0,35", known("2852"), known("2922"), known("34"),
         known("помещается")},
        {"list index -1 counts as a rod core, empty fill factor as 0,35", -1, "50", "60", "", known("2852"),
         known("3000"), known("33"), known("помещается")},
        {"fill factor of a hundredth", 0, "50", "60", "0,01", known("99800"), known("3000"), known("33"),
         known("не помещается: нужно окно не меньше 99800 мм²")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input = runA();
        input.design.coreType = c.coreType;
        input.typed.windowWidth = c.width;
        input.typed.windowHeight = c.height;
        input.typed.fillFactor = c.factor;
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, "copper_area"), known("998"));
        EXPECT_EQ(at(out, "window_area_needed"), c.needed);
        EXPECT_EQ(at(out, "window_area"), c.window);
        EXPECT_EQ(at(out, "fill_percent"), c.percent);
        EXPECT_EQ(at(out, "fill"), c.verdict);
    }
}

TEST(CheckDesign, WireIsTheSmallestNominalSizeOrParallelStrandsAbove5mm) {
    struct Case {
        tremira::calc::Int16 section;
        Shown diameter, nominal;
    };
    const Case cases[] = {
        {6, known("2,764"), known("2,80")},      {1, known("1,128"), known("1,18")},
        {10, known("3,568"), known("3,75")},     {19, known("4,918"), known("5,00")},
        {20, known("5,046"), known("3 × 3,00")}, {32, known("6,383"), known("4 × 3,35")},
        {40, known("7,136"), known("5 × 3,35")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.section);
        CheckInput input = runA();
        input.results.q1 = c.section;
        input.results.q2 = c.section;
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, "wire_I_diameter"), c.diameter);
        EXPECT_EQ(at(out, "wire_I"), c.nominal);
        EXPECT_EQ(at(out, "wire_II_diameter"), c.diameter);
        EXPECT_EQ(at(out, "wire_II"), c.nominal);
    }
}

CheckInput withoutTaps(std::string_view secondMains) {
    CheckInput input = everyField();
    input.typed.tapCount = input.typed.lowestTapVoltage = {};
    input.typed.secondMainsVoltage = secondMains;
    return input;
}

// The order of work names the plan's own wires and leads. Run A with four taps from 50 V and
// 380 V: turns 1–108 of 2,80 (6 mm²), 109–143 of 2,12 (3,49 mm² sized up), leads after the taps
// 108, 98, 90, 83 and at 143, winding II 25 turns of three strands of 3,00. Without taps and a
// second mains: the 83 turns of 2,80 and no leads but the end; 380 V without taps brings out the
// end of 220 V at 83 as well as 143.
TEST(CheckDesign, TheOrderOfWorkNamesThePlansWiresAndLeads) {
    struct Case {
        const char *name;
        CheckInput input;
        std::vector<std::string> steps;  // a piece of each step, in order
    };
    const Case cases[] = {
        {"taps and 380 V",
         everyField(),
         {"1. Обмотку I мотают на стержень слоями от стержня наружу; её начало — внутренний вывод. Витки 1–108: провод "
          "2,80, витки 109–143: провод 2,12.",
          "2. Выводы делают петлёй, не разрезая провод, после витков 83, 90, 98, 108, 143 ",
          "3. Между обмотками I и II",
          "4. Обмотку II мотают поверх изоляции: 25 вит., провод 3 × 3,00, жилы кладут рядом", "5. Сердечник"}},
        {"neither",
         withoutTaps({}),
         {"Витки 1–83: провод 2,80.", "2. Конец обмотки I выводят наружу", "3. ", "4. ", "5. "}},
        {"380 V without taps: the end of 220 V comes out too",
         withoutTaps("380"),
         {"1. ", "2. Выводы делают петлёй, не разрезая провод, после витков 83, 143 ", "3. ", "4. ", "5. "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FigureSection order = CheckDesign(c.input).workOrder;
        ASSERT_EQ(order.rows.size(), c.steps.size());
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_NE(order.rows[i].text.find(c.steps[i]), std::string::npos) << order.rows[i].text;
    }
}

TEST(CheckDesign, NoLoadVoltageIsWarnedAbove80VAndBelowTheStrikeMargin) {
    struct Case {
        tremira::calc::Int16 output, current;
        Shown load, ratio, verdict;
    };
    const char *kTooHigh = "выше 80 В: опасно (в условиях повышенной опасности не выше 48 В)";
    const Case cases[] = {
        {65, 160, known("26,4"), known("2,46"), known("в норме")},  // Run A
        {80, 160, known("26,4"), known("3,03"), known("в норме")},
        {85, 160, known("26,4"), known("3,22"), known(kTooHigh)},
        {45, 160, known("26,4"), known("1,7"), known("ниже 47,52 В (1,8 × 26,4 В): дуга зажигается ненадёжно")},
        {54, 250, known("30"), known("1,8"), known("в норме")},
        {53, 250, known("30"), known("1,77"), known("ниже 54 В (1,8 × 30 В): дуга зажигается ненадёжно")},
        {90, 2000, known("100"), known("0,9"),
         known("выше 80 В: опасно (в условиях повышенной опасности не выше 48 В), ниже 180 В (1,8 × 100 В): "
               "дуга зажигается ненадёжно")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.output) + " V at " + std::to_string(c.current) + " A");
        CheckInput input = runA();
        input.design.outputVoltage = c.output;
        input.design.weldingCurrent = c.current;
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, "load_voltage"), c.load);
        EXPECT_EQ(at(out, "strike_ratio"), c.ratio);
        EXPECT_EQ(at(out, "voltage"), c.verdict);
    }
}

TEST(CheckDesign, TestWindingCorrectsTheTurnsAndShowsTheActualInduction) {
    constexpr const char *kNormal = "в норме";
    constexpr const char *kSaturated = "не меньше 1,9 Тл: сталь в насыщении";
    struct Case {
        const char *turns, *voltage;
        Shown k, w1, w2, b;
        const char *verdict;
    };
    // B′ = K′ / (4,44 × 50 × 84,672 × 0,95 × 10⁻⁴) = K′ / 1,78573 T at 50 Hz.
    const Case cases[] = {
        {"10", "24", known("2,4"), known("92"), known("27"), known("1,34"), kNormal},  // on Run A
        {"10", "30", known("3"), known("73"), known("22"), known("1,68"),
         "не меньше 1,6 Тл: обычная сталь может насыщаться"},
        {"10", "36", known("3,6"), known("61"), known("18"), known("2,02"), kSaturated},
        // 220 / 8 = 27,5 and 220 / 88 = 2,5: halves go to the even number.
        {"1", "8", known("8"), known("28"), known("8"), known("4,48"), kSaturated},
        {"1", "88", known("88"), known("2"), known("1"), known("49,28"), kSaturated},
        {"4", "10,5", known("2,625"), known("84"), known("25"), known("1,47"), kNormal},
        {"0,5", "1", known("2"), known("110"), known("32"), known("1,12"), kNormal},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.turns) + " turns, " + c.voltage + " V");
        CheckInput input = runA();
        input.typed.testTurns = c.turns;
        input.typed.testVoltage = c.voltage;
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, "test_K"), c.k);
        EXPECT_EQ(at(out, "test_W1"), c.w1);
        EXPECT_EQ(at(out, "test_W2"), c.w2);
        EXPECT_EQ(at(out, "test_B"), c.b);
        EXPECT_EQ(at(out, "test_induction"), known(c.verdict));
    }
}

// Each bad text names itself in place of the first figure it makes impossible, and leaves
// the figures that do not need it alone; at the edges of what the check accepts a figure that
// would read 0 although the quantity cannot be 0, a percentage past 999 or a number in exponent
// form is a short message.
TEST(CheckDesign, BadOrExtremeInputGivesAShortMessageInPlaceOfTheFigure) {
    const auto set = [](std::string_view TypedFields::*field, const char *text) {
        return [=](CheckInput &i) { i.typed.*field = text; };
    };
    const auto sides = [](const char *width, const char *height) {
        return [=](CheckInput &i) {
            i.typed.windowWidth = width;
            i.typed.windowHeight = height;
        };
    };
    const auto testWinding = [](const char *turns, const char *voltage) {
        return [=](CheckInput &i) {
            i.typed.testTurns = turns;
            i.typed.testVoltage = voltage;
        };
    };
    const auto toroid = [](const char *diameter) {
        return [=](CheckInput &i) {
            i.design.coreType = 1;
            i.typed.windowWidth = diameter;
        };
    };
    const FigureCase cases[] = {
        {"empty width", sides("", "60"), "window_area", message("ширина окна: не задано")},
        {"lone comma", sides(",", "60"), "window_area", message("ширина окна: не число")},
        {"zero width", sides("0", "60"), "fill", message("ширина окна: нужно больше нуля")},
        {"toroid without diameter", toroid(""), "window_area", message("внутренний диаметр: не задано")},
        {"fill factor zero", set(&TypedFields::fillFactor, "0"), "window_area_needed",
         message("коэффициент заполнения: нужно больше нуля")},
        {"fill factor under a hundredth", set(&TypedFields::fillFactor, "0,009"), "window_area_needed",
         message("коэффициент заполнения: нужно не меньше 0,01")},
        {"test voltage missing", testWinding("10", ""), "test_K", message("напряжение пробной обмотки: не задано")},
        {"test turns zero", testWinding("0", "24"), "test_K", message("витки пробной обмотки: нужно больше нуля")},
        {"no test winding", testWinding("", ""), "test_K", message("пробная обмотка не задана")},
        {"corrected turns beyond 32767", testWinding("1000000", "1"), "test_W1", message("слишком много витков")},
        {"0,01 x 0,01 window: area", sides("0,01", "0,01"), "window_area", message("меньше 1 мм²")},
        {"0,01 x 0,01 window: fill", sides("0,01", "0,01"), "fill_percent", message("больше 999 %")},
        {"fill of 999 %", sides("10", "9,99"), "fill_percent", known("999")},
        {"fill of 1000 %", sides("10", "9,98"), "fill_percent", message("больше 999 %")},
        {"1 x 1 km window: area", sides("1000000", "1000000"), "window_area", known("1000000000000")},
        {"1 x 1 m window: fill", sides("1000", "1000"), "fill_percent", message("меньше 1 %")},
        {"Run A: volts per turn", testWinding("", ""), "K", known("2,637")},
        {"tiny core: volts per turn",
         [](CheckInput &i) {
             i.design.coreSection = 0.00001F;
             i.design.induction = 0.00001F;
         },
         "K", message("меньше 0,001 В")},
        {"1 V at 32767 A: strike ratio",
         [](CheckInput &i) {
             i.design.outputVoltage = 1;
             i.design.weldingCurrent = 32767;
         },
         "strike_ratio", message("меньше 0,01")},
        {"1 turn at 32767 V: w1'", testWinding("1", "32767"), "test_W1", message("меньше одного витка")},
        {"1 turn at 32767 V: B'", testWinding("1", "32767"), "test_B", known("18349,33")},
        {"1000000 turns at 0,000001 V: K'", testWinding("1000000", "0,000001"), "test_K", message("меньше 0,001 В")},
        {"1000000 turns at 0,000001 V: B'", testWinding("1000000", "0,000001"), "test_B", message("меньше 0,01 Тл")},
        {"1000000 V on 0,000001 turn of a tiny core: B'",
         [](CheckInput &i) {
             i.design.coreSection = 0.0001F;
             i.typed.testTurns = "0,000001";
             i.typed.testVoltage = "1000000";
         },
         "test_B", message("слишком большое число")},
    };
    const CheckOutcome good = CheckDesign(runA());
    for (const FigureCase &c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input = runA();
        c.change(input);
        const CheckOutcome out = CheckDesign(input);
        EXPECT_EQ(at(out, c.key), c.expected);
        EXPECT_EQ(at(out, "wire_II"), at(good, "wire_II"));
    }
}

// Every mix of the smallest and largest texts the check accepts, in the window, the test
// winding and the core: no figure reads 0 or a number in exponent form, no fill runs past 999 %.
TEST(CheckDesign, NoFigureIsImpossibleAtTheEdgesOfTheAcceptedInputs) {
    const char *const edges[] = {"0,000001", "0,01", "1", "32767", "1000000"};
    for (const char *width : edges)
        for (const char *height : edges)
            for (const char *turns : edges)
                for (const char *voltage : edges)
                    for (const char *coreSection : edges) {
                        CheckInput input = runA();
                        input.typed.windowWidth = width;
                        input.typed.windowHeight = height;
                        input.typed.testTurns = turns;
                        input.typed.testVoltage = voltage;
                        input.design.coreSection = *tremira::calc::ParseSingle(coreSection);
                        for (const FigureSection &section : CheckDesign(input).check) {
                            for (const FigureRow &row : section.rows) {
                                // An input shows the value typed, in any form.
                                if (!row.known || row.format.shown == tremira::calc::Shown::Input) continue;
                                SCOPED_TRACE(std::string(row.format.key) + " for " + width + " x " + height + " mm, " +
                                             turns + " turns at " + voltage + " V, core " + coreSection);
                                EXPECT_NE(row.text, "0");
                                EXPECT_EQ(row.text.find('E'), std::string::npos) << row.text;
                                if (row.format.key == "fill_percent") {
                                    EXPECT_LE(std::stol(row.text), 999);
                                }
                            }
                        }
                    }
}

// A typed field is read once: the check names the field in its message, the plan, whose
// captions name it, gives the words alone, and takes any number out of range as out of range.
TEST(CheckDesign, EachTypedFieldIsReadOnceForTheCheckAndThePlan) {
    struct Case {
        std::string_view TypedFields::*field;
        std::string_view text;
        std::string_view checkKey;  // empty: the check does not read the field
        Shown check;
        std::string_view planKey;
        Shown plan;
    };
    const std::string kFourHundredNines(400, '9');
    const Shown kNone{};
    const Case cases[] = {
        {&TypedFields::windowWidth, "abc", "window_area", message("ширина окна: не число"), "windings_fit",
         message("не число")},
        {&TypedFields::windowWidth, "10000000", "window_area", message("ширина окна: слишком большое число"),
         "windings_fit", message("вне разумных пределов")},
        {&TypedFields::windowWidth, kFourHundredNines, "window_area", message("ширина окна: слишком большое число"),
         "windings_fit", message("вне разумных пределов")},
        {&TypedFields::windowHeight, "1,2,3", "window_area", message("высота окна: не число"), "t_I",
         message("не число")},
        {&TypedFields::windowHeight, "0,0000001", "window_area", message("высота окна: слишком малое число"), "t_I",
         message("вне разумных пределов")},
        {&TypedFields::fillFactor, "1,5", "window_area_needed", message("коэффициент заполнения: нужно не больше 1"),
         "t_I", message("вне разумных пределов")},
        // (108 × 6 + 500) / 0,4 = 2870; t₁ = 108 × 6 / 0,4 / 60 = 27.
        {&TypedFields::fillFactor, " 0,4 ", "window_area_needed", known("2870"), "t_I", known("27")},
        {&TypedFields::legWidth, "-70", {}, kNone, "S0", message("вне разумных пределов")},
        {&TypedFields::legDepth, "1e5", {}, kNone, "S0", message("не число")},
        {&TypedFields::tapCount, "4,5", {}, kNone, "tap_1", message("вне разумных пределов")},
        {&TypedFields::tapCount, "4,0", {}, kNone, "tap_4", known("83 вит. / 66,3 В / 1,48 Тл")},
        {&TypedFields::lowestTapVoltage, "", {}, kNone, "tap_1", message("не задано")},
        {&TypedFields::secondMainsVoltage, "99999999999", {}, kNone, "W1_2", message("вне разумных пределов")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.planKey) + " of \"" + std::string(c.text) + "\"");
        CheckInput input = runA();
        input.typed.legWidth = "70";
        input.typed.legDepth = "121";
        input.typed.tapCount = "4";
        input.typed.lowestTapVoltage = "50";
        input.typed.*c.field = c.text;
        const CheckOutcome out = CheckDesign(input);
        if (!c.checkKey.empty()) {
            EXPECT_EQ(at(out, c.checkKey), c.check);
        }
        EXPECT_EQ(at(out, c.planKey), c.plan);
    }
}

// The inputs show what the calculation used: the usual fill factor for a blank one, a number as
// the program writes it, or the words of what is wrong, which the caption beside them names.
TEST(CheckDesign, InputRowsShowTheValueUsed) {
    struct Case {
        std::string_view TypedFields::*field;
        std::string_view text;
        std::string_view name;
        Shown shown;
    };
    const Case cases[] = {
        {&TypedFields::fillFactor, "", "fillFactor", known("0,35")},
        {&TypedFields::fillFactor, "  ", "fillFactor", known("0,35")},
        {&TypedFields::fillFactor, " 0,40 ", "fillFactor", known("0,4")},
        {&TypedFields::windowWidth, "abc", "windowWidth", message("не число")},
        {&TypedFields::testTurns, "", "testTurns", message("не задано")},
        {&TypedFields::legDepth, "121,0", "legDepth", known("121")},
        {&TypedFields::tapCount, "4,5", "tapCount", message("вне разумных пределов")},
        {&TypedFields::secondMainsVoltage, "-380", "secondMainsVoltage", message("вне разумных пределов")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " of \"" + std::string(c.text) + "\"");
        CheckInput input = runA();
        input.typed.*c.field = c.text;
        EXPECT_EQ(at(CheckDesign(input), c.name, true), c.shown);
    }
}

// The window finds a row by its name and tremira-calc by its column: each is one row's alone,
// and a row shown beside a caption has one.
TEST(CheckDesign, RowsHaveUniqueNamesAndKeysAndCaptions) {
    for (const CheckInput &input : {runA(), everyField(), everyField(tremira::calc::kToroidIndex)}) {
        SCOPED_TRACE(input.design.coreType);
        const CheckOutcome out = CheckDesign(input);
        std::set<std::string_view> names, keys;
        for (const FigureRow *row : rowsOf(out)) {
            SCOPED_TRACE(row->format.name);
            EXPECT_FALSE(row->format.name.empty());
            EXPECT_TRUE(names.insert(row->format.name).second);
            EXPECT_TRUE(row->format.key.empty() || keys.insert(row->format.key).second) << row->format.key;
            const tremira::calc::Shown shown = row->format.shown;
            if (shown == tremira::calc::Shown::Answer || shown == tremira::calc::Shown::Input) {
                EXPECT_FALSE(row->format.caption.empty());
            }
        }
    }
}

// A part of the plan, a measurement or a choke core nobody typed leaves its columns empty; one typed
// wrong says what is wrong.
TEST(CheckDesign, OnlyTheUntypedOptionalPartsAreNotAsked) {
    const std::vector<std::string_view> taps{"tap_1", "tap_2", "tap_3", "tap_4", "tap_5", "tap_6", "tap_7", "tap_8"};
    const std::vector<std::string_view> secondWire{"outerTurnsI",  "meanTurnIOuter", "turns_I_2",  "q_I_2",
                                                   "outerLengthI", "buy_I_2",        "mass_I_2",   "L_I_2_all",
                                                   "buy_I_2_all",  "layer_I_2",      "layers_I_2", "outerToBuyI"};
    const std::vector<std::string_view> mains{"secondMainsTurns",
                                              "q1_2",
                                              "wire1_2",
                                              "lowerMainsTurns",
                                              "higherMainsTurns",
                                              "secondMainsCurrent",
                                              "secondMainsBreaker",
                                              "secondSocketNote"};
    const std::vector<std::string_view> measured{"measuredReactance"};
    const std::vector<std::string_view> choke{
        "chokeTurns",       "chokeGap",          "chokeBuild",        "chokeMeanTurn",    "chokeLength",
        "chokeResistance",  "chokeMass",         "chokeFit",          "chokeInduction",   "chokeInductionVerdict",
        "chokeCoreMass",    "chokeCoreLoss",     "chokeCopperLoss",   "chokeSurface",     "chokeDutyCycle",
        "chokeCurrentAt60", "chokeCurrentAt100", "chokeTimeConstant", "chokeTimeFromCold"};
    struct Case {
        const char *name;
        std::string_view taps, secondMains, measuredCurrent, chokeLeg;
        std::vector<std::vector<std::string_view>> notAsked;
    };
    const Case cases[] = {
        {"nothing typed", "", "", "", "", {taps, secondWire, mains, measured, choke}},
        {"taps alone", "4", "", "", "", {secondWire, mains, measured, choke}},
        {"taps, 380 V, a measurement and a choke core", "4", "380", "125", "50", {}},
        {"221 V needs no second wire", "", "221", "125", "50", {taps, secondWire}},
        {"typed wrong", "1", "abc", "abc", "abc", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input = everyField();
        input.typed.tapCount = c.taps;
        input.typed.secondMainsVoltage = c.secondMains;
        input.typed.measuredCurrent = c.measuredCurrent;
        if (c.measuredCurrent.empty()) input.typed.measuredTurns = "";
        input.typed.chokeLegWidth = c.chokeLeg;
        if (c.chokeLeg.empty()) {
            input.typed.chokeLegDepth = input.typed.chokeWindowWidth = input.typed.chokeWindowHeight = "";
        }
        std::set<std::string_view> notAsked, expected;
        const CheckOutcome out = CheckDesign(input);
        for (const FigureRow *row : rowsOf(out)) {
            if (!row->asked) notAsked.insert(row->format.name);
        }
        for (const auto &part : c.notAsked) expected.insert(part.begin(), part.end());
        EXPECT_EQ(notAsked, expected);
    }
}

TEST(CheckDesign, ADesignWithoutResultsStillGivesWhatItsInputsAllow) {
    CheckInput input = runA();
    input.results = {};
    input.design.induction = 0;
    const CheckOutcome out = CheckDesign(input);
    EXPECT_EQ(at(out, "K"), message("макс. индукция: нужно больше нуля"));
    EXPECT_EQ(at(out, "copper_area"), message("витки обмотки I: нужно больше нуля"));
    EXPECT_EQ(at(out, "fill"), message("витки обмотки I: нужно больше нуля"));
    EXPECT_EQ(at(out, "window_area"), known("3000"));
    EXPECT_EQ(at(out, "wire_I"), message("сечение провода обмотки I: нужно больше нуля"));
    EXPECT_EQ(at(out, "wire_II_diameter"), message("сечение провода обмотки II: нужно больше нуля"));
    EXPECT_EQ(at(out, "strike_ratio"), known("2,46"));
}

}  // namespace
