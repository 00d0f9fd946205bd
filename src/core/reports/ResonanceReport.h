#pragma once

namespace korvan {

struct ReportContext;

// "Проверка резонанса на высших гармониках" for the current variant: the short-circuit power at
// the bus, the resonance orders at the largest and the smallest switched power, the verdict per
// harmonic and the voltage rise, each as formula and worked numbers. Written when the report
// settings switch it on and the project has supply data; nothing otherwise.
void WriteResonanceCheck(ReportContext &report);

} // namespace korvan
