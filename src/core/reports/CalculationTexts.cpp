#include "reports/CalculationTexts.h"

#include "calc/Compensation.h"
#include "calc/Numbers.h"
#include "data/Records.h"
#include "data/TDataModule1.h"
#include "reports/FormulaTexts.h"
#include "reports/ReportContext.h"
#include "reports/VariantWalk.h"
#include "reports/WordLayer.h"

namespace korvan {

namespace {

const QString Heading = QStringLiteral("Расчеты.\r\r");

// One line of the monthly and yearly blocks: the pattern takes the first value, the second and
// the result, each a field of the project or of the variant.
enum Source { Project, Variant };
struct Value {
    Source source;
    const char *field;
};
struct Line {
    QString pattern;
    Value first, second, result;
};

QString text(const TTable &table, const char *field)
{
    return table.asString(QString::fromLatin1(field));
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

void writeEveryVariant(ReportContext &report, const QList<Line> &lines)
{
    WriteBlockHeading(report, Heading);
    TTable &variants = *report.data.tblProj2;
    const VariantWalk walk(variants);
    for (variants.first(); !variants.eof(); variants.next()) {
        write(report, QStringLiteral("Вариант %1.\r").arg(text(variants, "VarNum")));
        writeLines(report, lines);
    }
}

} // namespace

void WritePeriodCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &p = *report.data.tblProj1;
    const QString tarifA = text(*report.data.tblProj0, "Tarif_a");
    const QString tarifQ = text(*report.data.tblProj0, "Tarif_q");
    for (p.first(); !p.eof(); p.next()) {
        const auto v = [&p](const char *field) { return text(p, field); };
        write(report, QStringLiteral("Период замера: %1 - %2 час.\r").arg(v("T1"), v("T2")));
        write(report, QStringLiteral("S = (%1^{2} + %2^{2})^{1/2} = %3 кВА.\r").arg(v("P"), v("Q"), v("S")));
        write(report, QStringLiteral("I = %1 / (3^{1/2} * 0,38) = %2 А.\r").arg(v("S"), v("I")));
        write(report, QStringLiteral("cos(f) = %1 / %2 = %3.\r").arg(v("P"), v("S"), v("Cosf")));
        write(report, QStringLiteral("tg(f) = %1 / %2 = %3.\r").arg(v("Q"), v("P"), v("Tgf")));
        write(report, QStringLiteral("Wp = %1*(%2-%3) = %4 кВтч.\r").arg(v("P"), v("T2"), v("T1"), v("Wa")));
        write(report, QStringLiteral("Wq = %1*(%2-%3) = %4 кВАрч.\r").arg(v("Q"), v("T2"), v("T1"), v("Wq")));
        write(report, QStringLiteral("Ws = (%1^{2}+%2^{2})^{1/2} = %3 кВАч.\r").arg(v("Wa"), v("Wq"), v("Ws")));
        write(report, QStringLiteral("$Wp = %1 * %2 = %3 грн.\r").arg(v("Wa"), tarifA, v("$Wa")));
        write(report, QStringLiteral("$Wq = %1 * %2 = %3 грн.\r").arg(v("Wq"), tarifQ, v("$Wq")));
        write(report, QStringLiteral("$Ws = %1 + %2 = %3 грн.\r\r").arg(v("$Wa"), v("$Wq"), v("$Ws")));
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
        const double t1 = periods.asFloat(QStringLiteral("T1"));
        const double t2 = periods.asFloat(QStringLiteral("T2"));
        if (firstT1 == -1 || t1 < firstT1)
            firstT1 = t1;
        if (t2 > lastT2)
            lastT2 = t2;
    }
    const QString T = numberText(lastT2 - firstT1);
    const QStringList l = joinedValues(periods, {"Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"});
    const TTable &p = *report.data.tblProj0;
    const auto v = [&p](const char *field) { return text(p, field); };
    write(report, QStringLiteral("Wp = %1 = %2 кВтч.\r").arg(l[0], v("Wa")));
    write(report, QStringLiteral("Wq = %1 = %2 кВАрч.\r").arg(l[1], v("Wq")));
    write(report, QStringLiteral("Ws = %1 = %2 кВАч.\r").arg(l[2], v("Ws")));
    write(report, QStringLiteral("cos(f) = %1 / %2 = %3.\r").arg(v("Wa"), v("Ws"), v("Cosfe")));
    write(report, QStringLiteral("tg(f) = %1 / %2 = %3.\r").arg(v("Wq"), v("Wa"), v("Tgfe")));
    write(report, QStringLiteral("Рср = %1 / %2 = %3 кВт.\r").arg(v("Wa"), T, v("Psr")));
    write(report, QStringLiteral("Qср = %1 / %2 = %3 кВАр.\r").arg(v("Wq"), T, v("Qsr")));
    write(report, QStringLiteral("Sср = %1 / %2 = %3 кВА.\r").arg(v("Ws"), T, v("Ssr")));
    write(report, QStringLiteral("$Wр = %1 = %2 грн.\r").arg(l[3], v("$Wa")));
    write(report, QStringLiteral("$Wq = %1 = %2 грн.\r").arg(l[4], v("$Wq")));
    write(report, QStringLiteral("$Ws = %1 = %2 грн.\r\r").arg(l[5], v("$Ws")));
}

void WriteMonthlyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    writeLines(report, {
        {QStringLiteral("Wрм = %1 * %2 = %3 кВтч.\r"), {Project, "Wa"}, {Project, "MonthDay"}, {Project, "Wa_m"}},
        {QStringLiteral("Wqм = %1 * %2 = %3 кВАрч.\r"), {Project, "Wq"}, {Project, "MonthDay"}, {Project, "Wq_m"}},
        {QStringLiteral("Wsм = %1 * %2 = %3 кВАч.\r"), {Project, "Ws"}, {Project, "MonthDay"}, {Project, "Ws_m"}},
        {QStringLiteral("$Wpм = %1 * %2 = %3 грн.\r"), {Project, "$Wa"}, {Project, "MonthDay"}, {Project, "$Wa_m"}},
        {QStringLiteral("$Wqм = %1 * %2 = %3 грн.\r"), {Project, "$Wq"}, {Project, "MonthDay"}, {Project, "$Wq_m"}},
        {QStringLiteral("$Wsм = %1 * %2 = %3 грн.\r\r"), {Project, "$Ws"}, {Project, "MonthDay"}, {Project, "$Ws_m"}},
    });
}

void WriteYearlyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    // Its last line ends with a single break: no empty paragraph follows this block.
    writeLines(report, {
        {QStringLiteral("Wрг = %1 * %2 = %3 кВтч.\r"), {Project, "Wa"}, {Project, "YearDay"}, {Project, "Wa_g"}},
        {QStringLiteral("Wqг = %1 * %2 = %3 кВАрч.\r"), {Project, "Wq"}, {Project, "YearDay"}, {Project, "Wq_g"}},
        {QStringLiteral("Wsг = %1 * %2 = %3 кВАч.\r"), {Project, "Ws"}, {Project, "YearDay"}, {Project, "Ws_g"}},
        {QStringLiteral("$Wpг = %1 * %2 = %3 грн.\r"), {Project, "$Wa"}, {Project, "YearDay"}, {Project, "$Wa_g"}},
        {QStringLiteral("$Wqг = %1 * %2 = %3 грн.\r"), {Project, "$Wq"}, {Project, "YearDay"}, {Project, "$Wq_g"}},
        {QStringLiteral("$Wsг = %1 * %2 = %3 грн.\r"), {Project, "$Ws"}, {Project, "YearDay"}, {Project, "$Ws_g"}},
    });
}

void WriteCompensatedPeriodCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &p = *report.data.tblProj3;
    const TTable &variant = *report.data.tblProj2;
    const QString Pp = text(variant, "Pp");
    const QString Kp = text(variant, "Kp");
    const QString tarifA = text(*report.data.tblProj0, "Tarif_a");
    const QString tarifQ = text(*report.data.tblProj0, "Tarif_q");
    for (p.first(); !p.eof(); p.next()) {
        const auto v = [&p](const char *field) { return text(p, field); };
        // The period without compensation, worked out again as the Wak formula takes it.
        const CompensatedInput in{loadPeriodAt(p)};
        const CompensatedValues uncompensated = computeCompensatedPeriod(in, {}, {});
        const QString A = numberText(uncompensated.Wa0);
        const QString I0 = numberText(uncompensated.I0);
        write(report, QStringLiteral("Период замера: %1 - %2 час.\r").arg(v("T1"), v("T2")));
        write(report, QStringLiteral("Qк = %1 - %2 = %3 кВАр.\r").arg(v("Q"), v("Qku"), v("Q1")));
        write(report, QStringLiteral("Sк = (%1^{2} + %2^{2})^{1/2} = %3 кВА.\r").arg(v("P"), v("Q1"), v("S")));
        write(report, QStringLiteral("Iк = %1 / (3^{1/2} * 0,38) = %2 А.\r").arg(v("S"), v("I")));
        write(report, QStringLiteral("cos(fк) = %1 / %2 = %3.\r").arg(v("P"), v("S"), v("Cosf")));
        write(report, QStringLiteral("tg(fк) = %1 / %2 = %3.\r").arg(v("Q1"), v("P"), v("Tgf")));
        write(report, QStringLiteral("Wpп = %1*%2 = %3 кВтч.\r").arg(Pp, v("Qku"), v("Wakp")));
        write(report, QStringLiteral("Wpк = %1 - %2 * %3 * (%4^{2}-%5^{2}) / (%6^{2}) + %7 = %8 кВтч.\r")
                          .arg(A, A, Kp, I0, v("I"), I0, v("Wakp"), v("Wak")));
        write(report, QStringLiteral("Wqк = %1*(%2-%3) = %4 кВАрч.\r").arg(v("Q1"), v("T2"), v("T1"), v("Wqk")));
        write(report, QStringLiteral("Wsк = (%1^{2}+%2^{2})^{1/2} = %3 кВАч.\r").arg(v("Wak"), v("Wqk"), v("Wsk")));
        write(report, QStringLiteral("$Wp = %1 * %2 = %3 грн.\r").arg(v("Wak"), tarifA, v("$Wak")));
        write(report, QStringLiteral("$Wq = %1 * %2 = %3 грн.\r").arg(v("Wqk"), tarifQ, v("$Wqk")));
        write(report, QStringLiteral("$Ws = %1 + %2 = %3 грн.\r\r").arg(v("$Wak"), v("$Wqk"), v("$Wsk")));
    }
}

