#include "calc/connection_diagram.h"

#include <algorithm>

namespace tremira::calc {
namespace {

std::string volts(double voltage) { return NumberRow({.decimals = 0}, voltage).text + " В"; }

// The lead at `turns`, added in its place unless winding I has one there already.
LeadI &leadAt(std::vector<LeadI> &leads, int turns) {
    auto at = std::lower_bound(leads.begin(), leads.end(), turns,
                               [](const LeadI &lead, int wanted) { return lead.turns < wanted; });
    if (at == leads.end() || at->turns != turns) at = leads.insert(at, {turns, false, false});
    return *at;
}

// A figure the user did not ask for is no reason to leave the diagram undrawn.
template <typename T>
bool unknownAsked(const Figure<T> &figure) {
    return !figure.known() && figure.reason() != NoFigure::NotGiven;
}

}  // namespace

Figure<Connections> ConnectionsOf(const WindingPlanInput &input, const WindingPlan &plan, bool choke) {
    if (input.results.w1 < 1) return Reason{NoFigure::NotGiven, "витки I обмотки"};
    if (unknownAsked(plan.taps)) return Reason{plan.taps.why().kind, "отводы"};
    if (unknownAsked(plan.secondMains)) return Reason{plan.secondMains.why().kind, "второе напряжение сети"};
    Connections connections{{{0, false, false}}, volts(input.design.mainsVoltage), {}, false, choke};
    std::vector<LeadI> &leads = connections.leads;
    if (plan.taps.known()) {
        for (const Tap &tap : plan.taps.value().taps()) leadAt(leads, tap.turns).designMains = true;
        connections.tapped = plan.taps.value().count > 1;
    } else {
        leadAt(leads, input.results.w1).designMains = true;
    }
    if (plan.secondMains.known()) {
        leadAt(leads, plan.secondMains.value().turns).secondMains = true;
        connections.secondMainsVoltage = volts(input.secondMainsVoltage.value());
    }
    return connections;
}

}  // namespace tremira::calc
