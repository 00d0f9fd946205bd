// The block "Экономическая эффективность" of the reports: its worked calculation and its flag.
#include "ReportFixture.h"
#include "SavedReport.h"

#include "core/calc/Economics.h"
#include "core/data/Store.h"
#include "core/project/EconomicsCommands.h"
#include "core/reports/EconomicsReport.h"
#include "core/reports/WordApplication.h"

#include <QRegularExpression>
#include <QtTest>
#include <cmath>

using namespace korvan;
using namespace korvan::test;

class TestEconomicsReport : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

    SavedReport run(TDataModule1 &data, bool allVariants)
    {
        WordApplication word;
        return SavedReport(exportReport(data, word, m_out.path(), allVariants));
    }

private slots:
    // C = 93400 * 1,05 = 98070; A = 133400 - 934 = 132466; AF = (1 - 1,1^-15) / 0,1 = 7,60607951
    // (eight decimals: with six, 132466 * AF could be off by more than a kopeck);
    // x = 1 - 98070 * 0,1 / 132466 = 0,92597, Tд = 0,07692 / 0,09531 = 0,81.
    void workedCalculation()
    {
        const EconomicParams p{10, 15, 1, 5};
        const QStringList lines = economicsCalculationLines(93400, 133400, p, economicFigures(93400.0, 133400.0, p));
        QCOMPARE(
            lines,
            (QStringList{
                "Ставка дисконтирования r = 10 % = 0,1; срок службы N = 15 лет; ежегодное обслуживание - 1 % цены; "
                "монтаж и наладка - 5 % цены.",
                "Капитальные вложения: C = Цена * (1 + Монтаж / 100) = 93400 * (1 + 5 / 100) = 98070 грн.",
                "Годовая чистая экономия: A = d$Wsкг - Цена * Обслуживание / 100 = 133400 - 93400 * 1 / 100 = 132466 "
                "грн.",
                "Коэффициент аннуитета: AF = (1 - (1 + r)^{-N}) / r = (1 - (1 + 0,1)^{-15}) / 0,1 = 7,60607951.",
                "Чистый дисконтированный доход: ЧДД = -C + A * AF = -98070 + 132466 * 7,60607951 = 909476,93 грн.",
                "Дисконтированный срок окупаемости: Tд = -ln(1 - C * r / A) / ln(1 + r) = -ln(1 - 98070 * 0,1 / "
                "132466) / "
                "ln(1 + 0,1) = 0,81 года.",
                "Внутренняя норма доходности - ставка i, при которой -C + A * (1 - (1 + i)^{-N}) / i = 0, найдена с "
                "точностью 10^{-9}: ВНД = 135,07 %."}));
    }

    // The NPV line multiplies what it prints and gets what it prints, to the kopeck, whatever the
    // size of the saving and however many decimals the price times a percentage has.
    void npvLineRecomputes_data()
    {
        QTest::addColumn<double>("cena");
        QTest::addColumn<double>("saving");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("factorDecimals");
        QTest::newRow("small saving: six decimals") << 1000.0 << 2500.0 << 10.0 << 6;
        QTest::newRow("price with a fractional upkeep") << 12345.67 << 3999.99 << 12.5 << 6;
        QTest::newRow("yearly saving in hundreds of thousands") << 15356.0 << 121573.6 << 10.0 << 8;
        QTest::newRow("savings in billions") << 9.99e7 << 3.52165591005859e9 << 7.3 << 12;
        QTest::newRow("rate with many decimals") << 5000.0 << 7777.77 << 13.333 << 7;
    }
    void npvLineRecomputes()
    {
        QFETCH(double, cena);
        QFETCH(double, saving);
        QFETCH(double, rate);
        QFETCH(int, factorDecimals);
        const EconomicParams p{rate, 15, 1.5, 5};
        const EconomicFigures f = economicFigures(cena, saving, p);
        const QStringList lines = economicsCalculationLines(cena, saving, p, f);
        const QString line = lines.filter("ЧДД = -C + A * AF").value(0);
        const QRegularExpression re(QStringLiteral("= -([\\d,]+) \\+ ([\\d,-]+) \\* ([\\d,]+) = ([\\d,-]+) грн\\.$"));
        const QRegularExpressionMatch m = re.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        const auto number = [&m](int i) { return m.captured(i).replace(u',', u'.').toDouble(); };
        QCOMPARE(m.captured(3).section(u',', 1).size(), factorDecimals);
        QVERIFY(!line.contains(u'E'));
        const double recomputed = -number(1) + number(2) * number(3);
        QVERIFY2(std::fabs(recomputed - number(4)) <= 0.01, qPrintable(line));
        QCOMPARE(number(4), *f.NPV);
    }

    void undefinedFiguresAreExplained_data()
    {
        QTest::addColumn<double>("cena");
        QTest::addColumn<double>("saving");
        QTest::addColumn<QString>("last");
        QTest::newRow("negative saving")
            << 1000.0 << -50.0
            << "A не больше 0: вложения не окупаются, дисконтированный срок окупаемости и ВНД не определены.";
        QTest::newRow("price 0")
            << 0.0 << 300.0
            << "Цена установки не больше 0: ЧДД, дисконтированный срок окупаемости и ВНД не определены.";
        QTest::newRow("IRR beyond the interval")
            << 1000.0 << 5.0
            << "Внутренняя норма доходности: ставка i, при которой -C + A * (1 - (1 + i)^{-N}) / i = 0, "
               "не лежит в пределах от -99 % до 10 000 %; ВНД не определена.";
    }
    void undefinedFiguresAreExplained()
    {
        QFETCH(double, cena);
        QFETCH(double, saving);
        QFETCH(QString, last);
        const EconomicParams p{10, 1, 0, 0};
        QCOMPARE(economicsCalculationLines(cena, saving, p, economicFigures(cena, saving, p)).last(), last);
    }

    // The delivered full report has the block after the yearly characteristics, one part a variant.
    void fullReportHasTheBlock()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        const SavedReport all = run(*t.data, true);
        QVERIFY(all.ok);
        const int yearly = all.find("Годовые характеристики электроустановки (с компенсацией");
        const int block = all.find("Экономическая эффективность.");
        QVERIFY(yearly >= 0);
        QVERIFY(block > yearly);
        for (const char *v : {"Вариант 1 (КУ-75).", "Вариант 2 (КУ-60).", "Вариант 3 (КУ-100)."})
            QVERIFY2(all.find(QString::fromUtf8(v), block) > block, v);
        QVERIFY(all.find("Чистый дисконтированный доход: ЧДД = ", block) > block);

        const SavedReport one = run(*t.data, false);
        const int oneBlock = one.find("Экономическая эффективность.");
        QVERIFY(oneBlock >= 0);
        QCOMPARE(one.find("Вариант 2 (КУ-60).", oneBlock), -1);
        QVERIFY(one.find("Капитальные вложения: C = ", oneBlock) > oneBlock);

        setEconomicsReportFlag(*t.store, t.data->TableReport->currentKod(), false);
        QCOMPARE(run(*t.data, true).find("Экономическая эффективность."), -1);
    }
};

QTEST_GUILESS_MAIN(TestEconomicsReport)
#include "test_economics_report.moc"
