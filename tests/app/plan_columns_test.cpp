// tremira-calc --plan without the executable: the five plan fields after the check's, and the
// winding plan's columns after the check's.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/batch/design_lines.h"
#include "app/batch/plan_columns.h"
#include "tests/app/batch_output.h"

namespace tremira::batch {
namespace {

using Fields = std::array<std::string_view, kPlanFieldCount>;

Fields inOrder(const PlanFields &f) {
    return {f.legWidth, f.legDepth, f.tapCount, f.lowestTapVoltage, f.secondMainsVoltage};
}

TEST(ReadDesignLineWithPlan, TakesUpToFiveFieldsAfterTheChecks) {
    struct Case {
        const char *name;
        std::string_view line;
        bool withPlan;
        LineKind kind;
        std::string_view fillFactor;
        Fields planFields;
    } const cases[] = {
        {"design only", "220;65;160;;Медь;Медь;Стержневой;1,42", true, LineKind::Design, "", {}},
        {"legs only",
         "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121",
         true,
         LineKind::Design,
         "0,35",
         {"70", "121", "", "", ""}},
        {"all five and a closing separator, CR LF",
         "220;65;160;;Медь;Медь;Тор;1,42;120;;;;;40;152;4;50;380;\r",
         true,
         LineKind::Design,
         "",
         {"40", "152", "4", "50", "380"}},
        {"six plan fields stay whole",
         "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19",
         true,
         LineKind::WrongFieldCount,
         "",
         {}},
        {"plan fields without --plan stay whole",
         "220;65;160;;Медь;Медь;Тор;1,42;120;;;;;40",
         false,
         LineKind::WrongFieldCount,
         "",
         {}},
        // Only a number is read from a plan field, and such bytes make none.
        {"a bad byte in a plan field",
         "220;65;160;;Медь;Медь;Тор;1,42;;;;;;\xFF",
         true,
         LineKind::Design,
         "",
         {"\xFF", "", "", "", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignLine line = ReadDesignLine(c.line, true, c.withPlan);
        EXPECT_EQ(line.kind, c.kind);
        if (c.kind != LineKind::Design) continue;
        EXPECT_EQ(line.check.fillFactor, c.fillFactor);
        EXPECT_EQ(inOrder(line.plan), c.planFields);
    }
}

std::string outputOf(const std::vector<std::string_view> &lines) {
    return test::OutputOf(lines, BatchRun::Columns::DesignCheckAndPlan);
}

// The plan's columns come after the design's ten and the check's eighteen.
constexpr std::size_t kColumnsBeforePlan = 28;

std::string planPartOf(std::string_view line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < kColumnsBeforePlan; ++i) start = line.find(';', start) + 1;
    return std::string(line.substr(start, line.find('\n') - start));
}

const std::string kDedicated = "не от бытовой розетки (до 16 А): нужна отдельная линия";

std::string repeated(const std::string &cell, std::size_t count) {
    std::string text = cell;
    for (std::size_t i = 1; i < count; ++i) text += ";" + cell;
    return text;
}

TEST(BatchRunWithPlan, AddsTheWindingPlanColumns) {
    const std::string range = "вне разумных пределов";
    const std::string notGiven = "не задано";
    struct Case {
        const char *name;
        std::string_view line;
        std::string plan;
    } const cases[] = {
        {"run A, the worked plan", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121",
         "84,7;совпадает с S (в пределах 5 %);23,7;23,8;помещается;456,5;605,8;1–83;6;37,9;42;2,22;;;;;;15,1;17;"
         "2,96;0,1105;0,0133;596;;;;;;;;;;;;50;" +
             kDedicated + ";;"},
        // Winding I runs to 108 turns of 6 mm² for the lowest tap, then to 143 of 3 mm² for 380 V.
        {"run A, four taps from 50 V and 380 V", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121;4;50;380",
         "84,7;совпадает с S (в пределах 5 %);35,9;23,8;не помещается;494,6;682,1;1–108;6;53,4;59;3,13;109–143;3;"
         "17,3;20;0,51;17,1;19;3,34;0,1197;0,0149;660;108 вит. / 50,9 В / 1,1 Тл;98 вит. / 56,1 В / 1,21 Тл;"
         "90 вит. / 61,1 В / 1,32 Тл;83 вит. / 66,3 В / 1,43 Тл;;;;;143;3;27,9;50;" +
             kDedicated + ";32;" + kDedicated},
        {"a small leg, 127 V below the design's", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;60;100;;;127",
         "60;меньше S более чем на 5 %, расчёт сделан для S;32,9;23,8;не помещается;423,2;601,2;1–48;10;20,3;23;1,99;"
         "49–83;6;14,8;17;0,87;15;17;2,94;0,0788;0,0132;520;;;;;;;;;48;10;83,48;50;" +
             kDedicated + ";100;" + kDedicated},
        {"run B on a toroid", "220;65;160;;Алюминий;Алюминий;Тор;1,42;120;;;;;40;152",
         "60,8;совпадает с S (в пределах 5 %);9,6;11,4;помещается;414,3;480,4;1–117;10;48,5;54;1,44;;;;;;16,8;19;1,6;"
         "0,1367;0,0148;692;;;;;;;;;;;;50;" +
             kDedicated + ";;"},
        {"no window, three taps", "220;65;160;;Медь;Медь;Стержневой;1,42;;;;;;70;121;3;40,5",
         "84,7;совпадает с S (в пределах 5 %);" + repeated(notGiven, 10) + ";;;;;;" + repeated(notGiven, 6) +
             ";133 вит. / 41,4 В / 0,89 Тл;102 вит. / 53,9 В / 1,16 Тл;83 вит. / 66,3 В / 1,43 Тл;;;;;;;;;50;" +
             kDedicated + ";;"},
        {"bad plan fields", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;abc;121;1;70;0",
         "не число;не число;23,7;23,8;помещается;" + repeated("не число", 7) + ";" + repeated(range, 5) + ";" +
             repeated("не число", 6) + ";" + repeated(range, 11) + ";50;" + kDedicated + ";" + range + ";" + range},
        {"taps from above the no-load voltage", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121;2;70",
         "84,7;совпадает с S (в пределах 5 %);23,7;23,8;помещается;456,5;605,8;1–83;6;37,9;42;2,22;;;;;;15,1;17;2,96;"
         "0,1105;0,0133;596;" +
             repeated("нижнее напряжение отводов не ниже выходного", 8) + ";;;;50;" + kDedicated + ";;"},
        {"refused design", "220;220;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121;4;50;380", repeated("", 38)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string output = outputOf({c.line});
        EXPECT_EQ(planPartOf(output.substr(output.find('\n') + 1)), c.plan);
    }
}

TEST(BatchRunWithPlan, EveryLineHasAsManyColumnsAsTheHeader) {
    const std::string output = outputOf({"220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121;4;50;380",
                                         "220;220;160;;Медь;Медь;Стержневой;1,42", "220;65;160"});
    const std::size_t headerEnd = output.find('\n');
    EXPECT_EQ(planPartOf(output.substr(0, headerEnd)),
              "S0;S0_vs_S;t_I;t_II;windings_fit;MLT_I;MLT_II;turns_I;q_I;L_I;buy_I;mass_I;turns_I_2;q_I_2;L_I_2;"
              "buy_I_2;mass_I_2;L_II;buy_II;mass_II;R_I;R_II;losses;tap_1;tap_2;tap_3;tap_4;tap_5;tap_6;tap_7;"
              "tap_8;W1_2;q1_2;I1_2;breaker;supply;breaker_2;supply_2");
    const auto columns = [](std::string_view line) { return std::count(line.begin(), line.end(), ';'); };
    for (std::size_t start = 0; start < output.size();) {
        const std::size_t end = output.find('\n', start);
        EXPECT_EQ(columns(output.substr(start, end - start)), columns(output.substr(0, headerEnd)));
        start = end + 1;
    }
}

}  // namespace
}  // namespace tremira::batch
