// The real tremira-calc executable on small files: result lines, bad lines on standard
// error, and the exit status.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const char *g_executable = nullptr;

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// A path or a command line as one shell word.
std::string quoted(const std::string &text) {
    std::string word = "'";
    for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    word += '\'';
    return word;
}

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TremiraCalc : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(g_executable, nullptr) << "pass the path of tremira-calc as the first argument";
        m_dir = fs::path(::testing::TempDir()) / ("tremira-calc-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path write(const std::string &name, const std::string &content) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // `arguments` are already quoted for the shell.
    ProcessResult run(const std::string &arguments, const fs::path &stdinFile = "/dev/null") {
        return runShell(quoted(g_executable) + " " + arguments + " <" + quoted(stdinFile));
    }

    // A shell command line that starts tremira-calc as "$0"; its output is captured.
    ProcessResult runShell(const std::string &commandLine) {
        const fs::path out = m_dir / "stdout";
        const fs::path err = m_dir / "stderr";
        const std::string command =
            "sh -c " + quoted(commandLine) + " " + quoted(g_executable) + " >" + quoted(out) + " 2>" + quoted(err);
        const int status = std::system(command.c_str());
        ProcessResult result;
        if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
        result.out = readFile(out);
        result.err = readFile(err);
        return result;
    }

    fs::path m_dir;
};

const std::string kHeader = "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n";

const std::string kDesigns = "# mains;output;current;section;material I;material II;core;induction\n"
                             "220;65;160;;Медь;Медь;Стержневой;1,42\n"
                             "220;65;160;;Алюминий;Алюминий;Тор;1,42\r\n"
                             "\n"
                             "220;65;160;;Медь;Медь;Стержневой;1,9\n"
                             "220;65;160;;Медь;Медь;Стержневой;0,0\n"
                             "220;65;160;;Медь;Медь\n"
                             "220;65;160;;\xCC\xE5\xE4\xFC;Медь;Стержневой;1,42\n"
                             "40000;65;160;;Медь;Медь;Стержневой;1,42";

const std::string kResults = kHeader +
                             "completed;84,672;10400;5600;83;25;6;20;48,19277;\n"
                             "completed;60,48;10400;4000;117;35;10;32;47,86325;\n"
                             "refused;;;;;;;;;Значение Макс. индукции завышено! Исправте значение\n"
                             "failed;84,672;;;;;;;;Произошла ошибка: 11-Деление на ноль\n"
                             "invalid;;;;;;;;;\n"
                             "invalid;;;;;;;;;\n"
                             "failed;;;;;;;;;Произошла ошибка: 6-Переполнение | Введенное значение слишком мало!\n";

TEST_F(TremiraCalc, CalculatesAFileAndReportsItsBadLines) {
    const fs::path designs = write("designs.csv", kDesigns);
    const ProcessResult result = run(quoted(designs));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, kResults);
    EXPECT_NE(result.err.find("designs.csv:7: 8 fields expected, found 6"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("designs.csv:8: not valid UTF-8"), std::string::npos) << result.err;
}

TEST_F(TremiraCalc, ReadsStandardInputWhenNoFileIsNamedWindowsStyle) {
    const fs::path designs = write("designs.csv", "\xEF\xBB\xBF"
                                                  "220;65;160;;Медь;Медь;Стержневой;1,42\r\n");
    const ProcessResult result = run("", designs);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, kHeader + "completed;84,672;10400;5600;83;25;6;20;48,19277;\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(TremiraCalc, MissingFileGivesStatus2AndTheOtherFilesAreStillCalculated) {
    const fs::path designs = write("designs.csv", "220;65;160;;Алюминий;Алюминий;Тор;1,42\n");
    const ProcessResult result = run(quoted(m_dir / "missing.csv") + " " + quoted(designs));
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, kHeader + "completed;60,48;10400;4000;117;35;10;32;47,86325;\n");
    EXPECT_NE(result.err.find("missing.csv"), std::string::npos) << result.err;
}

TEST_F(TremiraCalc, ReadErrorGivesStatus2WithTheSystemsReason) {
    const ProcessResult result = run(quoted(m_dir));
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, kHeader);
    EXPECT_NE(result.err.find(": read error / ошибка чтения: Is a directory"), std::string::npos) << result.err;
}

TEST_F(TremiraCalc, AFailedWriteEndsAnEndlessInputWithStatus2) {
    const ProcessResult result = runShell("yes '220;65;160;;Медь;Медь;Стержневой;1,42' | \"$0\" >/dev/full");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("standard output: No space left on device"), std::string::npos) << result.err;
}

