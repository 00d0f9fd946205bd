#pragma once

#include <QString>
#include <QtGlobal>

namespace korvan {

class Store;

// Tables beside report.DB, so that it keeps its fields; one row per settings record, keyed by its
// Kod and deleted with it:
//  "report_front.db"    whether the report opens with the summary of the variants and with a
//                       contents list; no row is off;
//  "report_engineer.db" the engineer who signs the report: printed in its title block and written
//                       as the document's author; no row is nobody.
inline constexpr const char *ReportFrontTable = "report_front.db";
inline constexpr const char *ReportEngineerTable = "report_engineer.db";

struct ReportFront {
    bool summary = false;
    bool contents = false;
};

struct ReportEngineer {
    QString name;
    QString position;
    QString organisation;

    bool isEmpty() const
    {
        return name.trimmed().isEmpty() && position.trimmed().isEmpty() && organisation.trimmed().isEmpty();
    }
    // "Иванов И. И., инженер-проектировщик, ООО «Энерго»": the parts given, in that order.
    QString text() const;
};

// Creates both tables and their triggers; every settings record present gets the summary and the
// contents. Runs inside the caller's transaction.
void createReportFrontTables(Store &store);

ReportFront reportFront(Store &store, qint64 settingsKod);
void setReportFront(Store &store, qint64 settingsKod, const ReportFront &front);

ReportEngineer reportEngineer(Store &store, qint64 settingsKod);
// An engineer with nothing filled in removes the row.
void setReportEngineer(Store &store, qint64 settingsKod, const ReportEngineer &engineer);

} // namespace korvan
