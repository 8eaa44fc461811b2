#pragma once
// tremira-calc --check, --plan and --weld: the check's five fields after the eight of a design,
// the plan's five after those and the weld's ten after those, and the figures of the check, the
// plan and the weld as further columns of the result line, each under its key.

#include <cstddef>
#include <string>

#include "calc/design_calculation.h"
#include "calc/design_check.h"

namespace tremira::batch {

inline constexpr std::size_t kCheckFieldCount = 5;
inline constexpr std::size_t kPlanFieldCount = 5;
inline constexpr std::size_t kWeldFieldCount = 10;

// The figures a run adds after the design's results; each part reads its own fields as well.
enum class FigureColumns { None, Check, CheckAndPlan, CheckPlanAndWeld };

// The fields a line may carry after the design's eight.
std::size_t OptionalFieldCount(FigureColumns columns);

// Continue the line just written (header, result or invalid line) with the figures' columns.
void AppendFigureHeader(std::string &out, FigureColumns columns);
// Filled for a completed design only, as the results are. Without the plan or the weld, their
// fields are left empty.
void AppendFigureColumns(std::string &out, const calc::DesignOutcome &outcome, const calc::TypedFields &typed,
                         FigureColumns columns);
void AppendEmptyFigureColumns(std::string &out, FigureColumns columns);

}  // namespace tremira::batch
