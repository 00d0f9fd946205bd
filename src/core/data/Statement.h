#pragma once

#include <QString>
#include <QVariant>

namespace korvan {

// One prepared statement of the store's engine, kept by the store for its whole life and reused:
// bind, step, read the columns, and it resets itself before the next use.
class Statement {
public:
    virtual ~Statement() = default;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Parameters are numbered from 0. Null, whole numbers, doubles and text.
    virtual void bind(int index, const QVariant &value) = 0;
    // Runs to the next row: true while there is one.
    virtual bool next() = 0;
    // Runs a statement that returns no rows.
    void run()
    {
        while (next()) {
        }
    }
    virtual int columnCount() const = 0;
    // A column of the current row: null, qint64, double or QString, as stored.
    virtual QVariant column(int index) const = 0;
    virtual void reset() = 0;

protected:
    Statement() = default;
};

} // namespace korvan
