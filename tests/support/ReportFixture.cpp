#include "ReportFixture.h"

#include "core/compensation/VariantCommands.h"
#include "core/data/ReportFrontTables.h"
#include "core/data/TDataModule1.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/WordApplication.h"
#include "ProjectFixture.h"

#include <QDir>

namespace korvan::test {

void createThreeVariantProject(TDataModule1 &data)
{
    createExampleProject(data, QStringLiteral("Цех №1"));
    struct Type {
        const char *name;
        double q;
        QList<QPair<double, int>> modules;
        int mode;
        const char *min, *max, *tr;
    };
    const Type types[] = {
        {"КУ-75", 75, {{50, 1}, {25, 1}}, FullCompensation, "", "", ""},
        {"КУ-60", 60, {{20, 3}}, CosInRange, "0,92", "0,98", ""},
        {"КУ-100", 100, {{25, 2}, {50, 1}}, CosNearest, "", "", "0,95"},
    };
    const qint64 project = data.tblProj0->currentKod();
    int number = 0;
    for (const Type &t : types) {
        ++number;
        addCatalogueType(data, QStringLiteral("Завод %1").arg(number), QString::fromUtf8(t.name), t.q, 0.005,
                         10000 + 1000 * number, t.modules);
        data.tblProj0->locate(QStringLiteral("Kod"), project);
        VariantParams p;
        p.varNum = QString::number(number);
        p.mode.mode = t.mode;
        p.mode.cosfMin = QString::fromUtf8(t.min);
        p.mode.cosfMax = QString::fromUtf8(t.max);
        p.mode.cosfTr = QString::fromUtf8(t.tr);
        addVariant(data, p);
    }
    data.tblProj2->first();
}

void setReportValue(TDataModule1 &data, const QString &field, const QVariant &value)
{
    TTable &report = *data.TableReport;
    report.edit();
    report.setValue(field, value);
    report.post();
}

void setReportFlags(TDataModule1 &data, const QList<ReportFlag> &on)
{
    TTable &report = *data.TableReport;
    report.edit();
    for (const ReportFlagInfo &f : reportFlags())
        report.setValue(f.field, on.contains(f.flag));
    report.post();
    setReportFront(data.store(), report.currentKod(), {});
}

QString exportReport(TDataModule1 &data, WordApplication &word, const QString &folder, bool allVariants)
{
    static int count = 0;
    const QString path = QDir(folder).filePath(QStringLiteral("отчет %1.docx").arg(++count));
    word.setTargetFile(path);
    ExportProjectReport(data, word, allVariants);
    return path;
}

} // namespace korvan::test
