#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

namespace korvan {

class Store;
class TDataModule1;

// Variants copy their installation from the catalogue: its name, power, losses, price and module
// set. When a type is changed, every variant of it in every project follows: the copies are
// written anew, the compensated periods switched again where the module set changed, and the
// projects recalculated, all inside the change's own transaction.
void followCatalogueType(Store &store, qint64 typeKod);

// A type's module groups as the catalogue holds them: power and count, in key order.
QList<QPair<double, qint64>> catalogueModuleGroups(Store &store, qint64 typeKod);

// "«Проект» (варианты 1, 2); «Цех 2» (вариант 3)": the projects and variants that use the type,
// empty when none does.
QString variantsOfTypeText(Store &store, qint64 typeKod);

// A type's changes reach its variants; the last module of a type in use cannot be deleted.
void installCatalogueFollow(TDataModule1 &data);

} // namespace korvan
