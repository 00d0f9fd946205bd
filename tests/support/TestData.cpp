#include "TestData.h"

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

qint64 appendRow(TTable &table, const QVariantMap &values)
{
    table.append();
    for (auto it = values.begin(); it != values.end(); ++it)
        table.setValue(it.key(), it.value());
    table.post();
    return table.currentKod();
}

} // namespace korvan::test
