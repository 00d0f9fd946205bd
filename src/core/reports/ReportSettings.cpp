#include "core/reports/ReportSettings.h"
#include "core/data/Fields.h"

#include "core/data/TTable.h"

#include <QFile>

static void initSampleResources() { Q_INIT_RESOURCE(RepBMP); }

namespace korvan {

namespace {

using F = ReportFlag;
using T = ReportFlagTab;

ReportFlagInfo info(F flag, const QString &field, const char *caption, T tab, std::optional<F> main = {})
{
    return {flag, field, QStringLiteral("dbchk") + field, QString::fromUtf8(caption), tab, main};
}

int marginOf(const TTable &report, const QString &field)
{
    return report.isNull(field) ? 0 : int(report.asInteger(field));
}

} // namespace

const QList<ReportFlagInfo> &reportFlags()
{
    static const QList<ReportFlagInfo> flags = {
        info(F::ProjName, fld::ProjName, "Наименование проекта", T::Top),
        info(F::ProjHar, fld::ProjHar, "Характеристика проекта", T::Top),
        info(F::SutGr, fld::SutGr, "Суточный график нагрузки (без компенсации)", T::WithoutCompensation),
        info(F::SutGrPrim, fld::SutGrPrim, "Примечание к таблице", T::WithoutCompensation, F::SutGr),
        info(F::SutGrFormula, fld::SutGrFormula, "Расчетные формулы", T::WithoutCompensation, F::SutGr),
        info(F::SutGrScore, fld::SutGrScore, "Расчеты", T::WithoutCompensation, F::SutGr),
        info(F::SutHar, fld::SutHar, "Суточные характеристики (без компенсации)", T::WithoutCompensation),
        info(F::SutFormula, fld::SutFormula, "Расчетные формулы", T::WithoutCompensation, F::SutHar),
        info(F::SutScore, fld::SutScore, "Расчеты", T::WithoutCompensation, F::SutHar),
        info(F::MonthHar, fld::MonthHar, "Месячные характеристики (без компенсации)", T::WithoutCompensation),
        info(F::MonthFormula, fld::MonthFormula, "Расчетные формулы", T::WithoutCompensation, F::MonthHar),
        info(F::MonthScore, fld::MonthScore, "Расчеты", T::WithoutCompensation, F::MonthHar),
        info(F::YearHar, fld::YearHar, "Годовые характеристики (без компенсации)", T::WithoutCompensation),
        info(F::YearFormula, fld::YearFormula, "Расчетные формулы", T::WithoutCompensation, F::YearHar),
        info(F::YearScore, fld::YearScore, "Расчеты", T::WithoutCompensation, F::YearHar),
        info(F::KUHar, fld::KUHar, "Характеристика конденсаторных установок", T::WithCompensation),
        info(F::SutGrKomp, fld::SutGrKomp, "Суточный график нагрузки (с компенсацией)", T::WithCompensation, F::KUHar),
        info(F::SutGrKompPrim, fld::SutGrKompPrim, "Примечание к таблице", T::WithCompensation, F::SutGrKomp),
        info(F::SutGrKompFormula, fld::SutGrKompFormula, "Расчетные формулы", T::WithCompensation, F::SutGrKomp),
        info(F::SutGrKompScore, fld::SutGrKompScore, "Расчеты", T::WithCompensation, F::SutGrKomp),
        info(F::SutHarKomp, fld::SutHarKomp, "Суточные характеристики (с компенсацией)", T::WithCompensation),
        info(F::SutKompPrim, fld::SutKompPrim, "Примечание к таблице", T::WithCompensation, F::SutHarKomp),
        info(F::SutKompFormula, fld::SutKompFormula, "Расчетные формулы", T::WithCompensation, F::SutHarKomp),
        info(F::SutKompScore, fld::SutKompScore, "Расчеты", T::WithCompensation, F::SutHarKomp),
        info(F::MonthHarKomp, fld::MonthHarKomp, "Месячные характеристики (с компенсацией)", T::WithCompensation),
        info(F::MonthKompPrim, fld::MonthKompPrim, "Примечание к таблице", T::WithCompensation, F::MonthHarKomp),
        info(F::MonthKompFormula, fld::MonthKompFormula, "Расчетные формулы", T::WithCompensation, F::MonthHarKomp),
        info(F::MonthKompScore, fld::MonthKompScore, "Расчеты", T::WithCompensation, F::MonthHarKomp),
        info(F::YearHarKomp, fld::YearHarKomp, "Годовые характеристики (с компенсацией)", T::WithCompensation),
        info(F::YearKompPrim, fld::YearKompPrim, "Примечание к таблице", T::WithCompensation, F::YearHarKomp),
        info(F::YearKompFormula, fld::YearKompFormula, "Расчетные формулы", T::WithCompensation, F::YearHarKomp),
        info(F::YearKompScore, fld::YearKompScore, "Расчеты", T::WithCompensation, F::YearHarKomp),
    };
    return flags;
}

const ReportFlagInfo &reportFlagInfo(ReportFlag flag) { return reportFlags()[qsizetype(flag)]; }

ReportSettings ReportSettings::fromCurrentRecord(const TTable &report)
{
    ReportSettings s;
    if (report.recNo() < 0)
        return s;
    s.name = report.asString(fld::Name);
    s.page.wordDoc = report.asString(fld::WordDoc);
    s.page.paperSize = report.asString(fld::PaperSize);
    s.page.paperOrient = report.asString(fld::PaperOrient);
    s.page.pageNum = report.asString(fld::PageNum);
    s.page.topMargin = marginOf(report, fld::TopMargin);
    s.page.bottomMargin = marginOf(report, fld::BottomMargin);
    s.page.leftMargin = marginOf(report, fld::LeftMargin);
    s.page.rightMargin = marginOf(report, fld::RightMargin);
    s.page.headerDistance = marginOf(report, fld::HeaderDistance);
    s.page.footerDistance = marginOf(report, fld::FooterDistance);
    for (const ReportFlagInfo &f : reportFlags())
        s.set(f.flag, !report.isNull(f.field) && report.asBoolean(f.field));
    return s;
}

std::array<ReportFlagBox, ReportFlagCount> reportFlagBoxes(const ReportFlagValues &values)
{
    std::array<ReportFlagBox, ReportFlagCount> boxes;
    // Main boxes come before their subs in field order, so one pass settles every chain.
    for (const ReportFlagInfo &f : reportFlags()) {
        ReportFlagBox &box = boxes[size_t(f.flag)];
        box.enabled = !f.main || boxes[size_t(*f.main)].checked;
        box.checked = box.enabled && values[size_t(f.flag)];
    }
    return boxes;
}

QList<ReportFlag> subFlags(ReportFlag main)
{
    QList<ReportFlag> result;
    for (const ReportFlagInfo &f : reportFlags())
        if (f.main == main)
            result.append(f.flag);
    return result;
}

QList<ReportFlag> flagsClearedBy(ReportFlag main)
{
    QList<ReportFlag> result;
    for (ReportFlag sub : subFlags(main))
        result << sub << flagsClearedBy(sub);
    return result;
}

ReportFlagValues afterMainFlagChange(ReportFlagValues values, ReportFlag main, bool checked, bool editing)
{
    values[size_t(main)] = checked;
    if (!checked && editing)
        for (ReportFlag f : flagsClearedBy(main))
            values[size_t(f)] = false;
    return values;
}

const QList<ReportChoice> &wordDocChoices()
{
    static const QList<ReportChoice> c = {{QStringLiteral("новый"), QStringLiteral("новый")},
                                          {QStringLiteral("текущий"), QStringLiteral("текущий")}};
    return c;
}

const QList<ReportChoice> &paperSizeChoices()
{
    static const QList<ReportChoice> c = {{QStringLiteral("А3 (29,7 х 42 см)"), QStringLiteral("A3")},
                                          {QStringLiteral("А4 (21 х 29,7 см)"), QStringLiteral("A4")},
                                          {QStringLiteral("А5 (14,8 х 21 см)"), QStringLiteral("A5")}};
    return c;
}

const QList<ReportChoice> &paperOrientChoices()
{
    static const QList<ReportChoice> c = {{QStringLiteral("книжная"), QStringLiteral("книжная")},
                                          {QStringLiteral("альбомная"), QStringLiteral("альбомная")}};
    return c;
}

const QList<ReportChoice> &pageNumChoices()
{
    static const QList<ReportChoice> c = {
        {QStringLiteral("в верхнем колонтитуле"), QStringLiteral("в верхнем колонтитуле")},
        {QStringLiteral("в нижнем колонтитуле"), QStringLiteral("в нижнем колонтитуле")},
        {QStringLiteral("нет"), QStringLiteral("нет")}};
    return c;
}

QString reportSamplePath(const QString &checkBox)
{
    static const bool initialised = (initSampleResources(), true);
    Q_UNUSED(initialised);
    return QStringLiteral(":/RepBMP/") + checkBox + QStringLiteral(".png");
}

bool reportSampleExists(const QString &checkBox)
{
    return !checkBox.isEmpty() && QFile::exists(reportSamplePath(checkBox));
}

QString reportSampleNote(const QString &checkBox, bool pictureFound)
{
    if (!pictureFound)
        return QStringLiteral("файл не найден.");
    return checkBox == QLatin1String("dbchkProjName") ? QStringLiteral("см. подчеркнутое.")
                                                      : QStringLiteral("см. фрагмент.");
}

} // namespace korvan
