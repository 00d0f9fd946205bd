// The report command of the command-line program, and the report opened by a word processor.
#include "SavedReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using korvan::test::SavedReport;

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
        QCOMPARE(project.paragraphTexts().first(), QStringLiteral("Цех 1."));
        QCOMPARE(project.paragraphTexts().filter(QRegularExpression("^Конденсаторная установка ")).size(), 3);

        r = cli({"report", m_project, "--variant", "2", "--out", out("вариант.docx")});
        QCOMPARE(r.code, 0);
        const SavedReport variant(out("вариант.docx"));
        QCOMPARE(variant.find("Конденсаторная установка "), -1);
        QVERIFY(variant.paragraphTexts().contains(QStringLiteral("Тип - КУ-60.")));
        const int daily = variant.find("Суточные характеристики электроустановки (с компенсацией реактивной мощности).");
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
        QTest::newRow("no file") << QStringList{"report", "PROJECT"} << "Не указан файл отчета: --out ФАЙЛ.docx.";
        QTest::newRow("unknown settings") << QStringList{"report", "PROJECT", "--settings", "Нет таких", "--out", "e.docx"}
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
};

QTEST_GUILESS_MAIN(TestCliReport)
#include "test_cli_report.moc"
