#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

namespace korvan {

// Which modules of a capacitor installation are switched on in a load period. Each selection
// mode is one greedy pass over the modules from the largest to the smallest; the modes differ
// only in the test that switches the next module on. Pure operations over in-memory lists.

// Selection modes by number, as the mode radio groups order them.
enum SelectionMode : int {
    FullCompensation = 0, // "полная компенсация"
    CosNotAbove = 1,      // needs Cosf_max
    CosNotBelow = 2,      // needs Cosf_min
    CosInRange = 3,       // needs Cosf_min and Cosf_max
    CosNearest = 4,       // needs Cosf_tr
};
inline constexpr int kSelectionModeCount = 5;

// The five captions in mode order; a variant stores its mode as the caption.
const QStringList &selectionModeCaptions();
// The caption of a mode number; empty text for a number outside 0..4.
QString selectionModeCaption(int mode);
// The mode whose caption is exactly this text (case and spaces count); none for any other text.
std::optional<int> selectionModeNumber(const QString &caption);

// One row of a module-group table: power of one module (kVAr) and how many there are.
struct ModuleGroup {
    double power = 0;
    int count = 0;
};

// The modules of an installation as groups of one power each, largest power first, equal powers
// in one group: a group is a power and a count, never a list of its modules, so a selection costs
// what it switches on, whatever the counts.
class ModuleList {
public:
    ModuleList() = default;
    // One module per entry, largest first (equal neighbours join one group).
    ModuleList(std::initializer_list<double> powers) : ModuleList(powers.begin(), powers.end()) {}
    template <class It>
    ModuleList(It first, It last)
    {
        for (; first != last; ++first)
            push_back(*first);
    }
    // One more module after the last, joining the last group when its power is the same.
    void push_back(double power);
    const std::vector<ModuleGroup> &groups() const { return m_groups; }
    std::vector<ModuleGroup> &groups() { return m_groups; }
    // The number of modules.
    long long size() const;
    bool empty() const { return m_groups.empty(); }

private:
    std::vector<ModuleGroup> m_groups;
};

// Modules switched on in one period: one pair per distinct power, in the order the powers were
// first switched on.
struct SwitchedModules {
    double power = 0;
    int count = 0;
    bool operator==(const SwitchedModules &) const = default;
};
using SwitchedList = std::vector<SwitchedModules>;

// Adds the modules of the groups, in order, to the list (which is not emptied first), each placed
// before the first entry that is not larger, so the list stays sorted from the largest down; a
// power already in the list adds to its group. A group with a count below 1 adds nothing. Costs
// the number of groups, not of modules.
void BuildModuleList(const std::vector<ModuleGroup> &groups, ModuleList &list);

// Counts one more module (or `count` more) of this power, appending the pair when the power is new.
void AddSwitchedModule(SwitchedList &list, double power);
void AddSwitchedModules(SwitchedList &list, double power, int count);

// tg of the angle whose cosine is c: tan(atan2(sqrt(1 - c^2), c)).
double tgOfCos(double c);
// Reactive power left at cos(f) = c for an active power P: R(P * tg(c), 2).
double allowedReactivePower(double P, double c);

// The five modes. Each adds the modules it switches on to `switched` (the caller empties it
// before each period) and returns Qku, the sum of their powers. None reports a missed goal.
double SelectFullCompensation(const ModuleList &modules, SwitchedList &switched, double Q);
double SelectCosNotAbove(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_max);
double SelectCosNotBelow(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_min);
double SelectCosInRange(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_min,
                        double Cosf_max);
double SelectCosNearest(const ModuleList &modules, SwitchedList &switched, double P, double Q, double Cosf_tr);

// A mode with its cos(f) values as a variant or an analysis row holds them.
struct ModeSettings {
    int mode = FullCompensation;
    std::optional<double> Cosf_min;
    std::optional<double> Cosf_max;
    std::optional<double> Cosf_tr;
};

// Runs the mode of the settings. None, with nothing switched on, when the mode number is not one
// of the five or a cos(f) value the mode needs is missing.
std::optional<double> SelectModules(const ModeSettings &settings, const ModuleList &modules, SwitchedList &switched,
                                    double P, double Q);

} // namespace korvan
