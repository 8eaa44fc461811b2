// The connections of winding I and winding II: a lead at the start, at every tap and at the second
// mains voltage's turn, in turn order, each marked with the mains voltage it takes.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "calc/design_check.h"

namespace tremira::calc {
namespace {

// Run A as the calculation gives it (220 V, 65 V, 160 A: w₁ 83, w₂ 25) in a 50 × 60 mm window on a
// 70 × 121 mm leg, with the taps, their lowest voltage and the second mains voltage as typed.
Figure<Connections> runA(std::string_view taps, std::string_view lowest, std::string_view second) {
    const DesignOutcome design = CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    const TypedFields typed{.windowWidth = "50",
                            .windowHeight = "60",
                            .legWidth = "70",
                            .legDepth = "121",
                            .tapCount = taps,
                            .lowestTapVoltage = lowest,
                            .secondMainsVoltage = second};
    return CheckDesign({*design.inputs, *design.results, typed}).connections;
}

TEST(ConnectionsOf, LeadsInTurnOrderWithTheMainsEachTakes) {
    struct Case {
        const char *name;
        Figure<Connections> connections;
        std::vector<LeadI> leads;
        std::string second;
        bool tapped;
    };
    // Taps from 50 V: 83 × 65 ÷ (50 + 15·i ÷ 3) for i = 0…2 is 107,9, 98,1 and 89,9 turns, so
    // 108, 98 and 90, then w₁ itself; 380 V: 83 × 380 ÷ 220 = 143,4, so 143; 127 V: 47,9, so 48.
    const Case cases[] = {
        {"run A, four taps from 50 V and 380 V",
         runA("4", "50", "380"),
         {{0, false, false},
          {83, true, false},
          {90, true, false},
          {98, true, false},
          {108, true, false},
          {143, false, true}},
         "380 В",
         true},
        {"no taps, no second mains", runA("", "", ""), {{0, false, false}, {83, true, false}}, "", false},
        {"127 V inside the 220 V turns",
         runA("", "", "127"),
         {{0, false, false}, {48, false, true}, {83, true, false}},
         "127 В",
         false},
        // 220 V is the design's own: its lead is w₁'s.
        {"second mains on w₁", runA("", "", "220"), {{0, false, false}, {83, true, true}}, "220 В", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Figure<Connections> &connections = c.connections;
        ASSERT_TRUE(connections.known()) << ReasonText(connections.why());
        EXPECT_EQ(connections.value().leads, c.leads);
        EXPECT_EQ(connections.value().mainsVoltage, "220 В");
        EXPECT_EQ(connections.value().secondMainsVoltage, c.second);
        EXPECT_EQ(connections.value().tapped, c.tapped);
    }
}

// Run A's own turns weld with about 390 A where 160 A is asked (the welding page, X by Kapp's
// formula): winding II goes to the holder through a choke. Without the leg's sides the current,
// and so the choke, is not known, and the diagram shows none.
TEST(ConnectionsOf, TheChokeStandsBeforeTheHolderWhereTheCurrentNeedsOne) {
    EXPECT_TRUE(runA("4", "50", "380").value().choke);
    const DesignOutcome design = CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    const TypedFields noLeg{.windowWidth = "50", .windowHeight = "60"};
    const Figure<Connections> unknownCurrent = CheckDesign({*design.inputs, *design.results, noLeg}).connections;
    ASSERT_TRUE(unknownCurrent.known());
    EXPECT_FALSE(unknownCurrent.value().choke);
}

TEST(ConnectionsOf, SaysWhyWhereAnAskedLeadIsNotKnown) {
    WindingPlanInput noTurns;
    noTurns.design.mainsVoltage = 220;
    const struct {
        const char *name;
        Figure<Connections> connections;
        std::string reason;
    } cases[] = {
        {"taps from above the output voltage", runA("4", "70", ""),
         "отводы: нижнее напряжение отводов не ниже выходного"},
        {"second mains no number", runA("", "", "3,8,0"), "второе напряжение сети: не число"},
        {"no turns", ConnectionsOf(noTurns, PlanWinding(noTurns), false), "витки I обмотки: не задано"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.connections.known());
        EXPECT_EQ(ReasonText(c.connections.why()), c.reason);
    }
}

}  // namespace
}  // namespace tremira::calc
