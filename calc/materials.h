#pragma once
// What the windings and the core are made of, as the plan and the heating figures need it.

#include "design_calculation.h"

namespace tremira::calc {

struct MaterialData {
    double density;                 // g/cm³
    double resistivity;             // Ω·mm²/m at 20 °C
    double temperatureCoefficient;  // of the resistance, 1/K from 20 °C
    double specificHeat;            // J/(kg·K)
};
inline constexpr MaterialData kCopper{8.89, 0.0175, 0.00393, 385};
inline constexpr MaterialData kAluminium{2.70, 0.0282, 0.00403, 900};

inline const MaterialData &DataOf(Material material) { return material == Material::Copper ? kCopper : kAluminium; }

// Electrical steel.
inline constexpr double kSteelDensity = 7.65;      // g/cm³
inline constexpr double kSteelSpecificHeat = 460;  // J/(kg·K)

}  // namespace tremira::calc
