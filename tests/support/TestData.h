#pragma once

#include "core/data/Store.h"
#include "core/data/TDataModule1.h"

#include <QTemporaryDir>
#include <memory>

namespace korvan::test {

// A fresh data directory with its store and shared cursors, removed afterwards.
struct TestData {
    TestData();
    ~TestData();

    // Closes and opens the store again on the same directory.
    void reopen();

    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    std::unique_ptr<TDataModule1> data;
};

// Turns the store's file into one of the first format: only the fifteen tables, no triggers,
// version 1. A later opening migrates it.
void toFirstFormat(Store &store);

// Appends and posts one row; values by field name.
qint64 appendRow(TTable &table, const QVariantMap &values);

} // namespace korvan::test
