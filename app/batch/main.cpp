// tremira-calc: the window's calculation for many designs at once, from files or standard
// input to standard output.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "app/batch/design_lines.h"

namespace {

constexpr std::string_view kHelp =
    R"(Использование: tremira-calc [ФАЙЛ]...
Рассчитывает сварочные трансформаторы так же, как окно программы Тремира.
Читает расчёты из ФАЙЛОВ (или со стандартного ввода, если файлы не указаны) в UTF-8:
одна строка - один расчёт, восемь полей через ";" в порядке полей окна:
  напряжение сети; выходное напряжение; ток сварки; сечение сердечника;
  материал обмотки I; материал обмотки II; тип сердечника; макс. индукция
Числа пишутся с десятичной запятой, как в окне; поле может быть пустым. Материал:
"Медь" или "Алюминий", тип сердечника: "Стержневой" или "Тор" (другой текст - как
в окне, когда в списке ничего не выбрано). Пустые строки и строки, начинающиеся
с "#", пропускаются; CR в конце строки и метка BOM в начале файла (файлы Windows)
не мешают.
Пример:  220;65;160;;Медь;Медь;Стержневой;1,42

На стандартный вывод - строка заголовка, затем по строке на расчёт, поля через ";":
  статус (completed - рассчитан, refused - отказ, failed - ошибка, invalid - строка
  не прочитана); сечение сердечника после расчёта (Text1); мощность общая (Text5);
  мощность требуемая (Text11); витки обмотки I (Text6) и II (Text7); сечение
  провода обмотки I (Text8) и II (Text9); макс. ток обмотки I (Text12);
  сообщения по порядку через " | " (CR записан как \r, обратная косая черта как \\).
Сечение с ", ; или управляющим символом или начинающееся с = или @ записано
в кавычках (кавычки удвоены). Строка длиннее 1 МиБ пропускается как invalid.
Результаты заполнены только у рассчитанных строк. Вывод открывается в LibreOffice
с разделителем ";" и десятичной запятой.
Код возврата: 0 - все строки прочитаны; 1 - есть строки с другим числом полей
или не в UTF-8 (о каждой сказано в stderr с файлом и номером строки);
2 - файл не открывается или не читается, или вывод не записывается.

Usage: tremira-calc [FILE]...
Calculates welding transformers exactly as the Тремира window does.
Reads designs from the FILEs (standard input when none is given), UTF-8, one
design per line, eight fields separated by ";" in the order of the window's inputs:
  mains voltage; output voltage; welding current; core section;
  material I; material II; core type; maximum induction
Numbers use the decimal comma, as in the window; a field may be empty. Materials:
"Медь" (copper) or "Алюминий" (aluminium); core type: "Стержневой" (rod) or "Тор"
(toroid); any other text counts as nothing selected in the list. Empty lines and
lines starting with "#" are skipped; a trailing CR and a byte order mark at the
start of a file (Windows files) are ignored.
Example:  220;65;160;;Медь;Медь;Стержневой;1,42

Writes a header line and then one line per design to standard output, ";"-separated:
  status (completed, refused, failed, or invalid for a line that could not be
  read); core section after the calculation (Text1); overall power (Text5);
  required power (Text11); turns of winding I (Text6) and II (Text7); wire
  cross-section of winding I (Text8) and II (Text9); maximum current of winding I
  (Text12); the messages in order joined by " | " (CR written as \r, backslash as \\).
A core section holding ", ; or a control character, or starting with = or @, is
written in double quotes (quotes doubled). A line over 1 MiB is skipped as invalid.
Results are filled for completed designs only. LibreOffice opens the output with
";" as separator and the comma as decimal mark.
Exit status: 0 every line was read; 1 some line had another number of fields or
was not UTF-8 (each reported on stderr with its file and line number); 2 a file
could not be opened or read, or the output could not be written.
)";

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void report(std::string_view text) {
    std::string line = "tremira-calc: ";
    line += text;
    line += '\n';
    writeAll(STDERR_FILENO, line);
}

tremira::batch::LineReader readerOf(int fd) {
    return tremira::batch::LineReader([fd](char *data, std::size_t size) -> std::ptrdiff_t {
        for (;;) {
            const ssize_t count = ::read(fd, data, size);
            if (count >= 0 || errno != EINTR) return count;
        }
    });
}

void processFile(tremira::batch::BatchRun &run, const char *path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        run.noteUnreadable(path, std::strerror(errno));
        return;
    }
    tremira::batch::LineReader reader = readerOf(fd);
    run.processSource(reader, path);
    ::close(fd);
}

}  // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return writeAll(STDOUT_FILENO, kHelp) ? 0 : 2;
    }
    tremira::batch::BatchRun run(
        [](std::string_view data) {
            if (writeAll(STDOUT_FILENO, data)) return true;
            report(std::string("standard output: ") + std::strerror(errno));
            return false;
        },
        report);
    if (argc < 2) {
        tremira::batch::LineReader reader = readerOf(STDIN_FILENO);
        run.processSource(reader, "<stdin>");
    }
    for (int i = 1; i < argc && !run.outputFailed(); ++i) processFile(run, argv[i]);
    run.finish();
    return run.exitStatus();
}
