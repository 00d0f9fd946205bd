#include "core/calc/Compensation.h"
#include "NullableCompare.h"

#include <QtTest>

using namespace korvan;

Q_DECLARE_METATYPE(korvan::CompensatedInput)

namespace {

const TariffInput exampleTariff{0.715, 0.02, 21, 260};
const VariantInput exampleVariant{0.005, 0.12, 10000.0, std::nullopt};

// The project of the uncompensated example as its totals are stored.
StoredProjectTotals exampleProject()
{
    StoredProjectTotals p;
    p.Wa = 1600;
    p.Wq = 1120;
    p.Ws = 1957.45;
    p.PayWa = 1144;
    p.PayWq = 22.4;
    p.PayWs = 1166.4;
    p.Wa_m = 33600;
    p.Wq_m = 23520;
    p.Ws_m = 41106.45;
    p.PayWa_m = 24024;
    p.PayWq_m = 470.4;
    p.PayWs_m = 24494.4;
    p.Wa_g = 416000;
    p.Wq_g = 291200;
    p.Ws_g = 508937;
    p.PayWa_g = 297440;
    p.PayWq_g = 5824;
    p.PayWs_g = 303264;
    return p;
}

// The two compensated periods of the example (50 and 25 kVAr switched on) as stored.
const std::vector<StoredCompensatedPeriod> examplePeriods{
    {2, 769.8, 240, 806.34, 550.41, 4.8, 555.21},
    {2, 777.3, 80, 781.41, 555.77, 1.6, 557.37},
};

StoredCompensatedPeriod stored(const CompensatedValues &v)
{
    return {v.Wakp, v.Wak, v.Wqk, v.Wsk, v.PayWak, v.PayWqk, v.PayWsk};
}

} // namespace

class TestCompensation : public QObject {
    Q_OBJECT
private slots:
    void period_data()
    {
        QTest::addColumn<CompensatedInput>("in");
        QTest::addColumn<double>("Q1");
        QTest::addColumn<double>("S");
        QTest::addColumn<double>("I");
        QTest::addColumn<QVariant>("Cosf");
        QTest::addColumn<QVariant>("Tgf");
        QTest::addColumn<double>("Wakp");
        QTest::addColumn<double>("Wak");
        QTest::addColumn<double>("Wqk");
        QTest::addColumn<double>("Wsk");
        QTest::addColumn<double>("PayWak");
        QTest::addColumn<double>("PayWqk");
        QTest::addColumn<double>("PayWsk");
        const QVariant null;
        // The module losses are an energy: 0.005 kW/kVAr x 50 kVAr x 8 h.
        QTest::newRow("0-8 h, 50 kVAr on")
            << CompensatedInput{0, 8, 100, 80, 50} << 30.0 << 104.4 << 158.62 << QVariant(0.958) << QVariant(0.3) << 2.0
            << 769.8 << 240.0 << 806.34 << 550.41 << 4.8 << 555.21;
        QTest::newRow("8-24 h, 25 kVAr on")
            << CompensatedInput{8, 24, 50, 30, 25} << 5.0 << 50.25 << 76.35 << QVariant(0.995) << QVariant(0.1) << 2.0
            << 777.3 << 80.0 << 781.41 << 555.77 << 1.6 << 557.37;
        // 0.005 x 25 x 1 min = 0.0020833: a minute's losses round to 0, an hour's to 0.12 (a tie
        // of 0.125 that goes to the even 0.12).
        QTest::newRow("one minute, 25 kVAr on")
            << CompensatedInput{8, 8 + 1.0 / 60, 50, 30, 25} << 5.0 << 50.25 << 76.35 << QVariant(0.995)
            << QVariant(0.1) << 0.0 << 0.8 << 0.08 << 0.8 << 0.57 << 0.0 << 0.57;
        QTest::newRow("one hour, 25 kVAr on")
            << CompensatedInput{8, 9, 50, 30, 25} << 5.0 << 50.25 << 76.35 << QVariant(0.995) << QVariant(0.1) << 0.12
            << 48.58 << 5.0 << 48.84 << 34.73 << 0.1 << 34.83;
        // Nothing on: the current stays I0 and Wak is Wa0 + 0.
        QTest::newRow("Qku 0") << CompensatedInput{0, 8, 100, 80, 0} << 80.0 << 128.06 << 194.57 << QVariant(0.781)
                               << QVariant(0.8) << 0.0 << 800.0 << 640.0 << 1024.5 << 572.0 << 12.8 << 584.8;
        QTest::newRow("Qku above Q") << CompensatedInput{8, 24, 50, 30, 50} << -20.0 << 53.85 << 81.82
                                     << QVariant(0.929) << QVariant(-0.4) << 4.0 << 789.89 << -320.0 << 852.25 << 564.77
                                     << -6.4 << 558.37;
        QTest::newRow("no load") << CompensatedInput{0, 24, 0, 0, 0} << 0.0 << 0.0 << 0.0 << null << null << 0.0 << 0.0
                                 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        // I0 = 0: no cable-loss term, only the module losses.
        QTest::newRow("no load, 10 kVAr on")
            << CompensatedInput{0, 24, 0, 0, 10} << -10.0 << 10.0 << 15.19 << QVariant(0.0) << null << 1.2 << 1.2
            << -240.0 << 240.0 << 0.86 << -4.8 << -3.94;
    }
    void period()
    {
        QFETCH(CompensatedInput, in);
        QFETCH(QVariant, Cosf);
        QFETCH(QVariant, Tgf);
        const CompensatedValues v = computeCompensatedPeriod(in, exampleVariant, exampleTariff);
        QTEST(v.Q1, "Q1");
        QTEST(v.S, "S");
        QTEST(v.I, "I");
        KORVAN_COMPARE_NULLABLE(v.Cosf, Cosf);
        KORVAN_COMPARE_NULLABLE(v.Tgf, Tgf);
        QTEST(v.Wakp, "Wakp");
        QTEST(v.Wak, "Wak");
        QTEST(v.Wqk, "Wqk");
        QTEST(v.Wsk, "Wsk");
        QTEST(v.PayWak, "PayWak");
        QTEST(v.PayWqk, "PayWqk");
        QTEST(v.PayWsk, "PayWsk");
    }

