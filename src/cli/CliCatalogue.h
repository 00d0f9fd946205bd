#pragma once

#include <QByteArray>
#include <QJsonValue>

namespace korvan {
class TDataModule1;
}

namespace korvan::cli {

// Adds the companies and installations of a catalogue input (its shape is checked first) in one
// command; the JSON array of what was added, as catalogue-import prints it.
QByteArray importCatalogueJson(TDataModule1 &data, const QJsonValue &input);

} // namespace korvan::cli
