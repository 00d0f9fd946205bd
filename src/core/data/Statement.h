#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

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

    // What a statement sent ahead answered: its first row, empty when it returned none.
    using Answer = std::function<void(const QVariantList &firstRow)>;
    // Sends the bound statement without waiting for its answer, when the engine can (a server,
    // inside a transaction): the answer is read before the next statement whose answer is awaited,
    // and at the latest before the transaction commits. A failure, or an insert whose key is not
    // expectedKey (0: any), then fails the command. `answer` may throw likewise; it is not called
    // once the owner is forgotten (Engine::forgetAnswers). False when the engine cannot: the
    // caller runs the statement as usual.
    virtual bool sendAhead(const void *owner, qint64 expectedKey, Answer answer)
    {
        Q_UNUSED(owner);
        Q_UNUSED(expectedKey);
        Q_UNUSED(answer);
        return false;
    }
    // Runs a write whose answer nobody reads: sent ahead where the engine can.
    void write()
    {
        if (!sendAhead(nullptr, 0, {}))
            run();
    }

protected:
    Statement() = default;
};

} // namespace korvan
