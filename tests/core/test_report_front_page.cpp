// The first page of the reports: title block, the project's note, the summary of the variants with
// the recommended one, the contents list; the engineer as the document's author; a report on one
// variant about that variant alone.
#include "core/data/ReportFrontTables.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/reports/ReportFrontPage.h"
#include "core/reports/WordApplication.h"
#include "ReportFixture.h"
#include "SavedReport.h"
#include "ZipReader.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

Q_DECLARE_METATYPE(QList<VariantSummary>)

class TestReportFrontPage : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

    QString exportWithFront(TDataModule1 &data, bool allVariants, const ReportEngineer &engineer = {})
    {
        setReportFlags(data, {F::ProjName, F::KUHar, F::SutGrKomp, F::SutGrKompScore, F::SutHarKomp, F::SutKompScore,
                              F::MonthHarKomp, F::MonthKompScore, F::YearHarKomp, F::YearKompScore});
        const qint64 kod = data.TableReport->currentKod();
        setReportFront(data.store(), kod, {true, true});
        setReportEngineer(data.store(), kod, engineer);
        WordApplication word;
        word.setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 0)); });
        return exportReport(data, word, m_out.path(), allVariants);
    }

    static QString allText(const SavedReport &doc)
    {
        QStringList parts;
        for (const SavedReport::Block &b : doc.body) {
            if (!b.isTable) {
                parts << b.text;
                continue;
            }
            for (const QStringList &row : b.rows)
                parts << row.join(u'|');
        }
        return parts.join(u'\n');
    }

    static VariantSummary row(int number, std::optional<double> npv, bool cosf = true,
                              std::optional<std::vector<int>> resonance = std::vector<int>{})
    {
        VariantSummary r;
        r.number = number;
        r.type = QStringLiteral("КУ-%1").arg(number);
        r.NPV = npv;
        r.meetsDailyCosf = cosf;
        r.resonance = resonance;
        return r;
    }

