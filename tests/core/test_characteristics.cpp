#include "core/calc/Characteristics.h"
#include "NullableCompare.h"

#include <QtTest>

using namespace korvan;

Q_DECLARE_METATYPE(korvan::LoadPeriod)

namespace {

const TariffInput exampleTariff{0.715, 0.02, 21, 260};

// The periods as the hook stores them: computed, then read back.
std::vector<StoredPeriod> stored(const QList<LoadPeriod> &graph, const TariffInput &tariff)
{
    std::vector<StoredPeriod> out;
    for (const LoadPeriod &p : graph) {
        const PeriodValues v = computePeriod(p, tariff);
        out.push_back({p.T1, p.T2, p.Q, v.Wa, v.Wq, v.Ws, v.PayWa, v.PayWq, v.PayWs});
    }
    return out;
}

const QList<LoadPeriod> exampleGraph{{0, 8, 100, 80}, {8, 24, 50, 30}};

} // namespace

class TestCharacteristics : public QObject {
    Q_OBJECT
private slots:
    void period_data()
    {
        QTest::addColumn<LoadPeriod>("in");
        QTest::addColumn<double>("S");
        QTest::addColumn<double>("I");
        QTest::addColumn<QVariant>("Cosf");
        QTest::addColumn<QVariant>("Tgf");
        QTest::addColumn<double>("Wa");
        QTest::addColumn<double>("Wq");
        QTest::addColumn<double>("Ws");
        QTest::addColumn<double>("PayWa");
        QTest::addColumn<double>("PayWq");
        QTest::addColumn<double>("PayWs");
        const QVariant null;
        // I and cos(f) from the rounded S = 128.06.
        QTest::newRow("0-8 h, 100 kW, 80 kVAr") << LoadPeriod{0, 8, 100, 80} << 128.06 << 194.57 << QVariant(0.781)
                                                << QVariant(0.8) << 800.0 << 640.0 << 1024.5 << 572.0 << 12.8 << 584.8;
        QTest::newRow("8-24 h, 50 kW, 30 kVAr") << LoadPeriod{8, 24, 50, 30} << 58.31 << 88.59 << QVariant(0.857)
                                                << QVariant(0.6) << 800.0 << 480.0 << 932.95 << 572.0 << 9.6 << 581.6;
        QTest::newRow("P = 0: no tg(f)") << LoadPeriod{0, 2, 0, 30} << 30.0 << 45.58 << QVariant(0.0) << null << 0.0
                                         << 60.0 << 60.0 << 0.0 << 1.2 << 1.2;
        QTest::newRow("no load: no cos(f), no tg(f)")
            << LoadPeriod{0, 24, 0, 0} << 0.0 << 0.0 << null << null << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        // S rounds to 0 although P does not: still no cos(f), and no infinity.
        QTest::newRow("tiny P rounds S to 0") << LoadPeriod{0, 24, 0.001, 0} << 0.0 << 0.0 << null << QVariant(0.0)
                                              << 0.02 << 0.0 << 0.02 << 0.01 << 0.0 << 0.01;
    }
    void period()
    {
        QFETCH(LoadPeriod, in);
        QFETCH(QVariant, Cosf);
        QFETCH(QVariant, Tgf);
        const PeriodValues v = computePeriod(in, exampleTariff);
        QTEST(v.S, "S");
        QTEST(v.I, "I");
        KORVAN_COMPARE_NULLABLE(v.Cosf, Cosf);
        KORVAN_COMPARE_NULLABLE(v.Tgf, Tgf);
        QTEST(v.Wa, "Wa");
        QTEST(v.Wq, "Wq");
        QTEST(v.Ws, "Ws");
        QTEST(v.PayWa, "PayWa");
        QTEST(v.PayWq, "PayWq");
        QTEST(v.PayWs, "PayWs");
    }

