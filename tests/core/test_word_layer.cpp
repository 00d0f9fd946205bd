// The Word layer the reports and chart exports write through, and the run's document.
#include "core/reports/DesktopOpener.h"
#include "core/reports/DocumentOpener.h"
#include "core/reports/PageMargins.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"
#include "MessageRecorder.h"
#include "SavedReport.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestWordLayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_saved = 0;

    SavedReport save(WordApplication &word)
    {
        const QString path = m_dir.filePath(QStringLiteral("слой %1.docx").arg(++m_saved));
        word.setTargetFile(path);
        DisconnectWord(word);
        return SavedReport(path);
    }

private slots:
    void millimetresToPoints_data()
    {
        QTest::addColumn<int>("mm");
        QTest::addColumn<float>("points");
        QTest::newRow("20 mm: 56,72") << 20 << 57.0f;
        QTest::newRow("25 mm: 70,9") << 25 << 71.0f;
        QTest::newRow("10 mm: 28,36") << 10 << 28.0f;
        QTest::newRow("0") << 0 << 0.0f;
        QTest::newRow("125 mm: 354,5 to the even 354") << 125 << 354.0f;
        QTest::newRow("375 mm: 1063,5 to the even 1064") << 375 << 1064.0f;
        QTest::newRow("-10 mm") << -10 << -28.0f;
    }

    void millimetresToPoints()
    {
        QFETCH(int, mm);
        QFETCH(float, points);
        QCOMPARE(MillimetresToPoints(mm), points);
    }

    void unknownPaperAndOrientationLeaveTheDocumentAlone()
    {
        WordApplication word;
        ReportPageSettings page;
        page.wordDoc = "новый";
        page.paperSize = "A5";
        page.paperOrient = "альбомная";
        page.pageNum = "нет";
        PrepareReportDocument(word, page);
        // Appended to the current document with values it does not know: paper and orientation stay.
        page.wordDoc = "текущий";
        page.paperSize = "А4"; // Cyrillic А
        page.paperOrient = "боком";
        PrepareReportDocument(word, page);
        QCOMPARE(word.activeDocument().pageSetup().paperSize(), wdPaperA5);
        QCOMPARE(word.activeDocument().pageSetup().orientation(), wdOrientLandscape);
        page.paperSize = "A3";
        page.paperOrient = "книжная";
        PrepareReportDocument(word, page);
        QCOMPARE(word.activeDocument().pageSetup().paperSize(), wdPaperA3);
        QCOMPARE(word.activeDocument().pageSetup().orientation(), wdOrientPortrait);
        // Anything but "новый" keeps writing into the open document; "новый" starts another.
        WordDocument *first = &word.activeDocument();
        page.wordDoc = "другой";
        PrepareReportDocument(word, page);
        QCOMPARE(&word.activeDocument(), first);
        page.wordDoc = "новый";
        PrepareReportDocument(word, page);
        QVERIFY(word.activeDocument().pageSetup().paperSize() == wdPaperA3);
    }

    void textSuperscriptAndTable_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("3 x 15") << 3 << 15;
        QTest::newRow("16 x 4") << 16 << 4;
        QTest::newRow("1 x 1") << 1 << 1;
    }

    void textSuperscriptAndTable()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        WordApplication word;
        PrepareReportDocument(word, {});
        WriteWordHeading(word, "Заголовок.\r\r");
        WriteWordText(word, "x =");
        WriteWordSuperscript(word, "2");
        WriteWordText(word, "\r");
        QString cells;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                cells += QStringLiteral("%1.%2\t").arg(r).arg(c);
        word.activeDocument().selection().insertAfter(cells);
        FinishReportTable(word, columns, wdAlignParagraphCenter);
        WriteWordText(word, "после");

        const SavedReport doc = save(word);
        QCOMPARE(doc.body[0].text, QStringLiteral("Заголовок."));
        QVERIFY(doc.body[0].runs.first().bold);
        QCOMPARE(doc.body[2].runs.size(), 2);
        QCOMPARE(doc.body[2].runs[1].text, QStringLiteral(" 2"));
        QVERIFY(doc.body[2].runs[1].superscript);
        QVERIFY(!doc.body[2].runs[0].superscript);
        QCOMPARE(doc.body[2].runs[1].font, QStringLiteral("Times New Roman Cyr"));
        const SavedReport::Block *table = doc.tableAfter(2);
        QVERIFY(table);
        QCOMPARE(table->rows.size(), rows);
        QCOMPARE(table->rows.last().size(), columns);
        QCOMPARE(table->rows.last().last(), QStringLiteral("%1.%2").arg(rows - 1).arg(columns - 1));
        QCOMPARE(table->alignment, QStringLiteral("center"));
        // A new paragraph below the table, then the text written after it.
        QCOMPARE(doc.body.last().text, QStringLiteral("после"));
        QCOMPARE(doc.body[doc.body.size() - 2].text, QString());
    }

    void formulaMarks()
    {
        WordApplication word;
        OpenWordDocument(word);
        FormatWordSelection(word, "Times New Roman", 12, false, false);
        WriteWordFormula(word, "S = (P^{2} + Q^{2})^{1/2} = 5 кВА.");
        const SavedReport doc = save(word);
        QStringList parts;
        for (const SavedReport::Run &r : doc.body[0].runs)
            parts << (r.superscript ? "^" : "") + r.text;
        QCOMPARE(parts, (QStringList{"S = (P", "^ 2", " + Q", "^ 2", ")", "^ 1/2", " = 5 кВА."}));
    }

    void pictureIsStoredAndItsFileDeleted()
    {
        const QString path = m_dir.filePath("myhelp.bmp");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(makeBmp(6, 4));
        file.close();
        WordApplication word;
        OpenWordDocument(word);
        InsertWordPicture(word, path);
        WriteWordText(word, "Легенда.");
        QVERIFY(!QFile::exists(path));
        QCOMPARE(word.activeDocument().pictures().size(), 1);
        const SavedReport doc = save(word);
        QCOMPARE(doc.body.size(), 3); // the picture's paragraph, an empty one, the text
        QCOMPARE(doc.body[2].text, QStringLiteral("Легенда."));
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Цех №1"
                               << "Цех №1 2024-03-05 07-08-09";
        QTest::newRow("unsafe characters") << "a/b\\c:d*e?f\"g<h>i|j\tk"
                                           << "a_b_c_d_e_f_g_h_i_j k 2024-03-05 07-08-09";
        QTest::newRow("dots and blanks at the ends") << " ..Проект. "
                                                     << "Проект 2024-03-05 07-08-09";
        QTest::newRow("no name") << ""
                                 << "Отчет 2024-03-05 07-08-09";
    }

    void fileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        const QDateTime moment(QDate(2024, 3, 5), QTime(7, 8, 9));
        QCOMPARE(WordApplication::fileNameFor(title, moment), expected);
    }

    void documentsAreNeverOverwrittenAndOpened()
    {
        struct Opener : DocumentOpener {
            QStringList opened;
            bool answer = true;
            bool open(const QString &path) override
            {
                opened << path;
                return answer;
            }
        } opener;
        DocumentOpener *previous = DocumentOpener::install(&opener);
        MessageRecorder messages;
        const QString folder = m_dir.filePath("Korvan Vkp");
        WordApplication word;
        word.setFolder(folder);
        word.setDocumentTitle("Цех");
        word.setClock([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
        QVERIFY(QDir().mkpath(folder));
        QFile other(QDir(folder).filePath("Цех 2024-01-02 03-04-05.docx"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("чужой файл");
        other.close();

        OpenWordDocument(word);
        DisconnectWord(word);
        const QString first = QDir(folder).filePath("Цех 2024-01-02 03-04-05 (2).docx");
        QCOMPARE(word.documentPath(), first);
        QCOMPARE(opener.opened, QStringList{first});
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), QByteArray("чужой файл"));
        QVERIFY(messages.all.isEmpty());

        // The same document is saved again to its own file; a new one gets a name of its own.
        opener.answer = false;
        OpenWordDocument(word);
        DisconnectWord(word);
        QCOMPARE(word.documentPath(), first);
        QCOMPARE(messages.informations.size(), 1);
        QVERIFY(messages.informations.first().contains(QDir::toNativeSeparators(first)));
        word.addDocument();
        DisconnectWord(word);
        QCOMPARE(word.documentPath(), QDir(folder).filePath("Цех 2024-01-02 03-04-05 (3).docx"));

        // A file named by the caller is written there and not opened.
        word.setTargetFile(m_dir.filePath("cli.docx"));
        DisconnectWord(word);
        QVERIFY(QFile::exists(m_dir.filePath("cli.docx")));
        QCOMPARE(opener.opened.size(), 3);
        DocumentOpener::install(previous);
    }

    void pageMargins_data()
    {
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QString>("orient");
        QTest::addColumn<QList<int>>("margins"); // top, bottom, left, right, header, footer
        QTest::addColumn<QString>("field");      // empty: the page is sound
        QTest::addColumn<QString>("message");
        QTest::newRow("delivered") << "A4"
                                   << "книжная" << QList<int>{20, 20, 25, 10, 10, 10} << ""
                                   << "";
        QTest::newRow("20 mm of text left") << "A4"
                                            << "книжная" << QList<int>{0, 0, 100, 90, 0, 0} << ""
                                            << "";
        QTest::newRow("5520 mm typed for 55")
            << "A4"
            << "книжная" << QList<int>{5520, 20, 25, 10, 10, 10} << "TopMargin"
            << "Поля страницы «верхнее» (5520 мм) и «нижнее» (20 мм) оставляют для текста 0 мм высоты листа A4 "
               "(297 мм), а нужно не менее 20 мм.";
        QTest::newRow("19 mm across, the larger one named")
            << "A4"
            << "книжная" << QList<int>{20, 20, 91, 100, 10, 10} << "RightMargin"
            << "Поля страницы «левое» (91 мм) и «правое» (100 мм) оставляют для текста 19 мм ширины листа A4 "
               "(210 мм), а нужно не менее 20 мм.";
        QTest::newRow("landscape is wider") << "A4"
                                            << "альбомная" << QList<int>{20, 20, 130, 130, 10, 10} << ""
                                            << "";
        QTest::newRow("A5 landscape is low")
            << "A5"
            << "альбомная" << QList<int>{70, 60, 20, 20, 10, 10} << "TopMargin"
            << "Поля страницы «верхнее» (70 мм) и «нижнее» (60 мм) оставляют для текста 18 мм высоты листа A5 "
               "(148 мм), а нужно не менее 20 мм.";
        QTest::newRow("negative") << "A4"
                                  << "книжная" << QList<int>{20, 20, -5, 10, 10, 10} << "LeftMargin"
                                  << "Поле страницы «левое» не может быть отрицательным: -5 мм.";
        QTest::newRow("header off the paper")
            << "A3"
            << "книжная" << QList<int>{20, 20, 25, 10, 401, 10} << "HeaderDistance"
            << "Расстояние «до верхнего колонтитула» (401 мм) не помещается на листе A3 высотой 420 мм.";
    }

    void pageMargins()
    {
        QFETCH(QString, paper);
        QFETCH(QString, orient);
        QFETCH(QList<int>, margins);
        QFETCH(QString, field);
        QFETCH(QString, message);
        ReportPageSettings page;
        page.wordDoc = "новый";
        page.paperSize = paper;
        page.paperOrient = orient;
        page.pageNum = "нет";
        page.topMargin = margins[0];
        page.bottomMargin = margins[1];
        page.leftMargin = margins[2];
        page.rightMargin = margins[3];
        page.headerDistance = margins[4];
        page.footerDistance = margins[5];
        const auto problem = checkPageMargins(page);
        QCOMPARE(problem ? problem->field : QString(), field);
        QCOMPARE(problem ? problem->message : QString(), message);

        // The export refuses the same page before it writes anything, and nothing is saved or opened.
        struct Opener : DocumentOpener {
            int opened = 0;
            bool open(const QString &) override { return ++opened, true; }
        } opener;
        DocumentOpener *previous = DocumentOpener::install(&opener);
        WordApplication word;
        const QString folder = m_dir.filePath("поля " + QString(QTest::currentDataTag()));
        word.setFolder(folder);
        try {
            PrepareReportDocument(word, page);
            QVERIFY(field.isEmpty());
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), message);
        }
        if (!field.isEmpty()) {
            DisconnectWord(word, true);
            QCOMPARE(opener.opened, 0);
            QVERIFY(!QDir(folder).exists() || QDir(folder).isEmpty());
        }
        DocumentOpener::install(previous);
    }

    // A report that failed halfway is dropped: never saved, never shown as if whole.
    void failedExportIsNeitherSavedNorOpened()
    {
        struct Opener : DocumentOpener {
            int opened = 0;
            bool open(const QString &) override { return ++opened, true; }
        } opener;
        DocumentOpener *previous = DocumentOpener::install(&opener);
        const QString folder = m_dir.filePath("сбой");
        WordApplication word;
        word.setFolder(folder);
        OpenWordDocument(word);
        WriteWordText(word, "начало отчета");
        DisconnectWord(word, true);
        QCOMPARE(opener.opened, 0);
        QVERIFY(!QDir(folder).exists() || QDir(folder).isEmpty());
        QCOMPARE(word.documentsCount(), 0);
        // The command-line program's named file stays untouched too.
        word.setTargetFile(m_dir.filePath("сбой.docx"));
        OpenWordDocument(word);
        DisconnectWord(word, true);
        QVERIFY(!QFile::exists(m_dir.filePath("сбой.docx")));
        DocumentOpener::install(previous);
    }

    // xdg-open missing or failing hands the file to LibreOffice; with neither, the caller is told.
    void desktopOpenerFallsBackToLibreOffice_data()
    {
        QTest::addColumn<QString>("xdgOpen"); // script body, empty: not installed
        QTest::addColumn<bool>("soffice");
        QTest::addColumn<QString>("openedBy"); // empty: nothing could open it
        QTest::newRow("xdg-open works") << "echo xdg >> \"$OUT\"" << true << "xdg";
        QTest::newRow("xdg-open fails") << "echo failed >> \"$OUT\"; exit 3" << true << "failed\nsoffice";
        QTest::newRow("no xdg-open") << "" << true << "soffice";
        QTest::newRow("nothing") << "" << false << "";
        QTest::newRow("xdg-open fails, no LibreOffice") << "exit 4" << false << "";
    }

    void desktopOpenerFallsBackToLibreOffice()
    {
        QFETCH(QString, xdgOpen);
        QFETCH(bool, soffice);
        QFETCH(QString, openedBy);
        QTemporaryDir bin;
        const QString out = bin.filePath("opened.txt");
        const auto script = [&](const QString &name, const QString &body) {
            QFile f(bin.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        if (!xdgOpen.isEmpty())
            script("xdg-open", xdgOpen);
        if (soffice)
            script("soffice", "echo soffice >> \"$OUT\"");
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("OUT", QFile::encodeName(out));
        DesktopOpener opener;
        const bool opened = opener.open(m_dir.filePath("отчет.docx"));
        qputenv("PATH", oldPath);
        QCOMPARE(opened, !openedBy.isEmpty());
        // LibreOffice is started detached: give it the moment it needs to write.
        const auto written = [&] {
            QFile f(out);
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
        };
        QTRY_COMPARE(written(), openedBy);
    }
};

QTEST_GUILESS_MAIN(TestWordLayer)
#include "test_word_layer.moc"
