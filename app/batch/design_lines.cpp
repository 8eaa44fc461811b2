#include "design_lines.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/batch/system_reason.h"
#include "app/batch/utf8_validation.h"

namespace tremira::batch {
namespace {

using calc::AfterMessageAction;
using calc::Status;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view statusName(Status status) {
    switch (status) {
    case Status::Completed: return "completed";
    case Status::Refused: return "refused";
    case Status::Failed: return "failed";
    }
    return "failed";
}

// Keeps one design on one output line: CR becomes "\r" and the backslash "\\".
void appendEscaped(std::string &out, std::string_view text) {
    for (const char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
}

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// LibreOffice would split the row at a ";", take a "=" or "@" for a formula and lose its
// way at a quote or a control character: such a text is written quoted, quotes doubled.
bool needsQuotes(std::string_view text) {
    if (text.starts_with('=') || text.starts_with('@')) return true;
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '"' || c == kFieldSeparator || isControl(c); });
}

void appendCell(std::string &out, std::string_view text) {
    if (!needsQuotes(text)) {
        appendEscaped(out, text);
        return;
    }
    std::string escaped;
    appendEscaped(escaped, text);
    out += '"';
    for (const char c : escaped) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Text1 after the run: the substituted section, empty when the refusal empties the field,
// otherwise the text the user gave.
std::string_view coreSectionAfter(const calc::DesignInput &input, const calc::DesignOutcome &outcome,
                                  std::string &substituted) {
    if (outcome.substitutedCoreSection) return substituted = calc::FormatDouble(*outcome.substitutedCoreSection);
    if (outcome.afterMessages == AfterMessageAction::ClearCoreSection) return {};
    return input.coreSection;
}

// The seven result columns, each led by its separator, in the window's texts.
void appendResultColumns(std::string &out, const calc::ResultNumbers &r) {
    for (const calc::Int16 number : {r.overallPower, r.requiredPower, r.w1, r.w2, r.q1, r.q2}) {
        out += kFieldSeparator;
        out += calc::FormatInt16(number);
    }
    out += kFieldSeparator;
    out += calc::FormatSingle(r.i1);
}

// The design's eight fields, the check's five, the plan's five, the weld's ten and the empty one
// after a closing separator.
constexpr std::size_t kMostFields = kInputFieldCount + kCheckFieldCount + kPlanFieldCount + kWeldFieldCount + 1;

// The fields of a line, as far as the format has room for them, and how many there are.
struct SplitLine {
    std::array<std::string_view, kMostFields> fields{};
    std::size_t count = 0;
};

SplitLine splitFields(std::string_view line) {
    SplitLine split;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(kFieldSeparator, start);
        if (split.count < kMostFields) split.fields[split.count] = line.substr(start, end - start);
        ++split.count;
        if (end == std::string_view::npos) return split;
        start = end + 1;
    }
}

// Up to `optional` fields after the design's eight, and one empty field after them.
bool optionalFieldsFit(const SplitLine &split, std::size_t optional) {
    const std::size_t most = kInputFieldCount + optional;
    if (split.count == most + 1) return split.fields[most].empty();
    return split.count >= kInputFieldCount && split.count <= most;
}

// The whole line must be UTF-8, but with the check's fields only the design's eight: the
// fields after them are read as numbers or compared with the few entries of a choice, and
// bytes that are not UTF-8 make neither of them and never reach the output.
bool fieldsAreUtf8(std::string_view line, const SplitLine &split, bool withCheck) {
    if (!withCheck) return IsValidUtf8(line);
    return std::all_of(split.fields.begin(), split.fields.begin() + kInputFieldCount, IsValidUtf8);
}

// A file name as the reports show it: control characters as \xHH, the backslash as \\.
std::string escapedName(std::string_view name) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : name) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (isControl(c)) {
            const auto byte = static_cast<unsigned char>(c);
            escaped += "\\x";
            escaped += kHexDigits[byte >> 4];
            escaped += kHexDigits[byte & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void appendHeader(std::string &out) { out += "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n"; }

void appendOutcome(std::string &out, const calc::DesignInput &input, const calc::DesignOutcome &outcome) {
    out += statusName(outcome.status);
    out += kFieldSeparator;
    std::string substituted;
    appendCell(out, coreSectionAfter(input, outcome, substituted));
    if (outcome.results) {
        appendResultColumns(out, *outcome.results);
    } else {
        out.append(7, kFieldSeparator);
    }
    out += kFieldSeparator;
    const char *joint = "";
    for (const calc::UserMessage &message : outcome.messages) {
        out += joint;
        appendEscaped(out, message.text);
        joint = " | ";
    }
    out += '\n';
}

void appendInvalid(std::string &out) { out += "invalid;;;;;;;;;\n"; }

}  // namespace

DesignLine ReadDesignLine(std::string_view line, FigureColumns columns) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') return {};
    const SplitLine split = splitFields(line);
    const bool withCheck = columns != FigureColumns::None && optionalFieldsFit(split, OptionalFieldCount(columns));
    if (!fieldsAreUtf8(line, split, withCheck)) return {.kind = LineKind::NotUtf8};
    if (!withCheck && split.count != kInputFieldCount)
        return {.kind = LineKind::WrongFieldCount, .fieldCount = split.count};
    const auto &f = split.fields;
    DesignLine read{.kind = LineKind::Design, .fieldCount = split.count};
    read.design.mainsVoltage = f[0];
    read.design.outputVoltage = f[1];
    read.design.weldingCurrent = f[2];
    read.design.coreSection = f[3];
    read.design.materialI = calc::ListIndexOf(f[4], calc::kMaterialEntries);
    read.design.materialII = calc::ListIndexOf(f[5], calc::kMaterialEntries);
    read.design.coreType = calc::ListIndexOf(f[6], calc::kCoreTypeEntries);
    read.design.induction = f[7];
    read.typed = {.windowWidth = f[8],
                  .windowHeight = f[9],
                  .fillFactor = f[10],
                  .testTurns = f[11],
                  .testVoltage = f[12],
                  .legWidth = f[13],
                  .legDepth = f[14],
                  .tapCount = f[15],
                  .lowestTapVoltage = f[16],
                  .secondMainsVoltage = f[17],
                  .arrangement = f[18],
                  .gap = f[19],
                  .measuredTurns = f[20],
                  .measuredCurrent = f[21],
                  .chokeLegWidth = f[22],
                  .chokeLegDepth = f[23],
                  .chokeWindowWidth = f[24],
                  .chokeWindowHeight = f[25],
                  .steelLoss = f[26],
                  .insulationClass = f[27]};
    return read;
}

