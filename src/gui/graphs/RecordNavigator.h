#pragma once

#include <QWidget>

class QToolButton;

namespace korvan {

class TTable;

// The record buttons over one cursor: insert, delete (not confirmed), edit, post, cancel and
// refresh, each enabled by the cursor's state.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { Insert, Delete, Edit, Post, Cancel, Refresh, Count };

    explicit RecordNavigator(TTable *table, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons[which]; }
    void updateButtons();

private:
    void run(Button which);

    TTable *m_table;
    QToolButton *m_buttons[Count];
};

} // namespace korvan
