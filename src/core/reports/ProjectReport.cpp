#include "reports/ProjectReport.h"

#include "Messages.h"
#include "calc/Numbers.h"
#include "data/TDataModule1.h"
#include "project/MainGrids.h"
#include "reports/CalculationTexts.h"
#include "reports/EconomicsReport.h"
#include "reports/FormulaTexts.h"
#include "reports/ReportContext.h"
#include "reports/ReportTables.h"
#include "reports/ResonanceReport.h"
#include "reports/VariantWalk.h"
#include "reports/WordApplication.h"
#include "reports/WordLayer.h"

namespace korvan {

namespace {

using F = ReportFlag;

const QStringList LoadPeriodFields = {"T1", "T2", "P", "Q", "S", "I", "Cosf", "Tgf", "Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"};
const QStringList CompensatedPeriodFields = {"T1",   "T2",  "P",   "Q",   "Qku",  "Q1",   "S",    "I",   "Cosf",
                                             "Tgf",  "Wakp", "Wak", "Wqk", "Wsk", "$Wak", "$Wqk", "$Wsk"};
const QStringList DailyFields = {"Kp",   "Cosf_i", "Tgf_i", "Wak",   "Wqk",   "Wsk",   "$Wak",  "$Wqk",
                                 "$Wsk", "DWak",   "DWqk",  "DWsk",  "D$Wak", "D$Wqk", "D$Wsk"};
const QStringList MonthlyFields = {"Wp_m",  "Wq_m",  "Ws_m",  "$Wp_m",  "$Wq_m",  "$Ws_m",
                                   "DWp_m", "DWq_m", "DWs_m", "D$Wp_m", "D$Wq_m", "D$Ws_m"};
const QStringList YearlyFields = {"Wp_g",  "Wq_g",  "Ws_g",   "$Wp_g",  "$Wq_g",  "$Ws_g", "DWp_g",
                                  "DWq_g", "DWs_g", "D$Wp_g", "D$Wq_g", "D$Ws_g", "Srok"};

// One section of totals with compensation: its table, legend, formulas and calculations.
struct CompensatedSection {
    F table, legend, formulas, calculations;
    QString title;
    const QStringList &fields;
    QString firstColumn, lastColumn;
    void (*writeFormulas)(ReportContext &);
    void (*writeCalculations)(ReportContext &);
};

// The shared cursors stop telling bound windows about every move of the report's walks; they
// catch up once at the end.
class QuietCursors {
public:
    explicit QuietCursors(TDataModule1 &data) : m_tables{data.tblProj1, data.tblProj2}
    {
        for (TTable *t : m_tables)
            t->disableControls();
    }
    ~QuietCursors()
    {
        for (TTable *t : m_tables)
            t->enableControls();
    }

private:
    QList<TTable *> m_tables;
};

void writeProjectPart(ReportContext &r)
{
    TDataModule1 &d = r.data;
    const TTable &project = *d.tblProj0;
    const auto p = [&project](const char *field) { return project.asString(QString::fromLatin1(field)); };
    if (r.on(F::ProjName)) {
        WriteWordHeading(r.word, p("Name") + QStringLiteral(".\r\r"), 14);
        // Whom the report is for and when it was made, as a recipient reads it on paper.
        QString lines = QStringLiteral("Дата отчета - ") +
                        r.word.now().date().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(".\r");
        if (!p("ProjOwner").trimmed().isEmpty())
            lines += QStringLiteral("Владелец проекта - ") + p("ProjOwner").trimmed() + QStringLiteral(".\r");
        WriteWordParagraph(r.word, lines + u'\r');
    }
    if (r.on(F::ProjHar)) {
        WriteWordHeading(r.word, QStringLiteral("Характеристика проекта.\r\r"));
        WriteWordParagraph(r.word, QStringLiteral("Тариф на активную электроэнергию - ") + p("Tarif_a") +
                                       QStringLiteral(" грн/кВтч.\r") +
                                       QStringLiteral("Тариф на реактивную электроэнергию - ") + p("Tarif_q") +
                                       QStringLiteral(" грн/кВАрч.\r") +
                                       QStringLiteral("Среднее количество рабочих дней в месяце - ") +
                                       p("MonthDay") + QStringLiteral(".\r") +
                                       QStringLiteral("Среднее количество рабочих дней в году - ") + p("YearDay") +
                                       QStringLiteral(".\r\r"));
    }
    if (r.on(F::SutGr)) {
        WriteDataSetTable(r, QStringLiteral("Суточный график нагрузки электроустановки (без компенсации реактивной мощности)."),
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
         QStringLiteral("Суточные характеристики электроустановки (с компенсацией реактивной мощности)."),
         DailyFields, QStringLiteral("Kp"), QStringLiteral("D$Wsk"), WriteCompensatedDailyFormulas,
         WriteCompensatedDailyCalculations},
        {F::MonthHarKomp, F::MonthKompPrim, F::MonthKompFormula, F::MonthKompScore,
         QStringLiteral("Месячные характеристики электроустановки (с компенсацией реактивной мощности)."),
         MonthlyFields, QStringLiteral("Wp_m"), QStringLiteral("D$Ws_m"), WriteCompensatedMonthlyFormulas,
         WriteCompensatedMonthlyCalculations},
        {F::YearHarKomp, F::YearKompPrim, F::YearKompFormula, F::YearKompScore,
         QStringLiteral("Годовые характеристики электроустановки (с компенсацией реактивной мощности)."),
         YearlyFields, QStringLiteral("Wp_g"), QStringLiteral("Srok"), WriteCompensatedYearlyFormulas,
         WriteCompensatedYearlyCalculations},
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
                WriteWordHeading(r.word, QStringLiteral("Конденсаторная установка ") +
                                             variants.asString(QStringLiteral("TipKU")) + QStringLiteral(".\r\r"));
                CollapseWordSelection(r.word, wdCollapseEnd);
                WriteInstallationCharacteristic(r, true);
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

QString selectionModeText(const QString &rejim, const QString &cosfMin, const QString &cosfMax,
                          const QString &cosfTr)
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
    WriteWordHeading(r.word, QStringLiteral("Характеристика конденсаторной установки.\r\r"));
    CollapseWordSelection(r.word, wdCollapseEnd);

    QStringList modules;
    const TTable &moduleSet = *d.tblProj5;
    const int count = moduleSet.fieldIndex(QStringLiteral("Kol_vo"));
    const int power = moduleSet.fieldIndex(QStringLiteral("Stup"));
    for (const TTable::Row &row : moduleSet.rows()) {
        const QString n = row[count].isNull() ? QString() : QString::number(row[count].toLongLong());
        const QString q = row[power].isNull() ? QString() : numberText(row[power].toDouble());
        modules << n + u'x' + q + QStringLiteral(" кВАр");
    }

    const TTable &v = *d.tblProj2;
    const auto f = [&v](const char *field) { return v.asString(QString::fromLatin1(field)); };
    QString text;
    if (variantLine)
        text += QStringLiteral("Вариант компенсации - ") + f("VarNum") + QStringLiteral(".\r");
    text += QStringLiteral("Тип - ") + f("TipKU") + QStringLiteral(".\r");
    text += QStringLiteral("Полная мощность - ") + f("Qk") + QStringLiteral(" кВАр.\r");
    text += QStringLiteral("Количество и мощность модулей - ") + modules.join(QStringLiteral("; ")) +
            QStringLiteral(".\r");
    text += QStringLiteral("Удельные потери активной мощности - ") + f("Pp") + QStringLiteral(" кВт/кВАр.\r");
    text += QStringLiteral("Цена конденсаторной установки - ") + f("Cena") + QStringLiteral(" грн.\r");
    text += QStringLiteral("Режим подбора модулей (батарей) - ") +
            selectionModeText(f("Rejim"), f("Cosf_min"), f("Cosf_max"), f("Cosf_tr")) + QStringLiteral(".\r\r");
    WriteWordParagraph(r.word, text);
    r.progress.step();

    if (r.on(F::SutGrKomp)) {
        WriteDataSetTable(r, QStringLiteral("Суточный график нагрузки электроустановки (с компенсацией реактивной мощности)."),
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
    ReportContext report{data, word, ReportSettings::fromCurrentRecord(*data.TableReport),
                         ReportProgress(feedback.progress)};
    if (feedback.busy)
        feedback.busy(true);
    // The closing steps run however the report ends; a failure to save is reported after the
    // failure that ended the report, which is the one the caller sees.
    const auto close = [&](bool failed) {
        try {
            word.setDocumentTitle(data.tblProj0->asString(QStringLiteral("Name")));
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
        const QuietCursors quiet(data);
        PrepareReportDocument(word, report.settings.page);
        WordDocument &document = word.activeDocument();
        document.properties() = {data.tblProj0->asString(QStringLiteral("Name")),
                                 data.tblProj0->asString(QStringLiteral("ProjOwner")), word.now()};
        // The full report is delivered on portrait paper; it turns landscape rather than give its
        // widest tables landscape pages of their own.
        document.setLandscapeForWideTables(report.settings.name == QStringLiteral("Полный отчет"));
        writeReport(report, allVariants);
    } catch (...) {
        close(true);
        throw;
    }
    close(false);
}

} // namespace korvan
