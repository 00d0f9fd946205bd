#include "reports/ReportSettings.h"

#include "data/TTable.h"

#include <QFile>

static void initSampleResources() { Q_INIT_RESOURCE(RepBMP); }

namespace korvan {

namespace {

using F = ReportFlag;
using T = ReportFlagTab;

ReportFlagInfo info(F flag, const char *field, const char *caption, T tab, std::optional<F> main = {})
{
    const QString name = QString::fromLatin1(field);
    return {flag, name, QStringLiteral("dbchk") + name, QString::fromUtf8(caption), tab, main};
}

int marginOf(const TTable &report, const QString &field)
{
    return report.isNull(field) ? 0 : int(report.asInteger(field));
}

} // namespace

const QList<ReportFlagInfo> &reportFlags()
{
    static const QList<ReportFlagInfo> flags = {
        info(F::ProjName, "ProjName", "Наименование проекта", T::Top),
        info(F::ProjHar, "ProjHar", "Характеристика проекта", T::Top),
        info(F::SutGr, "SutGr", "Суточный график нагрузки (без компенсации)", T::WithoutCompensation),
        info(F::SutGrPrim, "SutGrPrim", "Примечание к таблице", T::WithoutCompensation, F::SutGr),
        info(F::SutGrFormula, "SutGrFormula", "Расчетные формулы", T::WithoutCompensation, F::SutGr),
        info(F::SutGrScore, "SutGrScore", "Расчеты", T::WithoutCompensation, F::SutGr),
        info(F::SutHar, "SutHar", "Суточные характеристики (без компенсации)", T::WithoutCompensation),
        info(F::SutFormula, "SutFormula", "Расчетные формулы", T::WithoutCompensation, F::SutHar),
        info(F::SutScore, "SutScore", "Расчеты", T::WithoutCompensation, F::SutHar),
        info(F::MonthHar, "MonthHar", "Месячные характеристики (без компенсации)", T::WithoutCompensation),
        info(F::MonthFormula, "MonthFormula", "Расчетные формулы", T::WithoutCompensation, F::MonthHar),
        info(F::MonthScore, "MonthScore", "Расчеты", T::WithoutCompensation, F::MonthHar),
        info(F::YearHar, "YearHar", "Годовые характеристики (без компенсации)", T::WithoutCompensation),
        info(F::YearFormula, "YearFormula", "Расчетные формулы", T::WithoutCompensation, F::YearHar),
        info(F::YearScore, "YearScore", "Расчеты", T::WithoutCompensation, F::YearHar),
        info(F::KUHar, "KUHar", "Характеристика конденсаторных установок", T::WithCompensation),
        info(F::SutGrKomp, "SutGrKomp", "Суточный график нагрузки (с компенсацией)", T::WithCompensation, F::KUHar),
        info(F::SutGrKompPrim, "SutGrKompPrim", "Примечание к таблице", T::WithCompensation, F::SutGrKomp),
        info(F::SutGrKompFormula, "SutGrKompFormula", "Расчетные формулы", T::WithCompensation, F::SutGrKomp),
        info(F::SutGrKompScore, "SutGrKompScore", "Расчеты", T::WithCompensation, F::SutGrKomp),
        info(F::SutHarKomp, "SutHarKomp", "Суточные характеристики (с компенсацией)", T::WithCompensation),
        info(F::SutKompPrim, "SutKompPrim", "Примечание к таблице", T::WithCompensation, F::SutHarKomp),
        info(F::SutKompFormula, "SutKompFormula", "Расчетные формулы", T::WithCompensation, F::SutHarKomp),
        info(F::SutKompScore, "SutKompScore", "Расчеты", T::WithCompensation, F::SutHarKomp),
        info(F::MonthHarKomp, "MonthHarKomp", "Месячные характеристики (с компенсацией)", T::WithCompensation),
        info(F::MonthKompPrim, "MonthKompPrim", "Примечание к таблице", T::WithCompensation, F::MonthHarKomp),
        info(F::MonthKompFormula, "MonthKompFormula", "Расчетные формулы", T::WithCompensation, F::MonthHarKomp),
        info(F::MonthKompScore, "MonthKompScore", "Расчеты", T::WithCompensation, F::MonthHarKomp),
        info(F::YearHarKomp, "YearHarKomp", "Годовые характеристики (с компенсацией)", T::WithCompensation),
        info(F::YearKompPrim, "YearKompPrim", "Примечание к таблице", T::WithCompensation, F::YearHarKomp),
        info(F::YearKompFormula, "YearKompFormula", "Расчетные формулы", T::WithCompensation, F::YearHarKomp),
        info(F::YearKompScore, "YearKompScore", "Расчеты", T::WithCompensation, F::YearHarKomp),
    };
    return flags;
}

const ReportFlagInfo &reportFlagInfo(ReportFlag flag)
{
    return reportFlags()[qsizetype(flag)];
}

ReportSettings ReportSettings::fromCurrentRecord(const TTable &report)
{
    ReportSettings s;
    if (report.recNo() < 0)
        return s;
    s.name = report.asString(QStringLiteral("Name"));
    s.page.wordDoc = report.asString(QStringLiteral("WordDoc"));
    s.page.paperSize = report.asString(QStringLiteral("PaperSize"));
    s.page.paperOrient = report.asString(QStringLiteral("PaperOrient"));
    s.page.pageNum = report.asString(QStringLiteral("PageNum"));
    s.page.topMargin = marginOf(report, QStringLiteral("TopMargin"));
    s.page.bottomMargin = marginOf(report, QStringLiteral("BottomMargin"));
    s.page.leftMargin = marginOf(report, QStringLiteral("LeftMargin"));
    s.page.rightMargin = marginOf(report, QStringLiteral("RightMargin"));
    s.page.headerDistance = marginOf(report, QStringLiteral("HeaderDistance"));
    s.page.footerDistance = marginOf(report, QStringLiteral("FooterDistance"));
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
