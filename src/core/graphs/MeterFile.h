#pragma once

#include "core/graphs/GraphTable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <optional>

namespace korvan {

// A meter's or power analyser's interval file read into average powers.
struct MeterReading {
    QDateTime start; // the beginning of the interval (date-less files use 1 January 2000)
    double P = 0;    // kW
    double Q = 0;    // kVAr
    int line = 0;    // line of the file, for messages
};

struct MeterReadOptions {
    enum class Units { Auto, Powers, Energies };
    Units units = Units::Auto;
    bool stampMarksStart = false; // meters differ: most stamp the end of their interval
    // The zone of a file in local time: a backward jump it explains is the autumn's repeated hour.
    QTimeZone zone = QTimeZone::systemTimeZone();
};

struct MeterData {
    // What was detected, for the user to see.
    QString encoding; // "UTF-8" or "Windows-1251"
    QChar separator;  // ';', ',' or '\t'
    bool header = false;
    QStringList columns; // the header's names, or "Столбец N"
    int timeColumn = -1, pColumn = -1, qColumn = -1;
    bool energies = false;
    bool dateless = false; // stamps are times of day only
    int intervalMinutes = 0;
    QList<MeterReading> readings; // in file order
    QStringList warnings;         // gaps and repeated stamps, found and reported, never filled
    QList<QDate> dates;           // the days the intervals begin on, in order

    QString unitsText() const { return energies ? QStringLiteral("кВтч, кВАрч") : QStringLiteral("кВт, кВАр"); }
};

// Reads the file; every problem is a KorvanError whose Russian message names the line.
MeterData readMeterFile(const QString &path, const MeterReadOptions &options = {});
MeterData readMeterText(const QByteArray &bytes, const MeterReadOptions &options = {});

struct MeterDayChoice {
    enum class Kind { Date, Workdays, MaxDay };
    Kind kind = Kind::Date;
    QDate date; // for Kind::Date; empty: the file's only day
};

// Which day the choice stands for, in words ("01.12.2026", "среднее по рабочим дням (5 сут.)").
QString describeDay(const MeterData &data, const MeterDayChoice &choice);

// The daily graph of the chosen day: periods of the given length in hours (0,5, 1, 2, 3, 4) with
// the average P and Q of the readings inside each, rounded to two decimals.
QList<LoadPeriod> meterDayGraph(const MeterData &data, const MeterDayChoice &choice, double periodHours = 1);

} // namespace korvan
