#pragma once
// The welding transformer calculation: from the texts of the input fields to the numbers of
// the result fields, the messages to show and what to do after them. Touches no window.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field_numbers.h"

namespace tremira::calc {

// Snapshot of the input fields, texts exactly as they stand (no trimming).
struct DesignInput {
    std::string_view mainsVoltage;    // Text4
    std::string_view outputVoltage;   // Text3
    std::string_view weldingCurrent;  // Text2
    std::string_view coreSection;     // Text1, may be empty
    std::string_view induction;       // Text10
    Int16 materialI = 0;              // list index of Combo1: 0 copper, 1 aluminium, -1 none
    Int16 materialII = 0;             // list index of Combo2
    Int16 coreType = 0;               // list index of Combo3: 0 rod core, 1 toroid, -1 none
};

enum class Status { Completed, Refused, Failed };
enum class MessageIcon { None, Error, Information };
enum class AfterMessageAction { None, ClearCoreSection, FocusOutputVoltage, FocusCoreSection };

// One modal box with a single OK button. Its texts are the program's own constants.
struct UserMessage {
    std::string_view text;
    std::optional<std::string_view> title;  // none: the box shows the application title
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const UserMessage &, const UserMessage &) = default;
};

// The results as numbers; the window and the batch tool make their texts.
struct ResultNumbers {
    Int16 overallPower;   // Text5
    Int16 w1;             // Text6
    Int16 w2;             // Text7
    Int16 q1;             // Text8
    Int16 q2;             // Text9
    Int16 requiredPower;  // Text11
    Single i1;            // Text12

    friend bool operator==(const ResultNumbers &, const ResultNumbers &) = default;
};

enum class Material { Copper, Aluminium };
// The material of a winding by the index of its list: only the first entry is copper, and
// nothing selected (-1) counts as aluminium, as the calculation sizes the wire.
Material MaterialOf(Int16 listIndex);

// Amperes per mm² the calculation sizes a winding's wire for.
inline constexpr Int16 kCopperCurrentDensity = 8;
inline constexpr Int16 kAluminiumCurrentDensity = 5;
Int16 CurrentDensityOf(Material material);

// The input numbers a completed calculation worked from; the core section is the one typed
// or substituted.
struct InputNumbers {
    Int16 mainsVoltage = 0;
    Int16 outputVoltage = 0;
    Int16 weldingCurrent = 0;
    Single coreSection = 0;
    Single induction = 0;
    Int16 coreType = 0;
    Material materialI = Material::Copper;
    Material materialII = Material::Copper;
};

struct DesignOutcome {
    Status status = Status::Completed;
    std::optional<double> substitutedCoreSection;  // written into Text1 before any message
    std::vector<UserMessage> messages;             // shown in order, each modal; at most two
    AfterMessageAction afterMessages = AfterMessageAction::None;
    std::optional<ResultNumbers> results;  // for Completed only
    std::optional<InputNumbers> inputs;    // for Completed only
};

DesignOutcome CalculateDesign(const DesignInput &input);

// Volts per turn K = B × 0,023088 × S × 0,95 (B in tesla, S in cm²), multiplied in this order.
inline constexpr double kVoltsPerTurnFactor = 0.023088;
inline constexpr double kCoreStackingFactor = 0.95;
// The induction of a steel in saturation: the calculation refuses it, the check warns of it.
inline constexpr double kInductionLimit = 1.9;
// The no-load voltage above which a welding source is unsafe in normal conditions.
inline constexpr double kSafeNoLoadVoltage = 80;
// The same where the risk of a shock is high.
inline constexpr double kHighRiskNoLoadVoltage = 48;

// Core section (cm²) that a welding current needs: current × 0.378 for a toroid,
// current × 0.378 × 1.4 for any other core type index, in double precision in this order.
double RequiredCoreSection(double weldingCurrent, Int16 coreType);

// Proposal for Text1 while the welding current is typed; nothing when the text is empty,
// exactly "0", or not a number.
std::optional<std::string> SuggestCoreSection(std::string_view weldingCurrentText, Int16 coreType);

// The entries of the option lists, in their order; a shown text maps to the index of the
// entry equal to it, any other text to -1.
inline constexpr std::array<std::string_view, 2> kMaterialEntries{"Медь", "Алюминий"};
inline constexpr std::array<std::string_view, 2> kCoreTypeEntries{"Стержневой", "Тор"};
// The core type list's index of the toroid; every other index, -1 included, counts as a rod core.
inline constexpr Int16 kToroidIndex = 1;

template <std::size_t N>
Int16 ListIndexOf(std::string_view shownText, const std::array<std::string_view, N> &entries) {
    for (std::size_t i = 0; i < N; ++i) {
        if (entries[i] == shownText) return static_cast<Int16>(i);
    }
    return -1;
}

}  // namespace tremira::calc
