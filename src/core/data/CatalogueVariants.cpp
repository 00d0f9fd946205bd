#include "core/data/CatalogueVariants.h"
#include "core/data/Fields.h"

#include "core/data/ProjectResults.h"
#include "core/data/Records.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/VariantPeriods.h"
#include "core/Messages.h"

#include <QHash>

namespace korvan {

namespace {

struct TypeRow {
    QVariant name, q, pp, cena;
    QList<QPair<double, qint64>> modules; // power and count, in key order
};

TypeRow readType(Store &store, qint64 typeKod)
{
    TypeRow t;
    Statement &q =
        store.prepared(QStringLiteral("SELECT \"Name\",\"Q\",\"Pp\",\"Cena\" FROM \"sKU1.DB\" WHERE \"Kod\"=?"));
    q.bind(0, typeKod);
    if (q.next()) {
        t.name = q.column(0);
        t.q = q.column(1);
        t.pp = q.column(2);
        t.cena = q.column(3);
    }
    q.reset();
    t.modules = catalogueModuleGroups(store, typeKod);
    return t;
}

QString filterOn(const QString &field, qint64 kod) { return QStringLiteral("%1='%2'").arg(field).arg(kod); }

} // namespace

QList<QPair<double, qint64>> catalogueModuleGroups(Store &store, qint64 typeKod)
{
    Statement &m = store.prepared(
        QStringLiteral("SELECT \"Qstup\",\"Kol_vo\" FROM \"sKU2.DB\" WHERE \"Kod0\"=? ORDER BY \"Kod\""));
    m.bind(0, typeKod);
    QList<QPair<double, qint64>> groups;
    while (m.next())
        groups.append({m.column(0).toDouble(), m.column(1).toLongLong()});
    m.reset();
    return groups;
}

QString variantsOfTypeText(Store &store, qint64 typeKod)
{
    Statement &q = store.prepared(QStringLiteral(
        "SELECT p.\"Name\", v.\"VarNum\" FROM \"project2.db\" v JOIN \"project0.db\" p ON p.\"Kod\" = v.\"Kod0\" "
        "WHERE v.\"KodKU1\"=? ORDER BY p.\"Kod\", v.\"VarNum\""));
    q.bind(0, typeKod);
    QStringList order;
    QHash<QString, QStringList> numbers;
    while (q.next()) {
        const QString project = q.column(0).toString();
        if (!numbers.contains(project))
            order << project;
        numbers[project] << q.column(1).toString();
    }
    q.reset();
    QStringList parts;
    for (const QString &project : order) {
        const QStringList &n = numbers[project];
        parts << QStringLiteral("«%1» (%2 %3)")
                     .arg(project, n.size() == 1 ? QStringLiteral("вариант") : QStringLiteral("варианты"),
                          n.join(QStringLiteral(", ")));
    }
    return parts.join(QStringLiteral("; "));
}

void followCatalogueType(Store &store, qint64 typeKod)
{
    if (typeKod <= 0)
        return;
    // The projects whose analysis rows evaluated the type follow it too.
    QList<qint64> projects;
    Statement &rows = store.prepared(
        QStringLiteral("SELECT DISTINCT \"Kod0\" FROM \"sel_ku.DB\" WHERE \"KodKU1\"=? ORDER BY \"Kod0\""));
    rows.bind(0, typeKod);
    while (rows.next())
        projects << rows.column(0).toLongLong();
    rows.reset();
    const bool hasVariants =
        store.scalar(QStringLiteral("SELECT 1 FROM \"project2.db\" WHERE \"KodKU1\"=%1").arg(typeKod)).isValid();
    if (!hasVariants) {
        refreshProjectResults(store, projects);
        return;
    }
    const TypeRow type = readType(store, typeKod);
    if (type.modules.isEmpty())
        throw KorvanError(QStringLiteral("У конденсаторной установки «%1» не осталось модулей, а ее используют "
                                         "варианты компенсации: %2.")
                              .arg(type.name.toString(), variantsOfTypeText(store, typeKod)));
    Store::Transaction tx(store);
    // Cursors of their own, without the shared ones' hooks: the variants may be in any project.
    TTable variants(store, tbl::project2), set(store, tbl::project5), compensated(store, tbl::project3),
        switched(store, tbl::project4), periods(store, tbl::project1);
    set.setMaster(&variants);
    compensated.setMaster(&variants);
    switched.setMaster(&compensated);
    compensated.setCascade({&switched});
    for (TTable *t : {&variants, &set, &compensated, &switched, &periods})
        t->open();
    variants.setFilter(filterOn(fld::KodKU1, typeKod));
    variants.setFiltered(true);

    for (variants.first(); !variants.eof(); variants.next()) {
        const qint64 project = variants.asInteger(fld::Kod0);
        if (!projects.contains(project))
            projects << project;
        variants.edit();
        variants.setValue(fld::TipKU, type.name.toString().left(30));
        variants.setValue(fld::Qk, type.q);
        variants.setValue(fld::Pp, type.pp);
        // A type without a price gives 0, as when the variant was made.
        variants.setValue(fld::Cena, type.cena.isNull() ? QVariant(0.0) : type.cena);
        variants.post();

        QList<QPair<double, qint64>> stored;
        for (const TTable::Row &row : set.rows())
            stored.append({row[set.fieldIndex(fld::Stup)].toDouble(), row[set.fieldIndex(fld::Kol_vo)].toLongLong()});
        if (stored == type.modules)
            continue;
        set.removeAll();
        for (const auto &[power, count] : type.modules) {
            set.append();
            set.setValue(fld::Stup, power);
            set.setValue(fld::Kol_vo, count);
            set.post();
        }
        compensated.removeAll();
        periods.setFilter(filterOn(fld::Kod0, project));
        periods.setFiltered(true);
        buildPeriods(loadPeriodsOf(periods), compensated, switched, moduleListOf(set, fld::Stup, fld::Kol_vo),
                     modeOfVariant(variants));
    }
    refreshProjectResults(store, projects);
    tx.commit();
}

void installCatalogueFollow(TDataModule1 &data)
{
    data.tblsKU1->afterPost = [](TTable &type) { followCatalogueType(type.store(), type.currentKod()); };
    const auto follow = [](TTable &modules) {
        if (modules.master())
            followCatalogueType(modules.store(), modules.master()->currentKod());
    };
    data.tblsKU2->afterPost = follow;
    data.tblsKU2->afterDelete = follow;
    // Asked before anything is deleted: the variants of a type need at least one module.
    data.tblsKU2->beforeDelete = [](TTable &modules) {
        const TTable *type = modules.master();
        if (!type || modules.recordCount() > 1)
            return;
        const QString users = variantsOfTypeText(modules.store(), type->currentKod());
        if (users.isEmpty())
            return;
        Messages::error(QStringLiteral("Последний модуль конденсаторной установки «%1» нельзя удалить: установку "
                                       "используют варианты компенсации %2.")
                            .arg(type->asString(fld::Name), users));
        throw Abort();
    };
}

} // namespace korvan
