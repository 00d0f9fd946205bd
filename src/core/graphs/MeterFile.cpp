#include "core/graphs/MeterFile.h"

#include "core/calc/Limits.h"
#include "core/calc/Numbers.h"
#include "core/InputLimits.h"
#include "core/Messages.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <map>

namespace korvan {

namespace {

// Windows-1251, the upper half: what Russian-language meter software still writes.
const char16_t Cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

QString decode(const QByteArray &bytes, QString &encoding)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.mid(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        encoding = QStringLiteral("UTF-8");
        return text;
    }
    encoding = QStringLiteral("Windows-1251");
    QString out;
    out.reserve(body.size());
    for (const char c : std::as_const(body)) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(b) : QChar(Cp1251High[b - 0x80]));
    }
    return out;
}

// One record of the file: a line, or several when a quoted field holds a line break.
struct Line {
    int number; // the line it begins on
    QStringList fields;
};

// A field as a message shows it: control characters (a NUL byte above all, which would end the
// message where it stands) as their visible pictures, ␀ for NUL.
QString visible(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
    return text;
}

bool isBlank(QChar c, QChar separator) { return c != separator && (c == u' ' || c == u'\t' || c == u'\r'); }

// The records of a CSV text by its rules: a field in double quotes may hold the separator, line
// breaks and doubled quotes (""), so "12,5" is one number in a comma-separated file; blanks around
// a field are not part of it; blank lines are skipped. At most `limit` records (-1: all).
QList<Line> readRecords(const QString &text, QChar separator, int limit = -1)
{
    QList<Line> out;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (limit < 0 || out.size() < limit)) {
        Line record{line, {}};
        bool content = false;
        for (;;) {
            qsizetype first = i;
            while (first < n && isBlank(text[first], separator))
                ++first;
            QString field;
            if (first < n && text[first] == u'"') {
                content = true;
                const int opened = line;
                i = first + 1;
                for (;;) {
                    if (i >= n)
                        throw KorvanError(QStringLiteral("Строка %1: кавычка не закрыта до конца файла.").arg(opened));
                    const QChar c = text[i++];
                    if (c == u'"') {
                        if (i < n && text[i] == u'"') {
                            field += c;
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == u'\n')
                        ++line;
                    field += c;
                }
                while (i < n && isBlank(text[i], separator))
                    ++i;
                if (i < n && text[i] != separator && text[i] != u'\n')
                    throw KorvanError(QStringLiteral("Строка %1: после закрывающей кавычки ожидается разделитель «%2» "
                                                     "или конец строки.")
                                          .arg(line)
                                          .arg(separator == u'\t' ? QStringLiteral("табуляция") : QString(separator)));
                field = field.trimmed();
            } else {
                while (i < n && text[i] != separator && text[i] != u'\n')
                    ++i;
                field = text.mid(first, i - first).trimmed();
                content = content || !field.isEmpty() || (i < n && text[i] == separator && separator != u'\t');
            }
            record.fields << field;
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            if (i < n) { // the line break
                ++i;
                ++line;
            }
            break;
        }
        if (content)
            out.append(record);
    }
    return out;
}

// The separator that cuts the first records into the same number of fields, at least three.
QChar detectSeparator(const QString &text)
{
    std::optional<KorvanError> quoting;
    for (const QChar candidate : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        try {
            const QList<Line> first = readRecords(text, candidate, 20);
            const bool consistent = !first.isEmpty() && std::all_of(first.begin(), first.end(), [&](const Line &l) {
                return l.fields.size() == first[0].fields.size();
            });
            if (consistent && first[0].fields.size() >= 3)
                return candidate;
        } catch (const KorvanError &e) {
            if (!quoting)
                quoting = e;
        }
    }
    if (quoting) // a quote left open explains the failure better than the separators do
        throw *quoting;
    throw KorvanError(QStringLiteral("Не удалось определить разделитель столбцов: ожидаются столбцы времени, "
                                     "P и Q, разделённые знаком «;», «,» или табуляцией."));
}

