#include "core/reports/ReportFrontPage.h"
#include "core/data/Fields.h"

#include "core/calc/AnalysisRules.h"
#include "core/calc/Numbers.h"
#include "core/data/ResonanceTables.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"
#include "core/reports/ReportContext.h"
#include "core/reports/ResonanceReport.h"
#include "core/reports/VariantWalk.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"

namespace korvan {

namespace {

const QString Missing = QStringLiteral("—");

QString money(const std::optional<double> &x) { return x ? fixedText(R(*x, 2), 2) : Missing; }
QString plain(const std::optional<double> &x) { return x ? numberText(*x) : Missing; }

bool eligible(const VariantSummary &row) { return row.meetsDailyCosf && !(row.resonance && !row.resonance->empty()); }

// "вариант 2" or "варианты 2, 5".
QString variantsText(const QList<int> &numbers)
{
    QStringList list;
    for (const int n : numbers)
        list << QString::number(n);
    return (numbers.size() == 1 ? QStringLiteral("вариант ") : QStringLiteral("варианты ")) +
           list.join(QStringLiteral(", "));
}

const QString Rule = QStringLiteral("наибольший ЧДД среди вариантов без риска резонанса на высших гармониках, у "
                                    "которых суточный cos(fк) удовлетворяет режиму подбора модулей");

VariantSummary currentSummary(ReportContext &report)
{
    TDataModule1 &d = report.data;
    const TTable &v = *d.tblProj2;
    VariantSummary row;
    row.number = int(v.asFloat(fld::VarNum));
    row.type = v.asString(fld::TipKU);
    row.Qk = v.asOptional(fld::Qk);
    row.price = v.asOptional(fld::Cena);
    row.saving = v.asOptional(fld::DPayWs_g);
    row.payback = v.asOptional(fld::Srok);
    const EconomicFigures f = currentVariantEconomics(d);
    row.NPV = f.NPV;
    row.IRR = f.IRR;
    row.DPP = f.DPP;
    row.resonance = resonance_tables::variantValues(d.store(), v.currentKod()).Resonance;
    StoredCandidate c;
    c.Rejim = v.asString(fld::Rejim);
    c.Cosf_sr = v.asOptional(fld::Cosf_i);
    c.PCosf_min = v.asOptional(fld::Cosf_min);
    c.PCosf_max = v.asOptional(fld::Cosf_max);
    row.meetsDailyCosf = !failsDailyCriteria(c);
    return row;
}

void writeTitleBlock(ReportContext &r)
{
    const TTable &project = *r.data.tblProj0;
    const TTable &variant = *r.data.tblProj2;
    const QString name = r.settings.name.trimmed().isEmpty() ? QStringLiteral("Отчет") : r.settings.name.trimmed();
    WriteWordHeading(r.word, name + QStringLiteral("\r"), 16);
    WriteWordHeading(r.word, project.asString(fld::Name) + QStringLiteral(".\r"), 14);
    if (!r.allVariants)
        WriteWordHeading(r.word, QStringLiteral("Вариант компенсации %1: %2.\r")
                                     .arg(variant.asString(fld::VarNum), variant.asString(fld::TipKU)));
    QString lines = QStringLiteral("\r");
    if (!project.asString(fld::ProjOwner).trimmed().isEmpty())
        lines += QStringLiteral("Заказчик - ") + project.asString(fld::ProjOwner).trimmed() + QStringLiteral(".\r");
    if (!r.engineer.isEmpty())
        lines += QStringLiteral("Исполнитель - ") + r.engineer.text() + QStringLiteral(".\r");
    lines += QStringLiteral("Дата отчета - ") + r.word.now().date().toString(QStringLiteral("dd.MM.yyyy")) +
             QStringLiteral(".\r\r");
    WriteWordParagraph(r.word, lines);
    const QString note = project.asString(fld::ProjMemo).trimmed();
    if (!note.isEmpty())
        WriteWordParagraph(r.word, QStringLiteral("Примечание: ") + note + QStringLiteral("\r\r"));
}

void writeSummary(ReportContext &r)
{
    const std::vector<VariantSummary> rows = reportedVariantSummaries(r);
    if (rows.empty())
        return;
    WriteWordHeading(
        r.word, r.allVariants ? QStringLiteral("Сводка по вариантам.\r\r") : QStringLiteral("Сводка по варианту.\r\r"),
        12, 1);
    QStringList cells = summaryHeader();
    for (const VariantSummary &row : rows)
        cells << summaryCells(row);
    QString text;
    for (const QString &cell : cells)
        text += cell + u'\t';
    r.word.activeDocument().selection().insertAfter(text);
    FinishReportTable(r.word, int(summaryHeader().size()), wdAlignParagraphCenter, true);
    WriteWordParagraph(r.word, recommendationLines(rows, r.allVariants).join(u'\r') + QStringLiteral("\r\r"));
}

void writeContents(ReportContext &r)
{
    WriteWordHeading(r.word, QStringLiteral("Содержание.\r\r"));
    WordSelection &sel = r.word.activeDocument().selection();
    sel.addField(wdFieldTOC);
    sel.collapse(wdCollapseEnd);
    WriteWordParagraph(r.word, QStringLiteral("\r\r"));
}

} // namespace

std::optional<int> recommendedVariant(const std::vector<VariantSummary> &rows)
{
    std::optional<int> best;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!eligible(rows[i]) || !rows[i].NPV)
            continue;
        if (!best || *rows[i].NPV > *rows[size_t(*best)].NPV)
            best = int(i);
    }
    return best;
}

