#pragma once

#include <QDialog>

class QListWidget;

namespace korvan {

// Picks one of the filter tab control's tabs from a list of their captions in columns.
class TabSelectDialog : public QDialog {
    Q_OBJECT
public:
    TabSelectDialog(const QStringList &captions, int selected, int tabWidth, QWidget *parent = nullptr);

    int selectedIndex() const;
    QListWidget *list() const { return m_list; }
    // As many columns as the list's 441 pixels hold at the tab width plus 10.
    static int columnsFor(int tabWidth) { return qMax(1, 441 / (tabWidth + 10)); }

private:
    QListWidget *m_list;
};

} // namespace korvan
