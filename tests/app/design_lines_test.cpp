// The batch format: reading design lines, UTF-8 checking, block-wise line splitting and
// the result lines, without running the executable.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "app/batch/design_lines.h"
#include "app/batch/line_reader.h"
#include "app/batch/utf8_validation.h"

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
        {"Cyrillic", "Медь;Алюминий;Стержневой;Тор", true},
        {"three-byte sign", "\xE2\x82\xAC", true},
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

// Feeds `input` in pieces of `pieceSize` bytes, however large the reader's blocks are.
std::vector<std::string> splitLines(const std::string &input, std::size_t pieceSize, std::size_t blockSize) {
    std::size_t position = 0;
    LineReader reader(
        [&](char *data, std::size_t size) -> std::ptrdiff_t {
            const std::size_t count = std::min({size, pieceSize, input.size() - position});
            std::copy_n(input.data() + position, count, data);
            position += count;
            return static_cast<std::ptrdiff_t>(count);
        },
        blockSize);
    std::vector<std::string> lines;
    while (const auto line = reader.next()) lines.emplace_back(*line);
    EXPECT_FALSE(reader.failed());
    return lines;
}

TEST(LineReader, SplitsAtLineFeedsAcrossBlocksOfAnySize) {
    const std::string input = "first;line\r\n\nthird line, longer than a tiny block\nlast without LF";
    const std::vector<std::string> expected{"first;line\r", "", "third line, longer than a tiny block",
                                            "last without LF"};
    for (std::size_t piece : {1, 3, 7, 1000}) {
        for (std::size_t block : {1, 4, 16, 1 << 20}) {
            SCOPED_TRACE("piece " + std::to_string(piece) + ", block " + std::to_string(block));
            EXPECT_EQ(splitLines(input, piece, block), expected);
        }
    }
    EXPECT_EQ(splitLines("", 10, 10), std::vector<std::string>{});
    EXPECT_EQ(splitLines("\n", 10, 10), std::vector<std::string>{""});
}

// A line over the cap comes back empty and marked; the reader never offers the source more
// room than one block or the cap and its "\n", however long the line.
TEST(LineReader, LinesOverTheCapAreSkippedInBoundedMemory) {
    struct Case {
        const char *name;
        std::string input;
        std::vector<std::string> lines;  // "!" stands for a line reported too long
    } const cases[] = {
        {"a line of exactly the cap is kept", "12345678\nx\n", {"12345678", "x"}},
        {"one byte over the cap", "123456789\nx\n", {"!", "x"}},
        {"too long at the end of the input", "x\n123456789", {"x", "!"}},
        {"a long line between short ones", "a\n" + std::string(100000, '0') + "\nb", {"a", "!", "b"}},
        {"a long line without any line feed", std::string(100000, '\0'), {"!"}},
    };
    for (const Case &c : cases) {
        for (std::size_t block : {1, 5, 64}) {
            SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
            std::size_t position = 0;
            std::size_t largestRoom = 0;
            LineReader reader(
                [&](char *data, std::size_t size) -> std::ptrdiff_t {
                    largestRoom = std::max(largestRoom, size);
                    const std::size_t count = std::min({size, std::size_t{3}, c.input.size() - position});
                    std::copy_n(c.input.data() + position, count, data);
                    position += count;
                    return static_cast<std::ptrdiff_t>(count);
                },
                block, 8);
            std::vector<std::string> lines;
            while (const auto line = reader.next()) lines.emplace_back(reader.lineTooLong() ? "!" : *line);
            EXPECT_EQ(lines, c.lines);
            EXPECT_LE(largestRoom, std::max<std::size_t>(block, 9));
        }
    }
}

TEST(LineReader, ReadErrorEndsTheLinesAndIsReported) {
    int calls = 0;
    LineReader reader(
        [&](char *data, std::size_t) -> std::ptrdiff_t {
            if (calls++ > 0) return -1;
            std::copy_n("a\nb", 3, data);
            return 3;
        },
        64);
    EXPECT_EQ(reader.next(), "a");
    EXPECT_EQ(reader.next(), "b");
    EXPECT_EQ(reader.next(), std::nullopt);
    EXPECT_TRUE(reader.failed());
}

