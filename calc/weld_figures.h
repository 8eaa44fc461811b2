#pragma once
// The welding current, the choke and the heating as rows of figures, the same in the window, on
// the sheet and in tremira-calc: the taps' figures as a table in the window and as one group of
// columns per tap in tremira-calc.

#include <string_view>
#include <vector>

#include "figures.h"
#include "weld.h"
#include "winding_plan.h"

namespace tremira::calc {

// The inputs as used, the induction at 50 Hz, the taps without and with the choke, the choke,
// and the heating of the transformer and of the choke.
std::vector<FigureSection> WeldSections(const WindingPlanInput &input, const WindingPlan &plan, const WeldInput &weld,
                                        const Weld &figures);

// The tremira-calc columns of the taps, one group per tap, lowest voltage first.
const std::vector<std::string_view> &WeldTapColumnKeys();

}  // namespace tremira::calc
