// The batch format: reading design lines, UTF-8 checking, block-wise line splitting and
// the result lines, without running the executable.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "app/batch/design_lines.h"
#include "app/batch/line_reader.h"
#include "app/batch/utf8_validation.h"
#include "tests/app/batch_output.h"

namespace tremira::batch {
namespace {

TEST(IsValidUtf8, AcceptsWellFormedAndRefusesMalformedSequences) {
    struct Case {
        const char *name;
        std::string_view bytes;
        bool valid;
    } const cases[] = {
        {"empty", "", true},
        {"ASCII longer than one block", "220;65;160;;x;y;z;1,42", true},
        {"four-byte emoji", "\xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"NUL is a character", std::string_view("a\0b", 3), true},
        {"lone continuation byte", "\x80", false},
        {"Windows-1251 text", "\xCC\xE5\xE4\xFC", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead byte", "\xF5\x80\x80\x80", false},
        {"truncated at the end", "12345678\xD0", false},
        {"truncated before ASCII", "\xE2\x82;", false},
        {"bad byte after eight ASCII", "abcdefgh\xFF", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
    }
}

// Hands out `input` at most `piece` bytes a call, then fails with `error`, or ends when none is
// given; `largestRoom` keeps the most room the reader ever offered.
LineReader::ReadBlock sourceOf(std::string input, std::size_t piece, int error = 0,
                               std::size_t *largestRoom = nullptr) {
    return [input = std::move(input), piece, error, largestRoom,
            position = std::size_t{0}](char *data, std::size_t size) mutable -> std::ptrdiff_t {
        if (largestRoom) *largestRoom = std::max(*largestRoom, size);
        if (position == input.size() && error != 0) {
            errno = error;
            return -1;
        }
        const std::size_t count = std::min({size, piece, input.size() - position});
        std::copy_n(input.data() + position, count, data);
        position += count;
        return static_cast<std::ptrdiff_t>(count);
    };
}

// A line over the cap of 8 bytes comes back empty and marked ("!" here); the reader never
// offers the source more room than one block or the cap and its "\n", however long the line.
TEST(LineReader, SplitsAtLineFeedsAcrossBlocksAndSkipsLinesOverTheCapInBoundedMemory) {
    struct Case {
        const char *name;
        std::string input;
        std::vector<std::string> lines;
    } const cases[] = {
        {"nothing", "", {}},
        {"one empty line", "\n", {""}},
        {"CR kept, empty line, last without LF", "a;b\r\n\nlast", {"a;b\r", "", "last"}},
        {"a line of exactly the cap is kept", "12345678\nx\n", {"12345678", "x"}},
        {"one byte over the cap", "123456789\nx\n", {"!", "x"}},
        {"too long at the end of the input", "x\n123456789", {"x", "!"}},
        {"a long line between short ones", "a\n" + std::string(100000, '0') + "\nb", {"a", "!", "b"}},
        {"a long line without any line feed", std::string(100000, '\0'), {"!"}},
    };
    for (const Case &c : cases) {
        for (std::size_t piece : {1, 3, 1000}) {
            for (std::size_t block : {1, 5, 64}) {
                SCOPED_TRACE(std::string(c.name) + ", piece " + std::to_string(piece) + ", block " +
                             std::to_string(block));
                std::size_t largestRoom = 0;
                LineReader reader(sourceOf(c.input, piece, 0, &largestRoom), block, 8);
                std::vector<std::string> lines;
                while (const auto line = reader.next()) lines.emplace_back(reader.lineTooLong() ? "!" : *line);
                EXPECT_EQ(lines, c.lines);
                EXPECT_FALSE(reader.failed());
                EXPECT_LE(largestRoom, std::max<std::size_t>(block, 9));
            }
        }
    }
}

// The status column of every result line after the header.
std::vector<std::string> statusesOf(const std::string &output) {
    std::vector<std::string> statuses;
    for (std::size_t start = output.find('\n') + 1; start < output.size(); start = output.find('\n', start) + 1)
        statuses.push_back(output.substr(start, output.find(';', start) - start));
    return statuses;
}

// A whole source through a batch run: the reports, the result lines' statuses, the exit status.
TEST(BatchRun, BadLinesAndReadErrorsAreReportedWithTheFileEscapedAndSetTheExitStatus) {
    const std::string runA = "220;65;160;;Медь;Медь;Стержневой;1,42";
    const std::string tooLong(LineReader::kDefaultMaxLineLength + 1, ';');
    struct Case {
        const char *name;
        std::string input;
        int error;
        std::vector<std::string> reports;
        std::vector<std::string> statuses;
        int exitStatus;
    } const cases[] = {
        // A byte order mark is dropped only before the first line: on the fifth it is the mains voltage.
        {"designs.csv",
         "\xEF\xBB\xBF# header\n220;65;160;;Медь;Медь;Стержневой;1,42\r\n1;2;3\n\xFF;;;;;;;\n\xEF\xBB\xBF" + runA,
         0,
         {"designs.csv:3: 8 fields expected, found 3 / ожидалось 8 полей, найдено 3",
          "designs.csv:4: not valid UTF-8 / не UTF-8"},
         {"completed", "invalid", "invalid", "failed"},
         1},
        {"a\x1B[2J\nb\\c.csv",
         "1;2\n" + tooLong + "\n",
         EACCES,
         {"a\\x1B[2J\\x0Ab\\\\c.csv:1: 8 fields expected, found 2 / ожидалось 8 полей, найдено 2",
          "a\\x1B[2J\\x0Ab\\\\c.csv:2: line longer than 1048576 bytes / строка длиннее 1048576 байт",
          "a\\x1B[2J\\x0Ab\\\\c.csv: read error / ошибка чтения: Permission denied / доступ запрещён"},
         {"invalid", "invalid"},
         2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string output;
        std::vector<std::string> reports;
        BatchRun run(
            [&](std::string_view data) {
                output += data;
                return true;
            },
            [&](std::string_view text) { reports.emplace_back(text); });
        LineReader reader(sourceOf(c.input, std::size_t{1} << 20, c.error));
        run.processSource(reader, c.name);
        run.finish();
        EXPECT_EQ(reports, c.reports);
        EXPECT_EQ(statusesOf(output), c.statuses);
        EXPECT_EQ(run.exitStatus(), c.exitStatus);
    }
}

TEST(ReadDesignLine, SkipsCommentsAndEmptyLinesAndChecksTheFieldCount) {
    struct Case {
        const char *name;
        std::string_view line;
        LineKind kind;
        std::size_t fieldCount;
    } const cases[] = {
        {"empty", "", LineKind::Skipped, 0},
        {"lone CR", "\r", LineKind::Skipped, 0},
        {"comment", "# mains;output;...", LineKind::Skipped, 0},
        {"comment with bad bytes", "#\xFF", LineKind::Skipped, 0},
        {"design", "220;65;160;;Медь;Медь;Стержневой;1,42", LineKind::Design, 8},
        {"design with CR LF", "220;65;160;;Медь;Медь;Стержневой;1,42\r", LineKind::Design, 8},
        {"all fields empty", ";;;;;;;", LineKind::Design, 8},
        {"seven fields", "220;65;160;;Медь;Медь;Стержневой", LineKind::WrongFieldCount, 7},
        {"nine fields", "220;65;160;;Медь;Медь;Стержневой;1,42;", LineKind::WrongFieldCount, 9},
        {"blank only", " ", LineKind::WrongFieldCount, 1},
        {"a listed entry cut short", "220;65;160;;\xD0\x9C\xD0\xB5\xD0\xB4\xD1;Медь;Тор;1,42", LineKind::NotUtf8, 0},
        {"a letter split by the separator", "220;65;160;;\xD0;\x9Cедь;Тор;1,42", LineKind::NotUtf8, 0},
        {"a bad byte past the eighth field", "220;65;160;;Медь;Медь;Тор;1,42;\xFF", LineKind::NotUtf8, 0},
        {"unlisted Cyrillic", "220;65;160;;медь;Латунь;Ш-образный;1,42", LineKind::Design, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignLine line = ReadDesignLine(c.line, FigureColumns::None);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.fieldCount, c.fieldCount);
    }
}

// Texts as they stand; list entries as their place in the list, -1 for any other text.
TEST(ReadDesignLine, FieldsGoToTheWindowInputsInOrder) {
    const calc::DesignInput listed =
        ReadDesignLine("230;60;150; 90 ;Алюминий;Медь;Тор;1,5\r", FigureColumns::None).design;
    EXPECT_EQ((std::vector<std::string_view>{listed.mainsVoltage, listed.outputVoltage, listed.weldingCurrent,
                                             listed.coreSection, listed.induction}),
              (std::vector<std::string_view>{"230", "60", "150", " 90 ", "1,5"}));
    EXPECT_EQ((std::vector<int>{listed.materialI, listed.materialII, listed.coreType}), (std::vector{1, 0, 1}));
    const calc::DesignInput unlisted =
        ReadDesignLine("220;65;160;;медь;Copper;стержневой;1,42", FigureColumns::None).design;
    EXPECT_EQ((std::vector<int>{unlisted.materialI, unlisted.materialII, unlisted.coreType}),
              (std::vector{-1, -1, -1}));
}

TEST(BatchRun, ResultLinesCarryStatusCoreSectionResultsAndMessages) {
    struct Case {
        const char *name;
        std::string_view line;
        std::string_view result;
    } const cases[] = {
        {"Run A", "220;65;160;;Медь;Медь;Стержневой;1,42", "completed;84,672;10400;5600;83;25;6;20;48,19277;\n"},
        {"Run B", "220;65;160;;Алюминий;Алюминий;Тор;1,42", "completed;60,48;10400;4000;117;35;10;32;47,86325;\n"},
        {"typed core section stays", "220;65;160;84,672;Медь;Медь;Стержневой;1,42",
         "completed;84,672;10400;5600;83;25;6;20;48,19277;\n"},
        {"refusal", "220;220;160;;Медь;Медь;Стержневой;1,42",
         "refused;;;;;;;;;Выходное напряжение больше или равно входному!\n"},
        {"current too low empties the core section", "220;65;24;50;Медь;Медь;Стержневой;1,42",
         "refused;;;;;;;;;Ток сварки слишком мал! Введите другое значение.\n"},
        {"output too low keeps the substituted section", "220;47;160;;Медь;Медь;Стержневой;1,42",
         "refused;84,672;;;;;;;;Выходное напряжение мало! Введите другое значение.\n"},
        {"CR inside the message is written as \\r", "220;65;25;;Медь;Медь;Тор;1,42",
         "refused;9,45;;;;;;;;Сечение сердечника слишком мало! Введите другое значение или оставте поле пустым,"
         "\\rпрограмма сама подставит нужное значение.\n"},
        {"backslash in a kept core section", "220;65;160;1\\2;Медь;Медь;Стержневой;1,42",
         "failed;1\\\\2;;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"overflow: two messages joined", "40000;65;160;;Медь;Медь;Стержневой;1,42",
         "failed;;;;;;;;;Произошла ошибка: 6-Переполнение | Введенное значение слишком мало!\n"},
        {"division by zero keeps the substituted section", "220;65;160;;Медь;Медь;Стержневой;0,0",
         "failed;84,672;;;;;;;;Произошла ошибка: 11-Деление на ноль\n"},
        {"wrong field count", "220;65;160", "invalid;;;;;;;;;\n"},
        {"quote in the core section: quoted, doubled", "220;65;160;1\"2;Медь;Медь;Стержневой;1,42",
         "failed;\"1\"\"2\";;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"leading = is not a formula", "220;65;160;=1+1;Медь;Медь;Стержневой;1,42",
         "failed;\"=1+1\";;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"leading @ is not a formula", "220;65;160;@A1;Медь;Медь;Стержневой;1,42",
         "failed;\"@A1\";;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"tab is a control character", "220;65;160;8\t4;Медь;Медь;Стержневой;1,42",
         "failed;\"8\t4\";;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"CR inside the core section is written as \\r, quoted", "220;65;160;8\r4;Медь;Медь;Стержневой;1,42",
         "failed;\"8\\r4\";;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"= later in the text stays plain", "220;65;160;8=4;Медь;Медь;Стержневой;1,42",
         "failed;8=4;;;;;;;;Произошла ошибка: 13-Несоответствие типа\n"},
        {"comment", "# Run A", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string output = test::OutputOf({c.line}, BatchRun::Columns::Design);
        EXPECT_EQ(output.substr(output.find('\n') + 1), c.result);
    }
}

// The output goes out in large blocks; once a write fails, nothing more is read or written.
TEST(BatchRun, OutputIsWrittenInLargeBlocksAndAFailedWriteEndsTheRunWithStatus2) {
    std::vector<std::size_t> writes;
    BatchRun run(
        [&](std::string_view data) {
            writes.push_back(data.size());
            return false;
        },
        [](std::string_view) {});
    for (std::size_t i = 1; i <= 30000; ++i) run.processLine("220;65;160;;Медь;Медь;Стержневой;1,42", "x", i);
    ASSERT_EQ(writes.size(), 1U);  // about 50 bytes a line: one full buffer
    EXPECT_GE(writes[0], std::size_t{1} << 20);
    EXPECT_EQ(run.exitStatus(), 2);

    std::size_t reads = 0;
    LineReader reader([&](char *, std::size_t size) -> std::ptrdiff_t {
        ++reads;
        return static_cast<std::ptrdiff_t>(std::min<std::size_t>(size, 100000));
    });
    run.processSource(reader, "endless.csv");
    run.finish();
    EXPECT_EQ(reads, 0U);
    EXPECT_EQ(writes.size(), 1U);
}

}  // namespace
}  // namespace tremira::batch
