#pragma once
// How the transformer is connected: winding I from its start, with a lead at every current tap
// and at the second mains voltage's turn; which two leads take each mains voltage; winding II's
// two leads to the electrode holder and the earth clamp.

#include <string>
#include <vector>

#include "figures.h"
#include "winding_plan.h"

namespace tremira::calc {

// A lead out of winding I.
struct LeadI {
    int turns;         // counted from the start of winding I; 0 is the start itself
    bool designMains;  // the design's mains voltage goes across the start and this lead
    bool secondMains;  // the second mains voltage goes across the start and this lead
    friend bool operator==(const LeadI &, const LeadI &) = default;
};

struct Connections {
    std::vector<LeadI> leads;        // in turn order, the start first
    std::string mainsVoltage;        // "220 В", across the start and one of its leads
    std::string secondMainsVoltage;  // "380 В"; empty without a second mains voltage
    // More than one lead for the design's mains voltage: a switch picks the tap, and the taps set
    // the current on that voltage only.
    bool tapped;
    bool choke = false;  // a choke in series between winding II and the electrode holder
};

// The connections of the planned winding I and winding II, with the choke in series when the
// design's current needs one; why not where winding I's turns, its taps or its second mains
// voltage are not known (taps or a second mains voltage not asked for are simply not there).
Figure<Connections> ConnectionsOf(const WindingPlanInput &input, const WindingPlan &plan, bool choke);

}  // namespace tremira::calc
