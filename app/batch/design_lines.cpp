#include "design_lines.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\\') continue;
        out.append(text, start, i - start);
        out += text[i] == '\r' ? "\\r" : "\\\\";
        start = i + 1;
    }
    out.append(text, start);
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
                                  calc::NumberText &substituted) {
    if (outcome.substitutedCoreSection) return (substituted = calc::DoubleText(*outcome.substitutedCoreSection)).view();
    if (outcome.afterMessages == AfterMessageAction::ClearCoreSection) return {};
    return input.coreSection;
}

// The seven result columns, each led by its separator, put together in place and appended
// at once: an append per number cost more than writing the number.
void appendResultColumns(std::string &out, const calc::ResultNumbers &r) {
    constexpr std::size_t kColumnRoom = 1 + calc::kNumberTextRoom;
    std::array<char, 7 * kColumnRoom> columns;
    char *end = columns.data();
    for (const calc::Int16 number : {r.overallPower, r.requiredPower, r.w1, r.w2, r.q1, r.q2}) {
        *end++ = kFieldSeparator;
        end = calc::WriteInt16(end, number);
    }
    *end++ = kFieldSeparator;
    end = calc::WriteSingle(end, r.i1);
    out.append(columns.data(), end);
}

static_assert(std::endian::native == std::endian::little, "the first byte of a block is its lowest");

// The separators among eight bytes: the top bit of each byte that is one is set, no other bit.
std::uint64_t separatorsIn(std::uint64_t block) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = block ^ (0x0101010101010101ULL * static_cast<unsigned char>(kFieldSeparator));
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Each field of the line in order, and whether it is all ASCII, found eight bytes at a time:
// a search call per field cost more than the search itself on lines of short fields.
template <typename Visit>
void forEachField(std::string_view line, Visit visit) {
    constexpr std::uint64_t kTopBits = 0x8080808080808080ULL;
    std::size_t start = 0;
    std::uint64_t fieldHighBits = 0;  // the top bits of the field's bytes seen so far
    for (std::size_t block = 0; block < line.size(); block += sizeof(std::uint64_t)) {
        std::uint64_t bytes = 0;
        // A whole block is one load; only the tail, zero-filled, is copied piece by piece.
        if (line.size() - block >= sizeof bytes)
            std::memcpy(&bytes, line.data() + block, sizeof bytes);
        else
            std::memcpy(&bytes, line.data() + block, line.size() - block);
        std::uint64_t highBits = bytes & kTopBits;
        for (std::uint64_t marks = separatorsIn(bytes); marks != 0; marks &= marks - 1) {
            const std::uint64_t before = (marks & -marks) - 1;  // the bytes before this separator
            fieldHighBits |= highBits & before;
            highBits &= ~before;
            const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
            visit(line.substr(start, at - start), fieldHighBits == 0);
            start = at + 1;
            fieldHighBits = 0;
        }
        fieldHighBits |= highBits;
    }
    visit(line.substr(start), fieldHighBits == 0);
}

// An ASCII field, or an entry of the option lists, is UTF-8 as it stands: most lines name
// them, and checking their Cyrillic bytes one by one took a sixth of the tool's time.
bool isWellFormedField(std::string_view field, bool ascii) {
    const auto listed = [field](const auto &entries) {
        return std::find(entries.begin(), entries.end(), field) != entries.end();
    };
    return ascii || listed(calc::kMaterialEntries) || listed(calc::kCoreTypeEntries) || IsValidUtf8(field);
}

}  // namespace

std::string EscapedName(std::string_view name) {
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

DesignLine ReadDesignLine(std::string_view line) {
    DesignLine result;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') return result;
    // The separator is ASCII, so the line is UTF-8 exactly when each of its fields is.
    bool utf8 = true;
    forEachField(line, [&](std::string_view field, bool ascii) {
        utf8 = utf8 && isWellFormedField(field, ascii);
        if (result.fieldCount < kInputFieldCount) result.fields[result.fieldCount] = field;
        ++result.fieldCount;
    });
    if (!utf8)
        result = DesignLine{.kind = LineKind::NotUtf8};
    else
        result.kind = result.fieldCount == kInputFieldCount ? LineKind::Design : LineKind::WrongFieldCount;
    return result;  // one object returned on every path, built in the caller's place
}

calc::DesignInput ToDesignInput(const DesignLine &line) {
    const auto &f = line.fields;
    return {f[0],
            f[1],
            f[2],
            f[3],
            f[7],
            calc::ListIndexOf(f[4], calc::kMaterialEntries),
            calc::ListIndexOf(f[5], calc::kMaterialEntries),
            calc::ListIndexOf(f[6], calc::kCoreTypeEntries)};
}

void AppendHeader(std::string &out) { out += "status;Text1;Text5;Text11;Text6;Text7;Text8;Text9;Text12;messages\n"; }

void AppendOutcome(std::string &out, const calc::DesignInput &input, const calc::DesignOutcome &outcome) {
    out += statusName(outcome.status);
    out += kFieldSeparator;
    calc::NumberText substituted;
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

void AppendInvalid(std::string &out) { out += "invalid;;;;;;;;;\n"; }

BatchRun::BatchRun(WriteOutput writeOutput, Report report, std::size_t flushThreshold, Columns columns)
    : m_writeOutput(std::move(writeOutput)), m_report(std::move(report)), m_flushThreshold(flushThreshold),
      m_columns(columns) {
    m_output.reserve(flushThreshold + 4096);
    AppendHeader(m_output);
    if (m_columns == Columns::DesignAndCheck) AppendCheckHeader(m_output);
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
    const bool withCheck = m_columns == Columns::DesignAndCheck;
    const CheckedLine checked = withCheck ? SplitCheckFields(line) : CheckedLine{line};
    const DesignLine design = ReadDesignLine(checked.designPart);
    if (design.kind == LineKind::Skipped) return;
    if (design.kind == LineKind::Design) {
        const calc::DesignInput input = ToDesignInput(design);
        const calc::DesignOutcome outcome = calc::CalculateDesign(input);
        AppendOutcome(m_output, input, outcome);
        if (withCheck) AppendCheckColumns(m_output, outcome, checked);
        ++m_designs;
        flushIfFull();
    } else if (design.kind == LineKind::NotUtf8) {
        noteInvalid(name, lineNumber, "not valid UTF-8 / не UTF-8");
    } else {
        const std::string found = std::to_string(design.fieldCount);
        noteInvalid(name, lineNumber, "8 fields expected, found " + found + " / ожидалось 8 полей, найдено " + found);
    }
}

void BatchRun::noteInvalid(std::string_view name, std::size_t lineNumber, std::string_view reason) {
    AppendInvalid(m_output);
    if (m_columns == Columns::DesignAndCheck) AppendEmptyCheckColumns(m_output);
    ++m_invalid;
    m_report(EscapedName(name) + ':' + std::to_string(lineNumber) + ": " + std::string(reason));
    flushIfFull();
}

void BatchRun::noteUnreadable(std::string_view name, std::string_view reason) {
    m_ioFailed = true;
    m_report(EscapedName(name) + ": " + std::string(reason));
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
    return m_invalid > 0 ? 1 : 0;
}

}  // namespace tremira::batch
