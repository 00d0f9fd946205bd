#include "core/compensation/CatalogueUse.h"

#include "core/data/Statement.h"
#include "core/data/Store.h"

namespace korvan {

namespace {

// At most this many variants are named; the rest are counted.
constexpr int NamedVariants = 10;

QString usersText(const QStringList &users)
{
    QStringList shown = users.mid(0, NamedVariants);
    if (users.size() > NamedVariants)
        shown << QStringLiteral("и еще %1").arg(users.size() - NamedVariants);
    return shown.join(QStringLiteral(";\n"));
}

} // namespace

QStringList variantsUsingCatalogue(Store &store, const QVariant &company, const QVariant &type)
{
    const bool byType = !type.isNull();
    if (!byType && company.isNull())
        return {};
    Statement &q = store.prepared(
        byType ? QStringLiteral("SELECT p.\"Name\", v.\"VarNum\" FROM \"project2.db\" v JOIN \"project0.db\" p ON "
                                "p.\"Kod\" = v.\"Kod0\" WHERE v.\"KodKU1\" = ? ORDER BY p.\"Name\", p.\"Kod\", "
                                "v.\"VarNum\"")
               : QStringLiteral("SELECT p.\"Name\", v.\"VarNum\" FROM \"project2.db\" v JOIN \"project0.db\" p ON "
                                "p.\"Kod\" = v.\"Kod0\" WHERE v.\"KodKU0\" = ? ORDER BY p.\"Name\", p.\"Kod\", "
                                "v.\"VarNum\""));
    q.bind(0, byType ? type : company);
    QStringList out;
    while (q.next())
        out << QStringLiteral("проект «%1», вариант %2").arg(q.column(0).toString(), q.column(1).toString());
    q.reset();
    return out;
}

CatalogueDeletion companyDeletion(Store &store, const QVariant &company, const QString &name)
{
    const QStringList users = variantsUsingCatalogue(store, company, QVariant());
    if (!users.isEmpty())
        return {QString(), QStringLiteral("Компанию «%1» удалить нельзя: ее конденсаторные установки используются в "
                                          "вариантах компенсации:\n%2.\nСначала удалите эти варианты или выберите в "
                                          "них другие установки.")
                               .arg(name, usersText(users))};
    return {QStringLiteral("Удалить компанию «%1» со всеми ее конденсаторными установками и модулями?").arg(name),
            QString()};
}

CatalogueDeletion typeDeletion(Store &store, const QVariant &type, const QString &name)
{
    const QStringList users = variantsUsingCatalogue(store, QVariant(), type);
    if (!users.isEmpty())
        return {QString(), QStringLiteral("Конденсаторную установку «%1» удалить нельзя: она используется в вариантах "
                                          "компенсации:\n%2.\nСначала удалите эти варианты или выберите в них другую "
                                          "установку.")
                               .arg(name, usersText(users))};
    return {QStringLiteral("Удалить конденсаторную установку «%1» из справочника вместе с ее модулями?").arg(name),
            QString()};
}

} // namespace korvan