// The stamps as the meter's clock shows them: a file in local time repeats an hour in autumn,
// so its times are kept as written (in UTC, where no clock is ever put back) and the zone is
// asked only to explain a jump.
QDateTime wallClock(const QDate &date, const QTime &time) { return QDateTime(date, time, Qt::UTC); }

// The hour that the zone's clocks went through twice around the wall-clock time `at`, as the
// wall-clock range [first, last] its stamps take; nothing when no change put the clocks back by
// one hour there.
std::optional<std::pair<QDateTime, QDateTime>> repeatedHour(const QTimeZone &zone, const QDateTime &at)
{
    if (!zone.isValid() || !zone.hasTransitions())
        return std::nullopt;
    // `at` read as UTC is within a day of the instant it stands for in any zone.
    const QDateTime from = at.addDays(-2), to = at.addDays(2);
    for (QTimeZone::OffsetData t = zone.nextTransition(from); t.atUtc.isValid() && t.atUtc < to;
         t = zone.nextTransition(t.atUtc)) {
        const int before = zone.offsetFromUtc(t.atUtc.addSecs(-1)), after = t.offsetFromUtc;
        if (before - after != 3600)
            continue;
        const QDateTime first = t.atUtc.addSecs(after), last = t.atUtc.addSecs(before);
        if (first <= at && at <= last)
            return std::make_pair(first, last);
    }
    return std::nullopt;
}

struct Stamp {
    QDateTime when;
    bool dateless = false;
};

const QDate Dateless(2000, 1, 1);

std::optional<QTime> parseTime(const QString &text, int *dayCarry)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt(),
              s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h == 24 && min == 0 && s == 0) { // an end stamp of the day's last interval
        *dayCarry = 1;
        return QTime(0, 0);
    }
    const QTime t(h, min, s);
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

std::optional<QDate> parseDate(const QString &text)
{
    QDate d = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    if (!d.isValid())
        d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

// A stamp in one field ("01.12.2026 10:15", "2026-12-01 10:15:00", "10:15") or in a date field
// followed by a time field.
std::optional<Stamp> parseStamp(const QStringList &fields, int column, bool splitDateTime)
{
    if (column >= fields.size())
        return std::nullopt;
    int carry = 0;
    if (splitDateTime) {
        if (column + 1 >= fields.size())
            return std::nullopt;
        const auto d = parseDate(fields[column]);
        const auto t = parseTime(fields[column + 1], &carry);
        if (!d || !t)
            return std::nullopt;
        return Stamp{wallClock(d->addDays(carry), *t), false};
    }
    QString text = fields[column];
    text.replace(QLatin1Char('T'), QLatin1Char(' '));
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() == 1) {
        const auto t = parseTime(parts[0], &carry);
        if (!t)
            return std::nullopt;
        return Stamp{wallClock(Dateless.addDays(carry), *t), true};
    }
    if (parts.size() != 2)
        return std::nullopt;
    const auto d = parseDate(parts[0]);
    const auto t = parseTime(parts[1], &carry);
    if (!d || !t)
        return std::nullopt;
    return Stamp{wallClock(d->addDays(carry), *t), false};
}

QString stampText(const QDateTime &t, bool dateless)
{
    return dateless ? t.toString(QStringLiteral("HH:mm")) : t.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

bool looksLikeEnergy(const QString &name)
{
    const QString n = name.toLower().remove(QLatin1Char(' '));
    for (const char *unit : {"квтч", "квт·ч", "квт*ч", "квт.ч", "кварч", "квар·ч", "кварч", "kwh", "kvarh", "квт-ч"})
        if (n.contains(QString::fromUtf8(unit)))
            return true;
    return n.contains(QStringLiteral("энерг"));
}

} // namespace

MeterData readMeterFile(const QString &path, const MeterReadOptions &options)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvanError(QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString()));
    return readMeterText(readAllLimited(file, MaxMeterBytes, path), options);
}

