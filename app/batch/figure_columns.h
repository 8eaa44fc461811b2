#pragma once
// tremira-calc --check and --plan: the check's five fields after the eight of a design, the
// plan's five after those, and the figures of the check and the plan as further columns of the
// result line, each under its key.

#include <cstddef>
#include <string>

#include "calc/design_calculation.h"
#include "calc/design_check.h"

namespace tremira::batch {

inline constexpr std::size_t kCheckFieldCount = 5;
inline constexpr std::size_t kPlanFieldCount = 5;

enum class FigureColumns { Check, CheckAndPlan };

// Continue the line just written (header, result or invalid line) with the figures' columns.
void AppendFigureHeader(std::string &out, FigureColumns columns);
// Filled for a completed design only, as the results are. Without the plan, its fields are
// left empty.
void AppendFigureColumns(std::string &out, const calc::DesignOutcome &outcome, const calc::TypedFields &typed,
                         FigureColumns columns);
void AppendEmptyFigureColumns(std::string &out, FigureColumns columns);

}  // namespace tremira::batch
