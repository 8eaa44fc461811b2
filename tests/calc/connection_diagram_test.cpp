// The connections of winding I and winding II: a lead at the start, at every tap and at the second
// mains voltage's turn, in turn order, each marked with the mains voltage it takes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/connection_diagram.h"

namespace tremira::calc {
namespace {

// Run A (220 V, 65 V, w₁ 83, w₂ 25) in a 50 × 60 mm window on a 70 × 121 mm leg, with `taps` taps
// from `lowest` V and a second mains voltage of `second` V, none where not given.
WindingPlanInput runA(Figure<int> taps, Figure<double> lowest, Figure<double> second) {
    WindingPlanInput in;
    in.design = {220, 65, 160, 84.672F, 1.42F, 0, Material::Copper, Material::Copper};
    in.results = {10400, 83, 25, 6, 20, 5600, 48.19277F};
    in.fillFactor = 0.35;
    in.windowWidth = 50;
    in.windowHeight = 60;
    in.legWidth = 70;
    in.legDepth = 121;
    in.tapCount = taps;
    in.lowestTapVoltage = lowest;
    in.secondMainsVoltage = second;
    return in;
}

constexpr NoFigure kNone = NoFigure::NotGiven;

TEST(ConnectionsOf, LeadsInTurnOrderWithTheMainsEachTakes) {
    struct Case {
        const char *name;
        WindingPlanInput input;
        std::vector<LeadI> leads;
        std::string second;
        bool tapped;
    };
    // Taps from 50 V: 83 × 65 ÷ (50 + 15·i ÷ 3) for i = 0…2 is 107,9, 98,1 and 89,9 turns, so
    // 108, 98 and 90, then w₁ itself; 380 V: 83 × 380 ÷ 220 = 143,4, so 143; 127 V: 47,9, so 48.
    const Case cases[] = {
        {"run A, four taps from 50 V and 380 V",
         runA(4, 50.0, 380.0),
         {{0, false, false},
          {83, true, false},
          {90, true, false},
          {98, true, false},
          {108, true, false},
          {143, false, true}},
         "380 В",
         true},
        {"no taps, no second mains", runA(kNone, kNone, kNone), {{0, false, false}, {83, true, false}}, "", false},
        {"127 V inside the 220 V turns",
         runA(kNone, kNone, 127.0),
         {{0, false, false}, {48, false, true}, {83, true, false}},
         "127 В",
         false},
        // 220 V is the design's own: its lead is w₁'s.
        {"second mains on w₁", runA(kNone, kNone, 220.0), {{0, false, false}, {83, true, true}}, "220 В", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Figure<Connections> connections = ConnectionsOf(c.input, PlanWinding(c.input));
        ASSERT_TRUE(connections.known()) << ReasonText(connections.why());
        EXPECT_EQ(connections.value().leads, c.leads);
        EXPECT_EQ(connections.value().mainsVoltage, "220 В");
        EXPECT_EQ(connections.value().secondMainsVoltage, c.second);
        EXPECT_EQ(connections.value().tapped, c.tapped);
    }
}

TEST(ConnectionsOf, SaysWhyWhereAnAskedLeadIsNotKnown) {
    WindingPlanInput noTurns = runA(kNone, kNone, kNone);
    noTurns.results.w1 = 0;
    const struct {
        const char *name;
        WindingPlanInput input;
        std::string reason;
    } cases[] = {
        {"taps from above the output voltage", runA(4, 70.0, kNone),
         "отводы: нижнее напряжение отводов не ниже выходного"},
        {"second mains no number", runA(kNone, kNone, NoFigure::NotANumber), "второе напряжение сети: не число"},
        {"no turns", noTurns, "витки I обмотки: не задано"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Figure<Connections> connections = ConnectionsOf(c.input, PlanWinding(c.input));
        ASSERT_FALSE(connections.known());
        EXPECT_EQ(ReasonText(connections.why()), c.reason);
    }
}

}  // namespace
}  // namespace tremira::calc
