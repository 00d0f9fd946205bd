#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace korvan {
class TDataModule1;
}

namespace korvan::cli {

struct Context;

// The JSON of a file, or of standard input for "-".
QJsonValue readJsonInput(const QString &path);

// A number given in JSON as a number or as text ("0,92" or "0.92"), as the dialogs' text;
// absent members take the fallback, null gives empty text.
QString numberText(const QJsonObject &object, const QString &key, const QString &fallback = {});
QString textOf(const QJsonObject &object, const QString &key, const QString &fallback = {});

// The positional project code; the project becomes current.
qint64 takeProject(Context &context);
void locateProject(TDataModule1 &data, qint64 kod);

} // namespace korvan::cli
