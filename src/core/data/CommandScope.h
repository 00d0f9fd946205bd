#pragma once

#include "Store.h"
#include "TTable.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace korvan {

// One command that writes through cursors: its transaction and the cursors whose edit buffers it
// may leave open. Left without commit() (an exception on the way), it cancels those buffers, so
// no window shows a row the store does not hold, then undoes the transaction.
class CommandScope {
public:
    CommandScope(Store &store, std::initializer_list<TTable *> cursors) : m_cursors(cursors), m_tx(store) {}
    ~CommandScope()
    {
        if (m_committed)
            return;
        for (TTable *t : m_cursors) {
            try {
                t->cancel();
            } catch (...) {
                // already failing: the first error is the one to report
            }
        }
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

    void commit()
    {
        m_tx.commit();
        m_committed = true;
    }

private:
    std::vector<TTable *> m_cursors;
    Store::Transaction m_tx; // rolled back after the buffers are cancelled
    bool m_committed = false;
};

} // namespace korvan
