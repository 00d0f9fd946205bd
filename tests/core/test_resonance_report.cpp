// The report's resonance block: written after the installation characteristic when the settings
// switch it on and the project has supply data, with the worked numbers.
#include "MessageRecorder.h"
#include "ReportFixture.h"
#include "SavedReport.h"

#include "core/compensation/ResonanceCommands.h"
#include "core/data/ResonanceTables.h"
#include "core/reports/WordApplication.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

class TestResonanceReport : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

    SavedReport run(TDataModule1 &data)
    {
        WordApplication word;
        return SavedReport(exportReport(data, word, m_out.path(), false));
    }

private slots:
    void workedCheckOfAVariant()
    {
        TestData t;
        MessageRecorder rec;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::KUHar});
        // Variant 1 ("КУ-75", full compensation) switches 75 kVAr by night and 25 kVAr by day.
        // 100 kVA at 4 %: Ssc = 2500 kVA; h(75) = 5,77, h(25) = 10 (within 1,1 of the 11th).
        setSupply(*t.data, {"100", "4", "", "5, 7, 11, 13"});
        const SavedReport doc = run(*t.data);
        QVERIFY(doc.ok);
        const int at = doc.find("Проверка резонанса на высших гармониках.");
        QVERIFY(at > doc.find("Характеристика конденсаторной установки."));
        const QStringList expected{
            "Трансформатор: Sт = 100 кВА, uк = 4 %; сеть: бесконечной мощности. Гармоники нагрузки: 5, 7, 11, 13.",
            "Мощность короткого замыкания на шинах установки:",
            "Sкз = 1 / (uк / (100 · Sт)) = 1 / (4 / (100 · 100)) = 2500 кВА.",
            "Порядок резонанса установки с трансформатором: h = √(Sкз / Qку).",
            "При наибольшей включенной мощности Qку = 75 кВАр: h = √(2500 / 75) = 5,77.",
            "При наименьшей включенной мощности Qку = 25 кВАр: h = √(2500 / 25) = 10.",
            "Гармоника n в зоне риска, если в каком-либо периоде |h - n| ≤ 0,1 · n; h от 5,77 до 10.",
            "Гармоника 5: зона риска от 4,5 до 5,5 - риска нет.",
            "Гармоника 7: зона риска от 6,3 до 7,7 - риска нет.",
            "Гармоника 11: зона риска от 9,9 до 12,1 - риск резонанса.",
            "Гармоника 13: зона риска от 11,7 до 14,3 - риска нет.",
            "Повышение напряжения при включении наибольшей мощности без нагрузки: dU = 100 · Qку / Sкз = 100 · 75 / "
            "2500 = 3 %.",
            "Вывод: риск резонанса на 11-й гармонике. Выберите установку с защитными реакторами (с расстройкой).",
            "Продолжительность работы с опережающим cos(f) (перекомпенсация): 0 ч в сутки."};
        const int first = doc.find("Трансформатор: ", at);
        QVERIFY(first > at && first <= at + 2);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(doc.body.value(first + i).text, expected[i]);
    }

    void detunedTypeAndNetwork()
    {
        TestData t;
        MessageRecorder rec;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::KUHar});
        resonance_tables::setDetuning(*t.store, t.data->tblProj2->asInteger("KodKU1"), 7);
        setSupply(*t.data, {"1000", "6", "500", "5, 7"});
        const SavedReport doc = run(*t.data);
        const int at = doc.find("Sкз = 1 / (uк / (100 · Sт) + 1 / (1000 · Sкз.с))");
        QCOMPARE(doc.body.value(at).text, QStringLiteral("Sкз = 1 / (uк / (100 · Sт) + 1 / (1000 · Sкз.с)) = 1 / (6 / "
                                                         "(100 · 1000) + 1 / (1000 · 500)) = 16129,03 кВА."));
        const int tuned = doc.find("Установка с защитными реакторами");
        QCOMPARE(
            doc.body.value(tuned).text,
            QStringLiteral(
                "Установка с защитными реакторами, p = 7 %: порядок настройки hн = √(100 / p) = √(100 / 7) = 3,78."));
        QCOMPARE(doc.body.value(tuned + 1).text, QStringLiteral("Гармоника 5: hн < 0,9 · 5 = 4,5 - риска нет."));
        QCOMPARE(doc.body.value(tuned + 2).text,
                 QStringLiteral("Гармоника 7: выше порядка настройки реактора - риска нет."));
        QVERIFY(doc.find("Вывод: риска резонанса нет.") > tuned);
    }

    void leftOutWithoutSupplyOrFlag()
    {
        TestData t;
        MessageRecorder rec;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::KUHar});
        QCOMPARE(run(*t.data).find("Проверка резонанса"), -1);
        setSupply(*t.data, {"100", "4", "", "5"});
        QVERIFY(run(*t.data).find("Проверка резонанса") >= 0);
        resonance_tables::setReportFlag(*t.store, t.data->TableReport->currentKod(), false);
        QCOMPARE(run(*t.data).find("Проверка резонанса"), -1);
    }
};

QTEST_GUILESS_MAIN(TestResonanceReport)
#include "test_resonance_report.moc"