    // The uncompensated period behind Wak, as the calculation texts show it.
    void uncompensatedPeriodBehindWak()
    {
        const CompensatedValues v = computeCompensatedPeriod({0, 2, 100, 60, 0}, exampleVariant, exampleTariff);
        QCOMPARE(v.Wa0, 200.0);
        QCOMPARE(v.S0, 116.62);
        QCOMPARE(v.I0, 177.19);
    }

    void variantTotals()
    {
        const auto v = computeVariantTotals(examplePeriods, exampleProject(), exampleTariff, exampleVariant);
        QVERIFY(v);
        KORVAN_COMPARE_NULLABLE(v->Cosf_i, 0.974);
        KORVAN_COMPARE_NULLABLE(v->Tgf_i, 0.207);
        QCOMPARE(v->Wakp, 4.0);
        QCOMPARE(v->Wak, 1547.1);
        QCOMPARE(v->Wqk, 320.0);
        QCOMPARE(v->Wsk, 1587.75);
        KORVAN_COMPARE_NULLABLE(v->DWak, 52.9);
        KORVAN_COMPARE_NULLABLE(v->DWqk, 800.0);
        KORVAN_COMPARE_NULLABLE(v->DWsk, 369.7);
        QCOMPARE(v->PayWak, 1106.18);
        QCOMPARE(v->PayWqk, 6.4);
        QCOMPARE(v->PayWsk, 1112.58);
        KORVAN_COMPARE_NULLABLE(v->DPayWak, 37.82);
        KORVAN_COMPARE_NULLABLE(v->DPayWqk, 16.0);
        KORVAN_COMPARE_NULLABLE(v->DPayWsk, 53.82);
        QCOMPARE(v->Wp_m, 32489.1);
        QCOMPARE(v->Wq_m, 6720.0);
        QCOMPARE(v->Ws_m, 33342.75);
        KORVAN_COMPARE_NULLABLE(v->DWp_m, 1110.9);
        KORVAN_COMPARE_NULLABLE(v->DWq_m, 16800.0);
        KORVAN_COMPARE_NULLABLE(v->DWs_m, 7763.7);
        QCOMPARE(v->PayWp_m, 23229.78);
        QCOMPARE(v->PayWq_m, 134.4);
        QCOMPARE(v->PayWs_m, 23364.18);
        KORVAN_COMPARE_NULLABLE(v->DPayWp_m, 794.22);
        KORVAN_COMPARE_NULLABLE(v->DPayWq_m, 336.0);
        KORVAN_COMPARE_NULLABLE(v->DPayWs_m, 1130.22);
        QCOMPARE(v->Wp_g, 402246.0);
        QCOMPARE(v->Wq_g, 83200.0);
        QCOMPARE(v->Ws_g, 412815.0);
        KORVAN_COMPARE_NULLABLE(v->DWp_g, 13754.0);
        KORVAN_COMPARE_NULLABLE(v->DWq_g, 208000.0);
        KORVAN_COMPARE_NULLABLE(v->DWs_g, 96122.0);
        QCOMPARE(v->PayWp_g, 287606.8);
        QCOMPARE(v->PayWq_g, 1664.0);
        QCOMPARE(v->PayWs_g, 289270.8);
        KORVAN_COMPARE_NULLABLE(v->DPayWp_g, 9833.2);
        KORVAN_COMPARE_NULLABLE(v->DPayWq_g, 4160.0);
        KORVAN_COMPARE_NULLABLE(v->DPayWs_g, 13993.2);
        KORVAN_COMPARE_NULLABLE(v->Srok, 0.71);
    }

