#pragma once

#include "core/data/Store.h"
#include "core/data/TTable.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace korvan {

// The cursors a piece of work may leave in edit or insert. Left without release() (an exception
// on the way), their buffers are cancelled, so no window shows a row the store does not hold.
class EditBuffers {
public:
    explicit EditBuffers(std::initializer_list<TTable *> cursors) : m_cursors(cursors) {}
    ~EditBuffers()
    {
        if (!m_released)
            cancel();
    }
    EditBuffers(const EditBuffers &) = delete;
    EditBuffers &operator=(const EditBuffers &) = delete;

    void release() { m_released = true; }
    void cancel() noexcept
    {
        for (TTable *t : m_cursors) {
            try {
                t->cancel();
            } catch (...) {
                // already failing: the first error is the one to report
            }
        }
        m_released = true;
    }

private:
    std::vector<TTable *> m_cursors;
    bool m_released = false;
};

// One command that writes through cursors: its transaction and the cursors whose edit buffers it
// may leave open. Left without commit(), it cancels those buffers, undoes the transaction and then
// runs what afterRollback() gave it (cursors outside the command re-reading the store).
class CommandScope {
public:
    CommandScope(Store &store, std::initializer_list<TTable *> cursors) : m_buffers(cursors) { m_tx.emplace(store); }
    ~CommandScope()
    {
        if (m_committed)
            return;
        m_buffers.cancel();
        m_tx.reset();
        if (m_afterRollback) {
            try {
                m_afterRollback();
            } catch (...) {
                // the command's own error is the one to report
            }
        }
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

    void afterRollback(std::function<void()> f) { m_afterRollback = std::move(f); }
    void commit()
    {
        m_tx->commit();
        m_buffers.release();
        m_committed = true;
    }

private:
    EditBuffers m_buffers;
    std::optional<Store::Transaction> m_tx;
    std::function<void()> m_afterRollback;
    bool m_committed = false;
};

} // namespace korvan
