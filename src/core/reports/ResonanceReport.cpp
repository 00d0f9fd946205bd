#include "core/reports/ResonanceReport.h"

#include "core/calc/Numbers.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/ResonanceTables.h"
#include "core/data/TDataModule1.h"
#include "core/reports/ReportContext.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"

#include <QStringList>
#include <algorithm>

namespace korvan {

namespace {

// Two decimals, as the grids show the check's values.
QString n2(double x) { return numberText(R(x, 2)); }

QString orderLine(const QString &when, double qku, double ssc, double h)
{
    return QStringLiteral("При %1 включенной мощности Qку = %2 кВАр: h = √(%3 / %2) = %4.\r")
        .arg(when, numberText(qku), n2(ssc), n2(h));
}

} // namespace

QString harmonicsAtRiskText(const std::vector<int> &orders)
{
    QStringList ordinals;
    for (const int n : orders)
        ordinals << QString::number(n) + QStringLiteral("-й");
    if (ordinals.size() <= 1)
        return QStringLiteral("на ") + ordinals.join(QString()) + QStringLiteral(" гармонике");
    const QString last = ordinals.takeLast();
    return QStringLiteral("на ") + ordinals.join(QStringLiteral(", ")) + QStringLiteral(" и ") + last +
           QStringLiteral(" гармониках");
}

void WriteResonanceCheck(ReportContext &r)
{
    TDataModule1 &d = r.data;
    Store &store = d.store();
    if (d.TableReport->isEmpty() || !resonance_tables::reportFlag(store, d.TableReport->currentKod()))
        return;
    const auto supply = resonance_tables::supply(store, d.tblProj0->currentKod());
    if (!supply)
        return;
    std::optional<double> detuning;
    const ResonanceValues v = resonance_tables::computeVariant(store, d.tblProj2->currentKod(), &detuning);

    WriteWordHeading(r.word, QStringLiteral("Проверка резонанса на высших гармониках.\r\r"), 12, r.sectionLevel);
    CollapseWordSelection(r.word, wdCollapseEnd);

    QString text;
    text += QStringLiteral("Трансформатор: Sт = %1 кВА, uк = %2 %; сеть: %3. Гармоники нагрузки: %4.\r")
                .arg(numberText(supply->Str), numberText(supply->Uk),
                     supply->Ssc_net ? QStringLiteral("Sкз.с = %1 МВА").arg(numberText(*supply->Ssc_net))
                                     : QStringLiteral("бесконечной мощности"),
                     resonance_tables::harmonicsText(supply->Harmonics));
    text += QStringLiteral("Мощность короткого замыкания на шинах установки:\r");
    if (supply->Ssc_net)
        text += QStringLiteral("Sкз = 1 / (uк / (100 · Sт) + 1 / (1000 · Sкз.с)) = 1 / (%1 / (100 · %2) + 1 / (1000 · "
                               "%3)) = %4 кВА.\r")
                    .arg(numberText(supply->Uk), numberText(supply->Str), numberText(*supply->Ssc_net), n2(v.Ssc));
    else
        text += QStringLiteral("Sкз = 1 / (uк / (100 · Sт)) = 1 / (%1 / (100 · %2)) = %3 кВА.\r")
                    .arg(numberText(supply->Uk), numberText(supply->Str), n2(v.Ssc));

    if (!v.Hr_min) {
        text += QStringLiteral(
            "Модули установки не включаются ни в одном периоде: резонанс с трансформатором не возникает.\r");
    } else {
        text += QStringLiteral("Порядок резонанса установки с трансформатором: h = √(Sкз / Qку).\r");
        text += orderLine(QStringLiteral("наибольшей"), v.maxQku, v.Ssc, v.hAtMaxQku);
        if (v.minQku != v.maxQku)
            text += orderLine(QStringLiteral("наименьшей"), v.minQku, v.Ssc, v.hAtMinQku);
        const std::vector<int> &risk = v.Resonance ? *v.Resonance : std::vector<int>{};
        const auto atRisk = [&risk](int n) { return std::find(risk.begin(), risk.end(), n) != risk.end(); };
        if (v.tuningOrder) {
            const int lowest = *std::min_element(supply->Harmonics.begin(), supply->Harmonics.end());
            text += QStringLiteral("Установка с защитными реакторами, p = %1 %: порядок настройки hн = √(100 / p) = "
                                   "√(100 / %1) = %2.\r")
                        .arg(numberText(*detuning), n2(*v.tuningOrder));
            text += QStringLiteral("Гармоника %1: hн %2 0,9 · %1 = %3 - %4.\r")
                        .arg(lowest)
                        .arg(atRisk(lowest) ? QStringLiteral("≥") : QStringLiteral("<"), numberText(0.9 * lowest),
                             atRisk(lowest) ? QStringLiteral("риск резонанса") : QStringLiteral("риска нет"));
            for (int n : supply->Harmonics)
                if (n != lowest)
                    text += QStringLiteral("Гармоника %1: выше порядка настройки реактора - риска нет.\r").arg(n);
        } else {
            text += QStringLiteral(
                        "Гармоника n в зоне риска, если в каком-либо периоде |h - n| ≤ 0,1 · n; h от %1 до %2.\r")
                        .arg(n2(v.hAtMaxQku), n2(v.hAtMinQku));
            for (int n : supply->Harmonics)
                text += QStringLiteral("Гармоника %1: зона риска от %2 до %3 - %4.\r")
                            .arg(n)
                            .arg(numberText(0.9 * n), numberText(1.1 * n),
                                 atRisk(n) ? QStringLiteral("риск резонанса") : QStringLiteral("риска нет"));
        }
        text += QStringLiteral("Повышение напряжения при включении наибольшей мощности без нагрузки: "
                               "dU = 100 · Qку / Sкз = 100 · %1 / %2 = %3 %.\r")
                    .arg(numberText(v.maxQku), n2(v.Ssc), numberText(*v.dU_max));
        if (risk.empty())
            text += QStringLiteral("Вывод: риска резонанса нет.\r");
        else
            text += QStringLiteral("Вывод: риск резонанса %1. Выберите установку с защитными реакторами "
                                   "(с расстройкой).\r")
                        .arg(harmonicsAtRiskText(risk));
    }
    text += QStringLiteral("Продолжительность работы с опережающим cos(f) (перекомпенсация): %1 ч в сутки.\r\r")
                .arg(numberText(v.Hours_lead));
    WriteWordParagraph(r.word, text);
}

} // namespace korvan
