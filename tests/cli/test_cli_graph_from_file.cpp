// korvan-vkp-cli graph-from-file: the periods as JSON, the problems of the file on standard error.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliGraphFromFile : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
    };

    static Run cli(const QStringList &args)
    {
        QProcess p;
        p.start(qEnvironmentVariable("KORVAN_CLI"), args);
        p.waitForFinished(60000);
        return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
    }

private slots:
    void graphWithItsWarnings()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("meter.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        // Two days of hourly energies stamped at the end; one hour of the second day missing.
        f.write("Дата;Время;Wp, кВтч;Wq, кВАрч\n");
        for (int d = 1; d <= 2; ++d)
            for (int h = 1; h <= 24; ++h)
                if (!(d == 2 && h == 10))
                    f.write(QString("0%1.12.2026;%2:00;%3;%4\n").arg(d).arg(h).arg(d * 10).arg(h).toUtf8());
        f.close();
        Run r = cli({"graph-from-file", f.fileName(), "--day", "01.12.2026", "--period", "2"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QStringLiteral("Пропуск данных между 02.12.2026 09:00 (строка 34) и 02.12.2026 11:00 (строка 35)."));
        const QJsonArray periods = QJsonDocument::fromJson(r.out).array();
        QCOMPARE(periods.size(), 12);
        QCOMPARE(periods[0].toObject(), QJsonObject({{"T1", 0}, {"T2", 2}, {"P", 10}, {"Q", 1.5}}));
        r = cli({"graph-from-file", f.fileName(), "--max-day"}); // the second day is not complete
        QCOMPARE(r.code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).array()[0].toObject()["P"].toDouble(), 10.0);
        r = cli({"graph-from-file", f.fileName(), "--day", "02.12.2026"});
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.endsWith("За 02.12.2026 нет измерений в периоде с 9 по 10 ч."));
        r = cli({"graph-from-file", f.fileName(), "--workdays", "--max-day"});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("Укажите что-то одно: --day, --workdays или --max-day."));
    }
};

QTEST_GUILESS_MAIN(TestCliGraphFromFile)
#include "test_cli_graph_from_file.moc"
