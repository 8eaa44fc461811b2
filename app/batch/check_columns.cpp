#include "app/batch/check_columns.h"

#include <optional>

#include "app/batch/design_lines.h"
#include "calc/design_check.h"

namespace tremira::batch {
namespace {

constexpr std::string_view kCheckHeader =
    ";K;copper_area;window_area_needed;window_area;fill_percent;fill;wire_I_diameter;wire_I;"
    "wire_II_diameter;wire_II;load_voltage;strike_ratio;voltage;test_K;test_W1;test_W2;test_B;test_induction";
constexpr std::size_t kCheckColumnCount = 18;

// The line just written loses its line end, to be given it back after the new columns.
void reopenLine(std::string &out) {
    if (!out.empty() && out.back() == '\n') out.pop_back();
}

void appendFigures(std::string &out, const calc::DesignCheckOutcome &o) {
    for (const calc::CheckFigure *figure :
         {&o.voltsPerTurn, &o.copperArea, &o.neededWindowArea, &o.windowArea, &o.fillPercent, &o.fillVerdict,
          &o.wireI.diameter, &o.wireI.nominal, &o.wireII.diameter, &o.wireII.nominal, &o.loadVoltage, &o.strikeRatio,
          &o.voltageVerdict, &o.testVoltsPerTurn, &o.correctedTurnsI, &o.correctedTurnsII, &o.actualInduction,
          &o.inductionVerdict}) {
        out += kFieldSeparator;
        out += figure->text;
    }
}

}  // namespace

CheckedLine SplitCheckFields(std::string_view line) {
    CheckedLine result{line};
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t end = 0;
    for (std::size_t field = 0; field < kInputFieldCount; ++field) {
        end = line.find(kFieldSeparator, field == 0 ? 0 : end + 1);
        if (end == std::string_view::npos) return result;
    }
    std::array<std::string_view, kCheckFieldCount> checkFields{};
    std::optional<std::string_view> rest = line.substr(end + 1);  // none once a field ends the line
    for (std::string_view &field : checkFields) {
        if (!rest) break;
        const std::size_t next = rest->find(kFieldSeparator);
        field = rest->substr(0, next);
        rest = next == std::string_view::npos ? std::nullopt : std::optional(rest->substr(next + 1));
    }
    // A separator closing the last field, as spreadsheets may end a row, opens no sixth one.
    if (rest && !rest->empty()) return result;
    return {line.substr(0, end), checkFields};
}

void AppendCheckHeader(std::string &out) {
    reopenLine(out);
    out += kCheckHeader;
    out += '\n';
}

void AppendCheckColumns(std::string &out, const calc::DesignOutcome &outcome, const CheckedLine &line) {
    if (!outcome.inputs) return AppendEmptyCheckColumns(out);
    calc::DesignCheckInput check;
    check.design = *outcome.inputs;
    check.results = outcome.results;
    check.windowWidth = line.checkFields[0];
    check.windowHeight = line.checkFields[1];
    check.fillFactor = line.checkFields[2];
    check.testTurns = line.checkFields[3];
    check.testVoltage = line.checkFields[4];
    reopenLine(out);
    appendFigures(out, calc::CheckDesign(check));
    out += '\n';
}

void AppendEmptyCheckColumns(std::string &out) {
    reopenLine(out);
    out.append(kCheckColumnCount, kFieldSeparator);
    out += '\n';
}

}  // namespace tremira::batch
