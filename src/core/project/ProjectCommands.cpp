#include "core/project/ProjectCommands.h"
#include "core/data/CommandScope.h"
#include "core/data/Fields.h"
#include "core/data/QuietCursors.h"

#include "core/calc/Numbers.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/ProjectResults.h"
#include "core/NumericChecks.h"

#include <QDateTime>

namespace korvan {

namespace {

const QString MonthDesc = QStringLiteral("поля \"Среднее количество рабочих дней в месяце\"");
const QString YearDesc = QStringLiteral("поля \"Среднее количество рабочих дней в году\"");

std::optional<InputProblem> problem(int field, const std::optional<QString> &message)
{
    if (!message)
        return std::nullopt;
    return InputProblem{field, *message};
}

// A day count as a whole number; a fraction (possible by pasting) is refused.
std::optional<long long> wholeDays(const QString &text)
{
    const double v = numberValue(text);
    if (v != std::floor(v))
        return std::nullopt;
    return static_cast<long long>(v);
}

void writeParams(TTable &p, const ProjectParams &params)
{
    p.setValue(fld::Name, params.name);
    p.setValue(fld::ProjOwner, params.owner);
    p.setValue(fld::ProjDate, params.date.isValid() ? QVariant(params.date) : QVariant());
    // Kept to the second, as the dialog passes it.
    const QTime time =
        params.time.isValid() ? QTime(params.time.hour(), params.time.minute(), params.time.second()) : QTime();
    p.setValue(fld::ProjTime, time.isValid() ? QVariant(time) : QVariant());
    p.setValue(fld::ProjMemo, params.memo);
    p.setValue(fld::MonthDay, *wholeDays(params.monthDay));
    p.setValue(fld::YearDay, *wholeDays(params.yearDay));
    p.setValue(fld::Tarif_a, numberValue(params.tarifA));
    p.setValue(fld::Tarif_q, numberValue(params.tarifQ));
}

} // namespace

std::optional<InputProblem> checkProjectParams(const ProjectParams &params)
{
    using F = ProjectParams;
    if (params.name.trimmed().isEmpty())
        return InputProblem{F::Name, QStringLiteral("Заполнение поля \"Наименование проекта\" обязательно.")};
    if (auto p = problem(F::MonthDay, positiveNumberProblem(params.monthDay, MonthDesc)))
        return p;
    if (auto p = problem(F::YearDay, positiveNumberProblem(params.yearDay, YearDesc)))
        return p;
    if (auto p = problem(F::Tarif_a,
                         positiveNumberProblem(params.tarifA,
                                               QStringLiteral("поля \"Тариф на активную электроэнергию, грн/кВтч\""))))
        return p;
    if (auto p = problem(F::Tarif_q,
                         positiveNumberProblem(
                             params.tarifQ, QStringLiteral("поля \"Тариф на реактивную электроэнергию, грн/кВАрч\""))))
        return p;
    const auto month = wholeDays(params.monthDay);
    if (!month)
        return InputProblem{
            F::MonthDay,
            QStringLiteral("Значение %1 должно быть целым числом, а не \"%2\".").arg(MonthDesc, params.monthDay)};
    if (*month < 1 || *month > 31)
        return InputProblem{
            F::MonthDay,
            QStringLiteral(
                "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть в пределах от 1 до 31.")};
    const auto year = wholeDays(params.yearDay);
    if (!year)
        return InputProblem{
            F::YearDay,
            QStringLiteral("Значение %1 должно быть целым числом, а не \"%2\".").arg(YearDesc, params.yearDay)};
    if (*year < 1 || *year > 366)
        return InputProblem{
            F::YearDay,
            QStringLiteral(
                "Значение поля \"Среднее количество рабочих дней в году\" должно быть в пределах от 1 до 366.")};
    if (*year <= *month)
        return InputProblem{
            F::YearDay, QStringLiteral("Значение поля \"Среднее количество рабочих дней в году\" должно быть больше "
                                       "значения поля \"Среднее количество рабочих дней в месяце\".")};
    return std::nullopt;
}

QString defaultProjectName(const TDataModule1 &data)
{
    return QStringLiteral("Проект %1").arg(data.tblProj0->recordCount() + 1);
}

ProjectParams newProjectParams(const TDataModule1 &data)
{
    ProjectParams p;
    p.name = defaultProjectName(data);
    const QDateTime now = QDateTime::currentDateTime();
    p.date = now.date();
    p.time = QTime(now.time().hour(), now.time().minute(), now.time().second());
    return p;
}

ProjectParams currentProjectParams(const TDataModule1 &data)
{
    const TTable &t = *data.tblProj0;
    ProjectParams p;
    p.name = t.asString(fld::Name);
    p.owner = t.asString(fld::ProjOwner);
    p.date = t.asDate(fld::ProjDate);
    p.time = t.asTime(fld::ProjTime);
    p.memo = t.asString(fld::ProjMemo);
    p.monthDay = t.asString(fld::MonthDay);
    p.yearDay = t.asString(fld::YearDay);
    p.tarifA = t.asString(fld::Tarif_a);
    p.tarifQ = t.asString(fld::Tarif_q);
    return p;
}

void createProject(TDataModule1 &data, const ProjectParams &params)
{
    throwIf(checkProjectParams(params));
    TTable &p = *data.tblProj0;
    CommandScope command(data.store(), {&p});
    p.append();
    writeParams(p, params);
    p.post();
    command.commit();
}

void editProject(TDataModule1 &data, const ProjectParams &params)
{
    throwIf(checkProjectParams(params));
    TTable &p = *data.tblProj0;
    if (p.isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    CommandScope command(data.store(), {&p});
    p.edit();
    writeParams(p, params);
    p.post();
    // The payments, the monthly and yearly figures and the savings follow the new tariffs and
    // day counts at once.
    refreshProjectResults(data.store(), p.currentKod());
    command.commit();
}

void deleteProject(TDataModule1 &data)
{
    TTable &p = *data.tblProj0;
    if (p.isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    Store::Transaction tx(data.store());
    p.remove(); // its analysis rows go with it
    tx.commit();
    data.tblSel_KU->changedElsewhere();
}

void recalculateProject(TDataModule1 &data)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    refreshProjectResults(data.store(), data.tblProj0->currentKod());
}

} // namespace korvan
