#include "ModuleSwitching.h"

#include "Limits.h"
#include "Numbers.h"

#include "Messages.h"

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

void BuildModuleList(const std::vector<ModuleGroup> &groups, ModuleList &list)
{
    // Each module goes before the first entry that is not larger: the list stays sorted from the
    // largest down, and equal powers cannot be told apart, so a stable sort gives the same list
    // as inserting one module at a time, without its quadratic cost.
    // The list holds every module: a catalogue written before the count was limited (or by
    // another program) must not make a selection run for minutes.
    for (const ModuleGroup &g : groups)
        if (g.count > MaxModuleCount)
            throw KorvanError(QStringLiteral("В группе модулей мощностью %1 кВАр %2 модулей: допускается не больше %3.")
                                  .arg(numberText(g.power))
                                  .arg(g.count)
                                  .arg(MaxModuleCount));
    for (const ModuleGroup &g : groups)
        if (g.count > 0)
            list.insert(list.end(), size_t(g.count), g.power);
    std::stable_sort(list.begin(), list.end(), std::greater<double>());
}

void AddSwitchedModule(SwitchedList &list, double power)
{
    for (SwitchedModules &pair : list) {
        if (pair.power == power) {
            ++pair.count;
            return;
        }
    }
    list.push_back({power, 1});
}

double tgOfCos(double c)
{
    return std::tan(std::atan2(std::sqrt(1.0 - c * c), c));
}

double allowedReactivePower(double P, double c)
{
    return R(P * tgOfCos(c), 2);
}

namespace {

// The pass all modes share: a rejected module does not end it, smaller ones are still tried.
// The sum is compared with the bounds as computed, without rounding.
template <class Accept> double greedyPass(const ModuleList &modules, SwitchedList &switched, Accept accept)
{
    double sum = 0;
    for (size_t i = 0; i < modules.size();) {
        const double m = modules[i];
        if (accept(sum, m)) {
            sum += m;
            AddSwitchedModule(switched, m);
            ++i;
        } else {
            // The test sees only the sum and the module, and a refused module leaves the sum as
            // it was: every further module of this power is refused too.
            while (i < modules.size() && modules[i] == m)
                ++i;
        }
    }
    return sum;
}

} // namespace

double SelectFullCompensation(const ModuleList &modules, SwitchedList &switched, double Q)
{
    return greedyPass(modules, switched, [Q](double sum, double m) { return sum + m <= Q; });
}

double SelectCosNotAbove(const ModuleList &modules, SwitchedList &switched, double P, double Q,
                         double Cosf_max)
{
    const double limit = Q - allowedReactivePower(P, Cosf_max);
    return greedyPass(modules, switched, [limit](double sum, double m) { return sum + m <= limit; });
}

double SelectCosNotBelow(const ModuleList &modules, SwitchedList &switched, double P, double Q,
                         double Cosf_min)
{
    const double need = Q - allowedReactivePower(P, Cosf_min);
    // The sum before the module is tested: the module that carries it past the need is still
    // switched on.
    return greedyPass(modules, switched,
                      [Q, need](double sum, double m) { return sum + m <= Q && sum <= need; });
}

double SelectCosInRange(const ModuleList &modules, SwitchedList &switched, double P, double Q,
                        double Cosf_min, double Cosf_max)
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

std::optional<double> SelectModules(const ModeSettings &s, const ModuleList &modules, SwitchedList &switched,
                                    double P, double Q)
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
