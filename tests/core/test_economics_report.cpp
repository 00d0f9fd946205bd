// The block "Экономическая эффективность" of the reports: its worked calculation and its flag.
#include "ReportFixture.h"
#include "SavedReport.h"

#include "core/calc/Economics.h"
#include "core/data/Store.h"
#include "core/project/EconomicsCommands.h"
#include "core/reports/EconomicsReport.h"
#include "core/reports/WordApplication.h"

#include <QtTest>

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
    // C = 93400 * 1,05 = 98070; A = 133400 - 934 = 132466; AF = (1 - 1,1^-15) / 0,1 = 7,606;
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
                "Коэффициент аннуитета: AF = (1 - (1 + r)^{-N}) / r = (1 - (1 + 0,1)^{-15}) / 0,1 = 7,606.",
                "Чистый дисконтированный доход: ЧДД = -C + A * AF = -98070 + 132466 * 7,606 = 909476,93 грн.",
                "Дисконтированный срок окупаемости: Tд = -ln(1 - C * r / A) / ln(1 + r) = -ln(1 - 98070 * 0,1 / "
                "132466) / "
                "ln(1 + 0,1) = 0,81 лет.",
                "Внутренняя норма доходности - ставка i, при которой -C + A * (1 - (1 + i)^{-N}) / i = 0, найдена с "
                "точностью 10^{-9}: ВНД = 135,07 %."}));
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
