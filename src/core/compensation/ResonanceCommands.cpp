#include "core/compensation/ResonanceCommands.h"

#include "core/calc/Limits.h"
#include "core/calc/Numbers.h"
#include "core/compensation/AnalysisTable.h"
#include "core/data/Fields.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/NumericChecks.h"

#include <cmath>

#include <algorithm>

namespace korvan {

namespace {

const QString StrDesc = QStringLiteral("поля \"Номинальная мощность трансформатора Sт, кВА\"");
const QString UkDesc = QStringLiteral("поля \"Напряжение короткого замыкания трансформатора uк, %\"");
const QString SscDesc = QStringLiteral("поля \"Мощность короткого замыкания сети Sкз, МВА\"");
// Below these no real supply exists, and the voltage rise they give is a number of hundreds of digits.
constexpr double MinTransformerPower = 1; // kVA
constexpr double MinNetworkPower = 0.1;   // MVA

std::optional<InputProblem> problem(int field, const std::optional<QString> &message)
{
    if (!message)
        return std::nullopt;
    return InputProblem{field, *message};
}

qint64 currentProject(TDataModule1 &data)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    return data.tblProj0->currentKod();
}

QString editText(double x) { return numberText(x); }

} // namespace

std::optional<InputProblem> checkSupplyInput(const SupplyInput &in)
{
    using F = SupplyInput;
    if (auto p = problem(F::Str, positiveNumberProblem(in.str.trimmed(), StrDesc)))
        return p;
    if (auto p = problem(F::Uk, positiveNumberProblem(in.uk.trimmed(), UkDesc)))
        return p;
    if (numberValue(in.uk.trimmed()) > 20)
        return InputProblem{F::Uk, QStringLiteral("Значение %1 должно быть больше 0 и не больше 20.").arg(UkDesc)};
    if (!in.sscNet.trimmed().isEmpty())
        if (auto p = problem(F::SscNet, positiveNumberProblem(in.sscNet.trimmed(), SscDesc)))
            return p;
    // Beyond the limit, or so small that the bus short-circuit power stops being a number, the
    // resonance orders and the voltage rise would be infinite.
    const double str = numberValue(in.str.trimmed()), uk = numberValue(in.uk.trimmed());
    if (str > MaxPower)
        return InputProblem{F::Str,
                            QStringLiteral("Значение %1 должно быть не больше %2.").arg(StrDesc, numberText(MaxPower))};
    if (str < MinTransformerPower)
        return InputProblem{
            F::Str,
            QStringLiteral("Значение %1 должно быть не меньше %2.").arg(StrDesc, numberText(MinTransformerPower))};
    std::optional<double> ssc;
    if (!in.sscNet.trimmed().isEmpty()) {
        ssc = numberValue(in.sscNet.trimmed());
        if (*ssc > MaxPower)
            return InputProblem{
                F::SscNet, QStringLiteral("Значение %1 должно быть не больше %2.").arg(SscDesc, numberText(MaxPower))};
        if (*ssc < MinNetworkPower)
            return InputProblem{
                F::SscNet,
                QStringLiteral("Значение %1 должно быть не меньше %2.").arg(SscDesc, numberText(MinNetworkPower))};
    }
    const double transformer = uk / (100.0 * str), network = ssc ? 1.0 / (1000.0 * *ssc) : 0.0;
    const auto tooSmall = [](int field, const QString &desc) {
        return InputProblem{field, QStringLiteral("Значение %1 слишком мало: мощность короткого замыкания на шинах "
                                                  "не определяется.")
                                       .arg(desc)};
    };
    if (!std::isfinite(transformer) || !std::isfinite(100.0 * MaxPower * transformer))
        return tooSmall(F::Str, StrDesc);
    if (!std::isfinite(network) || !std::isfinite(100.0 * MaxPower * network))
        return tooSmall(F::SscNet, SscDesc);
    if (!std::isfinite(1.0 / (transformer + network)))
        return tooSmall(F::Uk, UkDesc);
    const auto orders = resonance_tables::parseHarmonics(in.harmonics);
    if (!orders)
        return InputProblem{F::Harmonics,
                            QStringLiteral("\"%1\" - некорректное значение для поля \"Порядки гармоник нагрузки\": "
                                           "введите целые числа через запятую.")
                                .arg(in.harmonics)};
    if (orders->empty())
        return InputProblem{
            F::Harmonics,
            QStringLiteral("Введите хотя бы один порядок гармоники в поле \"Порядки гармоник нагрузки\".")};
    for (int n : *orders)
        if (n < 2 || n > 50)
            return InputProblem{F::Harmonics,
                                QStringLiteral("Порядок гармоники %1 в поле \"Порядки гармоник нагрузки\" должен быть "
                                               "в пределах от 2 до 50.")
                                    .arg(n)};
    return std::nullopt;
}

