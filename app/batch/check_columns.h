#pragma once
// tremira-calc --check: five more optional fields after the eight of a design, and the
// figures of the design check as further columns of its result line.

#include <cstddef>
#include <string>
#include <string_view>

#include "calc/design_calculation.h"

namespace tremira::batch {

inline constexpr std::size_t kCheckFieldCount = 5;

// The check's fields of one line; those the line leaves out are empty.
struct CheckFields {
    std::string_view windowWidth;   // the inner diameter for a toroid
    std::string_view windowHeight;  // empty for a toroid
    std::string_view fillFactor;
    std::string_view testTurns;
    std::string_view testVoltage;
};

// Continue the line just written (header, result or invalid line) with the check's columns.
void AppendCheckHeader(std::string &out);
// Filled for a completed design only, as the results are.
void AppendCheckColumns(std::string &out, const calc::DesignOutcome &outcome, const CheckFields &fields);
void AppendEmptyCheckColumns(std::string &out);

}  // namespace tremira::batch
