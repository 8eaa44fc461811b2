// The check of a design: fill of the core window, wire sizes, no-load voltage and the test
// winding. Expected figures are worked out by hand from the formulas of the help topic.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/design_check.h"

namespace tremira::calc {
// A failing comparison shows the figure as the window would.
void PrintTo(const CheckFigure &figure, std::ostream *out) {
    *out << (figure.known ? "known \"" : "message \"") << figure.text << '"';
}
}  // namespace tremira::calc

namespace {

using tremira::calc::CheckDesign;
using tremira::calc::CheckFigure;
using tremira::calc::DesignCheckInput;
using tremira::calc::DesignCheckOutcome;

CheckFigure known(const char *text) { return {text, true}; }
CheckFigure message(const char *text) { return {text, false}; }

using Figure = std::function<CheckFigure(const DesignCheckOutcome &)>;

// A change to Run A's check, and what one figure of the outcome shows then.
struct FigureCase {
    const char *name;
    std::function<void(DesignCheckInput &)> change;
    Figure figure;
    CheckFigure expected;
};

// Run A as the calculation gives it, with a 50 × 60 mm window.
DesignCheckInput runA() {
    const tremira::calc::DesignOutcome outcome =
        tremira::calc::CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    DesignCheckInput input;
    input.design = *outcome.inputs;
    input.results = outcome.results;
    input.windowWidth = "50";
    input.windowHeight = "60";
    input.fillFactor = "0,35";
    return input;
}

TEST(CheckDesign, WorkedCheckOfRunA) {
    DesignCheckInput input = runA();
    input.testTurns = "10";
    input.testVoltage = "24";
    const DesignCheckOutcome out = CheckDesign(input);

    EXPECT_EQ(out.voltsPerTurn, known("2,637"));
    EXPECT_EQ(out.copperArea, known("998"));
    EXPECT_EQ(out.neededWindowArea, known("2852"));
    EXPECT_EQ(out.windowArea, known("3000"));
    EXPECT_EQ(out.fillPercent, known("33"));
    EXPECT_EQ(out.fillVerdict, known("помещается"));

    EXPECT_EQ(out.wireI.diameter, known("2,764"));
    EXPECT_EQ(out.wireI.nominal, known("2,80"));
    EXPECT_EQ(out.wireII.diameter, known("5,046"));
    EXPECT_EQ(out.wireII.nominal, known("3 × 3,00"));

    EXPECT_EQ(out.loadVoltage, known("26,4"));
    EXPECT_EQ(out.strikeRatio, known("2,46"));
    EXPECT_EQ(out.voltageVerdict, known("в норме"));

    EXPECT_EQ(out.testVoltsPerTurn, known("2,4"));
    EXPECT_EQ(out.correctedTurnsI, known("92"));
    EXPECT_EQ(out.correctedTurnsII, known("27"));
    EXPECT_EQ(out.actualInduction, known("1,29"));
    EXPECT_EQ(out.inductionVerdict, known("в норме"));
}

TEST(CheckDesign, FillOfTheWindowForRodAndToroid) {
    struct Case {
        const char *name;
        tremira::calc::Int16 coreType;
        const char *width, *height, *factor;
        CheckFigure needed, window, percent, verdict;
    };
    const Case cases[] = {
        {"rod 40 x 60 is too small", 0, "40", "60", "0,35", known("2852"), known("2400"), known("42"),
         known("не помещается: нужно окно не меньше 2852 мм²")},
        {"a looser winding needs less", 0, "40", "60", "0,4", known("2495"), known("2400"), known("42"),
         known("не помещается: нужно окно не меньше 2495 мм²")},
        {"window in tenths of a millimetre", 0, "47,6", "60", "0,35", known("2852"), known("2856"), known("35"),
         known("помещается")},
        {"toroid 60 mm is too small", 1, "60", "", "0,35", known("2852"), known("2827"), known("35"),
         known("не помещается: нужно окно не меньше 2852 мм², внутренний диаметр не меньше 60,3 мм")},
        {"toroid 61 mm fits, height unread", 1, "61", "abc", "0,35", known("2852"), known("2922"), known("34"),
         known("помещается")},
        {"list index -1 counts as a rod core", -1, "50", "60", "0,35", known("2852"), known("3000"), known("33"),
         known("помещается")},
        {"empty fill factor is 0,35", 0, "50", "60", "", known("2852"), known("3000"), known("33"),
         known("помещается")},
        {"blank fill factor is 0,35", 0, "40", "60", "  ", known("2852"), known("2400"), known("42"),
         known("не помещается: нужно окно не меньше 2852 мм²")},
        {"fill factor of a hundredth", 0, "50", "60", "0,01", known("99800"), known("3000"), known("33"),
         known("не помещается: нужно окно не меньше 99800 мм²")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DesignCheckInput input = runA();
        input.design.coreType = c.coreType;
        input.windowWidth = c.width;
        input.windowHeight = c.height;
        input.fillFactor = c.factor;
        const DesignCheckOutcome out = CheckDesign(input);
        EXPECT_EQ(out.copperArea, known("998"));
        EXPECT_EQ(out.neededWindowArea, c.needed);
        EXPECT_EQ(out.windowArea, c.window);
        EXPECT_EQ(out.fillPercent, c.percent);
        EXPECT_EQ(out.fillVerdict, c.verdict);
    }
}

TEST(CheckDesign, WireIsTheSmallestNominalSizeOrParallelStrandsAbove5mm) {
    struct Case {
        tremira::calc::Int16 section;
        CheckFigure diameter, nominal;
    };
    const Case cases[] = {
        {1, known("1,128"), known("1,18")},      {10, known("3,568"), known("3,75")},
        {19, known("4,918"), known("5,00")},     {20, known("5,046"), known("3 × 3,00")},
        {32, known("6,383"), known("4 × 3,35")}, {40, known("7,136"), known("5 × 3,35")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.section);
        DesignCheckInput input = runA();
        input.results->q1 = c.section;
        input.results->q2 = c.section;
        const DesignCheckOutcome out = CheckDesign(input);
        EXPECT_EQ(out.wireI.diameter, c.diameter);
        EXPECT_EQ(out.wireI.nominal, c.nominal);
        EXPECT_EQ(out.wireII.diameter, c.diameter);
        EXPECT_EQ(out.wireII.nominal, c.nominal);
    }
}

TEST(CheckDesign, NoLoadVoltageIsWarnedAbove80VAndBelowTheStrikeMargin) {
    struct Case {
        tremira::calc::Int16 output, current;
        CheckFigure load, ratio, verdict;
    };
    const char *kTooHigh = "выше 80 В: опасно (в условиях повышенной опасности не выше 48 В)";
    const Case cases[] = {
        {80, 160, known("26,4"), known("3,03"), known("в норме")},
        {85, 160, known("26,4"), known("3,22"), known(kTooHigh)},
        {48, 160, known("26,4"), known("1,82"), known("в норме")},
        {45, 160, known("26,4"), known("1,7"), known("ниже 47,52 В (1,8 × 26,4 В): дуга зажигается ненадёжно")},
        {54, 250, known("30"), known("1,8"), known("в норме")},
        {53, 250, known("30"), known("1,77"), known("ниже 54 В (1,8 × 30 В): дуга зажигается ненадёжно")},
        {90, 2000, known("100"), known("0,9"),
         known("выше 80 В: опасно (в условиях повышенной опасности не выше 48 В), ниже 180 В (1,8 × 100 В): "
               "дуга зажигается ненадёжно")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.output) + " V at " + std::to_string(c.current) + " A");
        DesignCheckInput input = runA();
        input.design.outputVoltage = c.output;
        input.design.weldingCurrent = c.current;
        const DesignCheckOutcome out = CheckDesign(input);
        EXPECT_EQ(out.loadVoltage, c.load);
        EXPECT_EQ(out.strikeRatio, c.ratio);
        EXPECT_EQ(out.voltageVerdict, c.verdict);
    }
}

TEST(CheckDesign, TestWindingCorrectsTheTurnsAndShowsTheActualInduction) {
    struct Case {
        const char *turns, *voltage;
        CheckFigure k, w1, w2, b;
        bool saturated;
    };
    const Case cases[] = {
        {"10", "36", known("3,6"), known("61"), known("18"), known("1,94"), true},
        // 220 / 8 = 27,5 and 220 / 88 = 2,5: halves go to the even number.
        {"1", "8", known("8"), known("28"), known("8"), known("4,31"), true},
        {"1", "88", known("88"), known("2"), known("1"), known("47,38"), true},
        {"4", "10,5", known("2,625"), known("84"), known("25"), known("1,41"), false},
        {"0,5", "1", known("2"), known("110"), known("32"), known("1,08"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.turns) + " turns, " + c.voltage + " V");
        DesignCheckInput input = runA();
        input.testTurns = c.turns;
        input.testVoltage = c.voltage;
        const DesignCheckOutcome out = CheckDesign(input);
        EXPECT_EQ(out.testVoltsPerTurn, c.k);
        EXPECT_EQ(out.correctedTurnsI, c.w1);
        EXPECT_EQ(out.correctedTurnsII, c.w2);
        EXPECT_EQ(out.actualInduction, c.b);
        EXPECT_EQ(out.inductionVerdict, known(c.saturated ? "не меньше 1,9 Тл: сталь в насыщении" : "в норме"));
    }
}

// Each bad text names itself in place of the first figure it makes impossible, and leaves
// the figures that do not need it alone.
TEST(CheckDesign, BadInputGivesAShortMessageInPlaceOfTheFigure) {
    const Figure window = [](const DesignCheckOutcome &o) { return o.windowArea; };
    const Figure needed = [](const DesignCheckOutcome &o) { return o.neededWindowArea; };
    const Figure testK = [](const DesignCheckOutcome &o) { return o.testVoltsPerTurn; };
    const Figure w1 = [](const DesignCheckOutcome &o) { return o.correctedTurnsI; };
    const std::string kFourHundredNines(400, '9');
    const FigureCase cases[] = {
        {"empty width", [](DesignCheckInput &i) { i.windowWidth = ""; }, window, message("ширина окна: не задано")},
        {"blank height", [](DesignCheckInput &i) { i.windowHeight = "  "; }, window, message("высота окна: не задано")},
        {"lone comma", [](DesignCheckInput &i) { i.windowWidth = ","; }, window, message("ширина окна: не число")},
        {"two commas", [](DesignCheckInput &i) { i.windowHeight = "1,2,3"; }, window, message("высота окна: не число")},
        {"letters", [](DesignCheckInput &i) { i.windowWidth = "abc"; }, window, message("ширина окна: не число")},
        {"zero width", [](DesignCheckInput &i) { i.windowWidth = "0"; }, window,
         message("ширина окна: нужно больше нуля")},
        {"negative height", [](DesignCheckInput &i) { i.windowHeight = "-60"; }, window,
         message("высота окна: нужно больше нуля")},
        {"huge width", [](DesignCheckInput &i) { i.windowWidth = "10000000"; }, window,
         message("ширина окна: слишком большое число")},
        {"400 digits", [&](DesignCheckInput &i) { i.windowWidth = kFourHundredNines; }, window,
         message("ширина окна: слишком большое число")},
        {"tiny height", [](DesignCheckInput &i) { i.windowHeight = "0,0000001"; }, window,
         message("высота окна: слишком малое число")},
        {"toroid without diameter",
         [](DesignCheckInput &i) {
             i.design.coreType = 1;
             i.windowWidth = "";
         },
         window, message("внутренний диаметр: не задано")},
        {"fill factor above 1", [](DesignCheckInput &i) { i.fillFactor = "1,5"; }, needed,
         message("коэффициент заполнения: нужно не больше 1")},
        {"fill factor zero", [](DesignCheckInput &i) { i.fillFactor = "0"; }, needed,
         message("коэффициент заполнения: нужно больше нуля")},
        {"fill factor under a hundredth", [](DesignCheckInput &i) { i.fillFactor = "0,009"; }, needed,
         message("коэффициент заполнения: нужно не меньше 0,01")},
        {"test voltage missing", [](DesignCheckInput &i) { i.testTurns = "10"; }, testK,
         message("напряжение пробной обмотки: не задано")},
        {"test turns zero",
         [](DesignCheckInput &i) {
             i.testTurns = "0";
             i.testVoltage = "24";
         },
         testK, message("витки пробной обмотки: нужно больше нуля")},
        {"no test winding", [](DesignCheckInput &) {}, testK, message("пробная обмотка не задана")},
        {"corrected turns beyond 32767",
         [](DesignCheckInput &i) {
             i.testTurns = "1000000";
             i.testVoltage = "1";
         },
         w1, message("слишком много витков")},
    };
    const DesignCheckOutcome good = CheckDesign(runA());
    for (const FigureCase &c : cases) {
        SCOPED_TRACE(c.name);
        DesignCheckInput input = runA();
        c.change(input);
        const DesignCheckOutcome out = CheckDesign(input);
        EXPECT_EQ(c.figure(out), c.expected);
        EXPECT_EQ(out.copperArea, good.copperArea);
        EXPECT_EQ(out.wireII.nominal, good.wireII.nominal);
        EXPECT_EQ(out.voltageVerdict, good.voltageVerdict);
    }
}

// Inputs at the edges of what the check accepts: a figure that would read 0 although the
// quantity cannot be 0, a percentage past 999 or a number in exponent form is a short message.
TEST(CheckDesign, ExtremeInputsGiveAShortMessageInsteadOfAnImpossibleFigure) {
    using O = DesignCheckOutcome;
    const auto sides = [](const char *width, const char *height) {
        return [=](DesignCheckInput &i) {
            i.windowWidth = width;
            i.windowHeight = height;
        };
    };
    const auto testWinding = [](const char *turns, const char *voltage) {
        return [=](DesignCheckInput &i) {
            i.testTurns = turns;
            i.testVoltage = voltage;
        };
    };
    const FigureCase cases[] = {
        {"0,01 x 0,01 window: area", sides("0,01", "0,01"), &O::windowArea, message("меньше 1 мм²")},
        {"0,01 x 0,01 window: fill", sides("0,01", "0,01"), &O::fillPercent, message("больше 999 %")},
        {"0,01 x 0,01 window: verdict", sides("0,01", "0,01"), &O::fillVerdict,
         known("не помещается: нужно окно не меньше 2852 мм²")},
        {"fill of 999 %", sides("10", "9,99"), &O::fillPercent, known("999")},
        {"fill of 1000 %", sides("10", "9,98"), &O::fillPercent, message("больше 999 %")},
        {"1 x 1 km window: area", sides("1000000", "1000000"), &O::windowArea, known("1000000000000")},
        {"1 x 1 m window: fill", sides("1000", "1000"), &O::fillPercent, message("меньше 1 %")},
        {"toroid of 0,1 mm",
         [](DesignCheckInput &i) {
             i.design.coreType = 1;
             i.windowWidth = "0,1";
         },
         &O::windowArea, message("меньше 1 мм²")},
        {"tiny core: volts per turn",
         [](DesignCheckInput &i) {
             i.design.coreSection = 0.00001F;
             i.design.induction = 0.00001F;
         },
         &O::voltsPerTurn, message("меньше 0,001 В")},
        {"1 V at 32767 A: strike ratio",
         [](DesignCheckInput &i) {
             i.design.outputVoltage = 1;
             i.design.weldingCurrent = 32767;
         },
         &O::strikeRatio, message("меньше 0,01")},
        {"1 turn at 32767 V: K'", testWinding("1", "32767"), &O::testVoltsPerTurn, known("32767")},
        {"1 turn at 32767 V: w1'", testWinding("1", "32767"), &O::correctedTurnsI, message("меньше одного витка")},
        {"1 turn at 32767 V: w2'", testWinding("1", "32767"), &O::correctedTurnsII, message("меньше одного витка")},
        {"1 turn at 32767 V: B'", testWinding("1", "32767"), &O::actualInduction, known("17643,59")},
        {"1000000 turns at 0,000001 V: K'", testWinding("1000000", "0,000001"), &O::testVoltsPerTurn,
         message("меньше 0,001 В")},
        {"1000000 turns at 0,000001 V: B'", testWinding("1000000", "0,000001"), &O::actualInduction,
         message("меньше 0,01 Тл")},
        {"1000000 V on 0,000001 turn of a tiny core: B'",
         [](DesignCheckInput &i) {
             i.design.coreSection = 0.0001F;
             i.testTurns = "0,000001";
             i.testVoltage = "1000000";
         },
         &O::actualInduction, message("слишком большое число")},
    };
    for (const FigureCase &c : cases) {
        SCOPED_TRACE(c.name);
        DesignCheckInput input = runA();
        c.change(input);
        EXPECT_EQ(c.figure(CheckDesign(input)), c.expected);
    }
}

std::vector<std::pair<const char *, CheckFigure>> figuresOf(const DesignCheckOutcome &o) {
    return {{"K", o.voltsPerTurn},        {"copper", o.copperArea},       {"needed", o.neededWindowArea},
            {"window", o.windowArea},     {"percent", o.fillPercent},     {"fill", o.fillVerdict},
            {"wire I", o.wireI.diameter}, {"wire II", o.wireII.diameter}, {"load", o.loadVoltage},
            {"ratio", o.strikeRatio},     {"voltage", o.voltageVerdict},  {"K'", o.testVoltsPerTurn},
            {"w1'", o.correctedTurnsI},   {"w2'", o.correctedTurnsII},    {"B'", o.actualInduction}};
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
                        DesignCheckInput input = runA();
                        input.windowWidth = width;
                        input.windowHeight = height;
                        input.testTurns = turns;
                        input.testVoltage = voltage;
                        input.design.coreSection = *tremira::calc::ParseSingle(coreSection);
                        for (const auto &[name, figure] : figuresOf(CheckDesign(input))) {
                            if (!figure.known) continue;
                            SCOPED_TRACE(std::string(name) + " for " + width + " x " + height + " mm, " + turns +
                                         " turns at " + voltage + " V, core " + coreSection);
                            EXPECT_NE(figure.text, "0");
                            EXPECT_EQ(figure.text.find('E'), std::string::npos) << figure.text;
                            if (std::string_view(name) == "percent") {
                                EXPECT_LE(std::stol(figure.text), 999);
                            }
                        }
                    }
}