// The status column of every result line after the header.
std::vector<std::string> statusesOf(const std::string &output) {
    std::vector<std::string> statuses;
    for (std::size_t start = output.find('\n') + 1; start < output.size(); start = output.find('\n', start) + 1)
        statuses.push_back(output.substr(start, output.find(';', start) - start));
    return statuses;
}

TEST(BatchRun, ReportsNameTheFileEscapedAndGiveTheSystemsReason) {
    std::string output;
    std::vector<std::string> reports;
    BatchRun run(
        [&](std::string_view data) {
            output += data;
            return true;
        },
        [&](std::string_view text) { reports.emplace_back(text); });
    const std::string input = "1;2\n" + std::string(LineReader::kDefaultMaxLineLength + 1, ';') + "\n";
    std::size_t position = 0;
    LineReader reader([&](char *data, std::size_t size) -> std::ptrdiff_t {
        if (position == input.size()) {
            errno = EACCES;
            return -1;
        }
        const std::size_t count = std::min(size, input.size() - position);
        std::copy_n(input.data() + position, count, data);
        position += count;
        return static_cast<std::ptrdiff_t>(count);
    });
    run.processSource(reader, "a\x1B[2J\nb\\c.csv");
    EXPECT_EQ(reports,
              (std::vector<std::string>{
                  "a\\x1B[2J\\x0Ab\\\\c.csv:1: 8 fields expected, found 2 / ожидалось 8 полей, найдено 2",
                  "a\\x1B[2J\\x0Ab\\\\c.csv:2: line longer than 1048576 bytes / строка длиннее 1048576 байт",
                  "a\\x1B[2J\\x0Ab\\\\c.csv: read error / ошибка чтения: Permission denied / доступ запрещён"}));
    run.finish();
    EXPECT_EQ(statusesOf(output), (std::vector<std::string>{"invalid", "invalid"}));
    EXPECT_EQ(run.exitStatus(), 2);
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
        {"one field", "hello", LineKind::WrongFieldCount, 1},
        {"blank only", " ", LineKind::WrongFieldCount, 1},
        {"Windows-1251 bytes", "220;65;160;;\xCC\xE5\xE4\xFC;;;1,42", LineKind::NotUtf8, 0},
        {"a listed entry cut short", "220;65;160;;\xD0\x9C\xD0\xB5\xD0\xB4\xD1;Медь;Тор;1,42", LineKind::NotUtf8, 0},
        {"a letter split by the separator", "220;65;160;;\xD0;\x9Cедь;Тор;1,42", LineKind::NotUtf8, 0},
        {"a bad byte in a number",
         "220;6\x80"
         "5;160;;Медь;Медь;Тор;1,42",
         LineKind::NotUtf8, 0},
        {"a bad byte past the eighth field", "220;65;160;;Медь;Медь;Тор;1,42;\xFF", LineKind::NotUtf8, 0},
        {"unlisted Cyrillic", "220;65;160;;медь;Латунь;Ш-образный;1,42", LineKind::Design, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DesignLine line = ReadDesignLine(c.line, false);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.fieldCount, c.fieldCount);
    }
}

