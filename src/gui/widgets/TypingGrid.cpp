#include "gui/widgets/TypingGrid.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>

namespace korvan {

TypingGrid::TypingGrid(QWidget *parent) : QTableView(parent) { setEditTriggers(NoEditTriggers); }

void TypingGrid::setTypingEnabled(bool on)
{
    m_typing = on;
    m_clickEdit.stop();
    // The click on the selected cell is ours (see mouseReleaseEvent): the view's own waits with
    // the keys going to the search.
    setEditTriggers(on ? DoubleClicked | EditKeyPressed | AnyKeyPressed : NoEditTriggers);
}

void TypingGrid::keyboardSearch(const QString &search)
{
    // Letters that do not open an editor (a read-only cell) must not move to another row either.
    if (!m_typing)
        QTableView::keyboardSearch(search);
}

void TypingGrid::keyPressEvent(QKeyEvent *event)
{
    m_clickEdit.stop();
    QTableView::keyPressEvent(event);
}

void TypingGrid::mousePressEvent(QMouseEvent *event)
{
    m_clickEdit.stop();
    const QModelIndex index = indexAt(event->position().toPoint());
    m_pressed = index;
    m_pressedSelected = index.isValid() && index == currentIndex() && selectionModel() &&
                        selectionModel()->isSelected(index) && state() != EditingState;
    QTableView::mousePressEvent(event);
}

void TypingGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_typing && m_pressedSelected && event->button() == Qt::LeftButton && index.isValid() && index == m_pressed &&
        index == currentIndex() && state() != EditingState)
        m_clickEdit.start(QApplication::styleHints()->mouseDoubleClickInterval(), this);
    m_pressedSelected = false;
}

void TypingGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_clickEdit.stop();
    QTableView::mouseDoubleClickEvent(event);
}

void TypingGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    m_clickEdit.stop();
    QTableView::currentChanged(current, previous);
}

void TypingGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_clickEdit.timerId()) {
        QTableView::timerEvent(event);
        return;
    }
    m_clickEdit.stop();
    if (m_pressed.isValid() && m_pressed == currentIndex() && state() != EditingState)
        edit(currentIndex(), AllEditTriggers, nullptr);
}

} // namespace korvan
