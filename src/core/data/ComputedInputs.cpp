#include "core/data/ComputedInputs.h"
#include "core/data/Fields.h"

namespace korvan {

namespace {

// What the computed fields of a table depend on, in the words of the windows and the JSON keys.
QString inputsOf(const QString &table, const QString &field)
{
    const QString graph = QStringLiteral("мощности P и Q и границы T1 и T2 периодов суточного графика");
    const QString money = QStringLiteral("тарифы Tarif_a и Tarif_q");
    const QString days = QStringLiteral("рабочие дни MonthDay и YearDay");
    const QString modules =
        QStringLiteral("мощности и количество модулей установки (Qstup, Kol_vo), коэффициент потерь Kp "
                       "и значения cos(f) режима подбора");
    const bool payment = field.contains(QLatin1Char('$'));
    const QString t = table.toLower();
    if (t == tbl::project1)
        return payment ? graph + QStringLiteral(", ") + money : graph;
    if (t == tbl::project0)
        return graph + QStringLiteral(", ") + money + QStringLiteral(", ") + days;
    if (t == tbl::project2 || t == QLatin1String("project3.db") || t == QLatin1String("project4.db") ||
        t == QLatin1String("sel_ku.db"))
        return graph + QStringLiteral(", ") + money + QStringLiteral(", ") + days + QStringLiteral(", ") + modules +
               QStringLiteral(", цена установки Cena");
    return {};
}

} // namespace

QString nonFiniteFieldMessage(const QString &table, const QString &field)
{
    const QString inputs = inputsOf(table, field);
    if (inputs.isEmpty()) // a field typed in directly: it is its own input
        return QStringLiteral("Значение поля «%1» не является конечным числом.").arg(field);
    return QStringLiteral("Расчёт по исходным данным дал бесконечное или неопределённое значение: проверьте %1.")
        .arg(inputs);
}

} // namespace korvan
