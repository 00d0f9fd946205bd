#include "core/compensation/CatalogueUse.h"

#include "core/data/CatalogueVariants.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"

#include <QStringList>

namespace korvan {

namespace {

// The variants of every type of a company, as variantsOfTypeText() names them.
QString variantsOfCompanyText(Store &store, const QVariant &company)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Kod\" FROM \"sKU1.DB\" WHERE \"Kod0\"=? ORDER BY \"Kod\""));
    q.bind(0, company);
    QList<qint64> types;
    while (q.next())
        types << q.column(0).toLongLong();
    q.reset();
    QStringList parts;
    for (qint64 type : types) {
        const QString users = variantsOfTypeText(store, type);
        if (!users.isEmpty())
            parts << users;
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace

CatalogueDeletion companyDeletion(Store &store, const QVariant &company, const QString &name)
{
    const QString users = company.isNull() ? QString() : variantsOfCompanyText(store, company);
    if (!users.isEmpty())
        return {QString(), QStringLiteral("Компанию «%1» удалить нельзя: ее конденсаторные установки используются в "
                                          "вариантах компенсации: %2.\nСначала удалите эти варианты или выберите в "
                                          "них другие установки.")
                               .arg(name, users)};
    return {QStringLiteral("Удалить компанию «%1» со всеми ее конденсаторными установками и модулями?").arg(name),
            QString()};
}

CatalogueDeletion typeDeletion(Store &store, const QVariant &type, const QString &name)
{
    const QString users = type.isNull() ? QString() : variantsOfTypeText(store, type.toLongLong());
    if (!users.isEmpty())
        return {QString(), QStringLiteral("Конденсаторную установку «%1» удалить нельзя: она используется в вариантах "
                                          "компенсации: %2.\nСначала удалите эти варианты или выберите в них другую "
                                          "установку.")
                               .arg(name, users)};
    return {QStringLiteral("Удалить конденсаторную установку «%1» из справочника вместе с ее модулями?").arg(name),
            QString()};
}

} // namespace korvan
