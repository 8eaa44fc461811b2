// The plan's rows as the window, the sheet and tremira-calc show them: numbers to their last
// place, the reasons' words, the verdicts, the taps and the supply. Run A's plan figures are
// those worked out by hand in the plan's own tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "calc/design_check.h"

namespace tremira::calc {
namespace {

TEST(PlanFigures, NumbersToTheirLastPlaceOrWhyNot) {
    struct Case {
        Figure<double> figure;
        int decimals;
        SmallFigure small;
        const char *text;
    };
    constexpr SmallFigure kBare = SmallFigure::BareStep;
    const Case cases[] = {
        {84.7, 1, kBare, "84,7"},
        {0.0132523, 4, kBare, "0,0133"},
        {41.68, 0, kBare, "42"},
        {0.04, 1, kBare, "меньше 0,1"},
        {0.0004, 3, SmallFigure::NamesUnit, "меньше 0,001 В"},
        {1e15, 1, kBare, "слишком большое число"},
        {NoFigure::NotGiven, 1, kBare, "не задано"},
        {NoFigure::OutOfRange, 1, kBare, "вне разумных пределов"},
        {NoFigure::DoesNotFit, 1, kBare, "не помещается"},
        {NoFigure::NotBelowOutputVoltage, 1, kBare, "нижнее напряжение отводов не ниже выходного"},
        {NoFigure::NoneInSeries, 0, kBare, "больше 125 А: автомата этого ряда нет"},
        {Reason{NoFigure::NotANumber, "ширина окна"}, 0, kBare, "ширина окна: не число"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        RowFormat format;
        format.unit = " В";
        format.decimals = c.decimals;
        format.small = c.small;
        EXPECT_EQ(NumberRow(format, c.figure).text, c.text);
    }
}

// Run A with legs of 70 × 121 mm, four taps from 50 V and 380 V besides.
CheckInput planOfRunA() {
    CheckInput input;
    input.design = {220, 65, 160, 84.672F, 1.42F, 0, Material::Copper, Material::Copper};
    input.results = {10400, 83, 25, 6, 20, 6272, 48.19277F};
    input.typed = {"50", "60", "0,35", "", "", "70", "121", "4", "50", "380"};
    return input;
}

TEST(PlanFigures, RowsOfRunA) {
    const CheckOutcome out = CheckDesign(planOfRunA());
    const std::pair<std::string_view, std::string_view> expected[] = {
        {"S0", "84,7"},
        {"S0_vs_S", "совпадает с S (в пределах 5 %)"},
        {"t_I", "36,7"},  // (108 × 6 + 35 × 3,5299) / 0,35 / 60
        {"windings_fit", "не помещается"},
        {"room_left", "не помещается"},  // 50 − 36,74 − 23,81 mm
        {"MLT_I", "478,9"},              // 382 + π × 30,857
        {"turns_I", "1–108"},
        {"q_I", "6"},
        {"L_I", "51,7"},
        {"buy_I", "57"},
        {"mass_I", "3,03"},
        {"layer_I", "20"},  // 60 / 2,880
        {"layers_I", "6"},
        {"MLT_I_2", "594,4"},  // 382 + π × (2 × 30,857 + 5,883)
        {"turns_I_2", "109–143"},
        {"q_I_2", "3,53"},
        {"L_I_2", "20,8"},
        {"buy_I_2", "23"},
        {"mass_I_2", "0,72"},
        {"R_I", "0,1159"},  // 0,0175 × 83 × 478,94 / 1000 / 6
        // 17,19 m of each of the 3 strands of 3,00 mm, 19 m to buy of each.
        {"L_II", "17,2"},
        {"buy_II", "19"},
        {"L_II_all", "51,6"},
        {"buy_II_all", "57"},
        {"layer_II", "6"},  // 60 / (3 × 3,083)
        {"layers_II", "5"},
        {"mass_II", "3,36"},
        {"R_II", "0,015"},
        {"losses", "654"},
        {"tap_1", "108 вит. / 50,9 В / 1,14 Тл"},
        {"tap_4", "83 вит. / 66,3 В / 1,48 Тл"},
        {"tap_5", ""},
        {"breaker", "50"},
        {"supply", "не от бытовой розетки (до 16 А): нужна отдельная линия"},
        {"W1_2", "143"},
        {"q1_2", "3,53"},  // 48,19 × 220 / 380 / 8 = 3,49 mm²: the 2,12 mm wire
        {"wire1_2", "2,12"},
        {"I1_2", "27,9"},
        {"breaker_2", "32"},
    };
    for (const auto &[key, text] : expected) {
        SCOPED_TRACE(key);
        const FigureRow *row = FindRow(out.plan, key);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text, text);
    }
}

const FigureSection &sectionNamed(const std::vector<FigureSection> &sections, std::string_view name) {
    return *std::ranges::find(sections, name, &FigureSection::name);
}

// The windings' table a builder winds from: each wire with its turns, the round wire to buy, the
// metres of each strand and of all, the layers. Winding II's 25 turns of 3 × 3,00 are 17,2 m of
// each strand, 19 m to buy of each, 3 × 19 = 57 m of 3,00 wire.
TEST(PlanFigures, WindingsTableOfRunA) {
    const CheckOutcome out = CheckDesign(planOfRunA());
    const FigureTable &table = sectionNamed(out.plan, "planWire").table;
    const std::vector<std::vector<std::string>> expected{
        {"I: 1–108", "2,80", "6", "51,7", "51,7", "57", "3,03", "0,1509", "20", "6"},
        {"I: 109–143", "2,12", "3,53", "20,8", "20,8", "23", "0,72", "0,1031", "27", "2"},
        {"II: 1–25", "3 × 3,00", "20", "17,2", "51,6", "57 (3 × 19)", "3,36", "0,015", "6", "5"},
    };
    EXPECT_EQ(table.rows, expected);
    EXPECT_EQ(table.headers.size(), expected.front().size());
}

// The row named `name` in `sections`; notes have no column to find them by.
const FigureRow *rowNamed(const std::vector<FigureSection> &sections, std::string_view name) {
    for (const FigureSection &section : sections) {
        for (const FigureRow &row : section.rows) {
            if (row.format.name == name) return &row;
        }
    }
    return nullptr;
}

TEST(PlanFigures, VerdictsOfTheCoreTheTapsAndTheSupply) {
    struct Case {
        const char *name;
        void (*change)(CheckInput &);
        std::string_view row, text;
    };
    const Case cases[] = {
        {"70 × 100 mm give less", [](CheckInput &i) { i.typed.legDepth = "100"; }, "sectionMatch",
         "меньше S более чем на 5 %, расчёт сделан для S"},
        {"70 × 130 mm give more", [](CheckInput &i) { i.typed.legDepth = "130"; }, "sectionMatch",
         "больше S более чем на 5 %, расчёт сделан для S"},
        {"a wider window holds both", [](CheckInput &i) { i.typed.windowWidth = "61"; }, "fitVerdict", "помещается"},
        {"10 A from a socket", [](CheckInput &i) { i.results.i1 = 10; }, "socketNote", "бытовая розетка (до 16 А)"},
        {"four different taps", [](CheckInput &) {}, "tapsNote", "От наибольшего числа витков к w₁:"},
        {"turns both mains voltages use", [](CheckInput &) {}, "lowerMainsTurns", "1–108: 6 мм², провод 2,80"},
        {"turns past the taps for 380 V alone", [](CheckInput &) {}, "higherMainsTurns",
         "109–143 (только на 380 В): 3,53 мм², провод 2,12"},
        // 127 V ends at 48 turns, of 3,75 mm wire for 10,4 mm²; the taps for 220 V run on to 108.
        {"turns past 127 V for the design's 220 V alone", [](CheckInput &i) { i.typed.secondMainsVoltage = "127"; },
         "higherMainsTurns", "49–108 (только на 220 В): 6 мм², провод 2,80"},
        {"winding II bought as strands", [](CheckInput &) {}, "toBuyII", "57 м (3 провода 3,00 по 19 м), 3,36 кг"},
        // 50 × 60 mm: 50 − 23,714 − 23,810.
        {"room left beside a rod core's windings",
         [](CheckInput &i) { i.typed.tapCount = i.typed.secondMainsVoltage = ""; }, "roomLeft", "2,5"},
        // 86, 85, 85, 84, 84, 84, 83 and 83 turns.
        {"eight taps from 63 V on four turns",
         [](CheckInput &i) {
             i.typed.tapCount = "8";
             i.typed.lowestTapVoltage = "63";
         },
         "tapsNote", "От наибольшего числа витков к w₁ (отводы с одинаковым числом витков даны один раз: 4 из 8):"},
        // 9 and 4 turns at 220 V, 90 V on 560 cm²: the design's own tap gives 220 × 4 / 9 V
        // and 220 / (9 × 4,44 × 50 × 560 × 0,95 × 10⁻⁴) T at 50 Hz.
        {"a hot tap",
         [](CheckInput &i) {
             i.design.outputVoltage = 90;
             i.design.coreSection = 560;
             i.results.w1 = 9;
             i.results.w2 = 4;
             i.typed.tapCount = "2";
             i.typed.lowestTapVoltage = "60";
         },
         "tap_2", "9 вит. / 97,8 В / 2,07 Тл / выше 80 В / не меньше 1,9 Тл: насыщение"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input = planOfRunA();
        c.change(input);
        const CheckOutcome out = CheckDesign(input);
        const FigureRow *row = rowNamed(out.plan, c.row);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text, c.text);
    }
}

}  // namespace
}  // namespace tremira::calc
