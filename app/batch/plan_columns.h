#pragma once
// tremira-calc --plan: five more optional fields after the check's five, and the figures of
// the winding plan as further columns of the result line.

#include <cstddef>
#include <string>
#include <string_view>

#include "app/batch/check_columns.h"
#include "calc/design_calculation.h"

namespace tremira::batch {

inline constexpr std::size_t kPlanFieldCount = 5;

// The plan's fields of one line; those the line leaves out are empty.
struct PlanFields {
    std::string_view legWidth;  // for a toroid the ring's radial width
    std::string_view legDepth;  // for a toroid the ring's height
    std::string_view tapCount;
    std::string_view lowestTapVoltage;
    std::string_view secondMainsVoltage;
};

// Continue the line just written (header, result or invalid line) with the plan's columns.
void AppendPlanHeader(std::string &out);
// Filled for a completed design only, as the results are. The window and the fill factor come
// from the check's fields.
void AppendPlanColumns(std::string &out, const calc::DesignInput &design, const calc::DesignOutcome &outcome,
                       const CheckFields &check, const PlanFields &plan);
void AppendEmptyPlanColumns(std::string &out);

}  // namespace tremira::batch
