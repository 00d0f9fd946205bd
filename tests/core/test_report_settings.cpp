// The report settings as the dialog and the reports use them, and the hints the legends take.
#include "core/hints/Hints.h"
#include "core/reports/ReportSettings.h"
#include "ReportFixture.h"

#include <QFile>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

namespace {

ReportFlagValues allOn()
{
    ReportFlagValues v;
    v.fill(true);
    return v;
}

} // namespace

class TestReportSettings : public QObject {
    Q_OBJECT

private slots:
    void readsTheCurrentRecord()
    {
        TestData t;
        TTable &report = *t.data->TableReport;
        report.first();
        ReportSettings s = ReportSettings::fromCurrentRecord(report);
        QCOMPARE(s.name, QStringLiteral("Полный отчет"));
        QCOMPARE(s.page.paperSize, QStringLiteral("A4"));
        QCOMPARE(s.page.leftMargin, 25);
        QVERIFY(s.on(F::ProjName) && s.on(F::YearKompScore));

        // Values being edited count, posted or not; a null flag is off, a null margin 0.
        report.edit();
        report.setNull("SutGr");
        report.setNull("TopMargin");
        report.setValue("PageNum", "нет");
        s = ReportSettings::fromCurrentRecord(report);
        QVERIFY(!s.on(F::SutGr));
        QVERIFY(s.on(F::SutGrPrim));
        QCOMPARE(s.page.topMargin, 0);
        QCOMPARE(s.page.pageNum, QStringLiteral("нет"));
        report.cancel();

        report.removeAll();
        s = ReportSettings::fromCurrentRecord(report);
        QCOMPARE(s.page.wordDoc, QString());
        QCOMPARE(s.page.rightMargin, 0);
        for (bool on : s.flags)
            QVERIFY(!on);
    }

    void flagTableMatchesTheStore()
    {
        TestData t;
        const TTable &report = *t.data->TableReport;
        QCOMPARE(reportFlags().size(), ReportFlagCount);
        for (int i = 0; i < ReportFlagCount; ++i) {
            const ReportFlagInfo &f = reportFlags()[i];
            QCOMPARE(int(f.flag), i);
            QCOMPARE(report.fieldName(report.fieldIndex("ProjName") + i), f.field);
            QCOMPARE(f.checkBox, "dbchk" + f.field);
        }
        QCOMPARE(subFlags(F::SutGr), (QList<ReportFlag>{F::SutGrPrim, F::SutGrFormula, F::SutGrScore}));
        QCOMPARE(subFlags(F::SutHar), (QList<ReportFlag>{F::SutFormula, F::SutScore}));
        QCOMPARE(subFlags(F::KUHar), QList<ReportFlag>{F::SutGrKomp});
        QVERIFY(subFlags(F::ProjHar).isEmpty());
        QCOMPARE(reportFlagInfo(F::SutGrKompScore).caption, QStringLiteral("Расчеты"));
    }

    void enablingOfSubBoxes()
    {
        ReportFlagValues v = allOn();
        v[size_t(F::SutGr)] = false;
        v[size_t(F::KUHar)] = false;
        const auto boxes = reportFlagBoxes(v);
        for (F f : {F::SutGrPrim, F::SutGrFormula, F::SutGrScore, F::SutGrKomp, F::SutGrKompPrim, F::SutGrKompFormula,
                    F::SutGrKompScore}) {
            QVERIFY(!boxes[size_t(f)].enabled);
            QVERIFY(!boxes[size_t(f)].checked);
        }
        // The other sections with compensation stay as they are.
        for (F f : {F::SutHarKomp, F::SutKompPrim, F::YearKompScore, F::SutFormula}) {
            QVERIFY(boxes[size_t(f)].enabled);
            QVERIFY(boxes[size_t(f)].checked);
        }
        // KUHar on but SutGrKomp off: SutGrKomp can be ticked, its three cannot.
        v[size_t(F::KUHar)] = true;
        v[size_t(F::SutGrKomp)] = false;
        const auto again = reportFlagBoxes(v);
        QVERIFY(again[size_t(F::SutGrKomp)].enabled);
        QVERIFY(!again[size_t(F::SutGrKomp)].checked);
        QVERIFY(!again[size_t(F::SutGrKompPrim)].enabled);
    }

