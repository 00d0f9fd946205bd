#pragma once

class QJsonArray;
#include <QStringList>
#include <QVariantList>

namespace korvan {

class Store;

// Fills a new database with the delivered contents: the two catalogues, the report settings
// and the hints, from the data files compiled into the program.
class Seeder {
public:
    explicit Seeder(Store &store) : m_store(store) {}
    void seedAll();

    void seedCatalogue(const QJsonArray &companies);
    void seedTypicalGraphs(const QJsonArray &industries);
    void seedReportSettings(const QJsonArray &records);
    void seedHints(const QJsonArray &hints);
    // The full report includes the resonance block (a new store, and one made before the check).
    void switchResonanceOnInFullReport();

    static QJsonArray readResource(const QString &name);

private:
    long long insert(const QString &table, const QStringList &fields, const QVariantList &values);
    Store &m_store;
};

} // namespace korvan