MeterData readMeterText(const QByteArray &bytes, const MeterReadOptions &options)
{
    MeterData data;
    // Counted before anything is read: a file too long is refused at once.
    if (bytes.count('\n') > MaxMeterLines)
        throw KorvanError(QStringLiteral("В файле больше %1 строк: программа читает не больше %1 строк измерений "
                                         "(почти четыре года минутных измерений).")
                              .arg(MaxMeterLines));
    const QString text = decode(bytes, data.encoding);
    if (text.trimmed().isEmpty())
        throw KorvanError(QStringLiteral("Файл пуст: в нём нет ни одной строки с измерениями."));
    data.separator = detectSeparator(text);
    QList<Line> rows = readRecords(text, data.separator);

    // The stamp column: the first that reads as a stamp in the first line, or in the second
    // when the first is a header.
    int probe = 0;
    bool splitDateTime = false;
    for (; probe < 2 && probe < rows.size() && data.timeColumn < 0; ++probe)
        for (int c = 0; c < rows[probe].fields.size() && data.timeColumn < 0; ++c) {
            if (parseStamp(rows[probe].fields, c, false)) {
                data.timeColumn = c;
            } else if (parseStamp(rows[probe].fields, c, true)) {
                data.timeColumn = c;
                splitDateTime = true;
            }
        }
    probe = qMin(probe, int(rows.size())) - 1;
    if (data.timeColumn < 0)
        throw KorvanError(QStringLiteral("Строка %1: не найден столбец отметок времени "
                                         "(«ДД.ММ.ГГГГ ЧЧ:ММ», «ГГГГ-ММ-ДД ЧЧ:ММ[:СС]» или «ЧЧ:ММ»).")
                              .arg(rows[probe].number));
    data.header = !parseStamp(rows[0].fields, data.timeColumn, splitDateTime);
    const QStringList names = data.header ? rows[0].fields : QStringList();
    if (data.header)
        rows.removeFirst();
    if (rows.isEmpty())
        throw KorvanError(QStringLiteral("Файл пуст: в нём нет ни одной строки с измерениями."));

    const int width = int(rows[0].fields.size());
    for (int c = 0; c < width; ++c)
        data.columns << (c < names.size() && !names[c].isEmpty() ? names[c] : QStringLiteral("Столбец %1").arg(c + 1));

    // The values: P and Q by their names when the header tells, else the first two numeric columns.
    const int firstValue = data.timeColumn + (splitDateTime ? 2 : 1);
    QList<int> numeric;
    for (int c = firstValue; c < width; ++c)
        if (parseEitherDecimal(rows[0].fields.value(c)))
            numeric << c;
    for (int c : std::as_const(numeric)) {
        const QString n = names.value(c).toLower();
        if (data.qColumn < 0 && (n.startsWith(u'q') || n.contains(QStringLiteral("реакт"))))
            data.qColumn = c;
        else if (data.pColumn < 0 && (n.startsWith(u'p') || n.contains(QStringLiteral("актив"))))
            data.pColumn = c;
    }
    for (int c : std::as_const(numeric)) {
        if (data.pColumn < 0 && c != data.qColumn)
            data.pColumn = c;
        else if (data.qColumn < 0 && c != data.pColumn)
            data.qColumn = c;
    }
    if (data.pColumn < 0 || data.qColumn < 0)
        throw KorvanError(
            QStringLiteral("Строка %1: не найдены два числовых столбца значений (P и Q).").arg(rows[0].number));

    switch (options.units) {
    case MeterReadOptions::Units::Powers:
        data.energies = false;
        break;
    case MeterReadOptions::Units::Energies:
        data.energies = true;
        break;
    case MeterReadOptions::Units::Auto:
        data.energies = looksLikeEnergy(names.value(data.pColumn)) || looksLikeEnergy(names.value(data.qColumn));
    }

    // Every line: a stamp and two numbers, stamps not going back.
    struct Raw {
        QDateTime stamp;
        double p, q;
        int line;
    };
    QList<Raw> values;
    for (const Line &row : std::as_const(rows)) {
        const auto stamp = parseStamp(row.fields, data.timeColumn, splitDateTime);
        if (!stamp)
            throw KorvanError(QStringLiteral("Строка %1: «%2» не является отметкой времени.")
                                  .arg(row.number)
                                  .arg(visible(row.fields.value(data.timeColumn))));
        data.dateless = stamp->dateless;
        double v[2];
        const int cols[2] = {data.pColumn, data.qColumn};
        for (int k = 0; k < 2; ++k) {
            if (cols[k] >= row.fields.size())
                throw KorvanError(
                    QStringLiteral("Строка %1: нет столбца «%2».").arg(row.number).arg(visible(data.columns[cols[k]])));
            const auto number = parseEitherDecimal(row.fields[cols[k]]);
            if (!number)
                throw KorvanError(QStringLiteral("Строка %1: «%2» в столбце «%3» не является числом.")
                                      .arg(row.number)
                                      .arg(visible(row.fields[cols[k]]), visible(data.columns[cols[k]])));
            v[k] = *number;
        }
        values.append({stamp->when, v[0], v[1], row.number});
    }

    // A step back is an error unless the clocks were put back by an hour there.
    const auto putBack = [&](const Raw &prev, const Raw &cur) -> std::optional<std::pair<QDateTime, QDateTime>> {
        if (data.dateless)
            return std::nullopt;
        const auto hour = repeatedHour(options.zone, cur.stamp);
        if (!hour || prev.stamp < hour->first || prev.stamp > hour->second)
            return std::nullopt;
        return hour;
    };
    const auto goingBack = [&](const Raw &prev, const Raw &cur) {
        return KorvanError(QStringLiteral("Строка %1: отметка времени %2 раньше предыдущей (%3).")
                               .arg(cur.line)
                               .arg(stampText(cur.stamp, data.dateless), stampText(prev.stamp, data.dateless)));
    };

    // The interval: the most frequent step between stamps.
    std::map<qint64, int> steps;
    for (int i = 1; i < values.size(); ++i) {
        const qint64 d = values[i - 1].stamp.secsTo(values[i].stamp);
        if (d < 0 && !putBack(values[i - 1], values[i]))
            throw goingBack(values[i - 1], values[i]);
        if (d > 0)
            ++steps[d];
    }
    if (steps.empty())
        throw KorvanError(
            QStringLiteral("Не удалось определить интервал измерений: в файле меньше двух разных отметок времени."));
    const qint64 step =
        std::max_element(steps.begin(), steps.end(), [](auto &a, auto &b) { return a.second < b.second; })->first;
    if (step % 60 != 0 || step < 60 || step > 3600)
        throw KorvanError(QStringLiteral("Интервал измерений %1 с не подходит: ожидается от 1 до 60 минут.").arg(step));
    data.intervalMinutes = int(step / 60);

    const double intervalHours = data.intervalMinutes / 60.0;
    const Raw *kept = nullptr; // the last reading taken
    QSet<QDate> dates;
    for (int i = 0; i < values.size(); ++i) {
        const Raw &r = values[i];
        if (kept) {
            const qint64 d = kept->stamp.secsTo(r.stamp);
            // The clocks put back by one hour: the stamps of the hour come again, one interval
            // after the last of their first pass. Its first readings are kept, as for any
            // repeated stamp, and the second pass is skipped up to where the first one ended.
            if (d <= 0 && &values[i - 1] == kept && d + 3600 == step && putBack(*kept, r)) {
                int last = i;
                while (last + 1 < values.size() && values[last + 1].stamp <= kept->stamp)
                    ++last;
                const QString where = last == i ? QStringLiteral("Строка %1").arg(r.line)
                                                : QStringLiteral("Строки %1–%2").arg(r.line).arg(values[last].line);
                const QString stamps = last == i
                                           ? QStringLiteral("отметка %1 повторяется").arg(stampText(r.stamp, false))
                                           : QStringLiteral("отметки с %1 по %2 повторяются")
                                                 .arg(stampText(r.stamp, false), stampText(values[last].stamp, false));
                data.warnings << QStringLiteral("%1: часы переведены на час назад (переход на зимнее время), %2; "
                                                "взяты первые значения.")
                                     .arg(where, stamps);
                i = last;
                continue;
            }
            if (d < 0)
                throw goingBack(values[i - 1], r);
            if (d == 0) {
                data.warnings << QStringLiteral(
                                     "Строки %1 и %2: повторяющаяся отметка времени %3; взято первое значение.")
                                     .arg(kept->line)
                                     .arg(r.line)
                                     .arg(stampText(r.stamp, data.dateless));
                continue;
            }
            if (d != step)
                data.warnings << QStringLiteral("Пропуск данных между %1 (строка %2) и %3 (строка %4).")
                                     .arg(stampText(kept->stamp, data.dateless))
                                     .arg(kept->line)
                                     .arg(stampText(r.stamp, data.dateless))
                                     .arg(r.line);
        }
        MeterReading reading;
        reading.start = options.stampMarksStart ? r.stamp : r.stamp.addSecs(-step);
        reading.P = data.energies ? r.p / intervalHours : r.p;
        reading.Q = data.energies ? r.q / intervalHours : r.q;
        reading.line = r.line;
        // Beyond the limit the averages stop meaning anything (and near the largest double
        // their sums are infinite).
        for (const auto &[value, column] : {std::pair{reading.P, data.pColumn}, std::pair{reading.Q, data.qColumn}}) {
            // A load graph holds consumed powers: a negative reading (a meter counting the other
            // way, a generator behind it) is not one.
            if (value < 0)
                throw KorvanError(QStringLiteral("Строка %1: значение «%2» в столбце «%3» отрицательно: мощность "
                                                 "нагрузки не может быть меньше 0.")
                                      .arg(r.line)
                                      .arg(visible(rows[i].fields.value(column)), visible(data.columns[column])));
            if (std::fabs(value) > MaxPower)
                throw KorvanError(QStringLiteral("Строка %1: значение «%2» в столбце «%3» означает мощность %4 %5, "
                                                 "больше допустимой %6.")
                                      .arg(r.line)
                                      .arg(visible(rows[i].fields.value(column)), visible(data.columns[column]),
                                           numberText(value),
                                           column == data.pColumn ? QStringLiteral("кВт") : QStringLiteral("кВАр"),
                                           numberText(MaxPower)));
        }
        data.readings.append(reading);
        kept = &values[i];
        if (!dates.contains(reading.start.date())) {
            dates.insert(reading.start.date());
            data.dates.append(reading.start.date());
        }
    }
    return data;
}

