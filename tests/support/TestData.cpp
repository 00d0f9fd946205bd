#include "TestData.h"

#include "core/data/Schema.h"

#include <QStringList>

namespace korvan::test {

TestData::TestData()
{
    store = Store::open(dir.path());
    data = std::make_unique<TDataModule1>(*store);
}

TestData::~TestData()
{
    data.reset();
    store.reset();
}

void TestData::reopen()
{
    data.reset();
    store.reset();
    store = Store::open(dir.path());
    data = std::make_unique<TDataModule1>(*store);
}

void toFirstFormat(Store &store)
{
    QStringList ours;
    for (const TableDef *t : allTables())
        ours << QLatin1String(t->name);
    QStringList drops;
    for (const char *kind : {"trigger", "table"}) {
        const QString names = store
                                  .scalar(QStringLiteral("SELECT group_concat(name, char(10)) FROM sqlite_master "
                                                         "WHERE type = '%1' AND name NOT LIKE 'sqlite_%'")
                                              .arg(QLatin1String(kind)))
                                  .toString();
        for (const QString &name : names.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!ours.contains(name))
                drops << QStringLiteral("DROP %1 \"%2\"").arg(QString::fromLatin1(kind).toUpper(), name);
    }
    for (const QString &sql : drops)
        store.exec(sql);
    store.exec(QStringLiteral("PRAGMA user_version=1"));
}

qint64 appendRow(TTable &table, const QVariantMap &values)
{
    table.append();
    for (auto it = values.begin(); it != values.end(); ++it)
        table.setValue(it.key(), it.value());
    table.post();
    return table.currentKod();
}

} // namespace korvan::test