TEST(CheckDesign, AWindowProblemStandsInPlaceOfTheFillAndItsVerdict) {
    DesignCheckInput input = runA();
    input.windowWidth = "0";
    const DesignCheckOutcome out = CheckDesign(input);
    EXPECT_EQ(out.neededWindowArea, known("2852"));
    EXPECT_EQ(out.fillPercent, message("ширина окна: нужно больше нуля"));
    EXPECT_EQ(out.fillVerdict, message("ширина окна: нужно больше нуля"));
}

TEST(CheckDesign, ADesignWithoutResultsStillGivesWhatItsInputsAllow) {
    DesignCheckInput input = runA();
    input.results.reset();
    input.design.induction = 0;
    const DesignCheckOutcome out = CheckDesign(input);
    EXPECT_EQ(out.voltsPerTurn, message("макс. индукция: нужно больше нуля"));
    EXPECT_EQ(out.copperArea, message("витки обмотки I: не задано"));
    EXPECT_EQ(out.fillVerdict, message("витки обмотки I: не задано"));
    EXPECT_EQ(out.windowArea, known("3000"));
    EXPECT_EQ(out.wireI.nominal, message("сечение провода обмотки I: не задано"));
    EXPECT_EQ(out.wireII.diameter, message("сечение провода обмотки II: не задано"));
    EXPECT_EQ(out.strikeRatio, known("2,46"));
}

}  // namespace
