// The real tremira-calc executable: its options, the files it reads, what it says on standard
// error, and the exit status. The cells themselves are the batch format's tests' job.

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
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string g_executable;  // absolute: the tool runs in its test folder

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// A path or a command line as one shell word.
std::string shellWord(const std::string &text) {
    std::string word = "'";
    for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + '\'';
}

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TremiraCalc : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(g_executable.empty()) << "pass the path of tremira-calc as the first argument";
        m_dir = fs::path(::testing::TempDir()) / ("tremira-calc-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string &name, const std::string &content) {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return shellWord(m_dir / name);
    }

    // A shell command line that starts tremira-calc as "$0", in our folder; its output is captured.
    ProcessResult run(const std::string &commandLine) {
        const std::string command = "cd " + shellWord(m_dir) + " && sh -c " + shellWord(commandLine) + " " +
                                    shellWord(g_executable) + " >stdout 2>stderr </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(m_dir / "stdout"), readFile(m_dir / "stderr")};
    }

    fs::path m_dir;
};

const std::string kHeader = "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n";
const std::string kRunA = "220;65;160;;Медь;Медь;Стержневой;1,42";
const std::string kRunAResult = "completed;84,672;10400;5600;83;25;6;20;48,19277;\n";

TEST_F(TremiraCalc, CalculatesFilesOrStandardInputAndReportsBadLines) {
    write("designs.csv", "\xEF\xBB\xBF# mains;output;...\n" + kRunA + "\r\n\n220;65;160;;Медь;Медь\n" +
                             "220;65;160;;\xCC\xE5\xE4\xFC;Медь;Стержневой;1,42\n" + kRunA);
    const ProcessResult fromFile = run("\"$0\" designs.csv");
    EXPECT_EQ(fromFile.exitStatus, 1);
    EXPECT_EQ(fromFile.out, kHeader + kRunAResult + "invalid;;;;;;;;;\ninvalid;;;;;;;;;\n" + kRunAResult);
    EXPECT_EQ(fromFile.err, "tremira-calc: designs.csv:4: 8 fields expected, found 6 / ожидалось 8 полей, найдено 6\n"
                            "tremira-calc: designs.csv:5: not valid UTF-8 / не UTF-8\n");

    const ProcessResult fromInput = run("echo '" + kRunA + "' | \"$0\"");
    EXPECT_EQ(fromInput.exitStatus, 0);
    EXPECT_EQ(fromInput.out, kHeader + kRunAResult);
    EXPECT_EQ(fromInput.err, "");
}

// A file or the output the system refuses gives status 2 and the system's reason; the other
// files are still calculated, and an endless input stops when the output cannot be written.
TEST_F(TremiraCalc, AFileOrOutputTheSystemRefusesGivesStatus2AndTheReason) {
    write("designs.csv", kRunA + "\n");
    fs::create_directory(m_dir / "folder.csv");
    struct Case {
        const char *commandLine;
        std::string out;
        std::string err;
    } const cases[] = {
        {"\"$0\" missing.csv designs.csv", kHeader + kRunAResult,
         "tremira-calc: missing.csv: No such file or directory / нет такого файла или папки\n"},
        {"\"$0\" folder.csv", kHeader,
         "tremira-calc: folder.csv: read error / ошибка чтения: Is a directory / это папка\n"},
        {"yes '220;65;160;;Медь;Медь;Стержневой;1,42' | \"$0\" >/dev/full", "",
         "tremira-calc: standard output: No space left on device / нет места на устройстве\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.commandLine);
        const ProcessResult result = run(c.commandLine);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
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
    write("designs.csv", kRunA + "\n");
    std::ofstream(m_dir / "endless.bin", std::ios::binary).close();
    fs::resize_file(m_dir / "endless.bin", 300'000'000);  // sparse: zero bytes on disk
    const ProcessResult result = run("ulimit -v 100000; exec \"$0\" designs.csv endless.bin designs.csv");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, kHeader + kRunAResult + "invalid;;;;;;;;;\n" + kRunAResult);
    EXPECT_EQ(result.err,
              "tremira-calc: endless.bin:1: line longer than 1048576 bytes / строка длиннее 1048576 байт\n");
}

std::vector<std::string> linesOf(const std::string &output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Each option takes the fields it names and adds their columns; --plan brings the check's too,
// --weld the plan's, in any order.
TEST_F(TremiraCalc, CheckPlanAndWeldOptionsTakeTheirFieldsAndAddTheirColumns) {
    write("designs.csv", kRunA + ";50;60;0,35;10;24;70;121;4;50;380\n" + kRunA + ";50;60\r\n" + kRunA +
                             ";50;80;0,35;;;70;121;4;50;;один;2;;;50;80;50;120;4;B\n");
    struct Case {
        const char *options;
        int exitStatus;
        std::vector<std::string> statuses;
        long columns;
        const char *lastKey;
        const char *firstReport;  // names the fields this run takes
    } const cases[] = {
        {"",
         1,
         {"invalid", "invalid", "invalid"},
         10,
         "messages",
         "tremira-calc: designs.csv:1: 8 fields expected, found 18 / ожидалось 8 полей, найдено 18\n"},
        {"--check",
         1,
         {"invalid", "completed", "invalid"},
         10 + 18,
         "test_induction",
         "tremira-calc: designs.csv:1: 8 to 13 fields expected, found 18 / ожидалось от 8 до 13 полей, найдено 18\n"},
        {"--plan",
         1,
         {"completed", "completed", "invalid"},
         10 + 18 + 53,
         "layers_II",
         "tremira-calc: designs.csv:3: 8 to 18 fields expected, found 28 / ожидалось от 8 до 18 полей, найдено 28\n"},
        {"--plan --check",
         1,
         {"completed", "completed", "invalid"},
         10 + 18 + 53,
         "layers_II",
         "tremira-calc: designs.csv:3: 8 to 18 fields expected, found 28 / ожидалось от 8 до 18 полей, найдено 28\n"},
        {"--weld", 0, {"completed", "completed", "completed"}, 10 + 18 + 53 + 36 + 8 * 18, "tap_8_note_choke", ""},
        {"--weld --plan --check",
         0,
         {"completed", "completed", "completed"},
         10 + 18 + 53 + 36 + 8 * 18,
         "tap_8_note_choke",
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options);
        const ProcessResult result = run("\"$0\" " + std::string(c.options) + " designs.csv");
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), c.firstReport);
        const std::vector<std::string> lines = linesOf(result.out);
        ASSERT_EQ(lines.size(), 4U) << result.out;
        EXPECT_TRUE(lines[0].ends_with(std::string(";") + c.lastKey)) << lines[0];
        for (const std::string &line : lines) EXPECT_EQ(std::ranges::count(line, ';') + 1, c.columns) << line;
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].substr(0, lines[i].find(';')), c.statuses[i - 1]);
    }
}

TEST_F(TremiraCalc, HelpExplainsTheFormatInRussianAndEnglish) {
    const ProcessResult result = run("\"$0\" --help");
    EXPECT_EQ(result.exitStatus, 0);
    for (const char *part :
         {"Использование: tremira-calc", "Usage: tremira-calc", "Стержневой", "Text12", "Код возврата", "Exit status",
          "--check", "test_induction", "--plan", "supply_2", "--weld", "tap_1_note_choke"}) {
        SCOPED_TRACE(part);
        EXPECT_NE(result.out.find(part), std::string::npos);
    }
}

}  // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_executable = fs::absolute(argv[1]);
    return RUN_ALL_TESTS();
}
