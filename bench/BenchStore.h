#pragma once

// The store a benchmark runs on: a file in a temporary directory, or with --store a PostgreSQL
// server's database, emptied before each run (give it one of its own, e.g. createdb korvan_bench).
// On a server most of the work is the server's: the clock, not this process's processor time,
// tells what a command costs there.
#include "core/data/Store.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace korvan::bench {

// Takes "--store ADDRESS" from the front of the arguments; empty when it is not there.
inline QString takeStoreOption(QStringList &arguments)
{
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--store"))
        return {};
    const QString server = arguments[1];
    arguments.remove(0, 2);
    return server;
}

inline std::unique_ptr<Store> freshStore(const QString &server, const QTemporaryDir &dir)
{
    if (server.isEmpty())
        return Store::open(dir.path());
    Store::open(server)->exec(QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"));
    return Store::open(server);
}

inline QString storeText(const QString &server)
{
    return server.isEmpty() ? QStringLiteral("файл базы данных") : QStringLiteral("сервер ") + server;
}

} // namespace korvan::bench
