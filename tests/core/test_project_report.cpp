// The project and variant reports as the user gets them: the saved document read back.
#include "core/hints/Hints.h"
#include "core/reports/DocumentOpener.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/WordApplication.h"
#include "MessageRecorder.h"
#include "ReportFixture.h"
#include "SavedReport.h"

#include <QDir>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;
using F = ReportFlag;

class TestProjectReport : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

    SavedReport run(TDataModule1 &data, bool allVariants)
    {
        WordApplication word;
        return SavedReport(exportReport(data, word, m_out.path(), allVariants));
    }

    static QStringList column(const SavedReport::Block &table, int c)
    {
        QStringList values;
        for (const QStringList &row : table.rows)
            values << row.value(c);
        return values;
    }

private slots:
    void everyFlagOffGivesOnlyThePreparedDocument_data()
    {
        QTest::addColumn<QString>("pageNum");
        QTest::addColumn<int>("headerFields");
        QTest::addColumn<int>("footerFields");
        QTest::newRow("footer") << "в нижнем колонтитуле" << 0 << 1;
        QTest::newRow("header") << "в верхнем колонтитуле" << 1 << 0;
        QTest::newRow("none") << "нет" << 0 << 0;
        QTest::newRow("any other value: footer") << "внизу" << 0 << 1;
    }

    void everyFlagOffGivesOnlyThePreparedDocument()
    {
        QFETCH(QString, pageNum);
        QFETCH(int, headerFields);
        QFETCH(int, footerFields);
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {});
        setReportValue(*t.data, "PageNum", pageNum);
        setReportValue(*t.data, "TopMargin", 20);
        setReportValue(*t.data, "BottomMargin", 25);
        setReportValue(*t.data, "LeftMargin", 10);
        setReportValue(*t.data, "PaperOrient", "альбомная");

        const SavedReport doc = run(*t.data, true);
        QVERIFY(doc.ok);
        QCOMPARE(doc.body.size(), 1);
        QCOMPARE(doc.body[0].text, QString());
        const XmlElement *margins = doc.sectPr.child("w:pgMar");
        QVERIFY(margins);
        // 20, 25 and 10 mm are 57, 71 and 28 points; the file keeps twentieths of a point.
        QCOMPARE(margins->attribute("w:top"), QStringLiteral("1140"));
        QCOMPARE(margins->attribute("w:bottom"), QStringLiteral("1420"));
        QCOMPARE(margins->attribute("w:left"), QStringLiteral("560"));
        QCOMPARE(doc.sectPr.child("w:pgSz")->attribute("w:orient"), QStringLiteral("landscape"));
        QCOMPARE(doc.pageFields(doc.header), headerFields);
        QCOMPARE(doc.pageFields(doc.footer), footerFields);
    }

    void projectReportHasEveryInstallationAndTheVariantsTable()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        t.data->tblProj2->locate("VarNum", 2);
        setReportFlags(*t.data, {F::KUHar, F::SutGrKomp, F::SutHarKomp});

        const SavedReport doc = run(*t.data, true);
        int at = -1;
        const QStringList types = {"КУ-75", "КУ-60", "КУ-100"};
        for (int v = 0; v < 3; ++v) {
            at = doc.find("Конденсаторная установка ", at + 1);
            QVERIFY2(at >= 0, qPrintable(QString::number(v)));
            QCOMPARE(doc.body[at].text, "Конденсаторная установка " + types[v] + ".");
            QVERIFY(doc.body[at].runs.first().bold);
            QCOMPARE(doc.body[doc.find("Вариант компенсации - ", at)].text,
                     QStringLiteral("Вариант компенсации - %1.").arg(v + 1));
            const SavedReport::Block *periods = doc.tableAfter(at);
            QVERIFY(periods);
            QCOMPARE(periods->rows.size(), 3); // header and the two periods
            QCOMPARE(periods->rows[0].size(), 17);
            QCOMPARE(periods->rows[0][5], QStringLiteral("Qк, кВАр"));
            QCOMPARE(periods->alignment, QStringLiteral("center"));
        }
        QCOMPARE(doc.find("Конденсаторная установка ", at + 1), -1);
        QCOMPARE(doc.find("Характеристика конденсаторной установки."), doc.find("Конденсаторная установка ") + 2);

        const int daily = doc.find("Суточные характеристики электроустановки (с компенсацией реактивной мощности).");
        QVERIFY(daily > at);
        const SavedReport::Block *table = doc.tableAfter(daily);
        QVERIFY(table);
        QCOMPARE(table->rows.size(), 4);
        QCOMPARE(table->rows[0].size(), 16);
        QCOMPARE(table->rows[0].mid(0, 3), (QStringList{"Вариант", "Kп", "cos(fк)"}));
        QCOMPARE(column(*table, 0), (QStringList{"Вариант", "1", "2", "3"}));
        QCOMPARE(column(*table, 1), (QStringList{"Kп", "0,12", "0,12", "0,12"}));
        // The variant selected before the export is selected again.
        QCOMPARE(t.data->tblProj2->asString("VarNum"), QStringLiteral("2"));
        QCOMPARE(t.data->tblProj5->asString("Stup"), QStringLiteral("20"));
    }

    void variantReportTurnsTheTotalsSideways()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        t.data->tblProj2->locate("VarNum", 2);
        setReportFlags(*t.data, {F::KUHar, F::SutHarKomp, F::SutKompPrim, F::MonthHarKomp, F::YearHarKomp});

        const SavedReport doc = run(*t.data, false);
        QCOMPARE(doc.find("Вариант компенсации - "), -1);
        QCOMPARE(doc.find("Конденсаторная установка "), -1);
        QCOMPARE(doc.body[doc.find("Тип - ")].text, QStringLiteral("Тип - КУ-60."));
        QCOMPARE(doc.body[doc.find("Количество и мощность модулей - ")].text,
                 QStringLiteral("Количество и мощность модулей - 3x20 кВАр."));
        QCOMPARE(doc.body[doc.find("Режим подбора")].text,
                 QStringLiteral("Режим подбора модулей (батарей) - cos(f) в заданном диапазоне значений "
                                "(минимально допустимый cos(f) = 0,92;  максимально допустимый cos(f) = 0,98)."));

        const struct {
            const char *title;
            int rows;
            QString firstTitle, lastTitle;
        } sections[] = {
            {"Суточные характеристики электроустановки (с компенсацией реактивной мощности).", 15, "Kп", "d$Wsк, грн."},
            {"Месячные характеристики электроустановки (с компенсацией реактивной мощности).", 12, "Wpкм, кВтч",
             "d$Wsкм, грн"},
            {"Годовые характеристики электроустановки (с компенсацией реактивной мощности).", 13, "Wpкг, кВтч",
             "Срок, лет"},
        };
        TTable &v = *t.data->tblProj2;
        for (const auto &s : sections) {
            const int at = doc.find(QString::fromUtf8(s.title));
            QVERIFY2(at >= 0, s.title);
            const SavedReport::Block *table = doc.tableAfter(at);
            QCOMPARE(table->rows.size(), s.rows);
            for (const QStringList &row : table->rows)
                QCOMPARE(row.size(), 3);
            QCOMPARE(table->alignment, QStringLiteral("left"));
            QCOMPARE(table->rows.first()[1], s.firstTitle);
            QCOMPARE(table->rows.last()[1], s.lastTitle);
        }
        const SavedReport::Block *daily = doc.tableAfter(doc.find(QString::fromUtf8(sections[0].title)));
        QCOMPARE(daily->rows[0], (QStringList{LookUpHint(*t.data, "project2.db", "Kp"), "Kп", v.asString("Kp")}));
        QCOMPARE(daily->rows[3],
                 (QStringList{LookUpHint(*t.data, "project2.db", "Wak"), "Wpк, кВтч", v.asString("Wak")}));
        // No legend in the variant report, whatever its flag says.
        QCOMPARE(doc.find("где"), -1);
        QCOMPARE(v.asString("VarNum"), QStringLiteral("2"));
    }

    void modeLineWithOnlyTheRequiredCosf()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        t.data->tblProj2->locate("VarNum", 3);
        setReportFlags(*t.data, {F::KUHar});
        const SavedReport doc = run(*t.data, false);
        const int at = doc.find("Режим подбора модулей (батарей) - ");
        QCOMPARE(doc.body[at].text, QStringLiteral("Режим подбора модулей (батарей) - минимальное отклонение cos(f) от "
                                                   "требуемого значения (требуемый cos(f) = 0,95)."));
        QCOMPARE(doc.body[at + 1].text, QString()); // the empty paragraph after it
        QVERIFY(!doc.body[at].runs.first().bold);
        QCOMPARE(doc.body[at].runs.first().font, QStringLiteral("Times New Roman"));
    }

    void selectionModeText_data()
    {
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("tr");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << ""
                              << ""
                              << ""
                              << "режим";
        QTest::newRow("min") << "0,9"
                             << ""
                             << ""
                             << "режим (минимально допустимый cos(f) = 0,9)";
        QTest::newRow("max") << ""
                             << "0,99"
                             << ""
                             << "режим (максимально допустимый cos(f) = 0,99)";
        QTest::newRow("both, two blanks")
            << "0,9"
            << "0,99"
            << ""
            << "режим (минимально допустимый cos(f) = 0,9;  максимально допустимый cos(f) = 0,99)";
        QTest::newRow("required") << ""
                                  << ""
                                  << "0,95"
                                  << "режим (требуемый cos(f) = 0,95)";
    }

    void selectionModeText()
    {
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, tr);
        QFETCH(QString, expected);
        QCOMPARE(korvan::selectionModeText("режим", min, max, tr), expected);
    }

    void totalsTablesWithoutCompensation()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::SutHar, F::MonthHar, F::YearHar});
        // A field without a hint leaves the first cell empty.
        TTable &hints = *t.data->TableHints;
        QVERIFY(hints.locate(QStringList{"TableName", "FieldName"}, QVariantList{"project0.db", "Tgfe"}));
        hints.remove();

        const SavedReport doc = run(*t.data, true);
        const QList<const SavedReport::Block *> tables = doc.tables();
        QCOMPARE(tables.size(), 3);
        QCOMPARE(tables[0]->rows.size(), 11);
        QCOMPARE(tables[1]->rows.size(), 6);
        QCOMPARE(tables[2]->rows.size(), 6);
        const TTable &p = *t.data->tblProj0;
        QCOMPARE(tables[0]->rows[0],
                 (QStringList{LookUpHint(*t.data, "project0.db", "Cosfe"), "cos(f)", p.asString("Cosfe")}));
        QCOMPARE(tables[0]->rows[1], (QStringList{QString(), "tg(f)", p.asString("Tgfe")}));
        QCOMPARE(tables[0]->rows[5][1], QStringLiteral("Рср, кВт"));
        QCOMPARE(tables[2]->rows[5],
                 (QStringList{LookUpHint(*t.data, "project0.db", "$Ws_g"), "$Wsг, грн", p.asString("$Ws_g")}));
        QVERIFY(!p.asString("$Ws_g").isEmpty());
        QCOMPARE(tables[1]->alignment, QStringLiteral("left"));
    }

    void projectPartAndLegend()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName, F::ProjHar, F::SutGr, F::SutGrPrim, F::SutHarKomp, F::SutKompPrim});
        // A column whose field has no hint is left out of the legend.
        TTable &hints = *t.data->TableHints;
        QVERIFY(hints.locate(QStringList{"TableName", "FieldName"}, QVariantList{"project1.db", "Cosf"}));
        hints.remove();
        QVERIFY(hints.locate(QStringList{"TableName", "FieldName"}, QVariantList{"project2.db", "Kp"}));
        hints.edit();
        hints.setValue("FieldHint", "Коэффициент потерь");
        hints.post();

        const SavedReport doc = run(*t.data, true);
        // The title block: the report's name, the project's name, the date; no customer line for a
        // project without an owner, no engineer line without an engineer.
        QCOMPARE(doc.body[0].text, QStringLiteral("Полный отчет"));
        QCOMPARE(doc.body[0].runs.first().halfPoints, 32);
        QCOMPARE(doc.body[1].text, QStringLiteral("Цех №1."));
        QCOMPARE(doc.body[1].runs.first().halfPoints, 28);
        QVERIFY(doc.body[1].runs.first().bold);
        QCOMPARE(doc.body[3].text,
                 QStringLiteral("Дата отчета - ") + QDate::currentDate().toString("dd.MM.yyyy") + ".");
        QCOMPARE(doc.body[4].text, QString());
        QCOMPARE(doc.body[5].text, QStringLiteral("Характеристика проекта."));
        QCOMPARE(doc.paragraphTexts().mid(7, 5), (QStringList{"Тариф на активную электроэнергию - 0,715 грн/кВтч.",
                                                              "Тариф на реактивную электроэнергию - 0,02 грн/кВАрч.",
                                                              "Среднее количество рабочих дней в месяце - 21.",
                                                              "Среднее количество рабочих дней в году - 260.", ""}));

        const int periods =
            doc.find("Суточный график нагрузки электроустановки (без компенсации реактивной мощности).");
        const SavedReport::Block *table = doc.tableAfter(periods);
        QCOMPARE(table->rows.size(), 3);
        QCOMPARE(table->rows[0].first(), QStringLiteral("T1, ч"));
        QCOMPARE(table->rows[0][8], QStringLiteral("Wр, кВтч")); // the field's display label
        QCOMPARE(table->rows[1].mid(0, 4), (QStringList{"0", "8", "100", "80"}));

        int at = doc.find("где", periods);
        QVERIFY(at > periods);
        const QString t1 = HintLegendForm(LookUpHint(*t.data, "project1.db", "T1"));
        QVERIFY(t1.at(0).isLower());
        QCOMPARE(doc.body[at + 1].text, "T1, ч - " + t1 + ";");
        QCOMPARE(doc.body[at + 1].runs.first().halfPoints, 20);
        QCOMPARE(doc.body[at].runs.first().halfPoints, 20);
        QStringList legend;
        for (int i = at + 1; !doc.body[i].text.isEmpty(); ++i)
            legend << doc.body[i].text.section(" - ", 0, 0);
        QCOMPARE(legend, (QStringList{"T1, ч", "T2, ч", "P, кВт", "Q, кВАр", "S, кВА", "I, А", "tg(f)", "Wp, кВтч",
                                      "Wq, кВАрч", "Ws, кВАч", "$Wp, грн.", "$Wq, грн", "$Ws, грн"}));
        QVERIFY(doc.body[at + legend.size()].text.endsWith(u'.'));

        at = doc.find("где", at + 1);
        QCOMPARE(doc.body[at + 1].text, QStringLiteral("Вариант - вариант компенсации реактивной мощности;"));
        QCOMPARE(doc.body[at + 2].text, QStringLiteral("Kп - коэффициент потерь;"));
        QVERIFY(doc.body[at + 16].text.startsWith(QStringLiteral("d$Wsк, грн. - ")));
        QVERIFY(doc.body[at + 16].text.endsWith(u'.'));
        QCOMPARE(doc.body[at + 17].text, QString());
    }

    void progressAndClosingSteps()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::KUHar});
        QList<QPair<int, int>> steps;
        QList<bool> busy;
        WordApplication word;
        word.setTargetFile(m_out.filePath("progress.docx"));
        ExportProjectReport(*t.data, word, true,
                            {[&](int v, int m) {
                                 steps.append({v, m});
                             },
                             [&](bool b) { busy.append(b); }});
        // 2 × 3 variants + 6; the seven sections and six installation steps stop at the maximum.
        QCOMPARE(steps.first(), qMakePair(0, 12));
        QList<int> values;
        for (const auto &s : steps.mid(1, steps.size() - 3))
            values << s.first;
        QCOMPARE(values, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(steps.mid(steps.size() - 2), (QList<QPair<int, int>>{{12, 12}, {0, 12}}));
        QCOMPARE(busy, (QList<bool>{true, false}));

        steps.clear();
        word.setTargetFile(m_out.filePath("progress2.docx"));
        ExportProjectReport(*t.data, word, false, {[&](int v, int m) { steps.append({v, m}); }, {}});
        QCOMPARE(steps.first(), qMakePair(0, 8));
        QCOMPARE(steps.last(), qMakePair(0, 8));
    }

    void failureStillRunsTheClosingSteps()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName});
        // Margins wider than the paper: the page setup refuses them.
        setReportValue(*t.data, "LeftMargin", 150);
        setReportValue(*t.data, "RightMargin", 100);
        MessageRecorder messages;
        struct Opener : DocumentOpener {
            QStringList opened;
            bool open(const QString &path) override
            {
                opened << path;
                return true;
            }
        } opener;
        DocumentOpener *previous = DocumentOpener::install(&opener);
        QList<bool> busy;
        QList<QPair<int, int>> steps;
        WordApplication word;
        word.setFolder(m_out.filePath("failed"));
        QVERIFY_THROWS_EXCEPTION(KorvanError, ExportProjectReport(*t.data, word, true,
                                                                  {[&](int v, int m) {
                                                                       steps.append({v, m});
                                                                   },
                                                                   [&](bool b) { busy.append(b); }}));
        DocumentOpener::install(previous);
        QCOMPARE(busy, (QList<bool>{true, false}));
        QCOMPARE(steps.last().first, 0);
        // A report that stopped halfway is neither saved nor shown as if it were whole.
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(!QDir(m_out.filePath("failed")).exists() || QDir(m_out.filePath("failed")).isEmpty());

        // The command-line program's file is left alone.
        const QString target = m_out.filePath("never.docx");
        word.setTargetFile(target);
        QVERIFY_THROWS_EXCEPTION(KorvanError, ExportProjectReport(*t.data, word, true));
        QVERIFY(!QFile::exists(target));
    }

    void currentDocumentCollectsReports()
    {
        TestData t;
        createThreeVariantProject(*t.data);
        setReportFlags(*t.data, {F::ProjName});
        setReportValue(*t.data, "WordDoc", "текущий");
        MessageRecorder messages; // no application opens documents here: the user is told where it is
        WordApplication word;
        word.setFolder(m_out.filePath("current"));
        ExportProjectReport(*t.data, word, true);
        const QString first = word.documentPath();
        ExportProjectReport(*t.data, word, false);
        QCOMPARE(word.documentPath(), first);
        QCOMPARE(messages.informations.size(), 2);
        QVERIFY(messages.informations.last().contains(QDir::toNativeSeparators(first)));
        const SavedReport doc(first);
        QCOMPARE(doc.paragraphTexts().count(QStringLiteral("Цех №1.")), 2);
        // One page number, not one per report.
        QCOMPARE(doc.pageFields(doc.footer), 1);
        QCOMPARE(QDir(m_out.filePath("current")).entryList(QDir::Files).size(), 1);

        setReportValue(*t.data, "WordDoc", "новый");
        ExportProjectReport(*t.data, word, true);
        QVERIFY(word.documentPath() != first);
        QCOMPARE(SavedReport(word.documentPath()).paragraphTexts().count(QStringLiteral("Цех №1.")), 1);
        QCOMPARE(QDir(m_out.filePath("current")).entryList(QDir::Files).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestProjectReport)
#include "test_project_report.moc"