namespace {

struct DayPeriods {
    QList<double> sumP, sumQ;
    QList<int> count;
};

// The readings of each day, found in one pass: a file of years of minute readings has a thousand
// days, and going through all readings for each of them took minutes.
using ReadingsByDay = QHash<QDate, QList<const MeterReading *>>;

ReadingsByDay readingsByDay(const MeterData &data)
{
    ReadingsByDay out;
    for (const MeterReading &r : data.readings)
        out[r.start.date()].append(&r);
    return out;
}

DayPeriods collect(const ReadingsByDay &byDay, const QDate &date, int periodMinutes)
{
    const int n = 24 * 60 / periodMinutes;
    DayPeriods d{QList<double>(n, 0.0), QList<double>(n, 0.0), QList<int>(n, 0)};
    for (const MeterReading *reading : byDay.value(date)) {
        const MeterReading &r = *reading;
        const int minute = r.start.time().hour() * 60 + r.start.time().minute();
        const int k = minute / periodMinutes;
        d.sumP[k] += r.P;
        d.sumQ[k] += r.Q;
        ++d.count[k];
    }
    return d;
}

bool complete(const DayPeriods &d, int perPeriod)
{
    return std::all_of(d.count.begin(), d.count.end(), [perPeriod](int c) { return c >= perPeriod; });
}

QList<QDate> completeDays(const MeterData &data, const ReadingsByDay &byDay, int periodMinutes, bool workdaysOnly)
{
    QList<QDate> out;
    for (const QDate &date : data.dates)
        if ((!workdaysOnly || date.dayOfWeek() <= 5) &&
            complete(collect(byDay, date, periodMinutes), periodMinutes / data.intervalMinutes))
            out << date;
    return out;
}

QString hoursText(double h) { return numberText(h); }

} // namespace

