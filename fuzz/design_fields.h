#pragma once
// The fuzz input of a design and its check, which calc_fuzz and drawing_fuzz read alike: three
// bytes, the list indexes of Combo1..Combo3 (signed), then the texts of Text4;Text3;Text2;Text1;
// Text10, of the check's window width;window height;fill factor;test turns;test voltage, of the
// plan's leg side a;leg side b;taps;lowest tap voltage;second mains voltage and of the weld's
// arrangement;gap;measured turns;measured current;choke a;choke b;choke c;choke h;steel loss;
// insulation class, separated by ";" (the seeds in corpus/calc are real designs). The texts are
// views into the input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calc/design_calculation.h"
#include "calc/design_check.h"

namespace tremira::fuzz {

struct DesignFields {
    calc::DesignInput design;
    calc::TypedFields typed;
};

// None for an input too short to hold the list indexes.
inline std::optional<DesignFields> ReadDesignFields(const std::uint8_t *data, std::size_t size) {
    if (size < 3) return std::nullopt;
    DesignFields fields;
    calc::DesignInput &input = fields.design;
    calc::TypedFields &typed = fields.typed;
    input.materialI = static_cast<std::int8_t>(data[0]);
    input.materialII = static_cast<std::int8_t>(data[1]);
    input.coreType = static_cast<std::int8_t>(data[2]);
    std::string_view rest(reinterpret_cast<const char *>(data + 3), size - 3);
    const std::array<std::string_view *, 25> texts{&input.mainsVoltage,
                                                   &input.outputVoltage,
                                                   &input.weldingCurrent,
                                                   &input.coreSection,
                                                   &input.induction,
                                                   &typed.windowWidth,
                                                   &typed.windowHeight,
                                                   &typed.fillFactor,
                                                   &typed.testTurns,
                                                   &typed.testVoltage,
                                                   &typed.legWidth,
                                                   &typed.legDepth,
                                                   &typed.tapCount,
                                                   &typed.lowestTapVoltage,
                                                   &typed.secondMainsVoltage,
                                                   &typed.arrangement,
                                                   &typed.gap,
                                                   &typed.measuredTurns,
                                                   &typed.measuredCurrent,
                                                   &typed.chokeLegWidth,
                                                   &typed.chokeLegDepth,
                                                   &typed.chokeWindowWidth,
                                                   &typed.chokeWindowHeight,
                                                   &typed.steelLoss,
                                                   &typed.insulationClass};
    for (std::string_view *text : texts) {
        const std::size_t end = rest.find(';');
        *text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return fields;
}

}  // namespace tremira::fuzz
