#include "gui/widgets/ListTabRow.h"

#include <QButtonGroup>
#include <QToolButton>

namespace korvan {

ListTabRow::ListTabRow(QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this)), m_left(new QToolButton(this)), m_right(new QToolButton(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        m_current = id;
        emit tabClicked(id);
    });
    for (auto [button, arrow, name] :
         {std::tuple{m_left, Qt::LeftArrow, "tabsLeft"}, std::tuple{m_right, Qt::RightArrow, "tabsRight"}}) {
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setFixedSize(16, RowHeight);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_left, &QToolButton::clicked, this, [this] {
        m_first = qMax(0, m_first - 1);
        relayout();
    });
    connect(m_right, &QToolButton::clicked, this, [this] {
        m_first = qMin(qMax(0, count() - tabsPerRow()), m_first + 1);
        relayout();
    });
}

void ListTabRow::setTabs(const QStringList &tabs)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_tabs = tabs;
    for (int i = 0; i < tabs.size(); ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("tab%1").arg(i));
        b->setText(tabs[i]);
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        m_group->addButton(b, i);
        m_buttons << b;
    }
    m_first = 0;
    m_current = -1;
    setCurrentIndex(tabs.isEmpty() ? -1 : 0);
    relayout();
}

void ListTabRow::setCurrentIndex(int index)
{
    m_current = index >= 0 && index < count() ? index : -1;
    if (m_current >= 0)
        m_buttons[m_current]->setChecked(true);
}

QToolButton *ListTabRow::tabButton(int index) const { return m_buttons.value(index); }

void ListTabRow::setTabWidth(int width)
{
    m_tabWidth = qMax(1, width);
    relayout();
}

void ListTabRow::setMultiLine(bool on)
{
    m_multiLine = on;
    m_first = 0;
    relayout();
}

int ListTabRow::tabsPerRow() const { return qMax(1, width() / m_tabWidth); }

int ListTabRow::rowsWhenWrapped() const
{
    if (m_tabs.isEmpty())
        return 1;
    const int perRow = tabsPerRow();
    return (count() + perRow - 1) / perRow;
}

void ListTabRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ListTabRow::relayout()
{
    const int perRow = tabsPerRow();
    const bool scrolling = !m_multiLine && count() > perRow;
    // In one row the arrows take the place of the last tabs.
    const int shown = scrolling ? qMax(1, (width() - 2 * m_left->width()) / m_tabWidth) : perRow;
    m_first = qBound(0, m_first, qMax(0, count() - shown));
    for (int i = 0; i < count(); ++i) {
        QToolButton *b = m_buttons[i];
        if (m_multiLine) {
            b->setGeometry((i % perRow) * m_tabWidth, (i / perRow) * RowHeight, m_tabWidth, RowHeight);
            b->show();
        } else {
            const int slot = i - m_first;
            b->setVisible(slot >= 0 && slot < shown);
            b->setGeometry(slot * m_tabWidth, 0, m_tabWidth, RowHeight);
        }
    }
    m_left->setVisible(scrolling);
    m_right->setVisible(scrolling);
    if (scrolling) {
        m_right->move(width() - m_right->width(), 0);
        m_left->move(width() - m_right->width() - m_left->width(), 0);
        m_left->raise();
        m_right->raise();
    }
}

} // namespace korvan
