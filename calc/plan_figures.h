#pragma once
// The winding plan as rows of figures, the same in the window, on the sheet and in
// tremira-calc: in the window's order, each with its column key where tremira-calc has one.

#include <vector>

#include "figures.h"
#include "winding_plan.h"

namespace tremira::calc {

// The plan's own inputs as used, its core, wire, taps and mains.
std::vector<FigureSection> PlanSections(const WindingPlanInput &input, const WindingPlan &plan);

}  // namespace tremira::calc
