// Interval files of meters and power analysers, and the daily graphs made from them.
#include "core/graphs/MeterFile.h"

#include "core/Messages.h"

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

// The message a file is refused with; empty when it is read.
QString refusal(const QByteArray &bytes, const MeterReadOptions &options = {})
{
    try {
        readMeterText(bytes, options);
        return {};
    } catch (const KorvanError &e) {
        return e.message();
    }
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
        QTest::newRow("semicolon, comma, end stamps") << hourlyDay("Время;P, кВт;Q, кВАр", ";", dmy, true, true)
                                                      << false << "UTF-8" << QChar(';') << true << 10.5;
        QTest::newRow("tab, point, ISO with seconds") << hourlyDay("", "\t", "yyyy-MM-dd HH:mm:ss", false, true)
                                                      << false << "UTF-8" << QChar('\t') << false << 10.5;
        QTest::newRow("comma separator, point decimals") << hourlyDay("t,P,Q", ",", "yyyy-MM-dd HH:mm", false, true)
                                                         << false << "UTF-8" << QChar(',') << true << 10.5;
        QTest::newRow("start stamps") << hourlyDay("", ";", dmy, true, false) << true << "UTF-8" << QChar(';') << false
                                      << 10.5;
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
        QTest::addColumn<QString>("error"); // empty: reads, with the warning below
        QTest::addColumn<QString>("warning");
        QTest::newRow("empty file") << QByteArray("\n \n") << "Файл пуст: в нём нет ни одной строки с измерениями."
                                    << "";
        QTest::newRow("text in a value column")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;пять;1\n01.12.2026 03:00;5;1\n")
            << "Строка 2: «пять» в столбце «Столбец 2» не является числом."
            << "";
        QTest::newRow("bad stamp") << QByteArray("01.12.2026 01:00;5;1\n01.13.2026 02:00;5;1\n")
                                   << "Строка 2: «01.13.2026 02:00» не является отметкой времени."
                                   << "";
        QTest::newRow("going back")
            << QByteArray("01.12.2026 02:00;5;1\n01.12.2026 03:00;5;1\n01.12.2026 01:00;5;1\n")
            << "Строка 3: отметка времени 01.12.2026 01:00 раньше предыдущей (01.12.2026 03:00)."
            << "";
        QTest::newRow("gap")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;5;1\n01.12.2026 05:00;5;1\n01.12.2026 06:00;5;1\n")
            << ""
            << "Пропуск данных между 01.12.2026 02:00 (строка 2) и 01.12.2026 05:00 (строка 3).";
        QTest::newRow("repeated stamp")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;5;1\n01.12.2026 02:00;7;1\n01.12.2026 03:00;5;1\n")
            << ""
            << "Строки 2 и 3: повторяющаяся отметка времени 01.12.2026 02:00; взято первое значение.";
        QTest::newRow("power beyond the limit")
            << QByteArray("01.12.2026 01:00;5;1\n01.12.2026 02:00;1e308;1\n01.12.2026 03:00;5;1\n")
            << "Строка 2: значение «1e308» в столбце «Столбец 2» означает мощность 1E+308 кВт, больше допустимой "
               "1000000."
            << "";
        QTest::newRow("energy beyond the limit")
            << QByteArray("t;Wp, кВтч;Wq, кВАрч\n01.12.2026 00:30;5;1\n01.12.2026 01:00;5;600000\n")
            << "Строка 3: значение «600000» в столбце «Wq, кВАрч» означает мощность 1200000 кВАр, больше допустимой "
               "1000000."
            << "";
        QTest::newRow("one column of values") << QByteArray("01.12.2026 01:00;5;x\n01.12.2026 02:00;5;y\n")
                                              << "Строка 1: не найдены два числовых столбца значений (P и Q)."
                                              << "";
    }
    void problemsAreReported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(QString, warning);
        QCOMPARE(refusal(bytes), error);
        if (!error.isEmpty())
            return;
        const MeterData data = readMeterText(bytes);
        QCOMPARE(data.warnings, QStringList{warning});
        QCOMPARE(data.readings.first().P, 5.0);
    }

    // CSV by its rules: quotes around any field, the separator and line breaks inside them,
    // doubled quotes, decimal commas in a comma-separated file.
    void csvRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("pName");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("q");
        QTest::addColumn<int>("line"); // of the first reading
        QTest::newRow("quoted decimal commas, comma-separated")
            << QByteArray("2026-12-01 01:00,\"12,5\",\"3,25\"\n2026-12-01 02:00,\"13,5\",3\n") << "" << QChar(',')
            << "Столбец 2" << 12.5 << 3.25 << 1;
        QTest::newRow("every field quoted, blanks around")
            << QByteArray("\"01.12.2026 01:00\" ; \"5\" ; \" 1 \"\n\"01.12.2026 02:00\";\"6\";\"2\"\n") << ""
            << QChar(';') << "Столбец 2" << 5.0 << 1.0 << 1;
        QTest::newRow("separator inside a quoted name")
            << QByteArray("\"Время\";\"Q; кВАр\";\"P; кВт\"\n01.12.2026 01:00;1;5\n01.12.2026 02:00;1;5\n") << ""
            << QChar(';') << "P; кВт" << 5.0 << 1.0 << 2;
        QTest::newRow("doubled quotes")
            << QByteArray("Время,\"P \"\"актив\"\", кВт\",Q\n2026-12-01 01:00,\"7,5\",1\n2026-12-01 02:00,7,1\n") << ""
            << QChar(',') << "P \"актив\", кВт" << 7.5 << 1.0 << 2;
        QTest::newRow("line break inside a quoted name")
            << QByteArray("Время\t\"P,\nкВт\"\tQ\r\n01.12.2026 01:00\t5\t1\r\n01.12.2026 02:00\t5\t1\r\n") << ""
            << QChar('\t') << "P,\nкВт" << 5.0 << 1.0 << 3;
        QTest::newRow("quote left open") << QByteArray("01.12.2026 01:00;\"5;1\n01.12.2026 02:00;5;1\n")
                                         << "Строка 1: кавычка не закрыта до конца файла." << QChar() << "" << 0.0
                                         << 0.0 << 0;
        QTest::newRow("text after a closing quote")
            << QByteArray("01.12.2026 01:00;\"5\"0;1\n01.12.2026 02:00;5;1\n")
            << "Строка 1: после закрывающей кавычки ожидается разделитель «;» или конец строки." << QChar() << "" << 0.0
            << 0.0 << 0;
        QTest::newRow("unquoted decimal comma splits the line")
            << QByteArray("2026-12-01 01:00,12,5,3\n2026-12-01 02:00,13,3\n")
            << "Не удалось определить разделитель столбцов: ожидаются столбцы времени, P и Q, разделённые знаком «;», "
               "«,» или табуляцией."
            << QChar() << "" << 0.0 << 0.0 << 0;
    }
    void csvRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QCOMPARE(refusal(bytes), error);
        if (!error.isEmpty())
            return;
        QFETCH(QChar, separator);
        QFETCH(QString, pName);
        QFETCH(double, p);
        QFETCH(double, q);
        QFETCH(int, line);
        const MeterData data = readMeterText(bytes);
        QCOMPARE(data.separator, separator);
        QCOMPARE(data.columns.value(data.pColumn), pName);
        QCOMPARE(data.readings.size(), 2);
        QCOMPARE(data.readings.first().P, p);
        QCOMPARE(data.readings.first().Q, q);
        QCOMPARE(data.readings.first().line, line);
        QVERIFY(data.warnings.isEmpty());
    }

    // A meter on local time in Berlin through the night of 25 October 2026, when the clocks went
    // from 03:00 back to 02:00: 25 hours of readings, P numbering them from 100.
    void autumnClockChange_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("stampStart");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<double>("hour1P");
        QTest::addColumn<double>("hour2P"); // the repeated hour: its first readings
        QTest::addColumn<double>("hour3P");
        const QString mid = ": часы переведены на час назад (переход на зимнее время), ";
        QTest::newRow("quarter hours, start stamps")
            << 15 << true
            << "Строки 13–16" + mid +
                   "отметки с 25.10.2026 02:00 по 25.10.2026 02:45 повторяются; взяты первые значения."
            << 105.5 << 109.5 << 117.5;
        // The reading that ends at the change is stamped 02:00 by the clocks already put back.
        QTest::newRow("quarter hours, end stamps")
            << 15 << false
            << "Строки 12–15" + mid +
                   "отметки с 25.10.2026 02:00 по 25.10.2026 02:45 повторяются; взяты первые значения."
            << 105.5 << 110.5 << 117.5;
        QTest::newRow("hours, start stamps")
            << 60 << true << "Строка 4" + mid + "отметка 25.10.2026 02:00 повторяется; взяты первые значения." << 101.0
            << 102.0 << 104.0;
        QTest::newRow("hours, end stamps")
            << 60 << false << "Строка 3" + mid + "отметка 25.10.2026 02:00 повторяется; взяты первые значения." << 101.0
            << 103.0 << 104.0;
    }
    void autumnClockChange()
    {
        QFETCH(int, minutes);
        QFETCH(bool, stampStart);
        QFETCH(QString, warning);
        const QTimeZone berlin("Europe/Berlin");
        QVERIFY(berlin.isValid());
        const QDateTime midnight(QDate(2026, 10, 25), QTime(0, 0), berlin);
        QByteArray text;
        for (int k = 0; k < 25 * 60 / minutes; ++k) {
            const QDateTime stamp = midnight.addSecs(60 * minutes * (stampStart ? k : k + 1)).toTimeZone(berlin);
            text += stamp.toString("dd.MM.yyyy HH:mm").toUtf8() + ";" + QByteArray::number(100 + k) + ";10\n";
        }
        MeterReadOptions options;
        options.stampMarksStart = stampStart;
        options.zone = berlin;
        const MeterData data = readMeterText(text, options);
        QCOMPARE(data.warnings, QStringList{warning});
        QCOMPARE(data.intervalMinutes, minutes);
        QCOMPARE(data.readings.size(), 24 * 60 / minutes);
        const QList<LoadPeriod> g = meterDayGraph(data, {MeterDayChoice::Kind::Date, QDate(2026, 10, 25)});
        QTEST(g[1].P, "hour1P");
        QTEST(g[2].P, "hour2P");
        QTEST(g[3].P, "hour3P");

        // Where no clock was put back the same file goes back in time, or (hourly) repeats a stamp.
        options.zone = QTimeZone::utc();
        if (minutes == 60)
            QVERIFY(readMeterText(text, options)
                        .warnings.value(0)
                        .contains("повторяющаяся отметка времени 25.10.2026 02:00"));
        else
            QVERIFY_THROWS_EXCEPTION(KorvanError, readMeterText(text, options));
    }

    void backwardHourWithoutClockChangeIsRefused()
    {
        const QByteArray text =
            "01.12.2026 01:00;5;1\n01.12.2026 01:15;5;1\n01.12.2026 01:30;5;1\n01.12.2026 01:45;5;1\n"
            "01.12.2026 01:00;5;1\n01.12.2026 01:15;5;1\n";
        MeterReadOptions options;
        options.zone = QTimeZone("Europe/Berlin");
        QCOMPARE(refusal(text, options),
                 QStringLiteral("Строка 5: отметка времени 01.12.2026 01:00 раньше предыдущей (01.12.2026 01:45)."));
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
