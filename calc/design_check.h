#pragma once
// The check of a calculated design: will the windings fit the core window, which round wire
// to buy, is the no-load voltage safe and high enough to strike an arc, and what a test
// winding says about the steel. Takes the numbers of the calculation and the texts of the
// check's own fields, gives back texts; touches no window.

#include <optional>
#include <string>
#include <string_view>

#include "design_calculation.h"

namespace tremira::calc {

// The numbers of a calculated design, and the texts of the check's own fields.
struct DesignCheckInput {
    InputNumbers design;                   // the numbers the calculation worked from
    std::optional<ResultNumbers> results;  // none: the figures that need them say so
    std::string_view windowWidth;          // mm; for a toroid the inner diameter
    std::string_view windowHeight;         // mm; not read for a toroid
    std::string_view fillFactor;           // share of the window that copper may take; empty means "0,35"
    std::string_view testTurns;            // turns of the test winding, may be empty
    std::string_view testVoltage;          // V measured on it, may be empty
};

inline constexpr std::string_view kDefaultFillFactor = "0,35";
// Wound wire fills a third of a window or so; a factor under a hundredth is a typing slip.
inline constexpr double kSmallestFillFactor = 0.01;

// The no-load voltage above which a welding source is unsafe in normal conditions.
inline constexpr double kSafeNoLoadVoltage = 80;

// One figure of the check: the number in the program's format, or, when the inputs make it
// impossible, a short message in its place.
struct CheckFigure {
    std::string text;
    bool known = false;

    friend bool operator==(const CheckFigure &, const CheckFigure &) = default;
};

struct WireChoice {
    CheckFigure diameter;  // of one round wire of the winding's section, mm
    CheckFigure nominal;   // nominal size, mm: "2,80", or parallel strands such as "3 × 3,00"
};

struct DesignCheckOutcome {
    CheckFigure voltsPerTurn;  // K, V

    CheckFigure copperArea;        // w1·q1 + w2·q2, mm²
    CheckFigure neededWindowArea;  // copper area ÷ fill factor, mm², rounded up
    CheckFigure windowArea;        // width × height, or π·D²/4 for a toroid, mm²
    CheckFigure fillPercent;       // copper area of the window, %
    CheckFigure fillVerdict;       // fits, or the smallest window (and inner diameter) that would

    WireChoice wireI;
    WireChoice wireII;

    CheckFigure loadVoltage;  // conventional load voltage of arc welding 20 + 0,04·I, V
    CheckFigure strikeRatio;  // no-load voltage ÷ load voltage
    CheckFigure voltageVerdict;

    CheckFigure testVoltsPerTurn;  // K′, V
    CheckFigure correctedTurnsI;   // w1′
    CheckFigure correctedTurnsII;  // w2′
    CheckFigure actualInduction;   // B′, T
    CheckFigure inductionVerdict;
};

DesignCheckOutcome CheckDesign(const DesignCheckInput &input);

}  // namespace tremira::calc
