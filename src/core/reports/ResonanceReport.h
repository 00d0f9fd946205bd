#pragma once

#include <QString>
#include <vector>

namespace korvan {

// Where the risk is, in words: "на 11-й гармонике", "на 5-й и 7-й гармониках",
// "на 5-й, 7-й и 11-й гармониках".
QString harmonicsAtRiskText(const std::vector<int> &orders);

struct ReportContext;

// "Проверка резонанса на высших гармониках" for the current variant: the short-circuit power at
// the bus, the resonance orders at the largest and the smallest switched power, the verdict per
// harmonic and the voltage rise, each as formula and worked numbers. Written when the report
// settings switch it on and the project has supply data; nothing otherwise.
void WriteResonanceCheck(ReportContext &report);

} // namespace korvan
