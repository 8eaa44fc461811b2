#pragma once
// The order of work a builder follows at the bench, in the plan's own figures: which wire goes
// on first and where, where the leads come out, the insulation between the windings, the earth.

#include "connection_diagram.h"
#include "figures.h"
#include "winding_plan.h"

namespace tremira::calc {

// "Порядок работы": numbered steps as notes; the turns and wires the plan gives, and the leads of
// `connections`, are named in them.
FigureSection WorkOrderOf(const WindingPlan &plan, const Figure<Connections> &connections);

}  // namespace tremira::calc
