#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace korvan {

// How much the program reads from outside before refusing: far beyond any real project or
// meter file, and small enough that a wrong file (a disk image, /dev/zero) is refused at once
// instead of after minutes and gigabytes.
constexpr qint64 MaxJsonBytes = 256ll * 1024 * 1024;  // a project or catalogue file
constexpr qint64 MaxMeterBytes = 256ll * 1024 * 1024; // a meter file
constexpr qsizetype MaxMeterLines = 2'000'000;        // lines of a meter file
constexpr qsizetype MaxPeriods = 100'000;             // periods of one load graph

// Everything the device holds, refused as soon as it holds more than `limit` bytes; `shown`
// names the file in the message.
QByteArray readAllLimited(QIODevice &device, qint64 limit, const QString &shown);

} // namespace korvan
