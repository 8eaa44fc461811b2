#pragma once
// Round enamelled winding wire as it is sold: the nominal diameters of the IEC 60317 series that
// welding transformers are wound of, parallel strands for a section no single wire gives, and
// the diameter over the enamel that a layer of turns is counted with.

#include <string>
#include <string_view>

namespace tremira::calc {

struct RoundWire {
    std::string_view nominal;  // the conductor's diameter as the series writes it, "3,00" mm
    int strands;               // wound side by side as one; 1 for a single wire
    double section;            // mm² of all strands together
    double overallDiameter;    // mm of one strand over its enamel, grade 1 at its largest
};

// The thinnest wire, or the fewest strands of the thinnest wire, that has `section` mm² or more
// (a section from kSmallestInput to kLargestInput).
RoundWire RoundWireFor(double section);

// "2,80", or "3 × 3,00" for three strands.
std::string WireText(const RoundWire &wire);

}  // namespace tremira::calc
