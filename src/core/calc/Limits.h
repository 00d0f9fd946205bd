#pragma once

namespace korvan {

// Limits of what the program keeps. A low-voltage installation is far below them; beyond them
// sums and products of the calculations would lose every meaningful digit or overflow. Every
// input that comes from outside the windows (JSON, meter files, catalogues) is checked against them.
constexpr double MaxPower = 1e6;     // kW, kVAr: periods, typical graph maxima, installations, meter readings
constexpr double MaxTariff = 1e6;    // per kWh or kVAr·h
constexpr double MaxPrice = 1e12;    // price of an installation
constexpr int MaxModuleCount = 1000; // modules of one group

} // namespace korvan