QStringList recommendationLines(const std::vector<VariantSummary> &rows, bool allVariants)
{
    QStringList lines;
    QList<int> failsCosf, atRisk, unchecked;
    for (const VariantSummary &row : rows) {
        if (!row.meetsDailyCosf)
            failsCosf << row.number;
        if (row.resonance && !row.resonance->empty())
            atRisk << row.number;
        if (!row.resonance)
            unchecked << row.number;
    }
    if (!allVariants) {
        const VariantSummary &row = rows.front();
        if (eligible(row))
            lines << QStringLiteral("Вариант удовлетворяет условиям выбора: риска резонанса на высших гармониках "
                                    "нет, суточный cos(fк) удовлетворяет режиму подбора модулей.");
        else if (!row.meetsDailyCosf)
            lines << QStringLiteral("Суточный cos(fк) варианта не удовлетворяет режиму подбора модулей.");
        if (row.resonance && !row.resonance->empty())
            lines << QStringLiteral("Риск резонанса %1: выберите установку с защитными реакторами (с расстройкой).")
                         .arg(harmonicsAtRiskText(*row.resonance));
    } else {
        const std::optional<int> best = recommendedVariant(rows);
        if (best) {
            const VariantSummary &row = rows[size_t(*best)];
            lines << QStringLiteral("Рекомендуемый вариант - %1 (%2): ЧДД %3 грн, %4.")
                         .arg(QString::number(row.number), row.type, money(row.NPV), Rule);
        } else {
            lines << QStringLiteral("Рекомендуемого варианта нет: правило выбора - %1; ни один вариант с "
                                    "определенным ЧДД ему не отвечает.")
                         .arg(Rule);
        }
        if (!failsCosf.isEmpty())
            lines
                << QStringLiteral("Суточный cos(fк) не удовлетворяет режиму подбора: %1.").arg(variantsText(failsCosf));
        if (!atRisk.isEmpty())
            lines << QStringLiteral("Риск резонанса: %1.").arg(variantsText(atRisk));
    }
    if (!unchecked.isEmpty())
        lines << QStringLiteral("Резонанс не проверялся: не заданы данные питания проекта.");
    return lines;
}

QStringList summaryHeader()
{
    return {QStringLiteral("Вариант"),
            QStringLiteral("Тип установки"),
            QStringLiteral("Qку, кВАр"),
            QStringLiteral("Цена, грн"),
            QStringLiteral("Экономия в год, грн"),
            QStringLiteral("Срок окупаемости, лет"),
            QStringLiteral("ЧДД, грн"),
            QStringLiteral("ВНД, %"),
            QStringLiteral("Дисконтированный срок окупаемости, лет"),
            QStringLiteral("Резонанс")};
}

QStringList summaryCells(const VariantSummary &row)
{
    QString resonance = QStringLiteral("не проверялся");
    if (row.resonance)
        resonance = row.resonance->empty() ? QStringLiteral("риска нет")
                                           : QStringLiteral("риск: ") + resonance_tables::harmonicsText(*row.resonance);
    return {QString::number(row.number),
            row.type,
            plain(row.Qk),
            money(row.price),
            money(row.saving),
            row.payback ? fixedText(R(*row.payback, 2), 2) : Missing,
            money(row.NPV),
            row.IRR ? fixedText(*row.IRR, 2) : Missing,
            row.DPP ? fixedText(*row.DPP, 2) : Missing,
            resonance};
}

std::vector<VariantSummary> reportedVariantSummaries(ReportContext &report)
{
    TDataModule1 &d = report.data;
    TTable &variants = *d.tblProj2;
    std::vector<VariantSummary> rows;
    if (variants.isEmpty())
        return rows;
    if (!report.allVariants) {
        rows.push_back(currentSummary(report));
        return rows;
    }
    const VariantWalk walk(variants);
    for (variants.first(); !variants.eof(); variants.next())
        rows.push_back(currentSummary(report));
    return rows;
}

void WriteFrontPage(ReportContext &report)
{
    if (report.on(ReportFlag::ProjName))
        writeTitleBlock(report);
    if (report.front.summary)
        writeSummary(report);
    if (report.front.contents)
        writeContents(report);
}

} // namespace korvan
