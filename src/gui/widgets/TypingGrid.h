#pragma once

#include <QBasicTimer>
#include <QPersistentModelIndex>
#include <QTableView>

namespace korvan {

// A grid typed in place, the one behaviour every editable grid of the program shares: a key
// typed into the grid opens the editor of the cell that is current when the key is pressed, with
// that key in it. An item view's own handling of a click on the selected cell waits for a
// possible double click and meanwhile takes typed keys as a search for a row starting with
// them, so quick typing after such a click landed in another row; here the key always wins and
// a grid that can be edited never searches.
class TypingGrid : public QTableView {
    Q_OBJECT
public:
    explicit TypingGrid(QWidget *parent = nullptr);

    // Editable: keys, F2, a double click and a click on the current cell open its editor.
    void setTypingEnabled(bool on);
    bool typingEnabled() const { return m_typing; }
    // A cell's editor is open.
    bool editing() const { return state() == EditingState; }

    void keyboardSearch(const QString &search) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void timerEvent(QTimerEvent *event) override;

private:
    bool m_typing = false;
    // A click on the already selected cell edits it once no double click follows.
    QPersistentModelIndex m_pressed;
    bool m_pressedSelected = false;
    QBasicTimer m_clickEdit;
};

} // namespace korvan
