#include "app/batch/check_columns.h"

#include "app/batch/field_separator.h"
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

void AppendCheckHeader(std::string &out) {
    reopenLine(out);
    out += kCheckHeader;
    out += '\n';
}

void AppendCheckColumns(std::string &out, const calc::DesignOutcome &outcome, const CheckFields &fields) {
    if (!outcome.inputs) return AppendEmptyCheckColumns(out);
    calc::DesignCheckInput check;
    check.design = *outcome.inputs;
    check.results = outcome.results;
    check.windowWidth = fields.windowWidth;
    check.windowHeight = fields.windowHeight;
    check.fillFactor = fields.fillFactor;
    check.testTurns = fields.testTurns;
    check.testVoltage = fields.testVoltage;
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
