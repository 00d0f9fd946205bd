#pragma once

namespace korvan {

// One period of a daily load graph: from hour T1 to hour T2 at active power P (kW) and reactive
// power Q (kVAr), or at percentages of the maxima in a typical graph.
struct LoadPeriod {
    double T1 = 0;
    double T2 = 0;
    double P = 0;
    double Q = 0;
};

} // namespace korvan
