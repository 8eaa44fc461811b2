// tremira-calc: the window's calculation for many designs at once, from files or standard
// input to standard output.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch/design_lines.h"
#include "app/batch/system_reason.h"

namespace {

constexpr std::string_view kCheckOption = "--check";
constexpr std::string_view kPlanOption = "--plan";
constexpr std::string_view kWeldOption = "--weld";

constexpr std::string_view kHelp =
    R"(Использование: tremira-calc [--check] [--plan] [--weld] [ФАЙЛ]...
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
С --check после восьми полей можно дать ещё пять (пустые можно опустить, строку
можно закончить знаком ";"): ширина окна сердечника, мм (для тора - внутренний
  диаметр); высота окна, мм (для тора пусто); коэффициент заполнения от 0,01 до 1
  (пусто - 0,35); витки пробной обмотки; напряжение на ней, В. К выводу
  добавляются столбцы проверки конструкции:
  K;copper_area;window_area_needed;window_area;fill_percent;fill;wire_I_diameter;
  wire_I;wire_II_diameter;wire_II;load_voltage;strike_ratio;voltage;test_K;
  test_W1;test_W2;test_B;test_induction - вольт на виток, площадь меди и окна
  (мм²), заполнение (%), провод (диаметр и номинал, мм), напряжение нагрузки (В),
  запас для зажигания дуги, пробная обмотка (K', витки I и II, индукция, Тл).
  Вместо числа, которое нельзя получить или которое читалось бы как 0 или
  больше 999 %, стоит короткое сообщение.
  Пример:  220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;10;24
С --plan (включает и --check) после пяти полей проверки можно дать ещё пять: сторона
  a стержня, мм (для тора - радиальная ширина кольца); сторона b, мм (для тора -
  высота кольца); число отводов (2-8); нижнее напряжение холостого хода отводов, В;
  второе напряжение сети, В. К выводу добавляются столбцы плана намотки:
  S0;S0_vs_S;t_I;t_II;windings_fit;MLT_I;MLT_II;turns_I;q_I;L_I;buy_I;mass_I;
  turns_I_2;q_I_2;L_I_2;buy_I_2;mass_I_2;L_II;buy_II;mass_II;R_I;R_II;losses;
  tap_1;...;tap_8;W1_2;q1_2;I1_2;breaker;supply;breaker_2;supply_2;room_left;
  wire1_2;MLT_I_2;L_I_all;buy_I_all;layer_I;layers_I;L_I_2_all;buy_I_2_all;
  layer_I_2;layers_I_2;L_II_all;buy_II_all;layer_II;layers_II - сечение по
  сторонам (см²) и сравнение с S, толщина обмоток (мм), помещаются ли, средний виток
  (мм); провод обмотки I (витки, сечение мм², длина м, купить м, масса кг), второй
  провод обмотки I, если второе напряжение требует другого сечения; провод обмотки
  II; сопротивления (Ом, 20 °C) и потери в меди (Вт); по столбцу на отвод ("витки /
  В / Тл" и предупреждения), начиная с нижнего напряжения, отводы с одинаковым
  числом витков - в одном столбце; второе напряжение сети (витки, сечение, ток);
  автомат (А) и питание для каждого напряжения; сколько останется ширины окна
  (для тора - диаметр отверстия), мм; провод второго напряжения по IEC 60317;
  средний виток второго провода I; для каждого провода длина и "купить" всех
  параллельных проводов вместе (L_I, buy_I и т. п. - одного провода), витков в
  слое и слоев (по наружному диаметру провода с эмалью, IEC 60317-0-1, класс 1).
  Сечение второго напряжения - сечение круглого провода, который для него нужен;
  у каждого участка обмотки I свой средний виток, у тора толщина снаружи кольца
  считается по кольцу той же площади. Столбцы отводов и второго напряжения пусты,
  если они не заданы.
  Пример:  220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121;4;50;380
С --weld (включает и --plan) после пяти полей плана можно дать ещё десять:
  расположение обмоток ("один" - II поверх I на одном стержне, или "разные";
  пусто - "один"; для тора не читается); зазор между обмотками, мм (пусто - 2);
  замер: витки отвода и ток сварки на нём без дросселя, А; сердечник дросселя:
  стороны a и b, ширина c и высота h окна, мм; потери в стали при 1,5 Тл и 50 Гц,
  Вт/кг (пусто - 4,0); класс изоляции B, F или H (пусто - B). К выводу
  добавляются столбцы: B50;B50_verdict - индукция на w1 при 50 Гц (Тл) и оценка;
  X_source;X_measured - откуда сопротивление рассеяния (формула Каппа или замер)
  и X по замеру (Ом); X_n;choke;L_choke - нужное сопротивление (Ом), нужен ли
  дроссель, его индуктивность (мГн); w_choke;gap_choke;t_choke;MLT_choke;
  L_wire_choke;R_choke;mass_choke;choke_fit;B_choke;B_choke_verdict - дроссель на
  заданном сердечнике: витки, общий зазор (мм), толщина обмотки и средний виток
  (мм), провод (м), сопротивление (Ом), масса провода (кг), помещается ли,
  индукция при наибольшем токе КЗ (Тл); theta;core_mass;core_loss;copper_loss;
  surface;duty;I_60;I_100;tau;minutes_cold - нагрев трансформатора на w1:
  предельная температура (°C), масса (кг) и потери стали (Вт), потери в меди
  (Вт), поверхность (м²), ПВ (%), токи при ПВ 60 и 100 % (А), постоянная
  времени и сварка от холодного (мин); то же для дросселя с приставкой choke_;
  затем по группе на отвод, начиная с нижнего напряжения (без отводов - одна
  группа для w1): tap_1_w;tap_1_B;tap_1_U20;tap_1_U20_high;tap_1_R;tap_1_X;
  tap_1_I;tap_1_U_arc;tap_1_I_sc;tap_1_I_mains;tap_1_electrode;tap_1_note;
  tap_1_I_choke;tap_1_U_arc_choke;tap_1_I_sc_choke;tap_1_I_mains_choke;
  tap_1_electrode_choke;tap_1_note_choke;... до tap_8 - витки, индукция (Тл),
  U хх и U хх при сети +10 % (В), R и X ко II обмотке (Ом), ток сварки, напряжение
  дуги, ток КЗ и ток сети (А), электрод (мм), замечания; то же с дросселем.
  Пример:  220;65;160;;Медь;Медь;Стержневой;1,42;50;80;0,35;;;70;121;4;50;;один;2;;;50;80;50;120;4;B
Код возврата: 0 - все строки прочитаны; 1 - есть строки с другим числом полей
или не в UTF-8 (о каждой сказано в stderr с файлом и номером строки);
2 - файл не открывается или не читается, или вывод не записывается.

Usage: tremira-calc [--check] [--plan] [--weld] [FILE]...
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
With --check, five more fields may follow the eight (empty ones may be left out,
and the line may end in ";"): core window width, mm (inner diameter for a
  toroid); window height, mm (empty for a toroid); fill factor from 0,01 to 1
  (empty: 0,35); test winding turns; voltage measured on it, V. The output gains
  the design check's columns named above: volts per turn, copper and window
  areas (mm²), fill (%), wire (diameter and nominal size, mm), load voltage (V),
  arc strike margin, and the test winding (K', turns I and II, induction, T).
  A figure that cannot be given, or that would read 0 or past 999 %, holds a
  short message instead.
  Example:  220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;10;24
With --plan (which implies --check), five more fields may follow the check's
  five: leg side a, mm (the ring's radial width for a toroid); leg side b, mm
  (the ring's height); number of taps (2 to 8); lowest no-load voltage of the
  taps, V; second mains voltage, V. The output gains the winding plan's columns
  named above: section from the sides (cm²) against S, builds (mm), whether they
  fit, mean turns (mm); winding I's wire (turns, section mm², length m, to buy m,
  mass kg), its second wire when a second mains voltage needs another section;
  winding II's wire; resistances (ohm, 20 °C) and copper losses (W); one column
  per tap ("turns / V / T" and warnings), lowest voltage first; the second mains
  voltage (turns, section, current); the breaker (A) and supply for each mains
  voltage; the window width left (for a toroid the hole's diameter), mm; the
  second mains voltage's IEC 60317 wire; the mean turn of winding I's second
  wire; for each wire the length and metres to buy of all parallel strands
  together (L_I, buy_I and so on are of one strand), turns per layer and layers
  (by the wire's overall diameter over the enamel, IEC 60317-0-1 grade 1).
  The second mains section is that of the round wire it needs; each span of
  winding I has its own mean turn; a toroid's build outside the ring is that
  of an annulus of the same area. The tap and second mains columns are empty
  when not asked for.
  Example:  220;65;160;;Медь;Медь;Стержневой;1,42;50;60;0,35;;;70;121;4;50;380
With --weld (which implies --plan), ten more fields may follow the plan's five:
  the windings' arrangement ("один": winding II over winding I on one leg, or
  "разные": on separate legs; empty: "один"; not read for a toroid); the gap
  between the windings, mm (empty: 2); a measurement: the turns of a tap and
  the welding current on it without a choke, A; the choke core: leg sides a
  and b, window width c and height h, mm; the steel loss at 1,5 T and 50 Hz,
  W/kg (empty: 4,0); the insulation class B, F or H (empty: B). The output
  gains the columns named above: the induction on w1 at 50 Hz (T) and its
  verdict; where the leakage reactance comes from (Kapp's formula or the
  measurement) and the measured X (ohm); the reactance needed (ohm), whether a
  choke is needed, its inductance (mH); the choke on the typed core: turns,
  total gap (mm), build and mean turn (mm), wire (m), resistance (ohm), wire
  mass (kg), whether it fits, induction at the largest short-circuit current
  (T); the transformer's heating on w1: the winding limit (deg C), core mass
  (kg) and loss (W), copper loss (W), surface (m²), duty cycle (%), currents at
  60 and 100 % (A), time constant and minutes of arc from cold; the same for
  the choke with the prefix choke_; then one group per tap, lowest voltage
  first (w1 alone without taps), tap_1_w to tap_8_note_choke: turns, induction
  (T), no-load voltage and that on mains 10 % high (V), R and X referred to
  winding II (ohm), welding current, arc voltage, short-circuit and mains
  current (A), electrode (mm), notes; the same with the choke.
  Example:  220;65;160;;Медь;Медь;Стержневой;1,42;50;80;0,35;;;70;121;4;50;;один;2;;;50;80;50;120;4;B
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
        run.noteUnreadable(path, tremira::batch::SystemReason(errno));
        return;
    }
    tremira::batch::LineReader reader = readerOf(fd);
    run.processSource(reader, path);
    ::close(fd);
}

}  // namespace

int main(int argc, char **argv) {
    using tremira::batch::BatchRun;
    BatchRun::Columns columns = BatchRun::Columns::Design;
    std::vector<const char *> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return writeAll(STDOUT_FILENO, kHelp) ? 0 : 2;
        // Each option brings the figures of those before it.
        if (arg == kWeldOption) {
            columns = BatchRun::Columns::DesignCheckPlanAndWeld;
        } else if (arg == kPlanOption) {
            columns = std::max(columns, BatchRun::Columns::DesignCheckAndPlan);
        } else if (arg == kCheckOption) {
            columns = std::max(columns, BatchRun::Columns::DesignAndCheck);
        } else {
            files.push_back(argv[i]);
        }
    }
    BatchRun run(
        [](std::string_view data) {
            if (writeAll(STDOUT_FILENO, data)) return true;
            report("standard output: " + tremira::batch::SystemReason(errno));
            return false;
        },
        report, BatchRun::kDefaultFlushThreshold, columns);
    if (files.empty()) {
        tremira::batch::LineReader reader = readerOf(STDIN_FILENO);
        run.processSource(reader, "<stdin>");
    }
    for (std::size_t i = 0; i < files.size() && !run.outputFailed(); ++i) processFile(run, files[i]);
    run.finish();
    return run.exitStatus();
}
