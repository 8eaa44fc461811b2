#pragma once
// tremira-calc --check: five more optional fields after the eight of a design (window width
// or inner diameter; window height, empty for a toroid; fill factor; test turns; test
// voltage) and the figures of the design check as further columns of its result line.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "calc/design_calculation.h"

namespace tremira::batch {

inline constexpr std::size_t kCheckFieldCount = 5;

// A line split after its eighth field; fields missing at the end are empty.
struct CheckedLine {
    std::string_view designPart;  // the design's fields, for ReadDesignLine
    std::array<std::string_view, kCheckFieldCount> checkFields{};
};

// A line with more than 8 + 5 fields stays whole, so that ReadDesignLine finds it wrong; one
// separator after the thirteenth field is no fourteenth.
CheckedLine SplitCheckFields(std::string_view line);

// Continue the line just written (header, result or invalid line) with the check's columns.
void AppendCheckHeader(std::string &out);
// Filled for a completed design only, as the results are.
void AppendCheckColumns(std::string &out, const calc::DesignOutcome &outcome, const CheckedLine &line);
void AppendEmptyCheckColumns(std::string &out);

}  // namespace tremira::batch