SupplyData supplyData(const SupplyInput &in)
{
    SupplyData s;
    s.Str = numberValue(in.str.trimmed());
    s.Uk = numberValue(in.uk.trimmed());
    if (!in.sscNet.trimmed().isEmpty())
        s.Ssc_net = numberValue(in.sscNet.trimmed());
    s.Harmonics = resonance_tables::parseHarmonics(in.harmonics).value_or(std::vector<int>{});
    return s;
}

SupplyInput currentSupplyInput(TDataModule1 &data)
{
    SupplyInput in;
    if (data.tblProj0->isEmpty())
        return in;
    if (const auto s = resonance_tables::supply(data.store(), data.tblProj0->currentKod())) {
        in.str = editText(s->Str);
        in.uk = editText(s->Uk);
        in.sscNet = s->Ssc_net ? editText(*s->Ssc_net) : QString();
        in.harmonics = resonance_tables::harmonicsText(s->Harmonics);
    }
    return in;
}

bool currentProjectHasSupply(TDataModule1 &data)
{
    return !data.tblProj0->isEmpty() && resonance_tables::supply(data.store(), data.tblProj0->currentKod()).has_value();
}

void setSupply(TDataModule1 &data, const SupplyInput &input)
{
    const qint64 project = currentProject(data);
    throwIf(checkSupplyInput(input));
    Store::Transaction tx(data.store());
    resonance_tables::setSupply(data.store(), project, supplyData(input));
    resonance_tables::refreshProject(data.store(), project);
    tx.commit();
}

void clearSupply(TDataModule1 &data)
{
    const qint64 project = currentProject(data);
    Store::Transaction tx(data.store());
    resonance_tables::setSupply(data.store(), project, std::nullopt);
    resonance_tables::refreshProject(data.store(), project);
    tx.commit();
}

std::optional<InputProblem> checkDetuningText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const QString desc = QStringLiteral("поля \"p, %\"");
    if (auto p = numberProblem(t, desc))
        return InputProblem{0, *p};
    const double p = numberValue(t);
    if (p < 0 || p >= 100)
        return InputProblem{0, QStringLiteral("Значение %1 должно быть не меньше 0 и меньше 100.").arg(desc)};
    return std::nullopt;
}

void setCurrentTypeDetuning(TDataModule1 &data, const QString &text)
{
    if (data.tblsKU1->isEmpty())
        throw KorvanError(QStringLiteral("Не выбрана конденсаторная установка."));
    setTypeDetuning(data, data.tblsKU1->currentKod(), text);
}

void setTypeDetuning(TDataModule1 &data, qint64 type, const QString &text)
{
    throwIf(checkDetuningText(text));
    const QString t = text.trimmed();
    Store::Transaction tx(data.store());
    resonance_tables::setDetuning(data.store(), type,
                                  t.isEmpty() ? std::nullopt : std::optional<double>(numberValue(t)));
    resonance_tables::refreshVariantsOfType(data.store(), type);
    tx.commit();
}

QString currentTypeDetuningText(TDataModule1 &data)
{
    if (data.tblsKU1->isEmpty())
        return {};
    const auto p = resonance_tables::detuning(data.store(), data.tblsKU1->currentKod());
    return p ? numberText(*p) : QString();
}

int dropResonanceRisk(TDataModule1 &data, const Progress &progress)
{
    Store *store = &data.store();
    return dropCandidates(
        data,
        [store](const TTable &row) {
            const auto orders = resonance_tables::candidateValues(*store, row.currentKod()).Resonance;
            return orders && !orders->empty();
        },
        progress);
}

QString resonanceText(const std::optional<std::vector<int>> &orders)
{
    if (!orders)
        return {};
    if (orders->empty())
        return QStringLiteral("нет");
    return resonance_tables::harmonicsText(*orders);
}

} // namespace korvan
