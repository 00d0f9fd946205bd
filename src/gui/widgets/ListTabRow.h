#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QToolButton;

namespace korvan {

// The tab row of the list selection dialog: fixed-width tabs in one row (scrolled by two arrows
// when they do not fit) or wrapped into several rows.
class ListTabRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    explicit ListTabRow(QWidget *parent = nullptr);

    void setTabs(const QStringList &tabs);
    QStringList tabs() const { return m_tabs; }
    int count() const { return int(m_tabs.size()); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QString currentText() const { return m_tabs.value(m_current); }

    void setTabWidth(int width);
    int tabWidth() const { return m_tabWidth; }
    void setMultiLine(bool on);
    bool multiLine() const { return m_multiLine; }
    // The rows the tabs take in the current mode, and in the multi-line mode.
    int rowCount() const { return m_multiLine ? rowsWhenWrapped() : 1; }
    int rowsWhenWrapped() const;

    QToolButton *tabButton(int index) const;

signals:
    // The user chose a tab.
    void tabClicked(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int tabsPerRow() const;
    void relayout();

    QStringList m_tabs;
    QList<QToolButton *> m_buttons;
    QButtonGroup *m_group;
    QToolButton *m_left;
    QToolButton *m_right;
    int m_current = -1;
    int m_first = 0; // the first tab shown in one row
    int m_tabWidth = 25;
    bool m_multiLine = false;
};

} // namespace korvan
