#pragma once
// The figures of the check and the winding plan: a number worked out, or the reason the inputs
// give none, and the rows every output shows them in. The window, the workshop sheet, the
// clipboard and tremira-calc render the same rows: captions, column keys and decimals are set
// here once.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "field_numbers.h"

namespace tremira::calc {

// Why a figure cannot be given.
enum class NoFigure {
    NotGiven,                 // an input it needs is empty
    NotANumber,               // an input it needs is a text that is no number
    OutOfRange,               // an input, or the figure itself, lies outside any sensible range
    NotAboveZero,             // an input is zero or below
    TooSmallNumber,           // an input is above zero but below any sensible size
    TooLargeNumber,           // an input, or the figure, is too large to be meant or shown
    AboveOne,                 // a share above the whole
    BelowSmallestFillFactor,  // a fill factor that can only be a typing slip
    DoesNotFit,               // the windings close the toroid's hole before they are wound
    NoTurnInLayer,            // a turn of the wire is wider than the layer it is to lie in
    NotBelowOutputVoltage,    // the lowest tap voltage is not below the no-load voltage
    NoneInSeries,             // the current is above the largest circuit breaker
    TestWindingNotGiven,      // neither the turns nor the voltage of a test winding are typed
    TooManyTurns,             // more turns than a winding can have
    LessThanOneTurn,          // the voltage gives no whole turn
    NotAnArrangement,         // the windings' arrangement is neither of the two
    NotAnInsulationClass,     // an insulation class the program does not know
    NeedsMeasurement,         // windings on separate legs: no formula gives their leakage well enough
    MeasuredAboveReach,       // a measured current the tap cannot give into an arc
    NoArc,                    // a no-load voltage too low to keep an arc
    CurrentOutOfReach,        // the design's tap cannot give its current even without a choke
    ChokeNotNeeded,           // the transformer alone keeps the current near the design's
    OverheatsIdle,            // the core's loss alone heats it past the insulation's limit
};

// The largest rating of the circuit-breaker series.
inline constexpr int kLargestBreakerRating = 125;

// The reason with the input it concerns, "ширина окна" say; no subject where the figure's own
// caption tells.
struct Reason {
    NoFigure kind;
    std::string_view subject;
};

// A figure, or why the inputs give none.
template <typename T>
class Figure {
public:
    Figure(T value) : m_state(std::move(value)) {}
    Figure(NoFigure reason) : m_state(Reason{reason, {}}) {}
    Figure(Reason reason) : m_state(reason) {}

    bool known() const { return std::holds_alternative<T>(m_state); }
    // Throws std::bad_variant_access for a figure that is not known.
    const T &value() const { return std::get<T>(m_state); }
    // Nothing for a known figure.
    std::optional<NoFigure> reason() const {
        if (known()) return std::nullopt;
        return std::get<Reason>(m_state).kind;
    }
    // Throws std::bad_variant_access for a known figure.
    const Reason &why() const { return std::get<Reason>(m_state); }

private:
    std::variant<T, Reason> m_state;
};

// The value computed from the inputs' values when all are known, else the first one's reason.
// `compute` may itself return a Figure when it can find the figure impossible.
template <typename Result, typename Compute, typename... T>
Figure<Result> WhenKnown(Compute compute, const Figure<T> &...inputs) {
    const Reason *first = nullptr;
    ((first = first || inputs.known() ? first : &inputs.why()), ...);
    if (first) return *first;
    return compute(inputs.value()...);
}

// A figure's part by `member`, or the figure's reason.
template <typename T, typename Member>
Figure<double> PartOf(const Figure<T> &figure, Member member) {
    if (!figure.known()) return figure.why();
    return static_cast<double>(figure.value().*member);
}

// "subject: words", or the words alone.
std::string ReasonText(const Reason &reason);

// Inputs outside this range are typing slips; within it every figure stays finite.
inline constexpr double kSmallestInput = 1e-6;
inline constexpr double kLargestInput = 1e6;

// A number above zero within the accepted range, or what is wrong with it, about `subject`.
Figure<double> Positive(double value, std::string_view subject);
// A field's text as typed: blank is not given, a text that is no number says so.
Figure<double> ReadPositive(std::string_view text, std::string_view subject);

inline constexpr std::string_view kDefaultFillFactor = "0,35";
// Wound wire fills a third of a window or so; a factor under a hundredth is a typing slip.
inline constexpr double kSmallestFillFactor = 0.01;
// A field's text as typed, a blank one standing for `usual`.
Figure<double> ReadPositiveOr(std::string_view text, std::string_view usual, std::string_view subject);
// A blank fill factor is the usual one.
Figure<double> ReadFillFactor(std::string_view text);

// --- Rows ---------------------------------------------------------------------------------

// How a row is shown: a caption beside a read-only answer; "caption: text" on a line of its own;
// the text alone; a typed input, shown on paper with the value the calculation used; a column of
// tremira-calc alone.
enum class Shown { Answer, Verdict, Note, Input, ColumnOnly };

// How a figure too small for its last place is told: "меньше 0,001 В", or the bare step
// "меньше 0,1" that the plan's columns have always given.
enum class SmallFigure { NamesUnit, BareStep };

// What a row is, fixed once: the window's widget name, the tremira-calc column, the caption the
// window and the sheet show, the unit and the decimals of its number.
struct RowFormat {
    std::string_view name = {};
    std::string_view key = {};  // empty: not a column
    std::string_view caption = {};
    std::string_view unit = {};  // as written after a number: " мм²"
    int decimals = 0;
    Shown shown = Shown::Answer;
    SmallFigure small = SmallFigure::NamesUnit;
    Rounding rounding = Rounding::Nearest;
    // An input picked from these entries rather than typed; left empty, it means the first.
    std::span<const std::string_view> choices = {};
};

struct FigureRow {
    RowFormat format;
    std::string text;  // the number in the program's format, or what stands in its place
    bool known = false;
    // False for a part of the plan nobody asked for: its columns stay empty, the window says
    // "не задано".
    bool asked = true;
};

// A table of texts under a section's rows, such as the taps.
struct FigureTable {
    std::vector<std::string_view> headers;
    std::vector<std::vector<std::string>> rows;
};

struct FigureSection {
    std::string_view name;
    std::string_view title;
    std::vector<FigureRow> rows;
    FigureTable table;
};

// The number rounded to the format's decimals; one that would read 0 says it is below the last
// place, one that would need the exponent form that it is too large.
FigureRow NumberRow(const RowFormat &format, const Figure<double> &figure);
// A text worked out from a known figure, or the figure's reason.
template <typename T, typename Text>
FigureRow TextRow(const RowFormat &format, const Figure<T> &figure, Text text) {
    if (!figure.known()) return {format, ReasonText(figure.why()), false};
    return {format, text(figure.value()), true};
}
FigureRow TextRow(const RowFormat &format, std::string text, bool known = true);
// A typed input with the value the calculation used, or the words of its reason: the caption
// names the input.
FigureRow InputRow(std::string_view name, std::string_view caption, const Figure<double> &reading);
// The same for a choice among `choices`, shown as the entry used.
FigureRow InputRow(std::string_view name, std::string_view caption, const Figure<std::string_view> &reading,
                   std::span<const std::string_view> choices);

// The row of the tremira-calc column `key` in `sections`; nothing when none has it.
const FigureRow *FindRow(const std::vector<FigureSection> &sections, std::string_view key);

}  // namespace tremira::calc