    // From the load graph to the payback, each step reading what the one before it stored.
    void fromGraphToPayback()
    {
        const LoadPeriod graph[] = {{0, 8, 100, 80}, {8, 24, 50, 30}};
        const double switchedOn[] = {50, 25};
        std::vector<StoredPeriod> periods;
        std::vector<StoredCompensatedPeriod> compensated;
        for (int i = 0; i < 2; ++i) {
            const LoadPeriod &p = graph[i];
            const PeriodValues v = computePeriod(p, exampleTariff);
            periods.push_back({p.T1, p.T2, p.Q, v.Wa, v.Wq, v.Ws, v.PayWa, v.PayWq, v.PayWs});
            compensated.push_back(
                stored(computeCompensatedPeriod({p.T1, p.T2, p.P, p.Q, switchedOn[i]}, exampleVariant, exampleTariff)));
        }
        const auto project = computeProjectTotals(periods, exampleTariff);
        QVERIFY(project);
        const auto v = computeVariantTotals(compensated, storedTotals(*project), exampleTariff, exampleVariant);
        QVERIFY(v);
        KORVAN_COMPARE_NULLABLE(v->DPayWs_g, 13993.2);
        KORVAN_COMPARE_NULLABLE(v->Srok, 0.71);
    }

    void noPeriodLeavesTotalsAlone()
    {
        QVERIFY(!computeVariantTotals({}, exampleProject(), exampleTariff, exampleVariant));
    }

    void payback_data()
    {
        QTest::addColumn<QVariant>("Cena");
        QTest::addColumn<QVariant>("storedSrok");
        QTest::addColumn<QVariant>("projectPayWs_g");
        QTest::addColumn<QVariant>("Srok");
        const QVariant null;
        QTest::newRow("price and saving") << QVariant(10000.0) << QVariant(3.0) << QVariant(303264.0) << QVariant(0.71);
        QTest::newRow("no price keeps old") << null << QVariant(3.0) << QVariant(303264.0) << QVariant(3.0);
        QTest::newRow("no price, new variant") << null << null << QVariant(303264.0) << null;
        // The variant pays 289270.8 a year: the same as the project, so no saving.
        QTest::newRow("saving 0 keeps old")
            << QVariant(10000.0) << QVariant(3.0) << QVariant(289270.8) << QVariant(3.0);
        QTest::newRow("project total null keeps old") << QVariant(10000.0) << QVariant(3.0) << null << QVariant(3.0);
        QTest::newRow("negative saving") << QVariant(10000.0) << null << QVariant(279270.8) << QVariant(-1.0);
        QTest::newRow("price 0") << QVariant(0.0) << QVariant(3.0) << QVariant(303264.0) << QVariant(0.0);
    }
    void payback()
    {
        QFETCH(QVariant, Cena);
        QFETCH(QVariant, storedSrok);
        QFETCH(QVariant, projectPayWs_g);
        QFETCH(QVariant, Srok);
        const auto opt = [](const QVariant &x) {
            return x.isValid() ? std::optional<double>(x.toDouble()) : std::nullopt;
        };
        StoredProjectTotals project = exampleProject();
        project.PayWs_g = opt(projectPayWs_g);
        VariantInput variant = exampleVariant;
        variant.Cena = opt(Cena);
        variant.Srok = opt(storedSrok);
        const auto v = computeVariantTotals(examplePeriods, project, exampleTariff, variant);
        QVERIFY(v);
        KORVAN_COMPARE_NULLABLE(v->Srok, Srok);
    }

    // A NULL project total makes only its own saving NULL.
    void savingAgainstNullIsNull()
    {
        StoredProjectTotals project = exampleProject();
        project.Wa = std::nullopt;
        const auto v = computeVariantTotals(examplePeriods, project, exampleTariff, exampleVariant);
        QVERIFY(v);
        QVERIFY(!v->DWak);
        KORVAN_COMPARE_NULLABLE(v->DWqk, 800.0);
        KORVAN_COMPARE_NULLABLE(v->Srok, 0.71);
    }

    void undefinedVariantRatios_data()
    {
        QTest::addColumn<QList<double>>("Wak");
        QTest::addColumn<QList<double>>("Wqk");
        QTest::addColumn<QVariant>("Cosf_i");
        QTest::addColumn<QVariant>("Tgf_i");
        const QVariant null;
        QTest::newRow("no energy") << QList<double>{0, 0} << QList<double>{0, 0} << null << null;
        QTest::newRow("reactive only") << QList<double>{0} << QList<double>{-240} << QVariant(0.0) << null;
    }
    void undefinedVariantRatios()
    {
        QFETCH(QList<double>, Wak);
        QFETCH(QList<double>, Wqk);
        QFETCH(QVariant, Cosf_i);
        QFETCH(QVariant, Tgf_i);
        std::vector<StoredCompensatedPeriod> periods;
        for (qsizetype i = 0; i < Wak.size(); ++i)
            periods.push_back({0, Wak[i], Wqk[i], std::hypot(Wak[i], Wqk[i]), 0, 0, 0});
        const auto v = computeVariantTotals(periods, exampleProject(), exampleTariff, exampleVariant);
        QVERIFY(v);
        KORVAN_COMPARE_NULLABLE(v->Cosf_i, Cosf_i);
        KORVAN_COMPARE_NULLABLE(v->Tgf_i, Tgf_i);
        KORVAN_COMPARE_NULLABLE(v->DWak, 1600.0);
    }
};

QTEST_GUILESS_MAIN(TestCompensation)
#include "test_compensation.moc"
