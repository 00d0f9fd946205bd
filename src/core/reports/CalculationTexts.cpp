#include "core/reports/CalculationTexts.h"
#include "core/data/Fields.h"

#include "core/calc/Compensation.h"
#include "core/calc/Numbers.h"
#include "core/data/Records.h"
#include "core/data/TDataModule1.h"
#include "core/reports/FormulaTexts.h"
#include "core/reports/ReportContext.h"
#include "core/reports/VariantWalk.h"
#include "core/reports/WordLayer.h"

// clang-format off

namespace korvan {

namespace {

const QString Heading = QStringLiteral("Расчеты.\r\r");

// One line of the monthly and yearly blocks: the pattern takes the first value, the second and
// the result, each a field of the project or of the variant.
enum Source { Project, Variant };
struct Value {
    Source source;
    QString field;
};
struct Line {
    QString pattern;
    Value first, second, result;
};

QString text(const TTable &table, const QString &field)
{
    return table.asString(field);
}

void write(ReportContext &report, const QString &line)
{
    WriteWordFormula(report.word, line);
}

// For each field, its values over every record of the table, first to last, joined by " + ".
QStringList joinedValues(TTable &periods, const QStringList &fields)
{
    QList<QStringList> lists(fields.size());
    for (periods.first(); !periods.eof(); periods.next())
        for (qsizetype i = 0; i < fields.size(); ++i)
            lists[i] << periods.asString(fields[i]);
    QStringList joined;
    for (const QStringList &values : lists)
        joined << values.join(QStringLiteral(" + "));
    return joined;
}

void writeLines(ReportContext &report, const QList<Line> &lines)
{
    const TTable &project = *report.data.tblProj0;
    const TTable &variant = *report.data.tblProj2;
    const auto value = [&](const Value &v) { return text(v.source == Project ? project : variant, v.field); };
    for (const Line &line : lines)
        write(report, line.pattern.arg(value(line.first), value(line.second), value(line.result)));
}

// Calls write for every variant of the project report, or for the reported variant alone: a
// report on one variant shows no other variant's numbers.
template <typename Write>
void forEachReportedVariant(ReportContext &report, const Write &write)
{
    TTable &variants = *report.data.tblProj2;
    if (!report.allVariants) {
        write();
        return;
    }
    const VariantWalk walk(variants);
    for (variants.first(); !variants.eof(); variants.next())
        write();
}

void writeEveryVariant(ReportContext &report, const QList<Line> &lines)
{
    WriteBlockHeading(report, Heading);
    const TTable &variants = *report.data.tblProj2;
    forEachReportedVariant(report, [&] {
        WriteWordLeadLine(report.word, QStringLiteral("Вариант %1.\r").arg(text(variants, fld::VarNum)));
        writeLines(report, lines);
    });
}

} // namespace

void WritePeriodCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &p = *report.data.tblProj1;
    const QString tarifA = text(*report.data.tblProj0, fld::Tarif_a);
    const QString tarifQ = text(*report.data.tblProj0, fld::Tarif_q);
    for (p.first(); !p.eof(); p.next()) {
        const auto v = [&p](const QString &field) { return text(p, field); };
        WriteWordLeadLine(report.word, QStringLiteral("Период замера: %1 - %2 час.\r").arg(v(fld::T1), v(fld::T2)));
        write(report, QStringLiteral("S = (%1^{2} + %2^{2})^{1/2} = %3 кВА.\r").arg(v(fld::P), v(fld::Q), v(fld::S)));
        write(report, QStringLiteral("I = %1 / (3^{1/2} * 0,38) = %2 А.\r").arg(v(fld::S), v(fld::I)));
        write(report, QStringLiteral("cos(f) = %1 / %2 = %3.\r").arg(v(fld::P), v(fld::S), v(fld::Cosf)));
        write(report, QStringLiteral("tg(f) = %1 / %2 = %3.\r").arg(v(fld::Q), v(fld::P), v(fld::Tgf)));
        write(report, QStringLiteral("Wp = %1*(%2-%3) = %4 кВтч.\r").arg(v(fld::P), v(fld::T2), v(fld::T1), v(fld::Wa)));
        write(report, QStringLiteral("Wq = %1*(%2-%3) = %4 кВАрч.\r").arg(v(fld::Q), v(fld::T2), v(fld::T1), v(fld::Wq)));
        write(report, QStringLiteral("Ws = (%1^{2}+%2^{2})^{1/2} = %3 кВАч.\r").arg(v(fld::Wa), v(fld::Wq), v(fld::Ws)));
        write(report, QStringLiteral("$Wp = %1 * %2 = %3 грн.\r").arg(v(fld::Wa), tarifA, v(fld::PayWa)));
        write(report, QStringLiteral("$Wq = %1 * %2 = %3 грн.\r").arg(v(fld::Wq), tarifQ, v(fld::PayWq)));
        write(report, QStringLiteral("$Ws = %1 + %2 = %3 грн.\r\r").arg(v(fld::PayWa), v(fld::PayWq), v(fld::PayWs)));
    }
}

void WriteDailyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &periods = *report.data.tblProj1;
    // The span of the graph: no period seen yet is marked by -1, so with none T is 1.
    double firstT1 = -1;
    double lastT2 = 0;
    for (periods.first(); !periods.eof(); periods.next()) {
        const double t1 = periods.asFloat(fld::T1);
        const double t2 = periods.asFloat(fld::T2);
        if (firstT1 == -1 || t1 < firstT1)
            firstT1 = t1;
        if (t2 > lastT2)
            lastT2 = t2;
    }
    const QString T = numberText(lastT2 - firstT1);
    const QStringList l = joinedValues(periods, {fld::Wa, fld::Wq, fld::Ws, fld::PayWa, fld::PayWq, fld::PayWs});
    const TTable &p = *report.data.tblProj0;
    const auto v = [&p](const QString &field) { return text(p, field); };
    write(report, QStringLiteral("Wp = %1 = %2 кВтч.\r").arg(l[0], v(fld::Wa)));
    write(report, QStringLiteral("Wq = %1 = %2 кВАрч.\r").arg(l[1], v(fld::Wq)));
    write(report, QStringLiteral("Ws = %1 = %2 кВАч.\r").arg(l[2], v(fld::Ws)));
    write(report, QStringLiteral("cos(f) = %1 / %2 = %3.\r").arg(v(fld::Wa), v(fld::Ws), v(fld::Cosfe)));
    write(report, QStringLiteral("tg(f) = %1 / %2 = %3.\r").arg(v(fld::Wq), v(fld::Wa), v(fld::Tgfe)));
    write(report, QStringLiteral("Рср = %1 / %2 = %3 кВт.\r").arg(v(fld::Wa), T, v(fld::Psr)));
    write(report, QStringLiteral("Qср = %1 / %2 = %3 кВАр.\r").arg(v(fld::Wq), T, v(fld::Qsr)));
    write(report, QStringLiteral("Sср = %1 / %2 = %3 кВА.\r").arg(v(fld::Ws), T, v(fld::Ssr)));
    write(report, QStringLiteral("$Wр = %1 = %2 грн.\r").arg(l[3], v(fld::PayWa)));
    write(report, QStringLiteral("$Wq = %1 = %2 грн.\r").arg(l[4], v(fld::PayWq)));
    write(report, QStringLiteral("$Ws = %1 = %2 грн.\r\r").arg(l[5], v(fld::PayWs)));
}

void WriteMonthlyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    writeLines(report, {
        {QStringLiteral("Wрм = %1 * %2 = %3 кВтч.\r"), {Project, fld::Wa}, {Project, fld::MonthDay}, {Project, fld::Wa_m}},
        {QStringLiteral("Wqм = %1 * %2 = %3 кВАрч.\r"), {Project, fld::Wq}, {Project, fld::MonthDay}, {Project, fld::Wq_m}},
        {QStringLiteral("Wsм = %1 * %2 = %3 кВАч.\r"), {Project, fld::Ws}, {Project, fld::MonthDay}, {Project, fld::Ws_m}},
        {QStringLiteral("$Wpм = %1 * %2 = %3 грн.\r"), {Project, fld::PayWa}, {Project, fld::MonthDay}, {Project, fld::PayWa_m}},
        {QStringLiteral("$Wqм = %1 * %2 = %3 грн.\r"), {Project, fld::PayWq}, {Project, fld::MonthDay}, {Project, fld::PayWq_m}},
        {QStringLiteral("$Wsм = %1 * %2 = %3 грн.\r\r"), {Project, fld::PayWs}, {Project, fld::MonthDay}, {Project, fld::PayWs_m}},
    });
}

void WriteYearlyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    // Its last line ends with a single break: no empty paragraph follows this block.
    writeLines(report, {
        {QStringLiteral("Wрг = %1 * %2 = %3 кВтч.\r"), {Project, fld::Wa}, {Project, fld::YearDay}, {Project, fld::Wa_g}},
        {QStringLiteral("Wqг = %1 * %2 = %3 кВАрч.\r"), {Project, fld::Wq}, {Project, fld::YearDay}, {Project, fld::Wq_g}},
        {QStringLiteral("Wsг = %1 * %2 = %3 кВАч.\r"), {Project, fld::Ws}, {Project, fld::YearDay}, {Project, fld::Ws_g}},
        {QStringLiteral("$Wpг = %1 * %2 = %3 грн.\r"), {Project, fld::PayWa}, {Project, fld::YearDay}, {Project, fld::PayWa_g}},
        {QStringLiteral("$Wqг = %1 * %2 = %3 грн.\r"), {Project, fld::PayWq}, {Project, fld::YearDay}, {Project, fld::PayWq_g}},
        {QStringLiteral("$Wsг = %1 * %2 = %3 грн.\r"), {Project, fld::PayWs}, {Project, fld::YearDay}, {Project, fld::PayWs_g}},
    });
}

void WriteCompensatedPeriodCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &p = *report.data.tblProj3;
    const TTable &variant = *report.data.tblProj2;
    const QString Pp = text(variant, fld::Pp);
    const QString Kp = text(variant, fld::Kp);
    const QString tarifA = text(*report.data.tblProj0, fld::Tarif_a);
    const QString tarifQ = text(*report.data.tblProj0, fld::Tarif_q);
    for (p.first(); !p.eof(); p.next()) {
        const auto v = [&p](const QString &field) { return text(p, field); };
        // The period without compensation, worked out again as the Wak formula takes it.
        const CompensatedInput in{loadPeriodAt(p)};
        const CompensatedValues uncompensated = computeCompensatedPeriod(in, {}, {});
        const QString A = numberText(uncompensated.Wa0);
        const QString I0 = numberText(uncompensated.I0);
        WriteWordLeadLine(report.word, QStringLiteral("Период замера: %1 - %2 час.\r").arg(v(fld::T1), v(fld::T2)));
        write(report, QStringLiteral("Qк = %1 - %2 = %3 кВАр.\r").arg(v(fld::Q), v(fld::Qku), v(fld::Q1)));
        write(report, QStringLiteral("Sк = (%1^{2} + %2^{2})^{1/2} = %3 кВА.\r").arg(v(fld::P), v(fld::Q1), v(fld::S)));
        write(report, QStringLiteral("Iк = %1 / (3^{1/2} * 0,38) = %2 А.\r").arg(v(fld::S), v(fld::I)));
        write(report, QStringLiteral("cos(fк) = %1 / %2 = %3.\r").arg(v(fld::P), v(fld::S), v(fld::Cosf)));
        write(report, QStringLiteral("tg(fк) = %1 / %2 = %3.\r").arg(v(fld::Q1), v(fld::P), v(fld::Tgf)));
        write(report, QStringLiteral("Wpп = %1 × %2 × (%3 − %4) = %5 кВтч.\r")
                          .arg(Pp, v(fld::Qku), v(fld::T2), v(fld::T1), v(fld::Wakp)));
        write(report, QStringLiteral("Wpк = %1 - %2 * %3 * (%4^{2}-%5^{2}) / (%6^{2}) + %7 = %8 кВтч.\r")
                          .arg(A, A, Kp, I0, v(fld::I), I0, v(fld::Wakp), v(fld::Wak)));
        write(report, QStringLiteral("Wqк = %1*(%2-%3) = %4 кВАрч.\r").arg(v(fld::Q1), v(fld::T2), v(fld::T1), v(fld::Wqk)));
        write(report, QStringLiteral("Wsк = (%1^{2}+%2^{2})^{1/2} = %3 кВАч.\r").arg(v(fld::Wak), v(fld::Wqk), v(fld::Wsk)));
        write(report, QStringLiteral("$Wp = %1 * %2 = %3 грн.\r").arg(v(fld::Wak), tarifA, v(fld::PayWak)));
        write(report, QStringLiteral("$Wq = %1 * %2 = %3 грн.\r").arg(v(fld::Wqk), tarifQ, v(fld::PayWqk)));
        write(report, QStringLiteral("$Ws = %1 + %2 = %3 грн.\r\r").arg(v(fld::PayWak), v(fld::PayWqk), v(fld::PayWsk)));
    }
}

void WriteCompensatedDailyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    const TTable &variants = *report.data.tblProj2;
    const TTable &project = *report.data.tblProj0;
    forEachReportedVariant(report, [&] {
        const QStringList l = joinedValues(*report.data.tblProj3, {fld::Wak, fld::Wqk, fld::Wsk, fld::PayWak, fld::PayWqk, fld::PayWsk});
        const auto v = [&variants](const QString &field) { return text(variants, field); };
        const auto p = [&project](const QString &field) { return text(project, field); };
        WriteWordLeadLine(report.word, QStringLiteral("Вариант %1.\r").arg(v(fld::VarNum)));
        write(report, QStringLiteral("Wpк = %1 = %2 кВтч.\r").arg(l[0], v(fld::Wak)));
        write(report, QStringLiteral("Wqк = %1 = %2 кВАрч.\r").arg(l[1], v(fld::Wqk)));
        write(report, QStringLiteral("Wsк = %1 = %2 кВАч.\r").arg(l[2], v(fld::Wsk)));
        write(report, QStringLiteral("cos(fк) = %1 / %2 = %3.\r").arg(v(fld::Wak), v(fld::Wsk), v(fld::Cosf_i)));
        write(report, QStringLiteral("tg(fк) = %1 / %2 = %3.\r").arg(v(fld::Wqk), v(fld::Wak), v(fld::Tgf_i)));
        write(report, QStringLiteral("$Wрк = %1 = %2 грн.\r").arg(l[3], v(fld::PayWak)));
        write(report, QStringLiteral("$Wqк = %1 = %2 грн.\r").arg(l[4], v(fld::PayWqk)));
        write(report, QStringLiteral("$Wsк = %1 = %2 грн.\r").arg(l[5], v(fld::PayWsk)));
        write(report, QStringLiteral("dWpк = %1-%2 = %3 кВтч.\r").arg(p(fld::Wa), v(fld::Wak), v(fld::DWak)));
        write(report, QStringLiteral("dWqк = %1-%2 = %3 кВАрч.\r").arg(p(fld::Wq), v(fld::Wqk), v(fld::DWqk)));
        write(report, QStringLiteral("dWsк = %1-%2 = %3 кВАч.\r").arg(p(fld::Ws), v(fld::Wsk), v(fld::DWsk)));
        write(report, QStringLiteral("d$Wpк = %1-%2 = %3 грн.\r").arg(p(fld::PayWa), v(fld::PayWak), v(fld::DPayWak)));
        write(report, QStringLiteral("d$Wqк = %1-%2 = %3 грн.\r").arg(p(fld::PayWq), v(fld::PayWqk), v(fld::DPayWqk)));
        write(report, QStringLiteral("d$Wsк = %1-%2 = %3 грн.\r\r").arg(p(fld::PayWs), v(fld::PayWsk), v(fld::DPayWsk)));
    });
}

