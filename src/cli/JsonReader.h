#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace korvan::cli {

// The JSON of an input's bytes, strictly: UTF-8 only, well formed, and no object naming a key
// twice (a parser would silently keep the last value). `shown` names the input in messages.
QJsonValue parseJsonText(const QByteArray &bytes, const QString &shown);

// The path of the first key an object of the (well-formed) JSON text repeats, as the shape
// check names paths ("variants[2].Cosf_min", "[0].types[1].Name"); nothing when none is repeated.
std::optional<QString> repeatedKeyPath(const QByteArray &json);

} // namespace korvan::cli
