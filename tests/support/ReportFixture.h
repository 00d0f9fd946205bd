#pragma once

#include "core/reports/ReportSettings.h"
#include "TestData.h"

#include <QStringList>

namespace korvan {
class WordApplication;
}

namespace korvan::test {

// The example project with three variants of three catalogue types: 1 "КУ-75" full compensation,
// 2 "КУ-60" cos(f) in a range (0,92 to 0,98), 3 "КУ-100" nearest to the required cos(f) 0,95.
// Variant 1 ends up current.
void createThreeVariantProject(TDataModule1 &data);

// Edits the current report.DB record: every flag off but the given ones (the summary and the
// contents kept beside it too), the page values given.
void setReportFlags(TDataModule1 &data, const QList<ReportFlag> &on);
void setReportValue(TDataModule1 &data, const QString &field, const QVariant &value);

// Runs the export into a fresh file of the folder and returns its path.
QString exportReport(TDataModule1 &data, WordApplication &word, const QString &folder, bool allVariants);

} // namespace korvan::test