QString describeDay(const MeterData &data, const MeterDayChoice &choice)
{
    switch (choice.kind) {
    case MeterDayChoice::Kind::Date:
        if (data.dateless)
            return QStringLiteral("сутки без даты");
        return (choice.date.isValid() ? choice.date : data.dates.value(0)).toString(QStringLiteral("dd.MM.yyyy"));
    case MeterDayChoice::Kind::Workdays:
        return QStringLiteral("среднее по рабочим дням");
    case MeterDayChoice::Kind::MaxDay:
        return QStringLiteral("сутки с наибольшим потреблением активной энергии");
    }
    return {};
}

QList<LoadPeriod> meterDayGraph(const MeterData &data, const MeterDayChoice &choice, double periodHours)
{
    static const QList<double> lengths{0.5, 1, 2, 3, 4};
    if (!lengths.contains(periodHours))
        throw KorvanError(QStringLiteral("Длина периода графика должна быть 0,5, 1, 2, 3 или 4 ч."));
    const int periodMinutes = int(periodHours * 60);
    if (data.intervalMinutes <= 0 || periodMinutes % data.intervalMinutes != 0)
        throw KorvanError(
            QStringLiteral("Длина периода графика (%1 мин) должна быть кратна интервалу измерений (%2 мин).")
                .arg(periodMinutes)
                .arg(data.intervalMinutes));
    const int n = 24 * 60 / periodMinutes;
    const ReadingsByDay byDay = readingsByDay(data);

    QList<QDate> days;
    switch (choice.kind) {
    case MeterDayChoice::Kind::Date: {
        QDate date = choice.date;
        if (!date.isValid() || data.dateless) {
            if (data.dates.size() != 1)
                throw KorvanError(
                    QStringLiteral("В файле несколько суток: выберите одни сутки, среднее по рабочим дням "
                                   "или сутки с наибольшим потреблением активной энергии."));
            date = data.dates.first();
        }
        if (!data.dates.contains(date))
            throw KorvanError(
                QStringLiteral("Сутки %1 в файле отсутствуют.").arg(date.toString(QStringLiteral("dd.MM.yyyy"))));
        days << date;
        break;
    }
    case MeterDayChoice::Kind::Workdays:
        if (data.dateless)
            throw KorvanError(QStringLiteral("В файле нет дат: выбрать рабочие дни нельзя."));
        days = completeDays(data, byDay, periodMinutes, true);
        if (days.isEmpty())
            throw KorvanError(QStringLiteral("В файле нет полных рабочих суток (с понедельника по пятницу)."));
        break;
    case MeterDayChoice::Kind::MaxDay: {
        const QList<QDate> full = completeDays(data, byDay, periodMinutes, false);
        if (full.isEmpty())
            throw KorvanError(QStringLiteral("В файле нет полных суток."));
        double best = -1;
        QDate bestDay;
        for (const QDate &date : full) {
            double energy = 0;
            for (const MeterReading *r : byDay.value(date))
                energy += r->P * data.intervalMinutes / 60.0;
            if (energy > best) {
                best = energy;
                bestDay = date;
            }
        }
        days << bestDay;
        break;
    }
    }

    // Each day's period averages, then their mean over the days.
    QList<double> p(n, 0.0), q(n, 0.0);
    for (const QDate &date : std::as_const(days)) {
        const DayPeriods d = collect(byDay, date, periodMinutes);
        for (int k = 0; k < n; ++k) {
            if (d.count[k] == 0)
                throw KorvanError(
                    QStringLiteral("За %1 нет измерений в периоде с %2 по %3 ч.")
                        .arg(data.dateless ? QStringLiteral("сутки") : date.toString(QStringLiteral("dd.MM.yyyy")),
                             hoursText(k * periodHours), hoursText((k + 1) * periodHours)));
            p[k] += d.sumP[k] / d.count[k];
            q[k] += d.sumQ[k] / d.count[k];
        }
    }
    QList<LoadPeriod> out;
    for (int k = 0; k < n; ++k)
        out.append({k * periodHours, (k + 1) * periodHours, R(p[k] / days.size(), 2), R(q[k] / days.size(), 2)});
    return out;
}

} // namespace korvan
