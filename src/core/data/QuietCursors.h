#pragma once

#include "core/data/TTable.h"

#include <initializer_list>
#include <vector>

namespace korvan {

// For the scope's life the cursors stop telling bound windows about every move and write; they
// catch up once at the end, also when the scope is left by an exception.
class QuietCursors {
public:
    explicit QuietCursors(std::initializer_list<TTable *> tables) : m_tables(tables)
    {
        for (TTable *t : m_tables)
            t->disableControls();
    }
    ~QuietCursors()
    {
        for (TTable *t : m_tables)
            t->enableControls();
    }
    QuietCursors(const QuietCursors &) = delete;
    QuietCursors &operator=(const QuietCursors &) = delete;

private:
    std::vector<TTable *> m_tables;
};

} // namespace korvan
