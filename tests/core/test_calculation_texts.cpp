// The formula and worked calculation blocks of the reports, with the project's own numbers.
#include "core/compensation/VariantCommands.h"
#include "core/graphs/GraphCommands.h"
#include "core/reports/WordApplication.h"
#include "ProjectFixture.h"
#include "ReportFixture.h"
#include "SavedReport.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

class TestCalculationTexts : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

    SavedReport run(TDataModule1 &data, const QList<ReportFlag> &flags, bool allVariants = true)
    {
        setReportFlags(data, flags);
        WordApplication word;
        return SavedReport(exportReport(data, word, m_out.path(), allVariants));
    }

    static QString line(const SavedReport &doc, const QString &prefix, int from = 0)
    {
        const int at = doc.find(prefix, from);
        return at < 0 ? QStringLiteral("(нет строки «%1»)").arg(prefix) : doc.body[at].text;
    }

private slots:
    void dailyCalculation_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("periods");
        QTest::addColumn<QString>("wp");
        QTest::addColumn<QString>("T");
        QTest::newRow("8-12 and 13-17: T = 9") << QList<LoadPeriod>{{8, 12, 100, 50}, {13, 17, 80, 40}} << "400 + 320"
                                               << "9";
        QTest::newRow("one period 0-24: no plus") << QList<LoadPeriod>{{0, 24, 10, 5}} << "240"
                                                  << "24";
        QTest::newRow("10,5 and 20") << QList<LoadPeriod>{{0, 1, 10.5, 0}, {1, 2, 20, 0}} << "10,5 + 20"
                                     << "2";
    }

    void dailyCalculation()
    {
        QFETCH(QList<LoadPeriod>, periods);
        QFETCH(QString, wp);
        QFETCH(QString, T);
        TestData t;
        createExampleProject(*t.data);
        replaceProjectGraph(*t.data, periods);
        const SavedReport doc = run(*t.data, {F::SutHar, F::SutScore});
        const TTable &p = *t.data->tblProj0;
        QCOMPARE(line(doc, "Wp = "), "Wp = " + wp + " = " + p.asString("Wa") + " кВтч.");
        QCOMPARE(line(doc, "Рср = "), "Рср = " + p.asString("Wa") + " / " + T + " = " + p.asString("Psr") + " кВт.");
        QCOMPARE(line(doc, "Sср = "), "Sср = " + p.asString("Ws") + " / " + T + " = " + p.asString("Ssr") + " кВА.");
        QCOMPARE(line(doc, "cos(f) = "),
                 "cos(f) = " + p.asString("Wa") + " / " + p.asString("Ws") + " = " + p.asString("Cosfe") + ".");
        QCOMPARE(line(doc, "$Ws = ").count(QStringLiteral(" + ")), periods.size() - 1);
        // The block ends with an empty paragraph.
        QCOMPARE(doc.body[doc.find("$Ws = ") + 1].text, QString());
    }

    void dailyCalculationWithoutPeriods()
    {
        TestData t;
        createExampleProject(*t.data);
        replaceProjectGraph(*t.data, {});
        const SavedReport doc = run(*t.data, {F::SutHar, F::SutScore, F::SutGr, F::SutGrScore});
        // The period block writes only its heading; the daily block all its lines, T = 1.
        QCOMPARE(doc.find("Период замера: "), -1);
        QCOMPARE(doc.paragraphTexts().count(QStringLiteral("Расчеты.")), 2);
        QVERIFY(line(doc, "Рср = ").contains(QStringLiteral(" / 1 = ")));
        QVERIFY(line(doc, "Wp = ").startsWith(QStringLiteral("Wp =  = ")));
        QVERIFY(doc.find("$Ws = ") >= 0);
    }

    void periodCalculationWithExponents()
    {
        TestData t;
        createExampleProject(*t.data);
        const SavedReport doc = run(*t.data, {F::SutGr, F::SutGrScore, F::SutGrFormula});
        TTable &p = *t.data->tblProj1;
        p.first();
        const int at = doc.find("S = (", doc.find("Расчеты."));
        QCOMPARE(doc.body[at].text, "S = (100 2 + 80 2) 1/2 = " + p.asString("S") + " кВА.");
        // Every exponent is a raised blank and the raised exponent, in the running text's font.
        QStringList raised;
        for (const SavedReport::Run &r : doc.body[at].runs) {
            QCOMPARE(r.font, QStringLiteral("Times New Roman Cyr"));
            QCOMPARE(r.halfPoints, 24);
            if (r.superscript)
                raised << r.text;
        }
        QCOMPARE(raised, (QStringList{" 2", " 2", " 1/2"}));
        QCOMPARE(line(doc, "Период замера: "), QStringLiteral("Период замера: 0 - 8 час."));
        QCOMPARE(line(doc, "$Wp = ", at), "$Wp = " + p.asString("Wa") + " * 0,715 = " + p.asString("$Wa") + " грн.");
        QCOMPARE(line(doc, "Период замера: ", at), QStringLiteral("Период замера: 8 - 24 час."));
        // The formula block before it.
        const int formulas = doc.find("Расчетные формулы.");
        QVERIFY(formulas >= 0 && formulas < at);
        QCOMPARE(doc.body[formulas + 2].text, QStringLiteral("Полная мощность электроустановки в период замера:"));
        QCOMPARE(doc.body[formulas + 3].text, QStringLiteral("S = (P 2 + Q 2) 1/2, кВА,"));
        QCOMPARE(line(doc, "I = S / "), QStringLiteral("I = S / (3 1/2 * 0,38), А."));
        QCOMPARE(line(doc, "$Ws = $Wp"), QStringLiteral("$Ws = $Wp + $Wq, грн."));
        QVERIFY(doc.body[formulas].runs.first().bold);
        QVERIFY(!doc.body[formulas + 2].runs.first().bold);
    }

    void compensatedPeriodShowsTheQuantitiesWithoutCompensation()
    {
        TestData t;
        createExampleProject(*t.data);
        replaceProjectGraph(*t.data, {{0, 2, 100, 60}});
        addCatalogueType(*t.data, "Завод", "КУ-50", 50, 0.005, 5000, {{25, 2}});
        t.data->tblProj0->first();
        VariantParams params;
        params.varNum = "1";
        addVariant(*t.data, params);
        const SavedReport doc = run(*t.data, {F::KUHar, F::SutGrKomp, F::SutGrKompScore});
        const TTable &c = *t.data->tblProj3;
        // A = 100 × 2, S0 = 116,62, I0 = 177,19: worked out again, not stored.
        QCOMPARE(line(doc, "Wpк = "), "Wpк = 200 - 200 * 0,12 * (177,19 2-" + c.asString("I") + " 2) / (177,19 2) + " +
                                          c.asString("Wakp") + " = " + c.asString("Wak") + " кВтч.");
        QCOMPARE(line(doc, "Qк = "), "Qк = 60 - 50 = " + c.asString("Q1") + " кВАр.");
        // The losses over the period's two hours: 0,005 × 50 × 2.
        QCOMPARE(line(doc, "Wpп = "), "Wpп = 0,005 × 50 × (2 − 0) = " + c.asString("Wakp") + " кВтч.");
        QCOMPARE(c.asString("Wakp"), QStringLiteral("0,5"));
    }

    // The project report's blocks list every variant and leave the current one current; the
    // report on one variant shows that variant alone.
    void variantBlocksListTheReportedVariants()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        t.data->tblProj2->locate("VarNum", 2);
        const QList<F> flags = {F::SutHarKomp,     F::SutKompScore, F::MonthHarKomp,
                                F::MonthKompScore, F::YearHarKomp,  F::YearKompScore};
        const SavedReport all = run(*t.data, flags, true);
        for (const char *variant : {"Вариант 1.", "Вариант 2.", "Вариант 3."})
            QCOMPARE(all.paragraphTexts().count(QString::fromUtf8(variant)), 3);
        TTable &v = *t.data->tblProj2;
        QCOMPARE(v.asString("VarNum"), QStringLiteral("2"));

        const SavedReport doc = run(*t.data, flags, false);
        QCOMPARE(v.asString("VarNum"), QStringLiteral("2"));
        QCOMPARE(doc.paragraphTexts().count(QStringLiteral("Вариант 2.")), 3);
        QCOMPARE(doc.paragraphTexts().count(QStringLiteral("Вариант 1.")), 0);
        QCOMPARE(doc.paragraphTexts().count(QStringLiteral("Вариант 3.")), 0);
        // The monthly table after the daily calculations still shows variant 2.
        const SavedReport::Block *monthly =
            doc.tableAfter(doc.find("Месячные характеристики электроустановки (с компенсацией реактивной мощности)."));
        QCOMPARE(monthly->rows[0][2], v.asString("Wp_m"));
        QCOMPARE(monthly->rows[11][2], v.asString("D$Ws_m"));

        // Each variant's daily lists hold its own two periods.
        const int second = doc.find("Вариант 2.");
        QCOMPARE(line(doc, "Wpк = ", second).count(QStringLiteral(" + ")), 1);
        QCOMPARE(line(doc, "dWpк = ", second), "dWpк = " + t.data->tblProj0->asString("Wa") + "-" + v.asString("Wak") +
                                                   " = " + v.asString("DWak") + " кВтч.");
        const int yearly = doc.find("Вариант 2.", doc.find("Годовые характеристики электроустановки (с"));
        QCOMPARE(line(doc, "Срок = ", yearly), "Срок = " + v.asString("Cena") + " / " + v.asString("D$Ws_g") + " = " +
                                                   v.asString("Srok") + " год (года, лет).");
        QCOMPARE(line(doc, "d$Wркг = ", yearly), "d$Wркг = " + t.data->tblProj0->asString("$Wa_g") + " - " +
                                                     v.asString("$Wp_g") + " = " + v.asString("D$Wp_g") + " грн.");
    }

    void monthlyAndYearlyCalculations()
    {
        TestData t;
        createExampleProject(*t.data);
        const SavedReport doc = run(*t.data, {F::MonthHar, F::MonthScore, F::YearHar, F::YearScore, F::YearFormula});
        const TTable &p = *t.data->tblProj0;
        QCOMPARE(line(doc, "Wрм = "), "Wрм = " + p.asString("Wa") + " * 21 = " + p.asString("Wa_m") + " кВтч.");
        const int yearly = doc.find("Расчеты.", doc.find("Годовые характеристики"));
        const QString last = "$Wsг = " + p.asString("$Ws") + " * 260 = " + p.asString("$Ws_g") + " грн.";
        QCOMPARE(line(doc, "$Wsг = ", yearly), last);
        // The yearly block ends with a single break: its last line is the document's last text.
        QCOMPARE(doc.body.last().text, QString());
        QCOMPARE(doc.body[doc.body.size() - 2].text, last);
        QCOMPARE(line(doc, "Годовое потребление активной"),
                 QStringLiteral("Годовое потребление активной электроэнергии без учета компенсации:"));
    }
};

QTEST_GUILESS_MAIN(TestCalculationTexts)
#include "test_calculation_texts.moc"
