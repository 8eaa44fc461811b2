// tremira-calc --check without the executable: the five check fields after a design, and
// the check's columns after its result line.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/batch/check_columns.h"
#include "app/batch/design_lines.h"
#include "tests/app/batch_output.h"

namespace tremira::batch {
namespace {

using Fields = std::array<std::string_view, kCheckFieldCount>;

Fields inOrder(const CheckFields &f) {
    return {f.windowWidth, f.windowHeight, f.fillFactor, f.testTurns, f.testVoltage};
}

// The design part ends where the induction, the eighth field, ends.
TEST(ReadDesignLineWithCheck, TakesUpToFiveFieldsAfterTheEighth) {
    struct Case {
        const char *name;
        std::string_view line;
        LineKind kind;
        std::size_t fieldCount;
        std::string_view induction;
        Fields checkFields;
    } const cases[] = {
        {"design only", "220;65;160;;Медь;Медь;Стержневой;1,42", LineKind::Design, 8, "1,42", {}},
        {"design only, CR LF", "220;65;160;;Медь;Медь;Стержневой;1,42\r", LineKind::Design, 8, "1,42", {}},
        {"rod window",
         "220;65;160;;Медь;Медь;Стержневой;1,42;50;60",
         LineKind::Design,
         10,
         "1,42",
         {"50", "60", "", "", ""}},
        {"all five, CR LF",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24\r",
         LineKind::Design,
         13,
         "1,42",
         {"61", "", "0,3", "10", "24"}},
        {"one empty check field", ";;;;;;;;", LineKind::Design, 9, "", {"", "", "", "", ""}},
        {"all five and a closing separator",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;\r",
         LineKind::Design,
         14,
         "1,42",
         {"61", "", "0,3", "10", "24"}},
        {"five empty and a closing separator", ";;;;;;;;;;;;;", LineKind::Design, 14, "", {"", "", "", "", ""}},
        {"two closing separators stay whole",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24;;",
         LineKind::WrongFieldCount,
         15,
         "",
         {}},
        {"a sixth field after the closing separator stays whole",
         "220;65;160;;Медь;Медь;Тор;1,42;61;;0,3;10;24; ",
         LineKind::WrongFieldCount,
         14,
         "",
         {}},
        {"six check fields stay whole",
         "220;65;160;;Медь;Медь;Тор;1,42;1;2;3;4;5;6",
         LineKind::WrongFieldCount,
         14,
         "",
         {}},
        {"seven fields stay whole", "220;65;160;;Медь;Медь;Тор", LineKind::WrongFieldCount, 7, "", {}},
        // Only a number is read from a check field, and such bytes make none.
        {"a bad byte in a check field",
         "220;65;160;;Медь;Медь;Тор;1,42;\xFF",
         LineKind::Design,
         9,
         "1,42",
         {"\xFF", "", "", "", ""}},
        {"a bad byte on a line of too many fields",
         "1;2;3;4;5;6;7;8;9;10;11;12;13;14;\xFF",
         LineKind::NotUtf8,
         0,
         "",
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignLine line = ReadDesignLine(c.line, true);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.fieldCount, c.fieldCount);
        EXPECT_EQ(line.design.induction, c.induction);
        EXPECT_EQ(inOrder(line.check), c.checkFields);
    }
}

std::string outputOf(const std::vector<std::string_view> &lines) {
    return test::OutputOf(lines, BatchRun::Columns::DesignAndCheck);
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
