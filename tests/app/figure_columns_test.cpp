// tremira-calc --check, --plan and --weld without the executable: the check's five fields, the
// plan's five and the weld's ten after a design, and the figures' columns after its result line,
// each cell the figure of its column's key. The figures themselves are the calculation's tests'
// job.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/batch/design_lines.h"
#include "tests/app/batch_output.h"

namespace tremira::batch {
namespace {

using Fields = std::array<std::string_view, kCheckFieldCount + kPlanFieldCount + kWeldFieldCount>;

Fields inOrder(const calc::TypedFields &f) {
    return {f.windowWidth,      f.windowHeight,       f.fillFactor,    f.testTurns,
            f.testVoltage,      f.legWidth,           f.legDepth,      f.tapCount,
            f.lowestTapVoltage, f.secondMainsVoltage, f.arrangement,   f.gap,
            f.measuredTurns,    f.measuredCurrent,    f.chokeLegWidth, f.chokeLegDepth,
            f.chokeWindowWidth, f.chokeWindowHeight,  f.steelLoss,     f.insulationClass};
}

// The example of the help text: Run A in a 50 × 80 mm window with four taps from 50 V, one leg,
// a choke core and the usual steel and class.
constexpr std::string_view kWeldLine =
    "220;65;160;;Медь;Медь;Стержневой;1,42;50;80;0,35;;;70;121;4;50;;один;2;;;50;80;50;120;4;B";

// The design part ends where the induction, the eighth field, ends.
TEST(ReadDesignLineWithFigures, TakesTheChecksFiveFieldsThePlansFiveAndTheWeldsTen) {
    using enum LineKind;
    constexpr FigureColumns kCheck = FigureColumns::Check;
    constexpr FigureColumns kPlan = FigureColumns::CheckAndPlan;
    struct Case {
        const char *name;
        std::string_view line;
        FigureColumns columns;
        LineKind kind;
        std::size_t fieldCount;
        Fields typed;
    } const cases[] = {
        {"design only, CR LF", "220;65;160;;Медь;Медь;Стержневой;1,42\r", kCheck, Design, 8, {}},
        {"rod window", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60", kCheck, Design, 10, {"50", "60"}},
        {"all five and a closing separator",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;\r",
         kCheck,
         Design,
         14,
         {"61", "", "0,3", "10", "24"}},
        {"two closing separators stay whole", "1;2;3;4;5;6;7;8;9;10;11;12;13;;", kCheck, WrongFieldCount, 15, {}},
        {"a sixth field after the closing separator",
         "1;2;3;4;5;6;7;8;9;10;11;12;13; ",
         kCheck,
         WrongFieldCount,
         14,
         {}},
        {"plan fields without --plan", "220;65;160;;Медь;Медь;Тор;1,42;120;;;;;40", kCheck, WrongFieldCount, 14, {}},
        {"seven fields stay whole", "220;65;160;;Медь;Медь;Тор", kPlan, WrongFieldCount, 7, {}},
        {"all ten and a closing separator",
         "220;65;160;;Медь;Медь;Тор;1,42;120;;;;;40;152;4;50;380;\r",
         kPlan,
         Design,
         19,
         {"120", "", "", "", "", "40", "152", "4", "50", "380"}},
        {"six plan fields", "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19", kPlan, WrongFieldCount, 19, {}},
        {"weld fields without --weld", kWeldLine, kPlan, WrongFieldCount, 28, {}},
        {"the weld's ten", kWeldLine, FigureColumns::CheckPlanAndWeld, Design, 28, {"50",   "80",  "0,35", "",   "",
                                                                                    "70",   "121", "4",    "50", "",
                                                                                    "один", "2",   "",     "",   "50",
                                                                                    "80",   "50",  "120",  "4",  "B"}},
        {"eleven weld fields",
         std::string_view("1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;28;29"),
         FigureColumns::CheckPlanAndWeld,
         WrongFieldCount,
         29,
         {}},
        // Only a number is read from these fields, and such bytes make none.
        {"a bad byte in a plan field",
         "220;65;160;;Медь;Медь;Тор;1,42;;;;;;\xFF",
         kPlan,
         Design,
         14,
         {"", "", "", "", "", "\xFF"}},
        {"a bad byte on a line of too many fields", "1;2;3;4;5;6;7;8;9;10;11;12;13;14;\xFF", kCheck, NotUtf8, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignLine line = ReadDesignLine(c.line, c.columns);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.fieldCount, c.fieldCount);
        if (c.kind == Design) {
            EXPECT_EQ(inOrder(line.typed), c.typed);
        }
    }
}

std::vector<std::string> cellsOf(std::string_view line) {
    std::vector<std::string> cells;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(';', start);
        cells.emplace_back(line.substr(start, end - start));
        if (end == std::string_view::npos) return cells;
        start = end + 1;
    }
}

std::vector<std::string> linesOf(const std::string &output) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < output.size();) {
        const std::size_t end = output.find('\n', start);
        lines.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

const std::string kCheckHeader =
    "K;copper_area;window_area_needed;window_area;fill_percent;fill;wire_I_diameter;wire_I;wire_II_diameter;"
    "wire_II;load_voltage;strike_ratio;voltage;test_K;test_W1;test_W2;test_B;test_induction";
const std::string kPlanHeader =
    "S0;S0_vs_S;t_I;t_II;windings_fit;MLT_I;MLT_II;turns_I;q_I;L_I;buy_I;mass_I;turns_I_2;q_I_2;L_I_2;buy_I_2;"
    "mass_I_2;L_II;buy_II;mass_II;R_I;R_II;losses;tap_1;tap_2;tap_3;tap_4;tap_5;tap_6;tap_7;tap_8;W1_2;q1_2;I1_2;"
    "breaker;supply;breaker_2;supply_2;room_left;wire1_2;MLT_I_2;L_I_all;buy_I_all;layer_I;layers_I;L_I_2_all;"
    "buy_I_2_all;layer_I_2;layers_I_2;L_II_all;buy_II_all;layer_II;layers_II";
const std::string kWeldHeader =
    "B50;B50_verdict;X_source;X_measured;X_n;choke;L_choke;w_choke;gap_choke;t_choke;MLT_choke;L_wire_choke;R_choke;"
    "mass_choke;choke_fit;B_choke;B_choke_verdict;theta;core_mass;core_loss;copper_loss;surface;duty;I_60;I_100;tau;"
    "minutes_cold;choke_core_mass;choke_core_loss;choke_copper_loss;choke_surface;choke_duty;choke_I_60;choke_I_100;"
    "choke_tau;choke_minutes_cold";
const std::string kDesignHeader = "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages";

// One group of columns per tap: tap_1_w to tap_1_note_choke, then tap_2_w and so on to tap_8.
std::string weldTapsHeader() {
    constexpr std::string_view kTapFigures[] = {"w",
                                                "B",
                                                "U20",
                                                "U20_high",
                                                "R",
                                                "X",
                                                "I",
                                                "U_arc",
                                                "I_sc",
                                                "I_mains",
                                                "electrode",
                                                "note",
                                                "I_choke",
                                                "U_arc_choke",
                                                "I_sc_choke",
                                                "I_mains_choke",
                                                "electrode_choke",
                                                "note_choke"};
    std::string header;
    for (int tap = 1; tap <= 8; ++tap) {
        for (std::string_view figure : kTapFigures) {
            header += ";tap_" + std::to_string(tap) + "_" + std::string(figure);
        }
    }
    return header;
}

TEST(BatchRunWithFigures, HeadersNameTheColumnsInTheirOrder) {
    EXPECT_EQ(linesOf(test::OutputOf({}, BatchRun::Columns::DesignAndCheck)),
              std::vector<std::string>{kDesignHeader + ";" + kCheckHeader});
    EXPECT_EQ(linesOf(test::OutputOf({}, BatchRun::Columns::DesignCheckAndPlan)),
              std::vector<std::string>{kDesignHeader + ";" + kCheckHeader + ";" + kPlanHeader});
    EXPECT_EQ(linesOf(test::OutputOf({}, BatchRun::Columns::DesignCheckPlanAndWeld)),
              std::vector<std::string>{kDesignHeader + ";" + kCheckHeader + ";" + kPlanHeader + ";" + kWeldHeader +
                                       weldTapsHeader()});
}

// The check of Run A as one whole line: the order of its cells and the texts in them.
TEST(BatchRunWithFigures, WritesTheChecksCellsAfterTheResults) {
    const std::string output =
        test::OutputOf({"220;65;160;;Медь;Медь;Стержневой;1,42;40;60;;10;36"}, BatchRun::Columns::DesignAndCheck);
    EXPECT_EQ(linesOf(output).at(1),
              "completed;84,672;10400;5600;83;25;6;20;48,19277;;2,637;998;2852;2400;42;"
              "не помещается: нужно окно не меньше 2852 мм²;2,764;2,80;5,046;3 × 3,00;26,4;2,46;в норме;"
              "3,6;61;18;2,02;не меньше 1,9 Тл: сталь в насыщении");
}

// Each cell is the text of the row with its column's key, as the window shows that row; a part
// nobody asked for, such as a measurement, is empty.
TEST(BatchRunWithFigures, EachCellIsTheFigureOfItsKey) {
    const struct {
        std::string_view line;
        BatchRun::Columns columns;
        FigureColumns figures;
    } cases[] = {
        {"220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;10;24;70;121;4;50;380",
         BatchRun::Columns::DesignCheckAndPlan, FigureColumns::CheckAndPlan},
        {kWeldLine, BatchRun::Columns::DesignCheckPlanAndWeld, FigureColumns::CheckPlanAndWeld},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<std::string> lines = linesOf(test::OutputOf({c.line}, c.columns));
        const DesignLine read = ReadDesignLine(c.line, c.figures);
        const calc::DesignOutcome outcome = calc::CalculateDesign(read.design);
        const calc::CheckOutcome figures = calc::CheckDesign({*outcome.inputs, *outcome.results, read.typed});

        const std::vector<std::string> keys = cellsOf(lines.at(0));
        const std::vector<std::string> cells = cellsOf(lines.at(1));
        ASSERT_EQ(cells.size(), keys.size());
        for (std::size_t i = cellsOf(kDesignHeader).size(); i < keys.size(); ++i) {
            SCOPED_TRACE(keys[i]);
            const calc::FigureRow *row = nullptr;
            for (const auto *sections : {&figures.check, &figures.plan, &figures.weld}) {
                if (!row) row = calc::FindRow(*sections, keys[i]);
            }
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(cells[i], row->asked ? row->text : "");
        }
    }
}

// The example of the help text gives the worked figures of the welding current, the choke and
// the heating in their columns; no current was measured, and there are four taps.
TEST(BatchRunWithFigures, TheWeldsExampleLine) {
    const std::vector<std::string> lines =
        linesOf(test::OutputOf({kWeldLine}, BatchRun::Columns::DesignCheckPlanAndWeld));
    const std::vector<std::string> keys = cellsOf(lines.at(0));
    const std::vector<std::string> cells = cellsOf(lines.at(1));
    const std::pair<std::string_view, std::string_view> expected[] = {
        {"X_n", "0,3623"},        {"w_choke", "45"}, {"gap_choke", "9,16"}, {"tap_4_I", "780,3"},
        {"tap_4_I_choke", "160"}, {"duty", "17,6"},  {"X_measured", ""},    {"tap_5_I", ""}};
    for (const auto &[key, text] : expected) {
        SCOPED_TRACE(key);
        const auto column = std::ranges::find(keys, key);
        ASSERT_NE(column, keys.end());
        EXPECT_EQ(cells.at(static_cast<std::size_t>(column - keys.begin())), text);
    }
}

std::vector<std::string> planCellsOf(std::string_view line) {
    const std::vector<std::string> lines = linesOf(test::OutputOf({line}, BatchRun::Columns::DesignCheckAndPlan));
    const std::vector<std::string> cells = cellsOf(lines.at(1));
    const std::size_t before = cellsOf(kDesignHeader).size() + cellsOf(kCheckHeader).size();
    return {cells.begin() + static_cast<std::ptrdiff_t>(before), cells.end()};
}

std::string cellOf(const std::vector<std::string> &planCells, std::string_view key) {
    const std::vector<std::string> keys = cellsOf(kPlanHeader);
    return planCells.at(static_cast<std::size_t>(std::ranges::find(keys, key) - keys.begin()));
}

// Parts of the plan nobody asked for stay empty; asked for and impossible, every cell says why.
TEST(BatchRunWithFigures, PartsNotAskedForStayEmpty) {
    const std::vector<std::string> notAsked = planCellsOf("220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121");
    for (std::string_view key :
         {"turns_I_2", "q_I_2", "L_I_2", "buy_I_2", "mass_I_2", "MLT_I_2", "L_I_2_all", "buy_I_2_all", "layer_I_2",
          "layers_I_2", "tap_1", "tap_8", "W1_2", "q1_2", "wire1_2", "I1_2", "breaker_2", "supply_2"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(cellOf(notAsked, key), "");
    }
    const std::vector<std::string> impossible =
        planCellsOf("220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121;9;50;0");
    for (std::string_view key : {"tap_1", "tap_8", "W1_2", "q1_2", "wire1_2", "I1_2", "breaker_2", "supply_2"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(cellOf(impossible, key), "вне разумных пределов");
    }
    // Taps asked for: one cell each, the rest of the eight empty.
    const std::vector<std::string> twoTaps = planCellsOf("220;65;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121;2;50");
    EXPECT_NE(cellOf(twoTaps, "tap_2"), "");
    EXPECT_EQ(cellOf(twoTaps, "tap_3"), "");
}

TEST(BatchRunWithFigures, LinesWithoutResultsKeepTheColumnsEmpty) {
    for (const BatchRun::Columns columns :
         {BatchRun::Columns::DesignCheckAndPlan, BatchRun::Columns::DesignCheckPlanAndWeld}) {
        const std::string output =
            test::OutputOf({"220;220;160;;Медь;Медь;Стержневой;1,42;50;60;;;;70;121;4;50;380", "220;65;160"}, columns);
        const std::vector<std::string> lines = linesOf(output);
        const std::size_t columnCount = cellsOf(lines.at(0)).size();
        const std::size_t figureColumns = columnCount - cellsOf(kDesignHeader).size();
        for (const std::string &line : lines) {
            const std::vector<std::string> cells = cellsOf(line);
            ASSERT_EQ(cells.size(), columnCount);
            if (line.starts_with("status")) continue;
            EXPECT_TRUE(std::all_of(cells.end() - static_cast<std::ptrdiff_t>(figureColumns), cells.end(),
                                    [](const std::string &cell) { return cell.empty(); }))
                << line;
        }
    }
}

}  // namespace
}  // namespace tremira::batch
