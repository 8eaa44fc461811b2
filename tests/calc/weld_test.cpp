// The welding current of each tap, the choke and the heating, as the window, the sheet and
// tremira-calc show them. Expected figures are worked out by hand from the formulas of the help
// topic, from the plan's builds, mean turns and resistances, which the plan's own tests check.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/design_check.h"

namespace tremira::calc {
namespace {

// Run A as the calculation gives it (220 V, 65 V, 160 A, 1,42 T, w₁ 83, w₂ 25, q₁ 6, q₂ 20 mm²,
// I₁ 48,19 A on copper), in a 50 × 80 mm window at k 0,35 on a 70 × 121 mm leg, four taps from
// 50 V (108, 98, 90 and 83 turns), both windings on one leg 2 mm apart, a choke core of 50 × 80 mm
// round a 50 × 120 mm window, steel of 4,0 W/kg, class B. The plan gives t₁ = 108 × 6 / 0,35 / 80
// = 23,143 mm, t₂ = 25 × 20 / 0,35 / 80 = 17,857 mm, MLT 454,71 and 583,51 mm, R_I 0,11008 Ω,
// R_II 0,012764 Ω.
CheckInput runA(Int16 materialI = 0, Int16 materialII = 0, Int16 coreType = 0) {
    const DesignOutcome outcome = CalculateDesign({"220", "65", "160", "", "1,42", materialI, materialII, coreType});
    CheckInput input{*outcome.inputs, *outcome.results, {}};
    input.typed = {.windowWidth = "50",
                   .windowHeight = "80",
                   .fillFactor = "0,35",
                   .legWidth = "70",
                   .legDepth = "121",
                   .tapCount = "4",
                   .lowestTapVoltage = "50",
                   .arrangement = "один",
                   .gap = "2",
                   .chokeLegWidth = "50",
                   .chokeLegDepth = "80",
                   .chokeWindowWidth = "50",
                   .chokeWindowHeight = "120",
                   .steelLoss = "4,0",
                   .insulationClass = "B"};
    return input;
}

using Change = std::function<void(CheckInput &)>;

struct Shown {
    std::string_view key;
    std::string_view text;
};

void expectShown(const Change &change, const std::vector<Shown> &expected) {
    CheckInput input = runA();
    change(input);
    const CheckOutcome out = CheckDesign(input);
    for (const Shown &shown : expected) {
        SCOPED_TRACE(shown.key);
        const FigureRow *row = FindRow(out.weld, shown.key);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text, shown.text);
    }
}

// ω·μ₀ = 2π·50 × 4π·10⁻⁷ = 3,9478·10⁻⁴ Ω/m; ω·μ₀·w₂² = 0,49348 Ω/m.
TEST(Weld, WorkedRunA) {
    expectShown([](CheckInput &) {},
                {
                    // 220 / (4,44 × 50 × 83 × 84,672 × 0,95 × 10⁻⁴) = 220 / 148,22.
                    {"B50", "1,484"},
                    {"B50_verdict", "в норме"},
                    // R at tap i = 0,012764 + 0,11008 × 625 / (83 × wᵢ): 0,02044 on 108 turns.
                    {"tap_1_R", "0,0204"},
                    {"tap_4_R", "0,0228"},
                    // X = 0,49348 × 0,51911 m × (δᵢ + (t₁ᵢ + t₂)/3) / 0,08 m; on 108 turns δᵢ = 2 mm and
                    // t₁ᵢ = t₁: 0,49348 × 0,51911 × 0,015667 / 0,08 = 0,02508 Ω. On 83 turns t₁ᵢ = 17,786 mm,
                    // δᵢ = 2 + 5,357 mm: (7,357 + 11,881) mm gives 0,03080 Ω.
                    {"tap_1_X", "0,0251"},
                    {"tap_2_X", "0,0274"},
                    {"tap_3_X", "0,0292"},
                    {"tap_4_X", "0,0308"},
                    // (20 + I·(R + 0,04))² + (I·X)² = U₂₀²: on 108 turns U₂₀ = 50,926 V gives 487,1 A at
                    // 39,5 V, 50,926 / |0,02044 + j0,02508| = 1573,9 A stuck, 487,1 × 25 / 108 = 112,7 A
                    // from the mains.
                    {"tap_1_U20", "50,9"},
                    {"tap_1_U20_high", "56"},
                    {"tap_1_I", "487,1"},
                    {"tap_1_U_arc", "39,5"},
                    {"tap_1_I_sc", "1573,9"},
                    {"tap_1_I_mains", "112,7"},
                    {"tap_2_I", "555,7"},
                    // Above 600 A the arc holds 44 V: (44 + I·R)² + (I·X)² = U₂₀².
                    {"tap_3_I", "643,8"},
                    {"tap_3_U_arc", "44"},
                    {"tap_4_I", "780,3"},
                    {"tap_4_U_arc", "44"},
                    {"tap_4_I_sc", "1730,5"},
                    {"tap_4_I_mains", "235"},
                    {"tap_4_electrode", "4,0 или 5,0"},
                    {"tap_4_note",
                     "при сети +10 % выше 48 В: не для условий повышенной опасности / ток сети больше автомата 50 А"},
                    {"tap_5_I", ""},
                    // X_n = √(66,265² − (26,4 + 160 × (0,022751 + R_ch))²) / 160: 0,3692 Ω without the
                    // choke's resistance, L = (0,3692 − 0,0308) / 314,16 = 1,0772 mH, 46 turns, whose
                    // 0,01323 Ω give X_n 0,3621 Ω and 45 turns; their 0,01289 Ω give X_n 0,3623 Ω,
                    // L = 1,0552 mH and 45 turns again.
                    {"X_n", "0,3623"},
                    {"choke", "нужен: без него на w₁ 780,3 А, больше 1,1 × 160 А"},
                    {"L_choke", "1,055"},
                    // ⌈1,0552 mH × √2 × 160 A / (1,42 T × 0,0038 m²)⌉ = ⌈44,25⌉.
                    {"w_choke", "45"},
                    // μ₀ × 45² × 0,0038 / 1,0552·10⁻³ = 9,164 mm.
                    {"gap_choke", "9,16"},
                    // 45 × 20 / 0,35 / 120 = 21,43 mm; 2 × 130 + π × 21,43 = 327,3 mm; 14,73 m.
                    {"t_choke", "21,4"},
                    {"MLT_choke", "327,3"},
                    {"L_wire_choke", "14,7"},
                    {"R_choke", "0,0129"},
                    {"mass_choke", "2,62"},
                    {"choke_fit", "помещается"},
                    // 1,0552 mH × √2 × 182,0 A / (45 × 0,0038 m²).
                    {"B_choke", "1,59"},
                    {"tap_1_I_choke", "118,1"},
                    {"tap_2_I_choke", "132,5"},
                    {"tap_3_I_choke", "146,1"},
                    {"tap_4_I_choke", "160"},
                    {"tap_1_I_sc_choke", "142,2"},
                    {"tap_2_I_sc_choke", "155,7"},
                    {"tap_3_I_sc_choke", "168,6"},
                    {"tap_4_I_sc_choke", "182"},
                    {"tap_1_electrode_choke", "3,2"},
                    {"tap_2_electrode_choke", "3,2"},
                    {"tap_3_electrode_choke", "4,0"},
                    {"tap_4_electrode_choke", "4,0"},
                    {"tap_4_note_choke", ""},
                    // 7,65 × 0,95 × 70 × 121 × (2 × 120 + 2 × 150) / 10⁶ kg; 4,0 × (1,4843 / 1,5)² × 33,24 W.
                    {"theta", "120"},
                    {"core_mass", "33,24"},
                    {"core_loss", "130"},
                    // (48,193² × 0,11008 + 160² × 0,012764) × (1 + 0,00393 × 100).
                    {"copper_loss", "811"},
                    // 2 × (231 × 220 + 231 × 203 + 220 × 203) mm².
                    {"surface", "0,2847"},
                    // (80 × 12 × 0,28475 − 130,2) / 811,3 = 17,65 %.
                    {"duty", "17,6"},
                    {"I_60", "87"},
                    {"I_100", "67"},
                    // (33,24 × 460 + (2,619 + 2,594) × 385) J/K / (12 × 0,28475) W/K = 5062 s.
                    {"tau", "84"},
                    // Winding I at 8,032 A/mm²: 80 × 8890 × 385 / (1,75·10⁻⁸ × 1,2358 × (8,032·10⁶)²) = 196 s.
                    {"minutes_cold", "3,3"},
                    // 7,65 × 0,95 × 50 × 80 × 540 / 10⁶ kg; 4,0 × (1,42 / 1,5)² × 15,70 W;
                    // 160² × 0,012893 × 1,393 W; 2 × (171,43 × 220 + 171,43 × 122,86 + 220 × 122,86) mm².
                    {"choke_core_mass", "15,7"},
                    {"choke_core_loss", "56"},
                    {"choke_copper_loss", "460"},
                    {"choke_surface", "0,1716"},
                    {"choke_duty", "23,6"},
                });
}

// 125 A on 98 turns: U₂₀ = 56,122 V, R = 0,02122 Ω, X = √(56,122² − (25 + 125 × 0,02122)²) / 125.
TEST(Weld, AMeasuredCurrentGivesOneReactanceForEveryTap) {
    expectShown(
        [](CheckInput &i) {
            i.typed.measuredTurns = "98";
            i.typed.measuredCurrent = "125";
        },
        {{"X_source", "по замеру: 125 А на 98 вит."},
         {"X_measured", "0,3907"},
         {"tap_1_X", "0,3907"},
         {"tap_4_X", "0,3907"},
         {"tap_1_I", "111"},
         {"tap_2_I", "125"},
         {"tap_3_I", "138,3"},
         {"tap_4_I", "151,8"},
         // 151,8 A on w₁ is within 1,1 × 160 A; X_n is that without a choke's resistance.
         {"X_n", "0,3692"},
         {"choke", "не нужен: без него на w₁ 151,8 А, не больше 1,1 × 160 А"},
         {"tap_1_I_choke", "дроссель не нужен"},
         {"choke_duty", "дроссель не нужен"}});
}

TEST(Weld, HandCheckedCases) {
    struct Case {
        const char *name;
        Change change;
        std::vector<Shown> expected;
    };
    const Case cases[] = {
        // Aluminium winding I on a toroid of 120 mm hole, ring 40 × 152 mm, no taps, as the
        // calculation gives it: w₁ 117, w₂ 35, q₁ 10, q₂ 20 mm², S 60,48 cm². The plan gives
        // t₁ 9,642, t₂ 6,777 mm, MLT 407,29 and 445,92 mm, R_I 0,13438, R_II 0,013656 Ω. The field
        // runs round π × (120 + 40) = 502,65 mm, and no turn of winding I is idle.
        {"toroid with aluminium winding I",
         [](CheckInput &i) {
             i = runA(1, 0, kToroidIndex);
             i.typed.windowWidth = "120";
             i.typed.windowHeight = "";
             i.typed.legWidth = "40";
             i.typed.legDepth = "152";
             i.typed.tapCount = "";
             i.typed.arrangement = "разные";  // not read: a toroid's windings lie one over the other
         },
         {// 0,49348 × 0,42660 × (2 + 16,419 / 3) mm / 502,65 mm × (35 / 25)².
          {"tap_1_X", "0,0031"},
          // 0,013656 + 0,13438 × (35 / 117)² Ω.
          {"tap_1_R", "0,0257"},
          {"tap_1_I", "847,3"},
          {"tap_2_I", ""},
          {"B50", "1,474"},
          // 7,65 × 0,95 × 40 × 152 × 502,65 / 10⁶ kg; 4,0 × (1,4742 / 1,5)² × 22,21 W.
          {"core_mass", "22,21"},
          {"core_loss", "86"},
          // 47,863² × 0,13438 × (1 + 0,00403 × 100) + 160² × 0,013656 × 1,393.
          {"copper_loss", "919"},
          // A cylinder 232,84 mm across and 184,84 mm high.
          {"surface", "0,2204"},
          {"duty", "13,7"},
          // (22,21 × 460 + 1,2866 × 900 + 2,7749 × 385) J/K / (12 × 0,22036) W/K.
          {"tau", "78"},
          // Winding II's copper at 8 A/mm² is the denser.
          {"minutes_cold", "3,3"}}},
        // Both windings of aluminium: q₁ 10, q₂ 32 mm²; t₁ 38,571, t₂ 28,571 mm, MLT 503,18 and
        // 714,11 mm, R_I 0,11777, R_II 0,015733 Ω.
        {"aluminium",
         [](CheckInput &i) { i = runA(1, 1); },
         {// (48,193² × 0,11777 + 160² × 0,015733) × (1 + 0,00403 × 100).
          {"copper_loss", "949"},
          // 2 × (257,14 × 220 + 257,14 × 255,29 + 220 × 255,29) mm².
          {"surface", "0,3568"},
          {"duty", "22,4"},
          // (33,24 × 460 + (1,467 + 1,542) × 900) J/K / (12 × 0,35676) W/K.
          {"tau", "70"},
          // Winding II at 5 A/mm²: 80 × 2700 × 900 / (2,82·10⁻⁸ × 1,2418 × (5·10⁶)²) = 222 s.
          {"minutes_cold", "3,7"}}},
        // No formula gives the leakage of windings on separate legs well enough; the heating
        // needs none, and the windings stand out of the stack by the larger build only:
        // 2 × (231 × 220 + 231 × 167,29 + 220 × 167,29) mm².
        {"separate legs without a measurement",
         [](CheckInput &i) { i.typed.arrangement = " разные "; },
         {{"X_source", "обмотки на разных стержнях: нужен замер тока сварки"},
          {"tap_1_X", "обмотки на разных стержнях: нужен замер тока сварки"},
          {"tap_4_I", "обмотки на разных стержнях: нужен замер тока сварки"},
          {"choke", "обмотки на разных стержнях: нужен замер тока сварки"},
          {"w_choke", "обмотки на разных стержнях: нужен замер тока сварки"},
          {"surface", "0,2525"},
          {"duty", "13,8"}}},
        {"separate legs with a measurement",
         [](CheckInput &i) {
             i.typed.arrangement = "разные";
             i.typed.measuredTurns = "98";
             i.typed.measuredCurrent = "125";
         },
         {{"tap_1_X", "0,3907"}, {"tap_4_I", "151,8"}}},
        // Taps from 15 V: 83 × 65 / 15 = 359,7, so 360 turns and 220 × 25 / 360 = 15,3 V.
        {"a tap below 20 V",
         [](CheckInput &i) { i.typed.lowestTapVoltage = "15"; },
         {{"tap_1_w", "360"},
          {"tap_1_U20", "15,3"},
          {"tap_1_I", "нет дуги: U хх не выше 20 В"},
          {"tap_1_electrode", "нет дуги: U хх не выше 20 В"},
          {"tap_1_I_choke", "нет дуги: U хх не выше 20 В"},
          {"tap_2_w", "170"}}},
        // ⌈1,0772 mH × √2 × 160 A / (1,42 T × 20 × 20 × 0,95 mm²)⌉ = 452 turns need
        // 452 × 20 / 0,35 = 25829 mm²; their resistance would hold the current below 160 A alone.
        {"a choke core too small",
         [](CheckInput &i) {
             i.typed.chokeLegWidth = "20";
             i.typed.chokeLegDepth = "20";
             i.typed.chokeWindowWidth = "20";
             i.typed.chokeWindowHeight = "30";
         },
         {{"w_choke", "452"}, {"choke_fit", "не помещается: нужно окно не меньше 25829 мм²"}}},
        // 40 + 105 °C: the copper's loss grows by (1 + 0,00393 × 125) / 1,393.
        {"class F", [](CheckInput &i) { i.typed.insulationClass = "F"; }, {{"theta", "145"}, {"copper_loss", "869"}}},
        {"class H", [](CheckInput &i) { i.typed.insulationClass = "H"; }, {{"theta", "165"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        expectShown(c.change, c.expected);
    }
}

// A bad field names itself in place of the figures it makes impossible and leaves the others.
TEST(Weld, BadInputGivesAShortReasonInPlaceOfTheFigure) {
    const auto set = [](std::string_view TypedFields::*field, const char *text) {
        return [=](CheckInput &i) { i.typed.*field = text; };
    };
    const auto measured = [](const char *turns, const char *current) {
        return [=](CheckInput &i) {
            i.typed.measuredTurns = turns;
            i.typed.measuredCurrent = current;
        };
    };
    const struct {
        const char *name;
        Change change;
        std::vector<Shown> expected;
    } cases[] = {
        {"an arrangement of neither kind",
         set(&TypedFields::arrangement, "оба"),
         {{"tap_1_X", "расположение обмоток: нужно «один» или «разные»"},
          {"surface", "расположение обмоток: нужно «один» или «разные»"},
          {"tap_1_B", "1,141"}}},
        {"an unknown insulation class",
         set(&TypedFields::insulationClass, "A"),
         {{"duty", "класс изоляции: нужно B, F или H"}, {"tap_1_I", "487,1"}}},
        {"a gap that is no number",
         set(&TypedFields::gap, "abc"),
         {{"tap_1_X", "зазор между обмотками: не число"}, {"duty", "17,6"}}},
        {"measured turns not whole",
         measured("98,5", "125"),
         {{"X_source", "витки отвода замера: вне разумных пределов"},
          {"tap_1_I", "витки отвода замера: вне разумных пределов"}}},
        {"measured turns without the current", measured("98", ""), {{"X_source", "ток замера: не задано"}}},
        // 56,122 V on 98 turns cannot drive 2000 A through 44 V of arc and 42,4 V across R.
        {"a measured current above what the tap gives",
         measured("98", "2000"),
         {{"X_measured", "замер больше тока, возможного на этом отводе"},
          {"tap_4_I", "замер больше тока, возможного на этом отводе"}}},
        // Without the choke's resistance L = (0,3692 − 0,0308) / 314,16.
        {"a choke core without its side b",
         set(&TypedFields::chokeLegDepth, ""),
         {{"L_choke", "1,077"},
          {"w_choke", "сторона b дросселя: не задано"},
          {"choke_duty", "сторона b дросселя: не задано"}}},
        {"no steel loss", set(&TypedFields::steelLoss, "0"), {{"core_loss", "потери в стали: нужно больше нуля"}}},
        // 3,3·10⁶ W of core loss against the 273 W the surface gives off at 80 K.
        {"steel far too lossy",
         set(&TypedFields::steelLoss, "100000"),
         {{"duty", "перегрев даже без сварки"}, {"I_60", "перегрев даже без сварки"}}},
        {"no leg",
         set(&TypedFields::legWidth, ""),
         {{"tap_1_X", "не задано"}, {"tap_1_B", "1,141"}, {"core_mass", "не задано"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectShown(c.change, c.expected);
    }
}

// Blank fields take the usual values; the row of each input shows the value used.
TEST(Weld, InputRowsShowTheValueUsed) {
    CheckInput input = runA();
    input.typed.arrangement = input.typed.gap = input.typed.steelLoss = input.typed.insulationClass = "";
    const CheckOutcome out = CheckDesign(input);
    const std::vector<std::pair<std::string_view, std::string_view>> expected{{"arrangement", "один"},
                                                                              {"gap", "2"},
                                                                              {"steelLoss", "4"},
                                                                              {"insulationClass", "B"},
                                                                              {"measuredTurns", "не задано"}};
    for (const auto &[name, text] : expected) {
        SCOPED_TRACE(name);
        const FigureRow *row = nullptr;
        for (const FigureRow &candidate : out.weld.front().rows) {
            if (candidate.format.name == name) row = &candidate;
        }
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text, text);
    }
}

// The curves run from no load to short circuit; each operating point lies on its curve and on the
// arc's line.
TEST(Weld, ChartOfTheTaps) {
    const CheckOutcome out = CheckDesign(runA());
    ASSERT_TRUE(out.chart.known());
    const WeldChart &chart = out.chart.value();
    ASSERT_EQ(chart.taps.size(), 4U);
    EXPECT_EQ(chart.taps.front().turns, 108);
    const auto onLine = [](const std::vector<ChartPoint> &line, double current) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            const ChartPoint &a = line[i - 1];
            const ChartPoint &b = line[i];
            if (current <= b.current)
                return a.voltage + (b.voltage - a.voltage) * (current - a.current) / (b.current - a.current);
        }
        return line.back().voltage;
    };
    for (const TapCurves &tap : chart.taps) {
        SCOPED_TRACE(tap.turns);
        const double noLoad = 220.0 * 25 / tap.turns;
        for (const std::vector<ChartPoint> *curve : {&tap.bare, &tap.choked}) {
            EXPECT_NEAR(curve->front().current, 0, 1e-9);
            EXPECT_NEAR(curve->front().voltage, noLoad, 1e-9);
            EXPECT_EQ(curve->back().voltage, 0);
        }
        for (const auto &[curve, point] :
             {std::pair{&tap.bare, tap.bareOperating}, std::pair{&tap.choked, tap.chokedOperating}}) {
            ASSERT_TRUE(point.has_value());
            EXPECT_NEAR(onLine(*curve, point->current), point->voltage, 0.5);  // between points of the curve
            EXPECT_NEAR(onLine(chart.arcLoad, point->current), point->voltage, 1e-9);
        }
    }
    // The arc's line bends at 600 A and runs on to the largest short-circuit current, 1730,5 A.
    ASSERT_EQ(chart.arcLoad.size(), 3U);
    EXPECT_EQ(chart.arcLoad[1].current, 600);
    EXPECT_NEAR(chart.arcLoad[2].current, 1730.5, 0.05);
}

}  // namespace
}  // namespace tremira::calc
