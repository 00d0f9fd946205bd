#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

namespace korvan {
class TDataModule1;
struct EconomicParams;
} // namespace korvan

namespace korvan::cli {

// The current project's economic parameters as the "economics" member of export.
QByteArray currentEconomicsJson(TDataModule1 &data);
// The current variant's figures as the "economics" member of its object in export.
QByteArray currentVariantEconomicsJson(TDataModule1 &data);
// The figures of the analysis row at the cursor, as members NPV, IRR and DPP of its row (null where
// undefined), computed with the parameters of the row's project.
QList<QPair<QString, QByteArray>> candidateEconomicsMembers(TDataModule1 &data, const EconomicParams &params);
// Sets the current project's parameters from the "economics" member of an imported project: an
// object of the keys Rate, Life, Maint and Mont, each optional, checked as the dialog checks them.
void importEconomics(TDataModule1 &data, const QJsonValue &economics);

} // namespace korvan::cli