// The reasons from opening a file and from writing the output carry a Russian text too.
TEST_F(TremiraCalc, SystemReasonsAreGivenInEnglishAndRussian) {
    struct Case {
        const char *name;
        std::string commandLine;
        const char *reason;
    } const cases[] = {
        {"missing file", "\"$0\" " + quoted(m_dir / "missing.csv"),
         "missing.csv: No such file or directory / нет такого файла или папки\n"},
        {"full disk", "echo '220;65;160;;Медь;Медь;Стержневой;1,42' | \"$0\" >/dev/full",
         "standard output: No space left on device / нет места на устройстве\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessResult result = runShell(c.commandLine);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_TRUE(result.err.ends_with(c.reason)) << result.err;
    }
}

// A 300 MB line without a line feed between two design files, with the address space held to
// about 100 MB: the line is reported and skipped, both files' results come out.
TEST_F(TremiraCalc, AnEndlessLineIsSkippedInBoundedMemory) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than the bound";
#endif
#endif
    const fs::path before = write("before.csv", "220;65;160;;Медь;Медь;Стержневой;1,42\n");
    const fs::path endless = m_dir / "endless.bin";
    std::ofstream(endless, std::ios::binary).close();
    fs::resize_file(endless, 300'000'000);  // sparse: zero bytes on disk
    const fs::path after = write("after.csv", "220;65;160;;Алюминий;Алюминий;Тор;1,42\n");
    const ProcessResult result =
        runShell("ulimit -v 100000; exec \"$0\" " + quoted(before) + " " + quoted(endless) + " " + quoted(after));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, kHeader + "completed;84,672;10400;5600;83;25;6;20;48,19277;\n"
                                    "invalid;;;;;;;;;\n"
                                    "completed;60,48;10400;4000;117;35;10;32;47,86325;\n");
    EXPECT_NE(result.err.find("endless.bin:1: line longer than 1048576 bytes"), std::string::npos) << result.err;
}

TEST_F(TremiraCalc, CheckOptionAddsTheDesignCheckColumns) {
    const fs::path designs = write("designs.csv", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;10;24\n"
                                                  "220;65;160;;Алюминий;Алюминий;Тор;1,42;61\r\n");
    const ProcessResult result = run(quoted(designs) + " --check");
    EXPECT_EQ(result.exitStatus, 0);
    const std::string checkHeader =
        ";K;copper_area;window_area_needed;window_area;fill_percent;fill;wire_I_diameter;wire_I;wire_II_diameter;"
        "wire_II;load_voltage;strike_ratio;voltage;test_K;test_W1;test_W2;test_B;test_induction\n";
    const std::string noTest = "пробная обмотка не задана";
    EXPECT_EQ(result.out, kHeader.substr(0, kHeader.size() - 1) + checkHeader +
                              "completed;84,672;10400;5600;83;25;6;20;48,19277;;2,637;998;2852;3000;33;помещается;"
                              "2,764;2,80;5,046;3 × 3,00;26,4;2,46;в норме;2,4;92;27;1,29;в норме\n"
                              "completed;60,48;10400;4000;117;35;10;32;47,86325;;1,884;2290;6543;2922;78;"
                              "не помещается: нужно окно не меньше 6543 мм², внутренний диаметр не меньше 91,3 мм;"
                              "3,568;3,75;6,383;4 × 3,35;26,4;2,46;в норме;" +
                              noTest + ";" + noTest + ";" + noTest + ";" + noTest + ";" + noTest + "\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(TremiraCalc, WithoutCheckTheCheckFieldsMakeALineInvalid) {
    const fs::path designs = write("designs.csv", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60\n");
    const ProcessResult result = run(quoted(designs));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, kHeader + "invalid;;;;;;;;;\n");
}

// The cells themselves are the batch format's tests' job; here the option and the program.
TEST_F(TremiraCalc, PlanOptionAddsTheWindingPlanColumnsAfterTheChecks) {
    const fs::path designs = write("designs.csv", "220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121;4;50;380\n"
                                                  "220;220;160;;Медь;Медь;Стержневой;1,42\r\n");
    const ProcessResult result = run("--plan " + quoted(designs));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    const auto cells = [](std::string_view line) { return std::count(line.begin(), line.end(), ';') + 1; };
    std::istringstream lines(result.out);
    std::string header, completed, refused;
    std::getline(lines, header);
    std::getline(lines, completed);
    std::getline(lines, refused);
    EXPECT_TRUE(header.ends_with(";breaker;supply;breaker_2;supply_2")) << header;
    EXPECT_EQ(cells(header), 10 + 18 + 38);
    EXPECT_TRUE(completed.starts_with("completed;")) << completed;
    EXPECT_EQ(cells(completed), cells(header));
    EXPECT_EQ(refused, "refused;;;;;;;;;Выходное напряжение больше или равно входному!" + std::string(18 + 38, ';'));
}

TEST_F(TremiraCalc, HelpExplainsTheFormatInRussianAndEnglish) {
    const ProcessResult result = run("--help");
    EXPECT_EQ(result.exitStatus, 0);
    for (const char *part : {"Использование: tremira-calc", "Usage: tremira-calc", "Стержневой", "Text12",
                             "Код возврата", "Exit status", "--check", "test_induction", "--plan", "supply_2"}) {
        SCOPED_TRACE(part);
        EXPECT_NE(result.out.find(part), std::string::npos);
    }
}

}  // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_executable = argv[1];
    return RUN_ALL_TESTS();
}
