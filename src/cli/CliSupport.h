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

// The command-line program takes "0.92" as well as "0,92"; the rest of the program knows the
// comma only, so every number typed on the command line or read from JSON passes through here.
QString decimalComma(QString text);

// A number given in JSON as a number or as text ("0,92" or "0.92"), as the dialogs' text;
// absent members take the fallback, null gives empty text.
QString numberText(const QJsonObject &object, const QString &key, const QString &fallback = {});
QString textOf(const QJsonObject &object, const QString &key, const QString &fallback = {});
// A name that may be given as a number too (a variant's number), as it stands.
QString labelText(const QJsonObject &object, const QString &key, const QString &fallback = {});

// The positional project code; the project becomes current.
qint64 takeProject(Context &context);
void locateProject(TDataModule1 &data, qint64 kod);

} // namespace korvan::cli
