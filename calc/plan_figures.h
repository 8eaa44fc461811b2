#pragma once
// The winding plan as rows of figures, the same in the window, on the sheet and in
// tremira-calc: in the window's order, each with its column key where tremira-calc has one.

#include <string>
#include <string_view>
#include <vector>

#include "figures.h"
#include "winding_plan.h"

namespace tremira::calc {

// The plan's own inputs as used, its core, wire, taps and mains.
std::vector<FigureSection> PlanSections(const WindingPlanInput &input, const WindingPlan &plan);

// "не меньше 1,6 Тл: обычная сталь может насыщаться", or nothing below it.
std::string SaturationWarning(Saturation saturation);

// The induction figures are at 50 Hz, not at the frequency the calculation's constant implies.
inline constexpr std::string_view kFiftyHertzNote =
    "Индукция при 50 Гц: постоянная расчёта 0,023088 соответствует 52 Гц, поэтому при 50 Гц сердечник работает "
    "на 4 % выше заданной индукции";

}  // namespace tremira::calc