    void projectTotals()
    {
        const auto t = computeProjectTotals(stored(exampleGraph, exampleTariff), exampleTariff);
        QVERIFY(t);
        QCOMPARE(t->Wa, 1600.0);
        QCOMPARE(t->Wq, 1120.0);
        QCOMPARE(t->Ws, 1957.45);
        KORVAN_COMPARE_NULLABLE(t->Psr, 66.67);
        KORVAN_COMPARE_NULLABLE(t->Qsr, 46.67);
        KORVAN_COMPARE_NULLABLE(t->Ssr, 81.56);
        QCOMPARE(t->PayWa, 1144.0);
        QCOMPARE(t->PayWq, 22.4);
        QCOMPARE(t->PayWs, 1166.4);
        KORVAN_COMPARE_NULLABLE(t->Cosfe, 0.817);
        KORVAN_COMPARE_NULLABLE(t->Tgfe, 0.7);
        QCOMPARE(t->Wa_m, 33600.0);
        QCOMPARE(t->Wq_m, 23520.0);
        QCOMPARE(t->Ws_m, 41106.45);
        QCOMPARE(t->PayWa_m, 24024.0);
        QCOMPARE(t->PayWq_m, 470.4);
        QCOMPARE(t->PayWs_m, 24494.4);
        QCOMPARE(t->Wa_g, 416000.0);
        QCOMPARE(t->Wq_g, 291200.0);
        QCOMPARE(t->Ws_g, 508937.0);
        QCOMPARE(t->PayWa_g, 297440.0);
        QCOMPARE(t->PayWq_g, 5824.0);
        QCOMPARE(t->PayWs_g, 303264.0);
        QCOMPARE(t->Qmin, 30.0);
        QCOMPARE(t->Qmax, 80.0);
    }

    void noPeriodLeavesTotalsAlone() { QVERIFY(!computeProjectTotals({}, exampleTariff)); }

    void averagesOverSpan_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("graph");
        QTest::addColumn<double>("Psr");
        QTest::addColumn<double>("Qsr");
        QTest::addColumn<double>("Ssr");
        // 600 kWh over 8..20 h: T = 12, not 24.
        QTest::newRow("graph from 8 to 20 h")
            << QList<LoadPeriod>{{8, 14, 40, 20}, {14, 20, 60, 45}} << 50.0 << 32.5 << 59.86;
        // The hours of the gap count: T = 24, not 20.
        QTest::newRow("gap from 8 to 12 h")
            << QList<LoadPeriod>{{0, 8, 100, 80}, {12, 24, 50, 30}} << 58.33 << 41.67 << 71.84;
    }
    void averagesOverSpan()
    {
        QFETCH(QList<LoadPeriod>, graph);
        QFETCH(double, Psr);
        QFETCH(double, Qsr);
        QFETCH(double, Ssr);
        const auto t = computeProjectTotals(stored(graph, exampleTariff), exampleTariff);
        QVERIFY(t);
        KORVAN_COMPARE_NULLABLE(t->Psr, Psr);
        KORVAN_COMPARE_NULLABLE(t->Qsr, Qsr);
        KORVAN_COMPARE_NULLABLE(t->Ssr, Ssr);
    }

    void undefinedTotals_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("graph");
        QTest::addColumn<QVariant>("Psr");
        QTest::addColumn<QVariant>("Cosfe");
        QTest::addColumn<QVariant>("Tgfe");
        QTest::addColumn<double>("Ws");
        QTest::addColumn<double>("Ws_g");
        const QVariant null;
        QTest::newRow("no load all day") << QList<LoadPeriod>{{0, 24, 0, 0}} << QVariant(0.0) << null << null << 0.0
                                         << 0.0;
        QTest::newRow("reactive load only") << QList<LoadPeriod>{{0, 12, 0, 10}, {12, 24, 0, 20}} << QVariant(0.0)
                                            << QVariant(0.0) << null << 360.0 << 93600.0;
        QTest::newRow("period of no length") << QList<LoadPeriod>{{5, 5, 10, 5}} << null << null << null << 0.0 << 0.0;
    }
    void undefinedTotals()
    {
        QFETCH(QList<LoadPeriod>, graph);
        QFETCH(QVariant, Psr);
        QFETCH(QVariant, Cosfe);
        QFETCH(QVariant, Tgfe);
        const auto t = computeProjectTotals(stored(graph, exampleTariff), exampleTariff);
        QVERIFY(t);
        KORVAN_COMPARE_NULLABLE(t->Psr, Psr);
        KORVAN_COMPARE_NULLABLE(t->Cosfe, Cosfe);
        KORVAN_COMPARE_NULLABLE(t->Tgfe, Tgfe);
        // The rest is still worked out.
        QTEST(t->Ws, "Ws");
        QTEST(t->Ws_g, "Ws_g");
    }

    // Every Q below 0: the largest Q is the largest of the periods, not a 0 no period has.
    void capacitiveGraphExtremes()
    {
        const auto t =
            computeProjectTotals(stored({{0, 12, 50, -10.004}, {12, 24, 50, -30}}, exampleTariff), exampleTariff);
        QVERIFY(t);
        QCOMPARE(t->Qmin, -30.0);
        QCOMPARE(t->Qmax, -10.0);
    }
};

QTEST_GUILESS_MAIN(TestCharacteristics)
#include "test_characteristics.moc"