void WriteCompensatedMonthlyCalculations(ReportContext &report)
{
    writeEveryVariant(report, {
        {QStringLiteral("Wркм = %1 * %2 = %3 кВтч.\r"), {Variant, fld::Wak}, {Project, fld::MonthDay}, {Variant, fld::Wp_m}},
        {QStringLiteral("Wqкм = %1 * %2 = %3 кВАрч.\r"), {Variant, fld::Wqk}, {Project, fld::MonthDay}, {Variant, fld::Wq_m}},
        {QStringLiteral("Wsкм = %1 * %2 = %3 кВАч.\r"), {Variant, fld::Wsk}, {Project, fld::MonthDay}, {Variant, fld::Ws_m}},
        {QStringLiteral("$Wpкм = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWak}, {Project, fld::MonthDay}, {Variant, fld::PayWp_m}},
        {QStringLiteral("$Wqкм = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWqk}, {Project, fld::MonthDay}, {Variant, fld::PayWq_m}},
        {QStringLiteral("$Wsкм = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWsk}, {Project, fld::MonthDay}, {Variant, fld::PayWs_m}},
        {QStringLiteral("dWpкм = %1-%2 = %3 кВтч.\r"), {Project, fld::Wa_m}, {Variant, fld::Wp_m}, {Variant, fld::DWp_m}},
        {QStringLiteral("dWqкм = %1-%2 = %3 кВАрч.\r"), {Project, fld::Wq_m}, {Variant, fld::Wq_m}, {Variant, fld::DWq_m}},
        {QStringLiteral("dWsкм = %1-%2 = %3 кВАч.\r"), {Project, fld::Ws_m}, {Variant, fld::Ws_m}, {Variant, fld::DWs_m}},
        {QStringLiteral("d$Wркм = %1 - %2 = %3 грн.\r"), {Project, fld::PayWa_m}, {Variant, fld::PayWp_m}, {Variant, fld::DPayWp_m}},
        {QStringLiteral("d$Wqкм = %1 - %2 = %3 грн.\r"), {Project, fld::PayWq_m}, {Variant, fld::PayWq_m}, {Variant, fld::DPayWq_m}},
        {QStringLiteral("d$Wsкм = %1 - %2 = %3 грн.\r\r"), {Project, fld::PayWs_m}, {Variant, fld::PayWs_m}, {Variant, fld::DPayWs_m}},
    });
}

void WriteCompensatedYearlyCalculations(ReportContext &report)
{
    writeEveryVariant(report, {
        {QStringLiteral("Wркг = %1 * %2 = %3 кВтч.\r"), {Variant, fld::Wak}, {Project, fld::YearDay}, {Variant, fld::Wp_g}},
        {QStringLiteral("Wqкг = %1 * %2 = %3 кВАрч.\r"), {Variant, fld::Wqk}, {Project, fld::YearDay}, {Variant, fld::Wq_g}},
        {QStringLiteral("Wsкг = %1 * %2 = %3 кВАч.\r"), {Variant, fld::Wsk}, {Project, fld::YearDay}, {Variant, fld::Ws_g}},
        {QStringLiteral("$Wpкг = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWak}, {Project, fld::YearDay}, {Variant, fld::PayWp_g}},
        {QStringLiteral("$Wqкг = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWqk}, {Project, fld::YearDay}, {Variant, fld::PayWq_g}},
        {QStringLiteral("$Wsкг = %1 * %2 = %3 грн.\r"), {Variant, fld::PayWsk}, {Project, fld::YearDay}, {Variant, fld::PayWs_g}},
        {QStringLiteral("dWpкг = %1-%2 = %3 кВтч.\r"), {Project, fld::Wa_g}, {Variant, fld::Wp_g}, {Variant, fld::DWp_g}},
        {QStringLiteral("dWqкг = %1-%2 = %3 кВАрч.\r"), {Project, fld::Wq_g}, {Variant, fld::Wq_g}, {Variant, fld::DWq_g}},
        {QStringLiteral("dWsкг = %1-%2 = %3 кВАч.\r"), {Project, fld::Ws_g}, {Variant, fld::Ws_g}, {Variant, fld::DWs_g}},
        {QStringLiteral("d$Wркг = %1 - %2 = %3 грн.\r"), {Project, fld::PayWa_g}, {Variant, fld::PayWp_g}, {Variant, fld::DPayWp_g}},
        {QStringLiteral("d$Wqкг = %1 - %2 = %3 грн.\r"), {Project, fld::PayWq_g}, {Variant, fld::PayWq_g}, {Variant, fld::DPayWq_g}},
        {QStringLiteral("d$Wsкг = %1 - %2 = %3 грн.\r"), {Project, fld::PayWs_g}, {Variant, fld::PayWs_g}, {Variant, fld::DPayWs_g}},
        {QStringLiteral("Срок = %1 / %2 = %3 год (года, лет).\r\r"), {Variant, fld::Cena}, {Variant, fld::DPayWs_g}, {Variant, fld::Srok}},
    });
}

} // namespace korvan
// clang-format on