// Lines of random pieces (digits, separators, list entries, other Cyrillic, stray bytes) split
// and judged exactly as a plain split at every ";" and a check of the whole line would.
TEST(ReadDesignLine, AgreesWithAPlainSplitOnRandomLines) {
    const std::string_view pieces[] = {"1",        "22", ",", ";",    ";;",   "Медь", "Тор",
                                       "Алюминий", "ж",  " ", "\xD0", "\xFF", "\x80"};
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        const int count = static_cast<int>(random() % 24);
        for (int j = 0; j < count; ++j) line += pieces[random() % std::size(pieces)];
        if (line.empty() || line.front() == '#') continue;
        SCOPED_TRACE(line);
        std::vector<std::string_view> expected;
        for (std::size_t start = 0;;) {
            const std::size_t end = line.find(';', start);
            expected.push_back(std::string_view(line).substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        const DesignLine read = ReadDesignLine(line, false);
        if (!IsValidUtf8(line)) {
            EXPECT_EQ(read.kind, LineKind::NotUtf8);
            continue;
        }
        ASSERT_EQ(read.fieldCount, expected.size());
        EXPECT_EQ(read.kind, expected.size() == kInputFieldCount ? LineKind::Design : LineKind::WrongFieldCount);
        if (read.kind != LineKind::Design) continue;
        const calc::DesignInput &d = read.design;
        EXPECT_EQ((std::vector<std::string_view>{d.mainsVoltage, d.outputVoltage, d.weldingCurrent, d.coreSection}),
                  std::vector(expected.begin(), expected.begin() + 4));
        EXPECT_EQ(d.induction, expected[7]);
        EXPECT_EQ(d.materialI, calc::ListIndexOf(expected[4], calc::kMaterialEntries));
        EXPECT_EQ(d.materialII, calc::ListIndexOf(expected[5], calc::kMaterialEntries));
        EXPECT_EQ(d.coreType, calc::ListIndexOf(expected[6], calc::kCoreTypeEntries));
    }
}

TEST(ReadDesignLine, FieldsGoToTheWindowInputsInOrder) {
    const DesignLine line = ReadDesignLine("230;60;150; 90 ;Алюминий;Медь;Тор;1,5\r", false);
    ASSERT_EQ(line.kind, LineKind::Design);
    const calc::DesignInput input = line.design;
    EXPECT_EQ(input.mainsVoltage, "230");
    EXPECT_EQ(input.outputVoltage, "60");
    EXPECT_EQ(input.weldingCurrent, "150");
    EXPECT_EQ(input.coreSection, " 90 ");  // texts are taken as they stand
    EXPECT_EQ(input.materialI, 1);
    EXPECT_EQ(input.materialII, 0);
    EXPECT_EQ(input.coreType, 1);
    EXPECT_EQ(input.induction, "1,5");

    const calc::DesignInput unlisted = ReadDesignLine("220;65;160;;медь;Copper;стержневой;1,42", false).design;
    EXPECT_EQ(unlisted.materialI, -1);
    EXPECT_EQ(unlisted.materialII, -1);
    EXPECT_EQ(unlisted.coreType, -1);
}

// One input line through the batch run, as the output file shows it.
std::string resultOf(std::string_view line) {
    std::string output;
    std::vector<std::string> reports;
    BatchRun run(
        [&](std::string_view data) {
            output += data;
            return true;
        },
        [&](std::string_view text) { reports.emplace_back(text); });
    run.processLine(line, "designs.csv", 1);
    run.finish();
    const std::string header = "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n";
    EXPECT_EQ(output.substr(0, header.size()), header);
    return output.substr(header.size());
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
        EXPECT_EQ(resultOf(c.line), c.result);
    }
}

// The tool writes the results from their numbers, the window from its own texts: on designs
// drawn at random, every column of a completed line is the window's text.
TEST(BatchRun, ResultColumnsAreTheWindowsTextsOnRandomDesigns) {
    std::mt19937 random(20261207);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const char *const materials[] = {"Медь", "Алюминий"};
    const char *const cores[] = {"Стержневой", "Тор"};
    int completed = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string mains = std::to_string(pick(100, 660));
        const std::string output = std::to_string(pick(48, 99));
        const std::string current = std::to_string(pick(25, 400));
        const std::string section = i % 3 == 0 ? "" : std::to_string(pick(10, 300)) + "," + std::to_string(pick(0, 99));
        const std::string induction = "1," + std::to_string(pick(0, 89));
        const std::string line = mains + ";" + output + ";" + current + ";" + section + ";" + materials[pick(0, 1)] +
                                 ";" + materials[pick(0, 1)] + ";" + cores[pick(0, 1)] + ";" + induction;
        const calc::DesignOutcome window = calc::CalculateDesign(ReadDesignLine(line, false).design);
        if (!window.results) continue;
        const calc::ResultNumbers &r = *window.results;
        const std::string text1 =
            window.substitutedCoreSection ? calc::FormatDouble(*window.substitutedCoreSection) : section;
        const std::string expected = "completed;" + text1 + ";" + calc::FormatInt16(r.overallPower) + ";" +
                                     calc::FormatInt16(r.requiredPower) + ";" + calc::FormatInt16(r.w1) + ";" +
                                     calc::FormatInt16(r.w2) + ";" + calc::FormatInt16(r.q1) + ";" +
                                     calc::FormatInt16(r.q2) + ";" + calc::FormatSingle(r.i1) + ";\n";
        ASSERT_EQ(resultOf(line), expected) << line;
        ++completed;
    }
    EXPECT_GT(completed, 1000);
}

