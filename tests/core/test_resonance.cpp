#include "core/calc/Resonance.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/ResonanceTables.h"
#include "NullableCompare.h"

#include <QtTest>

using namespace korvan;

using Periods = std::vector<ResonancePeriod>;
using Orders = std::vector<int>;
Q_DECLARE_METATYPE(std::optional<korvan::SupplyData>)
Q_DECLARE_METATYPE(Periods)
Q_DECLARE_METATYPE(std::optional<Orders>)

namespace {

SupplyData supply(double Str, double Uk, std::optional<double> net = std::nullopt, Orders harmonics = {5, 7, 11, 13})
{
    return SupplyData{Str, Uk, net, harmonics};
}

// A day of three periods: 300 kVAr switched on at night, 200 kVAr (over-compensated) by day,
// nothing in the evening.
const Periods threePeriods{{0, 8, 300, 20}, {8, 16, 200, -5}, {16, 24, 0, 40}};

} // namespace

class TestResonance : public QObject {
    Q_OBJECT
private slots:
    // Worked by hand:
    // 1000 kVA, 6 %: Ssc = 1 / (6 / 100000) = 16666,67 kVA; h(300) = √55,556 = 7,4536 (the 7th is
    // within 0,7 of it), h(200) = √83,333 = 9,1287 (no harmonic within 10 %); dU = 30000 / 16666,67
    // = 1,8 %; the day period over-compensates for 8 h.
    // With a 500 MVA network: Ssc = 1 / (0,00006 + 0,000002) = 16129,03 kVA; h(650) = √24,814
    // = 4,9813 (5th), h(100) = √161,29 = 12,7 (13th within 1,3; 11th is 1,7 away); dU = 65000 /
    // 16129,03 = 4,03 %.
    // Detuned 7 %: h_t = √(100 / 7) = 3,78 < 0,9 · 5 = 4,5, safe whatever h is; 4 %: h_t = 5 ≥ 4,5
    // puts the 5th at risk; 7 % with a 3rd harmonic: 3,78 ≥ 2,7 puts the 3rd at risk.
    void variantCheck_data()
    {
        QTest::addColumn<std::optional<SupplyData>>("supplyData");
        QTest::addColumn<double>("detuning");
        QTest::addColumn<Periods>("periods");
        QTest::addColumn<QVariant>("hrMin");
        QTest::addColumn<QVariant>("hrMax");
        QTest::addColumn<std::optional<Orders>>("resonance");
        QTest::addColumn<QVariant>("dU");
        QTest::addColumn<double>("hoursLead");

        const QVariant none;
        QTest::newRow("transformer only, 7th at risk")
            << std::optional(supply(1000, 6)) << 0.0 << threePeriods << QVariant(7.45) << QVariant(9.13)
            << std::optional(Orders{7}) << QVariant(1.8) << 8.0;
        QTest::newRow("network term, 5th and 13th at risk")
            << std::optional(supply(1000, 6, 500.0)) << 0.0 << Periods{{0, 12, 650, 10}, {12, 24, 100, 3}}
            << QVariant(4.98) << QVariant(12.7) << std::optional(Orders{5, 13}) << QVariant(4.03) << 0.0;
        QTest::newRow("detuned 7 %, below the 5th")
            << std::optional(supply(1000, 6)) << 7.0 << threePeriods << QVariant(7.45) << QVariant(9.13)
            << std::optional(Orders{}) << QVariant(1.8) << 8.0;
        QTest::newRow("detuned 5,67 %, below the 5th")
            << std::optional(supply(1000, 6)) << 5.67 << threePeriods << QVariant(7.45) << QVariant(9.13)
            << std::optional(Orders{}) << QVariant(1.8) << 8.0;
        QTest::newRow("detuned 4 %, tuned at the 5th")
            << std::optional(supply(1000, 6)) << 4.0 << threePeriods << QVariant(7.45) << QVariant(9.13)
            << std::optional(Orders{5}) << QVariant(1.8) << 8.0;
        QTest::newRow("detuned 7 %, load draws the 3rd")
            << std::optional(supply(1000, 6, std::nullopt, {7, 3, 5})) << 7.0 << threePeriods << QVariant(7.45)
            << QVariant(9.13) << std::optional(Orders{3}) << QVariant(1.8) << 8.0;
        QTest::newRow("no switched period")
            << std::optional(supply(1000, 6)) << 0.0 << Periods{{0, 6, 0, -10}, {6, 24, 0, 5}} << none << none
            << std::optional(Orders{}) << none << 6.0;
        QTest::newRow("detuned, no switched period") << std::optional(supply(1000, 6)) << 4.0 << Periods{{0, 24, 0, 5}}
                                                     << none << none << std::optional(Orders{}) << none << 0.0;
        QTest::newRow("no supply data: only the hours of over-compensation")
            << std::optional<SupplyData>() << 0.0 << Periods{{0, 8, 300, -1}, {8, 17.5, 200, -0.5}, {17.5, 24, 0, 0}}
            << none << none << std::optional<Orders>() << none << 17.5;
    }
    void variantCheck()
    {
        QFETCH(std::optional<SupplyData>, supplyData);
        QFETCH(double, detuning);
        QFETCH(Periods, periods);
        QFETCH(QVariant, hrMin);
        QFETCH(QVariant, hrMax);
        QFETCH(std::optional<Orders>, resonance);
        QFETCH(QVariant, dU);
        QFETCH(double, hoursLead);

        const ResonanceValues v =
            computeResonance(supplyData, detuning > 0 ? std::optional(detuning) : std::nullopt, periods);
        KORVAN_COMPARE_NULLABLE(v.Hr_min, hrMin);
        KORVAN_COMPARE_NULLABLE(v.Hr_max, hrMax);
        QCOMPARE(v.Resonance, resonance);
        KORVAN_COMPARE_NULLABLE(v.dU_max, dU);
        QCOMPARE(v.Hours_lead, hoursLead);
    }

