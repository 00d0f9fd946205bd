#include "core/calc/Economics.h"

#include "NullableCompare.h"

#include <QtTest>

using namespace korvan;

namespace {
const QVariant Null;
}

// Lifecycle figures of one installation against cases worked by hand.
class TestEconomics : public QObject {
    Q_OBJECT
private slots:
    void figures_data()
    {
        QTest::addColumn<QVariant>("cena");
        QTest::addColumn<QVariant>("saving");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("life");
        QTest::addColumn<double>("maint");
        QTest::addColumn<double>("mont");
        QTest::addColumn<QVariant>("npv");
        QTest::addColumn<QVariant>("irr");
        QTest::addColumn<QVariant>("dpp");

        // r = 0: AF = N = 5; NPV = -1000 + 300 * 5 = 500; DPP = 1000 / 300 = 3,33;
        // IRR: (1 - 1,15238^-5) / 0,15238 = 3,3333 = 1000 / 300.
        QTest::newRow("r = 0") << QVariant(1000.0) << QVariant(300.0) << 0.0 << 5 << 0.0 << 0.0 << QVariant(500.0)
                               << QVariant(15.24) << QVariant(3.33);
        // A = -50 - 1000 * 1 % = -60; AF(10 %, 15) = 7,606080; NPV = -1000 - 60 * 7,606080.
        QTest::newRow("negative saving") << QVariant(1000.0) << QVariant(-50.0) << 10.0 << 15 << 1.0 << 0.0
                                         << QVariant(-1456.36) << Null << Null;
        // The saving covers the upkeep no more: A = 100 - 20000 * 1 % = -100.
        QTest::newRow("upkeep eats the saving")
            << QVariant(20000.0) << QVariant(100.0) << 10.0 << 15 << 1.0 << 0.0 << QVariant(-20760.61) << Null << Null;
        // x = 1 - 1000 * 0,1 / 100 = 0: the discounted savings never repay; NPV = -1000 + 760,61;
        // IRR: AF(i, 15) = 10 at i = 5,5565 %.
        QTest::newRow("x = 0") << QVariant(1000.0) << QVariant(100.0) << 10.0 << 15 << 0.0 << 0.0 << QVariant(-239.39)
                               << QVariant(5.56) << Null;
        // 15 * 50 = 750 < 1000: the rate that repays is negative, AF(i, 15) = 20 at i = -3,3978 %.
        QTest::newRow("IRR below 0") << QVariant(1000.0) << QVariant(50.0) << 10.0 << 15 << 0.0 << 0.0
                                     << QVariant(-619.70) << QVariant(-3.40) << Null;
        // N = 1: 1000 = 5 / (1 + i) gives i = -99,5 %, outside the interval; x < 0.
        QTest::newRow("IRR below -99 %") << QVariant(1000.0) << QVariant(5.0) << 10.0 << 1 << 0.0 << 0.0
                                         << QVariant(-995.45) << Null << Null;
        // N = 1: 1000 = 200000 / (1 + i) gives i = 19900 %, beyond 10000 %.
        QTest::newRow("IRR above 10000 %") << QVariant(1000.0) << QVariant(200000.0) << 10.0 << 1 << 0.0 << 0.0
                                           << QVariant(180818.18) << Null << QVariant(0.01);
        // N = 1: 1000 = 2000 / (1 + i) at exactly i = 100 %; DPP = -ln(1 - 0,05) / ln 1,1 = 0,538.
        QTest::newRow("IRR 100 %") << QVariant(1000.0) << QVariant(2000.0) << 10.0 << 1 << 0.0 << 0.0
                                   << QVariant(818.18) << QVariant(100.0) << QVariant(0.54);
        // C = 93400 * 1,05 = 98070; A = 133400 - 934 = 132466; NPV = -98070 + 132466 * 7,606080;
        // x = 1 - 9807 / 132466 = 0,925966, DPP = 0,076917 / 0,095310 = 0,81; IRR 135,07 %.
        QTest::newRow("upkeep and installation") << QVariant(93400.0) << QVariant(133400.0) << 10.0 << 15 << 1.0 << 5.0
                                                 << QVariant(909476.93) << QVariant(135.07) << QVariant(0.81);
        QTest::newRow("type without price")
            << Null << QVariant(300.0) << 10.0 << 15 << 1.0 << 0.0 << Null << Null << Null;
        QTest::newRow("price 0") << QVariant(0.0) << QVariant(300.0) << 10.0 << 15 << 1.0 << 0.0 << Null << Null
                                 << Null;
        QTest::newRow("negative price") << QVariant(-10.0) << QVariant(300.0) << 10.0 << 15 << 1.0 << 0.0 << Null
                                        << Null << Null;
        QTest::newRow("no saving") << QVariant(1000.0) << Null << 10.0 << 15 << 1.0 << 0.0 << Null << Null << Null;
    }
    void figures()
    {
        QFETCH(QVariant, cena);
        QFETCH(QVariant, saving);
        QFETCH(double, rate);
        QFETCH(int, life);
        QFETCH(double, maint);
        QFETCH(double, mont);
        QFETCH(QVariant, npv);
        QFETCH(QVariant, irr);
        QFETCH(QVariant, dpp);
        const auto opt = [](const QVariant &v) {
            return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        const EconomicFigures f = economicFigures(opt(cena), opt(saving), {rate, life, maint, mont});
        KORVAN_COMPARE_NULLABLE(f.NPV, npv);
        KORVAN_COMPARE_NULLABLE(f.IRR, irr);
        KORVAN_COMPARE_NULLABLE(f.DPP, dpp);
    }

    void investmentAndNetSaving()
    {
        const EconomicFigures f = economicFigures(93400.0, 133400.0, {10, 15, 1, 5});
        QCOMPARE(*f.C, 98070.0);
        QCOMPARE(*f.A, 132466.0);
        QVERIFY(qAbs(*f.AF - 7.606079506308) < 1e-9);
    }

    // The root is found to 1e-9: the present value at it is 0 to within what that allows.
    void rateIsARoot()
    {
        const auto i = internalRate(1000, 300, 5);
        QVERIFY(i);
        QVERIFY(qAbs(-1000 + 300 * annuityFactor(*i, 5)) < 1e-5);
        QVERIFY(qAbs(*i - 0.152382371166) < 1e-9);
    }

    // Near 0 the factor keeps its digits and meets N continuously.
    void annuityFactorNearZero()
    {
        QCOMPARE(annuityFactor(0, 15), 15.0);
        QVERIFY(qAbs(annuityFactor(1e-12, 15) - 15) < 1e-9);
        QVERIFY(qAbs(annuityFactor(-1e-12, 15) - 15) < 1e-9);
    }
};

QTEST_APPLESS_MAIN(TestEconomics)
#include "test_economics.moc"
