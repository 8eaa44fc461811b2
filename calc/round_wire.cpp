#include "round_wire.h"

#include <array>
#include <cmath>
#include <numbers>

#include "field_numbers.h"

namespace tremira::calc {
namespace {

struct Nominal {
    std::string_view text;
    double overall;  // mm
};

// Nominal diameters, smallest first: the preferred sizes with the intermediate ones, as wire is
// sold. Beside each, the largest overall diameter of grade 1 enamelled round copper wire in
// IEC 60317-0-1, table 1: a layer counted with it is never more turns than a real one holds.
constexpr std::array<Nominal, 33> kNominals{
    {{"0,80", 0.855}, {"0,85", 0.908}, {"0,90", 0.959}, {"0,95", 1.010}, {"1,00", 1.062}, {"1,06", 1.124},
     {"1,12", 1.184}, {"1,18", 1.246}, {"1,25", 1.316}, {"1,32", 1.388}, {"1,40", 1.468}, {"1,50", 1.570},
     {"1,60", 1.670}, {"1,70", 1.772}, {"1,80", 1.872}, {"1,90", 1.974}, {"2,00", 2.074}, {"2,12", 2.196},
     {"2,24", 2.318}, {"2,36", 2.438}, {"2,50", 2.578}, {"2,65", 2.730}, {"2,80", 2.880}, {"3,00", 3.083},
     {"3,15", 3.235}, {"3,35", 3.438}, {"3,55", 3.640}, {"3,75", 3.842}, {"4,00", 4.094}, {"4,25", 4.347},
     {"4,50", 4.600}, {"4,75", 4.853}, {"5,00", 5.104}}};
// Thicker than this, a winding is wound of parallel strands, none above the strand limit.
constexpr double kThickestSingleWire = 5.00;
constexpr Nominal kThickestStrand = kNominals[26];  // 3,55

double diameterOf(const Nominal &nominal) { return *ParseDouble(nominal.text); }
double roundWireArea(double diameter) { return std::numbers::pi * diameter * diameter / 4; }

// The smallest nominal diameter whose `strands` wires together have at least `section`.
RoundWire smallestNominal(double section, int strands) {
    for (const Nominal &nominal : kNominals) {
        const double area = strands * roundWireArea(diameterOf(nominal));
        if (area >= section) return {nominal.text, strands, area, nominal.overall};
    }
    // Not reached: strands of the thickest strand always suffice.
    return {kThickestStrand.text, strands, strands * roundWireArea(diameterOf(kThickestStrand)),
            kThickestStrand.overall};
}

}  // namespace

RoundWire RoundWireFor(double section) {
    if (2 * std::sqrt(section / std::numbers::pi) <= kThickestSingleWire) return smallestNominal(section, 1);
    const double strands = std::ceil(section / roundWireArea(diameterOf(kThickestStrand)));
    return smallestNominal(section, static_cast<int>(strands));
}

std::string WireText(const RoundWire &wire) {
    if (wire.strands == 1) return std::string(wire.nominal);
    return FormatDouble(wire.strands) + " × " + std::string(wire.nominal);
}

}  // namespace tremira::calc
