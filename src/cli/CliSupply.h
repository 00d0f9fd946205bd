#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QtGlobal>

namespace korvan {
class TDataModule1;
class Store;
} // namespace korvan

namespace korvan::cli {

// The resonance check in the command-line program's JSON.

// The "supply" member of an imported project (absent or null: none), set on the current project.
void importSupply(TDataModule1 &data, const QJsonValue &supply);
// The project's supply as exported, or null.
QByteArray supplyJson(Store &store, qint64 projectKod);
// The five values of the check of a variant or an analysis row.
QByteArray variantHarmonicsJson(Store &store, qint64 variantKod);
QByteArray candidateHarmonicsJson(Store &store, qint64 rowKod);

} // namespace korvan::cli