private slots:
    void recommendation_data()
    {
        QTest::addColumn<QList<VariantSummary>>("rows");
        QTest::addColumn<int>("recommended"); // index, -1 for none
        QTest::addColumn<QString>("firstLine");
        const auto risk = std::optional<std::vector<int>>(std::vector<int>{11});
        QTest::newRow("largest NPV") << QList<VariantSummary>{row(1, 100), row(2, 300), row(3, 200)} << 1
                                     << "Рекомендуемый вариант - 2 (КУ-2): ЧДД 300,00 грн, наибольший ЧДД";
        QTest::newRow("resonance risk and a failed cos(f) are left out")
            << QList<VariantSummary>{row(1, 100), row(2, 300, true, risk), row(3, 500, false)} << 0
            << "Рекомендуемый вариант - 1 (КУ-1): ЧДД 100,00 грн, наибольший ЧДД";
        QTest::newRow("unchecked resonance counts as no risk")
            << QList<VariantSummary>{row(1, 100), row(2, 300, true, std::nullopt)} << 1
            << "Рекомендуемый вариант - 2 (КУ-2)";
        QTest::newRow("a tie goes to the first")
            << QList<VariantSummary>{row(4, 300), row(5, 300)} << 0 << "Рекомендуемый вариант - 4 (КУ-4)";
        QTest::newRow("no NPV, no recommendation")
            << QList<VariantSummary>{row(1, std::nullopt), row(2, 50, false)} << -1 << "Рекомендуемого варианта нет";
    }

    void recommendation()
    {
        QFETCH(QList<VariantSummary>, rows);
        QFETCH(int, recommended);
        QFETCH(QString, firstLine);
        const std::vector<VariantSummary> list(rows.cbegin(), rows.cend());
        QCOMPARE(recommendedVariant(list).value_or(-1), recommended);
        const QStringList lines = recommendationLines(list, true);
        QVERIFY2(lines.first().startsWith(firstLine), qPrintable(lines.first()));
    }

    void reasonsNameTheVariantsWithRussianForms()
    {
        const auto risk = std::optional<std::vector<int>>(std::vector<int>{5, 7, 11});
        const std::vector<VariantSummary> rows = {row(1, 10, false), row(2, 20, false), row(3, 30, true, risk),
                                                  row(4, 5, true, std::nullopt)};
        const QStringList lines = recommendationLines(rows, true);
        QVERIFY(lines.contains("Суточный cos(fк) не удовлетворяет режиму подбора: варианты 1, 2."));
        QVERIFY(lines.contains("Риск резонанса: вариант 3."));
        QVERIFY(lines.contains("Резонанс не проверялся: не заданы данные питания проекта."));
        // A report on one variant judges that variant and names no other.
        const QStringList own = recommendationLines({rows[2]}, false);
        QCOMPARE(own.join(u' '),
                 QStringLiteral("Риск резонанса на 5-й, 7-й и 11-й гармониках: выберите установку с защитными "
                                "реакторами (с расстройкой)."));
    }

    void summaryCellsInFixedNotation()
    {
        VariantSummary r = row(7, 3.52165591005859e15);
        r.Qk = 75;
        r.price = 12000;
        r.saving = 1234567.891;
        r.payback = 0.004;
        r.IRR = 208.48;
        r.DPP = 0.52;
        r.resonance = std::vector<int>{11, 13};
        QCOMPARE(summaryCells(r), (QStringList{"7", "КУ-7", "75", "12000,00", "1234567,89", "0,00",
                                               "3521655910058590,00", "208,48", "0,52", "риск: 11, 13"}));
        QCOMPARE(summaryCells(r).size(), summaryHeader().size());
    }

    void projectReportOpensWithTitleSummaryAndContents()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        TTable &project = *t.data->tblProj0;
        project.edit();
        project.setValue("ProjOwner", "ООО «Завод»");
        project.setValue("ProjMemo", "Замеры 12.11.2026.");
        project.post();
        t.data->tblProj2->locate("VarNum", 2);
        const QString path = exportWithFront(*t.data, true, {"Петренко И. В.", "инженер", "ООО «Энергоаудит»"});
        const SavedReport doc(path);
        QVERIFY(doc.ok);
        const QStringList texts = doc.paragraphTexts();
        QCOMPARE(texts.mid(0, 8), (QStringList{"Полный отчет", "Цех №1.", "", "Заказчик - ООО «Завод».",
                                               "Исполнитель - Петренко И. В., инженер, ООО «Энергоаудит».",
                                               "Дата отчета - 11.12.2026.", "", "Примечание: Замеры 12.11.2026."}));
        const int summary = doc.find("Сводка по вариантам.");
        QVERIFY(summary > 0);
        const SavedReport::Block *table = doc.tableAfter(summary);
        QVERIFY(table);
        QCOMPARE(table->rows.size(), 4);
        QCOMPARE(table->rows[0], summaryHeader());
        for (int v = 0; v < 3; ++v)
            QCOMPARE(table->rows[v + 1].mid(0, 2),
                     (QStringList{QString::number(v + 1), QStringList{"КУ-75", "КУ-60", "КУ-100"}[v]}));
        QVERIFY(doc.find("Рекомендуемый вариант - ", summary) > summary);
        const int contents = doc.find("Содержание.");
        QVERIFY(contents > summary);
        // The list as written, from the headings of levels 1 and 2; the word processor adds the pages.
        QStringList entries;
        for (int i = contents + 2; i < contents + 6; ++i)
            entries << doc.body.value(i).text;
        QCOMPARE(entries, (QStringList{"Сводка по вариантам.", "Конденсаторная установка КУ-75.",
                                       "Характеристика конденсаторной установки.",
                                       "Суточный график нагрузки электроустановки (с компенсацией "
                                       "реактивной мощности)."}));

        const ZipReader zip(path);
        const QString xml = QString::fromUtf8(zip.read("word/document.xml"));
        QVERIFY(xml.contains(" TOC \\o &quot;1-2&quot; \\h \\z \\u "));
        QVERIFY(zip.read("word/settings.xml").contains("w:updateFields"));
        // Headings carry the heading styles with their outline levels.
        const QString styles = QString::fromUtf8(zip.read("word/styles.xml"));
        QVERIFY(styles.contains("w:styleId=\"Heading1\""));
        QVERIFY(styles.contains("w:styleId=\"Heading2\""));
        QVERIFY(styles.contains("<w:outlineLvl w:val=\"1\"/>"));
        QVERIFY(xml.contains("<w:pStyle w:val=\"Heading1\"/>"));
        // The engineer is the author; the customer stays in the text only.
        const QString core = QString::fromUtf8(zip.read("docProps/core.xml"));
        QVERIFY(core.contains("<dc:creator>Петренко И. В.</dc:creator>"));
        QVERIFY(!core.contains("Завод"));
        QCOMPARE(t.data->tblProj2->asString("VarNum"), QStringLiteral("2"));
    }

    void variantReportIsAboutItsVariant()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        TTable &v = *t.data->tblProj2;
        QStringList others;
        for (v.first(); !v.eof(); v.next()) {
            if (v.asString("VarNum") != QLatin1String("2"))
                others << v.asString("D$Ws_g") << v.asString("Wak") << v.asString("TipKU");
        }
        v.locate("VarNum", 2);
        const QString mine = v.asString("D$Ws_g");
        const SavedReport doc(exportWithFront(*t.data, false));
        QVERIFY(doc.ok);
        QCOMPARE(doc.paragraphTexts().mid(0, 3),
                 (QStringList{"Полный отчет", "Цех №1.", "Вариант компенсации 2: КУ-60."}));
        const SavedReport::Block *table = doc.tableAfter(doc.find("Сводка по варианту."));
        QVERIFY(table);
        QCOMPARE(table->rows.size(), 2);
        const QString text = allText(doc);
        QVERIFY(text.contains(mine));
        QVERIFY(!text.contains("Вариант 1."));
        QVERIFY(!text.contains("Вариант 3."));
        for (const QString &value : others)
            QVERIFY2(!text.contains(value), qPrintable(value));
        // The calculation blocks show the variant once each: daily, monthly, yearly.
        QCOMPARE(text.count("Вариант 2."), 3);
    }

    void noEngineerNoAuthor()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        const ZipReader zip(exportWithFront(*t.data, true));
        QVERIFY(!zip.read("docProps/core.xml").contains("dc:creator"));
        QCOMPARE(SavedReport(exportWithFront(*t.data, true)).find("Исполнитель - "), -1);
    }

    void settingsKeepTheFrontBesideTheRecord()
    {
        TestData t;
        TTable &report = *t.data->TableReport;
        // Every delivered setting opens with the summary and the contents.
        for (report.first(); !report.eof(); report.next()) {
            const ReportFront front = reportFront(*t.store, report.currentKod());
            QVERIFY(front.summary && front.contents);
        }
        report.first();
        const qint64 kod = report.currentKod();
        setReportEngineer(*t.store, kod, {" Петренко И. В. ", "", "ООО «Энергоаудит»"});
        QCOMPARE(reportEngineer(*t.store, kod).text(), QStringLiteral("Петренко И. В., ООО «Энергоаудит»"));
        setReportFront(*t.store, kod, {false, true});
        QCOMPARE(reportFront(*t.store, kod).summary, false);
        report.remove();
        QVERIFY(reportEngineer(*t.store, kod).isEmpty());
        QCOMPARE(t.store->scalar(QString("SELECT count(*) FROM \"report_front.db\" WHERE \"Kod\"=%1").arg(kod)).toInt(),
                 0);

        // A store of the first format gets them on opening, on for each of its records.
        toFirstFormat(*t.store);
        t.reopen();
        QCOMPARE(
            t.store->scalar("SELECT count(*) FROM \"report.DB\"").toInt(),
            t.store->scalar("SELECT count(*) FROM \"report_front.db\" WHERE \"Summary\"=1 AND \"Contents\"=1").toInt());
    }
};

QTEST_GUILESS_MAIN(TestReportFrontPage)
#include "test_report_front_page.moc"