    void uncheckingAMainBox()
    {
        // While editing, the flags under it are cleared, and checking it again leaves them clear.
        ReportFlagValues v = afterMainFlagChange(allOn(), F::SutGr, false, true);
        for (F f : {F::SutGr, F::SutGrPrim, F::SutGrFormula, F::SutGrScore})
            QVERIFY(!v[size_t(f)]);
        QVERIFY(v[size_t(F::SutHar)] && v[size_t(F::SutFormula)]);
        v = afterMainFlagChange(v, F::SutGr, true, true);
        QVERIFY(v[size_t(F::SutGr)]);
        QVERIFY(!v[size_t(F::SutGrPrim)]);
        QVERIFY(reportFlagBoxes(v)[size_t(F::SutGrPrim)].enabled);

        v = afterMainFlagChange(allOn(), F::KUHar, false, true);
        for (F f : {F::SutGrKomp, F::SutGrKompPrim, F::SutGrKompFormula, F::SutGrKompScore})
            QVERIFY(!v[size_t(f)]);
        QVERIFY(v[size_t(F::SutHarKomp)] && v[size_t(F::SutKompScore)]);

        // Not editing (another record became current): nothing but the main flag changes.
        v = afterMainFlagChange(allOn(), F::KUHar, false, false);
        QVERIFY(v[size_t(F::SutGrKomp)] && v[size_t(F::SutGrKompScore)]);
        QVERIFY(!reportFlagBoxes(v)[size_t(F::SutGrKomp)].enabled);
    }

    void choices()
    {
        QCOMPARE(paperSizeChoices()[1].caption, QStringLiteral("А4 (21 х 29,7 см)"));
        QCOMPARE(paperSizeChoices()[1].value, QStringLiteral("A4"));
        QCOMPARE(paperSizeChoices()[1].value.at(0).unicode(), u'A'); // Latin
        QCOMPARE(pageNumChoices().size(), 3);
        QCOMPARE(wordDocChoices()[1].value, QStringLiteral("текущий"));
    }

    void samplePictures()
    {
        for (const ReportFlagInfo &f : reportFlags()) {
            QVERIFY2(reportSampleExists(f.checkBox), qPrintable(f.checkBox));
            QFile picture(reportSamplePath(f.checkBox));
            QVERIFY(picture.open(QIODevice::ReadOnly));
            QVERIFY(picture.read(8).startsWith("\x89PNG"));
            QCOMPARE(reportSampleNote(f.checkBox, true),
                     f.flag == F::ProjName ? QStringLiteral("см. подчеркнутое.") : QStringLiteral("см. фрагмент."));
        }
        QVERIFY(!reportSampleExists("dbchkНет"));
        QCOMPARE(reportSampleNote("dbchkProjName", false), QStringLiteral("файл не найден."));
    }

    void hintLookUp()
    {
        TestData t;
        TTable &hints = *t.data->TableHints;
        hints.removeAll();
        appendRow(hints, {{"TableName", "project2.db"}, {"FieldName", "Kp"}, {"FieldHint", "Первая"}});
        appendRow(hints, {{"TableName", "project2.db"}, {"FieldName", "Kp"}, {"FieldHint", "Вторая"}});
        appendRow(hints, {{"TableName", "project2.DB"}, {"FieldName", "Wak"}, {"FieldHint", "Регистр"}});
        hints.first();
        QCOMPARE(LookUpHint(*t.data, "project2.db", "Kp"), QStringLiteral("Первая"));
        QCOMPARE(LookUpHint(*t.data, "project2.db", "kp"), QString());
        QCOMPARE(LookUpHint(*t.data, "project2.db", "Wak"), QString());
        QCOMPARE(LookUpHint(*t.data, "project2.db", "K"), QString());
        // The shared cursor stays where the user left it, filtered or not.
        hints.last();
        hints.setFilter("FieldName='Wak'");
        hints.setFiltered(true);
        QCOMPARE(LookUpHint(*t.data, "project2.db", "Kp"), QStringLiteral("Первая"));
        QCOMPARE(hints.asString("FieldHint"), QStringLiteral("Регистр"));
    }

    void legendForm_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("legend");
        QTest::newRow("Cyrillic capital") << "Коэффициент Kп"
                                          << "коэффициент Kп";
        QTest::newRow("Latin capital") << "Tg(f) периода"
                                       << "tg(f) периода";
        QTest::newRow("Ё") << "Ёмкость"
                           << "ёмкость";
        QTest::newRow("already lower") << "время"
                                       << "время";
        QTest::newRow("digit") << "2 модуля"
                               << "2 модуля";
        QTest::newRow("empty") << ""
                               << "";
    }

    void legendForm()
    {
        QFETCH(QString, hint);
        QFETCH(QString, legend);
        QCOMPARE(HintLegendForm(hint), legend);
    }
};

QTEST_GUILESS_MAIN(TestReportSettings)
#include "test_report_settings.moc"
