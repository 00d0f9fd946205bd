#include "core/data/TDataModule1.h"
#include "core/data/Fields.h"

#include "core/data/CatalogueHooks.h"
#include "core/data/CatalogueVariants.h"
#include "core/data/Store.h"
#include "core/Messages.h"

namespace korvan {

TDataModule1::TDataModule1(Store &store, QObject *parent)
    : QObject(parent), tblProj0(new TTable(store, tbl::project0, this)),
      tblProj1(new TTable(store, tbl::project1, this)), tblProj2(new TTable(store, tbl::project2, this)),
      tblProj3(new TTable(store, tbl::project3, this)), tblProj4(new TTable(store, tbl::project4, this)),
      tblProj5(new TTable(store, tbl::project5, this)), tblsKU0(new TTable(store, tbl::sKU0, this)),
      tblsKU1(new TTable(store, tbl::sKU1, this)), tblsKU2(new TTable(store, tbl::sKU2, this)),
      TableHints(new TTable(store, tbl::Hints, this)), tblSutGr0(new TTable(store, tbl::sSutGraphic0, this)),
      tblSutGr1(new TTable(store, tbl::sSutGraphic1, this)), tblSutGr2(new TTable(store, tbl::sSutGraphic2, this)),
      TableReport(new TTable(store, tbl::report, this)), tblSel_KU(new TTable(store, tbl::sel_ku, this)), m_store(store)
{
    setObjectName(QStringLiteral("DataModule1"));
    tblProj1->setMaster(tblProj0);
    tblProj2->setMaster(tblProj0);
    tblProj3->setMaster(tblProj2);
    tblProj4->setMaster(tblProj3);
    tblProj5->setMaster(tblProj2);
    tblsKU1->setMaster(tblsKU0);
    tblsKU2->setMaster(tblsKU1);
    tblSutGr1->setMaster(tblSutGr0);
    tblSutGr2->setMaster(tblSutGr1);
    tblSel_KU->setIndexName(QStringLiteral("siSrok"));

    installCascade(tblProj0, {tblProj1, tblProj2});
    installCascade(tblProj2, {tblProj3, tblProj5});
    installCascade(tblProj3, {tblProj4});
    installCascade(tblsKU0, {tblsKU1});
    installCascade(tblsKU1, {tblsKU2});
    installCascade(tblSutGr0, {tblSutGr1});
    installCascade(tblSutGr1, {tblSutGr2});
    for (TTable *t : {tblsKU1, tblsKU2, tblSutGr1, tblSutGr2})
        installGuard(t);

    installCatalogueHooks(*this);
    installCatalogueFollow(*this);

    openAll();
    // The analysis rows are each project's own: none are read until a project's are asked for,
    // however many other projects have.
    tblSel_KU->setFilter(QStringLiteral("Kod0='0'"));
    tblSel_KU->setFiltered(true);
}

TDataModule1::~TDataModule1() { closeAll(); }

QList<TTable *> TDataModule1::tables() const
{
    return {tblProj0, tblProj1,   tblProj2,  tblProj3,  tblProj4,  tblProj5,    tblsKU0,  tblsKU1,
            tblsKU2,  TableHints, tblSutGr0, tblSutGr1, tblSutGr2, TableReport, tblSel_KU};
}

TTable *TDataModule1::table(const QString &tableName) const
{
    for (TTable *t : tables())
        if (t->tableName() == tableName)
            return t;
    return nullptr;
}

void TDataModule1::openAll()
{
    for (TTable *t : tables())
        t->open();
}

void TDataModule1::closeAll()
{
    for (TTable *t : {tblProj5, tblProj4, tblProj3, tblProj2, tblProj1, tblProj0, tblsKU2, tblsKU1, tblsKU0, TableHints,
                      tblSutGr0, tblSutGr1, tblSutGr2, TableReport, tblSel_KU})
        t->close();
}

void TDataModule1::deleteAllRows(TTable &detail) { detail.removeAll(); }

void TDataModule1::detailEditGuard(TTable &detail)
{
    if (detail.master() && detail.master()->editing()) {
        Messages::error(QStringLiteral("Завершите работу с главной таблицей."));
        throw Abort();
    }
}

void TDataModule1::installCascade(TTable *master, QList<TTable *> details) { master->setCascade(std::move(details)); }

void TDataModule1::installGuard(TTable *detail)
{
    detail->beforeInsert = detailEditGuard;
    detail->beforeEdit = detailEditGuard;
}

} // namespace korvan
