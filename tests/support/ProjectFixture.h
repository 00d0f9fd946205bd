#pragma once

#include "core/graphs/GraphTable.h"
#include "TestData.h"

namespace korvan::test {

// The worked example project: tariffs 0,715 and 0,02, 21 and 260 days, periods 0–8 h
// (100 kW, 80 kVAr) and 8–24 h (50 kW, 30 kVAr). Becomes the current project.
void createExampleProject(TDataModule1 &data, const QString &name = QStringLiteral("Пример"));
QList<LoadPeriod> examplePeriods();

// A catalogue type of its own company, made current: returns its Kod.
qint64 addCatalogueType(TDataModule1 &data, const QString &company, const QString &name, double q, double pp,
                        const QVariant &price, const QList<QPair<double, int>> &modules);

// Rows of a table in the whole file.
int rowsIn(Store &store, const QString &table);

} // namespace korvan::test
