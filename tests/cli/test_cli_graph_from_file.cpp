// korvan-vkp-cli graph-from-file: the periods as JSON, the problems of the file on standard error.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

class TestCliGraphFromFile : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        QByteArray out;
        QString err;
    };

    static Run cli(const QStringList &args, const QString &zone = {})
    {
        QProcess p;
        if (!zone.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("TZ", zone);
            p.setProcessEnvironment(env);
        }
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
        QCOMPARE(r.err,
                 QStringLiteral("Пропуск данных между 02.12.2026 09:00 (строка 34) и 02.12.2026 11:00 (строка 35)."));
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

    // A meter on local time through the autumn clock change: the repeated hour is reported and
    // its first readings kept, in the zone the machine runs in.
    void autumnClockChangeInTheMachinesZone()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("autumn.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QTimeZone berlin("Europe/Berlin");
        const QDateTime midnight(QDate(2026, 10, 25), QTime(0, 0), berlin);
        for (int k = 0; k < 100; ++k)
            f.write(midnight.addSecs(900 * k).toTimeZone(berlin).toString("dd.MM.yyyy HH:mm").toUtf8() + ";" +
                    QByteArray::number(k < 12 || k > 15 ? 10 : 99) + ";\"2,5\"\n");
        f.close();
        Run r = cli({"graph-from-file", f.fileName(), "--stamp-start"}, "Europe/Berlin");
        QCOMPARE(r.err,
                 QStringLiteral("Строки 13–16: часы переведены на час назад (переход на зимнее время), отметки с "
                                "25.10.2026 02:00 по 25.10.2026 02:45 повторяются; взяты первые значения."));
        QCOMPARE(r.code, 0);
        const QJsonArray periods = QJsonDocument::fromJson(r.out).array();
        QCOMPARE(periods.size(), 24);
        for (const QJsonValue &p : periods) // the second pass (99 kW) is not in any hour
            QCOMPARE(p.toObject(), QJsonObject({{"T1", p["T1"]}, {"T2", p["T2"]}, {"P", 10}, {"Q", 2.5}}));
        r = cli({"graph-from-file", f.fileName(), "--stamp-start"}, "UTC");
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains("Строка 13: отметка времени 25.10.2026 02:00 раньше предыдущей (25.10.2026 02:45)."),
                 qPrintable(r.err));
    }

    // Values a meter cannot measure never become an average: 1e308 summed is infinite.
    void valuesBeyondThePowerLimitAreRefused()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("huge.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int h = 0; h < 24; ++h)
            f.write(QString("01.12.2026 %1:00;1,7e308;1\n").arg(h, 2, 10, QChar('0')).toUtf8());
        f.close();
        const Run r = cli({"graph-from-file", f.fileName(), "--stamp-start"});
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains("Строка 1: значение «1,7e308» в столбце «Столбец 2» означает мощность"),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains("больше допустимой 1000000"), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestCliGraphFromFile)
#include "test_cli_graph_from_file.moc"
