#pragma once

#include "core/data/Store.h"

#include <QHash>
#include <memory>

namespace korvan {

// Values a window's computed columns read from the store, each kept until the store changes
// (a command ends, or another user's change arrives): painting, scrolling and moving from row
// to row read nothing.
template <typename T>
class StoreCache {
public:
    explicit StoreCache(Store &store) : m_store(store) {}

    template <typename Read>
    const T &value(qint64 key, Read read)
    {
        if (m_stamp != m_store.changeCount()) {
            m_values.clear();
            m_stamp = m_store.changeCount();
        }
        auto it = m_values.constFind(key);
        if (it == m_values.constEnd())
            it = m_values.insert(key, read());
        return *it;
    }

    static std::shared_ptr<StoreCache> make(Store &store) { return std::make_shared<StoreCache>(store); }

private:
    Store &m_store;
    quint64 m_stamp = 0;
    QHash<qint64, T> m_values;
};

} // namespace korvan