void WriteCompensatedDailyCalculations(ReportContext &report)
{
    WriteBlockHeading(report, Heading);
    TTable &variants = *report.data.tblProj2;
    const TTable &project = *report.data.tblProj0;
    const VariantWalk walk(variants);
    for (variants.first(); !variants.eof(); variants.next()) {
        const QStringList l = joinedValues(*report.data.tblProj3, {"Wak", "Wqk", "Wsk", "$Wak", "$Wqk", "$Wsk"});
        const auto v = [&variants](const char *field) { return text(variants, field); };
        const auto p = [&project](const char *field) { return text(project, field); };
        write(report, QStringLiteral("Вариант %1.\r").arg(v("VarNum")));
        write(report, QStringLiteral("Wpк = %1 = %2 кВтч.\r").arg(l[0], v("Wak")));
        write(report, QStringLiteral("Wqк = %1 = %2 кВАрч.\r").arg(l[1], v("Wqk")));
        write(report, QStringLiteral("Wsк = %1 = %2 кВАч.\r").arg(l[2], v("Wsk")));
        write(report, QStringLiteral("cos(fк) = %1 / %2 = %3.\r").arg(v("Wak"), v("Wsk"), v("Cosf_i")));
        write(report, QStringLiteral("tg(fк) = %1 / %2 = %3.\r").arg(v("Wqk"), v("Wak"), v("Tgf_i")));
        write(report, QStringLiteral("$Wрк = %1 = %2 грн.\r").arg(l[3], v("$Wak")));
        write(report, QStringLiteral("$Wqк = %1 = %2 грн.\r").arg(l[4], v("$Wqk")));
        write(report, QStringLiteral("$Wsк = %1 = %2 грн.\r").arg(l[5], v("$Wsk")));
        write(report, QStringLiteral("dWpк = %1-%2 = %3 кВтч.\r").arg(p("Wa"), v("Wak"), v("DWak")));
        write(report, QStringLiteral("dWqк = %1-%2 = %3 кВАрч.\r").arg(p("Wq"), v("Wqk"), v("DWqk")));
        write(report, QStringLiteral("dWsк = %1-%2 = %3 кВАч.\r").arg(p("Ws"), v("Wsk"), v("DWsk")));
        write(report, QStringLiteral("d$Wpк = %1-%2 = %3 грн.\r").arg(p("$Wa"), v("$Wak"), v("D$Wak")));
        write(report, QStringLiteral("d$Wqк = %1-%2 = %3 грн.\r").arg(p("$Wq"), v("$Wqk"), v("D$Wqk")));
        write(report, QStringLiteral("d$Wsк = %1-%2 = %3 грн.\r\r").arg(p("$Ws"), v("$Wsk"), v("D$Wsk")));
    }
}

