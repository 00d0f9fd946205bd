// Interval files of meters and power analysers, and the daily graphs made from them.
#include "graphs/MeterFile.h"

#include "Messages.h"

#include <QtTest>

using namespace korvan;

namespace {

// One day of hourly readings, P = 10 + hour, Q = 5 + hour, with the given stamp and separators.
QByteArray hourlyDay(const QString &header, const QString &sep, const QString &format, bool comma, bool endStamps)
{
    QString out = header.isEmpty() ? QString() : header + "\n";
    const QDateTime base(QDate(2026, 12, 8), QTime(0, 0));
    for (int h = 0; h < 24; ++h) {
        const QDateTime stamp = base.addSecs(3600 * (endStamps ? h + 1 : h));
        QString p = QString::number(10 + h + 0.5), q = QString::number(5 + h);
        if (comma)
            p.replace('.', ',');
        out += stamp.toString(format) + sep + p + sep + q + "\n";
    }
    return out.toUtf8();
}

QByteArray cp1251(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x80)
            out += char(u);
        else if (u >= 0x410 && u <= 0x44F)
            out += char(0xC0 + (u - 0x410));
        else
            out += '?';
    }
    return out;
}

} // namespace

class TestMeterFile : public QObject {
    Q_OBJECT
private slots:
    void formsOfFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("stampStart");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<bool>("header");
        QTest::addColumn<double>("firstP"); // P of 0–1 h
        const QString dmy = "dd.MM.yyyy HH:mm";
        QTest::newRow("semicolon, comma, end stamps")
            << hourlyDay("Время;P, кВт;Q, кВАр", ";", dmy, true, true) << false << "UTF-8" << QChar(';') << true << 10.5;
        QTest::newRow("tab, point, ISO with seconds")
            << hourlyDay("", "\t", "yyyy-MM-dd HH:mm:ss", false, true) << false << "UTF-8" << QChar('\t') << false << 10.5;
        QTest::newRow("comma separator, point decimals")
            << hourlyDay("t,P,Q", ",", "yyyy-MM-dd HH:mm", false, true) << false << "UTF-8" << QChar(',') << true << 10.5;
        QTest::newRow("start stamps")
            << hourlyDay("", ";", dmy, true, false) << true << "UTF-8" << QChar(';') << false << 10.5;
        QTest::newRow("Windows-1251 header")
            << cp1251(QString::fromUtf8(hourlyDay("Время;Активная, кВт;Реактивная, кВАр", ";", dmy, true, true)))
            << false << "Windows-1251" << QChar(';') << true << 10.5;
    }
    void formsOfFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, stampStart);
        QFETCH(QString, encoding);
        QFETCH(QChar, separator);
        QFETCH(bool, header);
        QFETCH(double, firstP);
        MeterReadOptions options;
        options.stampMarksStart = stampStart;
        const MeterData data = readMeterText(bytes, options);
        QCOMPARE(data.encoding, encoding);
        QCOMPARE(data.separator, separator);
        QCOMPARE(data.header, header);
        QCOMPARE(data.intervalMinutes, 60);
        QVERIFY(!data.energies);
        QVERIFY(data.warnings.isEmpty());
        MeterDayChoice day;
        day.date = QDate(2026, 12, 8);
        const QList<LoadPeriod> g = meterDayGraph(data, day);
        QVERIFY(!g.isEmpty());
        QCOMPARE(g.first().T1, 0.0);
        QCOMPARE(g.first().P, firstP);
    }

    void endStampsReadAsStartsMoveByOneInterval()
    {
        MeterReadOptions options;
        options.stampMarksStart = true;
        const MeterData data = readMeterText(hourlyDay("", ";", "dd.MM.yyyy HH:mm", true, true), options);
        QCOMPARE(data.dates, QList<QDate>({QDate(2026, 12, 8), QDate(2026, 12, 9)}));
        QCOMPARE(data.readings.first().start, QDateTime(QDate(2026, 12, 8), QTime(1, 0)));
        MeterDayChoice day{MeterDayChoice::Kind::Date, QDate(2026, 12, 8)};
        QVERIFY_THROWS_EXCEPTION(KorvanError, meterDayGraph(data, day)); // 0–1 h has no reading then
    }

    void timeOfDayAndEnergies()
    {
        // 30-minute energies, stamps at the end of each interval, times of day only, 24:00 last.
        QString text = "Время;Wp, кВтч;Wq, кВАрч\n";
        for (int i = 1; i <= 48; ++i)
            text += QString("%1:%2;%3;%4\n").arg(i / 2).arg(i % 2 ? "30" : "00").arg(i < 4 ? 5 : 10).arg(2);
        const MeterData data = readMeterText(text.toUtf8());
        QVERIFY(data.dateless);
        QVERIFY(data.energies);
        QCOMPARE(data.intervalMinutes, 30);
        const QList<LoadPeriod> g = meterDayGraph(data, {});
        QCOMPARE(g.size(), 24);
        QCOMPARE(g[0].P, 10.0); // 5 kWh in half an hour is 10 kW
        QCOMPARE(g[1].P, 15.0); // 5 kWh then 10 kWh: 10 and 20 kW
        QCOMPARE(g[23].Q, 4.0);
        QCOMPARE(g[23].T2, 24.0);
        QCOMPARE(meterDayGraph(data, {}, 0.5).size(), 48);
        QVERIFY_THROWS_EXCEPTION(KorvanError, meterDayGraph(data, {}, 1.5));
    }

    void quarterHoursAggregateToHourlyAverages()
    {
        QString text;
        double sumP[24] = {}, sumQ[24] = {};
        for (int i = 0; i < 96; ++i) {
            const double p = 100 + (i * 37) % 23 + 0.25 * (i % 3);
            const double q = 40 + (i * 11) % 7;
            sumP[i / 4] += p;
            sumQ[i / 4] += q;
            const QTime start = QTime(0, 0).addSecs(900 * i);
            text += "2026-12-09 " + start.toString("HH:mm") + ";" + QString::number(p).replace('.', ',') + ";" +
                    QString::number(q) + "\n";
        }
        MeterReadOptions options;
        options.stampMarksStart = true;
        const QList<LoadPeriod> g = meterDayGraph(readMeterText(text.toUtf8(), options), {});
        QCOMPARE(g.size(), 24);
        for (int h = 0; h < 24; ++h) {
            QCOMPARE(g[h].T1, double(h));
            QCOMPARE(g[h].P, std::nearbyint(sumP[h] / 4 / 0.01) * 0.01);
            QCOMPARE(g[h].Q, std::nearbyint(sumQ[h] / 4 / 0.01) * 0.01);
        }
    }

    void choosingTheDay()
    {
        // Monday 7.12.2026 to Sunday 13.12.2026, hourly start stamps; P = day number × 10.
        QString text;
        for (int d = 0; d < 7; ++d)
            for (int h = 0; h < 24; ++h)
                text += QDateTime(QDate(2026, 12, 7 + d), QTime(h, 0)).toString("dd.MM.yyyy HH:mm") +
                        QString(";%1;%2\n").arg((d + 1) * 10 + (h == 12 && d == 5 ? 500 : 0)).arg(h);
        MeterReadOptions options;
        options.stampMarksStart = true;
        const MeterData data = readMeterText(text.toUtf8(), options);
        QCOMPARE(data.dates.size(), 7);
        MeterDayChoice workdays{MeterDayChoice::Kind::Workdays, {}};
        QCOMPARE(meterDayGraph(data, workdays)[0].P, 30.0); // mean of 10..50
        QCOMPARE(meterDayGraph(data, workdays)[5].Q, 5.0);
        MeterDayChoice max{MeterDayChoice::Kind::MaxDay, {}};
        QCOMPARE(meterDayGraph(data, max)[12].P, 560.0); // Saturday with its peak
        MeterDayChoice tuesday{MeterDayChoice::Kind::Date, QDate(2026, 12, 8)};
        QCOMPARE(meterDayGraph(data, tuesday)[0].P, 20.0);
        QVERIFY_THROWS_EXCEPTION(KorvanError, meterDayGraph(data, {})); // several days, none chosen
        MeterDayChoice absent{MeterDayChoice::Kind::Date, QDate(2026, 12, 20)};
        QVERIFY_THROWS_EXCEPTION(KorvanError, meterDayGraph(data, absent));
    }

    void problemsAreReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");   // empty: reads, with the warning below
        QTest::addColumn<QString>("warning");
        QTest::newRow("empty file") << QByteArray("\n \n") << "Файл пуст: в нём нет ни одной строки с измерениями." << "";
        QTest::newRow("text in a value column")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;пять;1\n01.12.2026 03:00;5;1\n")
            << "Строка 2: «пять» в столбце «Столбец 2» не является числом." << "";
        QTest::newRow("bad stamp")
            << QByteArray("01.12.2026 01:00;5;1\n01.13.2026 02:00;5;1\n")
            << "Строка 2: «01.13.2026 02:00» не является отметкой времени." << "";
        QTest::newRow("going back")
            << QByteArray("01.12.2026 02:00;5;1\n01.12.2026 03:00;5;1\n01.12.2026 01:00;5;1\n")
            << "Строка 3: отметка времени 01.12.2026 01:00 раньше предыдущей (01.12.2026 03:00)." << "";
        QTest::newRow("gap")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;5;1\n01.12.2026 05:00;5;1\n01.12.2026 06:00;5;1\n")
            << "" << "Пропуск данных между 01.12.2026 02:00 (строка 2) и 01.12.2026 05:00 (строка 3).";
        QTest::newRow("repeated stamp")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;5;1\n01.12.2026 02:00;7;1\n01.12.2026 03:00;5;1\n")
            << "" << "Строки 2 и 3: повторяющаяся отметка времени 01.12.2026 02:00; взято первое значение.";
        QTest::newRow("one column of values")
            << QByteArray("01.12.2026 01:00;5;x\n01.12.2026 02:00;5;y\n")
            << "Строка 1: не найдены два числовых столбца значений (P и Q)." << "";
    }
    void problemsAreReported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(QString, warning);
        if (!error.isEmpty()) {
            try {
                readMeterText(bytes);
                QFAIL("the file was accepted");
            } catch (const KorvanError &e) {
                QCOMPARE(e.message(), error);
            }
            return;
        }
        const MeterData data = readMeterText(bytes);
        QCOMPARE(data.warnings, QStringList{warning});
        QCOMPARE(data.readings.first().P, 5.0);
    }

    void missingPeriodIsNotFilled()
    {
        // 01:00–04:00 of the day has no readings: that day cannot make a graph.
        QByteArray text;
        for (int h : {1, 2, 5, 6, 7})
            text += QString("01.12.2026 %1:00;5;1\n").arg(h, 2, 10, QChar('0')).toUtf8();
        const MeterData data = readMeterText(text);
        try {
            meterDayGraph(data, {});
            QFAIL("a graph was made over missing readings");
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), QStringLiteral("За 01.12.2026 нет измерений в периоде с 2 по 3 ч."));
        }
    }
};

QTEST_GUILESS_MAIN(TestMeterFile)
#include "test_meter_file.moc"