BatchRun::BatchRun(WriteOutput writeOutput, Report report, std::size_t flushThreshold, Columns columns)
    : m_writeOutput(std::move(writeOutput)), m_report(std::move(report)), m_flushThreshold(flushThreshold),
      m_columns(columns) {
    m_output.reserve(flushThreshold + 4096);
    appendHeader(m_output);
    if (withCheck()) AppendFigureHeader(m_output, figureColumns());
}

void BatchRun::processSource(LineReader &reader, std::string_view name) {
    std::size_t lineNumber = 0;
    // After a failed write nothing more can reach the output: stop reading at once.
    while (!m_outputFailed) {
        std::optional<std::string_view> line = reader.next();
        if (!line) break;
        ++lineNumber;
        if (reader.lineTooLong()) {
            const std::string cap = std::to_string(reader.maxLineLength());
            noteInvalid(name, lineNumber, "line longer than " + cap + " bytes / строка длиннее " + cap + " байт");
            continue;
        }
        // Windows editors start a UTF-8 file with a byte order mark; it is not part of the mains voltage.
        if (lineNumber == 1 && line->starts_with(kByteOrderMark)) line->remove_prefix(kByteOrderMark.size());
        processLine(*line, name, lineNumber);
    }
    if (reader.failed()) noteUnreadable(name, "read error / ошибка чтения: " + SystemReason(reader.error()));
}

void BatchRun::processLine(std::string_view line, std::string_view name, std::size_t lineNumber) {
    const DesignLine read = ReadDesignLine(line, figureColumns());
    if (read.kind == LineKind::Skipped) return;
    if (read.kind == LineKind::Design) {
        const calc::DesignOutcome outcome = calc::CalculateDesign(read.design);
        appendOutcome(m_output, read.design, outcome);
        if (withCheck()) AppendFigureColumns(m_output, outcome, read.typed, figureColumns());
        flushIfFull();
    } else if (read.kind == LineKind::NotUtf8) {
        noteInvalid(name, lineNumber, "not valid UTF-8 / не UTF-8");
    } else {
        noteInvalid(name, lineNumber, wrongFieldCount(read.fieldCount));
    }
}

FigureColumns BatchRun::figureColumns() const {
    switch (m_columns) {
    case Columns::Design: return FigureColumns::None;
    case Columns::DesignAndCheck: return FigureColumns::Check;
    case Columns::DesignCheckAndPlan: return FigureColumns::CheckAndPlan;
    case Columns::DesignCheckPlanAndWeld: return FigureColumns::CheckPlanAndWeld;
    }
    return FigureColumns::None;
}

// The fields this run takes, as a line with another number of them is told.
std::string BatchRun::wrongFieldCount(std::size_t found) const {
    const std::size_t most = kInputFieldCount + OptionalFieldCount(figureColumns());
    const std::string fewest = std::to_string(kInputFieldCount);
    const std::string count = std::to_string(found);
    if (most == kInputFieldCount) {
        return fewest + " fields expected, found " + count + " / ожидалось " + fewest + " полей, найдено " + count;
    }
    const std::string upTo = std::to_string(most);
    return fewest + " to " + upTo + " fields expected, found " + count + " / ожидалось от " + fewest + " до " + upTo +
           " полей, найдено " + count;
}

void BatchRun::noteInvalid(std::string_view name, std::size_t lineNumber, std::string_view reason) {
    appendInvalid(m_output);
    if (withCheck()) AppendEmptyFigureColumns(m_output, figureColumns());
    m_someInvalid = true;
    m_report(escapedName(name) + ':' + std::to_string(lineNumber) + ": " + std::string(reason));
    flushIfFull();
}

void BatchRun::noteUnreadable(std::string_view name, std::string_view reason) {
    m_ioFailed = true;
    m_report(escapedName(name) + ": " + std::string(reason));
}

void BatchRun::flushIfFull() {
    if (m_output.size() >= m_flushThreshold) finish();
}

void BatchRun::finish() {
    if (!m_outputFailed && !m_output.empty() && !m_writeOutput(m_output)) m_outputFailed = m_ioFailed = true;
    m_output.clear();
}

int BatchRun::exitStatus() const {
    if (m_ioFailed) return 2;
    return m_someInvalid ? 1 : 0;
}

}  // namespace tremira::batch
