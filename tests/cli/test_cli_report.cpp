// The report command of the command-line program, and the report opened by a word processor.
#include "SavedReport.h"
#include "XmlElement.h"
#include "ZipReader.h"

#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using korvan::test::SavedReport;
using korvan::test::XmlElement;
using korvan::test::ZipReader;

class TestCliReport : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
    };

    QTemporaryDir m_dir;
    QString m_project;
    QString m_bare;
    QString m_long; // 60 periods: its load period table spans pages

    // A tool of poppler-utils on a PDF file: its output, or a skip when it is not installed.
    static QString poppler(const QString &tool, const QStringList &args)
    {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            return QString();
        QProcess p;
        p.start(program, args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // How often a number stands whole in a text (not as a piece of a longer one).
    static qsizetype wholeNumbers(const QString &text, const QString &number)
    {
        const QRegularExpression re(QStringLiteral("(?<![\\d,])") + QRegularExpression::escape(number) +
                                    QStringLiteral("(?![\\d,])"));
        return text.count(re);
    }

    Run cli(const QStringList &args, const QByteArray &input = {})
    {
        QProcess p;
        p.start(qEnvironmentVariable("KORVAN_CLI"), QStringList{"--data", m_dir.filePath("data")} + args);
        if (!input.isEmpty())
            p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(120000);
        return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
    }

    QString out(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Run r = cli({"catalogue-import", "-"}, R"([{"Company": "Тест", "types": [
            {"Name": "КУ-75", "Q": 75, "Pp": 0.005, "Unom": 400, "Cena": 10000, "modules": [{"Qstup": 50, "Kol_vo": 1}, {"Qstup": 25, "Kol_vo": 1}]},
            {"Name": "КУ-60", "Q": 60, "Pp": 0.0045, "Unom": 400, "Cena": 8000, "modules": [{"Qstup": 20, "Kol_vo": 3}]},
            {"Name": "КУ-100", "Q": 100, "Pp": 0.005, "Unom": 400, "Cena": 15000, "modules": [{"Qstup": 25, "Kol_vo": 2}, {"Qstup": 50, "Kol_vo": 1}]}]}])");
        QCOMPARE(r.code, 0);
        r = cli({"import", "-"}, R"({"Name": "Цех 1", "MonthDay": 21, "YearDay": 260, "Tarif_a": 0.715, "Tarif_q": 0.02,
            "periods": [{"T1": 0, "T2": 8, "P": 100, "Q": 80}, {"T1": 8, "T2": 12, "P": 150, "Q": 120}, {"T1": 12, "T2": 24, "P": 50, "Q": 30}],
            "variants": [
              {"VarNum": 1, "Company": "Тест", "TipKU": "КУ-75"},
              {"VarNum": 2, "Company": "Тест", "TipKU": "КУ-60", "Rejim": "cos(f) в заданном диапазоне значений", "Cosf_min": 0.92, "Cosf_max": 0.98},
              {"VarNum": 3, "Company": "Тест", "TipKU": "КУ-100", "Rejim": "минимальное отклонение cos(f) от требуемого значения", "Cosf_tr": 0.95}]})");
        QCOMPARE(r.err, QString());
        m_project = QString::number(QJsonDocument::fromJson(r.out)["Kod"].toInt());
        QByteArray periods;
        for (int i = 0; i < 60; ++i)
            periods += QByteArray(i ? "," : "") + QStringLiteral(R"({"T1": %1, "T2": %2, "P": %3, "Q": %4})")
                                                      .arg(i * 0.4)
                                                      .arg((i + 1) * 0.4)
                                                      .arg(1000 + 37.3 * i)
                                                      .arg(700 + 13.1 * i)
                                                      .toUtf8();
        r = cli({"import", "-"}, R"({"Name": "Длинный", "ProjOwner": "ООО «Завод»", "MonthDay": 21, "YearDay": 260,
            "Tarif_a": 0.715, "Tarif_q": 0.02, "periods": [)" +
                                     periods + R"(],
            "variants": [{"VarNum": 1, "Company": "Тест", "TipKU": "КУ-100"}]})");
        QCOMPARE(r.err, QString());
        m_long = QString::number(QJsonDocument::fromJson(r.out)["Kod"].toInt());
        r = cli({"import", "-"}, R"({"Name": "Пустой"})");
        QCOMPARE(r.code, 0);
        m_bare = QString::number(QJsonDocument::fromJson(r.out)["Kod"].toInt());
    }

    void projectAndVariantReports()
    {
        Run r = cli({"report", m_project, "--out", out("проект.docx")});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out)["file"].toString(), out("проект.docx"));
        const SavedReport project(out("проект.docx"));
        QVERIFY(project.ok);
        QCOMPARE(project.paragraphTexts().mid(0, 2), (QStringList{"Полный отчет", "Цех 1."}));
        // Each installation's heading and its line in the contents.
        QCOMPARE(project.paragraphTexts().filter(QRegularExpression("^Конденсаторная установка ")).size(), 6);

        r = cli({"report", m_project, "--variant", "2", "--out", out("вариант.docx")});
        QCOMPARE(r.code, 0);
        const SavedReport variant(out("вариант.docx"));
        QCOMPARE(variant.find("Конденсаторная установка "), -1);
        QVERIFY(variant.paragraphTexts().contains(QStringLiteral("Тип - КУ-60.")));
        // The heading after its line in the contents.
        const QString title = "Суточные характеристики электроустановки (с компенсацией реактивной мощности).";
        const int daily = variant.find(title, variant.find(title) + 1);
        QCOMPARE(variant.tableAfter(daily)->rows.size(), 15);

        // Named settings: the report without compensation has no installation in it.
        r = cli({"report", m_project, "--settings", "Отчет без компенсации", "--out", out("без.docx")});
        QCOMPARE(r.code, 0);
        const SavedReport without(out("без.docx"));
        QVERIFY(without.ok);
        QCOMPARE(without.find("Характеристика конденсаторной установки."), -1);
        QVERIFY(without.body.size() > 1);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << QStringList{"report", "PROJECT"}
                                 << "Не указан файл отчета: --out ФАЙЛ.docx или --pdf ФАЙЛ.pdf.";
        QTest::newRow("unknown settings")
            << QStringList{"report", "PROJECT", "--settings", "Нет таких", "--out", "e.docx"}
            << "Параметры отчета «Нет таких» не найдены.";
        QTest::newRow("unknown variant") << QStringList{"report", "PROJECT", "--variant", "7", "--out", "e.docx"}
                                         << "Вариант компенсации 7 не найден в проекте.";
        QTest::newRow("variant not a number") << QStringList{"report", "PROJECT", "--variant", "два", "--out", "e.docx"}
                                              << "Номер варианта «два» должен быть целым числом.";
        QTest::newRow("no load graph") << QStringList{"report", "BARE", "--out", "e.docx"}
                                       << "В проекте нет суточного графика нагрузки.";
        QTest::newRow("no such project") << QStringList{"report", "999", "--out", "e.docx"}
                                         << "Проект с кодом 999 не найден.";
    }

    void errors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        args.replaceInStrings("PROJECT", m_project).replaceInStrings("BARE", m_bare);
        args.replaceInStrings("e.docx", out("ошибка.docx"));
        const Run r = cli(args);
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, message);
        QVERIFY(!QFile::exists(out("ошибка.docx")));
    }

    void folderMissing()
    {
        const Run r = cli({"report", m_project, "--out", out("нет папки/отчет.docx")});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(out("нет папки/отчет.docx")), qPrintable(r.err));
    }

    // A word processor opens the full report of a project with three variants.
    void convertsToPdf()
    {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: scripts/deps installs libreoffice-writer-nogui.");
        const Run r = cli({"report", m_project, "--out", out("полный.docx")});
        QCOMPARE(r.code, 0);
        QTemporaryDir profile;
        QProcess p;
        p.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(profile.path()).toString(), "--headless",
                          "--convert-to", "pdf", "--outdir", m_dir.path(), out("полный.docx")});
        QVERIFY(p.waitForFinished(240000));
        QCOMPARE(p.exitCode(), 0);
        QFile pdf(out("полный.pdf"));
        QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(QString::fromLocal8Bit(p.readAllStandardError())));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // A project with three variants and every section fills many pages ("/Type /Page", not "/Pages").
        const qsizetype pages =
            QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
        QVERIFY2(pages > 5, qPrintable(QString::number(pages)));
    }

    // The PDF of the report, written by LibreOffice, shows every number of every table whole and
    // repeats the header row of a table on each page it spans.
    void pdfShowsTablesWhole_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("three variants") << "PROJECT" << QStringList{};
        QTest::newRow("variant 2") << "PROJECT" << QStringList{"--variant", "2"};
        QTest::newRow("60 periods") << "LONG" << QStringList{"--settings", "Отчет без компенсации"};
    }

    void pdfShowsTablesWhole()
    {
        QFETCH(QString, project);
        QFETCH(QStringList, options);
        if (QStandardPaths::findExecutable("soffice").isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: scripts/deps installs libreoffice-writer-nogui.");
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed: scripts/deps installs poppler-utils.");
        project = project == "LONG" ? m_long : m_project;
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        const QString docx = out(tag + ".docx"), pdf = out(tag + ".pdf");
        const Run r = cli(QStringList{"report", project, "--out", docx, "--pdf", pdf} + options);
        QCOMPARE(r.err, QString());
        QCOMPARE(QJsonDocument::fromJson(r.out)["pdf"].toString(), pdf);

        // A file LibreOffice made, nothing left beside it.
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        QVERIFY2(poppler("pdfinfo", {pdf}).contains("LibreOffice"), qPrintable(poppler("pdfinfo", {pdf})));

        const QStringList pages = poppler("pdftotext", {"-layout", pdf, "-"}).split(u'\f');
        const QString text = pages.join(u'\n');
        const SavedReport report(docx);
        QVERIFY(report.ok);
        QVERIFY(!report.tables().isEmpty());
        const QRegularExpression number(QStringLiteral("^-?\\d+(,\\d+)?$"));
        QMap<QString, qsizetype> cells;
        for (const SavedReport::Block *table : report.tables())
            for (const QStringList &row : table->rows)
                for (const QString &cell : row)
                    if (number.match(cell).hasMatch())
                        ++cells[cell];
        QVERIFY(cells.size() > 10);
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            QVERIFY2(
                wholeNumbers(text, it.key()) >= it.value(),
                qPrintable(
                    QStringLiteral("%1: %2 of %3").arg(it.key()).arg(wholeNumbers(text, it.key())).arg(it.value())));

        // Every table with a header row: the header on one line of each page its rows are on.
        for (const SavedReport::Block *table : report.tables()) {
            if (table->rows.size() < 20)
                continue;
            QStringList header;
            for (const QString &cell : table->rows.first())
                header << QRegularExpression::escape(cell);
            const QRegularExpression headerLine(header.join(QStringLiteral("\\s+")));
            const QString firstRow = table->rows[1].join(u' '), lastRow = table->rows.last().join(u' ');
            const QRegularExpression lastValues(QRegularExpression::escape(table->rows.last()[2]) +
                                                QStringLiteral("\\s+") +
                                                QRegularExpression::escape(table->rows.last()[3]));
            int headerPages = 0, lastPage = -1;
            for (int p = 0; p < pages.size(); ++p) {
                headerPages += pages[p].contains(headerLine) ? 1 : 0;
                if (pages[p].contains(lastValues))
                    lastPage = p;
            }
            QVERIFY2(lastPage >= 0, qPrintable(lastRow));
            QVERIFY2(headerPages >= 2, qPrintable(header.join(u' ') + " / " + firstRow));
            QVERIFY(pages[lastPage].contains(headerLine));
        }
    }

    // Every delivered setting, the project report on portrait and the variant report on landscape
    // paper (the other two are tried by hand: a conversion costs seconds): page 1 holds the
    // title block and the summary (with every variant's type in a project report), no page is
    // blank, and the PDF's author is the engineer of the settings.
    void pdfFirstPageAndNoBlankPage()
    {
        if (QStandardPaths::findExecutable("soffice").isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: scripts/deps installs libreoffice-writer-nogui.");
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed: scripts/deps installs poppler-utils.");
        QStringList names;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "settings");
            db.setDatabaseName(m_dir.filePath("data/KorvanVkp1.sqlite"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("INSERT OR REPLACE INTO \"report_engineer.db\" SELECT \"Kod\", 'Петренко И. В.', "
                           "'инженер', 'ООО «Энергоаудит»' FROM \"report.DB\""));
            QVERIFY(q.exec("SELECT \"Name\" FROM \"report.DB\" ORDER BY \"Kod\""));
            while (q.next())
                names << q.value(0).toString();
        }
        QSqlDatabase::removeDatabase("settings");
        QCOMPARE(names.size(), 5);
        for (const char *orientation : {"книжная", "альбомная"}) {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "orientation");
                db.setDatabaseName(m_dir.filePath("data/KorvanVkp1.sqlite"));
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(QStringLiteral("UPDATE \"report.DB\" SET \"PaperOrient\"='%1'")
                                   .arg(QString::fromUtf8(orientation))));
            }
            QSqlDatabase::removeDatabase("orientation");
            for (int s = 0; s < names.size(); ++s) {
                for (const bool variant : {QString::fromUtf8(orientation) == "альбомная"}) {
                    const QString pdf = out(QStringLiteral("первая %1 %2 %3.pdf").arg(s).arg(orientation).arg(variant));
                    QStringList args{"report", m_project, "--settings", names[s], "--pdf", pdf};
                    if (variant)
                        args << "--variant"
                             << "2";
                    const Run r = cli(args);
                    QCOMPARE(r.err, QString());
                    const QString tag =
                        names[s] + " / " + QString::fromUtf8(orientation) + (variant ? " / вариант" : "");
                    const QStringList pages = poppler("pdftotext", {"-layout", pdf, "-"}).split(u'\f');
                    const QString first = pages.first();
                    QVERIFY2(first.contains(names[s]) && first.contains("Цех 1.") && first.contains("Исполнитель - "),
                             qPrintable(tag));
                    QVERIFY2(first.contains(variant ? "Сводка по варианту." : "Сводка по вариантам."), qPrintable(tag));
                    for (const char *type : {"КУ-75", "КУ-60", "КУ-100"})
                        QVERIFY2(first.contains(QString::fromUtf8(type)) ==
                                     (!variant || QString::fromUtf8(type) == "КУ-60"),
                                 qPrintable(tag + " " + QString::fromUtf8(type)));
                    // The last piece after the final form feed is empty; every page has more than its number.
                    for (int p = 0; p + 1 < pages.size(); ++p)
                        QVERIFY2(pages[p].contains(QRegularExpression("[^\\d\\s]")),
                                 qPrintable(tag + QStringLiteral(": страница %1 пуста").arg(p + 1)));
                    QVERIFY2(poppler("pdfinfo", {pdf}).contains(QRegularExpression("Author:\\s+Петренко И. В.")),
                             qPrintable(tag));
                }
            }
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "settings");
            db.setDatabaseName(m_dir.filePath("data/KorvanVkp1.sqlite"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("DELETE FROM \"report_engineer.db\""));
            QVERIFY(q.exec("UPDATE \"report.DB\" SET \"PaperOrient\"='книжная'"));
        }
        QSqlDatabase::removeDatabase("settings");
    }

    // No table is wider than the text area of its page, in the document's own figures.
    void tablesInsideTextArea()
    {
        const Run r = cli({"report", m_long, "--out", out("ширина.docx")});
        QCOMPARE(r.code, 0);
        const ZipReader zip(out("ширина.docx"));
        const XmlElement document = XmlElement::parse(zip.read("word/document.xml"));
        // Each table lies in the section whose properties come next: in a paragraph or at the end.
        int tables = 0;
        QList<int> widths;
        const XmlElement *body = document.child("w:body");
        QVERIFY(body);
        for (const XmlElement &e : body->children) {
            const XmlElement *sectPr = e.name == "w:sectPr" ? &e : nullptr;
            if (e.name == "w:p" && e.child("w:pPr"))
                sectPr = e.child("w:pPr")->child("w:sectPr");
            if (e.name == "w:tbl") {
                int width = 0;
                for (const XmlElement *col : e.descendants("w:gridCol"))
                    width += col->attribute("w:w").toInt();
                widths << width;
                ++tables;
            }
            if (sectPr) {
                const int text = sectPr->child("w:pgSz")->attribute("w:w").toInt() -
                                 sectPr->child("w:pgMar")->attribute("w:left").toInt() -
                                 sectPr->child("w:pgMar")->attribute("w:right").toInt();
                for (const int width : widths)
                    QVERIFY2(width <= text, qPrintable(QStringLiteral("%1 > %2").arg(width).arg(text)));
                widths.clear();
            }
        }
        QVERIFY(tables > 5);
        QVERIFY(widths.isEmpty());
        const XmlElement core = XmlElement::parse(zip.read("docProps/core.xml"));
        QCOMPARE(core.child("dc:title")->text, QStringLiteral("Длинный"));
        // The author is the engineer of the settings (none here), never the customer.
        QVERIFY(!core.child("dc:creator"));
        QVERIFY(QDateTime::fromString(core.child("dcterms:created")->text, Qt::ISODate).isValid());
        const SavedReport report(out("ширина.docx"));
        QCOMPARE(report.paragraphTexts().mid(1, 4),
                 (QStringList{"Длинный.", "", "Заказчик - ООО «Завод».",
                              QStringLiteral("Дата отчета - ") + QDate::currentDate().toString("dd.MM.yyyy") + "."}));
    }

    void pdfFailures()
    {
        // A folder that does not exist: an error, and no PDF.
        const Run r = cli({"report", m_project, "--pdf", out("нет папки/отчет.pdf")});
        QCOMPARE(r.code, 2);
        QVERIFY(!r.err.isEmpty());
        QVERIFY(!QFile::exists(out("нет папки/отчет.pdf")));
    }
};

QTEST_GUILESS_MAIN(TestCliReport)
#include "test_cli_report.moc"
