#include "cli/CliSupport.h"
#include "core/data/Fields.h"

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/JsonReader.h"
#include "core/calc/Numbers.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/InputLimits.h"
#include "core/Messages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>
#include <cstdio>
#include <limits>

namespace korvan::cli {

QJsonValue readJsonInput(const QString &path)
{
    QFile file;
    QByteArray bytes;
    if (path == QLatin1String("-")) {
        // Read once: a command tried again after a conflict with another user reads the same input.
        static QByteArray input;
        static bool read = false;
        if (!read) {
            if (!file.open(stdin, QIODevice::ReadOnly))
                throw KorvanError(QStringLiteral("Не удалось прочитать стандартный ввод."));
            input = readAllLimited(file, MaxJsonBytes, QStringLiteral("стандартный ввод"));
            read = true;
        }
        bytes = input;
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly))
            throw KorvanError(QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString()));
        bytes = readAllLimited(file, MaxJsonBytes, path);
    }
    return parseJsonText(bytes, path == QLatin1String("-") ? QStringLiteral("стандартный ввод") : path);
}

// Both read values whose shape checkJson has passed: a number or a text where a number belongs,
// a text where a text belongs, or null.
QString decimalComma(QString text) { return text.replace(QLatin1Char('.'), QLatin1Char(',')); }

QString labelText(const QJsonObject &object, const QString &key, const QString &fallback)
{
    if (!object.contains(key))
        return fallback;
    const QJsonValue v = object.value(key);
    return v.isDouble() ? exactNumberText(v.toDouble()) : v.toString();
}

QString numberText(const QJsonObject &object, const QString &key, const QString &fallback)
{
    const QJsonValue v = object.value(key);
    return object.contains(key) && v.isString() ? decimalComma(v.toString()) : labelText(object, key, fallback);
}

QString textOf(const QJsonObject &object, const QString &key, const QString &fallback)
{
    return object.contains(key) ? object.value(key).toString() : fallback;
}

void locateProject(TDataModule1 &data, qint64 kod)
{
    if (!data.tblProj0->locate(fld::Kod, kod))
        throw KorvanError(QStringLiteral("Проект с кодом %1 не найден.").arg(kod));
}

qint64 takeProject(Context &context)
{
    const QString text = context.takePositional(QStringLiteral("код проекта"));
    bool ok = false;
    const qint64 kod = text.toLongLong(&ok);
    if (!ok)
        throw KorvanError(QStringLiteral("Код проекта «%1» должен быть целым числом.").arg(text));
    // Keys are 32-bit integers in both stores: a code beyond them names no project (and the
    // server would refuse the number itself, in its own words).
    if (kod < 1 || kod > std::numeric_limits<qint32>::max())
        throw KorvanError(QStringLiteral("Проект с кодом %1 не найден.").arg(kod));
    // Taken before the cursors read the project, so that they read it as the holder left it.
    if (context.command && !context.command->readsOnly)
        context.store().lockProject(kod);
    locateProject(context.data(), kod);
    return kod;
}

} // namespace korvan::cli
