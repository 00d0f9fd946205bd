#pragma once

#include <QByteArray>
#include <QJsonValue>

namespace korvan {
class TDataModule1;
}

namespace korvan::cli {

// The current project's economic parameters as the "economics" member of export.
QByteArray currentEconomicsJson(TDataModule1 &data);
// The current variant's figures as the "economics" member of its object in export.
QByteArray currentVariantEconomicsJson(TDataModule1 &data);
// Sets the current project's parameters from the "economics" member of an imported project: an
// object of the keys Rate, Life, Maint and Mont, each optional, checked as the dialog checks them.
void importEconomics(TDataModule1 &data, const QJsonValue &economics);

} // namespace korvan::cli