    void unroundedFigures()
    {
        const ResonanceValues v = computeResonance(supply(1000, 6, 500.0), std::nullopt, {{0, 24, 650, 0}});
        QVERIFY(qFuzzyCompare(v.Ssc, 1.0 / 0.000062));
        QVERIFY(qFuzzyCompare(v.hAtMaxQku, std::sqrt(v.Ssc / 650)));
        // The verdict reads the unrounded order: 4,5 is exactly 10 % below the 5th.
        QVERIFY(harmonicAtRisk(4.5, 5));
        QVERIFY(!harmonicAtRisk(4.49, 5));
        QVERIFY(harmonicAtRisk(5.5, 5));
        QVERIFY(!harmonicAtRisk(5.51, 5));
    }

    void harmonicsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<Orders>>("orders");
        QTest::newRow("default") << "5, 7, 11, 13" << std::optional(Orders{5, 7, 11, 13});
        QTest::newRow("unsorted, repeated, mixed separators") << "13;5 7,5" << std::optional(Orders{5, 7, 13});
        QTest::newRow("empty") << "  " << std::optional(Orders{});
        QTest::newRow("fraction") << "5,5.5" << std::optional<Orders>();
        QTest::newRow("word") << "5, седьмая" << std::optional<Orders>();
    }
    void harmonicsText()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<Orders>, orders);
        QCOMPARE(resonance_tables::parseHarmonics(text), orders);
    }

    void supplyChecks_data()
    {
        QTest::addColumn<QString>("str");
        QTest::addColumn<QString>("uk");
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("harmonics");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("valid, infinite network") << "1000"
                                                 << "6"
                                                 << ""
                                                 << "5, 7" << -1 << "";
        QTest::newRow("valid with network") << "630"
                                            << "5,5"
                                            << "250"
                                            << "5" << -1 << "";
        QTest::newRow("no power") << ""
                                  << "6"
                                  << ""
                                  << "5" << int(SupplyInput::Str)
                                  << "Введите значение поля \"Номинальная мощность трансформатора Sт, кВА\".";
        QTest::newRow("zero power")
            << "0"
            << "6"
            << ""
            << "5" << int(SupplyInput::Str)
            << "Значение поля \"Номинальная мощность трансформатора Sт, кВА\" должно быть больше 0.";
        QTest::newRow("uk text")
            << "1000"
            << "abc"
            << ""
            << "5" << int(SupplyInput::Uk)
            << "\"abc\" - некорректное значение для поля \"Напряжение короткого замыкания трансформатора uк, %\".";
        QTest::newRow("uk above 20")
            << "1000"
            << "20,5"
            << ""
            << "5" << int(SupplyInput::Uk)
            << "Значение поля \"Напряжение короткого замыкания трансформатора uк, %\" должно быть "
               "больше 0 и не больше 20.";
        QTest::newRow("uk at 20") << "1000"
                                  << "20"
                                  << ""
                                  << "5" << -1 << "";
        QTest::newRow("negative network")
            << "1000"
            << "6"
            << "-3"
            << "5" << int(SupplyInput::SscNet)
            << "Значение поля \"Мощность короткого замыкания сети Sкз, МВА\" должно быть больше 0.";
        QTest::newRow("no harmonics") << "1000"
                                      << "6"
                                      << ""
                                      << "" << int(SupplyInput::Harmonics)
                                      << "Введите хотя бы один порядок гармоники в поле \"Порядки гармоник нагрузки\".";
        QTest::newRow("harmonic 1")
            << "1000"
            << "6"
            << ""
            << "1, 5" << int(SupplyInput::Harmonics)
            << "Порядок гармоники 1 в поле \"Порядки гармоник нагрузки\" должен быть в пределах от 2 до 50.";
        QTest::newRow("harmonic 51")
            << "1000"
            << "6"
            << ""
            << "5, 51" << int(SupplyInput::Harmonics)
            << "Порядок гармоники 51 в поле \"Порядки гармоник нагрузки\" должен быть в пределах от 2 до 50.";
        // Beyond the power limit, or so small that the bus short-circuit power is no number.
        QTest::newRow("power beyond the limit")
            << "1e308"
            << "0,01"
            << ""
            << "5" << int(SupplyInput::Str)
            << "Значение поля \"Номинальная мощность трансформатора Sт, кВА\" должно быть не больше 1000000.";
        QTest::newRow("network beyond the limit")
            << "1000"
            << "6"
            << "1e308"
            << "5" << int(SupplyInput::SscNet)
            << "Значение поля \"Мощность короткого замыкания сети Sкз, МВА\" должно быть не больше 1000000.";
        QTest::newRow("power too small")
            << "1e-320"
            << "6"
            << ""
            << "5" << int(SupplyInput::Str)
            << "Значение поля \"Номинальная мощность трансформатора Sт, кВА\" должно быть не меньше 1.";
        QTest::newRow("network too small")
            << "1000"
            << "6"
            << "1e-305"
            << "5" << int(SupplyInput::SscNet)
            << "Значение поля \"Мощность короткого замыкания сети Sкз, МВА\" должно быть не меньше 0,1.";
        QTest::newRow("uk too small")
            << "1000000"
            << "1e-320"
            << ""
            << "5" << int(SupplyInput::Uk)
            << "Значение поля \"Напряжение короткого замыкания трансформатора uк, %\" слишком мало: мощность "
               "короткого замыкания на шинах не определяется.";
        QTest::newRow("harmonic text") << "1000"
                                       << "6"
                                       << ""
                                       << "5 x" << int(SupplyInput::Harmonics)
                                       << "\"5 x\" - некорректное значение для поля \"Порядки гармоник нагрузки\": "
                                          "введите целые числа через запятую.";
    }
    void supplyChecks()
    {
        QFETCH(QString, str);
        QFETCH(QString, uk);
        QFETCH(QString, net);
        QFETCH(QString, harmonics);
        QFETCH(int, field);
        QFETCH(QString, message);
        const auto problem = checkSupplyInput({str, uk, net, harmonics});
        QCOMPARE(problem ? problem->field : -1, field);
        QCOMPARE(problem ? problem->message : QString(), message);
    }
};

QTEST_GUILESS_MAIN(TestResonance)
#include "test_resonance.moc"
