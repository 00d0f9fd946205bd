#include "core/reports/EconomicsReport.h"
#include "core/data/Fields.h"

#include "core/calc/Economics.h"
#include <cmath>
#include "core/calc/Numbers.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"
#include "core/reports/FormulaTexts.h"
#include "core/reports/ReportContext.h"
#include "core/reports/VariantWalk.h"
#include "core/reports/WordLayer.h"

namespace korvan {

namespace {

QString n(double x) { return numberText(x); }
// Money and years as the grids show them.
QString n2(double x) { return numberText(R(x, 2)); }

// C and A as computed (a price times a percentage may have more than two decimals): the lines
// that use them must recompute by hand from what they print.
QString exact(double x) { return numberText(R(x, 6)); }

QString years(double x)
{
    return russianPlural(x, QStringLiteral("год"), QStringLiteral("года"), QStringLiteral("лет"));
}

// The annuity factor's decimals: six, or more when the yearly saving is so large that a factor
// rounded to six would not give the NPV to the kopeck.
int factorDecimals(double A)
{
    int decimals = 6;
    while (decimals < 15 && std::fabs(A) * 0.5 * std::pow(10.0, -decimals) > 0.002)
        ++decimals;
    return decimals;
}

} // namespace

bool economicsReportFlag(Store &store, qint64 reportKod)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Econ\" FROM \"econrep.db\" WHERE \"Kod\"=?"));
    q.bind(0, reportKod);
    const bool on = q.next() && q.column(0).toInt() != 0;
    q.reset();
    return on;
}

void setEconomicsReportFlag(Store &store, qint64 reportKod, bool on)
{
    Statement &q = store.prepared(QStringLiteral("INSERT INTO \"econrep.db\" (\"Kod\", \"Econ\") VALUES (?, ?) "
                                                 "ON CONFLICT (\"Kod\") DO UPDATE SET \"Econ\"=excluded.\"Econ\""));
    q.bind(0, reportKod);
    q.bind(1, on ? 1 : 0);
    q.run();
}

QStringList economicsCalculationLines(double Cena, double saving, const EconomicParams &p, const EconomicFigures &f)
{
    QStringList out;
    const double r = p.Rate / 100;
    const QString N = QString::number(p.Life);
    out << QStringLiteral("Ставка дисконтирования r = %1 % = %2; срок службы N = %3 %4; ежегодное обслуживание - "
                          "%5 % цены; монтаж и наладка - %6 % цены.")
               .arg(n(p.Rate), n(r), N, years(p.Life), n(p.Maint), n(p.Mont));
    if (!f.C || !f.A || !f.AF) {
        out << QStringLiteral("Цена установки или годовая экономия не заданы: показатели не определены.");
        return out;
    }
    out << QStringLiteral("Капитальные вложения: C = Цена * (1 + Монтаж / 100) = %1 * (1 + %2 / 100) = %3 грн.")
               .arg(n(Cena), n(p.Mont), exact(*f.C));
    out << QStringLiteral(
               "Годовая чистая экономия: A = d$Wsкг - Цена * Обслуживание / 100 = %1 - %2 * %3 / 100 = %4 грн.")
               .arg(n(saving), n(Cena), n(p.Maint), exact(*f.A));
    // The NPV line multiplies the numbers it prints: C and A as computed, the factor to enough
    // decimals, so that it recomputes by hand to the kopeck.
    const QString AF = r == 0 ? N : fixedText(*f.AF, factorDecimals(*f.A));
    if (r == 0)
        out << QStringLiteral("Коэффициент аннуитета при r = 0: AF = N = %1.").arg(N);
    else
        out << QStringLiteral("Коэффициент аннуитета: AF = (1 - (1 + r)^{-N}) / r = (1 - (1 + %1)^{-%2}) / %1 = %3.")
                   .arg(n(r), N, AF);
    if (!(Cena > 0)) {
        out << QStringLiteral(
            "Цена установки не больше 0: ЧДД, дисконтированный срок окупаемости и ВНД не определены.");
        return out;
    }
    out << QStringLiteral("Чистый дисконтированный доход: ЧДД = -C + A * AF = -%1 + %2 * %3 = %4 грн.")
               .arg(exact(*f.C), exact(*f.A), AF, n2(*f.NPV));
    if (!(*f.A > 0)) {
        out << QStringLiteral(
            "A не больше 0: вложения не окупаются, дисконтированный срок окупаемости и ВНД не определены.");
        return out;
    }
    if (r == 0) {
        out << QStringLiteral("Дисконтированный срок окупаемости при r = 0: Tд = C / A = %1 / %2 = %3 %4.")
                   .arg(exact(*f.C), exact(*f.A), n2(*f.DPP), years(R(*f.DPP, 2)));
    } else {
        const double x = 1 - *f.C * r / *f.A;
        QString line = QStringLiteral("Дисконтированный срок окупаемости: Tд = -ln(1 - C * r / A) / ln(1 + r) = "
                                      "-ln(1 - %1 * %2 / %3) / ln(1 + %2)")
                           .arg(exact(*f.C), n(r), exact(*f.A));
        if (f.DPP)
            line += QStringLiteral(" = %1 %2.").arg(n2(*f.DPP), years(R(*f.DPP, 2)));
        else
            line += QStringLiteral(": 1 - C * r / A = %1 не больше 0, дисконтированные доходы не возмещают вложений, "
                                   "срок не определен.")
                        .arg(n(R(x, 3)));
        out << line;
        if (f.DPP && *f.DPP > p.Life)
            out << QStringLiteral("Дисконтированный срок окупаемости больше срока службы установки.");
    }
    if (f.IRR)
        out << QStringLiteral(
                   "Внутренняя норма доходности - ставка i, при которой -C + A * (1 - (1 + i)^{-N}) / i = 0, "
                   "найдена с точностью 10^{-9}: ВНД = %1 %.")
                   .arg(n2(*f.IRR));
    else
        out << QStringLiteral("Внутренняя норма доходности: ставка i, при которой -C + A * (1 - (1 + i)^{-N}) / i = 0, "
                              "не лежит в пределах от -99 % до 10 000 %; ВНД не определена.");
    return out;
}

void WriteEconomicsBlock(ReportContext &report, bool allVariants)
{
    TDataModule1 &d = report.data;
    const EconomicParams params = currentEconomics(d);
    WriteBlockHeading(report, QStringLiteral("Экономическая эффективность.\r\r"), 1);
    TTable &variants = *d.tblProj2;
    const auto writeCurrent = [&] {
        const EconomicFigures f = currentVariantEconomics(d);
        if (allVariants)
            WriteWordLeadLine(report.word, QStringLiteral("Вариант %1 (%2).\r")
                                               .arg(variants.asString(fld::VarNum), variants.asString(fld::TipKU)));
        QString text;
        text += economicsCalculationLines(variants.asFloat(fld::Cena), variants.asFloat(fld::DPayWs_g), params, f)
                    .join(QLatin1Char('\r'));
        WriteWordFormula(report.word, text + QStringLiteral("\r\r"));
    };
    if (!allVariants) {
        writeCurrent();
        return;
    }
    const VariantWalk walk(variants);
    for (variants.first(); !variants.eof(); variants.next())
        writeCurrent();
}

} // namespace korvan
