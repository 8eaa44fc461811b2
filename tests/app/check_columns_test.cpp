// tremira-calc --check without the executable: the five check fields after a design, and
// the check's columns after its result line.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/batch/check_columns.h"
#include "app/batch/design_lines.h"

namespace tremira::batch {
namespace {

using Fields = std::array<std::string_view, kCheckFieldCount>;

TEST(SplitCheckFields, TakesUpToFiveFieldsAfterTheEighth) {
    struct Case {
        const char *name;
        std::string_view line;
        std::string_view designPart;
        Fields checkFields;
    } const cases[] = {
        {"design only", "220;65;160;;Медь;Медь;Стержневой;1,42", "220;65;160;;Медь;Медь;Стержневой;1,42", {}},
        {"design only, CR LF",
         "220;65;160;;Медь;Медь;Стержневой;1,42\r",
         "220;65;160;;Медь;Медь;Стержневой;1,42\r",
         {}},
        {"rod window",
         "220;65;160;;Медь;Медь;Стержневой;1,42;50;60",
         "220;65;160;;Медь;Медь;Стержневой;1,42",
         {"50", "60", "", "", ""}},
        {"all five, CR LF",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24\r",
         "220;65;160;;Медь;Медь;Тор;1,42",
         {"61", "", "0,3", "10", "24"}},
        {"one empty check field", ";;;;;;;;", ";;;;;;;", {"", "", "", "", ""}},
        {"all five and a closing separator",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;\r",
         "220;65;160;;Медь;Медь;Тор;1,42",
         {"61", "", "0,3", "10", "24"}},
        {"five empty and a closing separator", ";;;;;;;;;;;;;", ";;;;;;;", {"", "", "", "", ""}},
        {"two closing separators stay whole",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;;",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;;",
         {}},
        {"a sixth field after the closing separator stays whole",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24; ",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24; ",
         {}},
        {"six check fields stay whole",
         "220;65;160;;Медь;Медь;Тор;1,42;1;2;3;4;5;6",
         "220;65;160;;Медь;Медь;Тор;1,42;1;2;3;4;5;6",
         {}},
        {"seven fields stay whole", "220;65;160;;Медь;Медь;Тор", "220;65;160;;Медь;Медь;Тор", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CheckedLine line = SplitCheckFields(c.line);
        EXPECT_EQ(line.designPart, c.designPart);
        EXPECT_EQ(line.checkFields, c.checkFields);
    }
}

std::string outputOf(const std::vector<std::string_view> &lines) {
    std::string output;
    BatchRun run(
        [&](std::string_view data) {
            output += data;
            return true;
        },
        [](std::string_view) {}, BatchRun::kDefaultFlushThreshold, BatchRun::Columns::DesignAndCheck);
    std::size_t number = 0;
    for (std::string_view line : lines) run.processLine(line, "designs.csv", ++number);
    run.finish();
    return output;
}

TEST(BatchRunWithCheck, AddsTheCheckColumnsToEveryLine) {
    const std::string output = outputOf({
        "220;65;160;;Медь;Медь;Стержневой;1,42;40;60;;10;36",
        "220;220;160;;Медь;Медь;Стержневой;1,42;50;60",
        "220;65;160",
        "# a comment;;;;;;;;;",
    });
    const std::string expected =
        "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages;K;copper_area;window_area_needed;"
        "window_area;fill_percent;fill;wire_I_diameter;wire_I;wire_II_diameter;wire_II;load_voltage;strike_ratio;"
        "voltage;test_K;test_W1;test_W2;test_B;test_induction\n"
        // An empty fill factor is the usual 0,35.
        "completed;84,672;10400;5600;83;25;6;20;48,19277;;2,637;998;2852;2400;42;"
        "не помещается: нужно окно не меньше 2852 мм²;2,764;2,80;5,046;3 × 3,00;26,4;2,46;в норме;"
        "3,6;61;18;1,94;не меньше 1,9 Тл: сталь в насыщении\n"
        "refused;;;;;;;;;Выходное напряжение больше или равно входному!;;;;;;;;;;;;;;;;;;\n"
        "invalid;;;;;;;;;;;;;;;;;;;;;;;;;;;\n";
    EXPECT_EQ(output, expected);
    // Every line has as many columns as the header.
    const auto columns = [](std::string_view line) { return std::count(line.begin(), line.end(), ';'); };
    std::size_t start = 0;
    const std::size_t headerEnd = output.find('\n');
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        EXPECT_EQ(columns(output.substr(start, end - start)), columns(output.substr(0, headerEnd)));
        start = end + 1;
    }
}

}  // namespace
}  // namespace tremira::batch