TEST(BatchRun, BadLinesAreReportedWithFileAndLineAndSetExitStatus1) {
    std::string output;
    std::vector<std::string> reports;
    BatchRun run(
        [&](std::string_view data) {
            output += data;
            return true;
        },
        [&](std::string_view text) { reports.emplace_back(text); });
    const std::string input =
        "\xEF\xBB\xBF# header\n220;65;160;;Медь;Медь;Стержневой;1,42\r\n1;2;3\n\xFF;;;;;;;\n\xEF\xBB\xBF;;;;;;;\n";
    std::size_t position = 0;
    LineReader reader([&](char *data, std::size_t size) -> std::ptrdiff_t {
        const std::size_t count = std::min(size, input.size() - position);
        std::copy_n(input.data() + position, count, data);
        position += count;
        return static_cast<std::ptrdiff_t>(count);
    });
    run.processSource(reader, "designs.csv");
    run.finish();
    EXPECT_EQ(reports,
              (std::vector<std::string>{"designs.csv:3: 8 fields expected, found 3 / ожидалось 8 полей, найдено 3",
                                        "designs.csv:4: not valid UTF-8 / не UTF-8"}));
    // A byte order mark is dropped only before the first line: on the fifth it is the mains voltage.
    EXPECT_EQ(statusesOf(output), (std::vector<std::string>{"completed", "invalid", "invalid", "refused"}));
    EXPECT_EQ(run.exitStatus(), 1);

    run.noteUnreadable("missing.csv", "No such file or directory");
    EXPECT_EQ(reports.back(), "missing.csv: No such file or directory");
    EXPECT_EQ(run.exitStatus(), 2);
}

TEST(BatchRun, OutputIsWrittenInLargeBlocksAndAWriteFailureGivesStatus2) {
    std::vector<std::size_t> writes;
    bool writable = true;
    BatchRun run(
        [&](std::string_view data) {
            writes.push_back(data.size());
            return writable;
        },
        [](std::string_view) {});
    for (std::size_t i = 1; i <= 30000; ++i) run.processLine("220;65;160;;Медь;Медь;Стержневой;1,42", "x", i);
    ASSERT_EQ(writes.size(), 1U);  // about 50 bytes a line: one full buffer so far
    EXPECT_GE(writes[0], std::size_t{1} << 20);
    EXPECT_EQ(run.exitStatus(), 0);
    writable = false;
    run.finish();
    EXPECT_EQ(run.exitStatus(), 2);
}

TEST(BatchRun, AfterAFailedWriteNoMoreIsReadOrWritten) {
    std::size_t writes = 0;
    BatchRun run(
        [&](std::string_view) {
            ++writes;
            return false;
        },
        [](std::string_view) {}, 100);
    const std::string line = "220;65;160;;Медь;Медь;Стержневой;1,42\n";
    std::size_t reads = 0;
    LineReader reader(
        [&](char *data, std::size_t size) -> std::ptrdiff_t {
            if (++reads > 100000) return 0;
            return static_cast<std::ptrdiff_t>(line.copy(data, std::min(size, line.size())));
        },
        line.size());
    run.processSource(reader, "long.csv");
    run.finish();
    EXPECT_TRUE(run.outputFailed());
    EXPECT_EQ(run.exitStatus(), 2);
    EXPECT_EQ(writes, 1U);
    EXPECT_LE(reads, 3U);  // the lines that filled the 100-byte output buffer, each about 50 bytes
}

}  // namespace
}  // namespace tremira::batch
