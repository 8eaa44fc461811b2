// The words of the winding plan as the window, the sheet and tremira-calc show them.

#include <gtest/gtest.h>

#include "calc/winding_plan_texts.h"

namespace tremira::calc {
namespace {

TEST(WindingPlanTexts, FiguresInTheProgramsFormatOrWhyNot) {
    struct Case {
        Figure<double> figure;
        int decimals;
        const char *text;
    };
    const Case cases[] = {
        {84.7, 1, "84,7"},
        {0.0132523, 4, "0,0133"},
        {41.68, 0, "42"},
        {595.93, 0, "596"},
        {0.04, 1, "меньше 0,1"},
        {1e15, 1, "слишком большое число"},
        {NoFigure::NotGiven, 1, "не задано"},
        {NoFigure::NotANumber, 1, "не число"},
        {NoFigure::OutOfRange, 1, "вне разумных пределов"},
        {NoFigure::DoesNotFit, 1, "не помещается"},
        {NoFigure::NotBelowOutputVoltage, 1, "нижнее напряжение отводов не ниже выходного"},
        {NoFigure::NoneInSeries, 0, "больше 125 А: автомата этого ряда нет"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FigureText(c.figure, c.decimals), c.text);
    }
}

TEST(WindingPlanTexts, VerdictsAndTaps) {
    struct Case {
        const char *name;
        std::string text, expected;
    };
    const Case cases[] = {
        {"sides within 5 %", SectionMatchText(SectionMatch::WithinTolerance), "совпадает с S (в пределах 5 %)"},
        {"sides give less", SectionMatchText(SectionMatch::SidesGiveLess),
         "меньше S более чем на 5 %, расчёт сделан для S"},
        {"sides give more", SectionMatchText(SectionMatch::SidesGiveMore),
         "больше S более чем на 5 %, расчёт сделан для S"},
        {"fits", FitText(true), "помещается"},
        {"does not fit", FitText(false), "не помещается"},
        {"fit not known", FitText(NoFigure::NotGiven), "не задано"},
        {"span", SpanText({84, 143, 3}), "84–143"},
        {"tap", TapText({108, 50.926, 1.0969, false, false}), "108 вит. / 50,9 В / 1,1 Тл"},
        {"hot tap", TapText({9, 97.778, 1.9901, true, true}),
         "9 вит. / 97,8 В / 1,99 Тл / выше 80 В / не меньше 1,9 Тл: насыщение"},
        {"warnings of a calm tap", TapWarningsText({108, 50.926, 1.0969, false, false}), ""},
        {"warnings of a high tap", TapWarningsText({40, 81.5, 1.2, true, false}), "выше 80 В"},
        {"warnings of a saturated tap", TapWarningsText({60, 70.1, 1.95, false, true}), "не меньше 1,9 Тл: насыщение"},
        {"warnings of a hot tap", TapWarningsText({9, 97.778, 1.9901, true, true}),
         "выше 80 В / не меньше 1,9 Тл: насыщение"},
        {"socket", SupplyText(false), "бытовая розетка (до 16 А)"},
        {"dedicated line", SupplyText(true), "не от бытовой розетки (до 16 А): нужна отдельная линия"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, c.expected);
    }
}

}  // namespace
}  // namespace tremira::calc
