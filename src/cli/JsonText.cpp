#include "cli/JsonText.h"

#include "core/data/TTable.h"
#include "core/Messages.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QTime>
#include <algorithm>

#include <cmath>

namespace korvan::cli::json {

QByteArray string(const QString &text)
{
    // Most texts need no escape: quoted as they are, in UTF-8 (a list of many rows is mostly
    // texts, and a JSON document per text took a third of it).
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 && u != u'"' && u != u'\\' && u != 0x7f && !QChar::isSurrogate(u);
    });
    if (plain) {
        QByteArray quoted;
        quoted.reserve(text.size() * 2 + 2);
        return quoted.append('"').append(text.toUtf8()).append('"');
    }
    // Otherwise let Qt escape it: a one-element array, without its brackets.
    const QByteArray a = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

QByteArray value(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return "null";
    switch (v.typeId()) {
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d == 0)
            return "0";
        // The checks of the inputs keep every result finite; should one still not be, the
        // output would not be JSON at all ("inf", "nan").
        if (!std::isfinite(d))
            throw KorvanError(QStringLiteral("Результат команды содержит бесконечное или неопределённое значение, "
                                             "которое нельзя вывести в JSON. Проверьте исходные данные."));
        return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QByteArray::number(v.toLongLong());
    case QMetaType::Bool:
        return v.toBool() ? "true" : "false";
    case QMetaType::QDate:
        return string(v.toDate().toString(Qt::ISODate));
    case QMetaType::QTime:
        return string(v.toTime().toString(QStringLiteral("HH:mm:ss")));
    default:
        return string(v.toString());
    }
}

QByteArray row(const TTable &table, const QList<QPair<QString, QByteArray>> &extra)
{
    QList<QPair<QString, QByteArray>> members;
    for (int i = 0; i < table.fieldCount(); ++i)
        members.append({table.fieldName(i), value(table.value(i))});
    members.append(extra);
    return object(members);
}

QByteArray array(const QList<QByteArray> &items)
{
    QByteArray out = "[";
    for (int i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        out += items[i];
    }
    return out + ']';
}

QByteArray object(const QList<QPair<QString, QByteArray>> &members)
{
    QByteArray out = "{";
    for (int i = 0; i < members.size(); ++i) {
        if (i)
            out += ',';
        out += string(members[i].first) + ':' + members[i].second;
    }
    return out + '}';
}

} // namespace korvan::cli::json