void WriteCompensatedMonthlyCalculations(ReportContext &report)
{
    writeEveryVariant(report, {
        {QStringLiteral("Wркм = %1 * %2 = %3 кВтч.\r"), {Variant, "Wak"}, {Project, "MonthDay"}, {Variant, "Wp_m"}},
        {QStringLiteral("Wqкм = %1 * %2 = %3 кВАрч.\r"), {Variant, "Wqk"}, {Project, "MonthDay"}, {Variant, "Wq_m"}},
        {QStringLiteral("Wsкм = %1 * %2 = %3 кВАч.\r"), {Variant, "Wsk"}, {Project, "MonthDay"}, {Variant, "Ws_m"}},
        {QStringLiteral("$Wpкм = %1 * %2 = %3 грн.\r"), {Variant, "$Wak"}, {Project, "MonthDay"}, {Variant, "$Wp_m"}},
        {QStringLiteral("$Wqкм = %1 * %2 = %3 грн.\r"), {Variant, "$Wqk"}, {Project, "MonthDay"}, {Variant, "$Wq_m"}},
        {QStringLiteral("$Wsкм = %1 * %2 = %3 грн.\r"), {Variant, "$Wsk"}, {Project, "MonthDay"}, {Variant, "$Ws_m"}},
        {QStringLiteral("dWpкм = %1-%2 = %3 кВтч.\r"), {Project, "Wa_m"}, {Variant, "Wp_m"}, {Variant, "DWp_m"}},
        {QStringLiteral("dWqкм = %1-%2 = %3 кВАрч.\r"), {Project, "Wq_m"}, {Variant, "Wq_m"}, {Variant, "DWq_m"}},
        {QStringLiteral("dWsкм = %1-%2 = %3 кВАч.\r"), {Project, "Ws_m"}, {Variant, "Ws_m"}, {Variant, "DWs_m"}},
        {QStringLiteral("d$Wркм = %1 - %2 = %3 грн.\r"), {Project, "$Wa_m"}, {Variant, "$Wp_m"}, {Variant, "D$Wp_m"}},
        {QStringLiteral("d$Wqкм = %1 - %2 = %3 грн.\r"), {Project, "$Wq_m"}, {Variant, "$Wq_m"}, {Variant, "D$Wq_m"}},
        {QStringLiteral("d$Wsкм = %1 - %2 = %3 грн.\r\r"), {Project, "$Ws_m"}, {Variant, "$Ws_m"}, {Variant, "D$Ws_m"}},
    });
}

void WriteCompensatedYearlyCalculations(ReportContext &report)
{
    writeEveryVariant(report, {
        {QStringLiteral("Wркг = %1 * %2 = %3 кВтч.\r"), {Variant, "Wak"}, {Project, "YearDay"}, {Variant, "Wp_g"}},
        {QStringLiteral("Wqкг = %1 * %2 = %3 кВАрч.\r"), {Variant, "Wqk"}, {Project, "YearDay"}, {Variant, "Wq_g"}},
        {QStringLiteral("Wsкг = %1 * %2 = %3 кВАч.\r"), {Variant, "Wsk"}, {Project, "YearDay"}, {Variant, "Ws_g"}},
        {QStringLiteral("$Wpкг = %1 * %2 = %3 грн.\r"), {Variant, "$Wak"}, {Project, "YearDay"}, {Variant, "$Wp_g"}},
        {QStringLiteral("$Wqкг = %1 * %2 = %3 грн.\r"), {Variant, "$Wqk"}, {Project, "YearDay"}, {Variant, "$Wq_g"}},
        {QStringLiteral("$Wsкг = %1 * %2 = %3 грн.\r"), {Variant, "$Wsk"}, {Project, "YearDay"}, {Variant, "$Ws_g"}},
        {QStringLiteral("dWpкг = %1-%2 = %3 кВтч.\r"), {Project, "Wa_g"}, {Variant, "Wp_g"}, {Variant, "DWp_g"}},
        {QStringLiteral("dWqкг = %1-%2 = %3 кВАрч.\r"), {Project, "Wq_g"}, {Variant, "Wq_g"}, {Variant, "DWq_g"}},
        {QStringLiteral("dWsкг = %1-%2 = %3 кВАч.\r"), {Project, "Ws_g"}, {Variant, "Ws_g"}, {Variant, "DWs_g"}},
        {QStringLiteral("d$Wркг = %1 - %2 = %3 грн.\r"), {Project, "$Wa_g"}, {Variant, "$Wp_g"}, {Variant, "D$Wp_g"}},
        {QStringLiteral("d$Wqкг = %1 - %2 = %3 грн.\r"), {Project, "$Wq_g"}, {Variant, "$Wq_g"}, {Variant, "D$Wq_g"}},
        {QStringLiteral("d$Wsкг = %1 - %2 = %3 грн.\r"), {Project, "$Ws_g"}, {Variant, "$Ws_g"}, {Variant, "D$Ws_g"}},
        {QStringLiteral("Срок = %1 / %2 = %3 год (года, лет).\r\r"), {Variant, "Cena"}, {Variant, "D$Ws_g"}, {Variant, "Srok"}},
    });
}

} // namespace korvan
