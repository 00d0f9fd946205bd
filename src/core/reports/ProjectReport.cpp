#include "core/reports/ProjectReport.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/QuietCursors.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "core/project/MainGrids.h"
#include "core/reports/CalculationTexts.h"
#include "core/reports/EconomicsReport.h"
#include "core/reports/FormulaTexts.h"
#include "core/reports/ReportContext.h"
#include "core/reports/ReportFrontPage.h"
#include "core/reports/ReportTables.h"
#include "core/reports/ResonanceReport.h"
#include "core/reports/VariantWalk.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"

namespace korvan {

namespace {

using F = ReportFlag;

const QStringList LoadPeriodFields = {fld::T1,  fld::T2, fld::P,  fld::Q,  fld::S,     fld::I,     fld::Cosf,
                                      fld::Tgf, fld::Wa, fld::Wq, fld::Ws, fld::PayWa, fld::PayWq, fld::PayWs};
const QStringList CompensatedPeriodFields = {fld::T1,  fld::T2,  fld::P,      fld::Q,      fld::Qku,   fld::Q1,
                                             fld::S,   fld::I,   fld::Cosf,   fld::Tgf,    fld::Wakp,  fld::Wak,
                                             fld::Wqk, fld::Wsk, fld::PayWak, fld::PayWqk, fld::PayWsk};
const QStringList DailyFields = {fld::Kp,   fld::Cosf_i, fld::Tgf_i,   fld::Wak,     fld::Wqk,
                                 fld::Wsk,  fld::PayWak, fld::PayWqk,  fld::PayWsk,  fld::DWak,
                                 fld::DWqk, fld::DWsk,   fld::DPayWak, fld::DPayWqk, fld::DPayWsk};
const QStringList MonthlyFields = {fld::Wp_m,  fld::Wq_m,  fld::Ws_m,  fld::PayWp_m,  fld::PayWq_m,  fld::PayWs_m,
                                   fld::DWp_m, fld::DWq_m, fld::DWs_m, fld::DPayWp_m, fld::DPayWq_m, fld::DPayWs_m};
const QStringList YearlyFields = {fld::Wp_g,     fld::Wq_g,     fld::Ws_g,  fld::PayWp_g, fld::PayWq_g,
                                  fld::PayWs_g,  fld::DWp_g,    fld::DWq_g, fld::DWs_g,   fld::DPayWp_g,
                                  fld::DPayWq_g, fld::DPayWs_g, fld::Srok};

// One section of totals with compensation: its table, legend, formulas and calculations.
struct CompensatedSection {
    F table, legend, formulas, calculations;
    QString title;
    const QStringList &fields;
    QString firstColumn, lastColumn;
    void (*writeFormulas)(ReportContext &);
    void (*writeCalculations)(ReportContext &);
};

void writeProjectPart(ReportContext &r)
{
    TDataModule1 &d = r.data;
    const TTable &project = *d.tblProj0;
    const auto p = [&project](const QString &field) { return project.asString(field); };
    // The project's name opens the title block of the first page.
    WriteFrontPage(r);
    if (r.on(F::ProjHar)) {
        WriteWordHeading(r.word, QStringLiteral("Характеристика проекта.\r\r"), 12, 1);
        WriteWordParagraph(
            r.word, QStringLiteral("Тариф на активную электроэнергию - ") + p(fld::Tarif_a) +
                        QStringLiteral(" грн/кВтч.\r") + QStringLiteral("Тариф на реактивную электроэнергию - ") +
                        p(fld::Tarif_q) + QStringLiteral(" грн/кВАрч.\r") +
                        QStringLiteral("Среднее количество рабочих дней в месяце - ") + p(fld::MonthDay) +
                        QStringLiteral(".\r") + QStringLiteral("Среднее количество рабочих дней в году - ") +
                        p(fld::YearDay) + QStringLiteral(".\r\r"));
    }
    if (r.on(F::SutGr)) {
        WriteDataSetTable(
            r, QStringLiteral("Суточный график нагрузки электроустановки (без компенсации реактивной мощности)."),
            *d.tblProj1, nullptr, false, false, LoadPeriodFields);
        if (r.on(F::SutGrPrim))
            WriteTableLegend(r, d.tblProj1->tableName(), loadPeriodColumns(), false);
        if (r.on(F::SutGrFormula))
            WritePeriodFormulas(r);
        if (r.on(F::SutGrScore))
            WritePeriodCalculations(r);
    }
    r.progress.step();
    struct Totals {
        F table, formulas, calculations;
        QString title;
        const QList<GridColumn> &grid;
        void (*writeFormulas)(ReportContext &);
        void (*writeCalculations)(ReportContext &);
    };
    const Totals totals[] = {
        {F::SutHar, F::SutFormula, F::SutScore,
         QStringLiteral("Суточные характеристики электроустановки (без компенсации реактивной мощности)."),
         dailyCharacteristicColumns(), WriteDailyFormulas, WriteDailyCalculations},
        {F::MonthHar, F::MonthFormula, F::MonthScore,
         QStringLiteral("Месячные характеристики электроустановки (без компенсации реактивной мощности)."),
         monthlyCharacteristicColumns(), WriteMonthlyFormulas, WriteMonthlyCalculations},
        {F::YearHar, F::YearFormula, F::YearScore,
         QStringLiteral("Годовые характеристики электроустановки (без компенсации реактивной мощности)."),
         yearlyCharacteristicColumns(), WriteYearlyFormulas, WriteYearlyCalculations},
    };
    for (const Totals &t : totals) {
        if (r.on(t.table)) {
            WriteGridTable(r, t.title, t.grid);
            if (r.on(t.formulas))
                t.writeFormulas(r);
            if (r.on(t.calculations))
                t.writeCalculations(r);
        }
        r.progress.step();
    }
}

void writeCompensatedSections(ReportContext &r, bool allVariants)
{
    TDataModule1 &d = r.data;
    const CompensatedSection sections[] = {
        {F::SutHarKomp, F::SutKompPrim, F::SutKompFormula, F::SutKompScore,
         QStringLiteral("Суточные характеристики электроустановки (с компенсацией реактивной мощности)."), DailyFields,
         fld::Kp, fld::DPayWsk, WriteCompensatedDailyFormulas, WriteCompensatedDailyCalculations},
        {F::MonthHarKomp, F::MonthKompPrim, F::MonthKompFormula, F::MonthKompScore,
         QStringLiteral("Месячные характеристики электроустановки (с компенсацией реактивной мощности)."),
         MonthlyFields, fld::Wp_m, fld::DPayWs_m, WriteCompensatedMonthlyFormulas, WriteCompensatedMonthlyCalculations},
        {F::YearHarKomp, F::YearKompPrim, F::YearKompFormula, F::YearKompScore,
         QStringLiteral("Годовые характеристики электроустановки (с компенсацией реактивной мощности)."), YearlyFields,
         fld::Wp_g, fld::Srok, WriteCompensatedYearlyFormulas, WriteCompensatedYearlyCalculations},
    };
    for (const CompensatedSection &s : sections) {
        if (r.on(s.table)) {
            if (allVariants) {
                WriteDataSetTable(r, s.title, *d.tblProj2, nullptr, true, false, s.fields);
                if (r.on(s.legend))
                    WriteTableLegend(r, d.tblProj2->tableName(),
                                     gridColumnRange(variantColumns(), s.firstColumn, s.lastColumn), true);
            } else {
                // The variant report has no legend: its table names every row already.
                WriteDataSetTable(r, s.title, *d.tblProj2, &variantColumns(), false, true, s.fields);
            }
            if (r.on(s.formulas))
                s.writeFormulas(r);
            if (r.on(s.calculations))
                s.writeCalculations(r);
            // The lifecycle economics of each installation follow its yearly characteristics.
            if (s.table == F::YearHarKomp && economicsReportFlag(d.store(), d.TableReport->currentKod()))
                WriteEconomicsBlock(r, allVariants);
        }
        r.progress.step();
    }
}

void writeReport(ReportContext &r, bool allVariants)
{
    TDataModule1 &d = r.data;
    r.progress.reset(allVariants ? 2 * d.tblProj2->recordCount() + 6 : 8);
    writeProjectPart(r);
    if (allVariants) {
        const VariantWalk restore(*d.tblProj2);
        if (r.on(F::KUHar)) {
            TTable &variants = *d.tblProj2;
            for (variants.first(); !variants.eof(); variants.next()) {
                WriteWordHeading(r.word,
                                 QStringLiteral("Конденсаторная установка ") + variants.asString(fld::TipKU) +
                                     QStringLiteral(".\r\r"),
                                 12, 1);
                CollapseWordSelection(r.word, wdCollapseEnd);
                r.sectionLevel = 2;
                WriteInstallationCharacteristic(r, true);
                r.sectionLevel = 1;
            }
        }
        writeCompensatedSections(r, true);
    } else {
        if (r.on(F::KUHar))
            WriteInstallationCharacteristic(r, false);
        writeCompensatedSections(r, false);
    }
}

} // namespace

void ReportProgress::reset(int maximum)
{
    m_maximum = maximum;
    m_value = 0;
    report();
}

void ReportProgress::step()
{
    if (m_value < m_maximum) {
        ++m_value;
        report();
    }
}

void ReportProgress::finish()
{
    m_value = m_maximum;
    report();
    m_value = 0;
    report();
}

void ReportProgress::report() const
{
    if (m_callback)
        m_callback(m_value, m_maximum);
}

QString selectionModeText(const QString &rejim, const QString &cosfMin, const QString &cosfMax, const QString &cosfTr)
{
    QString text = rejim;
    if (!cosfMin.isEmpty() && cosfMax.isEmpty())
        text += QStringLiteral(" (минимально допустимый cos(f) = ") + cosfMin + u')';
    if (!cosfMax.isEmpty() && cosfMin.isEmpty())
        text += QStringLiteral(" (максимально допустимый cos(f) = ") + cosfMax + u')';
    if (!cosfMin.isEmpty() && !cosfMax.isEmpty())
        text += QStringLiteral(" (минимально допустимый cos(f) = ") + cosfMin + QStringLiteral("; ") +
                QStringLiteral(" максимально допустимый cos(f) = ") + cosfMax + u')';
    if (!cosfTr.isEmpty())
        text += QStringLiteral(" (требуемый cos(f) = ") + cosfTr + u')';
    return text;
}

void WriteInstallationCharacteristic(ReportContext &r, bool variantLine)
{
    TDataModule1 &d = r.data;
    WriteWordHeading(r.word, QStringLiteral("Характеристика конденсаторной установки.\r\r"), 12, r.sectionLevel);
    CollapseWordSelection(r.word, wdCollapseEnd);

    QStringList modules;
    const TTable &moduleSet = *d.tblProj5;
    const int count = moduleSet.fieldIndex(fld::Kol_vo);
    const int power = moduleSet.fieldIndex(fld::Stup);
    for (const TTable::Row &row : moduleSet.rows()) {
        const QString n = row[count].isNull() ? QString() : QString::number(row[count].toLongLong());
        const QString q = row[power].isNull() ? QString() : numberText(row[power].toDouble());
        modules << n + u'x' + q + QStringLiteral(" кВАр");
    }

    const TTable &v = *d.tblProj2;
    const auto f = [&v](const QString &field) { return v.asString(field); };
    QString text;
    if (variantLine)
        text += QStringLiteral("Вариант компенсации - ") + f(fld::VarNum) + QStringLiteral(".\r");
    text += QStringLiteral("Тип - ") + f(fld::TipKU) + QStringLiteral(".\r");
    text += QStringLiteral("Полная мощность - ") + f(fld::Qk) + QStringLiteral(" кВАр.\r");
    text +=
        QStringLiteral("Количество и мощность модулей - ") + modules.join(QStringLiteral("; ")) + QStringLiteral(".\r");
    text += QStringLiteral("Удельные потери активной мощности - ") + f(fld::Pp) + QStringLiteral(" кВт/кВАр.\r");
    text += QStringLiteral("Цена конденсаторной установки - ") + f(fld::Cena) + QStringLiteral(" грн.\r");
    text += QStringLiteral("Режим подбора модулей (батарей) - ") +
            selectionModeText(f(fld::Rejim), f(fld::Cosf_min), f(fld::Cosf_max), f(fld::Cosf_tr)) +
            QStringLiteral(".\r\r");
    WriteWordParagraph(r.word, text);
    r.progress.step();

    if (r.on(F::SutGrKomp)) {
        WriteDataSetTable(
            r, QStringLiteral("Суточный график нагрузки электроустановки (с компенсацией реактивной мощности)."),
            *d.tblProj3, nullptr, false, false, CompensatedPeriodFields);
        if (r.on(F::SutGrKompPrim))
            WriteTableLegend(r, d.tblProj3->tableName(), compensatedPeriodColumns(), false);
        if (r.on(F::SutGrKompFormula))
            WriteCompensatedPeriodFormulas(r);
        if (r.on(F::SutGrKompScore))
            WriteCompensatedPeriodCalculations(r);
    }
    WriteResonanceCheck(r);
    r.progress.step();
}

void ExportProjectReport(TDataModule1 &data, WordApplication &word, bool allVariants, const ReportFeedback &feedback)
{
    ReportContext report{data,
                         word,
                         ReportSettings::fromCurrentRecord(*data.TableReport),
                         ReportProgress(feedback.progress),
                         allVariants,
                         {},
                         {}};
    // A record not yet stored has nothing kept beside it.
    if (const qint64 kod = data.TableReport->currentKod();
        kod > 0 && data.TableReport->state() != TTable::State::Insert) {
        report.front = reportFront(data.store(), kod);
        report.engineer = reportEngineer(data.store(), kod);
    }
    if (feedback.busy)
        feedback.busy(true);
    // The closing steps run however the report ends; a failure to save is reported after the
    // failure that ended the report, which is the one the caller sees.
    const auto close = [&](bool failed) {
        try {
            word.setDocumentTitle(data.tblProj0->asString(fld::Name));
            DisconnectWord(word, failed);
        } catch (const KorvanError &e) {
            if (!failed) {
                report.progress.finish();
                if (feedback.busy)
                    feedback.busy(false);
                throw;
            }
            Messages::error(e.message());
        }
        report.progress.finish();
        if (feedback.busy)
            feedback.busy(false);
    };
    try {
        // The walks over periods and variants reach the windows once, at the end.
        const QuietCursors quiet{data.tblProj1, data.tblProj2};
        PrepareReportDocument(word, report.settings.page);
        WordDocument &document = word.activeDocument();
        // The engineer who made the report is its author; the customer is named in its text.
        document.properties() = {data.tblProj0->asString(fld::Name), report.engineer.name.trimmed(), word.now()};
        writeReport(report, allVariants);
    } catch (...) {
        close(true);
        throw;
    }
    close(false);
}

} // namespace korvan
