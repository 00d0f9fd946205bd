#include "core/calc/ModuleSwitching.h"

#include "core/calc/Numbers.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace korvan {

const QStringList &selectionModeCaptions()
{
    static const QStringList captions = {
        QStringLiteral("полная компенсация"),
        QStringLiteral("cos(f) не более заданного значения"),
        QStringLiteral("cos(f) не менее заданного значения"),
        QStringLiteral("cos(f) в заданном диапазоне значений"),
        QStringLiteral("минимальное отклонение cos(f) от требуемого значения"),
    };
    return captions;
}

QString selectionModeCaption(int mode)
{
    if (mode < 0 || mode >= kSelectionModeCount)
        return {};
    return selectionModeCaptions().at(mode);
}

std::optional<int> selectionModeNumber(const QString &caption)
{
    const qsizetype i = selectionModeCaptions().indexOf(caption);
    if (i < 0)
        return std::nullopt;
    return static_cast<int>(i);
}

void ModuleList::push_back(double power)
{
    if (!m_groups.empty() && m_groups.back().power == power)
        ++m_groups.back().count;
    else
        m_groups.push_back({power, 1});
}

long long ModuleList::size() const
{
    long long n = 0;
    for (const ModuleGroup &g : m_groups)
        n += g.count;
    return n;
}

void BuildModuleList(const std::vector<ModuleGroup> &groups, ModuleList &list)
{
    // Each module goes before the first entry that is not larger. Equal powers cannot be told
    // apart, so a group joins the group of its power, or becomes a new one before the first
    // smaller power: the same list as inserting one module at a time.
    std::vector<ModuleGroup> &out = list.groups();
    for (const ModuleGroup &g : groups) {
        if (g.count < 1)
            continue;
        const auto at =
            std::find_if(out.begin(), out.end(), [&](const ModuleGroup &e) { return !(e.power > g.power); });
        if (at != out.end() && at->power == g.power)
            at->count += g.count;
        else
            out.insert(at, g);
    }
}

void AddSwitchedModule(SwitchedList &list, double power) { AddSwitchedModules(list, power, 1); }

void AddSwitchedModules(SwitchedList &list, double power, int count)
{
    for (SwitchedModules &pair : list) {
        if (pair.power == power) {
            pair.count += count;
            return;
        }
    }
    list.push_back({power, count});
}

double tgOfCos(double c) { return std::tan(std::atan2(std::sqrt(1.0 - c * c), c)); }

double allowedReactivePower(double P, double c) { return R(P * tgOfCos(c), 2); }

namespace {

// The pass all modes share: a rejected module does not end it, smaller ones are still tried.
// The sum is compared with the bounds as computed, without rounding, and grows one module at a
// time, so the sums are those of a list of single modules to the last bit.
template <class Accept>
double greedyPass(const ModuleList &modules, SwitchedList &switched, Accept accept)
{
    double sum = 0;
    for (const ModuleGroup &g : modules.groups()) {
        int taken = 0;
        // The test sees only the sum and the module, and a refused module leaves the sum as it
        // was: the first refused module of a group refuses the rest of it.
        while (taken < g.count && accept(sum, g.power)) {
            sum += g.power;
            ++taken;
        }
        if (taken > 0)
            AddSwitchedModules(switched, g.power, taken);
    }
    return sum;
}

} // namespace

double SelectFullCompensation(const ModuleList &modules, SwitchedList &switched, double Q)
{
    return greedyPass(modules, switched, [Q](double sum, double m) { return sum + m <= Q; });
}

double SelectCosNotAbove(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_max)
{
    const double limit = Q - allowedReactivePower(P, Cosf_max);
    return greedyPass(modules, switched, [limit](double sum, double m) { return sum + m <= limit; });
}

double SelectCosNotBelow(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_min)
{
    const double need = Q - allowedReactivePower(P, Cosf_min);
    // The sum before the module is tested: the module that carries it past the need is still
    // switched on.
    return greedyPass(modules, switched, [Q, need](double sum, double m) { return sum + m <= Q && sum <= need; });
}

double SelectCosInRange(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_min,
                        double Cosf_max)
{
    const double need = Q - allowedReactivePower(P, Cosf_min);
    const double limit = Q - allowedReactivePower(P, Cosf_max);
    return greedyPass(modules, switched,
                      [need, limit](double sum, double m) { return sum + m <= limit && sum <= need; });
}

double SelectCosNearest(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_tr)
{
    const double target = Q - allowedReactivePower(P, Cosf_tr);
    // Strictly closer only: a module that leaves the distance as it is stays off.
    return greedyPass(modules, switched, [Q, target](double sum, double m) {
        return std::abs(sum + m - target) < std::abs(sum - target) && sum + m <= Q;
    });
}

std::optional<double> SelectModules(const ModeSettings &s, const ModuleList &modules, SwitchedList &switched, double P,
                                    double Q)
{
    switch (s.mode) {
    case FullCompensation:
        return SelectFullCompensation(modules, switched, Q);
    case CosNotAbove:
        if (!s.Cosf_max)
            return std::nullopt;
        return SelectCosNotAbove(modules, switched, P, Q, *s.Cosf_max);
    case CosNotBelow:
        if (!s.Cosf_min)
            return std::nullopt;
        return SelectCosNotBelow(modules, switched, P, Q, *s.Cosf_min);
    case CosInRange:
        if (!s.Cosf_min || !s.Cosf_max)
            return std::nullopt;
        return SelectCosInRange(modules, switched, P, Q, *s.Cosf_min, *s.Cosf_max);
    case CosNearest:
        if (!s.Cosf_tr)
            return std::nullopt;
        return SelectCosNearest(modules, switched, P, Q, *s.Cosf_tr);
    default:
        return std::nullopt;
    }
}

} // namespace korvan
