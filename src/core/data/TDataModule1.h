#pragma once

#include "core/data/TTable.h"

#include <QObject>
#include <memory>

namespace korvan {

class Store;

// The shared cursors of the whole program: one per table, linked master to detail, with the
// cascade deletes, the detail edit guard and the record hooks. Every window, command and report
// works on these; their current rows are the current project, variant, period and so on.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(Store &store, QObject *parent = nullptr);
    ~TDataModule1() override;

    Store &store() const { return m_store; }

    // Opens the tables in the fixed order and closes them in the fixed order.
    void openAll();
    void closeAll();

    // The cursors in their opening order.
    QList<TTable *> tables() const;
    TTable *table(const QString &tableName) const;

    TTable *const tblProj0, *const tblProj1, *const tblProj2, *const tblProj3, *const tblProj4, *const tblProj5;
    TTable *const tblsKU0, *const tblsKU1, *const tblsKU2;
    TTable *const TableHints;
    TTable *const tblSutGr0, *const tblSutGr1, *const tblSutGr2;
    TTable *const TableReport;
    TTable *const tblSel_KU;

    // Deletes every visible row of a detail, each delete running the detail's own hooks.
    static void deleteAllRows(TTable &detail);
    // Refuses to insert into or edit a detail while its master's row is being edited.
    static void detailEditGuard(TTable &detail);

private:
    void installCascade(TTable *master, QList<TTable *> details);
    void installGuard(TTable *detail);

    Store &m_store;
};

} // namespace korvan
