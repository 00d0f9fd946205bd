#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace korvan {

class Store;

// One prepared SQLite statement, kept by the store for its whole life and reused: bind, step,
// read the columns, and it resets itself before the next use.
class Statement {
public:
    Statement(Store &store, sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Parameters are numbered from 0. Null, whole numbers, doubles and text.
    void bind(int index, const QVariant &value);
    // Runs to the next row: true while there is one.
    bool next();
    // Runs a statement that returns no rows.
    void run();
    int columnCount() const;
    // A column of the current row: null, qint64, double or QString, as stored.
    QVariant column(int index) const;
    void reset();

private:
    Store &m_store;
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_active = false;
};

} // namespace korvan
